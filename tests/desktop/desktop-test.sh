#!/usr/bin/env bash
# The installed game on a real desktop: an X server (Xvfb), a window manager
# (openbox), a session bus with the accessibility bus, and a Japanese input method
# (ibus with mozc, in hiragana mode). The game is played as a player plays it, with
# keys, clicks and window-manager commands (xdotool, wmctrl), and checked by what
# the player and the window manager see: window properties (xprop), map states
# (xwininfo), texts and focus (AT-SPI), and how soon a dialog comes.
#
#   tests/desktop/desktop-test.sh PROG TIMER
#
# PROG is an installed game (cmake --install BUILD --prefix PROG); it is not
# changed: the game runs from a copy with a small dictionary of its own. TIMER is
# the built renkomi_dialog_timer (tests/desktop/dialog_timer.cpp). Exit
# status: the number of failed checks (2 items or more fail as "not reached" when
# the run stops early). Needs xvfb openbox xdotool wmctrl x11-utils dbus
# at-spi2-core python3-gi gir1.2-atspi-2.0 ibus ibus-mozc mozc-server.
#
# As root, the bus, ibus, mozc and the game run as user nobody (mozc_server refuses
# to run as root). Every process the run starts carries a mark in its environment
# and is ended by its PID at the end.
set -Eeuo pipefail
export LC_ALL=C.UTF-8

HERE=$(cd "$(dirname "$0")" && pwd)
PROG=$(cd "${1:?usage: $0 PROG}" && pwd)
TIMER=${2:?usage: $0 PROG TIMER}
[ -x "$PROG/renkomi" ] || { echo "desktop-test: no game in $PROG" >&2; exit 2; }
[ -x "$TIMER" ] || { echo "desktop-test: no timer $TIMER" >&2; exit 2; }

# In memory where the system has it: the game saves its dictionary, flushed to
# disk, right before the end-of-match dialog, and a disk busy with other work must
# not stand in for the game in the dialog's time.
base=${TMPDIR:-/tmp}
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then base=/dev/shm; fi
WORK=$(mktemp -d "$base/renkomi-desktop-XXXXXX")
chmod 755 "$WORK"
RT=$WORK/run HOMEDIR=$WORK/home GAME=$WORK/prog LOGS=$WORK/logs
MARK=RENKOMI_DESKTOP_TEST=$WORK
if [ "$(id -u)" -eq 0 ]; then RUNAS=nobody; else RUNAS=$(id -un); fi
SUITE=desktop-test
source "$HERE/harness.sh"

ITEMS=(close-refused secondary-windows organizer-focus choice-tab-order about-esc
       sound-no-stall help-on-screen organizer-scroll pending-conversion
       organizer-active organizer-first-row screen-reader title-bar-buttons organizer-comes-back
       outside-edit)
start_marking

# ---- the desktop -----------------------------------------------------------------------
up() {
  mkdir -p "$RT" "$HOMEDIR/.config/mozc" "$LOGS"
  chmod 700 "$RT"
  cp -R "$PROG" "$GAME"
  # A dictionary of the run's own, in the game's format: CP932, CR LF.
  # The last word is as long as the longest of the shipped dictionaries', and
  # comes first in the organizer.
  printf '%s\r\n' 報告 告白 白紙 紙面 面会 会話 安全保障理事会常任理事国 |
    iconv -f UTF-8 -t CP932 >"$GAME/renkomi.jdc"
  printf '%s\r\n' ほうこく こくはく はくし しめん めんかい かいわ あんぜんほしょうりじかいじょうにんりじこく |
    iconv -f UTF-8 -t CP932 >"$GAME/renkomi.ydc"
  # mozc starts in direct (latin) input unless told otherwise.
  printf '%s\n' 'engines { name: "mozc-jp" longname: "Mozc" layout: "default" rank: 80 }' \
    'active_on_launch: True' >"$HOMEDIR/.config/mozc/ibus_config.textproto"
  [ "$(id -u)" -ne 0 ] || chown -R "$RUNAS:" "$RT" "$HOMEDIR" "$GAME"

  start_x_server || return 1
  GAME_ENV=(DISPLAY="$DISPLAY" QT_IM_MODULE=ibus)
  local CMD
  user_command
  CMD_PREFIX=("${CMD[@]}")
  start_openbox || return 1
  start_session_bus || return 1
  as_user ibus-daemon --daemonize --panel=disable </dev/null >"$LOGS/ibus.log" 2>&1
  # ("ibus engine NAME" fails in its keyboard-layout step even when it worked.)
  wait_for 30 "ibus to take mozc" sh -c '"$@" ibus engine mozc-jp; [ "$("$@" ibus engine)" = mozc-jp ]' \
    sh "${CMD_PREFIX[@]}" || return 1
  user_command QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$GAME/renkomi"
  (cd "$GAME" && exec "${CMD[@]}" </dev/null >"$LOGS/game.out" 2>"$LOGS/game.err") &
  GAME_PID=$!
  wait_for 20 "the game's window" window "$MAIN_TITLE" || return 1
  MAIN=$(window "$MAIN_TITLE")
  wait_for 20 "the game over AT-SPI" snap || return 1
  log "up on $DISPLAY in $WORK"
}

