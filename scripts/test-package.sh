#!/bin/bash
# Tests what scripts/package.sh builds, in a Wine prefix of its own
# (build/package-test), as an operator would meet it:
#  - the archive holds exactly the program and both language libraries,
#    and the VERSIONINFO of all three carries the project version;
#  - the setup installs silently into Program Files over the 4.4.0 setup
#    (its script kept in tests/package), replacing the files and keeping one
#    Add/Remove Programs entry with a measured size, with its Start-menu
#    shortcut and the event source of the Application log;
#  - neither the setup nor the uninstaller goes on while the program runs
#    (status 2 under /S);
#  - the installed program, started unattended on a server without a
#    configuration file, saves the prepared installation and writes its
#    defaults; every key it writes is described in docs/user-guide.md;
#  - the silent uninstall removes the program folder, the shortcut, the
#    entry and the event source, and leaves qzkeepset.ini, the keepset and
#    the run log.
# Called by scripts/test.sh after the build; needs a display (DISPLAY) for
# the program's window and starts one of its own when there is none.
set -uo pipefail
cd "$(dirname "$0")/.."
top=$PWD

failures=0
fail() { echo "test-package: FAILED: $*" >&2; failures=$((failures + 1)); }
check() {  # check <description> <command...>
  local what=$1
  shift
  "$@" || fail "$what"
}

scripts/package.sh >/dev/null || { echo "test-package: scripts/package.sh failed" >&2; exit 1; }
version=$(sed -n 's/^#define QZ_VERSION_TEXT "\(.*\)"$/\1/p' build/win/res/Version.h)
setup=$top/build/dist/qzkeepset-setup-$version.exe
archive=$top/build/dist/qzkeepset-$version.zip
versionof=$top/build/win/tests/package/qzversionof.exe
[ -f "$versionof" ] || { echo "test-package: $versionof is missing (scripts/build.sh)" >&2; exit 1; }

work=$top/build/package-test
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
xvfb_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  return 0
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  source scripts/virtual-display.sh
  start_virtual_display 170 190 1024x768x24 || { echo "test-package: could not start Xvfb" >&2; exit 1; }
fi

# A scratch prefix for every run: nothing of an earlier install counts.
rm -rf "$work"
mkdir -p "$work"
wineboot --init >/dev/null 2>&1
wineserver -w
c=$WINEPREFIX/drive_c
source scripts/installation.sh

echo "== The archive"
listed=$(unzip -Z1 "$archive" | sort | tr '\n' ' ')
check "archive holds $listed" [ "$listed" = "qzkeep_dt.dll qzkeep_fr.dll qzkeepset.exe " ]
mkdir -p "$c/portable"
unzip -q -o "$archive" -d "$c/portable"
fixed=$(printf '%s' "$version.0")
versions=$(cd "$c/portable" && wine "$versionof" qzkeepset.exe qzkeep_dt.dll qzkeep_fr.dll | tr -d '\r')
echo "$versions"
expected=$(printf '%s\n' qzkeepset.exe qzkeep_dt.dll qzkeep_fr.dll | sed "s/\$/ $fixed $version $version/")
check "VERSIONINFO of the archive's files is $version" [ "$versions" = "$expected" ]

echo "== Silent install over 4.4.0"
install='C:\Program Files\Orvella\Qzkeepset'
program_dir="$c/Program Files/Orvella/Qzkeepset"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Qzkeepset'
event_key='HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Qzkeepset'
shortcut="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Orvella/Qzkeepset.lnk"
old_setup=$work/qzkeepset-setup-4.4.0.exe
makensis -V2 -NOCD -DVERSION=4.4.0 -DBINDIR="$c/portable" -DOUTFILE="$old_setup" tests/package/qzkeepset-4.4.0.nsi ||
  fail "the 4.4.0 setup could not be built"
wine "$old_setup" /S "/D=$install"
check "4.4.0 setup ended with status 0" [ $? = 0 ]
wineserver -w
printf 'the 4.4.0 library' >"$program_dir/qzkeep_dt.dll"
wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r' | grep -q 'DisplayVersion *REG_SZ *4.4.0$' ||
  fail "the 4.4.0 setup registered no entry of its version"
wine "$setup" /S "/D=$install"
check "setup ended with status 0" [ $? = 0 ]
wineserver -w
installed=$(ls "$program_dir" 2>/dev/null | sort | tr '\n' ' ')
check "program folder holds $installed" [ "$installed" = "qzkeep_dt.dll qzkeep_fr.dll qzkeepset.exe uninstall.exe " ]
for file in qzkeepset.exe qzkeep_dt.dll qzkeep_fr.dll; do
  check "the upgrade replaced $file" cmp -s "$program_dir/$file" "$c/portable/$file"
done
entries=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' |
          grep -c 'DisplayName.*Qzkeepset')
