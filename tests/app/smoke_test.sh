#!/usr/bin/env bash
# Starts quorrel under Xvfb with a model and its measured data, waits for the screenshot it
# writes once its calculations have ended, and checks that the picture is a PNG with content.
set -euo pipefail
program=$1 examples=$2 work=$3
rm -rf "$work" && mkdir -p "$work/config"
export XDG_CONFIG_HOME="$work/config"
shot="$work/quorrel.png"
timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$program" nosplash "$examples/multilayer.par" "$examples/multilayer_measured.dat" \
  --screenshot "$shot"
[[ -s $shot ]] || { echo "no screenshot written"; exit 1; }
[[ $(head -c 8 "$shot" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] ||
  { echo "the screenshot is not a PNG"; exit 1; }
(( $(stat -c %s "$shot") > 20000 )) || { echo "the screenshot is nearly empty"; exit 1; }
# The settings written at shut-down show that the program ended normally.
grep -q "radiation=neutrons" "$work/config/Ostral/Quorrel.conf"
echo "screenshot: $shot"
