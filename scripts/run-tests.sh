#!/usr/bin/env bash
# Runs the CTest suite of each given (already built) preset, then the
# cross-build comparison when all four plain builds are among them. Called
# by test-all.sh with DISPLAY set to its Xvfb. Every preset is tested even
# when an earlier one fails; the exit status says whether all passed.
set -uo pipefail
cd "$(dirname "$0")/.."

failed=()
seconds_since() { echo $(($(date +%s) - $1)); }

for preset in "$@"; do
  echo "== $preset: test"
  step=$(date +%s)
  case "$preset" in
    windows-*)
      # The Wine prefix is made once per run, before the first test needs it.
      bash scripts/wine-run.sh "build/$preset/tools/ffgl-host/ffgl-host.exe" --help >/dev/null || true
      echo "== $preset: Wine prefix ready after $(seconds_since "$step") s"
      ctest --preset "$preset" || failed+=("$preset")
      ;;
    *)
      env -u DISPLAY ctest --preset "$preset" || failed+=("$preset")
      ;;
  esac
  echo "== $preset: tested in $(seconds_since "$step") s"
done

builds=()
for preset in linux-x86_64 linux-i386 windows-x64 windows-x86; do
  for wanted in "$@"; do
    if [ "$wanted" = "$preset" ]; then builds+=("build/$preset"); fi
  done
done
if [ "${#builds[@]}" -ge 2 ]; then
  echo "== cross-build: ${builds[*]}"
  step=$(date +%s)
  bash tests/crossbuild/compare-builds.sh "${builds[@]}" || failed+=(cross-build)
  echo "== cross-build: done in $(seconds_since "$step") s"
fi

if [ "${#failed[@]}" -gt 0 ]; then
  echo "== FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "== every test passed"
