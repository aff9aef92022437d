#!/usr/bin/env bash
# The Debian package as a player gets it: its files, lintian and the AppStream
# validator, then the game unpacked from it (dpkg -x) into a root of its own and
# started there on a desktop (Xvfb, openbox, a session bus with the accessibility
# bus) by a player with an empty XDG_DATA_HOME: the first start makes the three
# dictionaries from the word sources, the choice panel shows, the help opens, one
# move is played, quitting leaves the dictionaries, and the next start corrects a
# shared dictionary as an earlier version left it.
#
#   tests/package/package-test.sh [DEB]
#
# Without DEB it builds the package first with ./package.sh. Exit status: the
# number of failed checks. Needs lintian appstream desktop-file-utils, the word
# sources (edict mecab-ipadic kanjidic) and what the desktop suite needs. As root
# the game runs as user nobody, as in the desktop suite. Every process the run
# starts is ended by its PID; the run's folder, with the logs, is kept when a
# check fails.
set -Eeuo pipefail
export LC_ALL=C.UTF-8

HERE=$(cd "$(dirname "$0")" && pwd)
REPO=$(cd "$HERE/../.." && pwd)
if [ $# -ge 1 ]; then
  DEB=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
else
  "$REPO/package.sh"
  DEB=$REPO/renkomi_2.0.0_amd64.deb
fi
[ -f "$DEB" ] || { echo "package-test: no package $DEB" >&2; exit 2; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/renkomi-package-XXXXXX")
chmod 755 "$WORK"
RT=$WORK/run HOMEDIR=$WORK/home ROOT=$WORK/root LOGS=$WORK/logs
PLAYER_FOLDER=$HOMEDIR/.local/share/renkomi
MARK=RENKOMI_PACKAGE_TEST=$WORK
if [ "$(id -u)" -eq 0 ]; then RUNAS=nobody; else RUNAS=$(id -un); fi
SUITE=package-test
source "$REPO/tests/desktop/harness.sh"

ITEMS=(file-list lintian appstream first-start choice-panel help one-move quit-keeps-dictionaries
  corrects-earlier-words)
start_marking
mkdir -p "$RT" "$HOMEDIR" "$LOGS"
chmod 700 "$RT"

# ---- the package ---------------------------------------------------------------------
EXPECTED_FILES='/usr/games/renkomi
/usr/share/applications/renkomi.desktop
/usr/share/doc/renkomi/changelog.gz
/usr/share/doc/renkomi/copyright
/usr/share/icons/hicolor/128x128/apps/renkomi.png
/usr/share/icons/hicolor/48x48/apps/renkomi.png
/usr/share/icons/hicolor/64x64/apps/renkomi.png
/usr/share/icons/hicolor/scalable/apps/renkomi.svg
/usr/share/man/man6/renkomi.6.gz
/usr/share/metainfo/io.github.renkomi.renkomi.metainfo.xml
/usr/share/renkomi/media/Chimes.wav
/usr/share/renkomi/media/Tada.wav
/usr/share/renkomi/renkomiwin32.hlp'

item file-list
# Files only (the folders follow from them); no generated dictionary ships.
expect "the package's files" "$EXPECTED_FILES" \
  "$(dpkg-deb --fsys-tarfile "$DEB" | tar -t | grep -v '/$' | sed 's:^\./:/:' | sort)"
expect "the executable's mode" "-rwxr-xr-x root/root" \
  "$(dpkg-deb -c "$DEB" | awk '$NF == "./usr/games/renkomi" { print $1, $2 }')"
expect "the recommended packages" "edict, mecab-ipadic, kanjidic, fonts-ipaexfont-gothic, qt6-translations-l10n" "$(dpkg-deb -f "$DEB" Recommends)"
depends=$(dpkg-deb -f "$DEB" Depends)
case $depends in *libqt6widgets6*) log "  ok: Depends from the binary: $depends" ;;
  *) fail "Depends does not name the Qt libraries: '$depends'" ;; esac

item lintian
lintian "$DEB" >"$LOGS/lintian.txt" 2>&1 || true
expect "lintian's errors" "" "$(grep '^E:' "$LOGS/lintian.txt" || true)"
grep '^W:' "$LOGS/lintian.txt" | while IFS= read -r line; do log "  lintian: $line"; done || true

