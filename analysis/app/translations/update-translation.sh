#!/usr/bin/env bash
# Collects every text of aspirello-analisi (the window's and the core's) into
# a translation file (Italian, or the English plural forms), keeping the
# translations already made.
# Usage: update-translation.sh LUPDATE SOURCE_DIR TS_FILE
set -euo pipefail
lupdate=$1
source_dir=$2
ts_file=$3
# The English file holds only the plural forms ("1 reading", "2 readings").
plural_only=()
case "$ts_file" in *_en.ts) plural_only=(-pluralonly) ;; esac
"$lupdate" -locations none -no-obsolete "${plural_only[@]}" -extensions cpp,h \
  "$source_dir/analysis/app" "$source_dir/analysis/core" -ts "$ts_file"
