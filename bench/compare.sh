#!/usr/bin/env bash
# Times quillon-frame against ImageMagick, GraphicsMagick and libvips on a
# 12- and a 24-megapixel JPEG, each program doing the nearest equivalent of
# six whole-file jobs:
#   bmp     decode and write a BMP    (quillon: out.bmp; vips: copy)
#   matte   a plain matte, 300 pixels (quillon: --style matte; magick: -border;
#                                      vips: embed --extend background)
#   bevel   a 3D bevel, 200 pixels    (quillon: --style button; magick: -raise;
#                                      vips has none)
#   gray    gray scale                (quillon: --gray; magick: -colorspace gray;
#                                      vips: colourspace b-w)
#   gif     256-colour GIF, no dither (quillon: out.gif; magick: +dither -colors 256;
#                                      vips: gifsave --dither 0)
#   shrink  25 % nearest neighbour    (quillon: --resize; magick: -sample 25%;
#                                      vips: subsample 4 4)
# The programs take turns run by run (quillon, then each peer, RUNS times),
# so that a change in the machine's load falls on all of them alike. Prints
# the median wall and CPU time (user + system) of each, the ratio of
# quillon's time to the fastest peer's, and a SHA-256 of quillon's output,
# which a change meant only to be faster must leave as it was. The exit
# status is 1 when a job misses its target.
#
# Then a batch: BATCH copies of the 12-megapixel photo framed with a matte
# by quillon-frame --jobs 1, by --jobs 2, and by vips embed run two at a
# time by xargs -P2; three interleaved runs, the median of each. --jobs 2
# should reach 1.5 times the throughput of --jobs 1, and at least that of
# vips.
#
# Usage: bench/compare.sh [BUILD-DIR]     (default build/release)
# Environment: RUNS (default 9, at least 5), JOBS (a subset of the jobs,
# e.g. "bmp gif"), SIZES (default "4000x3000 6000x4000"; empty for none), BATCH (photos in
# the batch, default 100; 0 leaves it out), IM_CONVERT (ImageMagick's
# convert), GM (GraphicsMagick's gm), VIPS (libvips' vips).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
runs=${RUNS:-9}
[ "$runs" -ge 5 ] || { echo "RUNS must be at least 5" >&2; exit 2; }
read -r -a jobs <<<"${JOBS-bmp matte bevel gray gif shrink}"
read -r -a sizes <<<"${SIZES-4000x3000 6000x4000}"
batch=${BATCH:-100}

# The peers, installed when missing.
need=()
command -v convert-im6.q16 >/dev/null 2>&1 || command -v convert >/dev/null 2>&1 ||
  need+=(imagemagick)
command -v gm >/dev/null 2>&1 || need+=(graphicsmagick)
command -v vips >/dev/null 2>&1 || need+=(libvips-tools)
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
vips=${VIPS:-$(command -v vips)}

if [ ! -x "$build/cli/quillon-frame" ]; then
  cmake --build "$build" --target quillon-frame -j2
