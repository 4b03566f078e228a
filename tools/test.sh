#!/usr/bin/env bash
# Sets up, builds everything with warnings as errors and runs every test; then builds it all
# again with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test again, the
# windows' tests included; last runs every fuzz target for 20 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

bash tools/setup.sh
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQUORREL_CORE_ONLY=OFF -DQUORREL_SANITIZE=OFF -DQUORREL_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQUORREL_CORE_ONLY=OFF \
  -DQUORREL_SANITIZE=ON -DQUORREL_WERROR=ON -DQUORREL_BENCHMARKS=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# Every fuzz target of tests/fuzz for 20 seconds; any finding fails the run.
bash tools/fuzz.sh all 20
