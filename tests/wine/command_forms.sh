#!/usr/bin/env bash
# A differential test of the command lines the program runs (helper/command_lines.cpp): every form, with the
# drives of machine.toml and in the ways it fails, runs once through winsim-cmd, as the POSIX build runs it,
# and once through Wine's own cmd, xcopy, ren, dir and regedit, as the Windows build runs it (std::system,
# from C:\Boot, where the program works and writes the editor out as Zendrakx.exe). Each line's exit status,
# the capture file a line fills, and at the end every drive's files (names and bytes) must be the same; a
# difference the program does not rely on is named below, allowed exactly as it is, and printed.
#
#   usage: command_forms.sh HOST_BUILD WINDOWS_BUILD
#
# HOST_BUILD has bin/winsim, bin/winsim-cmd, bin/winsim-editor and bin/run_command_lines.exe; WINDOWS_BUILD
# has bin/winsim-editor.exe. Exit status 1 on a difference that is not named, with the line and both results.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_machine.sh"

# The machine's temporary folder (machine.toml), which has a blank: the capture arguments are quoted.
temp='C:\Temp Files'
entry_on_d='{6f1a8c20-5b3e-11e0-9f4d-806e6f6e6963}'
entry_on_e='{6f1a8c21-5b3e-11e0-9f4d-806e6f6e6963}'

work="" count=0 named=0 unnamed=0
kinds=()  # each command line's kind, by its number: what its differences may be

fail() {
  echo "command forms: $*" >&2
  exit 1
}

clean_up() {
  set +e
  stop_wine_server
  [ -n "$work" ] && rm -rf "$work"
}

main() {
  [ $# -eq 2 ] || {
    sed -n 's/^#   usage: /usage: /p' "$0" >&2
    exit 2
  }
  local host_bin
  host_bin=$(realpath -m "$1/bin")
  winsim=$host_bin/winsim winsim_cmd=$host_bin/winsim-cmd host_editor=$host_bin/winsim-editor
  runner=$host_bin/run_command_lines.exe windows_editor=$(realpath -m "$2/bin/winsim-editor.exe")
  local file
  for file in "$winsim" "$winsim_cmd" "$host_editor" "$runner" "$windows_editor"; do
    [ -f "$file" ] || fail "$file is missing: build it first"
  done
  for file in wine wineserver iconv sha256sum; do command -v "$file" >/dev/null || fail "$file is missing"; done
  trap clean_up EXIT
  trap 'exit 129' HUP
  trap 'exit 130' INT
  trap 'exit 143' TERM
  work=$(mktemp -d "${TMPDIR:-/tmp}/quillfex-forms.XXXXXX")
  use_wine_loader "$work/loader"

  forms >"$work/lines"
  run_under_winsim
  run_under_wine
  local k
  for ((k = 1; k <= count; k++)); do
    compare_status "$k"
    compare_capture "$k"
  done
  compare_trees
  echo "command forms: $count lines compared, $named named differences, $unnamed not named (${SECONDS} s)"
  [ "$unnamed" -eq 0 ] || fail "$unnamed differences are not named (above)"
}

# --- The lines ----------------------------------------------------------------------------------------
#
# A command line exactly as the program writes it, with the kind of form it is. A capture line is followed
# by ":move %temp%\Quillfex.00N|capture.K" (K its number), which keeps what it left and, as the program
# deletes a capture file before the line that fills it, leaves the next one to start without it. Lines
# that begin with ':' are the runner's (run_command_lines.cpp); "wine:" lines go to the Wine run alone.

line() {
  count=$((count + 1))
  kinds[count]=$1
  echo "$2"
}

capture() {
  line "$1" "$2>\"%temp%\\Quillfex.00$3\""
  echo ":move %temp%\\Quillfex.00$3|capture.$count"
}

editor() { line editor "Zendrakx.exe $1>nul"; }

