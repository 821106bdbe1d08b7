#!/usr/bin/env bash
# Configures and builds Kelvane into build/ (Release with debug info).
# KELVANE_WERROR=ON in the environment makes every compiler warning an error
# (CI sets it); unset, the build keeps the choice it was configured with.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    ${KELVANE_WERROR:+-DKELVANE_WERROR=$KELVANE_WERROR} >/dev/null
cmake --build build "$@"
