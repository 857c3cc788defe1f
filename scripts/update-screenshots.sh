#!/bin/bash
# Copies the screenshots of the user guide (docs/images) from those that
# the end-to-end tests take: the main window after a save with an error,
# the settings dialog and the restore dialog in English, and the main
# window in German. The tests write them to
# build/win/tests/screenshots; with --run this script runs those tests
# first (on a virtual display of its own, with the test database server).
# Each picture is cut to the windows on it (the rest of the screen is
# empty). Run after scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

shots=build/win/tests/screenshots
images=docs/images
wanted=(main-window-after-save-en settings-dialog-en restore-dialog-en main-window-after-save-dt)

if [ "${1:-}" = --run ]; then
  xvfb_pid=
  cleanup() {
    scripts/test-db.sh stop >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    scripts/stop-wine.sh build
  }
  trap cleanup EXIT
  source scripts/virtual-display.sh
  start_virtual_display 90 120 1280x1024x24 || { echo "update-screenshots: could not start Xvfb" >&2; exit 1; }
  eval "$(scripts/test-db.sh start)"
  (cd build/win && ctest --output-on-failure \
     -R 'WindowsInEachLanguage|SettingsInEachLanguage|RestoreDialogInEachLanguage')
fi

mkdir -p "$images"
for name in "${wanted[@]}"; do
  [ -f "$shots/$name.png" ] || { echo "update-screenshots: $shots/$name.png is missing: run with --run" >&2; exit 1; }
  convert "$shots/$name.png" -trim +repage -strip "$images/$name.png"
  echo "$images/$name.png"
done
