#!/usr/bin/env bash
# zq70cfg.exe under Wine against zq70sim instances registered as COM ports of $WINEPREFIX:
# write with verify, read back as image and text, and the failures a bench meets. COM7
# answers normally, COM8 has a bad cell at 144, COM12 is silent, COM9 is absent, COM10
# logs every byte so that a write can be interrupted in the middle.
#   wine_serial_test.sh ZQ70SIM WINE ZQ70CFG_EXE PANEL_TOML
set -u
sim=$1 wine=$2 cfg=$3 panel=$4
source "$(dirname "$0")/../support/sim_ports.sh"
cd "$work" || exit 1

passed=0
failed=0
# check NAME EXPECTED_STATUS COMMAND...: runs zq70cfg.exe, keeps its output (without the
# console's carriage returns) in NAME.out and NAME.err.
check() {
  local name=$1 expected=$2; shift 2
  "$wine" "$cfg" "$@" >"$name.raw" 2>"$name.rawerr" </dev/null
  local status=$?
  tr -d '\r' <"$name.raw" >"$name.out"
  tr -d '\r' <"$name.rawerr" >"$name.err"
  if [ "$status" -eq "$expected" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED $name: exit status $status, expected $expected; stdout, stderr:"
    cat "$name.out" "$name.err"
  fi
}
# expect NAME CONDITION...: one more check that is not a run of zq70cfg.exe.
expect() {
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED $name"; fi
}

start_sim 7 --memory "$work/memory7.bin"
start_sim 8 --bad-cell-at 144
start_sim 12 --silent
start_sim 10 --log "$work/log10"
rm -f "$WINEPREFIX/dosdevices/com9"

check version 0 --version
expect version-text grep -qx "zq70cfg [0-9.]*" version.out
check import 0 import "$panel" -o panel.bin

start=$(date +%s%N)
check write 0 write --port COM7 panel.bin
end=$(date +%s%N)
expect write-says-verified grep -q "verified" write.out
expect memory-is-the-image cmp -s memory7.bin panel.bin
check read 0 read --port COM7 -o back.bin
expect read-gives-the-image cmp -s back.bin panel.bin
check read-text 0 read --port '\\.\COM7' -o back.toml
check diff 0 diff back.toml panel.bin

check bad-cell 7 write --port COM8 panel.bin
expect bad-cell-named grep -q "verify failed: 1 byte differs, at 144" bad-cell.err
check silent 6 write --port com12 panel.bin
expect silent-message grep -q "error while writing to the ZQ70" silent.err
check absent 5 read --port COM9 -o never.bin
expect absent-message grep -q "cannot open COM9" absent.err
expect absent-no-file test ! -e never.bin
check not-a-port 2 read --port LPT1 -o never.bin

# Ctrl+C in the middle of a write (Wine hands SIGINT to the console's Ctrl+C handler): the
# write ends between two commands with the port closed, so writing again just works.
"$wine" "$cfg" write --port COM10 panel.bin >ctrl-c.out 2>ctrl-c.raw </dev/null &
cfg_pid=$!
for _ in $(seq 1 200); do grep -q '^<-  87 ' log10 2>/dev/null && break; sleep 0.05; done
kill -INT "$cfg_pid"
wait "$cfg_pid"
status=$?
tr -d '\r' <ctrl-c.raw >ctrl-c.err
expect ctrl-c-exit-status test "$status" -eq 130
expect ctrl-c-message grep -q "interrupted while writing" ctrl-c.err
check write-again-after-ctrl-c 0 write --port COM10 panel.bin

# zq70cfg ports: the COM ports mapped in the prefix, as Wine tells them, and the probe.
check ports 0 ports
echo "zq70cfg ports under Wine:"; cat ports.out
# Wine's SetupAPI knows no COM port, and of the DOS device names it lists the COM ports it
# mapped when its server started (not those registered since, as here): every line is one
# of those, and COM9, absent, is never among them.
expect ports-lines-are-com-ports test "$(grep -cv "^COM[0-9]*$" ports.out)" -eq 0
expect ports-leaves-out-com9 test "$(grep -c "^COM9$" ports.out)" -eq 0
check ports-probe 0 ports --probe
expect probe-lines-have-a-word test "$(grep -cvE "^COM[0-9]+  (ZQ70|no answer|busy|no access|cannot open)$" ports-probe.out)" -eq 0

# Many ports at once over a range (COM9 is absent, so COM7-COM9 takes COM7 and COM8): the
# bad cell on COM8 never stops COM7; Ctrl+C ends both with a tally each and in all. (Either
# device may also miss an answer on a loaded machine: what is checked holds all the same.)
"$wine" "$cfg" write --port COM7-COM9 panel.bin --repeat --log many.csv >many.raw 2>many.rawerr </dev/null &
cfg_pid=$!
for _ in $(seq 1 1200); do
  tr -d '\r' <many.raw >many.out
  grep -q "^COM7: .*  #1  " many.out && grep -q "^COM8: .*  #1  " many.out && break
  sleep 0.1
done
kill -INT "$cfg_pid"
wait "$cfg_pid"
status=$?
tr -d '\r' <many.raw >many.out
tr -d '\r' <many.rawerr >many.err
expect many-exit-status test "$status" -eq 9
expect many-com7-tally grep -qE "^COM7: [0-9]+ devices? written, [0-9]+ verified, [0-9]+ failed$" many.out
expect many-com8-tally grep -qE "^COM8: [0-9]+ devices? written, 0 verified, [1-9][0-9]* failed$" many.out
expect many-in-all grep -qE "^In all: [0-9]+ devices? written" many.out
expect many-log-port-column grep -qE ",1,(written,mismatch|failed,-),COM8$" many.csv
[ "$status" -eq 9 ] || cat many.out many.err

echo "write with verify under Wine: $(((end - start) / 1000000)) ms"
echo "wine_serial_test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
