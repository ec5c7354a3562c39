// SPDX-License-Identifier: GPL-3.0-or-later
// Idle clients on a TCP port, as a flood: opens COUNT connections (a few at a time), holds
// them SECONDS, and prints how many were connected, refused by the server (closed by it
// within half the run: a held client lasts the whole run; on a machine busy with other
// tests, or under the sanitizers, a refusal can take a few seconds) and failed.
//   node flood-clients.js PORT COUNT SECONDS
const net = require('net');
const [port, count, seconds] = process.argv.slice(2).map(Number);
let connected = 0, refused = 0, failed = 0, started = 0;
const sockets = [];
function open() {
  if (started >= count) return;
  started++;
  const since = Date.now();
  const s = net.connect({ host: '127.0.0.1', port });
  s.setTimeout(5000, () => s.destroy(new Error('timeout')));
  s.on('connect', () => { connected++; s.setTimeout(0); });
  s.on('data', () => {});
  s.on('error', () => { failed++; });
  s.on('close', (hadError) => { if (!hadError && Date.now() - since < seconds * 500) refused++; });
  sockets.push(s);
  setImmediate(open);
}
for (let i = 0; i < 8; i++) open();
setTimeout(() => {
  console.log(`connected ${connected} refused ${refused} failed ${failed}`);
  for (const s of sockets) s.destroy();
  process.exit(0);
}, seconds * 1000);
