#!/usr/bin/env bash
# Starts and stops the real simulation server (rcssserver3d) for matches and
# tests, headless, with a private configuration folder of its own.
#   scripts/realserver.sh start [--dir DIR] [--port N] [--monitor-port N] [--sync] [--fast]
#   scripts/realserver.sh stop [--dir DIR]
#   scripts/realserver.sh find
#
# start  runs the server in the background and waits (at most 20 s) until
#        its agent port and its monitor port listen. Prints "AGENT_PORT
#        MONITOR_PORT PID" on standard output, the details on standard error.
#        --port N          agent port; 0 (the default) picks a free one
#        --monitor-port N  monitor and trainer port; 0 (default) picks one
#        --sync            synchronous mode: each step waits for "(syn)" from
#                          every player (players need --syn=1)
#        --fast            with --sync: steps as fast as the players answer
#                          (otherwise real time, 50 steps a second)
#        --dir DIR         the server's folder: its HOME, server.log,
#                          server.pid and ports (default out/realserver)
# stop   interrupts the server of DIR (SIGINT, its clean exit; SIGKILL after
#        10 s: a server busy in its physics step ignores SIGINT) and removes
#        its private HOME; the log stays.
# find   prints the server binary that start would run.
#
# The server is looked for in this order: RCSSSERVER3D (the binary, or the
# folder it is installed in), rcssserver3d on PATH, /opt/rcssserver3d.
# Exit status: 0 done; 1 failure (one line says why); 2 bad usage; 3 no
# server installed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${VEKTORLING_OUT:-$root/out}
wait_s=20

die() { echo "realserver.sh: $*" >&2; exit 1; }
usage() { sed -n '2,29p' "$0" | sed 's/^# \{0,1\}//' >&2; exit "${1:-2}"; }

# The server binary, or nothing.
find_server() {
  local c
  if [ -n "${RCSSSERVER3D:-}" ]; then
    for c in "$RCSSSERVER3D" "$RCSSSERVER3D/bin/rcssserver3d"; do
      [ -f "$c" ] && [ -x "$c" ] && { echo "$c"; return 0; }
    done
    echo "realserver.sh: RCSSSERVER3D='$RCSSSERVER3D' names neither the server binary nor its install folder" >&2
    return 1
  fi
  c=$(command -v rcssserver3d 2>/dev/null) && { echo "$c"; return 0; }
  [ -x /opt/rcssserver3d/bin/rcssserver3d ] && { echo /opt/rcssserver3d/bin/rcssserver3d; return 0; }
  return 1
}

need_server() {
  server=$(find_server) || {
    echo "realserver.sh: no rcssserver3d installed (looked at \$RCSSSERVER3D, PATH and /opt/rcssserver3d); install it, e.g. with ../shared/realserver/install.sh as root" >&2
    exit 3
  }
}

# Is a TCP port in the LISTEN state on this machine? Read from /proc, never by
# connecting: a connection to the agent port that says nothing stalls a
# server in synchronous mode.
port_listening() {
  local hex
  hex=$(printf '%04X' "$1")
  awk -v p=":$hex" 'FNR > 1 && $4 == "0A" && substr($2, length($2) - 4) == p { f = 1 } END { exit !f }' \
    /proc/net/tcp /proc/net/tcp6 2>/dev/null
}

free_port() {
  local p
  for _ in $(seq 50); do
    p=$((20000 + RANDOM % 30000))
    port_listening "$p" || port_listening "$((p + 1))" || { echo "$p"; return 0; }
  done
  return 1
}

alive() {
  local st
  st=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) || return 1
  [ -n "$st" ] && [ "$st" != Z ]
}

# The pid recorded in DIR, when it still is a running server.
running_pid() {
  local pid
  pid=$(cat "$dir/server.pid" 2>/dev/null) || return 1
  case "$pid" in '' | *[!0-9]*) return 1 ;; esac
  alive "$pid" && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = rcssserver3d ] && { echo "$pid"; return 0; }
  return 1
}

stop_server() {
  local pid
  if ! pid=$(running_pid); then
    rm -f "$dir/server.pid"
    rm -rf "$dir/home"
    echo "realserver.sh: no server running in $dir" >&2
    return 0
  fi
  kill -INT "$pid" 2>/dev/null
  local deadline=$(($(date +%s) + 10))
  while alive "$pid"; do
    if [ "$(date +%s)" -ge "$deadline" ]; then
      echo "realserver.sh: server $pid did not end within 10 s of SIGINT; killed" >&2
      kill -KILL "$pid" 2>/dev/null
      sleep 0.3
      break
    fi
    sleep 0.1
  done
  alive "$pid" && die "server $pid is still running"
  rm -f "$dir/server.pid" "$dir/ports"
  rm -rf "$dir/home"
  echo "realserver.sh: server $pid stopped" >&2
}

