#!/usr/bin/env bash
# Installs, runs and removes the Windows packages under Wine, silently, as a deployment
# would: the NSIS setup (/S, then its QuietUninstallString from the registry), the MSI
# (msiexec /qn), and the portable zip (its programs keep their files in their own folder);
# the window (printset.exe) and its Start menu entry "PRINT SET" come and go with them.
# After each removal nothing may be left: no file or folder in Program Files, no entry in
# Add/Remove Programs.
# Usage: installer-tests.sh WIN_BUILD INSTALLER_DIR
set -euo pipefail

win=$(realpath "$1")
packages=$(realpath "$2")
source "$(dirname "$0")/wine-common.sh" "$win/wineprefix"
unset DISPLAY WAYLAND_DISPLAY

setup=$(ls "$packages"/printset-*-setup.exe)
msi=$(ls "$packages"/printset-*-x64.msi)
zip=$(ls "$packages"/printset-*-x64.zip)
version=${setup##*/printset-}
version=${version%-setup.exe}

make_prefix

folder="$WINEPREFIX/drive_c/Program Files/printset"
installed=(printset-cli.exe printset.exe LICENSE.txt sample/config.ini)
# The window's Start menu entry: for every user; Wine's Windows Installer puts a
# per-machine package's entry in the installing user's Start menu instead.
menus=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
       "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
shortcuts() { for menu in "${menus[@]}"; do [ ! -f "$menu/PRINT SET.lnk" ] || echo "$menu/PRINT SET.lnk"; done; }
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
run=$(mktemp -d "${TMPDIR:-/tmp}/printset-installer-XXXXXX")
trap 'rm -rf "$run"' EXIT
failed=0

check() {
  local what=$1
  shift
  if "$@" > "$run/out" 2>&1; then echo "  ok   $what"; else echo "  FAIL $what"; sed 's/^/       /' "$run/out"; failed=1; fi
}
# Wine runs an installer's children on after it returns: wait for all of them.
settle() { "$WINESERVER" -w; }
# The Add/Remove Programs entries named PRINT SET (their keys), one a line, from the
# registry as the wineserver saved it when it ended.
entries() {
  settle
  awk '/^\[/ { key = $1 } key ~ /^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\/ && /^"DisplayName"="PRINT SET"$/ { print key }' \
    "$WINEPREFIX/system.reg"
}
files_in_place() {
  for file in "${installed[@]}"; do [ -f "$folder/$file" ] || { echo "missing: $file"; return 1; }; done
  [ -n "$(shortcuts)" ] || { echo "missing: the Start menu entry PRINT SET"; return 1; }
}
runs() {
  "$WINE" "$folder/printset-cli.exe" --version | tr -d '\r' | tee /dev/stderr | grep -q "^printset-cli $version " &&
    "$WINE" "$folder/printset.exe" --version | tr -d '\r' | tee /dev/stderr | grep -q "^printset $version "
}
one_entry() { [ "$(entries | wc -l)" = 1 ] || { entries; return 1; }; }
nothing_left() {
  [ ! -e "$folder" ] || { find "$folder"; return 1; }
  [ -z "$(shortcuts)" ] || { shortcuts; return 1; }
  [ -z "$(entries)" ] || { entries; return 1; }
}

check "nothing installed before" nothing_left

echo "wine: $(basename "$setup") /S"
"$WINE" "$setup" /S
settle
check "files in Program Files\\printset" files_in_place
check "the installed printset-cli.exe and printset.exe --version" runs
check "one Add/Remove Programs entry" one_entry
quiet_uninstall() {
  local command
  command=$("$WINE" reg query "$uninstall\\printset" /v QuietUninstallString | tr -d '\r' |
    sed -n 's/^ *QuietUninstallString *REG_SZ *//p')
  echo "QuietUninstallString: $command"
  [ "$command" = '"C:\Program Files\printset\uninstall.exe" /S' ] || return 1
  "$WINE" "C:\\Program Files\\printset\\uninstall.exe" /S
  settle
}
check "its QuietUninstallString runs" quiet_uninstall
check "nothing left after the uninstaller" nothing_left

echo "wine: msiexec /i $(basename "$msi") /qn"
"$WINE" msiexec /i "$(echo "Z:$msi" | tr / '\\')" /qn
settle
check "files in Program Files\\printset" files_in_place
check "the installed printset-cli.exe and printset.exe --version" runs
check "one Add/Remove Programs entry" one_entry
"$WINE" msiexec /x "$(echo "Z:$msi" | tr / '\\')" /qn
settle
check "nothing left after msiexec /x" nothing_left

echo "wine: $(basename "$zip")"
portable() {
  unzip -q "$zip" -d "$run/zip" &&
    "$WINE" "$run/zip/printset-$version/printset-cli.exe" paths | tr -d '\r' | tee /dev/stderr | grep -q '^mode *portable'
}
check "unpacked, printset-cli.exe keeps its files beside it" portable

"$WINESERVER" -k 2>/dev/null || true
exit $failed
