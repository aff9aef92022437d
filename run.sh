#!/usr/bin/env bash
# Builds the game, installs it into its program folder and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
renkomi_install_deps

# The player's dictionaries live beside the program, so the program folder is kept
# out of the build tree: neither a rebuild nor a clean build touches it.
program_folder="${RENKOMI_PROGRAM_FOLDER:-${XDG_DATA_HOME:-$HOME/.local/share}/renkomi}"

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DRENKOMI_BUILD_TESTS=OFF -DRENKOMI_BUILD_BENCH=OFF >/dev/null
cmake --build build-release -j "$(nproc)"

if [ ! -f build-release/app/renkomi ]; then
  echo "Built the engine; the game's window is not there yet."
  exit 0
fi
cmake --install build-release --prefix "$program_folder" >/dev/null
# The shared dictionary gets a real vocabulary from Debian's edict package, once:
# a dictionary the player already has is never replaced.
tools/make-shared-dictionary.sh build-release/tools/edict2renkomi "$program_folder" ||
  echo "Starting with the five built-in words."
echo "Program folder: $program_folder"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display to open the game's window on: start $program_folder/renkomi from a desktop session."
  exit 0
fi
exec "$program_folder/renkomi"
