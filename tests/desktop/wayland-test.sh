#!/usr/bin/env bash
# The installed game as a Wayland client: the weston compositor, nested in an X
# server (Xvfb) through its X11 backend so that xdotool can point, click and
# press ASCII keys, and a session bus with the accessibility bus, over which the
# kanji are put into the boxes (no input method reaches through weston). The
# game runs with Qt's Wayland plugin and no X display. What the compositor sees
# is read from weston's own scene graph (weston-debug): which windows are up,
# whose they are, where and how large.
#
#   tests/desktop/wayland-test.sh PROG
#
# PROG is an installed game (cmake --install BUILD --prefix PROG); the game runs
# from a copy with a five-word dictionary of its own. Exit status: the number of
# failed checks. Needs weston qt6-wayland xvfb xdotool dbus at-spi2-core
# python3-gi gir1.2-atspi-2.0. As root, weston, the bus and the game run as user
# nobody. Every process the run starts carries a mark in its environment and is
# ended by its PID; the run's folder, with the logs and a picture of the screen,
# is kept when a check fails.
set -Eeuo pipefail
export LC_ALL=C.UTF-8

HERE=$(cd "$(dirname "$0")" && pwd)
PROG=$(cd "${1:?usage: $0 PROG}" && pwd)
[ -x "$PROG/renkomi" ] || { echo "wayland-test: no game in $PROG" >&2; exit 2; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/renkomi-wayland-XXXXXX")
chmod 755 "$WORK"
RT=$WORK/run HOMEDIR=$WORK/home GAME=$WORK/prog LOGS=$WORK/logs SOCKET=renkomi-wayland
MARK=RENKOMI_WAYLAND_TEST=$WORK
if [ "$(id -u)" -eq 0 ]; then RUNAS=nobody; else RUNAS=$(id -un); fi
SUITE=wayland-test
source "$HERE/harness.sh"

ITEMS=(wayland-client choose organizer title-bar-buttons one-move quit)
# A picture of the screen as the run ends, kept with the logs.
before_summary() { [ -z "${WAYLAND_UP:-}" ] || screen_picture "$LOGS/screen-at-end.png"; }
start_marking

# What runs as the player sees the compositor only, never the X server under it.
GAME_ENV=(WAYLAND_DISPLAY="$SOCKET")

# ---- what the compositor sees ----------------------------------------------------------
scene() { as_user timeout 5 weston-debug scene-graph 2>/dev/null; }
# One line per top-level window: "PID x0 y0 x1 y1 TITLE" (its frame on the screen).
toplevels() {
  scene | awk '/role xdg_toplevel/ { pid = $6; sub(/,/, "", pid); title = $0
      sub(/.*top-level window \047/, "", title); sub(/\047 of .*/, "", title); getline
      gsub(/[(),>-]/, " "); print pid, $2, $3, $4, $5, title }'
}
window_line() {  # window_line TITLE: "PID x0 y0 x1 y1" of the window so named
  local pid x0 y0 x1 y1 title
  while read -r pid x0 y0 x1 y1 title; do
    if [ "$title" = "$1" ]; then echo "$pid $x0 $y0 $x1 $y1"; return; fi
  done < <(toplevels)
}
frame_of() { window_line "$1" | cut -d' ' -f2-; }
shown() { [ -n "$(frame_of "$1")" ]; }
gone() { ! shown "$1"; }
screen_picture() { (cd "$WORK/pictures" && as_user timeout 5 weston-screenshooter >/dev/null 2>&1 &&
  mv -f "$(ls -t | head -1)" "$1") || true; }

# ---- acting ------------------------------------------------------------------------------
# weston's X11 backend follows the pointer only from where it saw it last: it
# starts from the corner.
point() { xdotool mousemove 0 0; sleep 0.1; xdotool mousemove "$1" "$2"; sleep 0.3; }
click_at() { point "$1" "$2"; xdotool click "${3:-1}"; sleep 0.8; }
keys() { xdotool key --delay 80 "$@"; sleep 0.6; }
atspi() { as_user timeout 20 /usr/bin/python3 "$HELPER" "$@"; }
press() { atspi press "$1"; sleep 0.8; }
box() { atspi state | awk -F'\t' -v n="$1" '$1 == "box" && $2 == n { print $3 }'; }
# The title-bar buttons Qt's decoration draws on Wayland, right to left: close,
# maximize, minimize, 18 pixels wide, 5 apart, 8 from the frame's right edge.
title_button() {  # title_button TITLE close|maximize|minimize
  local x0 y0 x1 y1 from_right
  read -r x0 y0 x1 y1 < <(frame_of "$1")
  case $2 in close) from_right=17 ;; maximize) from_right=40 ;; *) from_right=63 ;; esac
  click_at $((x1 - from_right)) $((y0 + 15))
}