# listingCommand, listStoreFileCommand, exportStoreCommand, importStoreCommand, deleteEntryCommand.
trim_for() {
  local keep=$1 id
  editor "/import org.bcd"
  for id in "{current}" "$entry_on_d" "$entry_on_e" "{memdiag}"; do
    [ "$id" = "$keep" ] || editor "/f /delete $id"
  done
  editor "/export lid.bcd"
}

# copyBootFolderCommand. Under Wine the live store is no open hive, so Wine's xcopy copies it and its logs:
# the Wine run keeps the live store, its logs and the target's \Boot\BCD before the line, takes what the line
# left there away after it and puts the earlier store back, so that the lines after it meet what Windows
# leaves (the targets have no logs of their own).
hive_logs=(BCD.LOG BCD.LOG1 BCD.LOG2)
copy_boot_folder() {
  local drive=$1 log
  echo "wine::copy C:\\Boot\\BCD|live.$((count + 1))"
  for log in "${hive_logs[@]}"; do echo "wine::copy C:\\Boot\\$log|live-$log.$((count + 1))"; done
  echo "wine::copy $drive\\Boot\\BCD|before.$((count + 1))"
  line "xcopy-boot" "xcopy /s /c /h /y \\Boot $drive\\Boot\\>nul"
  echo "wine::move $drive\\Boot\\BCD|after.$count"
  for log in "${hive_logs[@]}"; do echo "wine::move $drive\\Boot\\$log|after-$log.$count"; done
  echo "wine::copy before.$count|$drive\\Boot\\BCD"
}

ren() { line ren "ren $1\\Boot\\lid.bcd BCD>nul"; }
copy_boot_manager() { line xcopy "xcopy /h /r /y \\bootmgr $1\\>nul"; }
probe() { capture "probe-$1" "dir /b /a $1\\Windows\\System32\\b*" 3; }
list_root() { capture "dir-root-$1" "dir /b /a $1\\" 0; }
list_boot() { capture dir "dir /b /a $1\\Boot" 0; }

forms() {
  # What a run does up to the partitions, as eliminationRun and the readers do it.
  capture listing "Zendrakx.exe" 0
  list_root C:
  editor "/export org.bcd"
  capture listing "Zendrakx.exe /store org.bcd" 0
  line regedit "regedit /e \"%temp%\\Quillfex.001\" HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices"
  echo ":move %temp%\\Quillfex.001|capture.$count"
  local drive
  for drive in C: D: E: F: G:; do probe "$drive"; done
  list_boot C:
  # D: prepared: a drive without \Boot.
  trim_for "$entry_on_d"
  copy_boot_folder D:
  list_boot D:
  ren D:
  copy_boot_manager D:
  list_root D:
  # The forms failing: a ren of a file that is gone, in a folder and on a drive that are not there; copies
  # and listings on a drive that is not there, a listing of a missing folder and of an empty drive; the
  # editor on a missing store file and a deleted entry.
  ren D:
  ren F:
  ren G:
  copy_boot_folder G:
  copy_boot_manager G:
  list_root G:
  list_boot F:
  list_root F:
  capture listing "Zendrakx.exe /store missing.bcd" 0
  editor "/import missing.bcd"
  editor "/f /delete $entry_on_e"
  # E: prepared, then D: again: \Boot and its store are there, so the ren finds BCD in its way.
  trim_for "$entry_on_e"
  copy_boot_folder E:
  ren E:
  copy_boot_manager E:
  trim_for "$entry_on_d"
  copy_boot_folder D:
  ren D:
  copy_boot_manager D:
  list_boot D:
  # The end of a run: the trimmed store imported, the store listed.
  editor "/import lid.bcd"
  capture listing "Zendrakx.exe" 0
}

# --- The two runs -------------------------------------------------------------------------------------

