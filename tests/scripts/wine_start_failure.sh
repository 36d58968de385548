#!/usr/bin/env bash
# A Wine that does not start is reported, with what failed and what to do,
# and leaves nothing running or behind: by wine-env.sh itself and by the demo.
#   tests/scripts/wine_start_failure.sh ARCH
. "$(dirname "$0")/lib/checks.sh" wine_start_failure
arch=$1 failed="wine-env: Wine did not start for the $1 flavour"
cd "$root" || die "no source tree at $root"

# The library on its own: the loader fails, wine_env_start says so and
# returns 1, and its EXIT handler stops the X server and removes the prefix.
# An X server this test started is one that inherited its TMPDIR; others on
# the machine (a parallel run's) are not counted.
xvfb_left() {
  local pid
  for pid in $(pgrep -x Xvfb); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "TMPDIR=$work" && echo "$pid"
  done
}
expect "wine_env_start" 0 "$failed: false wineboot.exe --init ended with exit code 1" \
  env DISKSPAN_WINE_LOADER=false TMPDIR="$work" bash -c \
  '. scripts/lib/wine-env.sh; wine_env_start virtual "$1"; echo "returned $?"' _ "$arch"
grep -qx 'returned 1' "$work/log" || fail "wine_env_start did not return 1"
grep -q 'wine-env: run scripts/install-deps' "$work/log" || fail "no line saying what to do"
[ -z "$(find "$work" -maxdepth 1 -name 'diskspan-wine.*')" ] || fail "the prefix was left behind"
[ -z "$(xvfb_left)" ] || fail "an X server was left running"

# The demo's Wine half ends with exit code 1 and the same lines.
mkdir -p "$work/set" && printf 'MZ' >"$work/set/SETUP.EXE"
expect "demo-win32" 1 "$failed" env DISKSPAN_WINE_LOADER=false scripts/demo-win32 --arch "$arch" "$work/set"
checks_done "wine start failure reported for $arch"
