# Wine and X server handling shared by the Win32 test run and the demo.
# Source it, then call wine_env_start; everything it starts is stopped by
# wine_env_stop, which wine_env_start also registers for EXIT.
#
#   wine_env_start [virtual|auto]
#     virtual: always run on a new Xvfb screen (640 x 480 x 24);
#     auto:    use $DISPLAY when it answers, else a new Xvfb screen.
#   Exports WINEPREFIX (a new prefix in a temporary directory), WINEDEBUG,
#   WINEDLLOVERRIDES, DISPLAY, and WINE_ENV_VIRTUAL (1 on Xvfb, else 0).

WINE_ENV_DIR=""
WINE_ENV_XVFB_PID=""
WINE_ENV_SCREEN="${WINE_ENV_SCREEN:-640x480x24}"

wine_env_display_answers() {
  [ -n "${DISPLAY:-}" ] && command -v xdpyinfo >/dev/null && xdpyinfo >/dev/null 2>&1
}

wine_env_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] && continue
    Xvfb ":${n}" -screen 0 "$WINE_ENV_SCREEN" -nolisten tcp -noreset \
      >"$WINE_ENV_DIR/xvfb.log" 2>&1 &
    WINE_ENV_XVFB_PID=$!
    export DISPLAY=":${n}"
    local tries
    for tries in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X${n}" ] && return 0
      kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    WINE_ENV_XVFB_PID=""
  done
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

wine_env_start() {
  local mode="${1:-virtual}"
  WINE_ENV_DIR=$(mktemp -d "${TMPDIR:-/tmp}/diskspan-wine.XXXXXX")
  trap wine_env_stop EXIT
  # An interrupted run still stops what it started.
  trap 'exit 130' INT TERM HUP
  export WINEPREFIX="$WINE_ENV_DIR/prefix"
  export WINEDEBUG=-all
  # No Mono or Gecko installer dialogs while the prefix is made.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$mode" = auto ] && wine_env_display_answers; then
    export WINE_ENV_VIRTUAL=0
  else
    export WINE_ENV_VIRTUAL=1
    wine_env_start_xvfb
  fi
  # The server stays up between programs, so each start is quick. Wine's
  # own background programs start here, with no output of ours to hold open
  # (ctest would wait for them to close it).
  mkdir -p "$WINEPREFIX"
  wineserver -p
  wineboot --init >/dev/null 2>&1
  # Wine programs wait for the prefix to be ready, so this also waits for it.
  # There is no window manager on the virtual screen: Wine draws the frames.
  local managed=Y
  [ "$WINE_ENV_VIRTUAL" = 1 ] && managed=N
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1
}

wine_env_stop() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "$WINE_ENV_XVFB_PID" ]; then
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    WINE_ENV_XVFB_PID=""
  fi
  if [ -n "$WINE_ENV_DIR" ]; then
    rm -rf "$WINE_ENV_DIR"
    WINE_ENV_DIR=""
  fi
}
