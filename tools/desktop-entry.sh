#!/usr/bin/env bash
# Puts the installed game into the desktop's application menu for the current
# user, or takes it out again with the program.
#
#   tools/desktop-entry.sh install <program folder>
#       the menu entry $XDG_DATA_HOME/applications/renkomi.desktop, starting the
#       game from its program folder, and its icon in the hicolor theme at 48, 64
#       and 128 pixels ($XDG_DATA_HOME/icons/hicolor/<size>/apps/renkomi.png)
#   tools/desktop-entry.sh remove <program folder> [--dictionaries]
#       the menu entry, the icons and the program (executable, help, sounds); the
#       player's dictionaries stay unless --dictionaries is given
#
# $XDG_DATA_HOME defaults to ~/.local/share.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
data_home=${XDG_DATA_HOME:-$HOME/.local/share}
entry=$data_home/applications/renkomi.desktop
sizes=(48 64 128)

usage() {
  echo "Usage: $0 install <program folder> | remove <program folder> [--dictionaries]" >&2
  exit 2
}

# A path as one argument of the entry's Exec key: quoted, with the characters
# that stay special inside the quotes escaped, then escaped again as a string.
exec_argument() {
  local quoted=$1
  quoted=${quoted//\\/\\\\}
  quoted=${quoted//\"/\\\"}
  quoted=${quoted//\`/\\\`}
  quoted=${quoted//\$/\\\$}
  quoted="\"$quoted\""
  printf '%s' "${quoted//\\/\\\\}"
}

# A path as a plain string value: only backslashes are escaped.
string_value() { printf '%s' "${1//\\/\\\\}"; }

# The menu learns of a change when the desktop database and the icon cache are
# refreshed; without the tools (a bare system) the menu finds the files anyway.
refresh_menu() {
  if command -v update-desktop-database >/dev/null 2>&1; then
    update-desktop-database -q "$data_home/applications" 2>/dev/null || true
  fi
  if command -v gtk-update-icon-cache >/dev/null 2>&1 && [ -f "$data_home/icons/hicolor/index.theme" ]; then
    gtk-update-icon-cache -q -t "$data_home/icons/hicolor" 2>/dev/null || true
  fi
}

install_entry() {
  local folder=$1 size
  [ -x "$folder/renkomi" ] || { echo "No game in $folder to add to the menu." >&2; exit 1; }
  folder=$(cd "$folder" && pwd)
  for size in "${sizes[@]}"; do
    mkdir -p "$data_home/icons/hicolor/${size}x${size}/apps"
    cp "$here/../resources/desktop/renkomi-$size.png" "$data_home/icons/hicolor/${size}x${size}/apps/renkomi.png"
  done
  mkdir -p "$data_home/applications"
  # The package's entry, started from the program folder instead.
  local line
  while IFS= read -r line; do
    case $line in
      Exec=*) printf 'Exec=%s\nPath=%s\n' "$(exec_argument "$folder/renkomi")" "$(string_value "$folder")" ;;
      *) printf '%s\n' "$line" ;;
    esac
  done <"$here/../packaging/renkomi.desktop" >"$entry.tmp"
  mv "$entry.tmp" "$entry"
  refresh_menu
  echo "Menu entry: $entry"
}

remove_entry() {
  local folder=$1 dictionaries=${2:-} size
  rm -f "$entry"
  for size in "${sizes[@]}"; do rm -f "$data_home/icons/hicolor/${size}x${size}/apps/renkomi.png"; done
  refresh_menu
  if [ -d "$folder" ]; then
    rm -f "$folder/renkomi" "$folder/renkomiwin32.hlp"
    rm -rf "$folder/media"
    if [ "$dictionaries" = --dictionaries ]; then
      rm -f "$folder"/*.jdc "$folder"/*.ydc
    fi
    # The folder goes only when nothing of the player's is left in it.
    rmdir "$folder" 2>/dev/null || echo "Kept in $folder: $(ls -A "$folder" | tr '\n' ' ')"
  fi
  echo "Removed the game, its menu entry and its icon."
}

case ${1:-} in
  install) [ $# -eq 2 ] || usage; install_entry "$2" ;;
  remove)
    [ $# -eq 2 ] || { [ $# -eq 3 ] && [ "$3" = --dictionaries ]; } || usage
    remove_entry "$2" "${3:-}" ;;
  *) usage ;;
esac
