#!/usr/bin/env bash
# Builds the named targets (all when none are named) and shows a short
# progress instead of every compiler call and make's directory lines:
# one line per target finished. Warnings, errors and anything else the tools
# say pass through unchanged; the exit status is the build's.
set -uo pipefail
build_dir=$1
jobs=$2
shift 2
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done

echo "Building ${*:-everything} in $build_dir"
MAKEFLAGS= cmake --build "$build_dir" -j "$jobs" "${targets[@]}" 2>&1 | awk '
  # make (Unix Makefiles)
  /^g?make(\[[0-9]+\])?: (Entering|Leaving) directory/ { next }
  /^Scanning dependencies of target / { next }
  /^Consolidate compiler generated dependencies of target / { next }
  /^\[ *[0-9]+%\] Built target / {
    match($0, /^\[ *[0-9]+%\]/)
    if ($NF !~ /_autogen$/) { print "  " substr($0, 1, RLENGTH) " " $NF; fflush() }
    next
  }
  /^\[ *[0-9]+%\] / { next }
  # Ninja
  /^\[[0-9]+\/[0-9]+\] Linking CXX / {
    n = split($NF, path, "/"); print "  " $1 " " path[n]; fflush(); next
  }
  /^\[[0-9]+\/[0-9]+\] / { next }
  /^ninja: no work to do\.$/ { next }
  { print; fflush() }
'
status=${PIPESTATUS[0]}
if [ "$status" -ne 0 ]; then
  echo "Build failed (status $status); run 'cmake --build $build_dir' for every line." >&2
fi
exit "$status"
