#!/usr/bin/env bash
# Runs every fuzz target for a number of seconds each, starting from its seed corpus, and fails
# on the first target that finds a crash, leak, hang or undefined behaviour (the input that did
# it is left in <build>/artifacts/<target>/).
# Usage: fuzz/run-fuzz.sh <build folder> <seconds per target>
set -uo pipefail
build=${1:?build folder}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")

# Extra seeds beyond fuzz/corpus: the sample building and the test files.
extra_seeds() {
  case $1 in
    fuzz_dxf) ls "$root"/examples/sample/*.DXF ;;
    fuzz_project) ls "$root"/examples/sample/*.LENI1XML "$root"/tests/data/model/projfile/*.LENI1XML ;;
    fuzz_lumdb) ls "$root"/examples/sample/LENI_V1_LUM_DB.XML ;;
  esac 2>/dev/null
}

failed=()
for target in fuzz_dxf fuzz_project fuzz_lumdb fuzz_ldt fuzz_ies fuzz_cmdline fuzz_gldf; do
  exe="$build/$target"
  if [ ! -x "$exe" ]; then
    echo "missing $exe" >&2
    failed+=("$target")
    continue
  fi
  corpus="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  cp -n "$here/corpus/$target"/* "$corpus"/ 2>/dev/null || true
  for seed in $(extra_seeds "$target"); do cp -n "$seed" "$corpus"/ 2>/dev/null || true; done
  echo "== $target: ${seconds}s"
  # -rss_limit_mb and -timeout turn exhaustion and hangs into findings; -max_len covers the seeds.
  if ! ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
      "$exe" "$corpus" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix="$artifacts/" -print_final_stats=1 >"$build/$target.log" 2>&1; then
    echo "!! $target found a fault; see $build/$target.log and $artifacts/" >&2
    tail -40 "$build/$target.log" >&2
    failed+=("$target")
  else
    grep -E "^stat::number_of_executed_units|^Done" "$build/$target.log" | tail -2
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzzing: no faults found"
