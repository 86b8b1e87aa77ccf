#!/usr/bin/env bash
# 50 captures of 1920x1080 (drawn by bench/gifanime_bench) made into one
# animated GIF, 0.4 s a frame, looping: the GIF maker (ConvImage of every
# capture, then the re-pack) against ImageMagick's convert on the same BMP
# captures, and gifsicle on the single-frame GIFs ConvImage made. Time (best of
# RUNS; convert: IM_RUNS), size, and the frame count gifsicle reads back.
#   bench/gifanime_compare.sh [BUILD_DIR]     (default: build)
# Needs imagemagick and gifsicle (benchmark only, not part of the test run).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
BENCH=$BUILD/bench/gifanime_bench
RUNS=${RUNS:-3}
IM_RUNS=${IM_RUNS:-1}  # convert takes minutes on 50 full-HD frames
CONVERT=${CONVERT:-$( [ -x /usr/bin/convert ] && echo /usr/bin/convert || command -v convert )}
command -v gifsicle >/dev/null || { echo "gifsicle is not installed" >&2; exit 1; }
[ -x "$BENCH" ] || { echo "build $BENCH first (VELISTROM_BENCH=ON)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$BENCH" --write-frames="$work" 2>/dev/null

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
frames() { gifsicle --info "$1" | sed -n 's/.* \([0-9]*\) images.*/\1/p'; }

# Ours: conversion and re-pack, as the maker does them; best total of RUNS.
best=""; conv=""; repack=""
for _ in $(seq "$RUNS"); do
  read -r c r _ < <("$BENCH" --assemble "$work" "$work/ours.gif" 2>/dev/null)
  if [ -z "$best" ] || [ $((c + r)) -lt "$best" ]; then best=$((c + r)); conv=$c; repack=$r; fi
done

# ImageMagick from the same BMP captures.
im=""
for _ in $(seq "$IM_RUNS"); do
  t0=$(now_ms); "$CONVERT" -delay 40 -loop 0 "$work"/frame*.bmp "$work/convert.gif"; t1=$(now_ms)
  if [ -z "$im" ] || [ $((t1 - t0)) -lt "$im" ]; then im=$((t1 - t0)); fi
done

# gifsicle from ConvImage's single-frame GIFs (left by the last --assemble).
gs=""
for _ in $(seq "$RUNS"); do
  t0=$(now_ms); gifsicle --loopcount=0 --delay=40 "$work"/frame*.gif -o "$work/gifsicle.gif" 2>/dev/null; t1=$(now_ms)
  if [ -z "$gs" ] || [ $((t1 - t0)) -lt "$gs" ]; then gs=$((t1 - t0)); fi
done

printf '%-34s %10s %10s %12s %7s\n' tool frames_ms total_ms bytes frames
printf '%-34s %10s %10s %12s %7s\n' "GIF maker (ConvImage + re-pack)" "$repack" "$best" \
  "$(stat -c %s "$work/ours.gif")" "$(frames "$work/ours.gif")"
printf '%-34s %10s %10s %12s %7s\n' "convert -delay 40 -loop 0" "-" "$im" \
  "$(stat -c %s "$work/convert.gif")" "$(frames "$work/convert.gif")"
printf '%-34s %10s %10s %12s %7s\n' "ConvImage + gifsicle" "$gs" "$((conv + gs))" \
  "$(stat -c %s "$work/gifsicle.gif")" "$(frames "$work/gifsicle.gif")"
echo "ConvImage of the 50 captures: $conv ms (in both totals that use it)"
