# Shared steps of the end-to-end scenarios. Expects WINE (the flavour's
# loader), WINEPREFIX and DISPLAY (scripts/test-win32 sets them through
# scripts/lib/wine-env.sh), DISKSPAN_STUB, DISKSPAN_AUTO and DISKSPAN_PACK
# (ctest passes them).

set -euo pipefail
: "${WINE:?run the scenarios through scripts/test-win32, which sets WINE}"

E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/diskspan-e2e.XXXXXX")
LOG="$E2E_DIR/log"
# Where a scenario packs its set, and the first step of most runs.
SET="$E2E_DIR/set"
DIALOG=(wait "Destination Directory")
STUB_EXIT=""
# Files made immutable and file systems mounted by a scenario, released
# again on every way out.
IMMUTABLE=()
MOUNTED=()
release_scenario() {
  # Some may be gone already (a disk taken out of drive A:).
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

# Unix path of a path on Wine's drive C:, e.g. C_PATH 'A\B' for C:\A\B.
c_path() { printf '%s/drive_c/%s' "$WINEPREFIX" "${1//\\//}"; }

# pack_set DIR [diskspan-pack options...]: a set of README.TXT and any
# files named in the array EXTRA_FILES.
EXTRA_FILES=()
pack_set() {
  local dir=$1
  shift
  mkdir -p "$E2E_DIR/files"
  printf 'Hello from the sample set.\r\n' >"$E2E_DIR/files/README.TXT"
  "$DISKSPAN_PACK" --stub "$DISKSPAN_STUB" -o "$dir" --force "$@" "$E2E_DIR/files/README.TXT" \
    "${EXTRA_FILES[@]}" >/dev/null
}

# start_stub EXE: starts the stub in the background.
STUB_PID=""
HELPER_FAILED=0
start_stub() {
  "$WINE" "$1" >/dev/null 2>&1 &
  STUB_PID=$!
  HELPER_FAILED=0
  : >"$LOG"
}

# drive STEP...: runs the helper's steps, adding to the log.
drive() {
  "$WINE" "$DISKSPAN_AUTO" --timeout 30 "$@" >>"$LOG" 2>&1 || HELPER_FAILED=1
  tr -d '\r' <"$LOG" >"$LOG.unix" && mv "$LOG.unix" "$LOG"
  if [ "$HELPER_FAILED" = 1 ]; then
    # The stub waits for an answer that will not come: end it.
    kill "$STUB_PID" 2>/dev/null || true
    wait "$STUB_PID" 2>/dev/null || true
    fail "the automation helper stopped"
  fi
}

# drive_with_screenshot PNG STEP...: runs the steps, then stops the stub's
# thread, takes the screen into PNG and lets the thread go on. When the
# window is already gone at the freeze (its stage ended first), no PNG is
# left and the stub runs on to its end: the caller may try again.
drive_with_screenshot() {
  local shot=$1 helper i
  shift
  "$WINE" "$DISKSPAN_AUTO" --timeout 30 "$@" freeze sleep 1500 thaw >"$LOG.shot" 2>&1 &
  helper=$!
  for i in $(seq 200); do
    grep -q '^frozen' "$LOG.shot" 2>/dev/null && break
    kill -0 "$helper" 2>/dev/null || break
    sleep 0.02
  done
  # The last drawing reaches the screen while the thread stands still.
  sleep 0.3
  import -window root "$shot"
  wait "$helper" || HELPER_FAILED=1
  tr -d '\r' <"$LOG.shot" >>"$LOG"
  if [ "$HELPER_FAILED" = 1 ] && grep -q 'cannot open the thread' "$LOG.shot"; then
    HELPER_FAILED=0
    rm -f "$shot"
    return 0
  fi
  [ "$HELPER_FAILED" = 0 ] || { kill "$STUB_PID" 2>/dev/null || true; fail "the automation helper stopped"; }
}

# finish_stub: waits for the stub to end; its exit code lands in STUB_EXIT.
finish_stub() {
  local waited
  for waited in $(seq 1 300); do
    kill -0 "$STUB_PID" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$STUB_PID" 2>/dev/null; then
    kill "$STUB_PID" 2>/dev/null || true
    wait "$STUB_PID" 2>/dev/null || true
    fail "the stub did not end"
  fi
  STUB_EXIT=0
  wait "$STUB_PID" || STUB_EXIT=$?
}

# run_stub EXE STEP...: the whole run driven by one list of steps.
run_stub() {
  start_stub "$1"
  shift
  drive "$@"
  finish_stub
}

# pixel_column PNG X: the colour of every row at column X, as RRGGBB lines.
pixel_column() {
  convert "$1" -crop "1x10000+$2+0" +repage -depth 8 txt:- |
    sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p'
}

# pixel PNG X Y: one pixel as RRGGBB.
pixel() {
  convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p'
}

expect_line() {
  grep -Fxq -- "$1" "$LOG" || fail "no log line: $1"
}

expect_exit_zero() {
  [ "$STUB_EXIT" = 0 ] || fail "exit code $STUB_EXIT"
}

# A failed run: its one box captioned with the title says what failed, and
# the stub ends with exit code 1.
expect_failure() {
  expect_line "box \"Setup\" text \"$1\" answer ok"
  [ "$STUB_EXIT" = 1 ] || fail "exit code $STUB_EXIT after a failure"
}

# The Windows path of a Unix path, as Wine shows it on drive Z:.
win_path() { printf 'Z:%s' "${1//\//\\}"; }

# After the stub has ended: no message box was met.
expect_no_box() { ! grep -q '^box ' "$LOG" || fail "a message box appeared"; }
expect_same() { cmp -s "$1" "$2" || fail "$2 differs from $1"; }
expect_dir() { [ -d "$1" ] || fail "missing directory $1"; }
expect_absent() { [ ! -e "$1" ] || fail "should not exist: $1"; }

# A file that a started program writes: give it up to ten seconds.
wait_for_file() {
  local i
  for i in $(seq 50); do [ -e "$1" ] && return 0; sleep 0.2; done
  fail "never appeared: $1"
}

TERMINATED='text "The process has been terminated." answer ok'
CONFIRM='text "Do you really want to terminate the program?"'

INSTALLED='text "The files have been successfully installed into directory'

# map_drive LETTER DIR: the drive letter (lower case) names DIR in the prefix.
map_drive() { ln -sfn "$2" "$WINEPREFIX/dosdevices/$1:"; }

# add_file NAME [head -c source args]: a file to pack, named in EXTRA_FILES.
# add_random NAME BYTES writes random bytes.
add_random() {
  mkdir -p "$E2E_DIR/files"
  head -c "$2" /dev/urandom >"$E2E_DIR/files/$1"
  EXTRA_FILES+=("$E2E_DIR/files/$1")
}
add_text() {
  mkdir -p "$E2E_DIR/files"
  printf '%s\r\n' "$2" >"$E2E_DIR/files/$1"
  EXTRA_FILES+=("$E2E_DIR/files/$1")
}

# A batch file to start that leaves LAUNCHED.MRK in E2E_DIR when it runs.
MARK=""
add_launcher() {
  MARK="$E2E_DIR/LAUNCHED.MRK"
  add_text RUN.BAT "@echo started > \"Z:${MARK//\//\\}\""
}

# expect_installed DIR: every packed file is in DIR, byte for byte, with
# its source's modification time as a DOS date holds it.
expect_installed() {
  local f name
  for f in "$E2E_DIR/files/README.TXT" "${EXTRA_FILES[@]}"; do
    name=$(basename "$f")
    expect_same "$f" "$1/$name"
    local stored
    stored=$(stat -c %Y "$f")
    stored=$((stored - stored % 2))  # DOS times count seconds in twos
    [ "$(stat -c %Y "$1/$name")" = "$stored" ] || fail "$name has the wrong date"
  done
}

# expect_nothing_installed DIR: no packed file and no temporary in DIR.
expect_nothing_installed() {
  local f
  for f in "$E2E_DIR/files/README.TXT" "${EXTRA_FILES[@]}"; do
    [ "$(basename "$f")" = RUN.BAT ] && continue
    expect_absent "$1/$(basename "$f")"
  done
  expect_no_temporaries "$1"
}
expect_no_temporaries() {
  expect_absent "$1/Split.Spt"
  expect_absent "$1/Compress.Spt"
}

# patch_entry EXE NAME FIELD VALUE: rewrites one FileEntry of a packed stub
# (FIELD name, offset or size), to make sets that the packer refuses to make.
patch_entry() {
  python3 - "$@" <<'PY'
import struct, sys
exe, name, field, value = sys.argv[1:]
data = bytearray(open(exe, 'rb').read())
key = bytes([len(name)]) + name.encode()
at = data.rfind(key)
assert at >= 0, name
if field == 'name':
    new = value.encode()
    data[at:at + 40] = (bytes([len(new)]) + new).ljust(40, b'\0')
else:
    place = at + 40 + (4 if field == 'offset' else 8)
    data[place:place + 4] = struct.pack('<i', int(value))
open(exe, 'wb').write(data)
PY
}

# bar_colours PNG: "RED WHITE TEXT" pixel counts of the progress bar: the
# band of pure red pixels, the white after it on the same rows, and the
# pixels of neither colour (the percentage) between the bar's two ends.
bar_colours() {
  local box w h x y
  box=$(convert "$1" -fill black +opaque '#FF0000' -fill white -opaque '#FF0000' -format '%@' info:)
  [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || { echo "0 0 0"; return; }
  w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]} x=${BASH_REMATCH[3]} y=${BASH_REMATCH[4]}
  convert "$1" -crop "400x${h}+${x}+${y}" +repage -depth 8 txt:- | awk -v w="$w" '
    /^#/ { next }
    { split($1, at, /[,:]/); c = $3; row[at[2]] = row[at[2]] " " at[1] "=" c }
    END {
      red = 0; white = 0; text = 0
      for (r in row) {
        n = split(row[r], cells, " ")
        last = -1
        for (i = 1; i <= n; i++) { split(cells[i], kv, "="); col[kv[1]] = kv[2] }
        for (i = 0; i < 400; i++) if (col[i] == "#FFFFFF" || col[i] == "#FF0000") last = i
        for (i = 0; i <= last; i++) {
          if (col[i] == "#FF0000") red++
          else if (col[i] == "#FFFFFF") white++
          else text++
        }
      }
      print red, white, text
    }'
}
