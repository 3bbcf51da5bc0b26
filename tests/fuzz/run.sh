#!/usr/bin/env bash
# Runs the fuzz targets of a fuzz build for a while each, two at a time.
#   tests/fuzz/run.sh BUILD-DIR [SECONDS-EACH [TARGET...]]
# TARGET is a name under tests/fuzz/corpus/ (all of them by default).
# The committed seeds are read, never written: new inputs go to
# BUILD-DIR/fuzz-corpus/<target>, findings to BUILD-DIR/fuzz-findings/, the
# output to BUILD-DIR/fuzz-logs/. Exits non-zero when a target found a fault.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in "$here"/corpus/*/; do targets+=("$(basename "$dir")"); done
fi
parallel=${QUORVANE_FUZZ_JOBS:-2}
mkdir -p "$build/fuzz-findings" "$build/fuzz-logs"
# The targets' scratch files, on tmpfs where there is one.
scratch=$(mktemp -d "$([ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/quorvane-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export QUORVANE_FUZZ_SCRATCH=$scratch

run_one() {
  local name=$1
  local log="$build/fuzz-logs/$name.log"
  local dict=()
  [ -f "$here/dict/$name.dict" ] && dict=(-dict="$here/dict/$name.dict")
  mkdir -p "$build/fuzz-corpus/$name"
  if "$build/tests/fuzz/fuzz_$name" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/$name-" \
    "$build/fuzz-corpus/$name" "$here/corpus/$name" 2>&1 |
    # The settings store's one-line warning about a file it will not write,
    # once per input, would fill the disk on long runs.
    grep -v -e '^quorvane: .*settings will not be saved$' >"$log"; then
    echo "fuzz $name: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" |
      grep -o '[0-9]*$') inputs in ${seconds} s, nothing found"
  else
    {
      echo "fuzz $name: FOUND A FAULT; the whole output is in $log"
      grep -v -e '^#[0-9]' -e 'Uses: ' "$log" | tail -n 40
      echo "Replay it with: $build/tests/fuzz/fuzz_$name $build/fuzz-findings/$name-*"
    } >&2
    return 1
  fi
}

status=0
pids=()
for name in "${targets[@]}"; do
  run_one "$name" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$parallel" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
exit $status
