#!/usr/bin/env bash
# Runs every fuzzer of a fuzz build for a bounded time each, starting from
# the corpus the project keeps under tests/fuzz/corpus/<name>.
# usage: fuzz.sh <fuzz build dir> <seconds per fuzzer>
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=$1 seconds=$2
rc=0
for bin in "$dir"/*_fuzz; do
  [ -f "$bin" ] && [ -x "$bin" ] || continue  # not the corpus folders
  name=$(basename "$bin")
  work="$dir/corpus-$name"
  mkdir -p "$work"
  seeds="$root/tests/fuzz/corpus/$name"
  [ -d "$seeds" ] || seeds=""
  if "$bin" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=1024 \
       -artifact_prefix="$dir/crash-$name-" "$work" $seeds >"$dir/$name.log" 2>&1; then
    echo "fuzz $name: $(grep -Eo 'Done [0-9]+ runs.*' "$dir/$name.log" | tail -1 || echo done)"
  else
    echo "fuzz $name: FAILED, see $dir/$name.log" >&2
    tail -30 "$dir/$name.log" >&2
    rc=1
  fi
done
exit $rc
