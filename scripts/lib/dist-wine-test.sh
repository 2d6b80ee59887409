# The Windows packages under Wine as a user meets them; run by scripts/dist-test through
# scripts/with-wine in a fresh prefix:
#   dist-wine-test.sh DIST_DIR VERSION PORTABLE_DIR ZQ70DRIVE_EXE ZQ70START_EXE
# The installer, silently, twice: once installed and uninstalled untouched, which must give
# the prefix back as it was; once with the program started from its Start-menu shortcut by
# two users of the computer, each choosing a port in a folder of their own, after which
# only each user's zq70load.ini may stay. Then the portable program from the unpacked zip.
# Prints one "ok:" or "FAILED:" line per check.
set -u
dist=$1 version=$2 portable=$3 drive=$4 launcher=$5
c="$WINEPREFIX/drive_c"
program_dir="$c/Program Files/ZQ70Load"
menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\ZQ70Load'
menu_dir="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/ZQ70Load"
# Each user's own folder, where the shortcut starts the program; Wine names the profile
# after the user.
first=$(whoami) second=zq70second
work_dir="$c/users/$first/AppData/Local/ZQ70Load"
second_work_dir="$c/users/$second/AppData/Local/ZQ70Load"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZQ70Load'
title="ZQ70 Configuration Utility"

. "$(dirname "$0")/checks.sh"
. "$(dirname "$0")/wine-session.sh"
wait_until() { # wait_until SECONDS COMMAND...: true once the command is
  local tries=$(($1 * 10)); shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}
window_shown() { xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; }
# Whether a zq70load.exe of this prefix still runs (other prefixes may run one too).
program_running() {
  local pid
  for pid in $(pgrep -f 'zq70load\.exe'); do
    grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null && return 0
  done
  return 1
}
program_ended() { ! program_running; }
reg_value() { # reg_value KEY NAME: the value's data as reg prints it
  wine reg query "$1" /v "$2" 2>/dev/null | sed -nE "s/^ +$2 +REG_[A-Z_]+ +//p" | tr -d '\r'
}
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
files_in() { (cd "$1" 2>/dev/null && find . -mindepth 1 | sort); }
# The prefix's files and the subkeys of both Software keys; Wine's temporary folders churn.
snapshot() {
  (cd "$c" && find . \( -ipath './users/*/Temp' -o -ipath './windows/temp' \) -prune -o -print |
    sort)
  wine reg query 'HKLM\Software' | tr -d '\r'
  wine reg query 'HKCU\Software' | tr -d '\r'
}

install() {
  wine "$dist/zq70load-$version-setup.exe" /S &&
    wait_until 60 test -f "$program_dir/Uninstall.exe" && wait_until 20 key_exists "$uninstall_key"
}
uninstalled() { [ ! -e "$program_dir" ] && [ ! -e "$menu_dir" ] && ! key_exists "$uninstall_key"; }
# The uninstaller copies itself to a temporary folder and returns at once; the copy works on.
uninstall() { wine 'C:\Program Files\ZQ70Load\Uninstall.exe' /S && wait_until 60 uninstalled; }
# The program started from its Start-menu shortcut; nothing of ours held open by it.
start_from_menu() {
  wine start "$menu\\ZQ70Load.lnk" >/dev/null 2>&1 </dev/null && wait_until 30 window_shown
}
# port_kept_in FOLDER COMMAND DIGIT: picks a port in the running program, closes it, and
# finds the port's digit in FOLDER/zq70load.ini.
port_kept_in() {
  wine "$drive" command "$2" && wine "$drive" close && wait_until 20 program_ended &&
    [ "$(cat "$1/zq70load.ini")" = "$3" ]
}

# Two users of one computer. Wine keeps one user in a prefix: HKEY_CURRENT_USER in
# user.reg, with the profile folders (and so %LOCALAPPDATA%) that wineboot made for the
# $USER of that day. Another user is another user.reg, made by wineboot for another $USER,
# over the same drive and HKEY_LOCAL_MACHINE: Wine then finds that user's folders as
# Windows finds a second account's. The server holds the registry, so it stops (saving
# it) while the hives change places. Not in a subshell: USER must change here.
hives="$WINEPREFIX/zq70-user-hives"
mkdir -p "$hives"
user=$first
switch_user() { # switch_user NAME
  wineserver -k && mv "$WINEPREFIX/user.reg" "$hives/$user.reg" || return 1
  user=$1
  export USER=$1 LOGNAME=$1
  if [ -f "$hives/$1.reg" ]; then
    mv "$hives/$1.reg" "$WINEPREFIX/user.reg" && wine_server_start "$hives"
  else
    # A new user, with the first one's Wine settings (no window manager, the fonts).
    wine_server_start "$hives" && wineboot -u >/dev/null 2>&1 </dev/null &&
      wine reg import "$(winepath -w "$hives/wine-settings.reg")" >/dev/null 2>&1 </dev/null
  fi
}
# switched NAME: switches and passes when Wine now gives the user's own folder.
switched() {
  local expected="C:\\users\\$1\\AppData\\Local" found
  if switch_user "$1" &&
    found=$(wine cmd /c 'echo %LOCALAPPDATA%' 2>&1 </dev/null | tr -d '\r') &&
    [ "$found" = "$expected" ]; then
    ok "now $1 uses the computer, with %LOCALAPPDATA% $found"
  else
    fail "switching to $1: %LOCALAPPDATA% is '${found:-}', not $expected"
  fi
}
wine reg export 'HKCU\Software\Wine' "$(winepath -w "$hives/wine-settings.reg")" /y \
  >/dev/null 2>&1 </dev/null
