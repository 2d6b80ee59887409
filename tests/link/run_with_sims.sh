#!/usr/bin/env bash
# Starts zq70sim instances registered as COM ports of $WINEPREFIX, runs a command, stops
# them again (by process id). COM1 answers normally, COM2 is silent, COM3 answers 'K'
# wrongly, COM4 answers 'S' wrongly, COM5 does not answer at address 300; COM6 is absent.
#   run_with_sims.sh ZQ70SIM COMMAND [ARGS...]
set -u
sim=$1; shift
if [ -z "${WINEPREFIX:-}" ]; then
  echo "run_with_sims.sh: WINEPREFIX is not set (run under scripts/with-wine); skipped"
  exit 77
fi
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

start_sim() {
  local com=$1; shift
  "$sim" --wine-prefix "$WINEPREFIX" --com "$com" "$@" >"$work/com$com" 2>&1 </dev/null &
  pids+=($!)
  # zq70sim prints the terminal's path once the port is registered.
  for _ in $(seq 1 200); do
    grep -q '^/' "$work/com$com" && return 0
    kill -0 "${pids[-1]}" 2>/dev/null || break
    sleep 0.05
  done
  echo "run_with_sims.sh: zq70sim for COM$com did not start:" >&2
  cat "$work/com$com" >&2
  exit 1
}

start_sim 1
start_sim 2 --silent
start_sim 3 --wrong-answer K
start_sim 4 --wrong-answer S
start_sim 5 --no-answer-at 300
rm -f "$WINEPREFIX/dosdevices/com6"

"$@"
status=$?
[ "$status" -eq 0 ] || echo "run_with_sims.sh: $(basename "$1") ${*:2} exited with status $status" >&2
exit "$status"
