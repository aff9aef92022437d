#!/usr/bin/env bash
# Builds everything and runs every test, then does it again under AddressSanitizer
# and UndefinedBehaviorSanitizer. Any failure or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
renkomi_install_deps

jobs=$(nproc)

echo "== Build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRENKOMI_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRENKOMI_SANITIZE=ON \
  -DRENKOMI_WERROR=ON -DRENKOMI_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
