#!/usr/bin/env bash
# Installs the Debian packages Aspirello needs to build and run its demo, and
# only those that are missing, plus the tool sets asked for by name. Uses
# sudo when not run as root, and waits while another apt holds its lock.
#
# On a system that is not Debian (no dpkg or apt-get), or with
# ASPIRELLO_SKIP_DEPS=1, it installs nothing: it lists the Debian names of
# what is needed and leaves the rest to the caller (the build then says what
# it could not find).
set -euo pipefail

packages=(
  cmake make g++ pkg-config
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
# brings), which qt6-base-dev depends on, and Qt Charts wants Qt OpenGL's
# CMake files, which nothing pulls in. Besides the base and serial port:
# for aspirello-analisi graphs, SVG reports and its Italian translation, and
# the toolkit's own dialogs (open, save) in Italian.
qt_packages=(qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev
  libqt5charts5-dev libqt5svg5-dev qttools5-dev qttools5-dev-tools qttranslations5-l10n)
# Extra tool sets, asked for by name: "qt6", "test" (what the tests check
# the packaging files with), "format" (the code style check), "sanitize",
# "fuzz", "screenshot", "package" (the .deb and its checks), "icons"
# (rendering the icon), "bench".
for extra in "$@"; do
  case "$extra" in
    qt6) qt_packages=(qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev libqt6opengl6-dev
           qt6-charts-dev qt6-svg-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n) ;;
    test) packages+=(binutils-mingw-w64-x86-64 desktop-file-utils appstream) ;;
    format) packages+=(clang-format) ;;
    sanitize) packages+=(libasan8 libubsan1) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    screenshot) packages+=(xvfb xauth) ;;
    package) packages+=(dpkg-dev file lintian) ;;
    icons) packages+=(librsvg2-bin icoutils) ;;
    bench) packages+=(xvfb xauth) ;;
    *) echo "install-deps: unknown extra '$extra'" >&2; exit 2 ;;
  esac
done

packages+=("${qt_packages[@]}")

if [ "${ASPIRELLO_SKIP_DEPS:-0}" = 1 ] || ! command -v dpkg-query >/dev/null \
   || ! command -v apt-get >/dev/null; then
  echo "install-deps: not installing; needed (Debian names): ${packages[*]}" >&2
  exit 0
fi

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
# Another apt (an unattended upgrade, a second build) may hold the lock:
# wait for it, up to ten minutes, rather than fail.
apt_wait=(-o DPkg::Lock::Timeout=600)
for attempt in $(seq 1 60); do
  if "${sudo[@]}" apt-get "${apt_wait[@]}" update -qq 2>/tmp/install-deps.$$; then
    break
  fi
  if ! grep -q 'lock' /tmp/install-deps.$$ || [ "$attempt" -eq 60 ]; then
    cat /tmp/install-deps.$$ >&2; rm -f /tmp/install-deps.$$; exit 1
  fi
  sleep 10
done
rm -f /tmp/install-deps.$$
"${sudo[@]}" apt-get "${apt_wait[@]}" install -y -qq --no-install-recommends "${missing[@]}"
