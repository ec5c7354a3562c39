// SPDX-License-Identifier: GPL-3.0-or-later
// A plain NMEA 0183 TCP client, independent of the program's own code: it checks every
// sentence (length, checksum), rebuilds each NAVTEX message from its NRX sentences and
// writes it as OUT/<id>.<band>.txt (band 518 or 490), and the last MDA body to OUT/mda.
//   node nrx-client.js HOST PORT OUT SECONDS
const net = require('net');
const fs = require('fs');
const [host, port, out, seconds] = process.argv.slice(2);
fs.mkdirSync(out, { recursive: true });
const problems = [];
const partial = new Map();  // message id -> { total, parts[] }
let pending = '';
let complete = 0;

function checksum(body) {
  let sum = 0;
  for (const c of Buffer.from(body, 'latin1')) sum ^= c;
  return sum.toString(16).toUpperCase().padStart(2, '0');
}

function unescape(text) {
  return text.replace(/\^([0-9A-F]{2})/g, (_, hex) => String.fromCharCode(parseInt(hex, 16)));
}

function onSentence(line) {
  if (line.length + 2 > 82) problems.push(`longer than 82 characters: ${line}`);
  const m = /^\$([^*]*)\*([0-9A-F]{2})$/.exec(line);
  if (!m) return problems.push(`not a sentence: ${JSON.stringify(line)}`);
  if (checksum(m[1]) !== m[2]) problems.push(`bad checksum: ${line}`);
  const f = m[1].split(',');
  if (f[0] === 'WIMDA') fs.writeFileSync(`${out}/mda`, m[1]);
  if (f[0] !== 'CRNRX') return;
  if (f.length !== 14) return problems.push(`NRX with ${f.length} fields: ${line}`);
  const [total, number, id] = [Number(f[1]), Number(f[2]), f[3]];
  if (number === 1) partial.set(id, { total, head: f.slice(4, 13), parts: [] });
  const msg = partial.get(id);
  if (!msg) return problems.push(`NRX part without its first sentence: ${line}`);
  if (number !== msg.parts.length + 1) problems.push(`NRX part ${number} out of order: ${line}`);
  msg.parts.push(f[13]);
  if (msg.parts.length < msg.total) return;
  partial.delete(id);
  const [code, band, , , , , chars, bad, status] = msg.head;
  const text = unescape(msg.parts.join(''));
  if (Number(chars) !== text.length) problems.push(`${code}: ${chars} characters announced, ${text.length} sent`);
  if (bad !== '0' || status !== 'A') problems.push(`${code}: bad ${bad}, status ${status}`);
  fs.writeFileSync(`${out}/${code}.${band === '2' ? 518 : 490}.txt`, Buffer.from(text, 'latin1'));
  complete++;
}

const socket = net.connect(Number(port), host);
socket.setEncoding('latin1');
socket.on('data', (data) => {
  pending += data;
  let end;
  while ((end = pending.indexOf('\r\n')) >= 0) {
    onSentence(pending.slice(0, end));
    pending = pending.slice(end + 2);
  }
});
socket.on('error', (e) => { problems.push(`connection: ${e.message}`); finish(); });
setTimeout(finish, Number(seconds) * 1000);
process.on('SIGTERM', finish);

function finish() {
  socket.destroy();
  for (const [id, msg] of partial) problems.push(`message ${id}: ${msg.parts.length} of ${msg.total} sentences`);
  console.log(`${complete} messages rebuilt`);
  for (const p of problems) console.error(p);
  process.exit(problems.length ? 1 : 0);
}
