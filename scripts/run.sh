#!/usr/bin/env bash
# Installs what is missing, builds (Release, into build/) and starts Carvex: the welcome window, or
# the files given (bash scripts/run.sh [FILE...]). While Carvex runs, a second start hands its files
# to the running application.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
exec build/Carvex/carvex "$@"
