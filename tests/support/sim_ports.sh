# Sourced by the Wine test scripts: zq70sim instances registered as COM ports of
# $WINEPREFIX, all stopped (by process id) and the scratch folder removed when the script
# exits. Set sim (the zq70sim program) before sourcing; work is the scratch folder.
if [ -z "${WINEPREFIX:-}" ]; then
  echo "$(basename "$0"): WINEPREFIX is not set (run under scripts/with-wine); skipped"
  exit 77
fi
work=$(mktemp -d)
sim_pids=()
stop_sims() {
  for pid in "${sim_pids[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap stop_sims EXIT

# start_sim COM [ZQ70SIM OPTION...]: returns once the port is registered (zq70sim prints
# its terminal's path then).
start_sim() {
  local com=$1; shift
  "$sim" --wine-prefix "$WINEPREFIX" --com "$com" "$@" >"$work/com$com.out" 2>&1 </dev/null &
  sim_pids+=($!)
  for _ in $(seq 1 200); do
    grep -q '^/' "$work/com$com.out" && return 0
    kill -0 "${sim_pids[-1]}" 2>/dev/null || break
    sleep 0.05
  done
  echo "$(basename "$0"): zq70sim for COM$com did not start:" >&2
  cat "$work/com$com.out" >&2
  exit 1
}
