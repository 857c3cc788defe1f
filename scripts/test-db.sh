#!/bin/bash
# Starts or stops the private MariaDB server of the tests.
#
#   eval "$(scripts/test-db.sh start)"   fresh data directory under
#                                         build/test-db (or QZ_TEST_DB_DIR),
#                                         server on 127.0.0.1
#                                         and a private socket; prints the
#                                         QZ_TEST_DB_* export lines
#   scripts/test-db.sh stop              ends the server started here
#
# Only the export lines go to stdout; everything else goes to stderr. The
# server reads no configuration file (--no-defaults), so a MariaDB of the
# system is never touched. User root logs in without a password.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

dir=${QZ_TEST_DB_DIR:-$PWD/build/test-db}   # scripts/demo.sh keeps a server of its own
data=$dir/data
socket=$dir/mysqld.sock
pidfile=$dir/server.pid
log=$dir/server.log

say() { echo "test-db: $*" >&2; }

# The recorded pid, when that process is still our server.
running_pid() {
  [ -f "$pidfile" ] || return 1
  local pid
  pid=$(cat "$pidfile")
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || return 1
  tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF -- "--datadir=$data" || return 1
  echo "$pid"
}

stop_server() {
  local pid
  if pid=$(running_pid); then
    kill "$pid" 2>/dev/null
    for _ in $(seq 1 300); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
      say "server $pid did not end within 30 s, killing it"
      kill -9 "$pid" 2>/dev/null
      sleep 0.5
    fi
    say "stopped server $pid"
  fi
  rm -f "$pidfile"
}

port_is_free() {
  ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null &&
    ! ss -Htln "sport = :$1" 2>/dev/null | grep -q .
}

free_port() {
  local port
  for _ in $(seq 1 50); do
    port=$((20000 + RANDOM % 20000))
    port_is_free "$port" && { echo "$port"; return 0; }
  done
  return 1
}

answers() {
  mysqladmin --no-defaults --socket="$socket" --user=root --connect-timeout=2 ping >/dev/null 2>&1
}

fail_with_log() {
  say "$1"
  if [ -f "$log" ]; then
    say "last lines of $log:"
    tail -n 20 "$log" >&2
  fi
  stop_server
  exit 1
}

start_server() {
  stop_server
  rm -rf "$data"
  mkdir -p "$data" || exit 1
  rm -f "$socket" "$log"
  if [ ${#socket} -gt 100 ]; then
    say "socket path too long for a Unix socket: $socket"
    exit 1
  fi

  say "creating the data directory $data"
  if ! mariadb-install-db --no-defaults --user=root --datadir="$data" \
      --auth-root-authentication-method=normal --skip-test-db >"$dir/install.log" 2>&1; then
    say "mariadb-install-db failed:"
    tail -n 20 "$dir/install.log" >&2
    exit 1
  fi

  local port pid attempt
  for attempt in 1 2 3; do
    port=$(free_port) || { say "no free TCP port found"; exit 1; }
    # The server must not hold the caller's stdout, which "$(...)" reads to
    # its end.
    mariadbd --no-defaults --user=root --datadir="$data" --socket="$socket" \
      --port="$port" --bind-address=127.0.0.1 --pid-file="$dir/mariadbd.pid" \
      --log-error="$log" --skip-log-bin --innodb-buffer-pool-size=16M \
      --skip-name-resolve </dev/null >>"$log" 2>&1 &
    pid=$!
    echo "$pid" >"$pidfile"
    for _ in $(seq 1 300); do
      answers && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if answers; then
      say "server $pid answers on 127.0.0.1:$port and $socket"
      echo "export QZ_TEST_DB_SOCKET='$socket'"
      echo "export QZ_TEST_DB_PORT='$port'"
      echo "export QZ_TEST_DB_HOST='127.0.0.1'"
      return 0
    fi
    if ! kill -0 "$pid" 2>/dev/null && grep -q "Bind on TCP/IP port" "$log" 2>/dev/null; then
      say "port $port was taken meanwhile, trying another (attempt $attempt)"
      rm -f "$pidfile"
      continue
    fi
    kill -0 "$pid" 2>/dev/null || fail_with_log "the server ended before it answered"
    fail_with_log "the server did not answer within 30 s"
  done
  fail_with_log "could not start the server on a free port"
}

case "${1:-}" in
  start) mkdir -p "$dir" && start_server ;;
  stop) stop_server ;;
  *) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
