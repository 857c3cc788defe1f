#!/bin/bash
# Builds the program for Windows (build/win, what a user installs lands in
# build/win/bin) and the pure text logic natively with sanitizers
# (build/native).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
cmake --build build/win -j "$jobs"

if [ "${QZ_SKIP_NATIVE:-0}" != 1 ]; then
  cmake -S . -B build/native >/dev/null
  cmake --build build/native -j "$jobs"
fi
