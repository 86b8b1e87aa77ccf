#!/usr/bin/env bash
# The same 1920x1080 fixtures as bench/convimage_bench.cpp, converted by
# ImageMagick's convert (JPEG at the same quality, 70) and the GIFs optimised by
# gifsicle -O3, with time (best of RUNS), size and PSNR (our own measure).
#   bench/convimage_compare.sh [BUILD_DIR]     (default: build)
# Needs imagemagick and gifsicle (benchmark only, not part of the test run).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
BENCH=$BUILD/bench/convimage_bench
RUNS=${RUNS:-5}
CONVERT=${CONVERT:-$( [ -x /usr/bin/convert ] && echo /usr/bin/convert || command -v convert )}
command -v gifsicle >/dev/null || { echo "gifsicle is not installed" >&2; exit 1; }
[ -x "$BENCH" ] || { echo "build $BENCH first (VELISTROM_BENCH=ON)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$BENCH" --write-fixtures="$work" 2>/dev/null

# best wall time in ms of RUNS runs of a command
best_ms() {
  local best=""
  for _ in $(seq "$RUNS"); do
    local t0 t1 ms
    t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N)
    ms=$(( (t1 - t0) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

printf '%-8s %-22s %8s %10s %8s\n' fixture tool ms bytes psnr_dB
for fx in desktop dialog; do
  src=$work/$fx.bmp
  row() {  # row TOOL FILE MS
    local psnr="-"
    case $2 in *.jpg|*.gif) psnr=$("$BENCH" --psnr "$src" "$2" 2>/dev/null) ;; esac
    printf '%-8s %-22s %8s %10s %8s\n' "$fx" "$1" "$3" "$(stat -c %s "$2")" "$psnr"
  }
  ms=$(best_ms "$CONVERT" "$src" -type TrueColor "BMP3:$work/$fx.im.bmp"); row "convert bmp" "$work/$fx.im.bmp" "$ms"
  ms=$(best_ms "$CONVERT" "$src" -quality 70 "$work/$fx.im.jpg"); row "convert jpeg q70" "$work/$fx.im.jpg" "$ms"
  ms=$(best_ms "$CONVERT" "$src" "$work/$fx.im.gif"); row "convert gif" "$work/$fx.im.gif" "$ms"
  ms=$(best_ms "$CONVERT" "$src" "$work/$fx.im.png"); row "convert png" "$work/$fx.im.png" "$ms"
  ms=$(best_ms gifsicle -O3 "$work/$fx.im.gif" -o "$work/$fx.im.O3.gif"); row "gifsicle -O3 (convert)" "$work/$fx.im.O3.gif" "$ms"
  "$BENCH" --convert "$src" "$work/$fx.ours.gif" 3 2>/dev/null
  row "ours gif" "$work/$fx.ours.gif" "-"
  ms=$(best_ms gifsicle -O3 "$work/$fx.ours.gif" -o "$work/$fx.ours.O3.gif"); row "gifsicle -O3 (ours)" "$work/$fx.ours.O3.gif" "$ms"
done
