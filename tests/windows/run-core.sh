#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The core tests and the simulator built for Windows, run under wine in a prefix of their
# own: the tests once, as one process; then a simulated receiver on a real drive letter
# (wine's drive E: as a floppy labelled ZEL2B), found without any drive map. Ends its own
# wineserver and leaves no process behind.
#   tests/windows/run-core.sh BUILD-FOLDER
set -euo pipefail
build=$1
wine=/usr/lib/wine/wine64
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEARCH=win64 TZ=Europe/Paris
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko to install
unset ZEL2_DRIVES DISPLAY
cleanup() {
  WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -w 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$wine" wineboot -i >/dev/null 2>&1 || true
status=0
"$wine" "$build/tests/zel2coretests.exe" >"$work/core.log" 2>&1 || true
grep -E '^\[  (PASSED|FAILED|SKIPPED) |^\[==========\] [0-9]+ tests' "$work/core.log" || true
grep -q '^\[  PASSED  \]' "$work/core.log" || status=1
grep -q '^\[  FAILED  \]' "$work/core.log" && status=1
if [ $status -ne 0 ]; then
  # The failures and, after a crash, the test that was running; not wine's whole dump.
  grep -E -A6 'Failure$' "$work/core.log" | head -60 >&2 || true
  grep -E '^wine: Unhandled|^=>0 ' "$work/core.log" >&2 || true
  echo "last test started: $(grep '^\[ RUN' "$work/core.log" | tail -1)" >&2
  fail "core tests under wine"
fi

# A receiver volume on drive E:, as a removable disk whose label wine reads from the file.
"$wine" "$build/zel2sim.exe" make ZEL2B "Z:$work/e" >/dev/null 2>&1
echo ZEL2B >"$work/e/.windows-label"
ln -sfn "$work/e" "$WINEPREFIX/dosdevices/e:"
"$wine" reg add 'HKLM\Software\Wine\Drives' /v e: /d floppy /f >/dev/null 2>&1
/usr/lib/wine/wineserver -k 2>/dev/null || true  # the drive table is read when the server starts
found=$("$wine" "$build/zel2sim.exe" detect 2>/dev/null | tr -d '\r')
[ "$found" = "E: ZEL2B" ] || fail "the receiver on the real drive letter E: was not found: '$found'"
echo "windows core: passed; the simulated receiver on E: is found as ZEL2B"