item appstream
dpkg -x "$DEB" "$ROOT"
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/io.github.renkomi.renkomi.metainfo.xml" \
  >"$LOGS/appstream.txt" 2>&1 || fail "appstreamcli validate: $(tr '\n' ' ' <"$LOGS/appstream.txt")"
desktop-file-validate "$ROOT/usr/share/applications/renkomi.desktop" >"$LOGS/desktop-file.txt" 2>&1 ||
  fail "desktop-file-validate: $(tr '\n' ' ' <"$LOGS/desktop-file.txt")"
expect "the metadata's launchable" renkomi.desktop \
  "$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' \
     "$ROOT/usr/share/metainfo/io.github.renkomi.renkomi.metainfo.xml")"

# ---- the game from the unpacked root ----------------------------------------------------
HELPER=$WORK/atspi.py
atspi() { as_user timeout 20 /usr/bin/python3 "$HELPER" "$@"; }
box() { atspi state | awk -F'\t' -v n="$1" '$1 == "box" && $2 == n { print $3 }'; }
window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 | grep .; }
keys() { xdotool key --delay 80 "$@"; sleep 0.6; }
large_files() { ls "$PLAYER_FOLDER" 2>/dev/null | grep -c '^大きな辞書[0-9]*万語\.[jy]dc$' || true; }
school_files() { ls "$PLAYER_FOLDER" 2>/dev/null | grep -c '^小学生の辞書[0-9]*語\.[jy]dc$' || true; }
both_dictionaries() {
  [ -s "$PLAYER_FOLDER/renkomi.jdc" ] && [ -s "$PLAYER_FOLDER/renkomi.ydc" ] && [ "$(large_files)" = 2 ] &&
    [ "$(school_files)" = 2 ]
}
# The reading a dictionary gives a jukugo (UTF-8 in and out).
reading_of() {
  paste -d ' ' <(iconv -f CP932 -t UTF-8 "$PLAYER_FOLDER/$1.jdc") <(iconv -f CP932 -t UTF-8 "$PLAYER_FOLDER/$1.ydc") |
    tr -d '\r' | awk -v w="$2" '$1 == w { print $2 }'
}
choice_panel_read() { atspi names | grep -q $'^push button\tえらぶ'; }
MAIN_TITLE='^Renkomi Ver\.2\.0$'

up() {
  cp "$REPO/tests/desktop/atspi.py" "$HELPER"
  chmod 644 "$HELPER"
  [ "$(id -u)" -ne 0 ] || chown -R "$RUNAS:" "$RT" "$HOMEDIR"
  start_x_server || return 1
  GAME_ENV=(DISPLAY="$DISPLAY")
  start_openbox || return 1
  start_session_bus || return 1
  start_game
}

start_game() {
  local CMD
  user_command QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$ROOT/usr/games/renkomi"
  (cd "$HOMEDIR" && exec "${CMD[@]}" </dev/null >"$LOGS/game.out" 2>"$LOGS/game.err") &
  GAME_PID=$!
  STARTED_AT=$(date +%s%N)
}

