#!/usr/bin/env bash
# Builds the fuzz targets with clang (build-fuzz/) and runs each of them for
# SECONDS on a copy of its seed corpus, one after the other, then prints
# libFuzzer's final statistics. New inputs stay in build-fuzz/corpus/NAME; a
# crashing input is written to build-fuzz/artifacts/ with the target's name in
# front; replay it with
#   build-fuzz/TARGET FILE
#   fuzz/run_fuzz.sh [SECONDS] [NAME...]     (default 600 s each; names: profile archive ini tables
#                                             rc regedit4 lnk manifest progman)
# FUZZ_BUILD_DIR chooses another build directory.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
shift || true
# name:target:dictionary (the dictionary may be empty)
all_targets=(
  "profile:profile_parser_fuzz:fuzz/profile.dict"
  "archive:archive_fuzz:"
  "ini:ini_document_fuzz:"
  "tables:install_tables_fuzz:"
  "rc:rc_script_fuzz:"
  "regedit4:regedit4_fuzz:"
  "lnk:shelllink_fuzz:"
  "manifest:manifest_fuzz:"
  "progman:progman_command_fuzz:"
)
wanted=("$@")
# Absolute: the fuzz targets change their current directory to a temporary one.
root=$(pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}

selected=()
for target in "${all_targets[@]}"; do
  name=${target%%:*}
  if [ ${#wanted[@]} -eq 0 ] || [[ " ${wanted[*]} " == *" $name "* ]]; then selected+=("$target"); fi
done
if [ ${#selected[@]} -eq 0 ]; then
  echo "run_fuzz: no fuzz target named ${wanted[*]} (names: ${all_targets[*]%%:*})" >&2
  exit 2
fi

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER="${CXX_FUZZ:-clang++}" >/dev/null
targets=()
for target in "${selected[@]}"; do
  rest=${target#*:}
  targets+=("${rest%%:*}")
done
cmake --build "$build" --target "${targets[@]}" -j 2 | tail -n 1

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$build/artifacts"
overall=0
for target in "${selected[@]}"; do
  name=${target%%:*}
  rest=${target#*:}
  target=${rest%%:*}
  dict=${rest#*:}
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  cp -n "$root/fuzz/corpus/$name"/* "$corpus/"
  dict_option=()
  if [ -n "$dict" ]; then dict_option=(-dict="$root/$dict"); fi

  echo "== $target ($seconds s)"
  log="$build/$target.log"
  status=0
  "$build/$target" "$corpus" "${dict_option[@]}" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -detect_leaks=1 \
    -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 >"$log" 2>&1 || status=$?

  # The last status line (executions, coverage, corpus) and the final statistics.
  grep -E '^#[0-9]+' "$log" | tail -n 1 || true
  grep -E '^(stat::|Done |INFO: .*corpus)' "$log" | tail -n 20 || true
  echo "corpus files: $(find "$corpus" -type f | wc -l)"
  if [ "$status" -ne 0 ]; then
    echo "run_fuzz: $target stopped with status $status; see $log and $build/artifacts/" >&2
    tail -n 40 "$log" >&2
    overall=$status
  fi
done
exit "$overall"