# ---- looking and acting ------------------------------------------------------------
MAIN_TITLE='^Renkomi Ver\.2\.0$'
window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 | grep .; }
no_window() { ! window "$1"; }
geometry() {  # geometry WID: "x y w h" of its client area on the screen
  xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print x, y, w, h }'
}
map_state() { xwininfo -id "$1" | awk '/Map State/ { print $NF }'; }
owner_of() { xprop -id "$1" WM_TRANSIENT_FOR | awk '/window id/ { print $NF }'; }
hex() { printf '0x%x' "$1"; }
skips_taskbar() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR && echo yes || echo no; }
click() {  # click WID X Y (client coordinates)
  local x y w h
  read -r x y w h < <(geometry "$1")
  xdotool mousemove $((x + $2)) $((y + $3)) click 1
  sleep 0.6
}
keys() { xdotool key --delay 80 "$@"; sleep 0.6; }
typed() { xdotool type --delay 60 -- "$1"; sleep 0.6; }
click_right() { local x y w h; read -r x y w h < <(geometry "$1"); xdotool mousemove $((x + $2)) $((y + $3)) click 3; sleep 0.6; }

active_window() { xprop -root _NET_ACTIVE_WINDOW | awk '/window id/ { print $NF }'; }
is_active() { [ "$(active_window)" = "$(hex "$1")" ]; }
# The organizer's row N (0 the first word) over AT-SPI: "table X Y W H" and
# "cell COLUMN X Y W H TEXT" lines.
org_row() { as_user /usr/bin/python3 "$HELPER" row "$1"; }
org_count() { as_user /usr/bin/python3 "$HELPER" text 現在の登録数; }
row_in_view() {  # row_in_view N MIN: each cell of row N inside the table, MIN pixels wide at least
  local rows tx ty tw th bad
  rows=$(org_row "$1") || { fail "no table over AT-SPI"; return; }
  read -r tx ty tw th < <(awk -F'\t' '$1 == "table" { print $2, $3, $4, $5 }' <<<"$rows")
  bad=$(awk -F'\t' -v tx="$tx" -v ty="$ty" -v tw="$tw" -v th="$th" -v min="$2" '$1 == "cell" &&
    ($3 < tx || $3 + $5 > tx + tw || $4 < ty || $4 + $6 > ty + th || $5 < min) {
      printf "column %s (%s) at %s,%s %sx%s; ", $2, $7, $3, $4, $5, $6 }' <<<"$rows")
  if [ -n "$bad" ]; then fail "row $1 not in view in the table at $tx,$ty ${tw}x$th: $bad"
  else log "  ok: row $1's three cells are in view"; fi
}
# Just opened, the organizer is the active window with the focus on its table.
organizer_active() {  # organizer_active HOW
  wait_for 5 "the organizer to become active ($1)" is_active "$ORG" || true
  expect "the active window, the organizer opened $1" "$(hex "$ORG")" "$(active_window)"
  snap; expect "the focus, the organizer opened $1" "table:辞書のことば" "$(focused)"
}

SNAP=""
snap() { SNAP=$(as_user timeout 20 /usr/bin/python3 "$HELPER" state) && [ -n "$SNAP" ]; }
box() { awk -F'\t' -v n="$1" '$1 == "box" && $2 == n { print $3 }' <<<"$SNAP"; }
focused() {  # the focused element: a box's name, or "role:name"
  # (the name box's line edit gives the focus to its combo box)
  awk -F'\t' '$1 == "box" && $4 == "focused" { print $2 } $1 == "focus" && $2 == "combo box" { print "name_box"; next }
    $1 == "focus" { print $2 ":" $3 }' <<<"$SNAP" | head -1
}
checked() { awk -F'\t' '$1 == "checked" { print $2 }' <<<"$SNAP"; }
# The title-bar buttons a window asks for in its Motif hints: "MINIMIZE MAXIMIZE".
# (openbox 3.6 draws and allows them whatever the hints say, but for a fixed
# size: the game puts such a window back itself, which the checks also see.)
buttons() {
  local hints flags functions words=()
  hints=$(xprop -id "$1" _MOTIF_WM_HINTS | sed -n 's/.*= *//p' | tr -d ' ')
  flags=$(( ${hints%%,*} )); hints=${hints#*,}; functions=$(( ${hints%%,*} ))
  if (( !(flags & 1) || (functions & 1) || (functions & 8) )); then words+=(MINIMIZE); fi
  if (( !(flags & 1) || (functions & 1) || (functions & 16) )); then words+=(MAXIMIZE); fi
  echo "${words[*]}"
}
maximized() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED && echo yes || echo no; }
comes_back() {  # comes_back WHAT WID: the main window waits for it
  # Minimized (openbox takes the whole game down with it), then the main window
  # activated: the window it waits for is in front again, with the keys.
  xdotool windowminimize "$2"; sleep 1
  wmctrl -i -a "$MAIN"; sleep 1
  expect "$1 after minimizing it and activating the main window" IsViewable "$(map_state "$2")"
  expect "the active window after minimizing $1" "$(hex "$2")" "$(active_window)"
  # Buried under the main window, as by a click on it.
  wmctrl -i -a "$MAIN"; sleep 1
  expect "the active window after activating the waiting main window" "$(hex "$2")" "$(active_window)"
}
secondary() {  # secondary WHAT WID: owned by the main window, no taskbar entry
  expect "$1's owner (WM_TRANSIENT_FOR)" "$(hex "$MAIN")" "$(owner_of "$2")"
  expect "$1 skips the taskbar" yes "$(skips_taskbar "$2")"
}

# What a screen reader reads of the element of that role and name: its states
# (editable, read-only), value (current/min/max), description and label, joined by "|".
spoken() {
  awk -F'\t' -v r="$1" -v n="$2" '$1 == r && $2 == n { print $3 "|" $4 "|" $5 "|" $6; f = 1; exit }
    END { if (!f) print "(not there)" }' <<<"$NAMES"
}
screen_reader() {  # screen_reader main|organizer|dialog: names, states, values, as read over AT-SPI
  local back=$CURRENT
  item screen-reader
  NAMES=$(as_user timeout 20 /usr/bin/python3 "$HELPER" names || true)
  case $1 in
    main)
      expect "the computer's jukugo box" "read-only|||じゅくご" "$(spoken text パソコンのじゅくご)"
      expect "the computer's reading box" "read-only|||よみがな" "$(spoken text パソコンのよみがな)"
      expect "the player's jukugo box" "editable|||じゅくご" "$(spoken text あなたのじゅくご)"
      expect "the player's reading box" "editable|||よみがな" "$(spoken text あなたのよみがな)"
      expect "the bubble" "read-only|||" "$(spoken text パソコンのふきだし)"
      expect "the damage gauge" "|0/0/100||" "$(spoken "progress bar" パソコンのダメージ)"
      local shown
      for shown in "image パソコンの絵" "label パソコン" "label あなた" "label 今のダメージは"; do
        [ "$(spoken ${shown% *} "${shown#* }")" != "(not there)" ] || fail "no $shown over AT-SPI"
      done ;;
    organizer)
      expect "the organizer's table" "|||" "$(spoken table 辞書のことば)"
      expect "the organizer's count" "read-only|||現在の登録数" "$(spoken text 現在の登録数)" ;;
    dialog)
      expect "the word entry dialog" "||新しいことばを入れて下さい。|" "$(spoken dialog じゅくごをおしえて)"
      [ "$(spoken label 新しいことばを入れて下さい。)" != "(not there)" ] || fail "no label of the prompt"
      expect "its jukugo box" "editable|||じゅくご" "$(spoken text おしえるじゅくご)"
      expect "its reading box" "editable|||よみがな" "$(spoken text おしえるよみがな)" ;;
  esac
  CURRENT=$back
}

