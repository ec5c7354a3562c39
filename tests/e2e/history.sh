#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program keeping the message history while a live simulated ZEL2D brings new
# messages and drops old ones: killed (-9) again and again in the middle of its work, the
# history still opens, and after a last quiet run it holds every message the archive held
# at any time; a folder in the history's place does not stop the program.
set -euo pipefail
zel2=$1 sim=$2 out=$3
. "$(dirname "$0")/common.sh"
work_folder "$out"

private_environment "$work"
export QT_QPA_PLATFORM=offscreen
archive=$XDG_DATA_HOME/ZEL2
"$sim" demo ZEL2D "$work/volume" "$ZEL2_DRIVES" E >/dev/null
"$sim" run "$work/volume" 3600 &   # a new message every few seconds
pids+=($!)

seen=$work/seen
: >"$seen"
remember() {  # the identifier of every message file the archive holds now
  for f in "$archive"/INTERNAT/* "$archive"/NATIONAL/*; do
    [ -f "$f" ] && basename "$f" | cut -c1-4 >>"$seen"
  done
  return 0
}

for delay in 1.5 0.4 2.5 0.8 3 0.2 1.1; do
  "$zel2" >>"$out/zel2-history.log" 2>&1 &
  app=$!
  pids+=("$app")
  sleep "$delay"
  remember
  kill -9 "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  [ -e "$archive/HISTORY.DB" ] || continue
  "$sim" history "$archive" search zzzznothing >/dev/null 2>"$work/err" ||
    fail "the history does not open after a kill at ${delay} s: $(cat "$work/err")"
done
compgen -G "$archive/HISTORY.DB.damaged*" >/dev/null && fail "a kill left a history that had to be set aside"

# A quiet run: what the archive holds at its start goes into the history.
found() {  # WORD: the history holds a message with it (no grep -q: it would cut the pipe)
  [ -n "$("$sim" history "$archive" search "$1" 2>/dev/null)" ]
}
"$zel2" >>"$out/zel2-history.log" 2>&1 &
app=$!
pids+=("$app")
sleep 3
remember
for _ in $(seq 60); do found "$(tail -1 "$seen")" && break; sleep 1; done
kill -TERM "$app"
wait "$app" || fail "zel2 ended with an error after SIGTERM"
missing=0
while read -r id; do
  "$sim" history "$archive" search "$id" | grep " $id " >/dev/null || { echo "not in the history: $id" >&2; missing=$((missing + 1)); }
done < <(sort -u "$seen")
[ "$missing" -eq 0 ] || fail "$missing identifiers of the archive are missing from the history"
echo "history holds all $(sort -u "$seen" | wc -l) identifiers the archive held"

# A folder where the history should be: set aside, the program starts and keeps going.
kill "${pids[0]}" 2>/dev/null || true
rm -f "$archive"/HISTORY.DB*
mkdir "$archive/HISTORY.DB"
"$zel2" >>"$out/zel2-history.log" 2>&1 &
app=$!
pids+=("$app")
for _ in $(seq 60); do found zczc && break; sleep 1; done
kill -0 "$app" 2>/dev/null || fail "zel2 did not start with a folder in the history's place"
kill -TERM "$app"
wait "$app" || fail "zel2 ended with an error"
aside=$(compgen -G "$archive/HISTORY.DB.damaged-*" | head -1 || true)
{ [ -n "$aside" ] && [ -d "$aside" ]; } || fail "the folder was not set aside"
found zczc || fail "the history was not rebuilt from the archive"
echo "1 passed, 0 failed"
