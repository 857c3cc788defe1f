#!/bin/sh
# Ends the persistent wineservers of every private prefix below the given
# folders (default: build/).
cd "$(dirname "$0")/.." || exit 1
[ $# -gt 0 ] || set -- build
for top in "$@"; do
  [ -d "$top" ] || continue
  find "$top" -maxdepth 5 -name .qz-ready 2>/dev/null | while read -r ready; do
    WINEPREFIX=$(cd "$(dirname "$ready")" && pwd) wineserver -k >/dev/null 2>&1 || true
  done
done
exit 0
