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

# Runs "$@" $runs times; prints the median wall time and the median CPU time
# (user + system, all threads) in seconds. On a busy machine the CPU time is
# the steadier figure.
median() {
  local walls=() cpus=() line
  for _ in $(seq "$runs"); do
    line=$( { TIMEFORMAT='%R %U %S'; time "$@" >/dev/null 2>&1; } 2>&1 ) ||
      { echo "failed: $*" >&2; return 1; }
    read -r r u s <<<"$line"
    walls+=("$r")
    cpus+=("$(echo "$u + $s" | bc -l)")
  done
  mid() { sort -g | awk '{a[NR]=$1} END {
    if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
  echo "$(printf '%s\n' "${walls[@]}" | mid) $(printf '%s\n' "${cpus[@]}" | mid)"
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

printf '%-8s %21s %21s %21s %14s\n' "" "quillon" "imagemagick" "graphicsmagick" "quillon/best"
printf '%-8s %10s %10s %10s %10s %10s %10s %7s %6s\n' job wall cpu wall cpu wall cpu wall cpu
worst=0
worst_cpu=0
for job in "${jobs[@]}"; do
  # shellcheck disable=SC2046
  read -r qw qc <<<"$(median "$qf" $(quillon_args "$job"))"
  # shellcheck disable=SC2046
  read -r iw ic <<<"$(median "$im" $(peer_args "$job"))"
  # shellcheck disable=SC2046
  read -r gw gc <<<"$(median "$gm" convert $(peer_args "$job"))"
  best=$(echo "if ($iw < $gw) $iw else $gw" | bc -l)
  best_cpu=$(echo "if ($ic < $gc) $ic else $gc" | bc -l)
  ratio=$(echo "$qw / $best" | bc -l)
  ratio_cpu=$(echo "$qc / $best_cpu" | bc -l)
  printf '%-8s %9.3fs %9.3fs %9.3fs %9.3fs %9.3fs %9.3fs %7.2f %6.2f\n' \
    "$job" "$qw" "$qc" "$iw" "$ic" "$gw" "$gc" "$ratio" "$ratio_cpu"
  worst=$(echo "if ($ratio > $worst) $ratio else $worst" | bc -l)
  worst_cpu=$(echo "if ($ratio_cpu > $worst_cpu) $ratio_cpu else $worst_cpu" | bc -l)
done
printf 'largest ratio: %.2f wall, %.2f cpu (target: at most 0.80)\n' "$worst" "$worst_cpu"
