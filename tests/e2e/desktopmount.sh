#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A receiver as a desktop mounts it: a FAT image labelled ZEL2B, loop-mounted under
# /media/$USER/ZEL2B, found without a drive map within a few seconds. Needs root and loop
# devices; where the machine refuses them, the test is skipped with the reason.
set -euo pipefail
zel2=$1 sim=$2 out=$3
mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid="" app_pid="" mounted=""
cleanup() {
  if [ -n "$app_pid" ]; then kill -9 "$app_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  if [ -n "$mounted" ]; then { umount "$mounted" 2>/dev/null && rmdir "$mounted" 2>/dev/null; } || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "$0")/common.sh"
[ "$(id -u)" -eq 0 ] || skip "loop mounts need root"
command -v mkfs.vfat >/dev/null || skip "mkfs.vfat is missing"
dd if=/dev/zero of="$work/fat.img" bs=1M count=8 2>/dev/null
mkfs.vfat -n ZEL2B "$work/fat.img" >/dev/null
point=/media/${USER:-root}/ZEL2B
mkdir -p "$point"
mount -o loop "$work/fat.img" "$point" 2>"$work/mount.err" ||
  { rmdir "$point" 2>/dev/null || true; skip "this machine refuses loop mounts: $(head -1 "$work/mount.err")"; }
mounted=$point
"$sim" make ZEL2B "$point" >/dev/null

private_environment "$work"
unset ZEL2_DRIVES
start_xvfb "$work"
"$zel2" >"$out/desktopmount.log" 2>&1 &
app_pid=$!
for _ in $(seq 150); do [ -n "$(ls "$XDG_DATA_HOME/ZEL2/INTERNAT" 2>/dev/null)" ] && break; sleep 0.1; done
[ -n "$(ls "$XDG_DATA_HOME/ZEL2/INTERNAT" 2>/dev/null)" ] || fail "the receiver mounted at $point was not found"
echo "desktop mount e2e: passed"
