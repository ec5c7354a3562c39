#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's NMEA 0183 output on the boat's network, against a real Signal K server and
# a plain TCP client: the server reads the barometer from it, the client rebuilds every
# message that arrives from its NRX sentences, and a restart sends nothing again.
set -euo pipefail
zel2=$1 sim=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
signalk=${ZEL2_SIGNALK:-${XDG_CACHE_HOME:-$HOME/.cache}/zel2-signalk}/node_modules/signalk-server/bin/signalk-server
mkdir -p "$out"
work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT
. "$(dirname "$0")/common.sh"
[ -x "$signalk" ] || fail "no Signal K server at $signalk (scripts/install-deps installs it)"
free_port() { node -e "const s=require('net').createServer().listen(0,'127.0.0.1',()=>{console.log(s.address().port);s.close()})"; }

private_environment "$work"
export QT_QPA_PLATFORM=offscreen
# The server never asks the npm registry for a newer version of itself: no test leaves the machine.
export SIGNALK_DISABLE_SERVER_UPDATES=1
archive=$XDG_DATA_HOME/ZEL2
nmea_port=$(free_port) http_port=$(free_port)
export ZEL2_NMEA=tcp:$nmea_port
"$sim" demo ZEL2B "$work/volume" "$ZEL2_DRIVES" E >/dev/null

start_zel2() {
  "$zel2" >>"$out/zel2-signalk.log" 2>&1 &
  app=$!
  pids+=("$app")
  for _ in $(seq 100); do
    [ -n "$(ls "$archive/INTERNAT" 2>/dev/null)" ] && node -e "require('net').connect($nmea_port,'127.0.0.1').on('connect',()=>process.exit(0)).on('error',()=>process.exit(1))" 2>/dev/null && return
    sleep 0.1
  done
  fail "zel2 did not start its output on port $nmea_port"
}
start_zel2
before=$(cd "$archive" && find INTERNAT NATIONAL -type f | sort)

# The Signal K server reads zel2's port as a TCP NMEA 0183 client; its own NMEA server, which
# also wants 10110, and everything else it would reach out for is off.
mkdir -p "$work/signalk"
cat >"$work/signalk/settings.json" <<JSON
{
  "interfaces": {"nmea-tcp": false, "tcp": false, "mdns": false, "appstore": false, "plugins": false,
                 "webapps": false, "logfiles": false},
  "mdns": false, "ssl": false,
  "pipedProviders": [{"id": "zel2", "enabled": true, "pipeElements": [{"type": "providers/simple",
    "options": {"logging": false, "type": "NMEA0183",
                "subOptions": {"type": "tcp", "host": "127.0.0.1", "port": $nmea_port}}}]}]
}
JSON
PORT=$http_port SKIP_ADMINUI_VERSION_CHECK=1 node "$signalk" -c "$work/signalk" >"$out/signalk.log" 2>&1 &
pids+=($!)

# New messages arrive while a plain client listens.
node "$here/nrx-client.js" 127.0.0.1 "$nmea_port" "$work/nrx" 60 >"$work/client.out" 2>"$work/client.err" &
client=$!
pids+=("$client")
sleep 1
"$sim" run "$work/volume" 420 6 >/dev/null   # a message a second
# Replugged on another letter, the receiver is read at once rather than at the minute.
"$sim" move "$ZEL2_DRIVES" E F
for _ in $(seq 100); do
  [ "$(cd "$archive" && find INTERNAT NATIONAL -type f | wc -l)" -gt "$(echo "$before" | wc -l)" ] && break
  sleep 0.1
done
sleep 1
kill -TERM "$client"
wait "$client" || fail "the NRX client saw faults: $(head -5 "$work/client.err")"
cat "$work/client.out"
after=$(cd "$archive" && find INTERNAT NATIONAL -type f | sort)
arrived=$(comm -13 <(echo "$before") <(echo "$after"))
[ -n "$arrived" ] || fail "no message arrived in the archive"
for f in $arrived; do
  id=$(basename "$f" .TXT)
  band=518; [ "${f%%/*}" = NATIONAL ] && band=490
  [ -f "$work/nrx/$id.$band.txt" ] || fail "$f entered the archive but was not sent"
  cmp -s "$work/nrx/$id.$band.txt" "$archive/$f" || fail "$f: the NRX text differs from the archived file"
done
sent=$(find "$work/nrx" -maxdepth 1 -name '*.txt' | wc -l)
[ "$sent" -eq "$(echo "$arrived" | wc -l)" ] || fail "$sent messages sent for $(echo "$arrived" | wc -l) arrived"
echo "NRX: $sent arrived messages rebuilt byte for byte"

# The barometer as the Signal K server holds it: the status bar's sea-level pressure (at
# altitude 0, the receiver's own) in Pa and the temperature in K.
read -r hpa celsius <<<"$("$sim" inspect "$work/volume" | sed -n 's/.*pressure \([0-9.]*\) hPa, temperature \(-\{0,1\}[0-9.]*\) C.*/\1 \2/p')"
api=http://127.0.0.1:$http_port/signalk/v1/api/vessels/self/environment/outside
value() { curl -sf "$api/$1" | node -e "let s='';process.stdin.on('data',d=>s+=d).on('end',()=>console.log(JSON.parse(s).value))" 2>/dev/null; }
ok=""
for _ in $(seq 150); do
  pa=$(value pressure || true) kelvin=$(value temperature || true)
  if [ -n "$pa" ] && [ -n "$kelvin" ] &&
     node -e "process.exit(Math.abs($pa/100-$hpa)<0.05 && Math.abs($kelvin-273.15-$celsius)<0.05 ? 0 : 1)"; then
    ok=1; break
  fi
  sleep 0.2
done
[ -n "$ok" ] || fail "Signal K has pressure '$pa' Pa, temperature '$kelvin' K; the receiver shows $hpa hPa, $celsius C"
echo "Signal K: pressure $pa Pa, temperature $kelvin K (the receiver: $hpa hPa, $celsius C)"

# A restart sends nothing of what the archive already holds.
kill -TERM "$app"; wait "$app" 2>/dev/null || true
start_zel2
node "$here/nrx-client.js" 127.0.0.1 "$nmea_port" "$work/again" 5 >"$work/again.out" 2>"$work/client.err" &
client=$!
sleep 1
"$sim" move "$ZEL2_DRIVES" F G   # a full refresh, with its transfer, while the client listens
wait "$client" || fail "the NRX client saw faults after the restart: $(head -5 "$work/client.err")"
[ -z "$(find "$work/again" -maxdepth 1 -name '*.txt')" ] || fail "the restart sent the archive again: $(ls "$work/again")"
[ -s "$work/again/mda" ] || fail "no barometer sentence after the restart"
kill -TERM "$app"; wait "$app" || fail "zel2 ended with status $? after SIGTERM"
echo "1 passed, 0 failed"
