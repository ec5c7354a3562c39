#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program against hostile surroundings: a receiver whose message folder holds a
# named pipe and a link to /dev/zero, a file-size limit, Qt's own options among the
# arguments, and a data folder that cannot be created.
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
start_xvfb "$work"

visible() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
mirrored() { [ -n "$(ls "$XDG_DATA_HOME/ZEL2/INTERNAT" 2>/dev/null)" ]; }
stop() {  # NAME [STATUS]: SIGTERM must end the program within ten seconds, with status 0 or
          # the one given (3: the state could not be saved)
  kill -TERM "$app_pid"
  for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app_pid" 2>/dev/null && fail "$1: zel2 hangs"
  status=0
  wait "$app_pid" || status=$?
  app_pid=""
  [ "$status" -eq "${2:-0}" ] || fail "$1: zel2 ended with status $status"
}

# 1. A pipe and an endless device among the receiver's messages: mirrored around, no hang.
"$sim" demo ZEL2B "$work/volume" "$ZEL2_DRIVES" E >/dev/null
mkfifo "$work/volume/INTERNAT/PIPE.TXT"
ln -s /dev/zero "$work/volume/INTERNAT/ZERO.TXT"
"$zel2" >"$out/robust-pipe.log" 2>&1 &
app_pid=$!
for _ in $(seq 100); do mirrored && break; sleep 0.1; done
mirrored || fail "no messages mirrored past the pipe"
sleep 1
visible "ZEL2" || fail "no main window"
{ [ ! -e "$XDG_DATA_HOME/ZEL2/INTERNAT/PIPE.TXT" ] && [ ! -e "$XDG_DATA_HOME/ZEL2/INTERNAT/ZERO.TXT" ]; } ||
  fail "a pipe or device was copied"
big=$(find "$XDG_DATA_HOME" -size +1M | head -1)
[ -z "$big" ] || fail "a runaway copy: $big"
stop "pipe"

# 2. A file-size limit: writes fail, the program does not die of SIGXFSZ.
rm -rf "$XDG_DATA_HOME"
prlimit --fsize=1000 "$zel2" >"$out/robust-fsize.log" 2>&1 &
app_pid=$!
sleep 4
kill -0 "$app_pid" 2>/dev/null || fail "zel2 died under a file-size limit"
stop "file-size limit" 3
[ -s "$XDG_DATA_HOME/ZEL2/BARODATA.BIN" ] && fail "a state set was saved past the limit"
grep -q "could not be saved" "$XDG_DATA_HOME/ZEL2/zel2.log" || fail "the lost save is not in the log"
# The next start without the limit works and saves a whole set.
"$zel2" >"$out/robust-after.log" 2>&1 &
app_pid=$!
for _ in $(seq 100); do visible "ZEL2" && break; sleep 0.1; done
sleep 2
stop "after the limit"
[ "$(stat -c %s "$XDG_DATA_HOME/ZEL2/BARODATA.BIN")" = 20488 ] || fail "no whole state after the limit"

# 3. Qt's own options are no arguments of ours: three words mean the offer, not the dialog.
"$zel2" FORCE -reverse UPDATE >"$out/robust-args.log" 2>&1 &
app_pid=$!
for _ in $(seq 50); do visible "ZEL2" && break; sleep 0.1; done
sleep 1
visible "Mise à jour" && fail "FORCE -reverse UPDATE opened the update dialog"
visible "ZEL2" || fail "no main window"
stop "arguments"

# 4. A data folder that cannot be made: nothing lands beside the program.
touch "$work/blocked"
XDG_DATA_HOME=$work/blocked/data "$zel2" >"$out/robust-data.log" 2>&1 &
app_pid=$!
sleep 3
stop "blocked data folder" 3
program=$(dirname "$zel2")
for f in INTERNAT NATIONAL CONFIG.BIN SYSTEM.BIN BARODATA.BIN MISC.BIN; do
  [ -e "$program/$f" ] && fail "$f was written beside the program"
