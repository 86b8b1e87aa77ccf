#!/usr/bin/env bash
# fuzz/run.sh SECONDS  builds the libFuzzer targets under clang (in build-fuzz/)
# and runs each for SECONDS (default 30) from its seed corpus. A crash leaves
# its input as build-fuzz/fuzz/crash-TARGET-* and makes the run fail.
set -euo pipefail
secs=${1:-30}
cd "$(dirname "$0")/.."
root=$PWD
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELISTROM_FUZZ=ON \
  -DVELISTROM_TESTS=OFF -DVELISTROM_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzzers -j"${FUZZ_JOBS:-4}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The settings target writes a settings file and looks for the documents folder.
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1

status=0
for target in xmlrpc langfile params tips; do
  corpus=$work/corpus-$target
  mkdir -p "$corpus"
  cp "$root/fuzz/corpus/$target/"* "$corpus/"
  echo "== fuzz_$target for ${secs}s"
  if ! "$root/build-fuzz/fuzz/fuzz_$target" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$root/build-fuzz/fuzz/crash-$target-" "$corpus" \
      >"$work/$target.log" 2>&1; then
    tail -n 60 "$work/$target.log"
    status=1
  else
    grep -E 'stat::number_of_executed_units|Done' "$work/$target.log" | tail -n 2 || true
  fi
done
exit $status
