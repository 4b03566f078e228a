#!/usr/bin/env bash
# Installs the Debian packages that building and testing Quorrel needs, when any is missing.
set -euo pipefail

packages=(cmake make g++ git libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-svg-dev libqt6sql6-sqlite libqcustomplot-dev libyaml-cpp-dev libgsl-dev
          libmuparser-dev
          xvfb xauth poppler-utils clang libclang-rt-14-dev)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=()
  [[ $(id -u) -ne 0 ]] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi
