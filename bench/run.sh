#!/bin/bash
# Builds the program and runs the save-run benchmark under Wine on a virtual
# display: first the verified restore ("restore small ratio", "restore large
# ratio", see bench/RestoreBench.cpp), then the check of a keepset ("verify
# ratio: X", bench/VerifyBench.cpp), then the save run (bench/SaveBench.cpp:
# "hash MiB/s own: X, system: Y", "manifest small ratio", "manifest large
# ratio"), then the save with the window on screen (bench/window-bench.sh),
# whose last line "ratio: X", the window save ratio, is the last printed.
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
source scripts/virtual-display.sh
start_virtual_display 121 150 1024x768x24 || { echo "bench/run.sh: could not start Xvfb" >&2; exit 1; }

# The verified restore first: the save benchmark's "ratio: X" stays last.
# Its sizes come from QZ_RESTORE_BENCH_ARGS (small-file count, large-file
# count, MiB per large file).
# shellcheck disable=SC2086
cmake/wine-run.sh build/win/bench/qz_restore_bench.exe ${QZ_RESTORE_BENCH_ARGS:-}

# The check of a keepset by /verify ("verify ratio: X", see
# bench/VerifyBench.cpp); its sizes come from QZ_VERIFY_BENCH_ARGS.
# shellcheck disable=SC2086
cmake/wine-run.sh build/win/bench/qz_verify_bench.exe ${QZ_VERIFY_BENCH_ARGS:-}

cmake/wine-run.sh build/win/bench/qz_save_bench.exe "$@"
bench/window-bench.sh
