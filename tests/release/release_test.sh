#!/usr/bin/env bash
# The Windows releases as their users get them, built from the release presets with Wine's own executables
# standing in for the editor a user's Windows would give:
#   - an editor that is no PE executable, or one for the other processor, stops the configure step, saying so;
#   - both releases carry the manifest (administrator rights, Vista and 7, DPI aware) and the version resource
#     and have no symbols; the 64-bit one, carrying a stand-in editor, holds no QUILLFEX_ text;
#   - the 32-bit release carries the 32-bit build of winsim-editor, so that the Wine stage can start it.
#
#   usage: release_test.sh
#
# Its configure attempts go to a temporary folder; the releases to build/windows-release and
# build/windows-release-x86 (and the 32-bit editor to build/windows-x86).
set -euo pipefail
cd "$(dirname "$0")/../.."

wine_x64=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
wine_x86=/usr/lib/i386-linux-gnu/wine/i386-windows
objdump=x86_64-w64-mingw32-objdump

fail() {
  echo "release test: $*" >&2
  exit 1
}

work=$(mktemp -d "${TMPDIR:-/tmp}/quillfex-release.XXXXXX")
trap 'rm -rf "$work"' EXIT

main() {
  for tool in "$wine_x64/hostname.exe" "$wine_x86/hostname.exe" "$(command -v "$objdump" || echo "$objdump")"; do
    [ -e "$tool" ] || fail "$tool is missing: run scripts/setup"
  done
  expect_refused windows-release /bin/true "is no Windows executable (it does not start with MZ)"
  expect_refused windows-release "$wine_x86/hostname.exe" \
    "is a Windows executable for 32-bit x86 (0x14C); this build is for x86-64 (0x8664)"
  expect_refused windows-release-x86 "$wine_x64/hostname.exe" \
    "is a Windows executable for x86-64 (0x8664); this build is for 32-bit x86 (0x14C)"
  expect_refused windows-release "" "A release carries the editor of the Windows it is for"

  build_release windows-release "$wine_x64/hostname.exe"
  check_release build/windows-release/bin/Quillfex.exe no-test-text
  build 32-bit-editor cmake --preset windows-x86 && build 32-bit-editor cmake --build --preset windows-x86 \
    --target winsim-editor
  build_release windows-release-x86 "$PWD/build/windows-x86/bin/winsim-editor.exe"
  grep -q 'file format pei-i386' <<<"$("$objdump" -f build/windows-release-x86/bin/Quillfex.exe)" ||
    fail "the 32-bit release is no 32-bit Windows executable"
  check_release build/windows-release-x86/bin/Quillfex.exe
  echo "release test passed: build/windows-release/bin/Quillfex.exe ($(size_of build/windows-release/bin/Quillfex.exe))," \
    "build/windows-release-x86/bin/Quillfex.exe ($(size_of build/windows-release-x86/bin/Quillfex.exe))"
}

size_of() { echo "$(($(stat -c %s "$1") / 1024)) KB"; }

# Configures the preset with the editor in a folder of its own and expects it to fail, saying `said`.
expect_refused() {
  local preset=$1 editor=$2 said=$3 log=$work/$1-refused.log
  if cmake --preset "$preset" -B "$work/$preset-refused" -DQUILLFEX_EDITOR="$editor" >"$log" 2>&1; then
    fail "$preset configured with the editor \"$editor\""
  fi
  tr -s ' \n' ' ' <"$log" | grep -qF "$said" || {
    cat "$log"
    fail "$preset refused \"$editor\" without saying \"$said\""
  }
  echo "$preset refuses \"${editor:-no editor}\": $said"
}

build() {
  local name=$1 log=$work/$1.log
  shift
  "$@" >"$log" 2>&1 || {
    cat "$log"
    fail "$name: $* failed"
  }
}

build_release() {
  local preset=$1 editor=$2
  build "$preset" cmake --preset "$preset" -DQUILLFEX_EDITOR="$editor"
  grep -F "The editor carried: $editor" "$work/$preset.log" >/dev/null || fail "$preset does not name the editor it carries"
  build "$preset" cmake --build --preset "$preset"
}

# The resources and the symbols; with "no-test-text", also no QUILLFEX_ text (the test editor has some).
check_release() {
  local program=$1 text_check=${2:-} resources text wide symbols
  resources=$("$objdump" -p "$program" | sed -n '/The .rsrc Resource Directory section/,$p')
  text=$(strings "$program")
  wide=$(strings -el "$program")
  grep -q 'Entry: ID: 0x000010' <<<"$resources" || fail "$program has no version resource"
  grep -q 'Entry: ID: 0x000018' <<<"$resources" || fail "$program has no manifest resource"
  grep -q 'level="requireAdministrator"' <<<"$text" || fail "$program does not ask for administrator rights"
  grep -qx '1.03' <<<"$wide" || fail "$program's version is not 1.03"
  symbols=$("$objdump" -t "$program")
  ! grep -q '^\[' <<<"$symbols" || fail "$program is not stripped"
  echo "$program: the manifest (requireAdministrator) and version 1.03, stripped"
  [ "$text_check" = no-test-text ] || return 0
  ! grep 'QUILLFEX_' <<<"$text" || fail "$program holds QUILLFEX_ text (above)"
  echo "$program: no QUILLFEX_ text"
}

main "$@"
