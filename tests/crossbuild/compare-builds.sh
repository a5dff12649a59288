#!/usr/bin/env bash
# Renders the same frames with several builds of ffgl-host and the plug-in
# and checks that every build agrees with the first within 1/255 per channel.
# Usage: compare-builds.sh BUILD_DIR... (from the source tree's root; the
# first one is the reference). Windows builds run under Wine; start an Xvfb
# first (scripts/with-xvfb.sh) or each render starts its own.
#
# Speed stays at 0.5, where the wave stands still: the Windows builds cannot
# have their clock fixed, so only a still wave gives them the same frame.
set -euo pipefail

if [ "$#" -lt 2 ]; then
  echo "usage: compare-builds.sh REFERENCE_BUILD_DIR OTHER_BUILD_DIR..." >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
out_dir=$(mktemp -d)
trap 'rm -rf "$out_dir"' EXIT

# name|parameters (all with speed 0.5)
cases=(
  "defaults|"
  "busy|-p phase=0.3 -p frequence=0.6 -p saturation=0.8 -p rgbdecal=0.3 -p amplitude=0.7 -p range=0.4 -p threshold=0.45 -p 8=1"
  "flat|-p frequence=0 -p amplitude=1 -p range=0 -p saturation=0"
)

render() {  # build_dir case_name params output
  local build=$1 params=$3 output=$4
  local host plugin runner=()
  if [ -e "$build/tools/ffgl-host/ffgl-host.exe" ]; then
    host="$build/tools/ffgl-host/ffgl-host.exe"
    plugin="$build/plugin/ZentrelV1.dll"
    runner=("$root/scripts/wine-run.sh")
  else
    host="$build/tools/ffgl-host/ffgl-host"
    plugin="$build/plugin/ZentrelV1.so"
  fi
  # shellcheck disable=SC2086  # params is a list of words on purpose
  "${runner[@]}" "$host" render "$plugin" --size 96x54 -p speed=0.5 $params --frames 2 --fps 30 \
    --quiet -o "$output"
}

# Prints "<differing bytes> <largest difference>" for two equally long files.
compare() {
  cmp -l "$1" "$2" | awk '
    function octal(text,   value, i) {
      value = 0
      for (i = 1; i <= length(text); i++) value = value * 8 + substr(text, i, 1)
      return value
    }
    { d = octal($2) - octal($3); if (d < 0) d = -d; if (d > worst) worst = d; n++ }
    END { printf "%d %d\n", n, worst }'
}

status=0
reference=$1
shift
for entry in "${cases[@]}"; do
  name=${entry%%|*}
  params=${entry#*|}
  ref_out="$out_dir/reference-$name.raw"
  if ! render "$reference" "$name" "$params" "$ref_out"; then
    echo "FAIL $name: $reference could not render" >&2
    status=1
    continue
  fi
  for build in "$@"; do
    tag=$(basename "$build")
    other_out="$out_dir/$tag-$name.raw"
    if ! render "$build" "$name" "$params" "$other_out"; then
      echo "FAIL $name: $build could not render" >&2
      status=1
      continue
    fi
    if [ "$(stat -c %s "$ref_out")" != "$(stat -c %s "$other_out")" ]; then
      echo "FAIL $name: $tag wrote $(stat -c %s "$other_out") bytes, $(basename "$reference") $(stat -c %s "$ref_out")" >&2
      status=1
      continue
    fi
    read -r differing worst < <(compare "$ref_out" "$other_out")
    if [ "$worst" -gt 1 ]; then
      echo "FAIL $name: $tag differs from $(basename "$reference") by up to $worst/255 in $differing bytes" >&2
      status=1
    else
      echo "ok   $name: $tag matches $(basename "$reference") ($differing bytes off by 1/255)"
    fi
  done
done
exit "$status"
