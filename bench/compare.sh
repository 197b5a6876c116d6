#!/usr/bin/env bash
# Times quillon-frame against ImageMagick and GraphicsMagick on one
# 12-megapixel JPEG, each program doing the nearest equivalent of five jobs:
#   matte   a plain matte, 300 pixels (quillon: --style matte; peers: -border)
#   bevel   a 3D bevel, 200 pixels    (quillon: --style button; peers: -raise)
#   gray    gray scale                (quillon: --gray; peers: -colorspace gray)
#   gif     256-colour GIF, no dither (quillon: out.gif; peers: +dither -colors 256)
#   shrink  25 % nearest neighbour    (quillon: --resize; peers: -sample 25%)
# Prints the median of RUNS runs (default 5) per program and job, and the
# ratio of quillon's time to the faster peer's.
#
# Usage: bench/compare.sh [BUILD-DIR]     (default build/release)
# Environment: RUNS, IM_CONVERT (ImageMagick's convert), GM (GraphicsMagick's gm).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
runs=${RUNS:-5}
[ "$runs" -ge 5 ] || { echo "RUNS must be at least 5" >&2; exit 2; }

# The peers, installed when missing.
need=()
command -v convert >/dev/null 2>&1 || need+=(imagemagick)
command -v gm >/dev/null 2>&1 || need+=(graphicsmagick)
if [ ${#need[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${need[@]}"
fi
# ImageMagick's own binary when the distribution names it, so that nothing
# stands between the timer and the program.
im=${IM_CONVERT:-$(command -v convert-im6.q16 || command -v convert)}
gm=${GM:-$(command -v gm)}

if [ ! -x "$build/cli/quillon-frame" ]; then
  cmake --build "$build" --target quillon-frame -j2
fi
qf=$(realpath "$build/cli/quillon-frame")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
photo=$work/photo.jpg
echo "Making a 4000 x 3000 test photo..." >&2
"$im" -seed 7 -size 1000x750 plasma:fractal -blur 0x2 -resize 4000x3000! \
  \( -size 4000x3000 gradient:'#402010'-'#e0d0b0' \) -compose overlay -composite \
  -quality 92 "$photo"

# Median wall time in seconds of running "$@" $runs times.
median() {
  local times=() t0 t1
  for _ in $(seq "$runs"); do
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; return 1; }
    t1=$(date +%s.%N)
    times+=("$(echo "$t1 - $t0" | bc -l)")
  done
  printf '%s\n' "${times[@]}" | sort -g | awk '{a[NR]=$1} END {
    if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}

jobs=(matte bevel gray gif shrink)
quillon_args() {
  case $1 in
    matte) echo "--style matte $photo $work/q.jpg" ;;
    bevel) echo "--style button $photo $work/q.jpg" ;;
    gray) echo "--gray $photo $work/q.jpg" ;;
    gif) echo "$photo $work/q.gif" ;;
    shrink) echo "--resize 1000x750 $photo $work/q.jpg" ;;
  esac
}
peer_args() {
  case $1 in
    matte) echo "$photo -bordercolor #C0C0C0 -border 300 -quality 90 $work/p.jpg" ;;
    bevel) echo "$photo -raise 200x200 -quality 90 $work/p.jpg" ;;
    gray) echo "$photo -colorspace gray -quality 90 $work/p.jpg" ;;
    gif) echo "$photo +dither -colors 256 $work/p.gif" ;;
    shrink) echo "$photo -sample 25% -quality 90 $work/p.jpg" ;;
  esac
}

printf '%-8s %10s %12s %14s %14s\n' job quillon imagemagick graphicsmagick "quillon/best"
worst=0
for job in "${jobs[@]}"; do
  # shellcheck disable=SC2046
  q=$(median "$qf" $(quillon_args "$job"))
  # shellcheck disable=SC2046
  i=$(median "$im" $(peer_args "$job"))
  # shellcheck disable=SC2046
  g=$(median "$gm" convert $(peer_args "$job"))
  best=$(echo "if ($i < $g) $i else $g" | bc -l)
  ratio=$(echo "$q / $best" | bc -l)
  printf '%-8s %9.3fs %11.3fs %13.3fs %14.2f\n' "$job" "$q" "$i" "$g" "$ratio"
  worst=$(echo "if ($ratio > $worst) $ratio else $worst" | bc -l)
done
printf 'largest ratio %.2f (target: at most 0.80)\n' "$worst"
