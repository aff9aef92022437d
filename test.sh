#!/usr/bin/env bash
# Builds everything and runs every test, then plays the installed game on a real
# desktop (X server, window manager, Japanese input method), then builds and tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then runs each fuzz
# target for a bounded number of runs. Any failure or sanitizer report fails the run.
# FUZZ_RUNS sets the runs per fuzz target (see the README for longer runs).
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
# The desktop suite's X server, window manager, input method and accessibility bus,
# and for its Wayland run the weston compositor and Qt's Wayland plugin.
renkomi_install_deps openbox xdotool wmctrl x11-utils dbus at-spi2-core python3-gi \
  gir1.2-atspi-2.0 ibus ibus-mozc mozc-server uidmap weston qt6-wayland
# (uidmap: a test run by an ordinary user gives a file to one of the user's own
# subordinate ids, the only other owner such a user can give a file to.)

# A build folder holding another user's files (left by a run through sudo, say)
# fails halfway through the build; say so at once, with the way out.
for dir in build build-asan build-fuzz; do
  if [ -e "$dir" ] && [ -n "$(find "$dir" ! -user "$(id -u)" -print -quit)" ]; then
    echo "test.sh: $dir holds files of another user; first run: sudo chown -R $(id -un): $dir" >&2
    exit 1
  fi
done

jobs=$(nproc)

echo "== Build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRENKOMI_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== The installed game on a real desktop (Xvfb, openbox, ibus with mozc)"
prog=$(mktemp -d)
cmake --install build --prefix "$prog" >/dev/null
desktop=0
tests/desktop/desktop-test.sh "$prog" build/tests/desktop/renkomi_dialog_timer || desktop=$?
echo "== The installed game as a Wayland client (weston)"
tests/desktop/wayland-test.sh "$prog" || desktop=$((desktop + $?))
rm -rf "$prog"
[ "$desktop" -eq 0 ] || exit 1

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRENKOMI_SANITIZE=ON \
  -DRENKOMI_WERROR=ON -DRENKOMI_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== Fuzz the engine (libFuzzer, ${FUZZ_RUNS:=200000} runs per target)"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DRENKOMI_FUZZ=ON -DRENKOMI_WITH_QT=OFF -DRENKOMI_BUILD_TESTS=OFF -DRENKOMI_BUILD_BENCH=OFF \
  -DRENKOMI_WERROR=ON >/dev/null
cmake --build build-fuzz -j "$jobs"
passed=0
for target in text_rules cut_lines cp932; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus"
  build-fuzz/tests/fuzz/fuzz_$target -runs="$FUZZ_RUNS" -max_len=1024 -print_final_stats=1 \
    "$corpus" "tests/fuzz/corpus/$target" 2>build-fuzz/fuzz_$target.log || {
    tail -n 40 build-fuzz/fuzz_$target.log
    echo "fuzz: $passed passed, 1 failed"
    exit 1
  }
  grep -E '^stat::number_of_executed_units' build-fuzz/fuzz_$target.log | sed "s/^/$target: /"
  passed=$((passed + 1))
done
echo "fuzz: $passed passed, 0 failed"
