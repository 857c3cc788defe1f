#!/bin/bash
# The main job on a demo server: installs what is missing, builds, lays out
# a small alarm installation (every kind of file a save copies) in a private
# Wine prefix under build/demo, and runs the tool there.
#
# With a display (DISPLAY set) it opens the main window; close it to end.
# Without one it runs an unattended save, on a virtual display of its own,
# to C:\qzdemo\keep\YYYY-MM-DD and prints where the keepset and the run log
# are. Safe to run again: the demo installation is laid out afresh, and
# each save adds a keepset record.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD

scripts/setup.sh
scripts/build.sh

root=$top/build/demo
prefix=$root/qzkeepset
run=$top/cmake/wine-run.sh
program=$top/build/win/bin/qzkeepset.exe
export QZ_WINE_ROOT=$root WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=

xvfb_pid=
stop() {
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  return 0
}
trap stop EXIT

if [ -z "${DISPLAY:-}" ]; then
  # The unattended save still opens its window for the time of the save.
  source scripts/virtual-display.sh
  start_virtual_display 130 160 1024x768x24 || { echo "demo.sh: could not start Xvfb" >&2; exit 1; }
  unattended=1
else
  unattended=0
fi

# The prefix, created on the first run as the test runner creates its own.
echo "== Preparing the demo server in $prefix"
mkdir -p "$root"
if [ ! -f "$prefix/.qz-ready" ]; then
  wineboot --init >/dev/null 2>&1
  wineserver -w
  touch "$prefix/.qz-ready"
fi
c=$prefix/drive_c

# The installation on C: (the save finds it on the root of its drive).
write() {  # write <file below drive_c> <text>
  mkdir -p "$(dirname "$c/$1")"
  printf '%b' "$2" >"$c/$1"
}
rm -rf "$c/db1" "$c/qzt" "$c/dbv1" "$c/qz_web" "$c/qzdemo/extra" "$c/qzdemo/desktop"
write db1/vm001.dbf "alarm configuration\r\n"
write db1/qzpersonal.dbf "personnel\r\n"
write db1/qzgroups.dbf "groups\r\n"
write db1/qzlinks.dbf "links\r\n"
for name in qztini.dbf qz1post.dat qztbatch.dbf qztque.dbf alarm.qzm start.bat night.cmd readme.txt \
            notes.rtf tool.ini lines.csv logo.bmp; do
  write "qzt/$name" "$name\r\n"
done
for name in v0012_1.vox v0012_2.vox v0013_1.wav m0001.eml; do
  write "dbv1/$name" "$name\r\n"
done
write qz_web/htdocs/index.php "<?php echo 'alarm'; ?>\r\n"
write qz_web/htdocs/inc/db.php "<?php // database ?>\r\n"
write qz_web/conf/httpd.conf "Listen 80\r\n"
write qzdemo/extra/plan.txt "evacuation plan\r\n"
write qzdemo/desktop/user/Alarm.lnk "link\r\n"
write qzdemo/desktop/all/Common.lnk "link\r\n"
write windows/qzpers.ini "[DBInfo]\r\nPers=qzpersonal.dbf\r\nGroup=qzgroups.dbf\r\nLink=qzlinks.dbf\r\n"
write windows/qzalarm.ini "[Alarm]\r\nLines=4\r\n"
write windows/vmqzt.ini "[Voice]\r\nBoxes=12\r\n"
mkdir -p "$c/log"

# The tool's settings: messages, web files and one additional directory.
# The last save directory keeps its date pattern.
if [ ! -f "$c/windows/qzkeepset.ini" ]; then
  write windows/qzkeepset.ini "[Config]\r\nSaveMSG=1\r\nSaveWeb=1\r\nWebHtdocsPath=C:\\\\qz_web\\\\htdocs\r\nAciveSaveFiles1=1\r\nSaveFiles1=C:\\\\qzdemo\\\\extra\r\nLastKeepsetDir=C:\\\\qzdemo\\\\keep\\\\YYYY-MM-DD\r\n"
fi

# The registry: installation directory, web server service, desktops (the
# system rewrites "Shell Folders" from "User Shell Folders", and a new
# prefix's own desktop is the Linux home folder).
cat >"$root/demo.reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Orvella\Orvella Tool]
"Directory"="C:\\qzt"

[HKEY_LOCAL_MACHINE\SYSTEM\ControlSet001\Services\QZ_Apache]
"ImagePath"="C:\\qz_web\\bin\\httpd.exe"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"Desktop"="C:\\qzdemo\\desktop\\user"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders]
"Desktop"="C:\\qzdemo\\desktop\\user"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"Common Desktop"="C:\\qzdemo\\desktop\\all"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders]
"Common Desktop"="C:\\qzdemo\\desktop\\all"
REG
reg_file="Z:$root/demo.reg"
wine regedit /S "${reg_file//\//\\}" >/dev/null 2>&1

cd "$c"   # the working directory C:\ holds the run log in C:\log
if [ "$unattended" = 0 ]; then
  echo "== Opening the main window on $DISPLAY (close it to end the demo)"
  "$run" "$program" || true
  exit 0
fi

today=$(date +%Y-%m-%d)
echo "== Unattended save to C:\\qzdemo\\keep\\YYYY-MM-DD"
status=0
timeout 300 "$run" "$program" 'C:\qzdemo\keep\YYYY-MM-DD' || status=$?
case $status in
  0) echo "The save ended without errors." ;;
  1) echo "The save ended with errors (see the run log)." ;;
  124) echo "The save did not end within 5 minutes (an error box waits for a click)." ;;
  *) echo "The tool ended with status $status." ;;
esac
echo "Keepset:  C:\\qzdemo\\keep\\$today  ->  $c/qzdemo/keep/$today"
echo "Run log:  C:\\log\\qzkeepset.log  ->  $c/log/qzkeepset.log"
if [ -f "$c/log/qzkeepset.log" ]; then
  echo "-- last lines of the run log:"
  tail -n 12 "$c/log/qzkeepset.log" | tr -d '\r'
fi
exit $status
