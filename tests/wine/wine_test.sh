#!/usr/bin/env bash
# The Windows build end to end under Wine, in an Xvfb display, on machines laid out as Wine prefixes: an
# elimination run and a restore on the machine of machine.toml (with its window and keys), on every sample
# machine of winsim/machines/ that Wine can play (all but the one without rights: Wine always opens disk 0)
# and on machine.toml with the faults Wine's own commands and the editor can play. Keys are pressed for
# real; every screen must equal the Linux build's headless snapshot of it on the same machine, and the
# stores each run leaves must equal those the Linux build leaves. Each machine without a fault is also
# captured under Wine and must rehearse on its replica as on itself (wine_capture.sh).
#
#   usage: wine_test.sh [--lanes N] HOST_BUILD WINDOWS_BUILD [OUTPUT]
#
# --lanes N plays the cases in N lanes at once (1 by default), each a run of this script (--lane K/N) with a
# display, prefixes, Wine servers and a temporary folder of its own; each lane's lines come prefixed with its
# number.
# HOST_BUILD has bin/winsim, bin/Quillfex and bin/close_request; WINDOWS_BUILD has bin/Quillfex.exe and
# bin/quillfex-capture.exe.
# OUTPUT (build/wine-test by default) receives screens/ (the window's screenshots), reference/ (the
# Linux snapshots they must equal) and logs/; when a case fails, also failed-machine/CASE/: the machine and
# its states, without the Wine prefix. The temporary folders go on every exit.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_machine.sh"
source "$here/wine_capture.sh"

screen_wait_s=60
window_wait_s=30
focus_wait_s=15
exit_wait_s=30

work="" display_pid="" quillfex_pid="" window="" case="" sandbox="" refused=()

# The cases: a name, the machine, and a fault table added to it. A fault that names the `copy` command is
# played by making the drive refuse writes, since Wine's own xcopy does the copying; the editor's faults
# are played by the editor, which reads them from the machine as under winsim.
cases() {
  local machine
  echo "wine|$here/machine.toml|"
  for machine in "$here"/../../winsim/machines/*.toml; do
    case ${machine##*/} in
      not-elevated.toml) ;;
      *) echo "$(basename "$machine" .toml)|$(realpath "$machine")|" ;;
    esac
  done
  echo "copy-to-E-refused|$here/machine.toml|command = 'copy'\narg = 'E'"
  echo "export-org-bcd-failing|$here/machine.toml|command = 'export'\narg = 'org.bcd'"
  echo "export-lid-bcd-failing-after-1|$here/machine.toml|command = 'export'\narg = 'lid.bcd'\nafter = 1"
  echo "import-org-bcd-failing-after-1|$here/machine.toml|command = 'import'\narg = 'org.bcd'\nafter = 1"
  echo "import-lid-bcd-failing|$here/machine.toml|command = 'import'\narg = 'lid.bcd'"
}

main() {
  local lanes=1 lane=""
  case ${1:-} in
    --lanes) lanes=${2:-} && shift 2 ;;
    --lane) lane=${2:-} && shift 2 ;;  # K/N: the lane a parent started, into its OUTPUT
  esac
  if [ $# -lt 2 ] || [ $# -gt 3 ] || ! [[ $lanes =~ ^[1-9]$ && (-z $lane || $lane =~ ^[1-9]/[1-9]$) ]]; then
    sed -n 's/^#   usage: /usage: /p' "$0" >&2
    exit 2
  fi
  local host_bin=$1/bin at failed=0
  winsim=$host_bin/winsim
  host_quillfex=$host_bin/Quillfex
  close_request=$host_bin/close_request
  quillfex_exe=$(realpath -m "$2/bin/Quillfex.exe")
  capture_exe=$(realpath -m "$2/bin/quillfex-capture.exe")
  output=$(realpath -m "${3:-$here/../../build/wine-test}")
  check_tools
  mapfile -t all_cases < <(cases)
  [ -z "$lane" ] || { run_lane "${lane%/*}" "${lane#*/}"; return; }

  rm -rf "$output"
  mkdir -p "$output/screens" "$output/reference" "$output/logs"
  [ "$lanes" -gt 1 ] || { run_lane 1 1; return; }
  # Each lane is a script of its own, with its own display, prefixes, Wine servers and temporary folder.
  # The lanes' readers are waited for too, so that every lane's last line is out before the summary.
  local pids=() readers=() out
  trap 'kill "${pids[@]}" 2>/dev/null; wait "${pids[@]}"; exit 130' INT TERM HUP
  for ((at = 1; at <= lanes; at++)); do
    exec {out}> >(sed -u "s/^/lane $at: /")
    readers+=($!)
    bash "$0" --lane "$at/$lanes" "$@" >&"$out" 2>&1 &
    pids+=($!)
    exec {out}>&-
  done
  for at in "${!pids[@]}"; do wait "${pids[at]}" || failed=1; done
  wait "${readers[@]}"
  [ "$failed" -eq 0 ] || { echo "wine test: a lane failed (above)" >&2; exit 1; }
  echo "Wine test passed on ${#all_cases[@]} machines in ${SECONDS} s, $lanes lanes; screenshots in $output/screens"
}

