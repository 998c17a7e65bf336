#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need.
# Idempotent: a machine that already has them is left as it is.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
    libcurl4-openssl-dev libssl-dev zlib1g-dev libarchive-dev libstb-dev uuid-dev
    libcairo2-dev libpango1.0-dev libx11-dev libxext-dev
    fonts-wqy-microhei fontconfig 7zip
    curl iproute2 util-linux nginx openssl python3 xvfb xdotool x11-apps xcompmgr
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
