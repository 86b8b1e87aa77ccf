#!/usr/bin/env bash
# ./build.sh run   install what the build needs, build, and start Velistrom on this X display
# ./build.sh test  the same set-up, then every test (plain and under ASan+UBSan) on a private Xvfb
set -euo pipefail
cd "$(dirname "$0")"

# Every Debian package the build, the programs and the tests need: one list.
PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-qpa-plugins
  libx11-dev libxfixes-dev libxext-dev libxtst-dev libxi-dev
  libcurl4-openssl-dev libgif-dev libimagequant-dev libpng-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth openbox trayer x11-utils x11-xserver-utils xclip xdg-utils
  xserver-xorg-core xserver-xorg-video-dummy
  python3 python3-pyftpdlib poppler-utils desktop-file-utils dpkg-dev gifsicle
  qt6-webengine-dev clang libclang-rt-14-dev
  fonts-dejavu-core fonts-liberation2 fonts-crosextra-carlito fonts-comic-neue
)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {  # build DIR [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}

XVFB_PID=""; WM_PID=""
stop_x() {
  [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
}

start_x() {
  local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp +extension XFIXES 3>"$fifo" >/tmp/velistrom-xvfb.log 2>&1 &
  XVFB_PID=$!
  local num=""; read -r num <"$fifo" || true; rm -f "$fifo"
  if [ -z "$num" ]; then
    echo "Xvfb did not start; see /tmp/velistrom-xvfb.log" >&2
    exit 1
  fi
  export DISPLAY=":$num"
  openbox >/tmp/velistrom-openbox.log 2>&1 &
  WM_PID=$!
  # Wait until the window manager owns the screen.
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  echo "Xvfb on $DISPLAY with openbox"
}

run_tests() {  # run_tests DIR
  (cd "$1" && ctest --output-on-failure -j"$(nproc)" --timeout 300)
}

case "${1:-}" in
  run)
    install_packages
    build build
    exec build/bin/Velistrom
    ;;
  test)
    install_packages
    build build
    build build-asan -DVELISTROM_SANITIZE=ON -DVELISTROM_BENCH=OFF
    trap stop_x EXIT
    export XDG_RUNTIME_DIR; XDG_RUNTIME_DIR=$(mktemp -d); chmod 700 "$XDG_RUNTIME_DIR"
    start_x
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=0
    export UBSAN_OPTIONS=print_stacktrace=1
    status=0
    echo "== tests =="; run_tests build || status=1
    echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer =="; run_tests build-asan || status=1
    echo "== fuzzing the readers of outside input =="; bash fuzz/run.sh 15 || status=1
    exit $status
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
