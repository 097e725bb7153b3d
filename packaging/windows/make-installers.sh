#!/usr/bin/env bash
# Makes the Windows installers from the cross build: printset-VERSION-setup.exe (NSIS),
# printset-VERSION-x64.msi (wixl) and the portable printset-VERSION-x64.zip (the programs
# with config.ini beside them, so they keep everything in their own folder). The programs
# go in without their debugging information.
# Usage: make-installers.sh WIN_BUILD OUT_DIR
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$here/../.." && pwd)
build=$(realpath "$1")
mkdir -p "$2"
out=$(realpath "$2")
STRIP=${STRIP:-x86_64-w64-mingw32-strip}

version=$(sed -n 's/^project(printset VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
commit=$(git -C "$source" describe --always --dirty 2>/dev/null || echo unknown)
[ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
[ -f "$build/src/app/printset-cli.exe" ] || { echo "$build/src/app/printset-cli.exe is missing: make windows" >&2; exit 1; }

# What every package installs, in one folder: the programs, the licence, the sample.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
payload="$stage/printset-$version"
mkdir -p "$payload"
programs=(printset-cli.exe)
window=()
msiWindow=()
if [ -f "$build/src/app/printset.exe" ]; then programs+=(printset.exe); window=(-DWINDOW); msiWindow=(-D Window=yes); fi
for program in "${programs[@]}"; do "$STRIP" -o "$payload/$program" "$build/src/app/$program"; done
cp "$source/LICENSE" "$payload/LICENSE.txt"
cp "$source/packaging/config.ini" "$payload/config.ini"

setup="$out/printset-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DCOMMIT="$commit" -DPAYLOAD="$payload" -DOUTFILE="$setup" "${window[@]}" \
  "$here/printset.nsi"

msi="$out/printset-$version-x64.msi"
(cd "$payload" && wixl -a x64 -D Version="$version" "${msiWindow[@]}" -o "$msi" "$here/printset.wxs")

zip="$out/printset-$version-x64.zip"
rm -f "$zip"
(cd "$stage" && zip -q -r -X "$zip" "printset-$version")

for file in "$setup" "$msi" "$zip"; do echo "windows-installer: $file"; done