# ---- the desktop ---------------------------------------------------------------------------
up() {
  mkdir -p "$RT" "$HOMEDIR" "$LOGS" "$WORK/pictures"
  chmod 700 "$RT"
  chmod 777 "$WORK/pictures"
  cp -R "$PROG" "$GAME"
  # Every answer ends in 日, and two words begin with it: the computer always
  # has a reply, whichever word it opens with.
  printf '%s\r\n' 日本 日記 本日 記入 入日 | iconv -f UTF-8 -t CP932 >"$GAME/renkomi.jdc"
  printf '%s\r\n' にほん にっき ほんじつ きにゅう いりひ | iconv -f UTF-8 -t CP932 >"$GAME/renkomi.ydc"
  [ "$(id -u)" -ne 0 ] || chown -R "$RUNAS:" "$RT" "$HOMEDIR" "$GAME"

  start_x_server || return 1
  local CMD
  user_command DISPLAY="$DISPLAY" weston --backend=x11-backend.so --use-pixman --width=1280 --height=1024 \
    --socket="$SOCKET" --idle-time=0 --debug
  "${CMD[@]}" </dev/null >"$LOGS/weston.log" 2>&1 &
  wait_for 15 "weston" test -S "$RT/$SOCKET" || return 1
  WAYLAND_UP=1
  start_session_bus || return 1
  user_command QT_QPA_PLATFORM=wayland QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$GAME/renkomi"
  (cd "$GAME" && exec "${CMD[@]}" </dev/null >"$LOGS/game.out" 2>"$LOGS/game.err") &
  GAME_PID=$!
  wait_for 20 "the game's window" shown "$MAIN" || return 1
  wait_for 20 "the game over AT-SPI" atspi state || return 1
  log "up on $DISPLAY (weston $SOCKET) in $WORK"
}

# ---- the walk-through ----------------------------------------------------------------------
MAIN='Renkomi Ver.2.0'
play() {
  item wayland-client
  local pid x0 y0 x1 y1
  pid=$(window_line "$MAIN" | cut -d' ' -f1)
  expect "the process of the window named '$MAIN' in weston's scene graph" "$GAME_PID" "$pid"
  grep -qz '^DISPLAY=' "/proc/$pid/environ" 2>/dev/null && fail "the game has an X display"
  grep -q 'libqwayland' "/proc/$pid/maps" 2>/dev/null || fail "the game has not loaded Qt's Wayland plugin"
  read -r x0 y0 x1 y1 < <(frame_of "$MAIN")
  # The client area with Qt's decoration: 3 pixels at the sides, 30 at the top.
  expect "the main window's frame" "622 436" "$((x1 - x0)) $((y1 - y0))"
  CLIENT_X=$((x0 + 3)) CLIENT_Y=$((y0 + 30))

  item choose
  press えらぶ
  expect "the focus after えらぶ" "push button	はじめる" "$(atspi state | awk -F'\t' '$1 == "focus" { print $2 "\t" $3 }')"

  item organizer
  click_at $((CLIENT_X + 450)) $((CLIENT_Y + 250)) 3   # the picture's menu
  keys Down Return                                      # 辞書の整理
  wait_for 10 "the organizer" shown 辞書の整理 || return 1
  screen_picture "$LOGS/organizer.png"

  item title-bar-buttons
  # Qt's decoration draws minimize and maximize on every window; the game puts
  # back what the design does not give the window.
  title_button 辞書の整理 minimize; sleep 1
  expect "the organizer after its minimize button" yes "$(shown 辞書の整理 && echo yes || echo no)"
  title_button "$MAIN" maximize; sleep 1
  read -r x0 y0 x1 y1 < <(frame_of "$MAIN")
  expect "the main window's frame after its maximize button" "622 436" "$((x1 - x0)) $((y1 - y0))"

  item organizer
  press 終了
  wait_for 10 "the organizer to close" gone 辞書の整理 || true

  item title-bar-buttons
  # A modal dialog, brought back without ending it: it still closes as itself.
  click_at $((CLIENT_X + 450)) $((CLIENT_Y + 250)) 3
  keys Down Down Down Return                            # バージョン情報
  wait_for 10 "the About box" shown バージョン情報 || return 1
  title_button バージョン情報 minimize; sleep 1
  expect "the About box after its minimize button" yes "$(shown バージョン情報 && echo yes || echo no)"
  press 閉じる
  wait_for 10 "the About box to close" gone バージョン情報 || true

  item one-move
  press はじめる
  local opening reply
  opening=$(box comp_juku)
  [ -n "$opening" ] || { fail "the computer did not open"; return 1; }
  atspi put user_juku "${opening: -1}日"; keys Return
  atspi put user_yomi てすと; keys Return
  reply=$(box comp_juku)
  expect "the first kanji of the computer's answer to ${opening: -1}日" 日 "${reply:0:1}"

  item quit
  # "やめる" is off during a match: the close button of the title bar.
  title_button "$MAIN" close
  local rc=0
  wait_for 10 "the game to end" sh -c "! kill -0 $GAME_PID" || return 1
  wait "$GAME_PID" || rc=$?
  expect "the game's exit status" 0 "$rc"
}

HELPER=$WORK/atspi.py
up_and_play() {
  cp "$HERE/atspi.py" "$HELPER"
  chmod 644 "$HELPER"
  up || return 1
  play
}
CURRENT=setup
up_and_play || log "the walk-through stopped"
