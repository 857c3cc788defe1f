#!/bin/bash
# The main job on a demo server: installs what is missing, builds, starts a
# private MariaDB server with a small sample database, lays out a small
# alarm installation (every kind of file a save copies, a web server and
# the database) in a private Wine prefix under build/demo, and runs an
# unattended save to C:\qzdemo\keep\YYYY-MM-DD. It prints the keepset's
# layout (folders, file counts, the database dump) and the end of the run
# log.
#
# With a display (DISPLAY set) it then opens the main window on the demo
# installation, the database still running; close the window to end. The
# demo leaves nothing running. Safe to run again: the installation and
# today's keepset are laid out afresh.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD

scripts/setup.sh
scripts/build.sh

root=$top/build/demo
prefix=$root/qzkeepset
run=$top/cmake/wine-run.sh
program=$top/build/win/bin/qzkeepset.exe
bridge=$top/build/win/tests/bridge   # mysqldump.exe and mysql.exe for the private server
export QZ_WINE_ROOT=$root WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
export QZ_TEST_DB_DIR=$root/db

user_display=${DISPLAY:-}
xvfb_pid=
stop() {
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  "$top/scripts/test-db.sh" stop 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  return 0
}
trap stop EXIT
trap 'exit 130' INT TERM

echo "== Starting the demo's database server (sample database qzdemo)"
mkdir -p "$root"
db_env=$(scripts/test-db.sh start 2>"$root/db-start.log") ||
  { cat "$root/db-start.log" >&2; echo "demo.sh: could not start the database server" >&2; exit 1; }
eval "$db_env"
mysql --no-defaults --socket="$QZ_TEST_DB_SOCKET" --user=root <<'SQL'
CREATE DATABASE qzdemo;
USE qzdemo;
CREATE TABLE alarm_zone (id INT PRIMARY KEY, name VARCHAR(40) NOT NULL, speakers INT NOT NULL);
INSERT INTO alarm_zone VALUES (1, 'Building A', 4), (2, 'Building B', 2), (3, 'Car park', 1);
CREATE TABLE voice_mail (id INT PRIMARY KEY, zone INT NOT NULL, message VARCHAR(60) NOT NULL,
                         recorded DATETIME NOT NULL);
INSERT INTO voice_mail VALUES (1, 1, 'Evacuate building A', '2026-11-30 09:15:00'),
                              (2, 2, 'Test alarm on Friday', '2026-12-01 14:00:00');
SQL

# The unattended save opens its window for the time of the save: on the
# user's display, or on a virtual one of its own.
if [ -z "$user_display" ]; then
  source scripts/virtual-display.sh
  start_virtual_display 130 160 1024x768x24 || { echo "demo.sh: could not start Xvfb" >&2; exit 1; }
fi

echo "== Preparing the demo server in $prefix"
if [ ! -f "$prefix/.qz-ready" ]; then
  wineboot --init >/dev/null 2>&1
  wineserver -w
  touch "$prefix/.qz-ready"
fi
c=$prefix/drive_c
source scripts/installation.sh
lay_out_installation
register_installation "$root"

# The tool's settings: voice messages, web files with the sample database,
# one additional directory. The last save directory keeps its date pattern.
write_file windows/qzkeepset.ini "[Config]\r\nSaveMSG=1\r\nSaveWeb=1\r\nSaveMySql=1\r\n\
WebHtdocsPath=C:\\\\qz_web\\\\htdocs\r\nAciveSaveFiles1=1\r\nSaveFiles1=C:\\\\qzdemo\\\\extra\r\n\
LastKeepsetDir=C:\\\\qzdemo\\\\keep\\\\YYYY-MM-DD\r\n\
[MySQL]\r\nMySQLPath=$(windows_path_of "$bridge" | sed 's/\\/\\\\/g')\r\nUserName=root\r\n\
SaveSpecifiedDatabases=1\r\nDumpDatabase=qzdemo,\r\n"

