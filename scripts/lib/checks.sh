# Check helpers of scripts/dist-test and scripts/lib/dist-wine-test.sh (sourced): each check
# prints one "ok: WHAT" or "FAILED: WHAT" line, a failure followed by what was seen.
passed=0
failed=0
ok() { echo "ok: $1"; passed=$((passed + 1)); }
fail() {
  echo "FAILED: $1"; failed=$((failed + 1))
  [ -z "${2:-}" ] || sed 's/^/    /' <<<"$2"
}
expect() { # expect WHAT COMMAND...: passes when the command does; shows its output if not
  local what=$1 output; shift
  if output=$("$@" 2>&1); then ok "$what"; else fail "$what" "$output"; fi
}
same() { # same WHAT EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then ok "$1"; else fail "$1" "$(diff <(echo "$2") <(echo "$3"))"; fi
}
