# Shared set-up of the private Wine prefix and display; sourced by the scripts in this folder.
#
# wine_env_prepare STATE_DIR USE_ENV_DISPLAY ARCH exports WINEPREFIX, WINEARCH, WINEDEBUG,
# WINEDLLOVERRIDES and DISPLAY, sets WINE_LOADER, creates the prefix on first use and starts a
# private Xvfb when the caller's display is not wanted or there is none. ARCH is win32 or
# win64; a state folder keeps the architecture its prefix was made with. A prefix must always
# be used with the same kind of display: a wineserver started without one cannot open windows
# later.
#
# The loader is called by its full path: Debian's wine wrapper (and regsvr32, reg and winepath
# through it) picks the 32-bit loader whenever wine32 is installed, even on hosts that cannot
# run 32-bit code.

wine_env_log() { echo "wine-env: $*" >&2; }

wine_env_loader() {
  case "$1" in
    win32) echo /usr/lib/wine/wine ;;
    win64) echo /usr/lib/wine/wine64 ;;
    *) return 1 ;;
  esac
}

# True when this host runs the 32-bit loader: some x86-64 hosts run 64-bit code only.
wine_env_host_runs_win32() {
  "$(wine_env_loader win32)" --version </dev/null >/dev/null 2>&1
}

wine_env_start_xvfb() {
  local state=$1 n
  if [ -f "$state/xvfb.display" ] && [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
    DISPLAY=$(cat "$state/xvfb.display")
    return 0
  fi
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$state/xvfb.log" 2>&1 9>&- &
    echo $! >"$state/xvfb.pid"
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && { echo ":$n" >"$state/xvfb.display"; DISPLAY=":$n"; return 0; }
      kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null || break
      sleep 0.05
    done
  done
  wine_env_log "could not start Xvfb (see $state/xvfb.log)"
  return 1
}

wine_env_prepare() {
  local state=$1 use_env_display=$2 arch=$3
  WINE_LOADER=$(wine_env_loader "$arch") || { wine_env_log "unknown architecture '$arch' (win32 or win64)"; return 1; }
  mkdir -p "$state" || return 1
  state=$(cd "$state" && pwd)
  if [ -f "$state/arch" ] && [ "$(cat "$state/arch")" != "$arch" ]; then
    wine_env_log "$state holds a $(cat "$state/arch") prefix, not a $arch one"
    return 1
  fi
  echo "$arch" >"$state/arch"
  export WINEPREFIX="$state/prefix" WINEARCH=$arch WINEDEBUG=-all
  # No Mono or Gecko prompts, and no desktop menu entries written into the user's home.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  (
    flock 9
    if [ "$use_env_display" = 1 ] && [ -n "${DISPLAY:-}" ]; then
      echo env >"$state/display.kind.new"
    else
      wine_env_start_xvfb "$state" || exit 1
      echo xvfb >"$state/display.kind.new"
    fi
    if [ -f "$state/display.kind" ] && ! cmp -s "$state/display.kind" "$state/display.kind.new"; then
      wineserver -k 9>&- 2>/dev/null; wineserver -w 9>&- 2>/dev/null
    fi
    mv "$state/display.kind.new" "$state/display.kind"
  ) 9>"$state/.lock" || return 1
  if [ "$use_env_display" != 1 ] || [ -z "${DISPLAY:-}" ]; then
    DISPLAY=$(cat "$state/xvfb.display")
  fi
  export DISPLAY
  (
    flock 9
    [ -f "$WINEPREFIX/.ready" ] && exit 0
    wine_env_log "creating the Wine prefix $WINEPREFIX (once)"
    "$WINE_LOADER" wineboot -i </dev/null >"$state/wineboot.log" 2>&1 9>&- || { wine_env_log "wineboot failed (see $state/wineboot.log)"; exit 1; }
    # Without this an unhandled exception opens Wine's crash dialog and the run hangs.
    "$WINE_LOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >>"$state/wineboot.log" 2>&1 9>&- || exit 1
    wineserver -w 9>&- </dev/null >/dev/null 2>&1
    touch "$WINEPREFIX/.ready"
  ) 9>"$state/.prefix.lock" || return 1
}

# Ends the prefix's wineserver and the private Xvfb, if one was started.
wine_env_stop() {
  local state=$1
  [ -d "$state" ] || return 0
  state=$(cd "$state" && pwd)
  WINEPREFIX="$state/prefix" wineserver -k 2>/dev/null
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null
    rm -f "$state/xvfb.pid" "$state/xvfb.display"
  fi
  return 0
}
