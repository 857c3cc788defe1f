#!/bin/sh
# Runs a Windows program under Wine in a private prefix named after the
# program, below QZ_WINE_ROOT (default: a "wine" folder beside the program).
# The prefix is created once and kept; a persistent wineserver makes each
# later start cheap. scripts/stop-wine.sh ends the servers again.
#
# Listing a test program's tests (--gtest_list_tests, as CTest does before
# it runs any test) is tried a second time when Wine fails, with Wine's
# error messages on: one failed listing would otherwise stop every test of
# the run before any has started, and say nothing of why.
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
boot_log="$root/$name.boot.log"

say() {
  echo "wine-run.sh: $*" >&2
}

# What the disk and the prefix looked like, for a report of a failure.
describe_failure() {
  df -h "$root" >&2 2>/dev/null
  [ -s "$boot_log" ] && { say "the end of $boot_log:"; tail -n 20 "$boot_log" >&2; }
}

# Creates the prefix; 0 when it is ready. Run under the prefix's lock.
make_prefix() {
  : >"$boot_log"
  status=0
  WINEDEBUG=err+all wineboot --init >>"$boot_log" 2>&1 9>&- || status=$?
  # No window manager runs on the test display: Wine would wait two
  # seconds for one each time a window it lets the manager handle is
  # hidden (every closed box and dialog). Wine handles them itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$boot_log" 2>&1 9>&- || status=$?
  wineserver -w 9>&-
  [ "$status" -eq 0 ] && [ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/user.reg" ]
}

(
  flock 9   # servers started below must not inherit (and keep) this lock
  if [ ! -f "$WINEPREFIX/.qz-ready" ]; then
    if ! make_prefix; then
      say "creating the prefix $WINEPREFIX failed; removing it and trying once more"
      describe_failure
      wineserver -k 9>&- 2>/dev/null
      rm -rf "$WINEPREFIX"
      make_prefix || { say "creating the prefix $WINEPREFIX failed again"; describe_failure; exit 1; }
    fi
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
) 9>"$root/$name.lock" || exit 1

case " $* " in
  *" --gtest_list_tests "*) ;;
  *) exec wine "$exe" "$@" ;;
esac

# The listing: its output is passed on only from an attempt that ended well.
listing=$(mktemp "$root/$name.listing.XXXXXX")
errors=$(mktemp "$root/$name.errors.XXXXXX")
trap 'rm -f "$listing" "$errors"' EXIT
status=0
wine "$exe" "$@" >"$listing" 2>"$errors" </dev/null || status=$?
if [ "$status" -ne 0 ]; then
  say "listing the tests of $name ended with status $status; trying once more with a new wineserver"
  cat "$errors" >&2
  describe_failure
  wineserver -k 2>/dev/null
  wineserver -p >/dev/null 2>&1 </dev/null && wineboot >/dev/null 2>&1 </dev/null
  status=0
  WINEDEBUG=err+all wine "$exe" "$@" >"$listing" 2>"$errors" </dev/null || status=$?
  [ "$status" -eq 0 ] || { say "listing the tests of $name failed again with status $status:"; cat "$errors" >&2; }
fi
cat "$listing"
exit "$status"
