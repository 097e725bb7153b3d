#!/usr/bin/env bash
# Seeds the faults of the Windows window, one at a time, and runs the window driver under
# Wine against each: the rows of TSV whose description ends in "(window-tests.sh)"
# (the Linux tests never build those files), or only the IDs given. Each fault is put into
# its file, printset.exe rebuilt in WIN_BUILD, window-tests.sh run, and the file put back.
# Prints KILLED or SURVIVED per fault; exits 1 when one survived or could not be seeded.
# Usage: seed-window-faults.sh TSV WIN_BUILD NATIVE_BUILD [ID...]
set -euo pipefail

tsv=$(realpath "$1")
win=$(realpath "$2")
native=$(realpath "$3")
shift 3
here=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$here/../../.." && pwd)
wanted=" $* "

backup=$(mktemp)
restore_path=
restore() { if [ -n "$restore_path" ]; then cp "$backup" "$restore_path"; restore_path=; fi; }
trap 'restore; rm -f "$backup"' EXIT

status=0
while IFS=$'\t' read -r id path old new what; do
  case "$id" in ''|'#'*) continue ;; esac
  if [ $# -gt 0 ]; then [[ "$wanted" == *" $id "* ]] || continue
  else [[ "$what" == *"(window-tests.sh)" ]] || continue
  fi
  file="$source/$path"
  cp "$file" "$backup"
  restore_path=$file
  # OLD must occur exactly once; \n and \t in the row stand for a new line and a tab.
  if ! OLD="$old" NEW="$new" python3 - "$file" <<'PY'
import os, sys
path = sys.argv[1]
unescape = lambda s: s.replace("\\n", "\n").replace("\\t", "\t")
old, new = unescape(os.environ["OLD"]), unescape(os.environ["NEW"])
text = open(path, encoding="utf-8").read()
if text.count(old) != 1:
    sys.exit(1)
open(path, "w", encoding="utf-8").write(text.replace(old, new))
PY
  then
    echo "NOT SEEDED $id: its text is not in $path exactly once"
    status=1
    restore
    continue
  fi
  if ! cmake --build "$win" --target printset window_driver > /dev/null 2>&1; then
    echo "KILLED     $id (does not build): $what"
  elif "$here/window-tests.sh" "$win" "$native" > /dev/null 2>&1; then
    echo "SURVIVED   $id: $what"
    status=1
  else
    echo "KILLED     $id: $what"
  fi
  restore
done < "$tsv"
# The programs as they are in the tree again.
cmake --build "$win" --target printset window_driver > /dev/null
exit $status
