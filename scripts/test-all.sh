#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs the tests.
#
#   test-all.sh          the whole CTest suite of linux-x86_64, of the same
#                        with AddressSanitizer + UndefinedBehaviorSanitizer, of
#                        linux-i386 and of windows-x64 (under Wine on an Xvfb),
#                        the check that those builds render the same frames,
#                        and for windows-x86 its build and export/import tables.
#   test-all.sh --full [PRESET...]
#                        the whole suite of each given build (default: all
#                        five, windows-x86 included).
#
# windows-x86's suite is left out of the default because it needs 32-bit Wine,
# which on a kernel that cannot execute 32-bit code runs through qemu and
# takes longer to start than a CI run may (see README).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

started=$(date +%s)
seconds_since() { echo $(($(date +%s) - $1)); }

build() {
  local preset=$1
  shift
  echo "== $preset: configure and build"
  local step
  step=$(date +%s)
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" "$@"
  echo "== $preset: built in $(seconds_since "$step") s"
}

if [ "${1:-}" = "--full" ]; then
  shift
  presets=("$@")
  [ "${#presets[@]}" -gt 0 ] || presets=(linux-x86_64 linux-x86_64-asan linux-i386 windows-x64 windows-x86)
  for preset in "${presets[@]}"; do build "$preset"; done
  # One Xvfb for the whole run; the Windows builds' Wine reaches GL through it.
  # The Linux builds render through surfaceless EGL and never see it.
  bash scripts/with-xvfb.sh bash scripts/run-tests.sh "${presets[@]}"
else
  tested=(linux-x86_64 linux-x86_64-asan linux-i386 windows-x64)
  for preset in "${tested[@]}"; do build "$preset"; done
  build windows-x86 --target ZentrelV1 ffgl-host exports_probe
  for preset in linux-x86_64 linux-i386 windows-x64 windows-x86; do
    cmake --build --preset "$preset" --target dist >/dev/null
  done
  status=0
  bash scripts/with-xvfb.sh bash scripts/run-tests.sh "${tested[@]}" || status=1
  echo "== windows-x86: export and import tables"
  ctest --preset windows-x86 -R '^exports\.' || status=1
  [ "$status" -eq 0 ] || { echo "== FAILED" >&2; exit 1; }
fi

echo "== all done in $(seconds_since "$started") s"
