# The Linux packages of a release, checked as their users meet them; sourced by
# scripts/dist-test after scripts/lib/checks.sh, with dist, work, version and epoch set:
#   linux_packages ARCH CPU [EMULATOR...]
# checks zq70-tools_VERSION_ARCH.deb and zq70-tools-VERSION-linux-CPU.tar.gz: the deb's
# fields, dependencies, contents and lintian, the programs (stripped, for the processor,
# needing no newer C library than the deb asks for), the manual pages and changelog, the
# tar.gz, and the programs at work: --version, an export and import round trip, and a
# write with verify and a read against the package's own zq70sim on a pseudo-terminal.
# EMULATOR runs a program of another processor here (qemu-user); those packages' pages and
# results must also be the ones of the amd64 package, which is checked first.
# Prints one "ok:" or "FAILED:" line per check.

linux_packages() {
  local arch=$1 cpu=$2
  shift 2
  local run=("$@")
  local deb="zq70-tools_${version}_$arch.deb" tgz="zq70-tools-$version-linux-$cpu.tar.gz"
  local here="$work/linux-$arch" reference="$work/linux-amd64"
  local unpacked="$here/deb" bin="$here/deb/usr/bin" archive="$here/tgz/${tgz%.tar.gz}"
  mkdir -p "$here/tgz"
  dpkg-deb -x "$dist/$deb" "$unpacked"
  tar -xzf "$dist/$tgz" -C "$here/tgz"

  # --- The deb.
  field() { dpkg-deb --field "$dist/$deb" "$1"; }
  same "$deb fields" "zq70-tools|$version|$arch|electronics|optional" \
    "$(field Package)|$(field Version)|$(field Architecture)|$(field Section)|$(field Priority)"
  local maintainer depends name_and_address='^[^<]+ <[^@>]+@[^>]+>$'
  maintainer=$(field Maintainer) depends=$(field Depends)
  if [[ $maintainer =~ $name_and_address ]] && [[ $depends == *libc6* ]] &&
    [ "$(field Description | wc -l)" -gt 2 ]; then
    ok "$deb maintainer, dependencies and description"
  else
    fail "$deb maintainer, dependencies and description" "$maintainer"$'\n'"$depends"
  fi
  # The newest C library version any symbol of the programs needs is the least the deb
  # may ask for.
  local needed asked
  needed=$(readelf -V --wide "$bin/zq70cfg" "$bin/zq70sim" |
    grep -oE 'Name: GLIBC_[0-9.]+' | sed 's/.*_//' | sort -V | tail -n 1)
  asked=$(sed -nE 's/(^|.*, )libc6 \(>= ([0-9.]+)\).*/\2/p' <<<"$depends")
  if [ -n "$needed" ] && [ -n "$asked" ] && dpkg --compare-versions "$asked" ge "$needed"; then
    ok "$deb asks for libc6 $asked, its programs need $needed"
  else
    fail "$deb asks for libc6 '$asked', its programs need '$needed'" "$depends"
  fi
  if [ ${#run[@]} -gt 0 ]; then
    # libstdc++ and libgcc are linked in: the C library is all such a package needs.
    local libraries
    libraries=$(readelf -d "$bin/zq70cfg" "$bin/zq70sim" |
      sed -nE 's/.*\(NEEDED\).*\[(.*)\]/\1/p' | sort -u)
    if [[ $depends =~ ^libc6\ \(\>=\ [0-9.]+\)$ ]] &&
      ! grep -vqxE 'libc\.so\.6|ld-linux-[a-z0-9_-]+\.so\.[0-9]+' <<<"$libraries"; then
      ok "$deb needs the C library only: $(echo $libraries)"
    else
      fail "$deb needs more than the C library" "$depends"$'\n'"$libraries"
    fi
  fi
  same "$deb contents" "$(cat <<EOF
drwxr-xr-x root/root ./usr/
drwxr-xr-x root/root ./usr/bin/
-rwxr-xr-x root/root ./usr/bin/zq70cfg
-rwxr-xr-x root/root ./usr/bin/zq70sim
drwxr-xr-x root/root ./usr/share/
drwxr-xr-x root/root ./usr/share/doc/
drwxr-xr-x root/root ./usr/share/doc/zq70-tools/
-rw-r--r-- root/root ./usr/share/doc/zq70-tools/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/zq70-tools/copyright
-rw-r--r-- root/root ./usr/share/doc/zq70-tools/guide.html
drwxr-xr-x root/root ./usr/share/man/
drwxr-xr-x root/root ./usr/share/man/man1/
-rw-r--r-- root/root ./usr/share/man/man1/zq70cfg.1.gz
-rw-r--r-- root/root ./usr/share/man/man1/zq70sim.1.gz
drwxr-xr-x root/root ./usr/share/zq70-tools/
-rw-r--r-- root/root ./usr/share/zq70-tools/zq70web.html
EOF
)" "$(dpkg-deb --contents "$dist/$deb" | awk '{ print $1, $2, $6 }')"
  local lintian_out status
  lintian_out=$(lintian --tag-display-limit 0 "$dist/$deb" 2>&1)
  status=$?
  lintian_out=$(grep -v 'running with root privileges' <<<"$lintian_out")
  if [ "$status" -ne 0 ] || grep -q '^E:' <<<"$lintian_out"; then
    fail "lintian reports errors in $deb" "$lintian_out"
  else
    ok "lintian reports no errors in $deb${lintian_out:+ ($(grep -c '^[WI]:' <<<"$lintian_out") notes)}"
    [ -z "$lintian_out" ] || sed 's/^/    /' <<<"$lintian_out"
  fi

  # --- The programs.
  local machine
  case $arch in
    amd64) machine='Machine: +Advanced Micro Devices X86-64' ;;
    arm64) machine='Machine: +AArch64' ;;
    armhf) machine='Flags: .*hard-float ABI' ;;
  esac
  expect "$deb: programs for $cpu" bash -c "for p in '$bin/zq70cfg' '$bin/zq70sim'; do
    readelf -h \"\$p\" | grep -qE '$machine' || { readelf -h \"\$p\"; exit 1; }; done"
  expect "$deb: programs stripped" \
    bash -c "sections=\$(readelf -S '$bin/zq70cfg' '$bin/zq70sim') && ! grep -q '\.symtab' <<<\"\$sections\""
  same "zq70cfg --version from $deb" "zq70cfg $version" \
    "$("${run[@]}" "$bin/zq70cfg" --version 2>&1)"
  expect "zq70sim --help from $deb" bash -c "$(printf '%q ' "${run[@]}" "$bin/zq70sim") --help |
    grep -q -- --memory"
  programs_at_work "$deb" "$here" "$bin" "${run[@]}"

  # Manual pages and changelog compressed without name or time (gzip -n), and dated and
  # versioned from the release.
  expect "$deb: man pages and changelog" python3 - "$unpacked/usr/share" "$version" "$epoch" <<'PY'
