#!/usr/bin/env bash
# Renders the sample photo framed in each of the thirteen styles, one
# stacked example and a bottom-weighted mat, with quillon-frame; writes 400-pixel-wide PNGs into
# docs/samples/ for the README's "Frame styles" section.
#
# Usage: tools/render-samples.sh [BUILD-DIR]     (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
cmake --build "$build" --target quillon-frame quillon_data -j2
qf=$build/cli/quillon-frame
data=$build/data
photo=$data/sample.jpg
out=docs/samples
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=0
render() {
  local name=$1
  shift
  if ! "$qf" --data-dir "$data" --seed 1 "$@" "$photo" "$work/$name.bmp"; then
    echo "could not render $name" >&2
    failed=1
    return
  fi
  # 400 pixels wide and at most 256 colours keep the pictures small.
  convert "$work/$name.bmp" -resize 400x -strip -colors 256 "PNG8:$out/$name.png"
  echo "$out/$name.png"
}

for style in corner matte jagged oval diamond grayscale bubble button ornate shadow mask \
             overlay box; do
  render "$style" --style "$style"
done
render stacked --style matte --frame-color F0E8D8 --then --style corner --frame-color 6B4423 \
  --then --style shadow
# A museum mat, cut deeper at the bottom, sized for a 6 x 4 in print.
render bottom-weighted --print-size 6x4in --style matte --frame-color F0E8D8 \
  --frame-width 0.4in --frame-height 0.4in --frame-bottom 0.6in
for preset in "Gallery mat" "Instant film" "Double mat" "Museum" "Torn paper"; do
  name=$(echo "preset-$preset" | tr 'A-Z ' 'a-z-')
  render "$name" --preset "$preset"
done
exit $failed