check "one uninstall entry after the upgrade (found $entries)" [ "$entries" = 1 ]
check "Start-menu shortcut" [ -f "$shortcut" ]
entry=$(wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r')
size_kib=$(( $(du -sk "$program_dir" | cut -f1) ))
estimated=$(printf '%d' "$(echo "$entry" | sed -n 's/.*EstimatedSize *REG_DWORD *\(0x[0-9a-fA-F]*\).*/\1/p')" 2>/dev/null || echo 0)
check "EstimatedSize $estimated KiB is the folder's size (du: $size_kib KiB)" \
  [ "$estimated" -gt $((size_kib / 2)) -a "$estimated" -lt $((size_kib * 2)) ]
wine reg query "$event_key" /v EventMessageFile 2>/dev/null | tr -d '\r' |
  grep -q 'EventMessageFile.*C:.Program Files.Orvella.Qzkeepset.qzkeepset.exe' ||
  fail "the event source names no message file of the installed program"
for value in "DisplayName.*Qzkeepset" "DisplayVersion *REG_SZ *$version\$" "Publisher *REG_SZ *Orvella\$" \
             "UninstallString *REG_SZ *\"C:.Program Files.Orvella.Qzkeepset.uninstall.exe\"\$"; do
  echo "$entry" | grep -q "$value" || fail "uninstall entry lacks $value"
done
versions=$(cd "$program_dir" && wine "$versionof" qzkeepset.exe qzkeep_dt.dll qzkeep_fr.dll | tr -d '\r')
check "VERSIONINFO of the installed files is $version" [ "$versions" = "$expected" ]

echo "== No setup and no uninstall while the program runs"
(cd "$c" && wine "$install\\qzkeepset.exe" >/dev/null 2>&1) &
running=$!
# The copy takes its mutex before its window writes the first defaults
# into qzkeepset.ini: once that file is there, the copy runs.
for _ in $(seq 1 120); do
  [ -f "$c/windows/qzkeepset.ini" ] && break
  sleep 0.5
done
sleep 1
timeout 120 wine "$setup" /S "/D=$install"
status=$?
check "setup while the program runs ended with status 2 (was $status)" [ $status = 2 ]
# The uninstaller's own status does not come through under Wine; what it
# left shows that it refused.
timeout 120 wine "$program_dir/uninstall.exe" /S "_?=$install"
sleep 2
installed=$(ls "$program_dir" 2>/dev/null | sort | tr '\n' ' ')
check "uninstall while the program runs left the program folder whole ($installed)" \
  [ "$installed" = "qzkeep_dt.dll qzkeep_fr.dll qzkeepset.exe uninstall.exe " ]
# The prefix is this test's own: ending its Wine server ends the copy.
wineserver -k >/dev/null 2>&1
wait "$running"

echo "== Unattended save by the installed program"
lay_out_installation
register_installation "$work"
rm -f "$c/windows/qzkeepset.ini"
(cd "$c" && wine "$install\\qzkeepset.exe" 'C:\keep\YYYY-MM-DD')
status=$?
check "unattended save ended with status 0 (was $status)" [ $status = 0 ]
keepset=$c/keep/$(date +%Y-%m-%d)
for file in db1/vm001.dbf db1/qzpersonal.dbf qzt/qztini.dbf qzt/start.bat win/qzpers.ini desktop/user/Alarm.lnk \
            desktop/all/Common.lnk qzkeepset.inf; do
  check "keepset holds $file" [ -f "$keepset/$file" ]
done
check "run log ends with the success line" grep -q 'All data successfully saved' "$c/log/qzkeepset.log"

echo "== Every key the program wrote is in the user guide"
# The defaults a first start writes, the keepset entry and the record file.
keys=$(cat "$c/windows/qzkeepset.ini" "$keepset/qzkeepset.inf" | tr -d '\r' | sed -n 's/^\([A-Za-z0-9]*\)=.*/\1/p' | sort -u)
check "keys found in qzkeepset.ini" [ -n "$keys" ]
for key in $keys; do
  # The key's row: its name in the first column (which may list several).
  grep -q "^| [^|]*\`$key\`" docs/user-guide.md || fail "docs/user-guide.md has no table row for the key $key"
done
echo "$keys" | tr '\n' ' '
echo

echo "== Silent uninstall"
wine "$program_dir/uninstall.exe" /S
wineserver -w   # the uninstaller runs on from a copy of itself
check "program folder removed" [ ! -e "$program_dir" ]
check "shortcut removed" [ ! -e "$shortcut" ]
wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "uninstall entry still there"
wine reg query "$event_key" >/dev/null 2>&1 && fail "event source still registered"
check "qzkeepset.ini kept" [ -f "$c/windows/qzkeepset.ini" ]
check "keepset kept" test -f "$keepset/db1/vm001.dbf" -a -f "$keepset/qzkeepset.inf"
check "run log kept" [ -s "$c/log/qzkeepset.log" ]

if [ $failures -gt 0 ]; then
  echo "test-package: $failures check(s) failed" >&2
  exit 1
fi
wineserver -k >/dev/null 2>&1
rm -rf "$work"   # a prefix is large; a failed run keeps it for a look
echo "test-package: installer and archive of $version passed"
