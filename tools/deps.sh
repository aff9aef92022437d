#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only when one is
# missing: edict, mecab-ipadic and kanjidic are the sources of the generated
# dictionaries' words and readings. Sourced by run.sh, test.sh, bench.sh and
# make-shared-dictionary.sh; pass extra package names to add.

# True when the Debian package is installed (not merely known or half removed).
renkomi_installed() {
  dpkg-query -W -f='${Status}\n' "$1" 2>/dev/null | grep -q '^install ok installed$'
}

renkomi_install_deps() {
  local packages=(build-essential cmake ninja-build pkg-config qt6-base-dev
    libcanberra-dev libgtest-dev libbenchmark-dev xvfb xauth
    fonts-ipaexfont-gothic qt6-translations-l10n clang libclang-rt-14-dev libasound2-dev
    libxcb1-dev libxcb-xtest0-dev desktop-file-utils edict mecab-ipadic kanjidic "$@")
  local missing=() p
  for p in "${packages[@]}"; do
    renkomi_installed "$p" || missing+=("$p")
  done
  [ "${#missing[@]}" -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -q || return 1
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    -o DPkg::Lock::Timeout=300 "${missing[@]}"
}
