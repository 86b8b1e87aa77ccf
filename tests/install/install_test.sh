#!/usr/bin/env bash
# Installs the build into a fresh prefix and starts the installed program on the
# test display: the launchers, the menu entry and its icon are there, and the
# program runs from its installed folder through to the tip of the day.
set -euo pipefail
build=$1
work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/velistrom bin/postelle bin/spreadwell \
         lib/velistrom/Velistrom lib/velistrom/Postelle lib/velistrom/Spreadwell \
         lib/velistrom/ConstPRJA_codN.txt lib/velistrom/ConstPRJF_codN.txt lib/velistrom/camera.wav \
         share/applications/velistrom.desktop share/icons/hicolor/64x64/apps/velistrom.png; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
grep -qx 'Exec=velistrom' "$prefix/share/applications/velistrom.desktop" || { echo "menu entry starts something else"; exit 1; }
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/velistrom.desktop"
fi

export HOME=$work/home XDG_DATA_HOME=$work/home/data XDG_CONFIG_HOME=$work/home/config
mkdir -p "$XDG_DATA_HOME/Velistrom"
printf 'ConstPRJA\r\n' >"$XDG_DATA_HOME/Velistrom/spoken.txt"
unset VELISTROM_TIPS_FTP VELISTROM_TIPS_FTP_PASSWORD
export VELISTROM_MSGBOX_LOG=$work/boxes.log QT_QPA_PLATFORM=xcb
"$prefix/bin/velistrom" 2>"$work/stderr" &
pid=$!
ini=$XDG_CONFIG_HOME/Velistrom/Velistrom.ini
for _ in $(seq 150); do
  [ -e "$ini" ] && break
  kill -0 "$pid" 2>/dev/null || { echo "the installed program ended:"; cat "$work/stderr"; exit 1; }
  sleep 0.1
done
[ -e "$ini" ] || { echo "the installed program never reached the tip of the day"; exit 1; }
[ -e "$XDG_DATA_HOME/Velistrom/params.txt" ] || { echo "no settings file written"; exit 1; }
if [ -s "$work/boxes.log" ]; then echo "a message on the way:"; cat "$work/boxes.log"; exit 1; fi
echo "installed program started"