# Every lanes-th case from the lane's own, with a display and a temporary folder of its own.
run_lane() {
  local lane=$1 lanes=$2 at name machine fault count=0
  # A signal ends the script through exit, so that clean_up runs then too.
  trap clean_up EXIT
  trap 'exit 129' HUP
  trap 'exit 130' INT
  trap 'exit 143' TERM
  work=$(mktemp -d "${TMPDIR:-/tmp}/quillfex-wine.XXXXXX")
  # Its path must hold no blank for cmd /c.
  cp "$quillfex_exe" "$work/Quillfex.exe"

  # Wine's desktop process, started by the first Wine program, draws on the display it found then.
  start_display "$output/logs/xvfb-$lane.log"
  use_wine_loader "$work/wine-loader"
  make_base_prefix
  for at in "${!all_cases[@]}"; do
    [ $((at % lanes)) -eq $((lane - 1)) ] || continue
    IFS='|' read -r name machine fault <<<"${all_cases[at]}"
    run_case "$name" "$machine" "$fault"
    count=$((count + 1))
  done
  echo "Wine test passed on $count machines in ${SECONDS} s; screenshots in $output/screens"
}

# One prefix is made for the whole test (wineboot takes 10 to 12 s) and copied for each machine.
make_base_prefix() {
  use_wine_prefix "$work/base-prefix"
  create_wine_prefix || fail "wineboot could not make the prefix"
}

