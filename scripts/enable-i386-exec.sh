#!/usr/bin/env bash
# Makes 32-bit x86 Linux executables runnable. Most x86-64 kernels run them
# natively; some virtual machines do not (exec fails with "Exec format
# error"). There the kernel is told to hand every i386 ELF executable to
# qemu-i386-static through binfmt_misc, which also covers the i386 processes
# that 32-bit Wine starts by itself. Safe to run again.
set -euo pipefail

probe_dir=$(mktemp -d)
trap 'rm -rf "$probe_dir"' EXIT
printf 'int main(void) { return 0; }\n' >"$probe_dir/probe.c"
if ! gcc -m32 "$probe_dir/probe.c" -o "$probe_dir/probe" 2>"$probe_dir/log"; then
  echo "enable-i386-exec.sh: gcc -m32 cannot build a probe:" >&2
  cat "$probe_dir/log" >&2
  exit 1
fi
if "$probe_dir/probe" 2>/dev/null; then
  exit 0
fi

if [ ! -x /usr/bin/qemu-i386-static ]; then
  echo "enable-i386-exec.sh: this kernel cannot run i386 code and qemu-user-static is missing" >&2
  exit 1
fi
binfmt=/proc/sys/fs/binfmt_misc
if [ ! -e "$binfmt/register" ]; then
  mount -t binfmt_misc binfmt_misc "$binfmt"
fi
if [ ! -e "$binfmt/zentrel-i386" ]; then
  # ELF, 32-bit, little-endian, version 1, e_type EXEC or DYN, e_machine 3
  # (i386). F opens the interpreter now, so it also works inside chroots
  # and Wine's own process tree; P keeps argv[0] as the program gave it.
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf ':zentrel-i386:M::%s:%s:/usr/bin/qemu-i386-static:FP' "$magic" "$mask" \
    >"$binfmt/register"
fi
if ! "$probe_dir/probe"; then
  echo "enable-i386-exec.sh: i386 executables still do not run" >&2
  exit 1
fi
echo "enable-i386-exec.sh: i386 executables run through qemu-i386-static (kernel has no 32-bit mode)"