# A text editor's save while the game holds the dictionary: a pair appended to both
# files, which the end-of-match save must keep, at the end, with every pair whole.
editor_appends() {
  as_user /bin/sh -c "printf '%s\r\n' 来日 | iconv -f UTF-8 -t CP932 >>'$GAME/renkomi.jdc' &&
    printf '%s\r\n' らいにち | iconv -f UTF-8 -t CP932 >>'$GAME/renkomi.ydc'"
}
editor_word_kept() {  # editor_word_kept LINES: the files after the save
  local file; local -A last=()
  for file in jdc ydc; do
    last[$file]=$(tail -n 1 "$GAME/renkomi.$file" | tr -d '\r' | iconv -f CP932 -t UTF-8 || true)
    expect "the lines of renkomi.$file" "$1" "$(wc -l <"$GAME/renkomi.$file")"
  done
  expect "the editor's pair at the end of the files" "来日 らいにち" "${last[jdc]} ${last[ydc]}"
}

# ---- the walk-through ----------------------------------------------------------------
play() {
  item choice-tab-order
  snap; expect "the first focus" "push button:えらぶ" "$(focused)"
  keys Tab; snap; expect "the focus after Tab" "radio button:みんなの辞書を使う" "$(focused)"
  keys Down; snap
  expect "the choice after Down" 自分の辞書を使う "$(checked)"
  expect "the focus after choosing one's own dictionary" name_box "$(focused)"
  typed tanaka; keys space Return
  snap; [ -n "$(box name_box)" ] || fail "no name in the name box"
  local seen=()
  for _ in 1 2 3; do keys Tab; snap; seen+=("$(focused)"); done
  expect "Tab, Tab, Tab from the name box" \
    "radio button:自分の辞書を使う push button:えらぶ name_box" "${seen[*]}"
  keys Tab Up; snap
  expect "the choice after Up" みんなの辞書を使う "$(checked)"
  expect "the focus after Up" "radio button:みんなの辞書を使う" "$(focused)"
  [ -z "$(box name_box)" ] || fail "the name box is still shown"
  keys Return   # えらぶ, the default button
  screen_reader main

  item help-on-screen
  xdotool mousemove 1275 1019   # the keyboard alone, from here to the About box
  keys F1
  wait_for 10 "the help window (F1)" window '^Renkomi ヘルプ$|ヘルプ' || return 1
  local help hx hy hw hh mx my mw mh
  help=$(window 'ヘルプ')
  read -r hx hy hw hh < <(geometry "$help")
  read -r mx my mw mh < <(geometry "$MAIN")
  if [ "$hx" -lt 0 ] || [ "$hy" -lt 0 ] || [ $((hx + hw)) -gt 1280 ] || [ $((hy + hh)) -gt 1024 ]; then
    fail "the help window ($hw x $hh at $hx,$hy) is not fully on the 1280 x 1024 screen"
  else log "  ok: the help window is on the screen at $hx,$hy"; fi
  if [ "$hy" -ge $((my + mh)) ] || [ $((hy + hh)) -le "$my" ]; then
    fail "the help window ($hy..$((hy + hh))) is neither beside nor over the main window ($my..$((my + mh)))"
  fi
  secondary "the help window" "$help"
  xdotool windowmove "$help" 40 60; sleep 0.6
  read -r hx hy hw hh < <(geometry "$help")
  wmctrl -i -c "$help"
  wait_for 5 "the help window to close" no_window 'ヘルプ' || true
  wmctrl -i -a "$MAIN"; sleep 0.5
  keys Menu h   # the Menu key, then the item's mnemonic
  wait_for 10 "the help window again (Menu, h)" window 'ヘルプ' || return 1
  expect "the help window's place when shown again" "$hx $hy" "$(geometry "$(window 'ヘルプ')" | cut -d' ' -f1,2)"
  wmctrl -i -c "$(window 'ヘルプ')"
  wait_for 5 "the help window to close" no_window 'ヘルプ' || true

  item about-esc
  wmctrl -i -a "$MAIN"; sleep 0.5
  keys shift+F10 a
  wait_for 10 "the About box (Shift+F10, a)" window '^バージョン情報$' || return 1
  local about; about=$(window '^バージョン情報$')
  secondary "the About box" "$about"
  item title-bar-buttons
  expect "the About box's minimize and maximize" "" "$(buttons "$about")"
  comes_back "the About box" "$about"
  item about-esc
  keys Escape
  expect "the About box after Esc" IsViewable "$(map_state "$about")"
  keys Return
  wait_for 5 "the About box to close on Enter" no_window '^バージョン情報$' || true

  item organizer-focus
  keys Tab Tab   # from "はじめる" to "おしえる"
  snap
  expect "the focus before the organizer" "push button:おしえる" "$(focused)"
  local bubble; bubble=$(box bubble)
  keys Menu d   # the keyboard alone: the Menu key, then the item's mnemonic
  wait_for 15 "the organizer" window '^辞書の整理$' || return 1
  ORG=$(window '^辞書の整理$')
  screen_reader organizer

  item organizer-active
  organizer_active "by keys, the pointer away"
  local count; count=$(org_count)
  keys Down Delete   # no click: the keys go to the table
  expect "the count after Down, Delete" $((count - 1)) "$(org_count)"
  expect "the second row after Down, Delete" "" "$(org_row 1 | awk -F'\t' '$1 == "cell" { printf "%s", $7 }')"

  item organizer-first-row
  row_in_view 0 8

  item secondary-windows
  secondary "the organizer" "$ORG"
  local wait_dialog; wait_dialog=$(xdotool search --name '^辞書の整理中$' | head -1)
  expect "the progress dialog's owner (WM_TRANSIENT_FOR)" "$(hex "$MAIN")" "$(owner_of "$wait_dialog")"
  xdotool windowminimize "$MAIN"; sleep 1
  expect "the main window, minimized" IsUnMapped "$(map_state "$MAIN")"
  expect "the organizer, with the main window minimized" IsUnMapped "$(map_state "$ORG")"
  wmctrl -i -a "$MAIN"; sleep 1
  expect "the organizer, with the main window restored" IsViewable "$(map_state "$ORG")"

  item title-bar-buttons
  expect "the main window's minimize and maximize" MINIMIZE "$(buttons "$MAIN")"
  expect "the organizer's minimize and maximize" MAXIMIZE "$(buttons "$ORG")"
  wmctrl -i -r "$MAIN" -b add,maximized_vert,maximized_horz; sleep 1
  expect "the main window maximized by the window manager" no "$(maximized "$MAIN")"

  item organizer-comes-back
  comes_back "the organizer" "$ORG"

  item close-refused
  wmctrl -i -c "$MAIN"; sleep 1
  expect "the main window after the window manager's close" IsViewable "$(map_state "$MAIN")"
  alive "$GAME_PID" || fail "the game ended"

  item organizer-scroll
  # Narrower than its columns: the reading shrinks (elided), nothing scrolls away.
  xdotool windowsize "$ORG" 340 443; sleep 0.8
  row_in_view 0 8
  wmctrl -i -a "$ORG"; sleep 0.5
  keys Right
  row_in_view 0 8

  item organizer-focus
  local ox oy ow oh
  read -r ox oy ow oh < <(geometry "$ORG")
  click "$ORG" $((ow - 225 + 164)) 329   # "終了"
  wait_for 10 "the organizer to close" no_window '^辞書の整理$' || return 1
  sleep 0.5; snap
  expect "the focus after the organizer" "push button:おしえる" "$(focused)"
  expect "the bubble after the organizer" "$bubble" "$(box bubble)"

  item organizer-active
  click_right "$MAIN" 450 250
  local x y w h
  read -r x y w h < <(geometry "$MAIN")
  xdotool mousemove $((x + 450 + 40)) $((y + 250 + 12)) click 1   # the menu's first item
  wait_for 15 "the organizer, opened by mouse" window '^辞書の整理$' || return 1
  ORG=$(window '^辞書の整理$')
  organizer_active "by mouse"
  wmctrl -i -c "$ORG"
  wait_for 10 "the organizer to close" no_window '^辞書の整理$' || return 1

  item pending-conversion
  click "$MAIN" 56 366   # "はじめる"
  snap; expect "the focus in the match" user_juku "$(focused)"
  typed houkoku; keys space
  click "$MAIN" 208 285  # the reading box, with the conversion pending
  snap
  expect "the jukugo box" 報告 "$(box user_juku)"
  expect "the reading box" "" "$(box user_yomi)"
  keys ctrl+a BackSpace
  click "$MAIN" 208 237; keys ctrl+a BackSpace

  item outside-edit
  editor_appends
  item sound-no-stall
  typed kousann; keys Return   # commits こうさん
  snap; expect "the jukugo box" こうさん "$(box user_juku)"
  local loads=() ms info
  # Both cores busy, as with a build running beside the game.
  for _ in 1 2; do ( while :; do :; done ) & loads+=($!); done
  sleep 1
  # The move: Enter on こうさん gives up; the dialog tells the player.
  ms=$("$TIMER" 0xff0d 情報 10000 || true)
  end_pids "${loads[@]}"
  wait_for 10 "the end-of-match dialog" window '^情報$' || true
  info=$(window '^情報$' || true)
  if [ -n "$info" ]; then
    if [ -n "$ms" ] && [ "$ms" -lt 100 ]; then log "  ok: the dialog came $ms ms after the move, under load"
    else fail "the dialog came ${ms:-no} ms after the move under load (at most 100 ms)"; fi
    secondary "the end-of-match dialog" "$info"
    keys Return
  fi
  local alsa; alsa=$(grep -c -i alsa "$LOGS/game.err" || true)
  expect "ALSA lines in the game's error output" 0 "$alsa"

  item outside-edit   # 7 words, one deleted in the organizer, the editor's added
  editor_word_kept 7
  item pending-conversion
  wait_for 5 "the dialog to close" no_window '^情報$' || true
  click "$MAIN" 280 366   # "おしえる"
  wait_for 10 "the word entry dialog" window '^じゅくごをおしえて$' || return 1
  local teach; teach=$(window '^じゅくごをおしえて$')
  item secondary-windows
  secondary "the word entry dialog" "$teach"
  screen_reader dialog
  item title-bar-buttons
  expect "the word entry dialog's minimize and maximize" "" "$(buttons "$teach")"
  comes_back "the word entry dialog" "$teach"
  item pending-conversion
  typed houkoku; keys space
  click "$teach" 216 109   # its reading box
  snap
  expect "the dialog's jukugo box" 報告 "$(box teach_juku)"
  expect "the dialog's reading box" "" "$(box teach_yomi)"
  click "$teach" 244 160   # "やめる"
  wait_for 5 "the dialog to close" no_window '^じゅくごをおしえて$' || true
  click "$MAIN" 168 366    # "やめる": the game ends
  wait_for 10 "the game to end" sh -c "! kill -0 $GAME_PID" || true
}

