#!/usr/bin/env bash
# Our writers, grab, whole-screen path and overlay beside ImageMagick (convert,
# import), scrot, maim and gifsicle, in one run on one private Xvfb with two
# screens (1920x1080 and 3840x2160). Every figure is the median of RUNS runs
# (default 7); the peers are new processes, so their start-up (a --version run)
# is measured apart. Prints the tables, and writes them and bench/compare.svg
# into bench/README.md only when the machine was quiet: a load average above
# MAX_LOAD (default 1.5) before or after the run makes every figure suspect.
#   bench/compare.sh [BUILD_DIR]     (default build, configured with -DVELISTROM_BENCH=ON)
# Needs imagemagick, scrot, maim and gifsicle: benchmark only, not in build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
RUNS=${RUNS:-7}
MAX_LOAD=${MAX_LOAD:-1.5}
CONVERT=/usr/bin/convert  # the real ImageMagick, whatever else is first on PATH
IMPORT=/usr/bin/import
for tool in "$CONVERT" "$IMPORT" scrot maim gifsicle Xvfb openbox xdpyinfo python3; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done
for b in convimage_bench screengrab_bench wholescreen_bench overlay_bench; do
  [ -x "$BUILD/bench/$b" ] || { echo "build $BUILD/bench/$b first (VELISTROM_BENCH=ON)" >&2; exit 1; }
done

work=$(mktemp -d)
results=$work/results.tsv  # kind, task, size, tool, ms, bytes, start ms, format, PSNR dB (or -)
xpid=""
cleanup() {
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# One server, two screens: :N.0 is 1080p, :N.1 is 4K, each with its window manager.
fifo=$work/fifo; mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -screen 1 3840x2160x24 -nolisten tcp 3>"$fifo" \
  >/dev/null 2>&1 &
xpid=$!
read -r num <"$fifo"
export XDG_RUNTIME_DIR=$work/runtime; mkdir -m 700 "$XDG_RUNTIME_DIR"
for s in 0 1; do DISPLAY=":$num.$s" openbox --sm-disable >/dev/null 2>&1 & done
sleep 1
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
echo "load average before: $load_before"

# median_ms CMD...: median wall time of RUNS runs, in milliseconds (one decimal)
median_ms() {
  local times=()
  for _ in $(seq "$RUNS"); do
    local t0 t1
    t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N)
    times+=("$(( (t1 - t0) / 100000 ))")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]/10}'
}
record() { printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$@" >>"$results"; }

# Our Google Benchmark programs: median real time (and bytes, PSNR) of each entry.
ours() {  # ours DISPLAY PROGRAM FILTER
  DISPLAY=$1 QT_QPA_PLATFORM=${QPA:-xcb} VELISTROM_MSGBOX_LOG=/dev/null "$BUILD/bench/$2" \
    --benchmark_filter="$3" --benchmark_repetitions="$RUNS" --benchmark_min_time=0.1 \
    --benchmark_report_aggregates_only=true --benchmark_format=json 2>/dev/null |
    python3 -c '
import json, sys
for b in json.load(sys.stdin)["benchmarks"]:
    if b.get("aggregate_name", "median") == "median":  # one run: no aggregates
        ms = b["real_time"] * {"ms": 1, "us": 1e-3, "ns": 1e-6}[b["time_unit"]]
        psnr = round(b["psnr_dB"], 2) if "psnr_dB" in b else "-"
        print(b["run_name"], round(ms, 2), int(b.get("bytes", 0)), psnr, sep="\t")'
}

# Pictures: every format on every fixture.
fx=$work/fixtures
QT_QPA_PLATFORM=offscreen "$BUILD/bench/convimage_bench" --write-fixtures="$fx" 2>/dev/null
convert_start=$(median_ms "$CONVERT" -version)
gifsicle_start=$(median_ms gifsicle --version)
QPA=offscreen ours ":$num.0" convimage_bench 'BM_ConvImage/' | while IFS=$'\t' read -r name ms bytes psnr; do
  task=${name#BM_ConvImage/}
  record picture "${task%_*}" 1920x1080 ours "$ms" "$bytes" 0 "${task##*_}" "$psnr"
done
# PSNR of a peer's file against the source, for the lossy formats.
psnr_of() {  # psnr_of FORMAT SOURCE FILE
  case $1 in
    jpeg*|gif) QT_QPA_PLATFORM=offscreen "$BUILD/bench/convimage_bench" --psnr "$2" "$3" 2>/dev/null ;;
    *) echo - ;;
  esac
}
for f in desktop dialog photo terminal; do
  src=$fx/$f.bmp
  run_convert() {  # run_convert FORMAT OUT ARGS...
    local fmt=$1 out=$2; shift 2
    local ms; ms=$(median_ms "$CONVERT" "$src" "$@" "$out")
    record picture "$f" 1920x1080 convert "$ms" "$(stat -c %s "${out#*:}")" "$convert_start" "$fmt" \
      "$(psnr_of "$fmt" "$src" "${out#*:}")"
  }
  run_convert bmp "BMP3:$work/$f.bmp" -type TrueColor
  run_convert jpeg70 "$work/$f.jpg" -quality 70
  run_convert gif "$work/$f.gif"
  run_convert png "$work/$f.png"
  # gifsicle re-packs our own GIF (the same pixels, its best LZW stream)
  QT_QPA_PLATFORM=offscreen "$BUILD/bench/convimage_bench" --convert "$src" "$work/$f.ours.gif" 3 2>/dev/null
  ms=$(median_ms gifsicle -O3 "$work/$f.ours.gif" -o "$work/$f.O3.gif")
  record picture "$f" 1920x1080 "gifsicle -O3" "$ms" "$(stat -c %s "$work/$f.O3.gif")" "$gifsicle_start" gif \
    "$(psnr_of gif "$src" "$work/$f.O3.gif")"
done

# Screens: grab, whole-screen path, overlay, against the peers' grab processes.
scrot_start=$(median_ms scrot --version)
maim_start=$(median_ms maim --version)
import_start=$(median_ms "$IMPORT" -version)
for s in 0 1; do
  d=":$num.$s"
  size=$(DISPLAY=$d xdpyinfo | awk -v s="screen #$s:" '$0 ~ s {f=1} f && !done && /dimensions:/ {print $2; done=1}')
  { ours "$d" screengrab_bench 'BM_WholeScreen_Shm'
    ours "$d" wholescreen_bench 'BM_WholeScreenPath'
    ours "$d" overlay_bench 'BM_InitFull_RealGrab'; } | while IFS=$'\t' read -r name ms _ _; do
    case $name in
      *Shm*) task=grab ;; *WholeScreen*) task="whole-screen path" ;; *) task=overlay ;;
    esac
    record screen "$task" "$size" ours "$ms" 0 0 bmp -
  done
  # 200 captures at 1080p only: at 4K their temporary bitmaps alone take 5 GB
  if [ "$s" = 0 ]; then
    DISPLAY=$d QT_QPA_PLATFORM=xcb "$BUILD/bench/wholescreen_bench" --benchmark_filter=BM_Resident200 \
      --benchmark_format=json 2>/dev/null | python3 -c '
