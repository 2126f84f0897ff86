#!/usr/bin/env bash
# Fails when a text of aspirello-analisi (the window's or the core's) has no
# Italian translation: collects the texts of the sources into a copy of the
# translation file and looks for entries left unfinished.
# Usage: check_translation.sh LUPDATE SOURCE_DIR TS_FILE
set -euo pipefail
lupdate=$1
source_dir=$2
ts_file=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$ts_file" "$work/check_it.ts"
"$source_dir/analysis/app/translations/update-translation.sh" "$lupdate" "$source_dir" "$work/check_it.ts" >/dev/null
untranslated=$(grep -c 'type="unfinished"' "$work/check_it.ts" || true)
if [ "$untranslated" -ne 0 ]; then
  echo "$untranslated texts have no Italian translation:"
  grep -B2 'type="unfinished"' "$work/check_it.ts" | grep '<source>' | sed 's/^ *//'
  echo "Run: cmake --build build --target analysis_lupdate, then translate them."
  exit 1
fi
echo "every text has its Italian translation"
