#!/usr/bin/env bash
# Builds everything and runs every test (core, GUI offscreen, Setup, tool,
# and the replay of every fuzz input kept under tests/fuzz).
#
# Then builds the configuration without the GUI (core, its tests, kelvane-tool
# and the Setup core) in build-nogui/ with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs its tests there: any report of either
# fails the run. Qt is not even looked for in that build, so a Qt include that
# slipped into core fails here too; it is a debug build, so the checks only
# debug builds make run as well.
#
# KELVANE_WERROR=ON in the environment (CI sets it) makes a compiler warning
# fail both builds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$(nproc)"

cmake -S . -B build-nogui -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVANE_BUILD_GUI=OFF \
    -DKELVANE_BUILD_BENCH=OFF -DKELVANE_SANITIZE=ON \
    ${KELVANE_WERROR:+-DKELVANE_WERROR=$KELVANE_WERROR} >/dev/null
cmake --build build-nogui
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-nogui --output-on-failure -j "$(nproc)"
