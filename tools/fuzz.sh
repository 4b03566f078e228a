#!/usr/bin/env bash
# Runs a libFuzzer harness of tests/fuzz: tools/fuzz.sh TARGET SECONDS, or "all" for every
# target one after the other. Builds the instrumented core in build-fuzz (clang) when needed,
# fuzzes a copy of the target's seed corpus, prints the executions, and exits non-zero on any
# finding: a crash, a sanitizer report, a leak, an input over the time or memory limit. The
# input that caused a finding is kept in build-fuzz/findings/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(measured_data model_file user_function parser number_text orso orso_model layer_table
  model_calc recovery project)
usage() {
  echo "usage: tools/fuzz.sh TARGET|all SECONDS   (targets: ${targets[*]})" >&2
  exit 2
}
(($# == 2)) || usage
[[ $2 =~ ^[1-9][0-9]*$ ]] || usage
seconds=$2
if [[ $1 == all ]]; then
  chosen=("${targets[@]}")
elif [[ " ${targets[*]} " == *" $1 "* ]]; then
  chosen=("$1")
else
  usage
fi

bash tools/setup.sh
build=build-fuzz
if [[ ! -f $build/CMakeCache.txt ]]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORREL_CORE_ONLY=ON -DQUORREL_FUZZ=ON -DQUORREL_TESTS=OFF -DQUORREL_BENCHMARKS=OFF \
    -DQUORREL_WERROR=ON >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target "${chosen[@]/#/fuzz_}"

export UBSAN_OPTIONS=print_stacktrace=1
failed=()
for target in "${chosen[@]}"; do
  work=$(mktemp -d "${TMPDIR:-/tmp}/quorrel-fuzz-$target.XXXXXX")
  findings=$build/findings/$target
  mkdir -p "$work/corpus" "$findings"
  cp -R "tests/fuzz/corpus/$target/." "$work/corpus/"
  status=0
  "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work/corpus" >"$work/log" 2>&1 ||
    status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
  if ((status == 0)); then
    echo "fuzz $target: ${runs:-?} executions in ${seconds} s, no finding"
  else
    echo "fuzz $target: FINDING (exit status $status) after ${runs:-?} executions"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error|ALARM|artifact_prefix|Test unit written)' \
      "$work/log" | head -n 20 || true
    cp "$work/log" "$findings/log"
    echo "  the whole output: $findings/log"
    failed+=("$target")
  fi
  rm -rf "$work"
done

if ((${#failed[@]})); then
  echo "fuzzing found problems in: ${failed[*]}"
  exit 1
fi
