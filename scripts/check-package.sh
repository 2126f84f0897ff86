#!/usr/bin/env bash
# Checks the Debian package as a user gets it: lintian finds no errors, apt
# installs it with its dependencies, the installed demo takes a headless
# picture and the installed gauge is on the PATH; then apt removes it again.
# Needs root (CI runs as root). usage: scripts/check-package.sh [BUILD_DIR]
set -euo pipefail
build_dir=$(cd "${1:-build}" && pwd)
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build_dir/CPackConfig.cmake")
debs=("$build_dir"/aspirello_"$version"_*.deb)
[ -f "${debs[0]}" ] || { echo "check-package: no aspirello_${version}_*.deb in $build_dir (make package)" >&2; exit 1; }
deb=${debs[0]}

echo "lintian $(basename "$deb")"
lintian --fail-on error "$deb"

apt=(apt-get -o DPkg::Lock::Timeout=600 -y -qq)
export DEBIAN_FRONTEND=noninteractive
"${apt[@]}" install "$deb" >/dev/null
trap '"${apt[@]}" remove aspirello >/dev/null' EXIT

for program in Aspirello Aspirello-demo aspirello-board aspirello-analisi; do
  [ "$(command -v "$program")" = "/usr/bin/$program" ] || { echo "check-package: $program is not installed in /usr/bin" >&2; exit 1; }
done
scratch=$(mktemp -d)
QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="default.debug=false" timeout 300 \
  Aspirello-demo --auto --screenshot "$scratch/demo.png" --frames 20
head -c 8 "$scratch/demo.png" | od -An -tx1 | grep -q '89 50 4e 47 0d 0a 1a 0a' \
  || { echo "check-package: the installed demo wrote no PNG picture" >&2; exit 1; }
echo "Installed demo's picture: $(stat -c %s "$scratch/demo.png") bytes"
# The same on the board's own firmware, as installed.
QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="default.debug=false" timeout 300 \
  Aspirello-demo --firmware --auto --screenshot "$scratch/firmware.png" --frames 20
head -c 8 "$scratch/firmware.png" | od -An -tx1 | grep -q '89 50 4e 47 0d 0a 1a 0a' \
  || { echo "check-package: the installed demo on the board's firmware wrote no PNG picture" >&2; exit 1; }
rm -rf "$scratch"
echo "The package installs, runs and is removed again."