# ---- files from outside ---------------------------------------------------------------
# The shared dictionary saved again by a Linux text editor (UTF-8, LF): the game
# started anew refuses it with an error naming the file, and both files stay byte
# for byte.
ITEMS+=(utf8-file-refused)
utf8_file_refused() {
  item utf8-file-refused
  local name CMD
  for name in renkomi.jdc renkomi.ydc; do
    iconv -f CP932 -t UTF-8 "$GAME/$name" | tr -d '\r' >"$WORK/$name"
    cp "$WORK/$name" "$GAME/$name"   # over the game's file: its owner and mode stay
  done
  user_command QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$GAME/renkomi"
  (cd "$GAME" && exec "${CMD[@]}" </dev/null >>"$LOGS/game.out" 2>>"$LOGS/game.err") &
  GAME_PID=$!
  wait_for 20 "the game's window, started anew" window "$MAIN_TITLE" || return 1
  MAIN=$(window "$MAIN_TITLE")
  wait_for 20 "the game over AT-SPI" snap || return 1
  keys Return   # "えらぶ" on the shared dictionary, chosen at start
  wait_for 10 "the error dialog" window '^エラー$' || return 1
  local said="ファイル $GAME/renkomi.ydc を読み込めません (UTF-8 のようです。Shift-JIS で保存してください)"
  NAMES=$(as_user timeout 20 /usr/bin/python3 "$HELPER" names || true)
  if grep -qF "$said" <<<"$NAMES"; then log "  ok: the error says '$said'"
  else fail "no error '$said' over AT-SPI"; fi
  keys Return
  wait_for 5 "the error dialog to close" no_window '^エラー$' || true
  wmctrl -i -c "$MAIN"
  wait_for 10 "the game to end" sh -c "! kill -0 $GAME_PID" || true
  for name in renkomi.jdc renkomi.ydc; do
    cmp -s "$WORK/$name" "$GAME/$name" && log "  ok: $name byte for byte" || fail "$name changed"
  done
}

HELPER=$WORK/atspi.py
up_and_play() {
  cp "$HERE/atspi.py" "$HELPER"
  chmod 644 "$HELPER"
  up || return 1
  play || return 1
  utf8_file_refused
}
CMD_PREFIX=()
CURRENT=setup
up_and_play || log "the walk-through stopped"
