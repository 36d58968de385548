# Wine and X server handling shared by the Win32 test run, the demo and the
# install benchmark. Source it, then call wine_env_start; everything it starts
# is stopped by wine_env_stop, which wine_env_start also registers for EXIT.
#
#   wine_env_start [virtual|auto] [i686|x86_64]
#     virtual: always run on a new Xvfb screen (640 x 480 x 24);
#     auto:    use $DISPLAY when it answers, else a new Xvfb screen.
#     i686 (the default) runs the PE32 under Debian's wine, which picks the
#     32-bit loader; x86_64 runs the PE32+ under the 64-bit loader directly
#     in a 64-bit prefix, which works also where no 32-bit code runs.
#   Exports WINE (the command that runs a Windows program), WINEPREFIX (a new
#   prefix in a temporary directory), WINEDEBUG, WINEDLLOVERRIDES, DISPLAY,
#   WINE_ENV_ARCH and WINE_ENV_VIRTUAL (1 on Xvfb, else 0); for x86_64 also
#   WINELOADER and WINEARCH, so Wine starts child programs the same way.
#   DISKSPAN_WINE_LOADER overrides the loader (the tests force a failing start
#   with it). On failure it prints what failed and what to do, and returns 1.

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
  echo "wine-env: could not start Xvfb on any display from :90 to :140;" \
    "check that the xvfb package is installed (scripts/install-deps)" >&2
  [ -s "$WINE_ENV_DIR/xvfb.log" ] && sed 's/^/  Xvfb: /' "$WINE_ENV_DIR/xvfb.log" | tail -n 5 >&2
  return 1
}

# wine_env_loader ARCH: sets WINE (and WINELOADER, WINEARCH) for the flavour.
wine_env_loader() {
  case "$1" in
    i686)
      export WINE="${DISKSPAN_WINE_LOADER:-wine}"
      ;;
    x86_64)
      # Debian's wine wrapper would pick the 32-bit loader whenever wine32 is
      # installed, so the 64-bit one is named; WINELOADER makes Wine start
      # child programs (wineboot's helpers, a launched batch file) with it too.
      export WINE="${DISKSPAN_WINE_LOADER:-/usr/lib/wine/wine64}"
      export WINELOADER="$WINE"
      export WINEARCH=win64
      ;;
    *)
      echo "wine-env: unknown flavour '$1': use i686 or x86_64" >&2
      return 2
      ;;
  esac
  export WINE_ENV_ARCH="$1"
}

# Says why Wine did not start, and what to do about it.
wine_env_start_failed() {  # wine_env_start_failed STEP EXIT-CODE
  echo "wine-env: Wine did not start for the $WINE_ENV_ARCH flavour: $1 ended with exit code $2." >&2
  if [ "$WINE_ENV_ARCH" = i686 ] && [ "$2" = 126 ]; then
    echo "wine-env: this host seems to run no 32-bit code; use the x86_64 flavour" \
      "(--arch x86_64, or DISKSPAN_HOST_I386=0)." >&2
  else
    echo "wine-env: run scripts/install-deps, then try again with WINEDEBUG=err+all" \
      "to see Wine's own messages." >&2
  fi
  return 1
}

wine_env_start() {
  local mode="${1:-virtual}" arch="${2:-i686}" code=0
  wine_env_loader "$arch" || return
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
    wine_env_start_xvfb || return
  fi
  # The server stays up between programs, so each start is quick. Wine's
  # own background programs start here, with no output of ours to hold open
  # (ctest would wait for them to close it).
  mkdir -p "$WINEPREFIX"
  wineserver -p || { wine_env_start_failed "wineserver -p" "$?"; return; }
  "$WINE" wineboot.exe --init >/dev/null 2>&1 || code=$?
  [ "$code" = 0 ] || { wine_env_start_failed "$WINE wineboot.exe --init" "$code"; return; }
  # Wine programs wait for the prefix to be ready, so this also waits for it.
  # There is no window manager on the virtual screen: Wine draws the frames.
  local managed=Y
  [ "$WINE_ENV_VIRTUAL" = 1 ] && managed=N
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1 ||
    { wine_env_start_failed "$WINE reg add" "$?"; return; }
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
