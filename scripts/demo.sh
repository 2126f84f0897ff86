#!/usr/bin/env bash
# Starts the gauge on the simulated measuring board.
set -euo pipefail
build_dir=${1:-build}
demo="$build_dir/Aspirello-demo"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  cat >&2 <<MSG
This machine has no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so
the gauge window cannot be shown here. To see it anyway:
  make screenshot          # writes docs/screenshot.png from the demo, headless
  xvfb-run -a $demo --auto --screenshot gauge.png --frames 150
MSG
  exit 1
fi

cat <<MSG
Aspirello on a simulated board ($demo).
Press "Aprila" to open the board's port, tick "Ricevi dati in:" and press
"Ricevi" to poll it continuously; "Salva" writes the log to this folder.
MSG
exec "$demo" "${@:2}"
