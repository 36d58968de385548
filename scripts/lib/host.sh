# What this host can run of the two Windows flavours. Source it.
#
#   i686    the product: the PE32 stub, built by the win32 preset; runs under
#           Wine's 32-bit loader, so only where the kernel runs 32-bit code.
#   x86_64  the same sources as a PE32+, built by the win64 preset; runs under
#           Wine's 64-bit loader on every host.
#
# DISKSPAN_HOST_I386=0 or 1 overrides the probe (to test the x86_64-only path
# on a host that could run both, or the reverse).

HOST_FLAVOURS="i686 x86_64"

# True when 32-bit x86 programs run here. The probe is a 93-byte i386 ELF
# that only calls exit(0) through int 0x80: it needs no compiler and no
# 32-bit library. A kernel without 32-bit support answers "Exec format error".
host_runs_i386() {
  case "${DISKSPAN_HOST_I386:-}" in
    0) return 1 ;;
    1) return 0 ;;
  esac
  local probe status=0
  probe=$(mktemp "${TMPDIR:-/tmp}/diskspan-i386-probe.XXXXXX") || return 1
  local elf='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  elf+='\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  elf+='\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00'
  elf+='\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00'
  elf+='\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80'
  printf "$elf" >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  return "$status"
}

# host_can_run ARCH: true when the flavour's programs run here.
host_can_run() {
  case "$1" in
    i686) host_runs_i386 ;;
    x86_64) return 0 ;;
    *) return 1 ;;
  esac
}

# host_why_not ARCH: one phrase saying why the flavour cannot run here.
host_why_not() {
  if [ "$1" = i686 ] && [ "${DISKSPAN_HOST_I386:-}" = 0 ]; then
    echo "DISKSPAN_HOST_I386=0 says this host runs no 32-bit code"
  elif [ "$1" = i686 ]; then
    echo "this host runs no 32-bit code"
  else
    echo "unknown flavour $1 (i686 or x86_64)"
  fi
}

# host_default_arch: the product where it runs, else the x86_64 build.
host_default_arch() {
  if host_can_run i686; then echo i686; else echo x86_64; fi
}

# host_preset ARCH: the CMake preset, which is also the build folder's name.
host_preset() {
  case "$1" in
    i686) echo win32 ;;
    x86_64) echo win64 ;;
    *) return 1 ;;
  esac
}

# host_check_arch ARCH: fails with a line saying what is wrong.
host_check_arch() {
  case "$1" in
    i686|x86_64) return 0 ;;
  esac
  echo "unknown flavour '$1': use i686 (the PE32 product) or x86_64" >&2
  return 2
}
