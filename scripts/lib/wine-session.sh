# Sourced by every script that runs Windows programs (with-wine, run, screenshots): a private
# Wine prefix, a virtual display when there is none to use, and a persistent Wine server,
# all stopped again by process id.
#   wine_session_start PREFIX LOG_FOLDER [DISPLAY_TO_USE]
#     prepares the prefix, exports WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES and DISPLAY.
#     With a display to use (for example :0) no Xvfb is started.
#   wine_server_start LOG_FOLDER
#     starts the persistent server (again, after `wineserver -k`) and Wine's services.
#   wine_session_stop
#     ends the programs still running in the prefix, the server and the display.

wine_session_lib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wine_xvfb_pid=""
wine_server_pid=""

wine_session_start() {
  local prefix=$1 logs=$2 use_display=${3:-}
  export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$logs"
  "$wine_session_lib/../wine-prefix" "$WINEPREFIX" ||
    { echo "$(basename "$0"): could not prepare $WINEPREFIX" >&2; return 1; }

  if [ -n "$use_display" ]; then
    export DISPLAY=$use_display
  else
    # Pick a free display number: the lock file tells which are taken.
    local n
    for n in $(seq 90 140); do
      { [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; } && continue
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      wine_xvfb_pid=$!
      export DISPLAY=":$n"
      for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      kill -0 "$wine_xvfb_pid" 2>/dev/null && break
      wine_xvfb_pid=""
    done
    [ -n "$wine_xvfb_pid" ] || { echo "$(basename "$0"): could not start Xvfb" >&2; return 1; }
  fi

  wine_server_start "$logs"
}

# wine_server_start LOG_FOLDER: the persistent server of WINEPREFIX and Wine's background
# services (again, after `wineserver -k`).
wine_server_start() {
  # A session of its own: a hang-up of a pseudo-terminal that a test used as a COM port
  # must not reach the server. Its own output (it may dump its state) goes to a log.
  setsid wineserver -p >"$1/wineserver.log" 2>&1 &
  wine_server_pid=$!

  # Start Wine's background services now, holding none of our descriptors: started by the
  # first Windows program, they would inherit its output pipes and keep a caller such as
  # ctest waiting for them until the server stops.
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}

wine_session_stop() {
  if [ -n "$wine_server_pid" ]; then
    wineserver -k >/dev/null 2>&1
    for _ in $(seq 1 50); do kill -0 "$wine_server_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$wine_server_pid" >/dev/null 2>&1
    wait "$wine_server_pid" 2>/dev/null
    wine_server_pid=""
  fi
  if [ -n "$wine_xvfb_pid" ]; then
    kill "$wine_xvfb_pid" >/dev/null 2>&1
    wait "$wine_xvfb_pid" 2>/dev/null
    wine_xvfb_pid=""
  fi
}