play() {
  item first-start
  wait_for 60 "the game's window" window "$MAIN_TITLE" || return 1
  log "  the main window came $((($(date +%s%N) - STARTED_AT) / 1000000)) ms after the start"
  if both_dictionaries; then
    log "  ok: $(cd "$PLAYER_FOLDER" && ls | tr '\n' ' ')"
  else
    fail "the player's folder holds '$(ls "$PLAYER_FOLDER" 2>/dev/null | tr '\n' ' ')', not the three dictionaries"
  fi
  expect "the lines of the shared dictionary's two files" \
    "$(awk 'END { print NR }' "$PLAYER_FOLDER/renkomi.jdc")" "$(awk 'END { print NR }' "$PLAYER_FOLDER/renkomi.ydc")"
  # Read as a Japanese reader reads them, not by edict's kana order.
  expect "the readings of 眼鏡 and 下手" "めがね へた" \
    "$(reading_of 大きな辞書10万語 眼鏡) $(reading_of renkomi 下手)"
  LARGE_SUM=$(cat "$PLAYER_FOLDER"/大きな辞書*.[jy]dc | md5sum)

  item choice-panel
  wait_for 20 "the game over AT-SPI" atspi state || return 1
  wait_for 10 "the choice panel's button えらぶ" choice_panel_read || true
  atspi names >"$LOGS/names.txt" 2>&1 || true
  grep -q $'^push button\tえらぶ' "$LOGS/names.txt" || fail "no button えらぶ over AT-SPI"
  grep -q $'^radio button\tみんなの辞書を使う' "$LOGS/names.txt" || fail "no choice みんなの辞書を使う over AT-SPI"
  atspi press えらぶ
  sleep 1

  item help
  keys F1
  wait_for 10 "the help window (F1)" window 'ヘルプ' || true
  if window '^エラー$' >/dev/null; then fail "an error dialog instead of the help"; keys Return; fi
  local help
  if help=$(window 'ヘルプ'); then xdotool windowclose "$help" 2>/dev/null || keys Escape; sleep 0.6; fi

  item one-move
  atspi press はじめる
  sleep 1
  local opening reply
  opening=$(box comp_juku)
  [ -n "$opening" ] || { fail "the computer did not open"; return 1; }
  log "  the computer opened with $opening"
  xdotool windowactivate --sync "$(window "$MAIN_TITLE")" 2>/dev/null || true
  atspi put user_juku "${opening: -1}日"; keys Return
  atspi put user_yomi てすと; keys Return
  sleep 1
  reply=$(box comp_juku)
  log "  the computer answered ${opening: -1}日 with $reply"
  expect "the first kanji of the computer's answer to ${opening: -1}日" 日 "${reply:0:1}"

  item quit-keeps-dictionaries
  wmctrl -c 'Renkomi Ver.2.0'
  local rc=0
  wait_for 15 "the game to end" sh -c "! kill -0 $GAME_PID" || return 1
  wait "$GAME_PID" || rc=$?
  expect "the game's exit status" 0 "$rc"
  both_dictionaries || fail "the player's folder holds '$(ls "$PLAYER_FOLDER" | tr '\n' ' ')' after quitting"
  expect "the large dictionary after quitting" "$LARGE_SUM" "$(cat "$PLAYER_FOLDER"/大きな辞書*.[jy]dc | md5sum)"
  expect "the lines of the shared dictionary's two files after quitting" \
    "$(awk 'END { print NR }' "$PLAYER_FOLDER/renkomi.jdc")" "$(awk 'END { print NR }' "$PLAYER_FOLDER/renkomi.ydc")"

  item corrects-earlier-words
  # The shared dictionary as an earlier version left it: 下手 read したて, its
  # first common reading in edict, and no record of the words. The player taught
  # 炬燵猫 since. The next start gives 下手 へた and changes nothing else.
  cp "$PLAYER_FOLDER/renkomi.jdc" "$PLAYER_FOLDER/renkomi.ydc" "$WORK/"
  python3 - "$PLAYER_FOLDER" <<'PY'
import sys
folder = sys.argv[1]
jdc, ydc = (open(f"{folder}/renkomi.{e}", "rb").read().split(b"\r\n")[:-1] for e in ("jdc", "ydc"))
ydc[jdc.index("下手".encode("cp932"))] = "したて".encode("cp932")
for name, lines, taught in (("jdc", jdc, "炬燵猫"), ("ydc", ydc, "こたつねこ")):
    with open(f"{folder}/renkomi.{name}", "wb") as f:  # in place, keeping the file's owner
        f.write(b"".join(l + b"\r\n" for l in lines + [taught.encode("cp932")]))
PY
  rm -f "$PLAYER_FOLDER/renkomi.gen"
  printf '%s\r\n' 炬燵猫 | iconv -f UTF-8 -t CP932 >>"$WORK/renkomi.jdc"
  printf '%s\r\n' こたつねこ | iconv -f UTF-8 -t CP932 >>"$WORK/renkomi.ydc"
  start_game
  wait_for 60 "the game's window" window "$MAIN_TITLE" || return 1
  wmctrl -c 'Renkomi Ver.2.0'
  wait_for 15 "the game to end" sh -c "! kill -0 $GAME_PID" || return 1
  expect "the corrected shared dictionary" "same same" \
    "$(cmp -s "$WORK/renkomi.jdc" "$PLAYER_FOLDER/renkomi.jdc" && echo same) $(cmp -s "$WORK/renkomi.ydc" "$PLAYER_FOLDER/renkomi.ydc" && echo same)"
  [ -s "$PLAYER_FOLDER/renkomi.gen" ] || fail "no record of the corrected words"
}

CURRENT=setup
{ up && play; } || log "the walk-through stopped"