run_case() {
  local started=$SECONDS
  case=$1
  mkdir -p "$work/$case" "$output/screens/$case"
  make_machine_file "$2" "$3" >"$work/$case.toml"
  make_reference_screens "$work/$case.toml"
  make_wine_machine "$work/$case.toml"
  # The fault cases are machine.toml again: its capture is the first case's.
  [ -n "$3" ] || check_capture_rehearses "$case" "$work/$case.toml" "$output/capture/$case"
  [[ $3 =~ ^command\ =\ \'copy\'\\narg\ =\ \'(.)\' ]] && refuse_writes "${BASH_REMATCH[1]}"
  [ "$case" = wine ] && check_window_and_keys
  check_elimination_run
  check_restore
  end_case
  echo "$case: passed in $((SECONDS - started)) s"
}

# The machine's description with the case's fault table added.
make_machine_file() {
  cat "$1"
  [ -z "$2" ] || printf '\n[[fault]]\n%b\n' "$2"
}

# Wine's xcopy writes through the host's file system: an immutable folder refuses it, even to root.
refuse_writes() {
  local drive=$sandbox/drives/$1
  # Listed first: a chattr that stops halfway leaves files that only allow_writes lets go.
  refused+=("$drive")
  chattr -R +i "$drive" 2>/dev/null || fail "chattr cannot make $drive refuse writes on this file system"
}

allow_writes() {
  local drive
  for drive in "${refused[@]}"; do chattr -R -i "$drive" 2>/dev/null || true; done
  refused=()
}

end_case() {
  stop_wine_server
  allow_writes
  rm -rf "$work/$case" "$work/prefix"
}

check_tools() {
  local tool
  for tool in wine wineserver Xvfb xdotool import compare jq iconv; do
    command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/setup"
  done
  for tool in "$winsim" "$host_quillfex" "$close_request" "$quillfex_exe" "$capture_exe"; do
    [ -f "$tool" ] || fail "$tool is missing: build it first"
  done
}

fail() {
  echo "wine test: ${case:+$case: }$*" >&2
  exit 1
}

clean_up() {
  local status=$?
  # A step that fails here must not keep the temporary folder from going.
  set +e
  trap - HUP INT TERM
  if [ -n "$quillfex_pid" ]; then
    kill "$quillfex_pid" 2>/dev/null || true
    wait "$quillfex_pid" 2>/dev/null || true
  fi
  stop_wine_server
  allow_writes
  if [ -n "$display_pid" ]; then
    kill "$display_pid" 2>/dev/null || true
    wait "$display_pid" 2>/dev/null || true
  fi
  [ -n "$work" ] || return 0
  if [ "$status" -ne 0 ]; then
    keep_for_a_look "$output/failed-machine/${case:-none}"
    echo "wine test: ${case:+$case: }the machine and its states are kept for a look in $output/failed-machine" >&2
  fi
  rm -rf "$work"
}

# What helps to see why the test failed, without the Wine prefix: the sandbox, its C: drive without Wine's
# own folders, the states and stores the test saved, the registry files imported and exported.
keep_for_a_look() {
  local kept=$1 entry at=$work/$case
  rm -rf "$kept"
  mkdir -p "$kept"
  [ -d "$at" ] || return 0
  cp -p "$at"/*.json "$at/original-store" "$kept/" 2>/dev/null || true
  [ -d "$at/reference-machine" ] && cp -a "$at/reference-machine" "$kept/"
  [ -d "$at/machine" ] || return 0
  "$winsim" show "$at/machine" --json >"$kept/state-at-failure.json" 2>/dev/null || true
  cp -a "$at/machine" "$kept/"
  cp -p "$work/prefix"/*.reg "$kept/" 2>/dev/null || true
  # The sandbox's C: is a link to the prefix's drive_c, which goes with the temporary folder.
  if [ -L "$kept/machine/drives/C" ] && [ -d "$work/prefix" ]; then
    rm "$kept/machine/drives/C"
    mkdir "$kept/machine/drives/C"
    for entry in "$work/prefix/drive_c"/*; do
      case ${entry##*/} in
        windows | users | ProgramData | "Program Files"*) ;;
        *) cp -a "$entry" "$kept/machine/drives/C/" ;;
      esac
    done
  fi
}

# --- The Linux build's snapshots of every screen the Windows run must show, on the same machine -------

