#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Kelvane
# need. Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev libgl1-mesa-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    libgcab-dev gcab
    libpng-dev help2man
    fonts-liberation2 fonts-dejavu-core fonts-wqy-microhei
    xvfb xauth
    desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
