#!/bin/bash
# Builds the libFuzzer target of the pure text logic natively with clang
# (build/fuzz) and runs it over the seed corpus in tests/fuzz/corpus for a
# fixed number of inputs (QZ_FUZZ_RUNS, default 500000) with a fixed seed.
# New inputs it finds go to a scratch folder, never into the source tree.
# Fails when the fuzzer finds a crash, a sanitizer report or a broken
# property; the input that did it is left in build/fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${QZ_FUZZ_RUNS:-500000}
cc=$(command -v clang-14 || command -v clang)
cxx=$(command -v clang++-14 || command -v clang++)

cmake -S . -B build/fuzz -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
  -DQZ_FUZZ=ON -DQZ_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz --target qz_fuzz -j "$(nproc 2>/dev/null || echo 2)" >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p build/fuzz/findings
status=0
build/fuzz/tests/fuzz/qz_fuzz -runs="$runs" -seed=1 -max_len=4096 -timeout=10 \
  -artifact_prefix=build/fuzz/findings/ -print_final_stats=1 "$scratch" tests/fuzz/corpus \
  >"$scratch.log" 2>&1 || status=$?
grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added|==[0-9]+==|property broken|SUMMARY|artifact_prefix|Test unit written)' \
  "$scratch.log" || true
[ "$status" = 0 ] || tail -n 40 "$scratch.log"
rm -f "$scratch.log"
exit "$status"
