# Sourced by scripts/run and scripts/screenshots: the window program under Wine in a working
# folder of its own (a private prefix inside it), a simulated ZQ70 on its COM1, and the
# helpers to find, capture and close the program's window.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/scripts/lib/wine-session.sh"
build=$(realpath -m "${ZQ70_BUILD:-$root/build/mingw}")
exe=${ZQ70_EXE:-$build/mainwin/zq70load.exe}
driver="$build/tools/zq70drive/zq70drive.exe"
workdir=${ZQ70_RUN_DIR:-$root/run}
window_title="ZQ70 Configuration Utility"

exe=$(realpath -m "$exe")
[ -f "$exe" ] || { echo "$(basename "$0"): $exe not found; build it first" >&2; exit 1; }
mkdir -p "$workdir"
workdir=$(cd "$workdir" && pwd)

sim=${ZQ70SIM:-$root/build/native/sim/zq70sim}
program_pid=""
sim_pid=""
own_display="" # set when the session runs on a virtual display of its own

# The user's display when there is one (and ZQ70_HEADLESS is not set), else a virtual one.
start_session() {
  local display=""
  [ -n "${DISPLAY:-}" ] && [ -z "${ZQ70_HEADLESS:-}" ] && display=$DISPLAY
  wine_session_start "$workdir/wineprefix" "$workdir" "$display" || exit 1
  [ -n "$display" ] || own_display=1
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
  wine_session_stop
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
