#!/bin/bash
# Checks that the tests catch the faults they are there for: applies each
# one-line fault of tests/mutations/*.patch (or the patches named on the
# command line) to the working tree, builds the Windows build, runs the
# Wine tests until one fails, takes the fault back out and prints, at the
# end, "caught N of M".
#
# Each patch names in its "Tests:" line the tests that should catch it;
# those run first, and only when none of them fails do all the others run,
# so a fault that is caught costs a few tests and one that is not costs the
# whole suite. A fault that does not build counts as not caught.
#
# Not part of scripts/test.sh: it builds and runs the suite once per fault.
# It needs what test.sh sets up (run that once first) and a working tree
# where the patches apply; the tree and the build are as before at the end,
# also after Ctrl-C.
set -uo pipefail
cd "$(dirname "$0")/.."
top=$PWD
jobs=$(nproc 2>/dev/null || echo 2)

if [ $# -gt 0 ]; then patches=("$@"); else patches=(tests/mutations/*.patch); fi
[ -e "${patches[0]}" ] || { echo "mutate.sh: no patches" >&2; exit 2; }
for patch in "${patches[@]}"; do
  git apply --check "$patch" 2>/dev/null || { echo "mutate.sh: $patch does not apply to this tree" >&2; exit 2; }
done

applied=
xvfb_pid=
cleanup() {
  [ -n "$applied" ] && git apply -R "$applied"
  applied=
  scripts/test-db.sh stop >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  # The build again matches the sources.
  cmake --build build/win -j "$jobs" >/dev/null 2>&1
  scripts/stop-wine.sh build
}
trap cleanup EXIT
trap 'exit 130' INT TERM

cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null || exit 1
cmake --build build/win -j "$jobs" >/dev/null || { echo "mutate.sh: the unchanged tree does not build" >&2; exit 1; }

source scripts/virtual-display.sh
start_virtual_display 90 120 1280x1024x24 || { echo "mutate.sh: could not start Xvfb" >&2; exit 1; }
export QZ_REQUIRE_DISPLAY=1 QZ_REQUIRE_DB=1 QZ_REQUIRE_LANGUAGES=1
db_env=$(scripts/test-db.sh start) || { echo "mutate.sh: could not start the test database server" >&2; exit 1; }
eval "$db_env"

# Runs the Wine tests chosen by the ctest arguments until one fails; prints
# the name of the first that failed, nothing when all passed.
first_failure() {
  local failed=build/win/Testing/Temporary/LastTestsFailed.log
  rm -f "$failed"
  (cd build/win && ctest --stop-on-failure -j "$jobs" --timeout 600 "$@" >/dev/null 2>&1)
  [ -s "$failed" ] && head -n 1 "$failed" | cut -d: -f2-
}

caught=0
total=0
started=$SECONDS
for patch in "${patches[@]}"; do
  total=$((total + 1))
  name=$(basename "$patch" .patch)
  hint=$(sed -n 's/^Tests: *//p' "$patch" | head -n 1)
  began=$SECONDS
  git apply "$patch" || { echo "$name: does not apply"; continue; }
  applied=$patch
  if ! cmake --build build/win -j "$jobs" >/dev/null 2>&1; then
    echo "$name: NOT caught (does not build) [$((SECONDS - began)) s]"
  else
    test=
    [ -n "$hint" ] && test=$(first_failure -R "$hint")
    if [ -z "$test" ]; then
      if [ -n "$hint" ]; then test=$(first_failure -E "$hint"); else test=$(first_failure); fi
    fi
    if [ -n "$test" ]; then
      caught=$((caught + 1))
      echo "$name: caught by $test [$((SECONDS - began)) s]"
    else
      echo "$name: NOT caught [$((SECONDS - began)) s]"
    fi
  fi
  git apply -R "$patch"
  applied=
done
echo "caught $caught of $total ($((SECONDS - started)) s)"
[ "$caught" -eq "$total" ]