# Each line through winsim-cmd as the POSIX seam runs it (posix_os.cpp): from C:\Boot's host folder, with
# the variables `winsim run` gives the program, its output and errors into the console log.
run_under_winsim() {
  sim=$work/winsim
  "$winsim" make "$here/machine.toml" "$sim" >/dev/null
  cp "$host_editor" "$sim/drives/C/Boot/Zendrakx.exe"
  mkdir -p "$work/winsim-out"
  : >"$work/winsim-out/statuses"
  local text status
  while IFS= read -r text; do
    case $text in
      wine:*) ;;
      :copy\ * | :move\ *) winsim_step "$text" ;;
      *)
        status=0
        (cd "$sim/drives/C/Boot" &&
          exec env -u WINSIM_KILL_AT_LINE SystemDrive=C: temp="$temp" QUILLFEX_SIM_ROOT="$sim" "$winsim_cmd" "$text") \
          >>"$work/winsim-console.log" 2>&1 || status=$?
        echo "$status" >>"$work/winsim-out/statuses"
        ;;
    esac
  done <"$work/lines"
}

# The runner's :copy and :move on the winsim sandbox.
winsim_step() {
  local text=$1 from to
  from=${text:6}
  from=$(sandbox_file "${from%%|*}")
  to=$(sandbox_file "${text#*|}")
  [ -e "$from" ] || return 0
  cp "$from" "$to"
  [ "${text:1:4}" = copy ] || rm "$from"
}

sandbox_file() {
  local path=${1//%temp%/"$temp"} drive
  case $path in
    ?:\\*)
      drive=${path:0:1}
      path=${path:3}
      echo "$sim/drives/${drive^^}/${path//\\//}"
      ;;
    *) echo "$work/winsim-out/$path" ;;
  esac
}

# All lines in one run_command_lines.exe from C:\Boot on the machine laid out as a Wine prefix.
run_under_wine() {
  local sandbox=$work/wine
  "$winsim" make "$here/machine.toml" "$sandbox" >/dev/null
  use_wine_prefix "$work/prefix"
  create_wine_prefix || fail "wineboot could not make the prefix"
  # What is Wine's own in C:\ and its system folder, and what is the machine's there.
  ls -A "$WINEPREFIX/drive_c" >"$work/wine-own-root"
  ls -A "$WINEPREFIX/drive_c/windows/system32" >"$work/wine-own-system32"
  ls -A "$sandbox/drives/C" >"$work/machine-root"
  ls -A "$sandbox/drives/C/Windows/System32" >"$work/machine-system32"
  start_wine_server
  lay_out_machine "$sandbox"
  export QUILLFEX_SIM_ROOT  # for the editor
  QUILLFEX_SIM_ROOT=$(windows_path "$sandbox")
  cp "$windows_editor" "$sandbox/drives/C/Boot/Zendrakx.exe"
  cp "$runner" "$work/run_command_lines.exe"
  sed 's/^wine://' "$work/lines" >"$work/wine-lines"
  mkdir -p "$work/wine-out"
  (cd "$sandbox/drives/C/Boot" && exec wine "$(windows_path "$work/run_command_lines.exe")" \
    "$(windows_path "$work/wine-lines")" "$(windows_path "$work/wine-out")") >"$work/wine-console.log" 2>&1 ||
    fail "run_command_lines.exe failed: $(tail -n 3 "$work/wine-console.log")"
  [ "$(wc -l <"$work/wine-out/statuses")" -eq "$count" ] || fail "the Wine run gave no status for every line"
  stop_wine_server
}

# --- The comparison -----------------------------------------------------------------------------------

command_of() { grep -v '^wine:\|^:' "$work/lines" | sed -n "$1p"; }

named() {
  named=$((named + 1))
  echo "named: line $1 ($(command_of "$1")): $2"
}

