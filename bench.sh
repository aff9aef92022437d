#!/usr/bin/env bash
# Builds in Release and runs the benchmark program; arguments go to it
# (for example ./bench.sh --benchmark_format=json).
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
renkomi_install_deps >&2

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DRENKOMI_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j "$(nproc)" >&2
exec build-bench/bench/renkomi_bench "$@"