fi
qf=$(realpath "$build/cli/quillon-frame")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs the command line $1 once; prints its wall time and its CPU time (user + system, all
# threads) in seconds.
timed() {
  local line r u s
  line=$( { TIMEFORMAT='%R %U %S'; time eval "$1" >/dev/null 2>&1; } 2>&1 ) ||
    { echo "failed: $1" >&2; return 1; }
  read -r r u s <<<"$line"
  echo "$r $(echo "$u + $s" | bc -l)"
}

# The median of the numbers on standard input.
mid() {
  sort -g | awk '{a[NR]=$1} END {
    if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}

# The command line of program $1 for job $2 on photo $3 (W x H in $4, $5);
# empty when the program has no equivalent.
command_for() {
  local prog=$1 job=$2 photo=$3 w=$4 h=$5
  case $prog in
    quillon)
      case $job in
        bmp) echo "$qf $photo $work/q.bmp" ;;
        matte) echo "$qf --style matte $photo $work/q.jpg" ;;
        bevel) echo "$qf --style button $photo $work/q.jpg" ;;
        gray) echo "$qf --gray $photo $work/q.jpg" ;;
        gif) echo "$qf $photo $work/q.gif" ;;
        shrink) echo "$qf --resize $((w / 4))x$((h / 4)) $photo $work/q.jpg" ;;
      esac ;;
    imagemagick | graphicsmagick)
      local tool=$im
      [ "$prog" = graphicsmagick ] && tool="$gm convert"
      case $job in
        bmp) echo "$tool $photo $work/p.bmp" ;;
        matte) echo "$tool $photo -bordercolor '#C0C0C0' -border 300 -quality 90 $work/p.jpg" ;;
        bevel) echo "$tool $photo -raise 200x200 -quality 90 $work/p.jpg" ;;
        gray) echo "$tool $photo -colorspace gray -quality 90 $work/p.jpg" ;;
        gif) echo "$tool $photo +dither -colors 256 $work/p.gif" ;;
        shrink) echo "$tool $photo -sample 25% -quality 90 $work/p.jpg" ;;
      esac ;;
    vips)
      case $job in
        bmp) echo "$vips copy $photo $work/p.bmp" ;;
        matte) echo "$vips embed $photo '$work/p.jpg[Q=90]' 300 300 $((w + 600)) $((h + 600))" \
                    "--extend background --background '192 192 192'" ;;
        gray) echo "$vips colourspace $photo '$work/p.jpg[Q=90]' b-w" ;;
        gif) echo "$vips gifsave $photo $work/p.gif --dither 0" ;;
        shrink) echo "$vips subsample $photo '$work/p.jpg[Q=90]' 4 4" ;;
      esac ;;
  esac
}

