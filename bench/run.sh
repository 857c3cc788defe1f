#!/bin/bash
# Builds the program and runs the save-run benchmark under Wine on a virtual
# display. The last line printed is "ratio: X" (see bench/SaveBench.cpp).
#   bench/run.sh [small-file count] [large-file count] [MiB per large file]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh >/dev/null

xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  scripts/stop-wine.sh build/win/bench
}
trap cleanup EXIT
for display in $(seq 121 150); do
  [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 50); do
    xdpyinfo -display ":$display" >/dev/null 2>&1 && break
    sleep 0.1
  done
  export DISPLAY=":$display"
  break
done

cmake/wine-run.sh build/win/bench/qz_save_bench.exe "$@"
