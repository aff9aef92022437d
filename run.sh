#!/usr/bin/env bash
# Builds the game, installs it into its program folder and into the desktop's
# application menu, and starts it.
#
#   ./run.sh                              build, install, start
#   ./run.sh --uninstall [--dictionaries] remove the game, its menu entry and icon;
#                                         the dictionaries stay unless asked
set -euo pipefail
cd "$(dirname "$0")"

# The player's dictionaries live beside the program, so the program folder is kept
# out of the build tree: neither a rebuild nor a clean build touches it.
program_folder="${RENKOMI_PROGRAM_FOLDER:-${XDG_DATA_HOME:-$HOME/.local/share}/renkomi}"

if [ "${1:-}" = --uninstall ]; then
  shift
  exec tools/desktop-entry.sh remove "$program_folder" "$@"
fi

source tools/deps.sh
renkomi_install_deps

# Shows the build as one line that counts its steps; the compiler's own output
# goes to a log, shown only when the build fails.
build_quietly() {
  local log=build-release/build.log line status
  mkdir -p build-release
  set +e
  cmake --build build-release -j "$(nproc)" 2>&1 | tee "$log" | while IFS= read -r line; do
    if [[ $line =~ ^\[([0-9]+)/([0-9]+)\] ]]; then
      printf '\rBuilding: step %s of %s ' "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}"
    fi
  done
  status=${PIPESTATUS[0]}
  set -e
  printf '\r\033[K'
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "The build failed; the whole log is $log."
    exit "$status"
  fi
}

if [ ! -f build-release/app/renkomi ]; then
  echo "Building the game for the first time: about two minutes on two cores."
fi
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DRENKOMI_BUILD_TESTS=OFF -DRENKOMI_BUILD_BENCH=OFF >/dev/null
build_quietly

cmake --install build-release --prefix "$program_folder" >/dev/null
# The generated dictionaries get their words from Debian's edict package, once: a
# dictionary the player already has is never replaced, only corrected.
tools/make-shared-dictionary.sh build-release/tools/edict2renkomi "$program_folder" ||
  echo "Starting with the five built-in words."
tools/desktop-entry.sh install "$program_folder"
echo "Program folder: $program_folder"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display to open the game's window on: start Renkomi from the desktop's menu, or $program_folder/renkomi."
  exit 0
fi
exec "$program_folder/renkomi"