differs() {
  unnamed=$((unnamed + 1))
  {
    echo "command forms: line $1: $(command_of "$1")"
    echo "  $2"
    [ $# -lt 4 ] || show_difference "$3" "$4"
  } >&2
}

show_difference() {
  diff -u --label winsim-cmd --label Wine <(cat -v "$1") <(cat -v "$2") | sed 's/^/  /' || true
}

status_of() { sed -n "$2p" "$work/$1-out/statuses"; }

# Whether Wine's xcopy left a copy of the live store and of each of its logs, as they were, on line K's
# target (the Wine run took them away again after the line).
copied_live_store() {
  local out=$work/wine-out log
  [ -f "$out/after.$1" ] && cmp -s "$out/after.$1" "$out/live.$1" || return 1
  for log in "${hive_logs[@]}"; do cmp -s "$out/after-$log.$1" "$out/live-$log.$1" || return 1; done
}

# The drive an xcopy line copies onto, when the machine has no such drive.
missing_target_drive() {
  local drive
  drive=$(command_of "$1" | sed -n 's/^xcopy .* \([A-Za-z]\):\\[^ ]*>nul$/\1/p')
  [ -n "$drive" ] && [ ! -e "$work/winsim/drives/${drive^^}" ]
}

compare_status() {
  local k=$1 simulated wine
  simulated=$(status_of winsim "$k") wine=$(status_of wine "$k")
  if [ "${kinds[k]}" = xcopy-boot ] && [ -f "$work/wine-out/after.$k" ]; then
    copied_live_store "$k" || differs "$k" "Wine's xcopy left a \\Boot\\BCD or logs that are not the live store's"
    if [ "$simulated/$wine" = 5/0 ]; then
      named "$k" "Wine's xcopy copies the live store \\Boot\\BCD and its logs, status 0 (winsim-cmd 5): Windows holds them open as the BCD hive and /c skips them; the program ignores the status, checks the copied lid.bcd and keeps no log beside a store it puts in place"
    else
      differs "$k" "status $simulated under winsim-cmd, $wine under Wine, which copied the live store"
    fi
  elif [ "$simulated" = "$wine" ]; then
    return 0
  elif [ "${kinds[k]}" = ren ] && [ "$simulated/$wine" = 1/0 ]; then
    named "$k" "Wine's ren fails with status 0 (winsim-cmd 1, as Windows): the program ignores ren's status"
  elif [[ ${kinds[k]} == xcopy* ]] && missing_target_drive "$k" &&
    [ "$simulated/$wine" = "4/$([[ $(command_of "$k") == *" /c "* ]] && echo 0 || echo 5)" ]; then
    named "$k" "Wine's xcopy tries every file on the missing drive, status $wine (winsim-cmd 4 after \"Invalid drive specification\", as Windows): the program ignores xcopy's status"
  else
    differs "$k" "status $simulated under winsim-cmd, $wine under Wine"
  fi
}

compare_capture() {
  local k=$1 simulated=$work/winsim-out/capture.$1 wine=$work/wine-out/capture.$1 normal=$work/normal.$1
  [ -e "$simulated" ] || [ -e "$wine" ] || return 0
  if [ ! -e "$simulated" ] || [ ! -e "$wine" ]; then
    differs "$k" "a capture file under $([ -e "$wine" ] && echo Wine || echo winsim-cmd) only"
    return 0
  fi
  cmp -s "$simulated" "$wine" && return 0
  # A capture that differs must be the same once the differences its kind may have are taken out.
  case ${kinds[k]} in
    dir-root-C:)
      without_wine_own "$work/wine-own-root" "$work/machine-root" <"$wine" >"$normal"
      listing_still_differs "$k" "$simulated" "$normal" ||
        named "$k" "Wine's own folders in C:\\ listed too: the prefix's drive_c is the machine's C: (its windows the machine's Windows)"
      ;;
    probe-C:)
      without_wine_own "$work/wine-own-system32" "$work/machine-system32" <"$wine" >"$normal"
      listing_still_differs "$k" "$simulated" "$normal" ||
        named "$k" "Wine's own b* files listed too: the prefix's windows\\system32 is the machine's C:\\Windows\\System32"
      ;;
    regedit)
      machine_values_only <"$wine" >"$normal"
      if cmp -s "$simulated" "$normal"; then
        named "$k" "Wine's mount manager's own values exported too, all sorted by name (Windows: in the order made): the program reads only the machine's \\DosDevices\\X: values"
      else
        differs "$k" "the exports differ beyond Wine's own values and their order (shown as text, without them)" \
          <(utf16_text "$simulated") <(utf16_text "$normal")
      fi
      ;;
    *) differs "$k" "the capture files differ" "$simulated" "$wine" ;;
  esac
}

