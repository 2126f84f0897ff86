#!/usr/bin/env bash
# Installs the Debian packages Aspirello needs to build, test and run its
# demo, and only those that are missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev
  binutils-mingw-w64-x86-64 desktop-file-utils appstream
  # The window's font: Liberation Sans, which a Debian desktop has and a
  # bare system lacks (headless the window would fall back to a wider one).
  fonts-liberation2
  # aspirello-analisi: graphs, SVG reports and its Italian translation
  libqt5charts5-dev libqt5svg5-dev qttools5-dev qttools5-dev-tools
  # the toolkit's own dialogs (open, save) in Italian
  qttranslations5-l10n
)
# Extra tool sets, asked for by name: "sanitize", "fuzz", "screenshot",
# "package" (the .deb and its checks), "icons" (rendering the icon), "bench".
for extra in "$@"; do
  case "$extra" in
    sanitize) packages+=(libasan8 libubsan1) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    screenshot) packages+=(xvfb xauth imagemagick) ;;
    package) packages+=(dpkg-dev file lintian) ;;
    icons) packages+=(librsvg2-bin icoutils) ;;
    bench) packages+=(xvfb xauth) ;;
    *) echo "install-deps: unknown extra '$extra'" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