# The second user's profile is there before the first snapshot, as on a shared computer.
switched "$second"
switched "$first"

before=$(snapshot)

# 1. Installed and uninstalled untouched.
expect "the installer runs silently" install
same "installed files: the zip's but its read-me, the launcher and the uninstaller" \
  "$( (files_in "$portable" | grep -vxE '\./(README\.txt|zq70load\.ini)'
      printf '%s\n' ./Uninstall.exe ./zq70start.exe) | sort)" \
  "$(files_in "$program_dir")"
expect "the installed program is the zip's" cmp "$program_dir/zq70load.exe" "$portable/zq70load.exe"
expect "the installed launcher is the one built" cmp "$program_dir/zq70start.exe" "$launcher"
same "Start-menu shortcuts" \
  "$(printf '%s\n' './Uninstall.lnk' './ZQ70 web editor.lnk' './ZQ70Load user guide.lnk' './ZQ70Load.lnk' |
    sort)" \
  "$(files_in "$menu_dir")"
expect "the guide's shortcut opens the installed guide" \
  grep -qaF 'C:\Program Files\ZQ70Load\guide.html' "$menu_dir/ZQ70Load user guide.lnk"
expect "the web editor's shortcut opens the installed page" \
  grep -qaF 'C:\Program Files\ZQ70Load\zq70web.html' "$menu_dir/ZQ70 web editor.lnk"
expect "the program's shortcut runs the launcher" \
  grep -qaF 'C:\Program Files\ZQ70Load\zq70start.exe' "$menu_dir/ZQ70Load.lnk"
same "installed-programs entry" \
  "ZQ70Load|$version|ZQ70Load authors|\"C:\\Program Files\\ZQ70Load\\Uninstall.exe\"|C:\\Program Files\\ZQ70Load\\zq70load.exe" \
  "$(reg_value "$uninstall_key" DisplayName)|$(reg_value "$uninstall_key" DisplayVersion)|$(reg_value "$uninstall_key" Publisher)|$(reg_value "$uninstall_key" UninstallString)|$(reg_value "$uninstall_key" DisplayIcon)"
size_kb=$(($(reg_value "$uninstall_key" EstimatedSize)))
files_kb=$(($(du -sb --exclude=Uninstall.exe "$program_dir" | cut -f1) / 1024))
expect "estimated size $size_kb KB for $files_kb KB of files" \
  test "$size_kb" -ge $((files_kb * 95 / 100)) -a "$size_kb" -le $((files_kb * 105 / 100 + 8))
expect "installing makes no folder in any user's profile" \
  test ! -e "$work_dir" -a ! -e "$second_work_dir"
same "installed zq70cfg --version" "zq70cfg $version" \
  "$(wine 'C:\Program Files\ZQ70Load\zq70cfg.exe' --version 2>&1 | tr -d '\r')"
expect "the uninstaller runs silently" uninstall
same "after uninstalling, the prefix is as before installing" "$before" "$(snapshot)"

# 2. Used by two users between installing and uninstalling: the one shortcut starts each
# user's program in that user's own folder, made at the first start.
expect "the installer runs silently again" install
expect "the program started from its shortcut shows its window" start_from_menu
expect "a chosen port (Com 3) is kept in $first's own folder" \
  port_kept_in "$work_dir" "port=Com 3" 3
switched "$second"
expect "the program started from the same shortcut by $second shows its window" start_from_menu
expect "a chosen port (Com 5) is kept in $second's own folder" \
  port_kept_in "$second_work_dir" "port=Com 5" 5
same "$first's setting stays as $first chose it" "3" "$(cat "$work_dir/zq70load.ini")"
switched "$first"
expect "the uninstaller runs silently again" uninstall
same "after uninstalling, only each user's zq70load.ini stays" \
  "$(printf '%s\n' "$before" \
    "./users/$first/AppData/Local/ZQ70Load" "./users/$first/AppData/Local/ZQ70Load/zq70load.ini" \
    "./users/$second/AppData/Local/ZQ70Load" \
    "./users/$second/AppData/Local/ZQ70Load/zq70load.ini" | sort)" "$(snapshot | sort)"

# 3. The portable program, started in its own folder.
(cd "$portable" && exec wine zq70load.exe >/dev/null 2>&1) &
expect "the portable program shows its window" wait_until 30 window_shown
expect "a chosen port (Com 2) is kept in the portable folder" port_kept_in "$portable" "port=Com 2" 2
wait
same "portable zq70cfg --version" "zq70cfg $version" \
  "$(cd "$portable" && wine zq70cfg.exe --version 2>&1 | tr -d '\r')"
echo "wine checks: $passed passed, $failed failed"
