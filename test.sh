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
  gir1.2-atspi-2.0 ibus ibus-mozc mozc-server uidmap weston qt6-wayland \
  dpkg-dev lintian appstream
# (uidmap: a test run by an ordinary user gives a file to one of the user's own
# subordinate ids, the only other owner such a user can give a file to.)
# (dpkg-dev lintian appstream: the Debian package is built and checked; its game
# makes its dictionaries on its first start from the word sources of deps.sh.)

# A build folder holding another user's files (left by a run through sudo, say)
# fails halfway through the build; say so at once, with the way out.
for dir in build build-package build-asan build-fuzz; do
  if [ -e "$dir" ] && [ -n "$(find "$dir" ! -user "$(id -u)" -print -quit)" ]; then
    echo "test.sh: $dir holds files of another user; first run: sudo chown -R $(id -un): $dir" >&2
    exit 1
  fi
done

jobs=$(nproc)

# One summary at the end of every run, passed or failed: each stage with its count
# (tests, desktop checks, fuzz runs), the failed ones by name, and the stages a
# failure kept from running. Each stage's output is kept in $logs for the counts.
logs=$(mktemp -d)
summary=() stage="" stage_counts="" stage_log=""
# The stages in the order they run; each name is written here only.
s_build="build and test" s_x11="desktop (X11)" s_wayland="desktop (Wayland)" s_package=package
s_sanitizers=sanitizers s_fuzz=fuzz
stages=("$s_build" "$s_x11" "$s_wayland" "$s_package" "$s_sanitizers" "$s_fuzz")
# NAME TITLE [COUNTS]: a stage starts; its output goes to the screen and its log.
# COUNTS, a function of the log, tells a failed stage's counts in the summary.
begin() {
  stage=$1 stage_counts=${3:-} stage_log=$logs/${#summary[@]}.log
  : >"$stage_log"
  echo "== $2"
}
record() { summary+=("$(printf '%-18s %s' "$stage" "$*")"); stage=""; }
ctest_counts() {  # LOG: "212 tests, 210 passed, 2 failed: A.b C.d"
  local log=$1 line failed
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  [ -n "$line" ] || { echo "no test ran"; return; }
  set -- $line   # 99% tests passed, 2 tests failed out of 212 ($4 and $9)
  failed=$(sed -n '/^The following tests FAILED:/,$ s/^[[:space:]]*[0-9]* - \([^ ]*\) .*/\1/p' \
             "$log" | head -n 8 | tr '\n' ' ')
  echo "$9 tests, $(($9 - $4)) passed, $4 failed${failed:+: ${failed% }}"
}
checks_counts() {  # PREFIX LOG: "40 of 42 checks pass, failed: a b"
  local line failed
  line=$(grep -E "^$1: [0-9]+ of [0-9]+ pass" "$2" | tail -n 1)
  [ -n "$line" ] || { echo "FAILED: stopped before its checks"; return; }
  failed=$(sed -n 's/^\[[0-9:]*\] FAILED  \([^:]*\):.*/\1/p' "$2" | head -n 8 | tr '\n' ' ')
  line=${line#"$1: "}
  echo "${failed:+FAILED: }${line% pass in *} checks pass${failed:+, failed: ${failed% }}"
}
finish() {
  local rc=$? name line found
  trap - EXIT
  if [ -n "$stage" ]; then
    record "FAILED (exit $rc)${stage_counts:+: $("$stage_counts" "$stage_log")}"
  fi
  echo "== Summary"
  for name in "${stages[@]}"; do
    found=""
    for line in "${summary[@]}"; do
      case $line in "$name "*) echo "$line"; found=1 ;; esac
    done
    [ -n "$found" ] || printf '%-18s %s\n' "$name" "not run"
  done
  rm -rf "$logs"
  if [ "$rc" -eq 0 ]; then echo "test.sh: every stage passed"; else echo "test.sh: FAILED"; fi
  exit "$rc"
}
trap finish EXIT

begin "$s_build" "Build and test" ctest_counts
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRENKOMI_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" 2>&1 | tee "$stage_log"
record "$(ctest_counts "$stage_log")"

prog=$(mktemp -d)
cmake --install build --prefix "$prog" >/dev/null
desktop=0
begin "$s_x11" "The installed game on a real desktop (Xvfb, openbox, ibus with mozc)"
tests/desktop/desktop-test.sh "$prog" build/tests/desktop/renkomi_dialog_timer 2>&1 |
  tee "$stage_log" || desktop=1
record "$(checks_counts desktop-test "$stage_log")"
begin "$s_wayland" "The installed game as a Wayland client (weston)"
tests/desktop/wayland-test.sh "$prog" 2>&1 | tee "$stage_log" || desktop=1
record "$(checks_counts wayland-test "$stage_log")"
rm -rf "$prog"
[ "$desktop" -eq 0 ] || exit 1

begin "$s_package" "The Debian package, and its game unpacked on a desktop as a new player"
package=0
tests/package/package-test.sh 2>&1 | tee "$stage_log" || package=1
record "$(checks_counts package-test "$stage_log")"
[ "$package" -eq 0 ] || exit 1

begin "$s_sanitizers" "Build and test with AddressSanitizer and UndefinedBehaviorSanitizer" ctest_counts
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRENKOMI_SANITIZE=ON \
  -DRENKOMI_WERROR=ON -DRENKOMI_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs" 2>&1 | tee "$stage_log"
record "$(ctest_counts "$stage_log")"

begin "$s_fuzz" "Fuzz the engine (libFuzzer, ${FUZZ_RUNS:=200000} runs per target)"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DRENKOMI_FUZZ=ON -DRENKOMI_WITH_QT=OFF -DRENKOMI_BUILD_TESTS=OFF -DRENKOMI_BUILD_BENCH=OFF \
  -DRENKOMI_WERROR=ON >/dev/null
cmake --build build-fuzz -j "$jobs"
passed=0 runs=""
for target in text_rules cut_lines cp932; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus"
  build-fuzz/tests/fuzz/fuzz_$target -runs="$FUZZ_RUNS" -max_len=1024 -print_final_stats=1 \
    "$corpus" "tests/fuzz/corpus/$target" 2>build-fuzz/fuzz_$target.log || {
    tail -n 40 build-fuzz/fuzz_$target.log
    echo "fuzz: $passed passed, 1 failed"
    record "FAILED: $passed of 3 targets pass, failed: $target (build-fuzz/fuzz_$target.log)${runs:+; passed:$runs}"
    exit 1
  }
  units=$(sed -n 's/^stat::number_of_executed_units: *//p' build-fuzz/fuzz_$target.log)
  echo "$target: ${units:-?} runs"
  runs+="${runs:+,} $target ${units:-?} runs"
  passed=$((passed + 1))
done
echo "fuzz: $passed passed, 0 failed"
record "$passed of 3 targets pass:$runs"
