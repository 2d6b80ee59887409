# Shared by scripts/run and scripts/screenshots (sourced, not run): a private Wine prefix in
# the working folder, a virtual display when there is none, a persistent Wine server, and
# the helpers to find, capture and close the program's window.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(realpath -m "${ZQ70_BUILD:-$root/build/mingw}")
exe=${ZQ70_EXE:-$build/mainwin/zq70load.exe}
workdir=${ZQ70_RUN_DIR:-$root/run}
window_title="ZQ70 Configuration Utility"

exe=$(realpath -m "$exe")
[ -f "$exe" ] || { echo "$(basename "$0"): $exe not found; build it first" >&2; exit 1; }
mkdir -p "$workdir"
workdir=$(cd "$workdir" && pwd)
export WINEPREFIX="$workdir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix" "$WINEPREFIX" || { echo "could not prepare $WINEPREFIX" >&2; exit 1; }

sim=${ZQ70SIM:-$root/build/native/tools/zq70sim}
xvfb_pid=""
server_pid=""
program_pid=""
sim_pid=""

start_display() {
  [ -n "${DISPLAY:-}" ] && [ -z "${ZQ70_HEADLESS:-}" ] && return 0
  for n in $(seq 90 140); do
    { [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; } && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    kill -0 "$xvfb_pid" 2>/dev/null && return 0
    xvfb_pid=""
  done
  echo "could not start Xvfb" >&2
  exit 1
}

start_server() {
  # A session of its own, so that the hang-up of the simulator's terminal never reaches it.
  setsid wineserver -p >"$workdir/wineserver.log" 2>&1 &
  server_pid=$!
}

# A simulated ZQ70 on a pseudo-terminal registered as COM1 of the prefix, its memory kept
# in the working folder. Needs the server running (it registers the port through Wine).
start_simulator() {
  [ -x "$sim" ] || { echo "$(basename "$0"): $sim not found; build it first" >&2; exit 1; }
  "$sim" --memory "$workdir/zq70sim-memory.bin" --wine-prefix "$WINEPREFIX" --com 1 \
    >"$workdir/zq70sim.out" 2>"$workdir/zq70sim.log" </dev/null &
  sim_pid=$!
  for _ in $(seq 1 200); do
    grep -q '^/' "$workdir/zq70sim.out" 2>/dev/null && break
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.05
  done
  grep -q '^/' "$workdir/zq70sim.out" 2>/dev/null ||
    { echo "$(basename "$0"): zq70sim did not start: $(cat "$workdir/zq70sim.log")" >&2; exit 1; }
  echo "Simulated ZQ70 on COM1 ($(head -n 1 "$workdir/zq70sim.out")), memory in $workdir/zq70sim-memory.bin"
}

stop_all() {
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
  fi
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
  fi
  if [ -n "$server_pid" ]; then
    wineserver -k >/dev/null 2>&1
    for _ in $(seq 1 50); do kill -0 "$server_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
}

start_program() {
  (cd "$workdir" && exec wine "$exe") &
  program_pid=$!
}

# Prints the X window id of the main window once it is mapped (up to about 20 s).
wait_for_window() {
  local id
  for _ in $(seq 1 200); do
    id=$(xdotool search --onlyvisible --name "^$window_title\$" 2>/dev/null | head -1)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}

# capture_window XID FILE: the window as it is on the screen, frame included.
capture_window() {
  local id=$1 file=$2 x y w h
  eval "$(xdotool getwindowgeometry --shell "$id")"
  x=$X y=$Y w=$WIDTH h=$HEIGHT
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$file"
}

# Asks the program to close as a user would (WM_CLOSE), and waits for it.
close_program() {
  (cd "$workdir" && wine taskkill /im "$(basename "$exe")" >/dev/null 2>&1)
  for _ in $(seq 1 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
  wait "$program_pid" 2>/dev/null
  program_pid=""
}
