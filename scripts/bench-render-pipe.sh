#!/usr/bin/env bash
# Throughput of `ffgl-host render` on the raw pipe: frames from a file on
# stdin, frames to /dev/null, so that ffmpeg's own cost is left out.
# Usage: scripts/bench-render-pipe.sh [BUILD_DIR] [WxH] [FRAMES]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/linux-x86_64}
size=${2:-1920x1080}
frames=${3:-200}
host="$build/tools/ffgl-host/ffgl-host"
input=$(mktemp --suffix=.raw)
trap 'rm -f "$input"' EXIT

ffmpeg -v error -y -f lavfi -i "testsrc=size=$size:rate=30" -frames:v "$frames" \
  -f rawvideo -pix_fmt rgba "$input"

run() {
  local label=$1 plugin=$2 start end
  start=$(date +%s.%N)
  "$host" render "$plugin" -i - --size "$size" --quiet -o - <"$input" >/dev/null
  end=$(date +%s.%N)
  awk -v l="$label" -v n="$frames" -v s="$start" -v e="$end" \
    'BEGIN { printf "%-40s %d frames in %.2f s: %.1f fps\n", l, n, e - s, n / (e - s) }'
}

run "ZentrelV1 $size" "$build/plugin/ZentrelV1.so"
# The clear-only test fixture: what the host itself costs per frame.
fixture="$build/tests/host/fixture_odd_answers.so"
if [ -e "$fixture" ]; then run "host alone (clear-only fixture) $size" "$fixture"; fi
