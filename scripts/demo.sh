#!/bin/bash
# Installs what is missing and builds the program. The main job (a save of a
# demo installation) arrives with the save run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
echo "Built build/win/bin/qzkeepset.exe."
echo "The demo save of a prepared installation comes with the save run."
