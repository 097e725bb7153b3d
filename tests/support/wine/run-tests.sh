#!/usr/bin/env bash
# Runs the Windows test programs of WIN_BUILD under Wine against native peers from
# NATIVE_BUILD: printset-line-relay (serial lines the test plays byte by byte) and
# printer-sim --count (printers, their records read back from --dump-dir through Z:);
# the picture cases as Qt's reader packs them (printset-packed-pictures), which WIC must
# match.
# Wine maps each peer's pty to a COM port through HKLM\Software\Wine\Ports.
# Usage: run-tests.sh WIN_BUILD NATIVE_BUILD [PROGRAM.exe...]
set -euo pipefail

win=$(realpath "$1")
native=$(realpath "$2")
shift 2
programs=("$@")
[ ${#programs[@]} -gt 0 ] || programs=(link_tests.exe engine_tests.exe profile_tests.exe logo_tests.exe frontend_tests.exe ui_tests.exe)

source "$(dirname "$0")/wine-common.sh" "$win/wineprefix"
# Headless.
unset DISPLAY WAYLAND_DISPLAY

# COM ports of the pools: lines from COM10, printers from COM60.
LINE_COUNT=24
LINE_COM=10
PRINTER_COUNT=8
PRINTER_COM=60

run=$(mktemp -d "${TMPDIR:-/tmp}/printset-wine-XXXXXX")
pids=()
# Wine first (its server is kept running below), then the peers.
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$run"
}
trap cleanup EXIT

make_prefix

# The relay's ports: a free block of LINE_COUNT + 1 (the last one answers line rates).
for attempt in 1 2 3 4 5; do
  base=$((20000 + RANDOM % 30000))
  "$native/tests/printset-line-relay" "$LINE_COUNT" "$base" > "$run/lines" 2> "$run/relay.err" &
  relay=$!
  if wait_lines "$run/lines" "$LINE_COUNT" 2>/dev/null; then pids+=("$relay"); break; fi
  kill "$relay" 2>/dev/null || true
  wait "$relay" 2>/dev/null || true
  [ "$attempt" -lt 5 ] || { cat "$run/relay.err" >&2; exit 1; }
done

mkdir -p "$run/dump"
"$native/tools/printer-sim" --count "$PRINTER_COUNT" --dump-dir "$run/dump" -q > "$run/printers" &
pids+=("$!")
wait_lines "$run/printers" "$PRINTER_COUNT"

{
  echo "REGEDIT4"
  echo
  echo "[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]"
  i=0
  while read -r path; do echo "\"COM$((LINE_COM + i))\"=\"$path\""; i=$((i + 1)); done < "$run/lines"
  i=0
  while read -r path; do echo "\"COM$((PRINTER_COM + i))\"=\"$path\""; i=$((i + 1)); done < "$run/printers"
} > "$run/ports.reg"
"$WINE" regedit /S "$(echo "Z:$run/ports.reg" | tr / '\\')"
# Wine makes its COM devices from that key when it starts: start it afresh.
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w
# One server for every program of the run, kept until the end: a program started just as
# an idle server winds down loses its connection ("wine client error") before it runs.
"$WINESERVER" -p

export PRINTSET_TEST_LINE_COM=$LINE_COM PRINTSET_TEST_LINE_PORT=$base PRINTSET_TEST_LINE_COUNT=$LINE_COUNT
export PRINTSET_TEST_PRINTER_COM=$PRINTER_COM PRINTSET_TEST_PRINTER_COUNT=$PRINTER_COUNT
export PRINTSET_TEST_PRINTER_DUMP="Z:$run/dump"

# The picture cases' files and their packing under every dot rule on Linux.
mkdir -p "$run/pictures"
"$native/tests/printset-packed-pictures" "$run/pictures" > "$run/packed.txt"
export PRINTSET_TEST_PACKED="Z:$run/packed.txt"

# Wine opens a COM port mapped to a Unix device without applying the share mode, so a
# second opener is let in; on Windows the port's driver refuses it. That one test runs
# on Windows itself only.
WINE_GAPS="UniUartOpen.ASecondOpenOfTheSamePortIsRefused"

failed=0
for program in "${programs[@]}"; do
  echo "wine: $program"
  if ! "$WINE" "$win/tests/$program" --gtest_filter="-$WINE_GAPS"; then failed=1; fi
done

# printset-cli.exe's exit codes against the printers: expected code, then the arguments.
# Its files go to a folder of the run (--folder), not into the prefix.
cli="$win/src/app/printset-cli.exe"
if [ -f "$cli" ]; then
  mkdir -p "$run/cli"
  head -c 3000 /dev/urandom > "$run/cli/data.bin"
  folder="Z:$run/cli"
  cli_rows=(
    "0|--port COM$PRINTER_COM set"
    "0|--port COM$PRINTER_COM detect"
    "0|--port COM$((PRINTER_COM + 1)) --baud auto set --new-baud 9600"
    "0|--port COM$((PRINTER_COM + 1)) download Z:$run/cli/data.bin"
    "65|--port COM$PRINTER_COM program Z:$run/cli/missing.bin"
    "64|--port COM$PRINTER_COM set --no-such-option"
    "1|--port COM$((PRINTER_COM + PRINTER_COUNT + 20)) set"
    "0|logo pack -o Z:$run/cli/windows.bin $(printf "Z:$run/pictures/%02d.pic " 1 2 3 4 5 6 7 8 9)"
    "0|logo show Z:$run/cli/windows.bin -o Z:$run/cli/windows.png"
    "0|--port COM$((PRINTER_COM + 2)) logo download Z:$run/pictures/05.pic Z:$run/pictures/11.pic"
    "65|logo pack Z:$run/cli/data.bin"
    "0|ports"
  )
  echo "wine: printset-cli.exe exit codes"
  for row in "${cli_rows[@]}"; do
    expected=${row%%|*}
    read -r -a arguments <<< "${row#*|}"
    # Once more when Wine itself could not reach its server: the program never ran.
    for attempt in 1 2; do
      code=0
      "$WINE" "$cli" --folder "$folder" "${arguments[@]}" > "$run/cli/out" 2>&1 < /dev/null || code=$?
      grep -q "^wine client error" "$run/cli/out" || break
    done
    if [ "$code" = "$expected" ]; then
      echo "  ok   $code  ${arguments[*]}"
    else
      echo "  FAIL $code (expected $expected)  ${arguments[*]}"
      sed 's/^/       /' "$run/cli/out"
      failed=1
    fi
  done
fi

# What printset-cli.exe made, against the same made on Linux: the packed set to the byte,
# and its PNG of the dots (WIC's writer) reading as the same dots as Qt's writer's. The
# port list holds the COM ports Wine maps, and detect finds the printers on them.
if [ -f "$cli" ]; then
  echo "wine: printset-cli.exe's logo set, picture and port list against Linux"
  linux=("$native/src/app/printset-cli" --folder "$run/cli" --quiet)
  same_set() {
    "${linux[@]}" logo pack -o "$run/cli/linux.bin" "$run"/pictures/0[1-9].pic &&
      cmp "$run/cli/linux.bin" "$run/cli/windows.bin"
  }
  same_dots() {
    "${linux[@]}" logo show "$run/cli/linux.bin" -o "$run/cli/linux.png" &&
      "${linux[@]}" logo pack -o "$run/cli/from-linux.bin" "$run/cli/linux.png" &&
      "${linux[@]}" logo pack -o "$run/cli/from-windows.bin" "$run/cli/windows.png" &&
      cmp "$run/cli/from-linux.bin" "$run/cli/from-windows.bin"
  }
  mapped_ports_listed() {
    "$WINE" "$cli" ports | tr -d '\r' | tee "$run/cli/ports" &&
      grep -q "^COM$PRINTER_COM\b" "$run/cli/ports" && grep -q "^COM$LINE_COM\b" "$run/cli/ports"
  }
  # detect with no port named tries every listed port: each printer's is found.
  listed_printers_detected() {
    "$WINE" "$cli" --folder "Z:$run/cli" detect | tr -d '\r' | tee "$run/cli/detect" || return 1
    for i in $(seq 0 $((PRINTER_COUNT - 1))); do
      grep -q "^COM$((PRINTER_COM + i)) .*accepted$" "$run/cli/detect" || return 1
    done
  }
  check() {
    local what=$1
    shift
    if "$@" > "$run/cli/out" 2>&1; then echo "  ok   $what"; else echo "  FAIL $what"; sed 's/^/       /' "$run/cli/out"; failed=1; fi
  }
  check "logo pack: the same set as on Linux" same_set
  check "logo show: its PNG (WIC's writer) has the dots of Linux's" same_dots
  check "ports: the ports Wine maps, COM$PRINTER_COM and COM$LINE_COM among them" mapped_ports_listed
  check "detect: the printers on the listed ports, none named" listed_printers_detected
fi
"$WINESERVER" -k 2>/dev/null || true
exit $failed
