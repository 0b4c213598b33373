#!/usr/bin/env bash
# Installs what the build, the tests and the demo need, and nothing when all is there.
# Packages named on the command line are needed too (scripts/fuzz.sh asks for clang,
# scripts/deps-windows.sh for MinGW and Wine).
set -euo pipefail
packages=(build-essential cmake pkg-config qt6-base-dev qt6-svg-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-wqy-microhei fonts-dejavu-core xvfb xauth
          dpkg-dev fakeroot librsvg2-bin desktop-file-utils libxml2-utils shared-mime-info
          poppler-utils libsqlite3-dev libpq-dev postgresql qt6-translations-l10n "$@")
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