peers=(imagemagick graphicsmagick vips)
failed=0
for size in "${sizes[@]}"; do
  w=${size%x*}
  h=${size#*x}
  photo=$work/photo-$size.jpg
  echo "Making a $w x $h test photo..." >&2
  "$im" -seed 7 -size $((w / 4))x$((h / 4)) plasma:fractal -blur 0x2 -resize "${w}x${h}!" \
    \( -size "${w}x${h}" gradient:'#402010'-'#e0d0b0' \) -compose overlay -composite \
    -quality 92 "$photo"
  echo "$((w * h / 1000000)) megapixels ($w x $h), medians of $runs interleaved runs:"
  printf '%-7s %17s %17s %17s %17s %13s  %s\n' "" quillon imagemagick graphicsmagick vips \
    "quillon/best" "quillon output"
  printf '%-7s %8s %8s %8s %8s %8s %8s %8s %8s %6s %6s  %s\n' \
    job wall cpu wall cpu wall cpu wall cpu wall cpu sha256
  for job in "${jobs[@]}"; do
    declare -A walls=() cpus=()
    for _ in $(seq "$runs"); do
      for prog in quillon "${peers[@]}"; do
        cmd=$(command_for "$prog" "$job" "$photo" "$w" "$h")
        [ -n "$cmd" ] || continue
        read -r r c <<<"$(timed "$cmd")"
        walls[$prog]+="$r "
        cpus[$prog]+="$c "
      done
    done
    hash=$(command_for quillon "$job" "$photo" "$w" "$h" | awk '{print $NF}' |
      xargs sha256sum | cut -c1-16)
    line=$(printf '%-7s' "$job")
    best_wall="" best_cpu=""
    for prog in quillon "${peers[@]}"; do
      if [ -z "${walls[$prog]:-}" ]; then
        line+=$(printf ' %8s %8s' - -)
        continue
      fi
      mw=$(tr ' ' '\n' <<<"${walls[$prog]}" | grep . | mid)
      mc=$(tr ' ' '\n' <<<"${cpus[$prog]}" | grep . | mid)
      line+=$(printf ' %7.3fs %7.3fs' "$mw" "$mc")
      if [ "$prog" = quillon ]; then
        qw=$mw qc=$mc
      else
        if [ -z "$best_wall" ] || [ "$(echo "$mw < $best_wall" | bc -l)" = 1 ]; then
          best_wall=$mw
        fi
        if [ -z "$best_cpu" ] || [ "$(echo "$mc < $best_cpu" | bc -l)" = 1 ]; then
          best_cpu=$mc
        fi
      fi
    done
    ratio=$(echo "$qw / $best_wall" | bc -l)
    ratio_cpu=$(echo "$qc / $best_cpu" | bc -l)
    target=1.0
    [ "$job" = gif ] && target=0.2
    verdict=""
    if [ "$(echo "$ratio > $target" | bc -l)" = 1 ]; then
      verdict="  over the target of $target"
      failed=1
    fi
    printf '%s %6.2f %6.2f  %s%s\n' "$line" "$ratio" "$ratio_cpu" "$hash" "$verdict"
    unset walls cpus
  done
done
echo "targets (wall time): at most 1.0 x the fastest peer; the GIF job at most 0.2 x"

if [ "$batch" -gt 0 ]; then
  photo=$work/photo-batch.jpg
  "$im" -seed 7 -size 1000x750 plasma:fractal -blur 0x2 -resize '4000x3000!' \
    \( -size 4000x3000 gradient:'#402010'-'#e0d0b0' \) -compose overlay -composite \
    -quality 92 "$photo"
  mkdir -p "$work/batch" "$work/out"
  for i in $(seq "$batch"); do ln -f "$photo" "$work/batch/p$i.jpg"; done
  batch_cmd() {
    rm -f "$work"/out/*
    case $1 in
      jobs1 | jobs2)
        echo "$qf --style matte $work/batch/*.jpg --output-dir $work/out --format jpg" \
          "--jobs ${1#jobs}" ;;
      vips)
        echo "ls $work/batch/*.jpg | xargs -P2 -n1 sh -c '$vips embed \"\$0\"" \
          "\"$work/out/\$(basename \"\$0\")[Q=90]\" 300 300 4600 3600" \
          "--extend background --background \"192 192 192\"'" ;;
    esac
  }
  declare -A walls=() cpus=()
  for _ in 1 2 3; do
    for prog in jobs1 jobs2 vips; do
      read -r r c <<<"$(timed "$(batch_cmd "$prog")")"
      walls[$prog]+="$r "
      cpus[$prog]+="$c "
    done
  done
  echo "batch of $batch photos of 12 megapixels with a matte, medians of 3 interleaved runs:"
  for prog in jobs1 jobs2 vips; do
    mw=$(tr ' ' '\n' <<<"${walls[$prog]}" | grep . | mid)
    mc=$(tr ' ' '\n' <<<"${cpus[$prog]}" | grep . | mid)
    declare "wall_$prog=$mw"
    printf '  %-28s %8.3fs wall %8.3fs cpu %6.1f photos/s\n' \
      "$(case $prog in jobs1) echo "quillon-frame --jobs 1" ;; jobs2) echo "quillon-frame --jobs 2" ;;
        vips) echo "vips embed, xargs -P2" ;; esac)" "$mw" "$mc" "$(echo "$batch / $mw" | bc -l)"
  done
  speedup=$(echo "$wall_jobs1 / $wall_jobs2" | bc -l)
  versus=$(echo "$wall_vips / $wall_jobs2" | bc -l)
  printf '  --jobs 2 against --jobs 1: %.2f x the throughput (target: at least 1.5)\n' "$speedup"
  printf '  --jobs 2 against vips:     %.2f x the throughput (target: at least 1.0)\n' "$versus"
  if [ "$(echo "$speedup < 1.5 || $versus < 1.0" | bc -l)" = 1 ]; then failed=1; fi
fi
exit "$failed"
