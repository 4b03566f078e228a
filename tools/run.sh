#!/usr/bin/env bash
# Sets up, builds quorrel-cli and computes the bundled default model.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target quorrel-cli -j"$(nproc)" >/dev/null
./build/bin/quorrel-cli demo
