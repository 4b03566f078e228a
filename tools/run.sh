#!/usr/bin/env bash
# Sets up, builds quorrel-cli and computes the reflectivity and profile of the default model.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQUORREL_CORE_ONLY=OFF >/dev/null
cmake --build build --target quorrel-cli quorrel-material-table -j"$(nproc)" >/dev/null

cli=./build/bin/quorrel-cli
"$cli" reflectivity examples/default.par -o build/default.dat
"$cli" profile examples/default.par -o build/default.pro
echo "examples/default.par: reflectivity at $(wc -l < build/default.dat) points -> build/default.dat," \
     "profile at $(wc -l < build/default.pro) depths -> build/default.pro"
echo "Qz, R, dR at the first, middle and last point:"
sed -n '1p;50p;$p' build/default.dat | tr -d '\r'
echo "Silicon from the material table (name, rho, Im(rho) for neutrons):"
"$cli" sld Si
