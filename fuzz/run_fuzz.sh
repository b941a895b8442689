#!/usr/bin/env bash
# Builds the fuzz targets with clang (build-fuzz/) and runs the profile parser
# fuzzer for SECONDS on a copy of its seed corpus, then prints libFuzzer's
# final statistics. New inputs stay in build-fuzz/corpus/profile; a crashing
# input is written to build-fuzz/artifacts/; replay it with
#   build-fuzz/profile_parser_fuzz FILE
#   fuzz/run_fuzz.sh [SECONDS]     (default 600)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
# Absolute: the fuzz target changes its current directory to a temporary one.
root=$(pwd)
build=$root/build-fuzz

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER="${CXX_FUZZ:-clang++}" >/dev/null
cmake --build "$build" --target profile_parser_fuzz -j 2 | tail -n 1

corpus="$build/corpus/profile"
mkdir -p "$corpus" "$build/artifacts"
cp -n "$root"/fuzz/corpus/profile/* "$corpus/"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
log="$build/profile_parser_fuzz.log"
status=0
"$build/profile_parser_fuzz" "$corpus" \
  -dict="$root/fuzz/profile.dict" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -detect_leaks=1 \
  -artifact_prefix="$build/artifacts/" -print_final_stats=1 >"$log" 2>&1 || status=$?

# The last status line (executions, coverage, corpus) and the final statistics.
grep -E '^#[0-9]+' "$log" | tail -n 1 || true
grep -E '^(stat::|Done |INFO: .*corpus)' "$log" | tail -n 20 || true
echo "corpus files: $(find "$corpus" -type f | wc -l)"
if [ "$status" -ne 0 ]; then
  echo "run_fuzz: the fuzzer stopped with status $status; see $log and $build/artifacts/" >&2
  tail -n 40 "$log" >&2
fi
exit "$status"