import json, sys
b = json.load(sys.stdin)["benchmarks"][0]
print(round(b["rss_before_MB"]), round(b["rss_first_MB"]), round(b["rss_200_MB"]), sep="\t")' |
      while IFS=$'\t' read -r before first last; do
        record memory "200 captures" "$size" ours "$last" "$first" "$before" MB -
      done
  fi
  export DISPLAY=$d
  record screen grab "$size" "scrot" "$(median_ms scrot -o "$work/s.bmp")" 0 "$scrot_start" bmp -
  record screen grab "$size" "maim -u" "$(median_ms maim -u -f bmp "$work/m.bmp")" 0 "$maim_start" bmp -
  record screen grab "$size" "import" "$(median_ms "$IMPORT" -window root "BMP3:$work/i.bmp")" 0 "$import_start" bmp -
  record screen grab "$size" "scrot" "$(median_ms scrot -o "$work/s.png")" 0 "$scrot_start" png -
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
echo "load average after: $load_after"

machine="$(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) cores, \
$(free -g | awk '/^Mem:/ {print $2}') GB; $(. /etc/os-release; echo "$PRETTY_NAME"); \
$("$CONVERT" -version | head -1 | sed 's/^Version: //; s/ https.*//'), $(scrot --version | head -1), \
maim $(maim --version | awk '{print $NF}'), gifsicle $(gifsicle --version | head -1 | awk '{print $NF}'); \
load average $load_before before, $load_after after"
report=(python3 bench/compare_report.py "$results" "$RUNS" "$(date -u +%Y-%m-%d)" "$machine")
"${report[@]}" - -  # the tables, on standard output
# The one-minute averages: the run's own minutes, not the quarter hour before.
busiest=$(printf '%s\n%s\n' "${load_before%% *}" "${load_after%% *}" | sort -g | tail -1)
if awk -v l="$busiest" -v m="$MAX_LOAD" 'BEGIN {exit !(l > m)}'; then
  echo "load average $busiest is above $MAX_LOAD: the tables are not written (run again on a quiet machine)" >&2
  exit 3
fi
"${report[@]}" bench/README.md bench/compare.svg
echo "tables written into bench/README.md, chart into bench/compare.svg"
