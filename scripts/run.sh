#!/usr/bin/env bash
# Builds Quillon and starts the program in the build's data folder, where it
# finds its decoration library, the shadow pieces and the help.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake --preset release -DQUILLON_TESTS=OFF -DQUILLON_BENCH=OFF
cmake --build build/release -j "$(nproc)"
cd build/release/data
exec ../app/quillon "$@"
