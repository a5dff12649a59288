#!/usr/bin/env bash
# Installs what is missing, builds the Linux x86-64 preset and renders the
# effect at its defaults on the built-in test picture to out/zentrel.png.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset linux-x86_64 >/dev/null
cmake --build --preset linux-x86_64

mkdir -p out
build/linux-x86_64/tools/ffgl-host/ffgl-host render build/linux-x86_64/plugin/ZentrelV1.so \
  --quiet -o out/zentrel.png
echo "$(pwd)/out/zentrel.png"
