#!/usr/bin/env bash
# Collects every text of aspirello-analisi (the window's and the core's) into
# the Italian translation file, keeping the translations already made.
# Usage: update-translation.sh LUPDATE SOURCE_DIR TS_FILE
set -euo pipefail
lupdate=$1
source_dir=$2
ts_file=$3
"$lupdate" -locations none -no-obsolete -extensions cpp,h \
  "$source_dir/analysis/app" "$source_dir/analysis/core" -ts "$ts_file"
