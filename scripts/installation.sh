# Sourced by scripts/demo.sh and scripts/test-package.sh: lays out a small
# alarm installation (every kind of file a save copies) on drive C: of the
# Wine prefix in $WINEPREFIX and registers it, as a server would have it.
# The program finds it when it runs in C:\ (an unattended save roots the
# installation's folders on the current drive).

# write_file <file below drive_c> <text with \r\n escapes>
write_file() {
  local c=$WINEPREFIX/drive_c
  mkdir -p "$(dirname "$c/$1")"
  printf '%b' "$2" >"$c/$1"
}

# Lays the installation out afresh (C:\db1, C:\qzt, C:\dbv1, C:\qz_web,
# C:\qzdemo\extra, the desktops, the ini files) and creates C:\log for the
# run log. The configuration file qzkeepset.ini is left alone.
lay_out_installation() {
  local c=$WINEPREFIX/drive_c name
  rm -rf "$c/db1" "$c/qzt" "$c/dbv1" "$c/qz_web" "$c/qzdemo/extra" "$c/qzdemo/desktop"
  write_file db1/vm001.dbf "alarm configuration\r\n"
  write_file db1/qzpersonal.dbf "personnel\r\n"
  write_file db1/qzgroups.dbf "groups\r\n"
  write_file db1/qzlinks.dbf "links\r\n"
  for name in qztini.dbf qz1post.dat qztbatch.dbf qztque.dbf alarm.qzm start.bat night.cmd readme.txt \
              notes.rtf tool.ini lines.csv logo.bmp; do
    write_file "qzt/$name" "$name\r\n"
  done
  for name in v0012_1.vox v0012_2.vox v0013_1.wav m0001.eml; do
    write_file "dbv1/$name" "$name\r\n"
  done
  write_file qz_web/htdocs/index.php "<?php echo 'alarm'; ?>\r\n"
  write_file qz_web/htdocs/inc/db.php "<?php // database ?>\r\n"
  write_file qz_web/conf/httpd.conf "Listen 80\r\n"
  write_file qzdemo/extra/plan.txt "evacuation plan\r\n"
  write_file qzdemo/desktop/user/Alarm.lnk "link\r\n"
  write_file qzdemo/desktop/all/Common.lnk "link\r\n"
  write_file windows/qzpers.ini "[DBInfo]\r\nPers=qzpersonal.dbf\r\nGroup=qzgroups.dbf\r\nLink=qzlinks.dbf\r\n"
  write_file windows/qzalarm.ini "[Alarm]\r\nLines=4\r\n"
  write_file windows/vmqzt.ini "[Voice]\r\nBoxes=12\r\n"
  mkdir -p "$c/log"
}

# The registry: installation directory, web server service, desktops (the
# system rewrites "Shell Folders" from "User Shell Folders", and a new
# prefix's own desktop is the Linux home folder). <scratch folder> holds
# the .reg file.
register_installation() {
  local reg=$1/installation.reg
  cat >"$reg" <<'REG'
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
  local file="Z:$reg"
  wine regedit /S "${file//\//\\}" >/dev/null 2>&1
}

# The Windows path of a Linux path (through drive Z:).
windows_path_of() {
  local path="Z:$1"
  printf '%s' "${path//\//\\}"
}
