#!/usr/bin/env bash
# Builds Quillon and runs every test: the release build, then the engine and
# format tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake --preset release -DQUILLON_TESTS=ON -DQUILLON_BENCH=ON -DQUILLON_GUI=ON
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"

cmake --preset asan
cmake --build build/asan -j "$jobs"
ctest --test-dir build/asan --output-on-failure -j "$jobs"
