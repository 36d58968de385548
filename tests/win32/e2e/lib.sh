# Shared steps of the end-to-end scenarios. Expects WINEPREFIX and DISPLAY
# (scripts/test-win32 sets them), DISKSPAN_STUB, DISKSPAN_AUTO and
# DISKSPAN_PACK (ctest passes them).

set -euo pipefail

E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/diskspan-e2e.XXXXXX")
LOG="$E2E_DIR/log"
STUB_EXIT=""
trap 'rm -rf "$E2E_DIR"' EXIT

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
  wine "$1" >/dev/null 2>&1 &
  STUB_PID=$!
  HELPER_FAILED=0
  : >"$LOG"
}

# drive STEP...: runs the helper's steps, adding to the log.
drive() {
  wine "$DISKSPAN_AUTO" --timeout 30 "$@" >>"$LOG" 2>&1 || HELPER_FAILED=1
  tr -d '\r' <"$LOG" >"$LOG.unix" && mv "$LOG.unix" "$LOG"
  if [ "$HELPER_FAILED" = 1 ]; then
    # The stub waits for an answer that will not come: end it.
    kill "$STUB_PID" 2>/dev/null || true
    wait "$STUB_PID" 2>/dev/null || true
    fail "the automation helper stopped"
  fi
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
