#!/bin/bash
# The save as the operator sees it (bench/WindowBench.cpp): the real
# qzkeepset.exe with its window on a virtual display, driven from another
# process, against a plain CopyFileA loop in the same run, with the window's
# answer times and its memory at 50,000 lines. The last line printed is
# "ratio: X", the window save ratio. Expects a built tree (bench/run.sh
# builds it and calls this last).
#   bench/window-bench.sh [--program <path of a qzkeepset.exe>] [--scale N]
#                         [--rounds N] [--lines N] [--hidden]
set -euo pipefail
cd "$(dirname "$0")/.."

xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  scripts/stop-wine.sh build/win/bench
}
trap cleanup EXIT
source scripts/virtual-display.sh
start_virtual_display 151 180 1280x1024x24 || { echo "bench/window-bench.sh: could not start Xvfb" >&2; exit 1; }

cmake/wine-run.sh build/win/bench/qz_window_bench.exe "$@"
