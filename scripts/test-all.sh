#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

presets=(linux-x86_64 linux-x86_64-asan)
for preset in "${presets[@]}"; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
for preset in "${presets[@]}"; do
  echo "== $preset: test"
  ctest --preset "$preset"
done