make_reference_screens() {
  local machine=$work/$case/reference-machine reference=$output/reference/$case
  mkdir -p "$reference/elimination" "$reference/restore"
  "$winsim" make "$1" "$machine" >/dev/null
  reference_run "$machine" "Esc" --snap "$reference/menu.png"
  [ "$case" = wine ] && reference_run "$machine" "Down Esc" --snap "$reference/menu-down.png"
  # More keys than any machine has partitions to prepare: the run ends after the last one.
  QUILLFEX_SNAPSHOTS=$reference/elimination reference_run "$machine" "Enter$(repeat ' Space' 8)"
  "$winsim" show "$machine" --json >"$work/$case/reference-eliminated.json"
  reference_run "$machine" "Down Esc" --snap "$reference/restore-menu.png"
  QUILLFEX_SNAPSHOTS=$reference/restore reference_run "$machine" "Down Enter$(repeat ' Space' 4)"
  "$winsim" show "$machine" --json >"$work/$case/reference-restored.json"
  rm -f "$reference"/*/exit.png
}

repeat() { for ((n = 0; n < $2; n++)); do printf '%s' "$1"; done; }

reference_run() {
  local machine=$1 keys=$2
  shift 2
  "$winsim" run "$machine" --keys "$keys" --screen headless "$@" -- "$host_quillfex" >/dev/null ||
    fail "the Linux build's run with \"$keys\" failed"
}

# --- The machine as a Wine prefix ---------------------------------------------------------------------

make_wine_machine() {
  sandbox=$work/$case/machine
  "$winsim" make "$1" "$sandbox" >/dev/null
  cp -a "$work/base-prefix" "$work/prefix"
  use_wine_prefix "$work/prefix"
  start_wine_server
  lay_out_machine "$sandbox"
  export QUILLFEX_SIM_ROOT
  QUILLFEX_SIM_ROOT=$(windows_path "$sandbox")
  # Only machine.toml's case compares org.bcd with it; a machine whose system store is on another partition
  # has no C:\Boot.
  if [ "$case" = wine ]; then cp "$sandbox/drives/C/Boot/BCD" "$work/$case/original-store"; fi
  machine_state >"$work/$case/original.json"
}

machine_state() { "$winsim" show "$sandbox" --json; }

start_display() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$1" &
  display_pid=$!
  local deadline=$((SECONDS + 10))
  until [ -s "$work/display" ]; do
    kill -0 "$display_pid" 2>/dev/null || fail "Xvfb did not start"
    [ $SECONDS -lt $deadline ] || fail "Xvfb did not tell its display number"
    sleep 0.1
  done
  DISPLAY=:$(head -n 1 "$work/display")
  export DISPLAY
}

# --- Quillfex.exe and its window ----------------------------------------------------------------------

# Started from C:\ in a console window of its own, as a double click starts it; `start /wait` and
# `cmd /c` hand its exit status back. Waits for its window.
start_quillfex() {
  local name=$1
  (cd "$WINEPREFIX/drive_c" && exec wine start /wait cmd /c "$(windows_path "$work/Quillfex.exe")") \
    >"$output/logs/$case-$name.log" 2>&1 &
  quillfex_pid=$!
  find_window
}

# Waits for the window titled Quillfex to be viewable at 640 x 288.
find_window() {
  local deadline=$((SECONDS + window_wait_s)) state hidden
  while :; do
    kill -0 "$quillfex_pid" 2>/dev/null || fail "Quillfex.exe ended without opening its window"
    window=$(xdotool search --onlyvisible --name '^Quillfex$' 2>/dev/null | head -n 1 || true)
    if [ -n "$window" ]; then
      state=$(window_state)
      [ -n "$state" ] || return 0
      state="window $(hex_id "$window") $state"
    else
      hidden=$(xdotool search --name '^Quillfex$' 2>/dev/null | head -n 1 || true)
      state=${hidden:+window $(hex_id "$hidden") not viewable}
    fi
    [ $SECONDS -lt $deadline ] ||
      fail "no window titled Quillfex viewable at 640 x 288 after ${window_wait_s} s: ${state:-none at all}"
    sleep 0.2
  done
}

hex_id() { printf '0x%x' "$1"; }

# "" while the window is viewable at 640 x 288, else what it is instead.
window_state() {
  local geometry
  if ! xdotool search --onlyvisible --name '^Quillfex$' 2>/dev/null | grep -qx "$window"; then
    echo "not viewable"
    return
  fi
  geometry=$(xdotool getwindowgeometry "$window" 2>/dev/null | sed -n 's/^ *Geometry: //p')
  [ "$geometry" = 640x288 ] || echo "viewable at ${geometry:-no size}"
}

focus_of() { xdotool getwindowfocus -f 2>/dev/null || echo none; }

# Keys go to the window that holds the focus: it is asked for, again every half second, until it is there.
focus_window() {
  local deadline=$((SECONDS + focus_wait_s)) asked=0
  until [ "$(focus_of)" = "$window" ]; do
    kill -0 "$quillfex_pid" 2>/dev/null || fail "Quillfex.exe ended before its window had the focus"
    [ $SECONDS -lt $deadline ] ||
      fail "focus never reached window $(hex_id "$window") in ${focus_wait_s} s: it is on $(focus_of)"
    [ $((asked % 5)) -eq 0 ] && { xdotool windowfocus "$window" 2>/dev/null || true; }
    asked=$((asked + 1))
    sleep 0.1
  done
}

press() {
  focus_window
  xdotool key --delay 50 "$@"
}

# Only a window viewable at its size is photographed.
screenshot() { [ -z "$(window_state)" ] && import -window "$window" "$(screen_file "$1")"; }

screen_file() { echo "$output/screens/$case/$1.png"; }

same_picture() { compare -metric AE "$1" "$2" null: >/dev/null 2>&1; }

# Waits until the window shows exactly the reference picture.
expect_screen() {
  local reference=$1 name=$2 deadline=$((SECONDS + screen_wait_s))
  local state
  until screenshot "$name" && same_picture "$(screen_file "$name")" "$reference"; do
    kill -0 "$quillfex_pid" 2>/dev/null || fail "$name: Quillfex.exe ended"
    if [ $SECONDS -ge $deadline ]; then
      state=$(window_state)
      [ -z "$state" ] || fail "$name: window $(hex_id "$window") $state after ${screen_wait_s} s"
      screen_differs "$reference" "$name"
    fi
    sleep 0.2
  done
}

# After keys, or a close request, that must leave the menu as it was: presses a key that changes it and
# waits for exactly the picture that key gives on the menu as it was. The program reads its input in
# order, so that picture shows that the earlier input was read and changed nothing (every key redraws the
# whole menu, so only the menu's state could have kept a change).
expect_unchanged() {
  local key=$1 reference=$2 name=$3
  press "$key"
  expect_screen "$reference" "$name"
}

screen_differs() {
  local reference=$1 name=$2
  local shot differences
  shot=$(screen_file "$name")
  differences=$(screen_file "$name-differences")
  [ -f "$shot" ] || fail "$name: no screenshot of window $(hex_id "$window")"
  compare "$shot" "$reference" "$differences" 2>/dev/null || true
  fail "$name: the window does not show ${reference#"$output/"} (see ${differences#"$output/"})"
}

expect_exit_status() {
  local expected=$1 name=$2 deadline=$((SECONDS + exit_wait_s)) status=0
  while kill -0 "$quillfex_pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "$name: Quillfex.exe did not end"
    sleep 0.2
  done
  wait "$quillfex_pid" || status=$?
  quillfex_pid=""
  [ "$status" -eq "$expected" ] || fail "$name: Quillfex.exe ended with status $status, not $expected"
}

# --- What the test proves -----------------------------------------------------------------------------

check_window_and_keys() {
  local reference=$output/reference/$case
  start_quillfex window
  [ "$(xdotool getwindowname "$window")" = Quillfex ] || fail "the window's title is not Quillfex"
  expect_console_hidden
  xdotool getwindowgeometry "$window" | grep -q 'Geometry: 640x288$' || fail "the window is not 640 x 288"
  expect_screen "$reference/menu.png" menu
  press Down
  expect_screen "$reference/menu-down.png" menu-down
  press Up
  expect_screen "$reference/menu.png" menu-up
  press ctrl+Up F1 a Q
  # Down moves the highlight from the first entry only if the keys above left it there.
  expect_unchanged Down "$reference/menu-down.png" menu-ignored-keys-then-down
  "$close_request" "$window" || fail "the close request could not be sent"
  expect_unchanged Up "$reference/menu.png" menu-close-request-then-up
  press Escape
  expect_exit_status 0 escape
  expect_no_working_files "after Escape"
}

# The program hides its console window before it opens its own, but the console's process unmaps it, so
# for a moment both can be viewable: waits until only the program's window is.
expect_console_hidden() {
  local deadline=$((SECONDS + window_wait_s))
  until [ "$(xdotool search --onlyvisible --name . 2>/dev/null || true)" = "$window" ]; do
    [ $SECONDS -lt $deadline ] || fail "the console window is not hidden after ${window_wait_s} s"
    sleep 0.2
  done
}

check_elimination_run() {
  local reference=$output/reference/$case at=$work/$case
  start_quillfex elimination
  expect_screen "$reference/menu.png" menu
  press Return
  press_through "$reference/elimination" elimination
  expect_exit_status 0 elimination
  machine_state >"$at/eliminated.json"
  expect_same_stores "$at/eliminated.json" "$at/reference-eliminated.json" "the elimination run"
  expect_no_working_files "after the elimination run"
  if [ "$case" = wine ]; then
    expect_partitions_prepared "$at/eliminated.json"
    expect_system_store_trimmed "$at/eliminated.json"
    cmp -s "$at/original-store" "$sandbox/drives/C/Boot/org.bcd" || fail "org.bcd does not hold the store as it was"
  fi
}

check_restore() {
  local reference=$output/reference/$case at=$work/$case
  start_quillfex restore
  press Down
  expect_screen "$reference/restore-menu.png" restore-menu
  press Return
  press_through "$reference/restore" restore
  expect_exit_status 0 restore
  machine_state >"$at/restored.json"
  expect_same_stores "$at/restored.json" "$at/reference-restored.json" "the restore"
  expect_no_working_files "after the restore"
  if [ "$case" = wine ]; then
    [ "$(jq -c .systemStore "$at/restored.json")" = "$(jq -c .systemStore "$at/original.json")" ] ||
      fail "the second entry did not put the store back from org.bcd"
    expect_json "$at/restored.json" '.bootFolder | index("org.bcd") != null' "org.bcd is gone after the restore"
  fi
}

# Every screen that waits for a key, in the order the Linux build showed them, each answered with Space.
press_through() {
  local snapshots=$1 run=$2 wait name
  for wait in "$snapshots"/wait-*.png; do
    [ -e "$wait" ] || fail "the Linux build's $run showed no screen that waits for a key"
    name=$run-${wait##*/}
    expect_screen "$wait" "${name%.png}"
    press space
  done
}

