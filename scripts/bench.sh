#!/usr/bin/env bash
# Measures ZentrelV1 and writes docs/performance.md: frame time against a
# pass-through shader (ffgl-host bench), end-to-end throughput of
# `ffgl-host render` on a raw 1080p pipe against ffmpeg's geq filter doing
# the same colour wave, and the GL calls per frame counted with apitrace.
# Usage: scripts/bench.sh   (BUILD_DIR, PIPE_FRAMES, GEQ_FRAMES, BENCH_FRAMES
#                            override the defaults)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/linux-x86_64-release}
pipe_frames=${PIPE_FRAMES:-300}
geq_frames=${GEQ_FRAMES:-30}
bench_frames=${BENCH_FRAMES:-60}
size=1920x1080
out=docs/performance.md

cmake --preset linux-x86_64 -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target ffgl-host ZentrelV1 >/dev/null
host="$build/tools/ffgl-host/ffgl-host"
plugin="$build/plugin/ZentrelV1.so"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "bench.sh: frame times" >&2
"$host" bench "$plugin" --frames "$bench_frames" | tee "$work/bench.txt" >&2

echo "bench.sh: $pipe_frames raw ${size} frames through the pipe" >&2
ffmpeg -v error -y -f lavfi -i "testsrc=size=$size:rate=30" -frames:v "$pipe_frames" \
  -f rawvideo -pix_fmt rgba "$work/frames.raw"
seconds() { awk -v s="$1" -v e="$2" 'BEGIN { printf "%.3f", e - s }'; }
start=$(date +%s.%N)
cat "$work/frames.raw" | "$host" render "$plugin" -i - --size "$size" --quiet -o - >/dev/null
end=$(date +%s.%N)
pipe_seconds=$(seconds "$start" "$end")
pipe_fps=$(awk -v n="$pipe_frames" -v t="$pipe_seconds" 'BEGIN { printf "%.1f", n / t }')

# The colour wave at the default parameters and time 0: saturation 0.5
# leaves the colour as it is, RGBDecal 0 shifts nothing, Threshold 0 makes
# the mask 1 and mode 0 leaves alpha alone, so each colour channel becomes
# sin(2 x 3.1415 v + 3.1415), clamped to [0, 1] as an 8-bit framebuffer does.
wave() { echo "255*clip(sin(2*3.1415*$1(X,Y)/255+3.1415),0,1)"; }
geq="geq=r='$(wave r)':g='$(wave g)':b='$(wave b)':a='alpha(X,Y)'"
echo "bench.sh: $geq_frames frames through ffmpeg $geq" >&2
start=$(date +%s.%N)
ffmpeg -v error -f rawvideo -pix_fmt rgba -s "$size" -i "$work/frames.raw" \
  -frames:v "$geq_frames" -vf "$geq" -f null -
end=$(date +%s.%N)
geq_seconds=$(seconds "$start" "$end")
geq_fps=$(awk -v n="$geq_frames" -v t="$geq_seconds" 'BEGIN { printf "%.2f", n / t }')
rm -f "$work/frames.raw"

echo "bench.sh: GL calls per frame (apitrace)" >&2
apitrace trace --api egl -o "$work/render.trace" \
  "$host" render "$plugin" --size 64x36 --frames 5 --quiet -o "$work/f%d.png" >/dev/null 2>&1
