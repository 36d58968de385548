# shellcheck shell=bash
# Shared steps of the end-to-end scenarios. Expects WINE, WINEPREFIX, DISPLAY
# (from scripts/test-win32), DISKSPAN_STUB, DISKSPAN_AUTO, DISKSPAN_PACK (ctest).

set -Eeuo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/noise.sh"
: "${WINE:?run the scenarios through scripts/test-win32, which sets WINE}"

E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/diskspan-e2e.XXXXXX")
LOG="$E2E_DIR/log"
SET="$E2E_DIR/set"
DIALOG=(wait "Destination Directory")
STUB_EXIT=""
STUB_PID=""
# Immutable files and mounts, released on every way out (some may be gone).
IMMUTABLE=()
MOUNTED=()
release_scenario() {
  if [ ${#IMMUTABLE[@]} -gt 0 ]; then chattr -i "${IMMUTABLE[@]}" 2>/dev/null || true; fi
  if [ ${#MOUNTED[@]} -gt 0 ]; then umount "${MOUNTED[@]}" 2>/dev/null || true; fi
  rm -rf "$E2E_DIR"
}
trap release_scenario EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -s "$LOG" ] && { echo "--- log ---" >&2; cat "$LOG" >&2; }
  exit 1
}
# Never a silent stop: any other failing command is named.
trap 'fail "line $LINENO: \"$BASH_COMMAND\" failed"' ERR

# Unix path of a path on Wine's drive C:, e.g. c_path 'A\B' for C:\A\B.
c_path() { printf '%s/drive_c/%s' "$WINEPREFIX" "${1//\\//}"; }
# The Windows path of a Unix path, as Wine shows it on drive Z:.
win_path() { printf 'Z:%s' "${1//\//\\}"; }
# map_drive LETTER DIR: the drive letter (lower case) names DIR in the prefix.
map_drive() { ln -sfn "$2" "$WINEPREFIX/dosdevices/$1:"; }

# Every set holds README.TXT and the files added to EXTRA_FILES.
mkdir -p "$E2E_DIR/files"
printf 'Hello from the sample set.\r\n' >"$E2E_DIR/files/README.TXT"
EXTRA_FILES=()
# Each file added gets bytes of its own: two sets packed in one scenario differ.
RANDOM_FILES=0
add_random() { noise "$2" $((++RANDOM_FILES)) >"$E2E_DIR/files/$1"; EXTRA_FILES+=("$E2E_DIR/files/$1"); }
add_text() { printf '%s\r\n' "$2" >"$E2E_DIR/files/$1" && EXTRA_FILES+=("$E2E_DIR/files/$1"); }
# A RUN.BAT that leaves MARK behind when it runs.
MARK="$E2E_DIR/LAUNCHED.MRK"
add_launcher() { add_text RUN.BAT "@echo started > \"$(win_path "$MARK")\""; }
# pack_set DIR [diskspan-pack options...]
pack_set() {
  "$DISKSPAN_PACK" --stub "$DISKSPAN_STUB" --force -o "$@" "$E2E_DIR/files/README.TXT" \
    "${EXTRA_FILES[@]}" >/dev/null
}
# pack_for 'E2E\DIR' [options...]: a set titled Setup in OUT (default SET)
# that installs into C:\E2E\DIR (DEST_WIN), whose Unix DEST does not exist yet.
pack_for() {
  DEST_WIN="C:\\$1" DEST=$(c_path "$1")
  pack_set "${OUT:-$SET}" --title Setup --default-dir "$DEST_WIN" "${@:2}"
  rm -rf "$DEST"
}
# pack_three_volumes 'E2E\DIR' [options...]: random data, text and an empty
# file with known dates, in three volumes.
pack_three_volumes() {
  add_random DATA.BIN 500000
  add_text NUMBERS.TXT "$(seq 1 3000)"
  add_text EMPTY.TXT "" && : >"$E2E_DIR/files/EMPTY.TXT"
  touch -d '2000-04-23 20:44:44' "$E2E_DIR/files/DATA.BIN"
  touch -d '1999-12-31 23:59:58' "$E2E_DIR/files/NUMBERS.TXT"
  pack_for "$@" --volume-size 220000
  [ -e "$SET/SETUP.03" ] && [ ! -e "$SET/SETUP.04" ] || fail "the set has not three volumes"
}

start_stub() {
  "$WINE" "$1" >/dev/null 2>&1 &
  STUB_PID=$!
  : >"$LOG"
}
# stub_failed WHY: ends the stub, which may wait for an answer, and fails.
stub_failed() {
  kill "$STUB_PID" 2>/dev/null || true
  wait "$STUB_PID" 2>/dev/null || true
  fail "$1"
}
# drive [--shot PNG] STEP...: runs the helper's steps, adding to the log; a
# step that does not find what it waits for fails. With --shot the last step
# freezes the stub ("freeze", or "partway" for a half-drawn bar) and the
# screen goes into PNG; if the window is gone by then, no PNG is left.
drive() {
  local shot="" helper failed=0
  if [ "$1" = --shot ]; then shot=$2; shift 2; set -- "$@" sleep 1500 thaw; fi
  "$WINE" "$DISKSPAN_AUTO" --timeout 30 "$@" >"$LOG.step" 2>&1 &
  helper=$!
  if [ -n "$shot" ]; then
    for _ in $(seq 200); do
      grep -q '^frozen' "$LOG.step" 2>/dev/null && break
      kill -0 "$helper" 2>/dev/null && sleep 0.02 || break
    done
    sleep 0.3  # the last drawing reaches the screen
    import -window root "$shot"
  fi
  wait "$helper" || failed=1
  tr -d '\r' <"$LOG.step" >>"$LOG"
  if [ "$failed" = 1 ] && [ -n "$shot" ] && grep -q 'cannot open the thread' "$LOG.step"; then rm -f "$shot"
  elif [ "$failed" = 1 ]; then stub_failed "the automation helper stopped"; fi
}
# finish_stub: gives the stub 30 s to end; its exit code lands in STUB_EXIT.
finish_stub() {
  for _ in $(seq 300); do kill -0 "$STUB_PID" 2>/dev/null && sleep 0.1 || break; done
  ! kill -0 "$STUB_PID" 2>/dev/null || stub_failed "the stub did not end"
  STUB_EXIT=0
  wait "$STUB_PID" || STUB_EXIT=$?
}
# run_stub EXE STEP...: the whole run driven by one list of steps.
run_stub() { start_stub "$1"; drive "${@:2}"; finish_stub; }
# install_set STEP...: the set's SETUP.EXE run with its default destination.
install_set() { run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone "$@"; }

TERMINATED='text "The process has been terminated." answer ok'
CONFIRM='text "Do you really want to terminate the program?"'

expect_line() { local l; for l; do grep -Fxq -- "$l" "$LOG" || fail "no log line: $l"; done; }
expect_exit() { [ "$STUB_EXIT" = "$1" ] || fail "exit code $STUB_EXIT, not $1"; }
expect_same() { cmp -s "$1" "$2" || fail "$2 differs from $1"; }
expect_absent() { local f; for f; do [ ! -e "$f" ] || fail "should not exist: $f"; done; }
expect_no_temporaries() { expect_absent "$1/Split.Spt" "$1/Compress.Spt"; }
# A failed run: its one box says what failed; exit code 1.
expect_failure() { expect_line "box \"Setup\" text \"$1\" answer ok"; expect_exit 1; }
# expect_terminated: ended as terminated (box captioned TITLE, default
# Setup), exit code 0; every confirmation asked the one question.
expect_terminated() {
  expect_line "box \"${TITLE:-Setup}\" $TERMINATED"
  expect_exit 0
  ! grep '^box "Exit ' "$LOG" | grep -vF " $CONFIRM answer " >/dev/null || fail "a confirmation with another text"
}
# expect_success: said it installed into DEST_WIN, exit code 0, all in DEST.
expect_success() {
  expect_line "box \"Setup\" text \"The files have been successfully installed into directory\\n$DEST_WIN\" answer ok"
  expect_exit 0
  expect_installed "$DEST"
}
# packed_files: each packed file as SOURCE|NAME, NAME as installed (the
# files of a packed folder keep their paths below it).
packed_files() {
  local f
  for f in "$E2E_DIR/files/README.TXT" "${EXTRA_FILES[@]}"; do
    if [ -d "$f" ]; then find "$f" -type f -printf '%p|%P\n'; else echo "$f|${f##*/}"; fi
  done
}
# expect_installed DIR: every packed file is in DIR, byte for byte, with its
# source's modification time as a DOS date holds it (in seconds by twos).
expect_installed() {
  local f name
  while IFS='|' read -r f name; do
    expect_same "$f" "$1/$name"
    [ "$(stat -c %Y "$1/$name")" = $(($(stat -c %Y "$f") / 2 * 2)) ] || fail "$name has the wrong date"
  done < <(packed_files)
  expect_no_temporaries "$1"
}
# expect_nothing_installed DIR: no packed file but the file to start, no temporary.
expect_nothing_installed() {
  local f name
  while IFS='|' read -r f name; do [ "$name" = RUN.BAT ] || expect_absent "$1/$name"; done < <(packed_files)
  expect_no_temporaries "$1"
}
# make_immutable FILE...: refused to Wine even as root, like a write-protected disk.
make_immutable() {
  chattr +i "$@" || fail "cannot make $* immutable"
  IMMUTABLE+=("$@")
}

# patch_entry EXE NAME FIELD VALUE: rewrites one FileEntry's name, offset or
# size, for sets the packer refuses to make.
patch_entry() {
  python3 - "$@" <<'PY'
import struct, sys
exe, name, field, value = sys.argv[1:]
data = bytearray(open(exe, 'rb').read())
at = data.rfind(bytes([len(name)]) + name.encode())
assert at >= 0, name
if field == 'name':
    data[at:at + 40] = (bytes([len(value)]) + value.encode()).ljust(40, b'\0')
else:
    at += 40 + (4 if field == 'offset' else 8)
    data[at:at + 4] = struct.pack('<i', int(value))
open(exe, 'wb').write(data)
PY
}

# pixel_column PNG X: the colour of every row at column X, as RRGGBB lines.
pixel_column() {
  convert "$1" -crop "1x10000+$2+0" +repage -depth 8 txt:- | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p'
}
pixel() { pixel_column "$1" "$2" | sed -n "$(($3 + 1))p"; }

# bar_colours PNG: "RED WHITE TEXT" pixel counts between the progress bar's
# ends, on the rows of its pure red band (TEXT: neither, the percentage).
bar_colours() {
  local box
  box=$(convert "$1" -fill black +opaque '#FF0000' -fill white -opaque '#FF0000' -format '%@' info:)
  [[ "$box" =~ ^[0-9]+x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || { echo "0 0 0"; return; }
  convert "$1" -crop "400x${BASH_REMATCH[1]}+${BASH_REMATCH[2]}+${BASH_REMATCH[3]}" +repage -depth 8 txt:- |
    awk '/^#/ { next }
      { split($1, at, /[,:]/); col[at[2], at[1]] = $3; rows[at[2]] = 1 }
      END {
        for (r in rows) {
          last = -1
          for (i = 0; i < 400; i++) if (col[r, i] == "#FFFFFF" || col[r, i] == "#FF0000") last = i
          for (i = 0; i <= last; i++)
            if (col[r, i] == "#FF0000") red++; else if (col[r, i] == "#FFFFFF") white++; else text++
        }
        print red + 0, white + 0, text + 0
      }'
}
