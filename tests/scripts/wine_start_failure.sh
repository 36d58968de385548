#!/usr/bin/env bash
# A Wine that does not start is reported, with what failed and what to do,
# and leaves nothing running or behind: by wine-env.sh itself and by the demo.
#   tests/scripts/wine_start_failure.sh ARCH
set -uo pipefail
cd "$(dirname "$0")/../.."
arch=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/diskspan-wine-failure.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; [ -s "$work/err" ] && cat "$work/err" >&2; exit 1; }
# Only what this test starts is looked for: Xvfb on a display it chose.
xvfb_count() { pgrep -c -x Xvfb || true; }

# The library on its own: the loader fails, wine_env_start says so and
# returns 1, and its EXIT handler stops the X server and removes the prefix.
before=$(xvfb_count)
DISKSPAN_WINE_LOADER=false TMPDIR=$work bash -c \
  '. scripts/lib/wine-env.sh; wine_env_start virtual "$1"; echo "returned $?"' _ "$arch" \
  >"$work/out" 2>"$work/err"
grep -qx 'returned 1' "$work/out" || fail "wine_env_start did not return 1"
grep -q "wine-env: Wine did not start for the $arch flavour: false wineboot.exe --init ended with exit code 1" \
  "$work/err" || fail "no line saying what failed"
grep -q 'wine-env: run scripts/install-deps' "$work/err" || fail "no line saying what to do"
[ -z "$(find "$work" -maxdepth 1 -name 'diskspan-wine.*')" ] || fail "the prefix was left behind"
[ "$(xvfb_count)" = "$before" ] || fail "an X server was left running"

# The demo's Wine half ends with exit code 1 and the same lines.
mkdir -p "$work/set"
printf 'MZ' >"$work/set/SETUP.EXE"
code=0
DISKSPAN_WINE_LOADER=false scripts/demo-win32 --arch "$arch" "$work/set" >"$work/out" 2>"$work/err" ||
  code=$?
[ "$code" = 1 ] || fail "demo-win32 ended with exit code $code"
grep -q "wine-env: Wine did not start for the $arch flavour" "$work/err" || fail "demo-win32 did not say what failed"
echo "wine start failure reported for $arch"
