#!/usr/bin/env bash
# Runs every fuzz target for SECONDS on a copy of its seed corpus and prints, per target,
# executions, coverage (cov: edges, ft: features, from libFuzzer's last status line), the
# corpus it ended with and any crash. Exits non-zero when a target crashed or broke its
# property. Usage: fuzz/run.sh BUILD_DIR SECONDS
set -uo pipefail

build=${1:?build directory}
seconds=${2:?seconds per target}
here=$(cd "$(dirname "$0")" && pwd)

# name, executable, extra libFuzzer flags. The picture target runs with memory limits:
# a short file announcing a huge picture must not get a huge allocation.
targets=(
  "firmware_image|FirmwareImageFuzzer|"
  "settings_file|SettingsFileFuzzer|"
  "picture_logo|PictureLogoFuzzer|-malloc_limit_mb=48 -rss_limit_mb=1536"
  "download_spec|DownloadSpecFuzzer|"
  "reply_receiver|ReplyReceiverFuzzer|"
  "logo_set|LogoSetReaderFuzzer|"
)

# The settings and picture targets write scratch files: into a folder of this run, in
# memory when possible (faster than disk), removed at the end even after a crash.
scratchRoot=${TMPDIR:-/tmp}
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then scratchRoot=/dev/shm; fi
TMPDIR=$(mktemp -d "$scratchRoot/printset-fuzz-XXXXXX") || exit 1
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT

failed=0
rows=()
for entry in "${targets[@]}"; do
  IFS='|' read -r name program flags <<<"$entry"
  binary=$build/fuzz/$program
  if [ ! -x "$binary" ]; then
    echo "fuzz: $program was not built" >&2
    failed=1
    continue
  fi
  corpus=$build/corpus-run/$name
  artifacts=$build/fuzz-artifacts/$name
  log=$build/fuzz-logs/$name.log
  rm -rf "$corpus" "$artifacts"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  cp "$here/corpus/$name"/* "$corpus"/
  echo "fuzz: $program for ${seconds}s (log: $log)"
  # shellcheck disable=SC2086  # the flags are words
  "$binary" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" $flags "$corpus" >"$log" 2>&1
  status=$?
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([0-9]*\/[0-9]*[a-zA-Z]*\).*/\1/p' <<<"$last")
  crashes=$(find "$artifacts" -type f | wc -l)
  outcome=ok
  if [ "$status" -ne 0 ] || [ "$crashes" -ne 0 ]; then
    outcome="CRASH (exit $status)"
    failed=1
    grep -E 'ERROR: |SUMMARY: |Test unit written|runtime error' "$log" | head -n 5 | sed 's/^/    /'
  fi
  rows+=("$(printf '%-16s %12s %8s %8s %14s  %s' "$name" "${execs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" "$outcome")")
done

echo
printf '%-16s %12s %8s %8s %14s  %s\n' target executions cov ft corpus result
for row in "${rows[@]}"; do echo "$row"; done
for entry in "${targets[@]}"; do
  IFS='|' read -r name _ _ <<<"$entry"
  for crash in "$build/fuzz-artifacts/$name"/*; do
    [ -f "$crash" ] && echo "input kept: $crash"
  done
done
exit "$failed"
