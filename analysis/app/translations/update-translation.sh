#!/usr/bin/env bash
# Collects every text of aspirello-analisi (the window's and the core's) into
# the Italian translation file, keeping the translations already made.
# Usage: update-translation.sh LUPDATE SOURCE_DIR TS_FILE
#
# Some core files translate through a file-local helper, tr(text[, n]), that
# passes a fixed context to QCoreApplication::translate. lupdate cannot see a
# context there, so those files are read through copies in which each call
# names its context explicitly (plural calls as QT_TRANSLATE_N_NOOP).
set -euo pipefail
lupdate=$1
source_dir=$2
ts_file=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

inputs=("$source_dir/analysis/app")
for file in "$source_dir"/analysis/core/*.cpp; do
  context=$(perl -ne 'if (/translate\("([A-Za-z]+)", text/) { print $1; exit }' "$file")
  if [ -z "$context" ]; then
    inputs+=("$file")
    continue
  fi
  perl -0777 -pe '
    s/(?<![A-Za-z_:>.])tr\(((?:\s*"(?:[^"\\]|\\.)*")+)\s*,/QT_TRANSLATE_N_NOOP("'"$context"'",$1)(/g;
    s/(?<![A-Za-z_:>.])tr\(/QCoreApplication::translate("'"$context"'", /g;
  ' "$file" > "$work/$(basename "$file")"
  inputs+=("$work/$(basename "$file")")
done

"$lupdate" -locations none -no-obsolete -extensions cpp,h "${inputs[@]}" -ts "$ts_file"
