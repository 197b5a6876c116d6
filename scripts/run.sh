#!/usr/bin/env bash
# Builds Quillon and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake --preset release -DQUILLON_TESTS=OFF -DQUILLON_BENCH=OFF
cmake --build build/release -j "$(nproc)"
data=build/release/data
echo "Framing the sample photo: $data/sample.jpg -> build/release/sample-framed.jpg"
build/release/cli/quillon-frame --style corner "$data/sample.jpg" build/release/sample-framed.jpg
echo "Wrote build/release/sample-framed.jpg"
