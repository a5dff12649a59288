#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test: the
# whole CTest suite of each build (natively for Linux, under Wine on an Xvfb
# for Windows), then a check that all four builds render the same frames.
# Usage: test-all.sh [PRESET...] (default: all of them).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

if [ "$#" -gt 0 ]; then
  presets=("$@")
else
  presets=(linux-x86_64 linux-x86_64-asan linux-i386 windows-x64 windows-x86)
fi

started=$(date +%s)
seconds_since() { echo $(($(date +%s) - $1)); }

for preset in "${presets[@]}"; do
  echo "== $preset: configure and build"
  step=$(date +%s)
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: built in $(seconds_since "$step") s"
done

# One Xvfb for the whole run; the Windows builds' Wine reaches GL through it.
# The Linux builds render through surfaceless EGL and never see it.
bash scripts/with-xvfb.sh bash scripts/run-tests.sh "${presets[@]}"

echo "== all done in $(seconds_since "$started") s"
