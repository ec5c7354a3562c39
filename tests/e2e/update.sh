#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# "zel2 FORCE ..." against a simulated receiver in update mode, served through FUSE so the
# program's unbuffered reads and writes reach the emulation through the kernel, with the
# files' real sizes: a whole transfer from an installed simulator package to the success
# dialog, a receiver without HTML\NAVAREA.HTM to the error, and a receiver without a
# package: nothing written, every file byte-identical.
# Exit 77 (skipped) where this machine cannot mount a FUSE file system.
set -euo pipefail
zel2=$1 sim=$2 out=$3
mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid="" app_pid="" fuse_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then kill -9 "$app_pid" 2>/dev/null || true; fi
  fusermount3 -u "$work/mnt" 2>/dev/null || true
  if [ -n "$fuse_pid" ]; then kill "$fuse_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "$0")/common.sh"

[ -c /dev/fuse ] || skip "/dev/fuse is missing"
command -v fusermount3 >/dev/null || skip "fusermount3 is missing"

private_environment "$work"

start_xvfb "$work"

serve() {  # MODEL: a fresh volume in update mode on E:
  fusermount3 -u "$work/mnt" 2>/dev/null || true
  [ -n "$fuse_pid" ] && { kill "$fuse_pid" 2>/dev/null || true; wait "$fuse_pid" 2>/dev/null || true; }
  rm -rf "$work/volume" "$work/log" && mkdir -p "$work/mnt"
  "$sim" make "$1" "$work/volume"
  "$sim" update-mode "$work/volume" "$work/mnt" "$work/log" >"$out/fuse.log" 2>&1 &
  fuse_pid=$!
  for _ in $(seq 50); do [ -e "$work/mnt/.volume" ] && break; sleep 0.1; done
  [ -e "$work/mnt/.volume" ] || skip "cannot mount a FUSE file system here: $(cat "$out/fuse.log")"
  "$sim" attach "$ZEL2_DRIVES" E "$1" "$work/mnt" removable "$work/mnt/.volume"
}

window() {  # NAME [OTHER_THAN]: waits for a window of that name, prints its id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -vx "${2:-none}" | tail -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

finish() {
  kill -TERM "$app_pid"
  wait "$app_pid" || fail "zel2 ended with status $? after SIGTERM"
  app_pid=""
}

packages=$XDG_DATA_HOME/ZEL2/FIRMWARE
"$sim" make-firmware "$packages/sim-ZEL2B" ZEL2B
"$sim" make-firmware "$packages/sim-ZEL2X" ZEL2X
grep -q '^origin simulator' "$packages/sim-ZEL2B/MANIFEST.TXT" || fail "the package is not marked as simulator data"

# 1. A whole transfer of the new method, verified and started.
serve ZEL2B
[ "$(stat -c %s "$work/mnt/HTML/NAVAREA.HTM")" = 16384 ] || fail "NAVAREA.HTM is not served at its real size"
"$zel2" FORCE NEW_UPDATE >"$out/zel2-update.log" 2>&1 &
app_pid=$!
dialog=$(window "Mise à jour") || fail "the update dialog did not open"
sleep 0.3
/usr/bin/import -window root "$out/update-package.png"
xdotool mousemove --window "$dialog" 60 92 click 1   # Start
for _ in $(seq 200); do grep -q '^started 1' "$work/log" && break; sleep 0.1; done
grep -q '^started 1' "$work/log" || fail "the receiver was not started: $(head -3 "$work/log")"
[ "$(grep -c '^write 1 0 32' "$work/log")" = 12 ] || fail "expected 12 chunks through NAVAREA.HTM"
# The information dialog has the same caption as the update dialog it sits on.
info=$(window "Mise à jour" "$dialog") || fail "the information dialog did not open"
/usr/bin/import -window root "$out/update-success.png"
# The dialog closes on the key press, so sending the release finds no window.
xdotool key --window "$info" Return 2>/dev/null || true
sleep 0.5
finish

# 2. No HTML\NAVAREA.HTM on the receiver: nothing written, the error message.
serve ZEL2X
rm -f "$work/volume/HTML/NAVAREA.HTM"
"$zel2" FORCE NEW_UPDATE >"$out/zel2-error.log" 2>&1 &
app_pid=$!
dialog=$(window "Mise à jour") || fail "the update dialog did not open"
xdotool mousemove --window "$dialog" 60 92 click 1
box=$(window "ZELMARA 2") || fail "no error message"
/usr/bin/import -window root "$out/update-error.png"
grep -q '^write' "$work/log" && fail "something was written"
grep -q '^started 1' "$work/log" && fail "the receiver was started"
xdotool key --window "$box" Return 2>/dev/null || true
sleep 0.5
finish

# 3. No package for the ZEL2D: nothing is opened for writing, the files stay as they were.
rm -rf "$packages"
serve ZEL2D
[ "$(stat -c %s "$work/mnt/NAV518.BIN")" = 262144 ] || fail "NAV518.BIN is not served at its real size"
before=$(cd "$work/volume" && find . -type f -print0 | sort -z | xargs -0 sha256sum)
"$zel2" FORCE UPDATE >"$out/zel2-nopackage.log" 2>&1 &
app_pid=$!
dialog=$(window "Mise à jour") || fail "the update dialog did not open"
xdotool mousemove --window "$dialog" 60 92 click 1
box=$(window "ZELMARA 2") || fail "no message about the missing package"
/usr/bin/import -window root "$out/update-nopackage.png"
xdotool key --window "$box" Return 2>/dev/null || true
sleep 0.5
xdotool search --onlyvisible --name "^Mise à jour\$" >/dev/null || fail "the dialog closed without a package"
grep -q '^write' "$work/log" && fail "something was written without a package"
grep -q '^command' "$work/log" && fail "a command was sent without a package"
after=$(cd "$work/volume" && find . -type f -print0 | sort -z | xargs -0 sha256sum)
[ "$before" = "$after" ] || fail "the receiver's files changed"
finish
echo "update e2e: passed"
