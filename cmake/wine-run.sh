#!/bin/sh
# Runs a Windows program under Wine in a private prefix named after the
# program, below QZ_WINE_ROOT (default: a "wine" folder beside the program).
# The prefix is created once and kept; a persistent wineserver makes each
# later start cheap. scripts/stop-wine.sh ends the servers again.
exe=$1
shift
name=$(basename "$exe" .exe)
dir=$(cd "$(dirname "$exe")" && pwd)
root=${QZ_WINE_ROOT:-$dir/wine}
mkdir -p "$root"
WINEPREFIX="$root/$name"
WINEDEBUG=${WINEDEBUG:--all}
WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
(
  flock 9   # servers started below must not inherit (and keep) this lock
  if [ ! -f "$WINEPREFIX/.qz-ready" ]; then
    wineboot --init >/dev/null 2>&1 9>&-
    # No window manager runs on the test display: Wine would wait two
    # seconds for one each time a window it lets the manager handle is
    # hidden (every closed box and dialog). Wine handles them itself.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 9>&-
    wineserver -w 9>&-
    touch "$WINEPREFIX/.qz-ready"
  fi
  # Wine's own fonts (package fonts-wine), among them "MS Sans Serif" with
  # the metrics the dialogs are laid out for; this Wine build does not look
  # in their folder by itself and would draw every dialog in a wider font.
  fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ -f /usr/share/wine/fonts/ms_sans_serif.ttf ] && [ ! -e "$fonts/ms_sans_serif.ttf" ]; then
    for font in /usr/share/wine/fonts/*; do
      [ -e "$fonts/${font##*/}" ] || ln -s "$font" "$fonts/"
    done
  fi
  # Returns at once: 0 when it started a persistent server, 2 when one runs.
  # A new server gets its system services started here, with no output
  # attached: they outlive every program, and a caller that reads a
  # program's output would otherwise wait for them to close it.
  if wineserver -p >/dev/null 2>&1 </dev/null 9>&-; then
    wineboot >/dev/null 2>&1 </dev/null 9>&-
  fi
) 9>"$root/$name.lock"
exec wine "$exe" "$@"
