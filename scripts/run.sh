#!/usr/bin/env bash
# Installs what is missing, builds (Release, into build/) and starts Carvex.
# Until the application exists this builds everything and runs the library benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
if [ -x build/Carvex/carvex ]; then
  exec build/Carvex/carvex "$@"
fi
for b in build/bench/*; do
  [ -x "$b" ] && "$b" --benchmark_min_time=0.2
done
