#!/usr/bin/env bash
# Gives the game real vocabularies from Debian's edict package: the shared
# dictionary (renkomi.jdc and renkomi.ydc, the common words), the large
# dictionary ("大きな辞書" and its size, every word) and, with kanjidic, the school
# dictionary ("小学生の辞書" and its size), each only when the program folder does
# not hold it yet; the ones an earlier version made get the generator's own pairs
# corrected, once, and every pair the player taught stays as it is. Without the
# package the game still starts and seeds its five built-in words, so failing to
# install it is reported but is no error.
#
#   tools/make-shared-dictionary.sh <path of edict2renkomi> <program folder>
set -uo pipefail

if [ "$#" -ne 2 ]; then
  echo "Usage: $0 <path of edict2renkomi> <program folder>" >&2
  exit 2
fi
tool=$1
folder=$2

has_shared() {
  [ -e "$folder/renkomi.jdc" ] || [ -L "$folder/renkomi.jdc" ] ||
    [ -e "$folder/renkomi.ydc" ] || [ -L "$folder/renkomi.ydc" ]
}
has_large() {
  compgen -G "$folder/大きな辞書*.[jy]dc" >/dev/null
}
source "$(dirname "$0")/deps.sh"
installed() { renkomi_installed edict; }
# Dictionaries that are there are only corrected, which needs edict as it is:
# nothing is installed for them.
if has_shared && has_large && ! installed; then
  exit 0
fi

if ! installed; then
  echo "Installing edict, the word list for the shared dictionary"
  sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  apt_install() {
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
      -o DPkg::Lock::Timeout=300 edict
  }
  # The package lists may be missing or stale; refresh them only when needed.
  apt_install || { "${sudo[@]}" apt-get update -q && apt_install; }
  if ! installed; then
    echo "Could not install edict; the shared dictionary starts with the five built-in words, and there is no large dictionary." >&2
    exit 0
  fi
fi

edict_file=
while IFS= read -r path; do
  if [ "${path##*/}" = edict ] && [ -f "$path" ]; then
    edict_file=$path
    break
  fi
done < <(dpkg -L edict 2>/dev/null)
if [ -z "$edict_file" ]; then
  echo "The edict package holds no dictionary file; the shared dictionary starts with the five built-in words." >&2
  exit 0
fi

if ! "$tool" "$edict_file" "$folder"; then
  echo "The dictionaries were not generated; the shared one starts with the five built-in words." >&2
  exit 1
fi