apitrace dump --call-nos=no "$work/render.trace" >"$work/dump.txt" 2>/dev/null
# The plug-in's work runs from its glUseProgram of its own program to the
# glUseProgram(0) that ends it; the first such run is SetupGL.
awk '
  /^glUseProgram\(program = [1-9]/ { inside = 1; n = 0; names = "" }
  inside { n++; sub(/\(.*/, ""); names = names (names == "" ? "" : " ") $0 }
  inside && /^glUseProgram$/ && n > 1 { inside = 0; print n "\t" names }
' "$work/dump.txt" >"$work/blocks.txt"
frame_calls=$(tail -n +2 "$work/blocks.txt" | cut -f1 | sort -u | tr '\n' ' ' | sed 's/ $//')
frame_names=$(sed -n 2p "$work/blocks.txt" | cut -f2)
traced_frames=$(($(wc -l <"$work/blocks.txt") - 1))

row() { awk -v s="$1" '$1 == s' "$work/bench.txt"; }
col() { row "$1" | awk -v c="$2" '{ print $c }'; }
renderer=$(sed -n 's/^renderer: //p' "$work/bench.txt")
max_allocs=$(awk 'NR > 1 && $1 ~ /^[0-9]+x[0-9]+$/ && $9 > m { m = $9 } END { printf "%.3f", m + 0 }' \
  "$work/bench.txt")
counted=yes
grep -q "allocations: not counted" "$work/bench.txt" && counted=no
geq_ratio=$(awk -v a="$pipe_fps" -v b="$geq_fps" 'BEGIN { printf "%.0f", a / b }')
verdict() { awk -v v="$1" -v op="$2" -v g="$3" \
  'BEGIN { ok = (op == "<=" ? v <= g : op == ">" ? v > g : v == g); print ok ? "met" : "not met" }'; }

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
{
  echo "# ZentrelV1 performance"
  echo
  echo "Made by \`scripts/bench.sh\` on $(date -u +%Y-%m-%d). Machine: $(nproc) cores, $cpu."
  echo "GL: $renderer (software rasterizer, surfaceless EGL)."
  echo "The machine is shared with other builds while this runs, so every figure is noisy;"
  echo "frame times are medians of $bench_frames frames after 5 warm-up frames."
  echo
  echo "## Frame time against a pass-through shader"
  echo
  echo "\`ffgl-host bench\`: the plug-in's call 17 from a finished GL to a finished GL"
  echo "(glFinish on both sides), beside a shader that only samples the input texture, drawn"
  echo "as the same quad over the same texture and framebuffer: the fill-rate floor of this"
  echo "GL. \`gpu\` columns are GL_TIME_ELAPSED queries; \`call\` is the wall time of the"
  echo "plugMain call itself, GL work not awaited; allocations are the plug-in's own, per"
  echo "frame after the warm-up. Effect and pass-through frames alternate, so both see the"
  echo "same load. llvmpipe's GL_TIME_ELAPSED does not cover the rasterization that"
  echo "glFinish waits for (it stays near a few ms at every size): read the wall columns."
  echo
  echo "| size | effect ms | pass-through ms | ratio | effect gpu ms | pass gpu ms | gpu ratio | call µs | allocations/frame |"
  echo "|---|---|---|---|---|---|---|---|---|"
  awk 'NR > 1 && $1 ~ /^[0-9]+x[0-9]+$/ {
         printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", $1, $2, $3, $4, $5, $6, $7, $8, $9 }' \
    "$work/bench.txt"
  echo
  echo "## Offline throughput, 1920x1080"
  echo
  echo "| what | frames | seconds | fps |"
  echo "|---|---|---|---|"
  echo "| \`cat frames.raw \| ffgl-host render ZentrelV1.so -i - --size $size -o - >/dev/null\` | $pipe_frames | $pipe_seconds | $pipe_fps |"
  echo "| \`ffmpeg -f rawvideo ... -vf geq=...\` (same wave, default parameters, time 0) | $geq_frames | $geq_seconds | $geq_fps |"
  echo
  echo "ffgl-host over ffmpeg geq: ${geq_ratio}x. The frames are ffmpeg's \`testsrc\`, RGBA."
  floor=$(col 1920x1080 3)
  echo
  echo "The pass-through alone takes $floor ms per 1080p frame on this GL, so no effect drawn"
  echo "by it can pass $(awk -v m="$floor" 'BEGIN { printf "%.0f", 1000 / m }') fps here; the pipe adds upload, readback and the copies in and out."
  echo
  echo "## GL calls per frame"
  echo
  echo "\`apitrace trace\` of \`ffgl-host render --frames 5\`, counted with \`apitrace dump\`"
  echo "from the plug-in's glUseProgram of its program to its glUseProgram(0), over"
  echo "$traced_frames frames: **$frame_calls** calls per frame (one count for all frames"
  echo "means a fixed number). One frame's calls:"
  echo
  echo "    $frame_names"
  echo
  echo "## Goals"
  echo
  echo "| goal | measured | |"
  echo "|---|---|---|"
  for s in 1920x1080 3840x2160; do
    r=$(col "$s" 4)
    echo "| effect within 2.0x of pass-through at $s | ${r}x | $(verdict "$r" "<=" 2.0) |"
  done
  if [ "$counted" = yes ]; then
    echo "| zero allocations per frame | $max_allocs | $(verdict "$max_allocs" "==" 0) |"
  else
    echo "| zero allocations per frame | not counted in this build | not measured |"
  fi
  echo "| 1080p pipe above 100 fps | $pipe_fps fps | $(verdict "$pipe_fps" ">" 100) |"
  echo "| above 100x ffmpeg geq | ${geq_ratio}x | $(verdict "$geq_ratio" ">" 100) |"
  echo
  echo "Command: \`scripts/bench.sh\` (environment: BUILD_DIR, PIPE_FRAMES, GEQ_FRAMES,"
  echo "BENCH_FRAMES; this run: build $build, $pipe_frames pipe frames, $geq_frames geq frames)."
} >"$out"
echo "bench.sh: wrote $out" >&2
