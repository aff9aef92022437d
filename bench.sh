#!/usr/bin/env bash
# Builds in Release and runs the benchmark program; arguments go to it
# (for example ./bench.sh --benchmark_format=json).
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
renkomi_install_deps >&2

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DRENKOMI_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j "$(nproc)" >&2

# Where Debian's edict package is installed, the timings run on the real large
# dictionary, generated once into the build folder as run.sh generates it.
if [ -z "${RENKOMI_BENCH_DICTIONARY:-}" ] && renkomi_installed edict; then
  dictionaries=build-bench/dictionaries
  mkdir -p "$dictionaries"
  tools/make-shared-dictionary.sh build-bench/tools/edict2renkomi "$dictionaries" >&2
  large=$(compgen -G "$dictionaries/大きな辞書*.jdc" | head -n 1 || true)
  if [ -n "$large" ]; then
    export RENKOMI_BENCH_DICTIONARY=${large%.jdc}
    echo "On the large dictionary: $large" >&2
  fi
fi
exec build-bench/bench/renkomi_bench "$@"
