#!/usr/bin/env bash
# Installs the MinGW cross compiler and Wine for the Windows build and its tests (and
# rsvg-convert and icotool for the program's icon), and nothing when all is there. Not part of
# scripts/deps.sh: the Linux build does not need any of it.
set -euo pipefail
exec bash "$(dirname "$0")/deps.sh" g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev \
    binutils-mingw-w64-x86-64 wine64 wine googletest cmake librsvg2-bin icoutils
