# shellcheck shell=bash
# A capture made under Wine must rehearse to the same outcome as the machine itself: quillfex-capture.exe
# records the laid-out machine through Wine's own cmd, dir and regedit, `winsim make --from-capture` builds
# the replica, and the Linux build's elimination run and restore must do on it what they do on a fresh
# machine of the same description. Sourced by wine_test.sh, with wine_machine.sh.
#
#   check_capture_rehearses NAME MACHINE_TOML OUTPUT_DIR
#
# Call it once lay_out_machine has laid the machine out (the server running, WINEPREFIX and
# QUILLFEX_SIM_ROOT exported), before anything else runs on it; it uses $winsim, $host_quillfex and
# $capture_exe. When it fails, OUTPUT_DIR keeps capture/, replica/, machine/ (the fresh machine), and the
# states, screens and logs compared. Its temporary folder goes on every exit.

# A subshell, so that its exit trap and variables leave the caller's alone.
check_capture_rehearses() (
  set -euo pipefail
  capture_name=$1
  capture_description=$2
  capture_output=$3
  capture_work=$(mktemp -d "${TMPDIR:-/tmp}/quillfex-capture.XXXXXX")
  trap 'keep_capture_work $?' EXIT
  trap 'exit 129' HUP
  trap 'exit 130' INT
  trap 'exit 143' TERM
  laid_out=$(host_path "$QUILLFEX_SIM_ROOT")
  mkdir -p "$capture_work/logs" "$capture_work/states" "$capture_work/screens"

  capture_under_wine
  make_rehearsal_machines
  # More keys than any machine has screens to answer, as in the reference runs; the rest are left unread.
  rehearse_on_both elimination "Enter Space Space Space Space Space Space Space Space"
  rehearse_on_both restore "Down Enter Space Space Space Space"
  echo "$capture_name: its capture under Wine ($(ls "$capture_work/capture" | wc -l) files) rehearses alike"
)

capture_fails() {
  echo "capture under Wine: $capture_name: $*" >&2
  exit 1
}

# What helps to see why, in OUTPUT_DIR; then the temporary folder goes.
keep_capture_work() {
  local status=$1 kept
  set +e
  if [ "$status" -ne 0 ] && mkdir -p "$capture_output"; then
    for kept in capture replica machine states screens logs; do
      [ -e "$capture_work/$kept" ] || continue
      rm -rf "${capture_output:?}/$kept"
      mv "$capture_work/$kept" "$capture_output/"
    done
    echo "capture under Wine: $capture_name: the capture and both machines are kept in $capture_output" >&2
  fi
  rm -rf "$capture_work"
}

