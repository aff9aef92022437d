# The checks and processes of a desktop run, shared by desktop-test.sh,
# wayland-test.sh and the package test; sourced, not run. The run sets SUITE (its
# name in the last line), ITEMS (its checks, in order), MARK (NAME=VALUE carried in
# the environment of every process it starts), WORK, LOGS, RT, HOMEDIR and RUNAS,
# and GAME_ENV once it knows its display; it may define before_summary, run first
# when the run ends.

STARTED=$(date +%s)
log() { printf '[%s] %s\n' "$(date +%T)" "$*" >&2; }

# ---- checks ------------------------------------------------------------------------
declare -A FAILS=() DONE=()
fail() { FAILS[$CURRENT]+="$*; "; log "  FAILED: $*"; }
expect() {  # expect WHAT EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then log "  ok: $1 is '$3'"; else fail "$1 is '$3', expected '$2'"; fi
}
item() { CURRENT=$1; DONE[$1]=1; log "== $1"; }
summary() {
  local id failed=0
  for id in "${ITEMS[@]}"; do
    if [ -z "${DONE[$id]:-}" ]; then log "FAILED  $id: not reached"; failed=$((failed + 1))
    elif [ -n "${FAILS[$id]:-}" ]; then log "FAILED  $id: ${FAILS[$id]%; }"; failed=$((failed + 1))
    else log "ok      $id"; fi
  done
  echo "$SUITE: $((${#ITEMS[@]} - failed)) of ${#ITEMS[@]} pass in $(($(date +%s) - STARTED)) s"
  return "$failed"
}

# ---- processes -----------------------------------------------------------------------
run_pids() {
  grep -lzxF "$MARK" /proc/[0-9]*/environ 2>/dev/null | sed 's:^/proc/\([0-9]*\)/.*:\1:' || true
}
alive() { [ -d "/proc/$1" ] && [ "$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -c1)" != Z ]; }
end_pids() {  # TERM, up to 3 s, then KILL
  local pid left
  [ $# -gt 0 ] || return 0
  kill "$@" 2>/dev/null || true
  for _ in $(seq 15); do
    left=0
    for pid in "$@"; do if alive "$pid"; then left=1; fi; done
    [ "$left" -eq 1 ] || return 0
    sleep 0.2
  done
  for pid in "$@"; do if alive "$pid"; then kill -9 "$pid" 2>/dev/null || true; fi; done
}
down() {
  # The X server goes last: the others would complain of its loss first.
  local pid pids=() xvfb=()
  for pid in $(run_pids); do
    [ "$pid" = $$ ] && continue
    if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]; then xvfb+=("$pid"); else pids+=("$pid"); fi
  done
  end_pids "${pids[@]}"
  end_pids "${xvfb[@]}"
}
finish() {
  local rc=0
  trap - EXIT INT TERM
  if declare -F before_summary >/dev/null; then before_summary; fi
  summary || rc=$?
  down
  if [ "$rc" -eq 0 ]; then rm -rf "$WORK"; else log "logs kept in $LOGS"; fi
  exit "$rc"
}
start_marking() {  # every process started from here on carries the mark
  export "${MARK?}"
  trap finish EXIT
  trap 'exit 1' INT TERM
}

# The suite's own variables for what runs as the player (the display, the input
# method), read at every call.
GAME_ENV=()
user_command() {  # CMD: COMMAND... as $RUNAS, in the run's environment only
  CMD=()
  [ "$(id -u)" -ne 0 ] || CMD=(setpriv --reuid="$(id -u "$RUNAS")" --regid="$(id -g "$RUNAS")" --clear-groups --)
  CMD+=(env -i "$MARK" PATH=/usr/local/bin:/usr/bin:/bin HOME="$HOMEDIR" USER="$RUNAS"
    LOGNAME="$RUNAS" XDG_RUNTIME_DIR="$RT" XDG_CONFIG_HOME="$HOMEDIR/.config"
    XDG_CACHE_HOME="$HOMEDIR/.cache" XDG_DATA_HOME="$HOMEDIR/.local/share"
    DBUS_SESSION_BUS_ADDRESS="unix:path=$RT/bus" LANG=C.UTF-8 "${GAME_ENV[@]}" "$@")
}
as_user() { local CMD; user_command "$@"; "${CMD[@]}"; }

# The desktop's parts, each waited for: an X server of the run's own (DISPLAY is
# set to it), the openbox window manager on it, the player's session bus.
start_x_server() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$WORK/display" \
    </dev/null >"$LOGS/xvfb.log" 2>&1 &
  wait_for 10 "the X server" test -s "$WORK/display" || return 1
  export DISPLAY=":$(cat "$WORK/display")"
}
start_openbox() {
  HOME=$WORK openbox </dev/null >"$LOGS/openbox.log" 2>&1 &
  wait_for 10 "openbox" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || return 1
}
start_session_bus() {
  as_user dbus-daemon --session --address="unix:path=$RT/bus" --fork </dev/null >"$LOGS/dbus.log" 2>&1
  wait_for 5 "the session bus" test -S "$RT/bus" || return 1
}
wait_for() {  # wait_for SECONDS WHAT COMMAND...
  local end=$((SECONDS + $1)) what=$2; shift 2
  until "$@" >/dev/null 2>&1; do
    if [ "$SECONDS" -ge "$end" ]; then fail "timed out waiting for $what"; return 1; fi
    sleep 0.1
  done
}
