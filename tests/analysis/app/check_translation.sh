#!/usr/bin/env bash
# Fails when a text of aspirello-analisi (the window's or the core's) has no
# Italian translation: collects the texts of the sources into a copy of the
# translation file and looks for entries left unfinished.
# Usage: check_translation.sh LUPDATE SOURCE_DIR TS_FILE...
# (the Italian file, and the English one that holds only plural forms)
set -euo pipefail
lupdate=$1
source_dir=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for ts_file in "$@"; do
  copy="$work/$(basename "$ts_file")"
  cp "$ts_file" "$copy"
  "$source_dir/analysis/app/translations/update-translation.sh" "$lupdate" "$source_dir" "$copy" >/dev/null
  untranslated=$(grep -c 'type="unfinished"' "$copy" || true)
  if [ "$untranslated" -ne 0 ]; then
    echo "$untranslated texts have no translation in $(basename "$ts_file"):"
    grep -B2 'type="unfinished"' "$copy" | grep '<source>' | sed 's/^ *//'
    echo "Run: cmake --build build --target analysis_lupdate, then translate them."
    exit 1
  fi
done
echo "every text has its translation"
