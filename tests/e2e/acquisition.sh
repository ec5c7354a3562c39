#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program polling a live simulated receiver that is unplugged and plugged in
# again on another letter; SIGTERM in the middle still leaves a whole saved state.
set -euo pipefail
zel2=$1 sim=$2 out=$3 model=${4:-ZEL2B}
. "$(dirname "$0")/common.sh"
work_folder "$out"

private_environment "$work"
export QT_QPA_PLATFORM=offscreen
"$sim" demo "$model" "$work/volume" "$ZEL2_DRIVES" E >/dev/null
"$sim" run "$work/volume" 60 &   # one sample a second
pids+=($!)

"$zel2" >"$out/zel2-$model.log" 2>&1 &
app=$!
pids+=("$app")
for _ in $(seq 100); do
  [ -n "$(ls "$XDG_DATA_HOME/ZEL2/INTERNAT" 2>/dev/null)" ] && break
  sleep 0.1
done
[ -n "$(ls "$XDG_DATA_HOME/ZEL2/INTERNAT" 2>/dev/null)" ] || fail "no messages mirrored from the $model"

"$sim" detach "$ZEL2_DRIVES" E
sleep 2
"$sim" attach "$ZEL2_DRIVES" F removable "$model" "$work/volume"
sleep 3
kill -0 "$app" 2>/dev/null || fail "zel2 ended while the receiver moved"

# The receiver stands still and comes back on G:: the archive after that refresh is
# exactly what a transfer makes of it, names, bytes and times.
kill "${pids[0]}"; wait "${pids[0]}" 2>/dev/null || true
"$sim" detach "$ZEL2_DRIVES" F
sleep 2
"$sim" attach "$ZEL2_DRIVES" G removable "$model" "$work/volume"
sleep 3
"$sim" mirror "$work/volume" "$work/mirror"
listing() { (cd "$1" && find INTERNAT NATIONAL -type f -printf '%p %s %T@\n' | sort); }
[ "$(listing "$XDG_DATA_HOME/ZEL2")" = "$(listing "$work/mirror")" ] ||
  fail "the archive differs from the mirror: $(diff <(listing "$XDG_DATA_HOME/ZEL2") <(listing "$work/mirror") | head -5)"
diff -r "$XDG_DATA_HOME/ZEL2/INTERNAT" "$work/mirror/INTERNAT" >/dev/null || fail "message bytes differ (518 kHz)"
diff -r "$XDG_DATA_HOME/ZEL2/NATIONAL" "$work/mirror/NATIONAL" >/dev/null || fail "message bytes differ (490 kHz)"

kill -TERM "$app"
status=0
wait "$app" || status=$?
[ "$status" -eq 0 ] || fail "zel2 ended with status $status after SIGTERM"
for f in CONFIG.BIN:5 SYSTEM.BIN:556 BARODATA.BIN:20488; do
  size=$(stat -c %s "$XDG_DATA_HOME/ZEL2/${f%%:*}" 2>/dev/null || echo missing)
  [ "$size" = "${f##*:}" ] || fail "saved state ${f%%:*}: $size bytes, expected ${f##*:}"
done
# The saved status is the receiver's, read after it came back on F:.
serial=$(dd if="$XDG_DATA_HOME/ZEL2/SYSTEM.BIN" bs=1 skip=528 count=12 2>/dev/null)
{ [ "$serial" != "------------" ] && [ -n "$(echo "$serial" | tr -d '\0')" ]; } || fail "saved serial '$serial'"
find "$XDG_DATA_HOME/ZEL2" "$XDG_DATA_HOME/ZEL2/INTERNAT" -maxdepth 1 \( -name '*zel2tmp*' -o -name '*zel2-commit*' \) | grep -q . && fail "temporary files left in the archive"
echo "saved serial: $serial"
echo "1 passed, 0 failed"
