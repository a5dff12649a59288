#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine needs to build and test every
# preset. Safe to run again: it only installs what is missing.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps.sh: run as root (it calls apt-get)" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive

native=(
  build-essential cmake ninja-build pkg-config git
  clang llvm libclang-rt-14-dev clang-format
  googletest libgtest-dev
  libegl-dev libgl-dev libegl1 libegl-mesa0 libgl1-mesa-dri libglx-mesa0 mesa-utils
  libpng-dev libstb-dev
  ffmpeg valgrind apitrace binutils file
)
i386=(
  gcc-multilib g++-multilib
  libegl1:i386 libgl1:i386 libegl-mesa0:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386
  libpng16-16:i386 libpng-dev:i386 zlib1g:i386
  libgl-dev:i386 libegl-dev:i386 libopengl-dev:i386
  # Kernels without 32-bit mode (some VMs) run i386 code through qemu.
  qemu-user-static
)
windows=(
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine wine64 wine32:i386 xvfb xauth
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  rm -f /var/lib/apt/.zentrel-updated
fi

missing=()
for p in "${native[@]}" "${i386[@]}" "${windows[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps.sh: installing ${missing[*]}"
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The MinGW compilers default to the win32 thread model on some installs; the
# posix one gives us std::thread, which the host's I/O overlap uses.
for triple in x86_64-w64-mingw32 i686-w64-mingw32; do
  for tool in gcc g++; do
    if [ -e "/usr/bin/$triple-$tool-posix" ]; then
      update-alternatives --set "$triple-$tool" "/usr/bin/$triple-$tool-posix" >/dev/null 2>&1 || true
    fi
  done
done
bash "$(dirname "$0")/enable-i386-exec.sh"
echo "install-deps.sh: all dependencies present"
