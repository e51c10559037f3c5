#!/usr/bin/env bash
# Installs the Debian 12 packages Carvex needs to build and test, only those missing. Extra package
# names given as arguments are installed the same way (the fuzz run adds clang and its runtime).
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config git
      libicu-dev liburiparser-dev
      libgtest-dev libgmock-dev libbenchmark-dev
      rapidjson-dev libyaml-cpp-dev
      qt6-base-dev qt6-svg-dev libgl-dev xvfb
      qt6-webengine-dev libqt6webenginecore6-bin
      "$@")
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