import gzip, sys, time
share, version, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
month = time.strftime("%B %Y", time.gmtime(epoch))
for name, first in (("man/man1/zq70cfg.1.gz", f'"{month}" "zq70cfg {version}"'),
                    ("man/man1/zq70sim.1.gz", f'"{month}" "zq70sim {version}"'),
                    ("doc/zq70-tools/changelog.gz", f"zq70-tools ({version})")):
    raw = open(f"{share}/{name}", "rb").read()
    assert raw[3] & 0x08 == 0 and raw[4:8] == b"\0\0\0\0", f"{name}: gzip header has a name or time"
    assert first in gzip.decompress(raw).decode(), f"{name}: no {first}"
PY
  if [ "$arch" != amd64 ]; then
    # Made by the ARM programs under the emulator, the pages say what the amd64 ones say.
    expect "$deb: documents those of the amd64 package" bash -c "cd '$unpacked' &&
      for file in \$(find usr/share -type f); do cmp \"\$file\" '$reference/deb/'\"\$file\" || exit 1; done"
  fi

  # --- The tar.gz: the deb's files under one folder, owned by root, dated by the commit.
  same "$tgz contents" "$(cd "$unpacked/usr" && find . -type f | sort)" \
    "$(cd "$archive" && find . -type f | sort)"
  expect "$tgz programs are the deb's" bash -c \
    "cmp '$bin/zq70cfg' '$archive/bin/zq70cfg' && cmp '$bin/zq70sim' '$archive/bin/zq70sim'"
  expect "$tgz entries under ${tgz%.tar.gz}/, owned by root, dated by the last commit" python3 - \
    "$dist/$tgz" "${tgz%.tar.gz}/" "$epoch" <<'PY'
import sys, tarfile
for entry in tarfile.open(sys.argv[1]):
    assert entry.name.startswith(sys.argv[2]), entry.name
    assert entry.uid == entry.gid == 0 and entry.mtime == int(sys.argv[3]), entry.name
PY
}

# programs_at_work DEB DIR BIN [EMULATOR...]: the example keypad imported, exported and
# imported again; then written into the package's own zq70sim with verify and read back.
# The files go to DIR; an ARM package's must be the amd64 package's.
programs_at_work() {
  local deb=$1 dir=$2 bin=$3
  shift 3
  local run=("$@") example="$root/docs/examples/keypad.toml"
  local zq70cfg=("${run[@]}" "$bin/zq70cfg")
  expect "$deb: import, export and import again give the same bytes" bash -c "
    $(printf '%q ' "${zq70cfg[@]}") import '$example' -o '$dir/keypad.bin' &&
    $(printf '%q ' "${zq70cfg[@]}") export '$dir/keypad.bin' -o '$dir/keypad.toml' &&
    $(printf '%q ' "${zq70cfg[@]}") import '$dir/keypad.toml' -o '$dir/again.bin' &&
    cmp '$dir/keypad.bin' '$dir/again.bin'"
  if [ ${#run[@]} -gt 0 ]; then
    expect "$deb: the same configuration and text as the amd64 programs" bash -c "
      cmp '$dir/keypad.bin' '$work/linux-amd64/keypad.bin' &&
      cmp '$dir/keypad.toml' '$work/linux-amd64/keypad.toml'"
  fi

  local pty="" sim
  "${run[@]}" "$bin/zq70sim" --memory "$dir/memory.bin" >"$dir/sim.out" 2>"$dir/sim.err" &
  sim=$!
  for _ in $(seq 100); do
    pty=$(head -n 1 "$dir/sim.out")
    [ -z "$pty" ] || break
    sleep 0.1
  done
  if [ -z "$pty" ]; then
    fail "$deb: zq70sim gave no pseudo-terminal" "$(cat "$dir/sim.err")"
  else
    same "$deb: zq70cfg write, verified, into zq70sim" \
      "Written to the ZQ70 on $pty and verified" \
      "$(timeout 120 "${zq70cfg[@]}" write --port "$pty" "$dir/keypad.bin" 2>&1)"
    expect "$deb: the simulator holds what was written, and zq70cfg reads it back" bash -c "
      cmp '$dir/memory.bin' '$dir/keypad.bin' &&
      timeout 120 $(printf '%q ' "${zq70cfg[@]}") read --port '$pty' -o '$dir/read.bin' &&
      cmp '$dir/read.bin' '$dir/keypad.bin'"
  fi
  kill -TERM "$sim" 2>/dev/null
  wait "$sim" 2>/dev/null
}
