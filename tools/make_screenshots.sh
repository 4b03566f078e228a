#!/usr/bin/env bash
# Makes the pictures in docs/ from the examples: the main window after a fit, the model
# editor, the settings dialog, the fit dialog, the help on the sample types and the
# reflectivity window in its views on a real X display (Xvfb), and the printed summary sheet
# rendered from its PDF.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target quorrel quorrel-screenshots quorrel-plot-screenshots quorrel-posterior-screenshots \
  quorrel-material-table -j"$(nproc)" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
display=(xvfb-run -a -s "-screen 0 1400x1000x24")
"${display[@]}" ./build/bin/quorrel-screenshots examples docs
"${display[@]}" ./build/bin/quorrel-plot-screenshots examples docs
"${display[@]}" ./build/bin/quorrel-posterior-screenshots examples docs
"${display[@]}" ./build/bin/quorrel nosplash examples/multilayer.par \
  examples/multilayer_measured.dat --print-pdf "$work/summary.pdf"
pdftoppm -png -r 80 -singlefile "$work/summary.pdf" docs/printed_summary
echo "wrote docs/printed_summary.png"
