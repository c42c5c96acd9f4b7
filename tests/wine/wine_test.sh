#!/usr/bin/env bash
# The Windows build end to end under Wine, in an Xvfb display, on the machine of machine.toml laid out as
# a fresh Wine prefix: its window and keys, an elimination run and a restore, pressed with real keys and
# checked by screenshots (against the Linux build's headless snapshots of the same screens) and by the
# machine's state afterwards.
#
#   usage: wine_test.sh HOST_BUILD WINDOWS_BUILD [OUTPUT]
#
# HOST_BUILD has bin/winsim, bin/Quillfex and bin/close_request; WINDOWS_BUILD has bin/Quillfex.exe.
# OUTPUT (build/wine-test by default) receives screens/ (the window's screenshots), reference/ (the
# Linux snapshots they must equal) and logs/; when the test fails, also failed-machine/: the machine and
# its states, without the Wine prefix. The temporary folder goes on every exit.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_machine.sh"

screen_wait_s=60
window_wait_s=30
focus_wait_s=15
exit_wait_s=30

work="" display_pid="" quillfex_pid="" window=""

main() {
  if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    sed -n 's/^#   usage: /usage: /p' "$0" >&2
    exit 2
  fi
  local host_bin=$1/bin
  winsim=$host_bin/winsim
  host_quillfex=$host_bin/Quillfex
  close_request=$host_bin/close_request
  quillfex_exe=$(realpath -m "$2/bin/Quillfex.exe")
  output=$(realpath -m "${3:-$here/../../build/wine-test}")
  check_tools

  rm -rf "$output"
  mkdir -p "$output/screens" "$output/reference" "$output/logs"
  # A signal ends the script through exit, so that clean_up runs then too.
  trap clean_up EXIT
  trap 'exit 129' HUP
  trap 'exit 130' INT
  trap 'exit 143' TERM
  work=$(mktemp -d "${TMPDIR:-/tmp}/quillfex-wine.XXXXXX")

  make_reference_screens
  # Wine's desktop process, started by the first Wine program, draws on the display it found then.
  start_display
  make_wine_machine
  check_window_and_keys
  check_elimination_run
  check_restore
  echo "Wine test passed in ${SECONDS} s; screenshots in $output/screens"
}

check_tools() {
  local tool
  for tool in wine wineserver Xvfb xdotool import compare jq iconv; do
    command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/setup"
  done
  for tool in "$winsim" "$host_quillfex" "$close_request" "$quillfex_exe"; do
    [ -f "$tool" ] || fail "$tool is missing: build it first"
  done
}

fail() {
  echo "wine test: $*" >&2
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
  if [ -n "$display_pid" ]; then
    kill "$display_pid" 2>/dev/null || true
    wait "$display_pid" 2>/dev/null || true
  fi
  [ -n "$work" ] || return 0
  if [ "$status" -ne 0 ]; then
    keep_for_a_look "$output/failed-machine"
    echo "wine test: the machine and its states are kept for a look in $output/failed-machine" >&2
  fi
  rm -rf "$work"
}

# What helps to see why the test failed, without the Wine prefix: the sandbox, its C: drive without Wine's
# own folders, the states and stores the test saved, the registry files imported and exported.
keep_for_a_look() {
  local kept=$1 entry
  rm -rf "$kept"
  mkdir -p "$kept"
  cp -p "$work"/*.json "$work/original-store" "$kept/" 2>/dev/null || true
  [ -d "$work/reference-machine" ] && cp -a "$work/reference-machine" "$kept/"
  [ -d "$work/machine" ] || return 0
  "$winsim" show "$work/machine" --json >"$kept/state-at-failure.json" 2>/dev/null || true
  cp -a "$work/machine" "$kept/"
  cp -p "$work/prefix"/*.reg "$kept/" 2>/dev/null || true
  # The sandbox's C: is a link to the prefix's drive_c, which goes with the temporary folder.
  if [ -L "$kept/machine/drives/C" ]; then
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
  local machine=$work/reference-machine reference=$output/reference
  "$winsim" make "$here/machine.toml" "$machine"
  reference_run "$machine" "Esc" --snap "$reference/menu.png"
  reference_run "$machine" "Down Esc" --snap "$reference/menu-down.png"
  mkdir -p "$reference/elimination" "$reference/restore"
  # More keys than the machine has partitions to prepare: the run ends after the last one.
  QUILLFEX_SNAPSHOTS=$reference/elimination reference_run "$machine" "Enter Space Space Space Space Space Space"
  "$winsim" show "$machine" --json >"$work/reference-eliminated.json"
  QUILLFEX_SNAPSHOTS=$reference/restore reference_run "$machine" "Down Enter Space"
  rm -f "$reference"/*/exit.png
}

