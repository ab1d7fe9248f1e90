#!/usr/bin/env bash
# Installs the Debian packages the project needs (when missing), then configures and builds it.
# With --fuzz: clang and its fuzzing runtime too, and the fuzz targets are built in build-fuzz
# with the sanitizers instead.
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz=false
[ "${1:-}" = --fuzz ] && fuzz=true

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6sql6-sqlite libsqlite3-dev libxlsxwriter-dev libicu-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk unzip python3-openpyxl qt6-translations-l10n
)

$fuzz && packages+=(clang libclang-rt-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

if $fuzz; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DVELLOMAR_FUZZ=ON -DVELLOMAR_BUILD_BENCH=OFF
  cmake --build build-fuzz --target fuzz_targets --parallel "$(nproc)"
  exit
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}"
cmake --build build --parallel "$(nproc)"
