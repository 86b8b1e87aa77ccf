#!/usr/bin/env bash
# with-two-monitors.sh CMD...  runs CMD on an X server of its own with two
# 1920x1080 monitors side by side and openbox, then stops them.
# Xorg's dummy driver gives one 3840x1080 screen; `xrandr --setmonitor` splits
# it. Xorg takes a configuration file from any path only as root: elsewhere the
# test is skipped (77).
set -u
here=$(cd "$(dirname "$0")" && pwd)
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: Xorg with the two-monitor configuration needs root" >&2
  exit 77
fi
if ! command -v Xorg >/dev/null || [ ! -e /usr/lib/xorg/modules/drivers/dummy_drv.so ]; then
  echo "needs xserver-xorg-core and xserver-xorg-video-dummy (./build.sh installs them)" >&2
  exit 1
fi

work=$(mktemp -d)
xorg_pid="" wm_pid="" cmd_pid=""
stop() {
  [ -n "$cmd_pid" ] && kill "$cmd_pid" 2>/dev/null
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ -n "$xorg_pid" ] && kill "$xorg_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap stop EXIT
trap 'exit 143' TERM INT

mkfifo "$work/fd"
Xorg -displayfd 3 -noreset -nolisten tcp -config "$here/xorg-dummy-two-monitors.conf" \
  -logfile "$work/Xorg.log" 3>"$work/fd" >"$work/Xorg.out" 2>&1 &
xorg_pid=$!
num=""
read -r -t 60 num <"$work/fd" || true
if [ -z "$num" ]; then
  echo "Xorg did not start:" >&2
  tail -n 20 "$work/Xorg.out" "$work/Xorg.log" >&2 2>/dev/null
  exit 1
fi
export DISPLAY=":$num"
output=$(xrandr | awk '$2 == "connected" { print $1; exit }')
xrandr --output "$output" --primary
xrandr --setmonitor A 1920/508x1080/286+0+0 "$output" >/dev/null
xrandr --setmonitor B 1920/508x1080/286+1920+0 none >/dev/null
if [ "$(xrandr --listmonitors | head -n 1)" != "Monitors: 2" ]; then
  echo "xrandr did not split the screen into two monitors:" >&2
  xrandr --listmonitors >&2
  exit 1
fi
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
# In the background, so that a TERM stops the servers at once.
"$@" &
cmd_pid=$!
wait "$cmd_pid"
rc=$?
cmd_pid=""
exit "$rc"