reference_run() {
  local machine=$1 keys=$2
  shift 2
  "$winsim" run "$machine" --keys "$keys" --screen headless "$@" -- "$host_quillfex" >/dev/null ||
    fail "the Linux build's run with \"$keys\" failed"
}

# --- The machine as a Wine prefix ---------------------------------------------------------------------

make_wine_machine() {
  sandbox=$work/machine
  "$winsim" make "$here/machine.toml" "$sandbox"
  use_wine_prefix "$work/prefix"
  create_wine_prefix || fail "wineboot could not make the prefix"
  start_wine_server
  lay_out_machine "$sandbox"
  export QUILLFEX_SIM_ROOT
  QUILLFEX_SIM_ROOT=$(windows_path "$sandbox")
  # Its path must hold no blank for cmd /c.
  cp "$quillfex_exe" "$work/Quillfex.exe"
  cp "$sandbox/drives/C/Boot/BCD" "$work/original-store"
  machine_state >"$work/original.json"
}

machine_state() { "$winsim" show "$sandbox" --json; }

start_display() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$output/logs/xvfb.log" &
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
    >"$output/logs/$name.log" 2>&1 &
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
screenshot() { [ -z "$(window_state)" ] && import -window "$window" "$output/screens/$1.png"; }

same_picture() { compare -metric AE "$1" "$2" null: >/dev/null 2>&1; }

# Waits until the window shows exactly the reference picture.
expect_screen() {
  local reference=$1 name=$2 deadline=$((SECONDS + screen_wait_s))
  local state
  until screenshot "$name" && same_picture "$output/screens/$name.png" "$reference"; do
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
  [ -f "$output/screens/$name.png" ] || fail "$name: no screenshot of window $(hex_id "$window")"
  compare "$output/screens/$name.png" "$reference" "$output/screens/$name-differences.png" 2>/dev/null || true
  fail "$name: the window does not show ${reference#"$output/"} (see screens/$name-differences.png)"
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
  local reference=$output/reference
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
  local wait name
  compgen -G "$output/reference/elimination/wait-*.png" >/dev/null || fail "the machine has no partition to prepare"
  start_quillfex elimination
  press Return
  for wait in "$output"/reference/elimination/wait-*.png; do
    name=elimination-${wait##*/}
    expect_screen "$wait" "${name%.png}"
    press space
  done
  expect_exit_status 0 elimination
  machine_state >"$work/eliminated.json"
  expect_partitions_prepared "$work/eliminated.json"
  expect_system_store_trimmed "$work/eliminated.json"
  expect_no_working_files "after the elimination run"
  cmp -s "$work/original-store" "$sandbox/drives/C/Boot/org.bcd" || fail "org.bcd does not hold the store as it was"
  [ "$(stores_of "$work/eliminated.json")" = "$(stores_of "$work/reference-eliminated.json")" ] ||
    fail "the stores differ from those the Linux build leaves on the same machine"
}

check_restore() {
  start_quillfex restore
  press Down
  expect_screen "$output/reference/menu-down.png" restore-menu
  press Return
  expect_screen "$output/reference/restore/wait-001.png" restore-wait-001
  press space
  expect_exit_status 0 restore
  machine_state >"$work/restored.json"
  [ "$(jq -c .systemStore "$work/restored.json")" = "$(jq -c .systemStore "$work/original.json")" ] ||
    fail "the second entry did not put the store back from org.bcd"
  expect_json "$work/restored.json" '.bootFolder | index("org.bcd") != null' "org.bcd is gone after the restore"
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
