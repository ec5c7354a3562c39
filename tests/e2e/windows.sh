#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program under a real window manager (openbox): the main window centred by its frame,
# the update dialog asking for no title-bar buttons, a second copy's box with the
# application's title.
set -euo pipefail
zel2=$1 sim=$2 out=$3
mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid="" wm_pid="" app_pid="" second_pid=""
cleanup() {
  for p in "$second_pid" "$app_pid" "$wm_pid" "$xvfb_pid"; do if [ -n "$p" ]; then kill -9 "$p" 2>/dev/null || true; fi; done
  rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "$0")/common.sh"
command -v openbox >/dev/null || skip "openbox is missing"

private_environment "$work"
export XDG_CONFIG_HOME=$work/config HOME=$work
start_xvfb "$work"
openbox >"$out/openbox.log" 2>&1 &
wm_pid=$!
sleep 1
"$sim" demo ZEL2B "$work/volume" "$ZEL2_DRIVES" E >/dev/null

window() {  # NAME: the id of the visible client window of that name (slow under the sanitizers)
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

"$zel2" FORCE UPDATE >"$out/windows.log" 2>&1 &
app_pid=$!
dialog=$(window "Mise à jour") || fail "the update dialog did not open"
main=$(window "ZEL2") || fail "no main window"
sleep 1
/usr/bin/import -window root "$out/windows-update.png"

# Motif hints: word 1 says which fields count, word 2 the functions the window offers:
# close (0x20), minimise (0x8) and maximise (0x10) must not be among them.
hints=$(xprop -id "$dialog" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')
read -r -a words <<<"$hints"
set -- "${words[@]}"
[ $(( $1 & 1 )) -eq 1 ] || fail "the update dialog leaves its functions to the window manager: $hints"
[ $(( $2 & 0x38 )) -eq 0 ] || fail "the update dialog offers close, minimise or maximise: $hints"

# The main window's frame is centred on the screen.
read -r fx fy fw fh < <(xwininfo -frame -id "$main" |
  awk '/Absolute upper-left X/{x=$4}/Absolute upper-left Y/{y=$4}/Width/{w=$2}/Height/{h=$2}END{print x, y, w, h}')
frame=$(xprop -id "$main" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
read -r -a words <<<"$frame"
set -- "${words[@]}"
left=$1 right=$2 top=$3 bottom=$4
cx=$(( fx - left + (fw + left + right) / 2 )) cy=$(( fy - top + (fh + top + bottom) / 2 ))
{ [ $(( cx - 640 )) -ge -1 ] && [ $(( cx - 640 )) -le 1 ] && [ $(( cy - 400 )) -ge -1 ] && [ $(( cy - 400 )) -le 1 ]; } ||
  fail "main window frame centred at $cx,$cy, not 640,400 (client $fx,$fy ${fw}x$fh, frame $frame)"

# A second copy's box carries the application title.
xdotool key --window "$dialog" Escape 2>/dev/null || true
"$zel2" >"$out/windows-second.log" 2>&1 &
second_pid=$!
window "ZELMARA 2" >/dev/null || fail "the second copy's box is not titled ZELMARA 2"
/usr/bin/import -window root "$out/windows-second.png"
kill "$second_pid" 2>/dev/null || true; wait "$second_pid" 2>/dev/null || true; second_pid=""
kill -TERM "$app_pid"; wait "$app_pid" || true; app_pid=""
echo "windows e2e: passed"
