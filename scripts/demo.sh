#!/usr/bin/env bash
# Starts the gauge on the simulated measuring board.
set -euo pipefail
build_dir=${1:-build}
demo="$build_dir/Aspirello-demo"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  shot="$build_dir/demo-screenshot.png"
  cat <<MSG
This machine has no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so
the gauge window cannot be shown here. Instead, the demo now runs headless for
a moment on the simulated board and saves what the window shows to
  $shot
To make such a picture yourself:
  QT_QPA_PLATFORM=offscreen $demo --auto --screenshot gauge.png --frames 150
or, with Xvfb installed, run the window on a virtual display:
  xvfb-run -a make demo
MSG
  # The headless platform warns that it cannot pass size hints to a window
  # manager it does not have; that says nothing to the user.
  set +e
  QT_QPA_PLATFORM=offscreen "$demo" "${@:2}" --auto --screenshot "$shot" --frames 150 2>&1 \
    | grep -v 'This plugin does not support propagateSizeHints()'
  status=${PIPESTATUS[0]}
  set -e
  [ "$status" -eq 0 ] || exit "$status"
  echo "Saved $shot"
  exit 0
fi

cat <<MSG
Aspirello on a simulated board ($demo).
Press "Aprila" to open the board's port, tick "Ricevi dati in:" and press
"Ricevi" to poll it continuously; "Salva" writes the log to this folder.
Options (poll period, debug lines, pictures): $demo --help
MSG
exec "$demo" "${@:2}"
