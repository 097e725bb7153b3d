#!/usr/bin/env bash
# Pictures of the Windows window (printset.exe of WIN_BUILD) under Wine, each page at 100 %
# and at 200 % (LogPixels 96 and 192), as SHOTS/windows-PAGE-SCALE.png. The window runs in
# a Wine desktop (`explorer /desktop`, which draws the frame that bare Xvfb lacks) on an
# Xvfb server of its own; printset-window-shots.exe shows the pages in turn and says where
# the window is, xwd takes the screen and netpbm cuts the window out of it. The prefix is
# one of its own, with Wine's X11 driver.
# Usage: window-screenshots.sh WIN_BUILD SHOTS
set -euo pipefail

win=$(realpath "$1")
mkdir -p "$2"
shots=$(realpath "$2")
source_dir=$(realpath "$(dirname "$0")/../../..")

source "$(dirname "$0")/wine-common.sh" "$win/wineprefix-shots"
unset WAYLAND_DISPLAY
# The screen and the Wine desktop on it: room for the window at 200 %.
SCREEN=1600x1200
PAGES=(para update nvram)

for program in "$win/src/app/printset.exe" "$win/tests/printset-window-shots.exe"; do
  [ -f "$program" ] || { echo "window-screenshots: $program is not built (make windows)" >&2; exit 1; }
done

run=$(mktemp -d "${TMPDIR:-/tmp}/printset-shots-XXXXXX")
xvfb=
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  [ -z "$xvfb" ] || { kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; }
  rm -rf "$run"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to the descriptor given.
exec 3> "$run/display"
Xvfb -displayfd 3 -screen 0 "${SCREEN}x24" -nolisten tcp > "$run/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 1 100); do [ -s "$run/display" ] && break; sleep 0.1; done
[ -s "$run/display" ] || { echo "Xvfb did not start: $(cat "$run/xvfb.log")" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$run/display")"

make_prefix
install_fonts

windows_path() { echo "Z:$1" | tr / '\\'; }

# The window's folder: a sample config.ini with code pages and one picture in the logo list.
folder="$run/window"
mkdir -p "$folder" "$run/handshake"
cp "$source_dir/docs/logo-picture.png" "$folder/"
printf '%s\r\n' "[WINDOW]" "PORT=COM1" "BAUD=9600" "[CODEPAGE]" "PC437=0" "KATAKANA=1" "PC850=2" \
  "[LOGOFILES]" "COUNT=1" "FILE1=logo-picture.png" > "$folder/config.ini"

for scale in 100:96 200:192; do
  percent=${scale%%:*}
  dpi=${scale##*:}
  # The DPI is read when Wine starts: set it, then start Wine afresh.
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w
  rm -f "$run/handshake"/*
  "$WINE" explorer "/desktop=printset,$SCREEN" "$(windows_path "$win/tests/printset-window-shots.exe")" \
    "$(windows_path "$win/src/app/printset.exe")" "$(windows_path "$folder")" "$(windows_path "$run/handshake")" &
  shooter=$!
  for page in "${PAGES[@]}"; do
    for _ in $(seq 1 600); do
      [ -f "$run/handshake/$page.rect" ] || ! kill -0 "$shooter" 2>/dev/null && break
      sleep 0.1
    done
    [ -f "$run/handshake/$page.rect" ] || { echo "window-screenshots: no $page page at $percent %" >&2; exit 1; }
    read -r left top width height < <(tr -d '\r' < "$run/handshake/$page.rect")
    out="$shots/windows-$page-$percent.png"
    xwd -root -silent | xwdtopnm 2>/dev/null |
      pamcut -left "$left" -top "$top" -width "$width" -height "$height" | pnmtopng > "$out"
    echo "window-screenshots: $out (${width}x$height)"
    touch "$run/handshake/$page.done"
  done
  # The Wine desktop stays a while after its last window: end it.
  "$WINESERVER" -k 2>/dev/null || true
  wait "$shooter" 2>/dev/null || true
done
