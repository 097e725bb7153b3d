#!/usr/bin/env bash
# Runs the window driver (window_driver.exe of WIN_BUILD) under Wine's null display driver:
# the real printset.exe, started by the driver, against native printers from NATIVE_BUILD
# mapped to COM ports: a pool of printer-sim printers that answer every rate (their records
# read back from --dump-dir through Z:), and one that listens only at SEARCH_RATE, which
# the window finds by its search of the other rates. No X server is needed: the prefix is
# one of its own, its graphics driver "null", set before its wineserver starts. The
# layout check (the tests named *Fit*) runs again with the screen at 200 %.
# Usage: window-tests.sh WIN_BUILD NATIVE_BUILD [GTEST ARGUMENTS...]
set -euo pipefail

win=$(realpath "$1")
native=$(realpath "$2")
shift 2

source "$(dirname "$0")/wine-common.sh" "$win/wineprefix-window"
unset DISPLAY WAYLAND_DISPLAY

# One printer per test of the driver, from COM60; the search's printer on SEARCH_COM.
PRINTER_COUNT=8
PRINTER_COM=60
SEARCH_COM=70
SEARCH_RATE=38400
# The screen's DPI of the first run (100 %) and of the layout check's second run (200 %).
DPI_FIRST=96
DPI_SECOND=192
# Each reply waits this long, so that a firmware transfer shows its progress moving.
REPLY_DELAY_MS=10

for program in "$win/src/app/printset.exe" "$win/src/app/printset-cli.exe" "$win/tests/window_driver.exe"; do
  [ -f "$program" ] || { echo "window-tests: $program is not built (make windows)" >&2; exit 1; }
done

run=$(mktemp -d "${TMPDIR:-/tmp}/printset-window-XXXXXX")
pids=()
# Wine first: a printer that goes while Wine holds its pty open hangs up on the wineserver.
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$run"
}
trap cleanup EXIT

make_prefix
install_fonts

mkdir -p "$run/dump"
"$native/tools/printer-sim" --count "$PRINTER_COUNT" --delay "$REPLY_DELAY_MS" --dump-dir "$run/dump" -q \
  > "$run/printers" &
pids+=("$!")
"$native/tools/printer-sim" --rate "$SEARCH_RATE" -q > "$run/search" &
pids+=("$!")
wait_lines "$run/printers" "$PRINTER_COUNT"
wait_lines "$run/search" 1

{
  echo "REGEDIT4"
  echo
  echo "[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]"
  echo "\"Graphics\"=\"null\""
  echo
  echo "[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]"
  i=0
  while read -r path; do echo "\"COM$((PRINTER_COM + i))\"=\"$path\""; i=$((i + 1)); done < "$run/printers"
  echo "\"COM$SEARCH_COM\"=\"$(cat "$run/search")\""
} > "$run/window.reg"

# Imports REG (and the screen's DPI) and starts Wine afresh: the display driver, the COM
# devices and the DPI are taken when Wine starts.
configure_wine() {
  {
    cat "$1"
    echo
    echo "[HKEY_CURRENT_USER\\Control Panel\\Desktop]"
    printf '"LogPixels"=dword:%08x\n' "$2"
  } > "$run/wine.reg"
  "$WINE" regedit /S "$(echo "Z:$run/wine.reg" | tr / '\\')"
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w
  # One server for the whole run (cleanup ends it): none winds down under a starting program.
  "$WINESERVER" -p
}
configure_wine "$run/window.reg" "$DPI_FIRST"

windows_path() { echo "Z:$1" | tr / '\\'; }
export PRINTSET_TEST_PRINTER_COM=$PRINTER_COM PRINTSET_TEST_PRINTER_COUNT=$PRINTER_COUNT
export PRINTSET_TEST_PRINTER_DUMP="Z:$run/dump"
export PRINTSET_TEST_SEARCH_COM="COM$SEARCH_COM" PRINTSET_TEST_SEARCH_RATE=$SEARCH_RATE
PRINTSET_TEST_WINDOW=$(windows_path "$win/src/app/printset.exe")
PRINTSET_TEST_CLI=$(windows_path "$win/src/app/printset-cli.exe")
export PRINTSET_TEST_WINDOW PRINTSET_TEST_CLI

echo "wine: window_driver.exe (printset.exe under the null display driver)"
start=$(date +%s%N)
status=0
"$WINE" "$win/tests/window_driver.exe" "$@" || status=1
echo "wine: window_driver.exe took $((($(date +%s%N) - start) / 1000000)) ms"

echo "wine: window_driver.exe's layout check at $DPI_SECOND dpi"
start=$(date +%s%N)
configure_wine "$run/window.reg" "$DPI_SECOND"
"$WINE" "$win/tests/window_driver.exe" --gtest_filter='*Fit*' || status=1
echo "wine: the layout check at $DPI_SECOND dpi took $((($(date +%s%N) - start) / 1000000)) ms"
exit $status
