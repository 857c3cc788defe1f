# Sourced by the scripts that need a display for the program's windows.
#
# start_virtual_display FIRST LAST SIZE: starts Xvfb on the first free
# display number from FIRST to LAST with screen SIZE (such as 1280x1024x24),
# waits until it answers, and sets DISPLAY and xvfb_pid (kill it by that pid
# when done). Returns 1 when no display could be started.
start_virtual_display() {
  local display
  for display in $(seq "$1" "$2"); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
    Xvfb ":$display" -screen 0 "$3" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 50); do
      xdpyinfo -display ":$display" >/dev/null 2>&1 && break
      sleep 0.1
    done
    if xdpyinfo -display ":$display" >/dev/null 2>&1; then
      export DISPLAY=":$display"
      return 0
    fi
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  done
  return 1
}
