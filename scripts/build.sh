#!/usr/bin/env bash
# Configures and builds into the given folder (default build/) with extra CMake arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}; shift || true
jobs=$(nproc)
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$dir" -j "$jobs"
