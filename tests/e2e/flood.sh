#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# More idle clients on the NMEA port than the program has file descriptors, while a live
# receiver brings messages: the clients past the limit are refused at once, the window's thread
# does not spin, the messages still reach the archive and the state is saved at the exit.
# Then with a limit above the descriptors: accepting fails, rests and tries again.
set -euo pipefail
zel2=$1 sim=$2 out=$3
. "$(dirname "$0")/common.sh"
work_folder "$out"
command -v prlimit >/dev/null || skip "no prlimit"

private_environment "$work"
export QT_QPA_PLATFORM=offscreen
archive=$XDG_DATA_HOME/ZEL2
flood=$(dirname "$0")/flood-clients.js
port=$((20000 + RANDOM % 20000))
"$sim" demo ZEL2B "$work/volume" "$ZEL2_DRIVES" E >/dev/null
"$sim" run "$work/volume" 600 &   # a new message every few seconds
pids+=($!)
letter=E

count() { find "$archive/INTERNAT" "$archive/NATIONAL" -type f 2>/dev/null | wc -l; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

run_flood() {  # NAME: the program under a descriptor limit of 160, flooded with 400 clients
  local name=$1 app before ticks0 ticks1 hz status
  ZEL2_NMEA=tcp:$port prlimit --nofile=160:160 "$zel2" >"$out/flood-$name.log" 2>&1 &
  app=$!
  pids+=("$app")
  for _ in $(seq 100); do [ "$(count)" -gt 0 ] && break; sleep 0.1; done
  [ "$(count)" -gt 0 ] || fail "$name: no message mirrored before the flood"
  rm -f "$archive/CONFIG.BIN" "$archive/SYSTEM.BIN" "$archive/MISC.BIN" "$archive/BARODATA.BIN"
  node "$flood" "$port" 400 14 >"$work/flood" &
  local flood_pid=$!
  sleep 3
  before=$(count)
  ticks0=$(cpu_ticks "$app")
  # The receiver plugged in again elsewhere: a transfer at once, through the window's thread.
  if [ "$letter" = E ]; then "$sim" move "$ZEL2_DRIVES" E F; letter=F; else "$sim" move "$ZEL2_DRIVES" F E; letter=E; fi
  sleep 8
  ticks1=$(cpu_ticks "$app")
  hz=$(getconf CLK_TCK)
  # A spinning accept takes all of a core for the eight seconds; the transfer the move brings
  # takes a fraction, several times more under the sanitizers: half a core parts them.
  [ $((ticks1 - ticks0)) -le $((8 * hz / 2)) ] ||
    fail "$name: $((ticks1 - ticks0)) ticks of CPU in 8 s during the flood (the window's thread spins)"
  [ "$(count)" -gt "$before" ] || fail "$name: no message reached the archive during the flood ($before before)"
  wait "$flood_pid"
  echo "$name: $(cat "$work/flood")"
  kill -TERM "$app"
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  status=0
  wait "$app" || status=$?
  [ "$status" -eq 0 ] || fail "$name: zel2 ended with status $status"
  for f in CONFIG.BIN SYSTEM.BIN MISC.BIN BARODATA.BIN; do
    [ -s "$archive/$f" ] || fail "$name: $f was not saved at the exit"
  done
}

run_flood "default limit"
read -r _ connected _ refused _ _ <"$work/flood"
{ [ "$connected" -ge 32 ] && [ "$refused" -ge $((connected - 32)) ]; } ||
  fail "the clients past 32 were not refused at once: $(cat "$work/flood")"

# A limit above what the process may open: the system refuses, the port rests. The
# sanitizers' own checks open a pipe to read memory, which a process without a free
# descriptor cannot: there they would report every access as invalid.
if [ -n "${ZEL2_SANITIZED:-}" ]; then
  echo "flood e2e: passed (no descriptor left: not under the sanitizers)"
  exit 0
fi
printf 'output=on\r\ntcp-port=%s\r\nmax-clients=1000\r\n' "$port" >"$archive/NMEA.INI"
run_flood "limit past the descriptors"
grep -q "accepting a client failed" "$archive/zel2.log" || fail "the failed accepts were not logged"
echo "flood e2e: passed"
