#!/usr/bin/env bash
# Installs what is missing, builds (Release, into build/) and runs every benchmark program, or those
# whose names contain one of the words given (bash scripts/bench.sh [WORD...]).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for b in build/bench/*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  if [ $# -gt 0 ]; then
    match=0
    for word in "$@"; do
      case "$(basename "$b")" in *"$word"*) match=1 ;; esac
    done
    [ "$match" = 1 ] || continue
  fi
  echo "== $(basename "$b")"
  "$b" --benchmark_min_time=0.2
done
