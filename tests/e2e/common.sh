# shellcheck shell=bash
# Shared by the end-to-end tests (sourced): their outcomes, a private archive, runtime folder
# and drive map under the test's work folder, and a virtual display.
fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIPPED: $*" >&2; exit 77; }

work_folder() {  # OUT: makes OUT and $work; at exit every process in $pids is killed and $work removed
  mkdir -p "$1"
  work=$(mktemp -d)
  pids=()
  trap end_work EXIT
}

end_work() {
  local p
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
  rm -rf "$work"
}

private_environment() {  # WORK
  export XDG_DATA_HOME=$1/data XDG_RUNTIME_DIR=$1/run ZEL2_DRIVES=$1/drives.tsv TZ=Europe/Paris
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
}

start_xvfb() {  # WORK: starts Xvfb, sets xvfb_pid and DISPLAY
  unset QT_QPA_PLATFORM
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$1/display" 2>/dev/null &
  # shellcheck disable=SC2034  # the sourcing script stops it
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$1/display" ] && break; sleep 0.1; done
  [ -s "$1/display" ] || fail "Xvfb did not start"
  DISPLAY=:$(cat "$1/display")
  export DISPLAY
}