done
# 5. A receiver pulled in the middle of a copy of 6,000 messages: the archive keeps its
# last whole mirror, and the next copy after the receiver returns is complete.
rm -rf "$XDG_DATA_HOME" "$work/volume"
: >"$ZEL2_DRIVES"
"$sim" demo ZEL2B "$work/volume" "$ZEL2_DRIVES" E >/dev/null
first=$(find "$work/volume/INTERNAT" -mindepth 1 -maxdepth 1 -printf '%f\n' | sort | head -1)
head -c 16000 /dev/urandom | base64 >"$work/big.txt"
for i in $(seq 1000 6999); do cp "$work/big.txt" "$work/volume/INTERNAT/X$i.TXT"; done
count() { find "$XDG_DATA_HOME/ZEL2/INTERNAT" "$XDG_DATA_HOME/ZEL2/NATIONAL" -type f 2>/dev/null | wc -l; }
whole=$(find "$work/volume/INTERNAT" "$work/volume/NATIONAL" -type f | wc -l)
"$zel2" >"$out/robust-pulled.log" 2>&1 &
app_pid=$!
for _ in $(seq 300); do [ "$(count)" -eq "$whole" ] && break; sleep 0.1; done
[ "$(count)" -eq "$whole" ] || fail "the first copy holds $(count) of $whole messages"
stop "first copy"
for i in $(seq 7000 7009); do cp -p "$work/volume/INTERNAT/$first" "$work/volume/INTERNAT/X$i.TXT"; done
"$zel2" >>"$out/robust-pulled.log" 2>&1 &
app_pid=$!
# Pulled as soon as the copy has begun.
for _ in $(seq 3000); do [ -d "$XDG_DATA_HOME/ZEL2/.zel2tmp-transfer" ] && break; sleep 0.01; done
[ -d "$XDG_DATA_HOME/ZEL2/.zel2tmp-transfer" ] || fail "no copy seen"
mv "$work/volume" "$work/pulled"
for _ in $(seq 300); do [ -d "$XDG_DATA_HOME/ZEL2/.zel2tmp-transfer" ] || break; sleep 0.1; done
sleep 3  # the program sees the receiver gone
[ "$(count)" -eq "$whole" ] || fail "a pulled receiver left $(count) of $whole messages in the archive"
[ -d "$XDG_DATA_HOME/ZEL2/.zel2tmp-transfer" ] && fail "the unfinished copy was left behind"
mv "$work/pulled" "$work/volume"
for _ in $(seq 300); do [ "$(count)" -eq $((whole + 10)) ] && break; sleep 0.1; done
[ "$(count)" -eq $((whole + 10)) ] || fail "after the receiver returned the archive holds $(count) of $((whole + 10))"
stop "receiver returned"

# 6. A UDP destination named by a host whose name server never answers: the window comes up
# and the program ends on SIGTERM as fast as with an address that needs no lookup, measured in
# the same run (in a mount namespace of its own, the system's resolver is pointed at a silent
# server on this machine).
if unshare -m true 2>/dev/null; then
  node -e "require('dgram').createSocket('udp4').bind(53, '127.0.0.2'); setTimeout(() => process.exit(0), 180000)" &
  dns_pid=$!
  printf 'nameserver 127.0.0.2\noptions timeout:5 attempts:3\n' >"$work/resolv.conf"
  : >"$ZEL2_DRIVES"
  timed_run() {  # DESTINATION: sets up_ms and down_ms
    local began
    began=$(date +%s%N)
    ZEL2_NMEA=udp:$1 unshare -m sh -c \
      "mount --bind '$work/resolv.conf' /etc/resolv.conf && exec '$zel2'" >>"$out/robust-dns.log" 2>&1 &
    app_pid=$!
    for _ in $(seq 1200); do visible "ZEL2" && break; sleep 0.05; done
    up_ms=$(( ($(date +%s%N) - began) / 1000000 ))
    visible "ZEL2" || fail "no main window with UDP to $1"
    sleep 1
    began=$(date +%s%N)
    stop "UDP to $1"
    down_ms=$(( ($(date +%s%N) - began) / 1000000 ))
  }
  timed_run 127.0.0.1:10118
  base_up=$up_ms base_down=$down_ms
  timed_run plotter.example.org:10118
  [ "$up_ms" -lt $((base_up + 3000)) ] ||
    fail "the window came up after $up_ms ms while a name was looked up ($base_up ms without)"
  [ "$down_ms" -lt $((base_down + 2000)) ] ||
    fail "SIGTERM took $down_ms ms while a name was looked up ($base_down ms without)"
  kill "$dns_pid" 2>/dev/null || true
else
  echo "robustness e2e: no mount namespace here, the silent name server case is skipped" >&2
fi

echo "robustness e2e: passed"