# The host path of a Windows path on Wine's drive Z:.
host_path() {
  local path=${1#[Zz]:}
  echo "${path//\\//}"
}

# --- The capture, and that it changed nothing ----------------------------------------------------------

capture_under_wine() {
  local before=$capture_work/states/machine-files-before after=$capture_work/states/machine-files-after
  local status=0
  laid_out_files >"$before"
  (cd "$WINEPREFIX/drive_c" && exec wine "$(windows_path "$(realpath "$capture_exe")")" \
    "$(windows_path "$capture_work/capture")") >"$capture_work/logs/capture.log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    cat "$capture_work/logs/capture.log" >&2
    capture_fails "quillfex-capture.exe ended with status $status"
  fi
  expect_capture_files
  laid_out_files >"$after"
  diff -u --label before --label after "$before" "$after" >&2 ||
    capture_fails "the capture changed files of the machine's drives or disks (the temporary folder is one of them)"
}

# Every file of the machine's drives (the prefix's drive_c for C:) with its size and time, every folder by
# name alone (the temporary folder's time moves when a file comes and goes), and the disks' images whole.
laid_out_files() {
  find -H "$laid_out"/drives/* \( -type d -printf '%p/\n' \) -o -printf '%p %s %T@\n' | sort
  find -H "$laid_out/disks" "$WINEPREFIX/blank-disks" -type f -exec cksum {} + | sort
}

# Under Wine every disk 0 to 3 opens (wine_machine.sh gives each an image), so the capture holds them all,
# and the listings of every drive of the machine.
expect_capture_files() {
  local name letter
  local names=(capture.toml listing.txt MountedDevices.reg disk0.bin disk1.bin disk2.bin disk3.bin)
  for letter in $(sed -n 's/^\\DosDevices\\\([A-Z]\):\t.*/\1/p' "$laid_out/registry/MountedDevices"); do
    names+=("root-$letter.txt" "boot-$letter.txt" "system32-$letter.txt")
  done
  for name in "${names[@]}"; do
    [ -f "$capture_work/capture/$name" ] || capture_fails "the capture has no $name"
  done
}

# --- The replica and the machine itself, run alike -----------------------------------------------------

make_rehearsal_machines() {
  local problems=$capture_work/logs/replica-problems.txt
  if ! "$winsim" make --from-capture "$capture_work/capture" "$capture_work/replica" 2>"$problems"; then
    cat "$problems" >&2
    capture_fails "winsim make --from-capture built no replica"
  fi
  "$winsim" make "$capture_description" "$capture_work/machine" ||
    capture_fails "winsim make $capture_description failed"
}

rehearse_on_both() {
  local run=$1 keys=$2 which
  for which in replica machine; do
    rehearsal_run "$which" "$run" "$keys"
  done
  same_outcome "$run"
}

rehearsal_run() {
  local which=$1 run=$2 keys=$3 status=0 screens=$capture_work/screens/$1-$2
  mkdir -p "$screens"
  QUILLFEX_SNAPSHOTS=$screens "$winsim" run "$capture_work/$which" --keys "$keys" --screen headless \
    -- "$host_quillfex" >"$capture_work/logs/$which-$run.log" 2>&1 || status=$?
  [ "$status" -eq 0 ] ||
    capture_fails "$run with \"$keys\" on the $which ended with status $status (see logs/$which-$run.log)"
  "$winsim" show "$capture_work/$which" --json >"$capture_work/states/$which-$run.json" ||
    capture_fails "winsim show failed on the $which after the $run"
}

# The same command lines, stores, boot files and temporary folder after the run, and the same screens at
# every key wait and at the end.
same_outcome() {
  local run=$1 screen
  diff -u --label "replica after the $run" --label "machine after the $run" \
    <(comparable_state "$capture_work/states/replica-$run.json") \
    <(comparable_state "$capture_work/states/machine-$run.json") >&2 ||
    capture_fails "the $run does not end alike on the replica and on the machine"
  diff -u --label "replica's screens" --label "machine's screens" \
    <(cd "$capture_work/screens/replica-$run" && ls) <(cd "$capture_work/screens/machine-$run" && ls) >&2 ||
    capture_fails "the $run shows a different number of screens on the replica and on the machine"
  for screen in "$capture_work/screens/machine-$run"/*.png; do
    screen=${screen##*/}
    cmp -s "$capture_work/screens/replica-$run/$screen" "$capture_work/screens/machine-$run/$screen" ||
      screens_differ "$run" "$screen"
  done
}

screens_differ() {
  local run=$1 screen=$2 differences
  differences=$capture_work/screens/$run-${screen%.png}-differences.png
  compare "$capture_work/screens/replica-$run/$screen" "$capture_work/screens/machine-$run/$screen" \
    "$differences" 2>/dev/null || true
  capture_fails "the $run's $screen differs on the replica and on the machine (see screens/${differences##*/})"
}

# The state as `winsim show --json` gives it, without the entries that the captured default listing does
# not show (the tools menu's, those outside the display order): the replica cannot have them, and the
# program, which reads the store only through that listing, never acts on them; they ride along in every
# export and import alike.
comparable_state() {
  local shown
  shown=$(tr -d '\r' <"$capture_work/capture/listing.txt" |
    sed -n 's/^\(identifier|id\) *\({[^}]*}\) *$/\2/p' | jq -R . | jq -cs .)
  jq -S --argjson shown "$shown" '
    def listed: if . == null then null else map(select(.id as $id | $shown | index($id))) end;
    .systemStore |= listed | .drives |= map_values(.store |= listed)' "$1"
}