start_server() {
  need_server
  local share
  share=$(cd "$(dirname "$server")/.." && pwd)/share/simspark
  [ -f "$share/spark.rb" ] || die "$share/spark.rb not found beside $server: an incomplete install?"
  if $fast && ! $sync; then echo "realserver.sh: --fast needs --sync" >&2; exit 2; fi
  mkdir -p "$dir" || die "cannot create $dir"
  local old
  old=$(running_pid) && die "a server (pid $old) already runs in $dir; stop it first"

  local tries=1 auto=false
  if [ "$port" = 0 ] || [ "$mport" = 0 ]; then auto=true; tries=5; fi
  for _ in $(seq "$tries"); do
    local p=$port m=$mport
    if $auto; then
      local f
      f=$(free_port) || die "no free port found"
      [ "$p" = 0 ] && p=$f
      [ "$m" = 0 ] && m=$((f + 1))
    fi
    [ "$p" != "$m" ] || { echo "realserver.sh: the agent port and the monitor port must differ" >&2; exit 2; }
    if port_listening "$p" || port_listening "$m"; then
      $auto && continue
      die "port $p or $m is in use"
    fi
    # The server reads $HOME/.simspark/spark.rb instead of the installed one:
    # a copy with our settings behind it. The threaded agent control stays
    # off: with it the server ignores SIGINT once a player has left.
    rm -rf "$dir/home"
    mkdir -p "$dir/home/.simspark" "$dir/home/cwd"
    {
      cat "$share/spark.rb"
      printf '\n# written by realserver.sh\n'
      printf '$agentPort = %s\n$serverPort = %s\n' "$p" "$m"
      printf '$agentSyncMode = %s\n$enableRealTimeMode = %s\n' "$sync" "$($fast && echo false || echo true)"
      printf '$serverMultiThreadedMode = false\n$threadedAgentControl = false\n'
    } > "$dir/home/.simspark/spark.rb"
    echo "=== $(date '+%F %T') $server sync=$sync fast=$fast agent port $p monitor port $m" > "$dir/server.log"
    (cd "$dir/home/cwd" && HOME=$dir/home exec setsid "$server" --agent-port "$p" --server-port "$m" \
      >> "$dir/server.log" 2>&1 < /dev/null) &
    local pid=$!
    echo "$pid" > "$dir/server.pid"
    local deadline=$(($(date +%s) + wait_s))
    while alive "$pid"; do
      if port_listening "$p" && port_listening "$m"; then
        echo "$p $m" > "$dir/ports"
        echo "realserver.sh: rcssserver3d running: pid $pid, agents on 127.0.0.1:$p, monitor and trainer on $m, sync=$sync fast=$fast, log $dir/server.log" >&2
        echo "$p $m $pid"
        return 0
      fi
      [ "$(date +%s)" -ge "$deadline" ] && break
      sleep 0.1
    done
    if alive "$pid"; then
      stop_server 2> /dev/null
      $auto && continue
      die "the server did not listen on ports $p and $m within ${wait_s} s (log: $dir/server.log)"
    fi
    rm -f "$dir/server.pid"
    $auto && continue
    echo "realserver.sh: the server ended during its start; the end of $dir/server.log:" >&2
    grep -v -e Material2DTexture -e 'OpenGLServer not found' "$dir/server.log" | tail -n 10 >&2
    exit 1
  done
  die "the server did not start on any free ports (log: $dir/server.log)"
}

[ $# -ge 1 ] || usage
verb=$1
shift
dir=$out/realserver port=0 mport=0 sync=false fast=false
while [ $# -gt 0 ]; do
  case "$1" in
    --dir) dir=${2:?}; shift ;;
    --dir=*) dir=${1#*=} ;;
    --port) port=${2:?}; shift ;;
    --port=*) port=${1#*=} ;;
    --monitor-port) mport=${2:?}; shift ;;
    --monitor-port=*) mport=${1#*=} ;;
    --sync) sync=true ;;
    --fast) fast=true ;;
    -h | --help) usage 0 ;;
    *) echo "realserver.sh: unknown option $1" >&2; usage ;;
  esac
  shift
done
for p in "$port" "$mport"; do
  case "$p" in '' | *[!0-9]*) echo "realserver.sh: a port is a number (got '$p')" >&2; exit 2 ;; esac
  [ "$p" -le 65535 ] || { echo "realserver.sh: port $p out of range" >&2; exit 2; }
done
case "$dir" in /*) ;; *) dir=$PWD/$dir ;; esac

case "$verb" in
  start) start_server ;;
  stop) stop_server ;;
  find) need_server; echo "$server" ;;
  -h | --help) usage 0 ;;
  *) echo "realserver.sh: unknown command $verb (start, stop or find)" >&2; usage ;;
esac
