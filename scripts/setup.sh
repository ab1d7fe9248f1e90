#!/usr/bin/env bash
# Installs the Debian packages the project needs (when missing), then configures and builds it.
# With --sanitize: clang and its sanitizer and fuzzing runtimes too, and the whole tree is built in
# build-sanitize instead: Debug (the asserts on), with the address and undefined behaviour
# sanitizers and libFuzzer's coverage, so its tests and its fuzz targets come from one build.
# With --fuzz: the same, building only the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=false
target=all
case "${1:-}" in
  --sanitize) sanitize=true ;;
  --fuzz) sanitize=true; target=fuzz_targets ;;
esac

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6sql6-sqlite libsqlite3-dev libxlsxwriter-dev libicu-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk unzip python3-openpyxl qt6-translations-l10n
)

$sanitize && packages+=(clang libclang-rt-dev)

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

if $sanitize; then
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DVELLOMAR_FUZZ=ON -DVELLOMAR_BUILD_BENCH=OFF
  cmake --build build-sanitize --target "$target" --parallel "$(nproc)"
  exit
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}"
cmake --build build --parallel "$(nproc)"
