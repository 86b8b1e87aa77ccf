#!/bin/sh
# Times a whole-screen grab by scrot and by maim on the X server of $DISPLAY, to
# set beside bench/screengrab_bench (our own grab, without process start-up).
# Each tool runs as a new process, so its figure includes start-up and writing a
# file; BMP keeps the encoding cost small, PNG is each tool's default.
#   DISPLAY=:45 bench/screengrab_compare.sh [runs]
set -eu
runs=${1:-20}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
[ -n "${DISPLAY:-}" ] || { echo "DISPLAY is not set" >&2; exit 1; }
size=$(xdpyinfo | awk '/dimensions:/ {print $2; exit}')
echo "screen $size, $runs runs each"

# time_ms CMD...: mean wall time of one run in milliseconds
time_ms() {
  start=$(date +%s%N)
  i=0
  while [ "$i" -lt "$runs" ]; do
    "$@" >/dev/null 2>&1
    i=$((i + 1))
  done
  end=$(date +%s%N)
  echo $(((end - start) / runs / 1000000))
}

for tool in scrot maim; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool: not installed"
    continue
  fi
  case $tool in
    scrot)
      bmp=$(time_ms scrot -o "$out/s.bmp")
      png=$(time_ms scrot -o "$out/s.png") ;;
    maim)
      bmp=$(time_ms maim -u -f bmp "$out/m.bmp")
      png=$(time_ms maim -u -f png "$out/m.png") ;;
  esac
  echo "$tool: bmp ${bmp} ms, png ${png} ms per grab"
done
# A process that does nothing but start, for the start-up share.
echo "true (process start only): $(time_ms true) ms"