cd "$c"   # the working directory C:\ holds the run log in C:\log
today=$(date +%Y-%m-%d)
keepset=$c/qzdemo/keep/$today
rm -rf "$keepset"   # the layout shown below is this save's alone
echo "== Unattended save to C:\\qzdemo\\keep\\YYYY-MM-DD"
status=0
timeout 300 "$run" "$program" 'C:\qzdemo\keep\YYYY-MM-DD' || status=$?
case $status in
  0) echo "The save ended without errors (exit status 0)." ;;
  1) echo "The save ended with errors (exit status 1, see the run log)." ;;
  124) echo "The save did not end within 5 minutes." ;;
  *) echo "The tool ended with status $status." ;;
esac

echo
echo "Keepset C:\\qzdemo\\keep\\$today  ->  $keepset"
if [ -d "$keepset" ]; then
  (cd "$keepset" && find . -type d | sort | while read -r dir; do
     name=${dir#./}
     [ "$dir" = . ] && name="(the keepset folder)" || name="${name//\//\\}\\"
     printf '  %-28s %3d file(s)\n' "$name" "$(find "$dir" -maxdepth 1 -type f | wc -l)"
   done)
  dump=$keepset/mysql/qzdemo.sql
  if [ -f "$dump" ]; then
    echo "Database dump mysql\\qzdemo.sql: $(wc -c <"$dump") bytes, tables:" \
         "$(sed -n 's/^CREATE TABLE `\([^`]*\)`.*/\1/p' "$dump" | tr '\n' ' ')"
    sed -n '/^INSERT INTO/,/;$/p' "$dump" | cut -c1-100 | sed 's/^/  /'
  else
    echo "Database dump mysql\\qzdemo.sql: MISSING"
    status=1
  fi
  echo "Record qzkeepset.inf:"
  tr -d '\r' <"$keepset/qzkeepset.inf" | sed 's/^/  /'
  if [ -f "$keepset/qzkeepset.sha256" ]; then
    echo "Manifest qzkeepset.sha256: $(wc -l <"$keepset/qzkeepset.sha256") file(s), checked with sha256sum:"
    (cd "$keepset" && sed 's/\\/\//g' qzkeepset.sha256 | sha256sum --check --strict --quiet - && echo "  every file matches") \
      || { echo "  MISMATCH"; status=1; }
  else
    echo "Manifest qzkeepset.sha256: MISSING"
    status=1
  fi
fi

# The keepset checked by the program itself, then with one byte changed.
if [ -f "$keepset/qzkeepset.sha256" ]; then
  echo
  echo "== qzkeepset.exe /verify C:\\qzdemo\\keep\\YYYY-MM-DD"
  verify=0
  timeout 300 "$run" "$program" /verify 'C:\qzdemo\keep\YYYY-MM-DD' || verify=$?
  echo "exit status $verify (0: the keepset is whole)"
  [ "$verify" = 0 ] || status=1
  tr -d '\r' <"$c/log/qzkeepset.log" | grep -E 'erif|keepset' | tail -n 3 | sed 's/^/  /'
  victim=$keepset/db1/vm001.dbf
  if [ -f "$victim" ]; then
    cp -p "$victim" "$prefix/vm001.dbf.demo-original"
    first=$(head -c 1 "$victim")
    [ "$first" = X ] && byte=Y || byte=X
    printf '%s' "$byte" | dd of="$victim" bs=1 seek=0 conv=notrunc status=none
    echo "== One byte of db1\\vm001.dbf changed, /verify again"
    verify=0
    timeout 300 "$run" "$program" /verify 'C:\qzdemo\keep\YYYY-MM-DD' || verify=$?
    echo "exit status $verify (1: a listed file is missing or changed)"
    [ "$verify" = 1 ] || status=1
    tr -d '\r' <"$c/log/qzkeepset.log" | grep -E 'FAILED' | tail -n 2 | sed 's/^/  /'
    mv -f "$prefix/vm001.dbf.demo-original" "$victim"
  fi
fi

echo
echo "Run log C:\\log\\qzkeepset.log  ->  $c/log/qzkeepset.log, last lines:"
tail -n 8 "$c/log/qzkeepset.log" | tr -d '\r' | sed 's/^/  /'

if [ -n "$user_display" ]; then
  echo
  echo "== Opening the main window on $user_display (close it to end the demo)"
  "$run" "$program" || true
fi
exit $status