expect_same_stores() {
  [ "$(stores_of "$1")" = "$(stores_of "$2")" ] && return 0
  diff <(stores_of "$2" | jq .) <(stores_of "$1" | jq .) >&2 || true
  fail "after $3 the stores differ from those the Linux build leaves on the same machine (above: Linux < > Wine)"
}

# Each Windows partition besides the system drive has \bootmgr and a store of its own: the boot manager and
# only its own systems. Partitions without Windows are left alone.
expect_partitions_prepared() {
  local state=$1 drive letter
  for drive in "$sandbox"/drives/*; do
    letter=${drive##*/}
    [ "$letter" = C ] && continue
    if [ -d "$drive/Windows" ]; then
      expect_json "$state" ".drives.$letter.bootmgr" "$letter: has no \\bootmgr"
      expect_json "$state" "[.drives.$letter.store[]? | select(.kind == \"bootmgr\")] | length == 1" \
        "$letter: its store has no boot manager"
      expect_json "$state" "[.drives.$letter.store[]? | select(.kind == \"loader\" or .kind == \"legacy\") | .device]
        | length > 0 and all(. == \"partition=$letter:\")" "$letter: its store does not list only its own systems"
      expect_json "$state" ".drives.$letter.bootFiles | index(\"Zendrakx.exe\") == null and index(\"lid.bcd\") == null" \
        "$letter: working files left in its \\Boot"
    else
      expect_json "$state" ".drives.$letter.bootmgr == false and .drives.$letter.bootFiles == []" \
        "$letter: a partition without Windows was given boot files"
    fi
  done
}

expect_system_store_trimmed() {
  expect_json "$1" '[.systemStore[] | select(.kind == "loader" or .kind == "legacy") | .device]
    | length > 0 and all(. == "partition=C:")' "the system store still lists other partitions' systems"
  expect_json "$1" '.bootFolder | index("org.bcd") != null' "org.bcd is not kept"
}

expect_no_working_files() {
  local state=$work/state.json
  machine_state >"$state"
  expect_json "$state" '.bootFolder | index("Zendrakx.exe") == null and index("lid.bcd") == null' \
    "working files left in C:\\Boot $1"
  expect_json "$state" '[.temp[] | select(startswith("Quillfex."))] == []' "capture files left $1"
}

expect_json() {
  local state=$1 filter=$2 failure=$3
  jq -e "$filter" "$state" >/dev/null || fail "$failure"
}

stores_of() { jq -cS '{system: .systemStore, drives: (.drives | map_values(.store))}' "$1"; }

main "$@"
