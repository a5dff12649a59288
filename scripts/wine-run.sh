#!/usr/bin/env bash
# Runs a Windows executable under Wine; CMake's emulator for the Windows
# presets (tests, GoogleTest discovery). Usage: wine-run.sh PROGRAM.exe ARGS...
#
# The Wine prefix lives in the build tree next to the program (the nearest
# directory up holding CMakeCache.txt), is created on first use and is shared
# by everything run from that build. GL goes through Wine's opengl32 to
# GLX on the X server in DISPLAY; the test command starts an Xvfb for that
# (scripts/with-xvfb.sh). Without DISPLAY a private Xvfb is started for this
# one run.
set -euo pipefail

if [ "$#" -lt 1 ]; then
  echo "usage: wine-run.sh PROGRAM.exe [ARGS...]" >&2
  exit 2
fi

find_build_dir() {
  local dir
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != / ]; do
    if [ -e "$dir/CMakeCache.txt" ]; then
      echo "$dir"
      return
    fi
    dir=$(dirname "$dir")
  done
  pwd
}

if [ -z "${WINEPREFIX:-}" ]; then
  WINEPREFIX="$(find_build_dir "$1")/wineprefix"
fi
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"

# The PE machine field picks the Wine loader: a 64-bit program runs in a
# 64-bit prefix with wine64 itself, a 32-bit one in a pure 32-bit prefix
# (no WoW64 layer to boot). /usr/bin/wine would always start the 32-bit
# loader first.
pe_machine() {
  local offset
  offset=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -t x2 -j $((offset + 4)) -N 2 "$1" | tr -d ' '
}
case "$(pe_machine "$1")" in
  8664)
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
    ;;
  014c)
    export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
    # Where i386 code runs through qemu (see enable-i386-exec.sh), Wine needs
    # the whole 4 GiB guest address space reserved up front to place its
    # fixed mappings.
    export QEMU_RESERVED_VA="${QEMU_RESERVED_VA:-0xffff0000}"
    ;;
  *)
    echo "wine-run.sh: $1 is not an x86 or x64 Windows executable" >&2
    exit 2
    ;;
esac
# No Mono/Gecko installers and no crash dialogs: nothing may wait for a user.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

if [ -z "${DISPLAY:-}" ]; then
  exec "$(dirname "$0")/with-xvfb.sh" "$0" "$@"
fi

# Concurrent first runs (ninja runs two GoogleTest discoveries at once) must
# not both build the prefix.
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -e "$WINEPREFIX/.zentrel-ready" ]; then
    rm -rf "$WINEPREFIX"
    "$WINELOADER" wineboot --init >/dev/null 2>&1 || true
    # A crashing test must fail, not hang on the crash dialog.
    "$WINELOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 \
      /f >/dev/null 2>&1
    "$WINESERVER" --wait
    touch "$WINEPREFIX/.zentrel-ready"
  fi
) 9>"$WINEPREFIX.lock"

# Start the server ourselves, detached from our output: one that a program
# starts inherits its stdout and keeps the caller (ctest, GoogleTest
# discovery) waiting on the pipe until the server exits. It stays up for a
# while after the last program, so back-to-back tests share it.
"$WINESERVER" -p30 </dev/null >/dev/null 2>&1 || true

exec "$WINELOADER" "$@"
