#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under Xvfb with a simulated ZEL2B: the start-up picture first, the
# pages three seconds later, and SIGTERM ends it the orderly way with status 0.
set -euo pipefail
zel2=$1 sim=$2 out=$3
mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid="" app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then kill -9 "$app_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "$0")/common.sh"

private_environment "$work"
"$sim" demo ZEL2B "$work/volume" "$ZEL2_DRIVES" E

start_xvfb "$work"

"$zel2" >"$out/zel2.log" 2>&1 &
app_pid=$!
for _ in $(seq 100); do
  xwininfo -root -tree 2>/dev/null | grep -q '"ZEL2"' && break
  kill -0 "$app_pid" 2>/dev/null || fail "zel2 ended at start: $(cat "$out/zel2.log")"
  sleep 0.1
done
xwininfo -root -tree | grep -q '"ZEL2"' || fail "no window named ZEL2"

# Mean colour of the client area: the start-up picture is sky blue, the NAVTEX page is
# mostly the white memo and the light green tree.
mean() {
  /usr/bin/convert "$1" -crop 600x300+340+300 -resize '1x1!' -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}
sleep 1
/usr/bin/import -window root "$out/startup-picture.png"
read -r r g b <<<"$(mean "$out/startup-picture.png")"
echo "start-up picture mean colour: $r $g $b"
[ "$b" -gt $((r + 40)) ] || fail "the start-up picture is not shown"

sleep 4
/usr/bin/import -window root "$out/pages.png"
read -r r g b <<<"$(mean "$out/pages.png")"
echo "pages mean colour: $r $g $b"
{ [ "$r" -gt 180 ] && [ "$b" -lt $((r + 40)) ]; } || fail "the pages did not replace the picture"

# A second copy in the same logon asks "Application already runs!" and opens no window of its own.
"$zel2" >"$out/second.log" 2>&1 &
second=$!
sleep 2
kill -0 "$second" 2>/dev/null || fail "the second copy ended without its message"
/usr/bin/import -window root "$out/second-copy.png"
[ "$(xwininfo -root -tree | grep -c '"ZEL2"')" -eq 1 ] || fail "the second copy opened a main window"
xwininfo -root -tree > "$out/windows.txt"
kill "$second"; wait "$second" 2>/dev/null || true

kill -TERM "$app_pid"
status=0
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "zel2 ended with status $status after SIGTERM"
[ -d "$XDG_DATA_HOME/ZEL2" ] || fail "no message archive folder"
[ -f "$XDG_DATA_HOME/ZEL2/INTERNAT/FA12.TXT" ] || fail "the receiver's messages were not mirrored into the archive"
# one read mark of 5 bytes for each of the six messages, all stamped differently
for f in CONFIG.BIN:5 MISC.BIN:30 SYSTEM.BIN:556 BARODATA.BIN:20488; do
  size=$(stat -c %s "$XDG_DATA_HOME/ZEL2/${f%%:*}" 2>/dev/null || echo missing)
  [ "$size" = "${f##*:}" ] || fail "saved state ${f%%:*}: $size bytes, expected ${f##*:}"
done
echo "screenshots: $out/startup-picture.png $out/pages.png"
echo "1 passed, 0 failed"
