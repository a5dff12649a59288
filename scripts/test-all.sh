#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs the tests.
#
#   test-all.sh          the whole suite of the two native x86-64 builds (plain
#                        and with AddressSanitizer + UndefinedBehaviorSanitizer),
#                        and for linux-i386, windows-x64 and windows-x86 their
#                        plug-in, ffgl-host and the export/import table checks.
#   test-all.sh --full [PRESET...]
#                        the whole CTest suite of each build (natively for
#                        Linux, under Wine on an Xvfb for Windows), then the
#                        check that all four builds render the same frames.
#
# The default stops short of running the 32-bit and Windows suites because a
# machine whose kernel cannot execute 32-bit code runs them through qemu,
# which takes far longer than a CI run may (see README).
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
  native=(linux-x86_64 linux-x86_64-asan)
  cross=(linux-i386 windows-x64 windows-x86)
  for preset in "${native[@]}"; do build "$preset"; done
  for preset in "${cross[@]}"; do
    build "$preset" --target ZentrelV1 ffgl-host exports_probe
  done
  bash scripts/run-tests.sh "${native[@]}"
  failed=0
  for preset in "${cross[@]}"; do
    echo "== $preset: export and import tables"
    ctest --preset "$preset" -R '^exports\.' || failed=1
  done
  [ "$failed" -eq 0 ] || { echo "== FAILED: export checks" >&2; exit 1; }
fi

echo "== all done in $(seconds_since "$started") s"
