#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed programs from there: the
# command line tool finds the installed material table, the program writes its screenshot.
set -euo pipefail
build=$1 examples=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/quorrel bin/quorrel-cli share/quorrel/database/quorrel.db \
            share/applications/quorrel.desktop share/mime/packages/quorrel.xml \
            share/icons/hicolor/scalable/apps/quorrel.svg share/man/man1/quorrel-cli.1 \
            share/man/man1/quorrel.1 share/doc/quorrel/LICENSE; do
  [[ -e $prefix/$file ]] || { echo "not installed: $file"; exit 1; }
done
silicon=$("$prefix/bin/quorrel-cli" sld Si)
[[ $silicon == Si$'\t'* ]] || { echo "quorrel-cli sld Si gave: $silicon"; exit 1; }
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen \
  "$prefix/bin/quorrel" nosplash "$examples/default.par" --screenshot "$work/shot.png"
[[ -s $work/shot.png ]] || { echo "no screenshot from the installed program"; exit 1; }
echo "installed and ran from $prefix"
