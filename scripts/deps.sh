#!/usr/bin/env bash
# Installs what the build, the tests and the demo need (or the packages given), and nothing when
# all is there.
set -euo pipefail
packages=(build-essential cmake pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-wqy-microhei fonts-dejavu-core xvfb xauth)
# Other packages to install instead, when given (scripts/deps-windows.sh).
[ $# -eq 0 ] || packages=("$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}" >&2
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
