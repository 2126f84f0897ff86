#!/usr/bin/env bash
# Installs the Debian packages Aspirello needs to build, test and run its
# demo, and only those that are missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  binutils-mingw-w64-x86-64 desktop-file-utils appstream
  # The window's font: Liberation Sans, which a Debian desktop has and a
  # bare system lacks (headless the window would fall back to a wider one).
  fonts-liberation2
  # The measuring board's firmware: built with avr-gcc and plain avr-libc,
  # flashed with avrdude, and run in the tests, the demo's --firmware and
  # the benchmark in simavr's simulated ATmega328P (libsimavr).
  gcc-avr avr-libc binutils-avr avrdude simavr libsimavr-dev
)
# Qt 5 by default; the extra "qt6" asks for Qt 6 instead. Qt 6's CMake files
# also want the OpenGL development files (libgl-dev and the libraries it
# brings), which qt6-base-dev depends on. Besides the base and serial port:
# for aspirello-analisi graphs, SVG reports and its Italian translation, and
# the toolkit's own dialogs (open, save) in Italian.
qt_packages=(qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev
  libqt5charts5-dev libqt5svg5-dev qttools5-dev qttools5-dev-tools qttranslations5-l10n)
# Extra tool sets, asked for by name: "qt6", "sanitize", "fuzz", "screenshot",
# "package" (the .deb and its checks), "icons" (rendering the icon), "bench".
for extra in "$@"; do
  case "$extra" in
    qt6) qt_packages=(qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
           qt6-charts-dev qt6-svg-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n) ;;
    sanitize) packages+=(libasan8 libubsan1) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    screenshot) packages+=(xvfb xauth imagemagick) ;;
    package) packages+=(dpkg-dev file lintian) ;;
    icons) packages+=(librsvg2-bin icoutils) ;;
    bench) packages+=(xvfb xauth) ;;
    *) echo "install-deps: unknown extra '$extra'" >&2; exit 2 ;;
  esac
done

packages+=("${qt_packages[@]}")

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
