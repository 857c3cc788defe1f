#!/bin/bash
# Installs what is missing, builds, starts what the tests need (a virtual
# display and a private MariaDB server), runs every test and stops what it
# started. Fails when any test fails. Runs the fault sweeps with a spread of
# failure points per kind of call (QZ_SWEEP_SAMPLES=all tries every one)
# and the fuzzer for QZ_FUZZ_RUNS inputs (scripts/fuzz.sh).
set -uo pipefail
cd "$(dirname "$0")/.."
top=$PWD

scripts/setup.sh || exit 1
scripts/build.sh || exit 1

xvfb_pid=
small_disk=
cleanup() {
  scripts/test-db.sh stop >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$small_disk" ] && { umount "$small_disk" && rmdir "$small_disk"; } 2>/dev/null
  scripts/stop-wine.sh build
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A virtual display for the windows the tests open.
source scripts/virtual-display.sh
start_virtual_display 90 120 1280x1024x24 || { echo "test.sh: could not start Xvfb" >&2; exit 1; }

# A full run never skips a test for what it lacks: a test that would skip
# for want of the display, the database server or a language library of
# the build fails instead.
export QZ_REQUIRE_DISPLAY=1 QZ_REQUIRE_DB=1 QZ_REQUIRE_LANGUAGES=1

# The private database server; its settings reach the tests through the
# environment (QZ_TEST_DB_*).
db_env=$(scripts/test-db.sh start) || { echo "test.sh: could not start the test database server" >&2; exit 1; }
eval "$db_env"

# A small file system for the save onto a full disk (QZ_SMALL_DISK), where
# mounting is permitted; without it that one test skips and says why.
small_disk=$(mktemp -d /tmp/qz-small-disk.XXXXXX)
if mount -t tmpfs -o size=512k,mode=1777 tmpfs "$small_disk" 2>/dev/null; then
  export QZ_SMALL_DISK=$small_disk
else
  echo "test.sh: no small file system (mount not permitted): the full-disk save test skips" >&2
  rmdir "$small_disk"; small_disk=
fi

status=0
echo "== Native tests of the text logic (sanitizers)"
(cd build/native && ctest --output-on-failure -j 2) || status=1
echo "== Fuzzing the text logic (a fixed number of inputs)"
scripts/fuzz.sh || status=1
echo "== Tests under Wine"
(cd build/win && ctest --output-on-failure -j 2 --timeout 600) || status=1
echo "== The installer and the portable archive"
scripts/test-package.sh || status=1
exit $status
