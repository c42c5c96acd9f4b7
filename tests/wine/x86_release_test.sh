#!/usr/bin/env bash
# The 32-bit release under Wine's 32-bit half: started on the machine of machine.toml laid out as a Wine
# prefix, it must open its window at the menu, exactly as the Linux build draws it, and end with status 0 on
# Escape.
#
#   usage: x86_release_test.sh HOST_BUILD RELEASE_BUILD
#
# HOST_BUILD has bin/winsim and bin/Quillfex; RELEASE_BUILD has bin/Quillfex.exe, a 32-bit release carrying the
# 32-bit winsim-editor (tests/release/release_test.sh builds it). The temporary folder goes on every exit.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_machine.sh"

wait_s=60
work="" display_pid="" quillfex_pid="" window=""

fail() {
  echo "32-bit release under Wine: $*" >&2
  exit 1
}

clean_up() {
  set +e
  [ -n "$quillfex_pid" ] && kill "$quillfex_pid" 2>/dev/null && wait "$quillfex_pid" 2>/dev/null
  stop_wine_server
  [ -n "$display_pid" ] && kill "$display_pid" 2>/dev/null && wait "$display_pid" 2>/dev/null
  [ -n "$work" ] && rm -rf "$work"
}

main() {
  [ $# -eq 2 ] || {
    sed -n 's/^#   usage: /usage: /p' "$0" >&2
    exit 2
  }
  local winsim=$1/bin/winsim host_quillfex=$1/bin/Quillfex release=$2/bin/Quillfex.exe
  for file in "$winsim" "$host_quillfex" "$release"; do [ -f "$file" ] || fail "$file is missing: build it first"; done
  runs_32_bit_programs || fail "this machine's kernel runs no 32-bit programs, so Wine's 32-bit half cannot start"
  trap clean_up EXIT
  trap 'exit 129' HUP
  trap 'exit 130' INT
  trap 'exit 143' TERM
  work=$(mktemp -d "${TMPDIR:-/tmp}/quillfex-wine-x86.XXXXXX")

  "$winsim" make "$here/machine.toml" "$work/reference-machine"
  "$winsim" run "$work/reference-machine" --keys Esc --screen headless --snap "$work/reference.png" \
    -- "$host_quillfex" >/dev/null || fail "the Linux build did not draw the menu"

  start_display
  "$winsim" make "$here/machine.toml" "$work/machine"
  use_wine_prefix "$work/prefix"
  create_wine_prefix || fail "wineboot could not make the prefix"
  start_wine_server
  lay_out_machine "$work/machine"
  export QUILLFEX_SIM_ROOT  # for the winsim-editor the release carries
  QUILLFEX_SIM_ROOT=$(windows_path "$work/machine")
  cp "$release" "$work/Quillfex.exe"
  (cd "$WINEPREFIX/drive_c" && exec wine start /wait cmd /c "$(windows_path "$work/Quillfex.exe")") \
    >"$work/run.log" 2>&1 &
  quillfex_pid=$!

  until_true "$wait_s" found_window || fail "no window titled Quillfex in ${wait_s} s"
  until_true "$wait_s" shows_menu || fail "the window does not show the menu as the Linux build draws it"
  press_escape
  local status=0
  wait "$quillfex_pid" || status=$?
  quillfex_pid=""
  [ "$status" -eq 0 ] || fail "Escape ended it with status $status"
  echo "32-bit release under Wine: the menu, then Escape with status 0"
}

start_display() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  display_pid=$!
  until_true 10 test -s "$work/display" || fail "Xvfb did not tell its display number"
  DISPLAY=:$(head -n 1 "$work/display")
  export DISPLAY
}

# Runs the command every 0.2 s until it succeeds or the seconds are over.
until_true() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

found_window() {
  window=$(xdotool search --onlyvisible --name '^Quillfex$' 2>/dev/null | head -n 1)
  [ -n "$window" ]
}

shows_menu() {
  import -window "$window" "$work/screen.png" 2>/dev/null &&
    compare -metric AE "$work/screen.png" "$work/reference.png" null: >/dev/null 2>&1
}

has_focus() {
  [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$window" ] && return 0
  xdotool windowfocus "$window" 2>/dev/null
  return 1
}

ended() { ! kill -0 "$quillfex_pid" 2>/dev/null; }

press_escape() {
  until_true 15 has_focus || fail "the window never had the focus"
  xdotool key Escape
  until_true 30 ended || fail "Escape did not end it"
}

main "$@"
