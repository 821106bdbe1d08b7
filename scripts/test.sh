#!/usr/bin/env bash
# Builds everything and runs every test (core, GUI offscreen, Setup, tool).
# Then builds the configuration without the GUI (core, its tests and
# kelvane-tool) in build-nogui/ and runs its tests: Qt is not even looked for
# there, so a Qt include that slipped into core fails here. That build is a
# debug build, so the checks only debug builds make run as well.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$(nproc)"

cmake -S . -B build-nogui -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVANE_BUILD_GUI=OFF >/dev/null
cmake --build build-nogui
ctest --test-dir build-nogui --output-on-failure -j "$(nproc)"