# Whether a difference is left once Wine's own names are taken out; it is shown when there is.
listing_still_differs() {
  cmp -s "$2" "$3" && return 1
  differs "$1" "the listings differ beyond Wine's own names (shown without them)" "$2" "$3"
}

# The lines of a Wine listing without the names that are Wine's own (OWN) and not the machine's (MACHINE);
# a name of both is spelled as the machine spells it. Names match without regard to letter case.
without_wine_own() {
  local own=$1 machine=$2
  awk -v own="$own" -v machine="$machine" '
    BEGIN { while ((getline n < own) > 0) mine[toupper(n)] = 1
            while ((getline n < machine) > 0) theirs[toupper(n)] = n }
    { name = $0; sub(/\r$/, "", name); key = toupper(name)
      if (key in theirs) print theirs[key] "\r"; else if (!(key in mine)) print }'
}

# A regedit export with the values of the machine's MountedDevices only, in the machine's order.
machine_values_only() {
  local name
  while IFS=$'\t' read -r name _; do
    echo "\"$(registry_string "$name")\""
  done <"$work/wine/registry/MountedDevices" >"$work/machine-values"
  printf '\xff\xfe'
  tail -c +3 | iconv -f UTF-16LE -t UTF-8 | awk -v machine="$work/machine-values" '
    BEGIN { while ((getline name < machine) > 0) order[++n] = name }
    /^"/ { name = substr($0, 1, index($0, "=") - 1); value[name] = $0 "\n"; current = name; next }
    /^  / && current != "" { value[current] = value[current] $0 "\n"; next }
    { current = ""; if (!seen_values) head = head $0 "\n"; else tail = tail $0 "\n" }
    /^\[/ { seen_values = 1 }
    END { printf "%s", head; for (i = 1; i <= n; i++) printf "%s", value[order[i]]; printf "%s", tail }' |
    iconv -f UTF-8 -t UTF-16LE
}

utf16_text() { tail -c +3 "$1" | iconv -f UTF-16LE -t UTF-8 | tr -d '\r'; }

# Every drive's folders and files, a file with its bytes' digest, C: without Wine's own folders. The
# editor, which each run's platform has its own build of, stands as "the editor".
manifest() {
  local drives=$1 editor=$2 drive path digest editor_digest
  editor_digest=$(sha256sum <"$editor" | cut -d' ' -f1)
  for drive in "$drives"/*; do
    drive=${drive##*/}
    (cd "$drives/$drive/" && find . -mindepth 1 -printf '%y %P\n') | LC_ALL=C sort -k2 |
      while read -r type path; do
        if [ "$drive" = C ] && [[ ${path,,} =~ ^(windows|users|programdata|program\ files[^/]*)(/|$) ]]; then
          continue
        fi
        if [ "$type" = d ]; then
          printf '%s\n' "$drive:\\${path//\//\\}\\"
        else
          digest=$(sha256sum <"$drives/$drive/$path" | cut -d' ' -f1)
          [ "$digest" = "$editor_digest" ] && digest="the editor"
          echo "$drive:\\${path//\//\\} $digest"
        fi
      done
  done
}

compare_trees() {
  manifest "$work/winsim/drives" "$host_editor" >"$work/winsim-files"
  manifest "$work/wine/drives" "$windows_editor" >"$work/wine-files"
  if cmp -s "$work/winsim-files" "$work/wine-files"; then
    local editors
    editors=$(grep -c ' the editor$' "$work/wine-files" || true)
    named=$((named + 1))
    echo "named: the drives' files: Zendrakx.exe ($editors copies) is each platform's own build of the editor"
    return 0
  fi
  unnamed=$((unnamed + 1))
  {
    echo "command forms: the drives' files differ at the end"
    show_difference "$work/winsim-files" "$work/wine-files"
  } >&2
}

main "$@"
