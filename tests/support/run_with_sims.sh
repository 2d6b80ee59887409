#!/usr/bin/env bash
# Starts zq70sim instances registered as COM ports of $WINEPREFIX, runs a command, stops
# them again (by process id). COM1 answers normally, COM2 is silent, COM3 answers 'K'
# wrongly, COM4 answers 'S' wrongly, COM5 does not answer at address 300; COM6 is absent.
#   run_with_sims.sh ZQ70SIM COMMAND [ARGS...]
set -u
sim=$1; shift
source "$(dirname "$0")/sim_ports.sh"

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
