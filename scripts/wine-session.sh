# Sourced: starts a private X display and a persistent wineserver for the
# calling script, and stops both when it exits.
# shellcheck shell=bash
export WINEPREFIX="${VARNEL_WINEPREFIX:-$DEPS_DIR/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=${VARNEL_DLL_OVERRIDES:+;$VARNEL_DLL_OVERRIDES}"
export WINEARCH=win64
export LANG=en_US.UTF-8 LC_ALL=C.UTF-8

start_wine_session() {
  local want_display="${1:-private}"
  if [ "$want_display" = private ] || [ -z "${DISPLAY:-}" ]; then
    local n=$((90 + RANDOM % 400))
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  # CI owns the machine: a server left from an earlier run may hold another display.
  [ "${CI:-}" = true ] && { wineserver -k >/dev/null 2>&1 || true; }
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "creating the Wine prefix (first time only)"
    mkdir -p "$WINEPREFIX"
    timeout 300 wineboot -i >/dev/null 2>&1 || true
    # What a new prefix decides by itself is pinned here, so every machine
    # runs the tests against the same platform:
    # - unmanaged windows: Wine otherwise waits on the (absent) window
    #   manager for every show and hide;
    # - the Windows version Wine reports (6.1), which decides composition;
    # - 96 dots per inch.
    # Font smoothing is deliberately left as Wine makes it (greyscale
    # smoothing on): the tests must not depend on it, and this is what a new
    # machine has. The display's depth and size come from Xvfb's command line.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine' /v Version /d win7 /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f \
      >/dev/null 2>&1 || true
    wineserver -w
  fi
  # One persistent server makes each test process start in a fraction of a
  # second; it goes away by itself a minute after its last client.
  wineserver -p 60 2>/dev/null || true  # already running for another run: share it
  # Start Wine's own services now, with their output going nowhere: started by
  # the first test instead, they would inherit its output pipe and keep the
  # test runner waiting for it to close.
  wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
  trap stop_wine_session EXIT
}

stop_wine_session() {
  # Other runs on this machine may share the prefix: only CI ends the server.
  [ "${CI:-}" = true ] && { wineserver -k >/dev/null 2>&1 || true; }
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" >/dev/null 2>&1 || true
}
