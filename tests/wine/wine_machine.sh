# shellcheck shell=bash
# Lays a winsim machine out as a Wine prefix, so that the Windows build meets the machine through Windows
# itself: the real cmd, xcopy, ren, regedit and the physical-drive devices. Sourced by wine_test.sh.
#
#   use_wine_loader FOLDER      makes `wine` one that runs on this kernel (FOLDER holds it when needed)
#   runs_32_bit_programs        whether this kernel runs 32-bit programs (and so Wine's 32-bit half)
#   use_wine_prefix PREFIX      the variables every wine command of the run needs
#   create_wine_prefix          a fresh prefix (10 to 12 s)
#   start_wine_server           a persistent server: the MountedDevices values live only as long as it does
#   lay_out_machine SANDBOX     the sandbox that `winsim make` built, made the prefix's machine
#   stop_wine_server            ends the server and every Wine process of the prefix, and removes its socket
#   windows_path PATH           the Windows name of an absolute host path (through Wine's drive Z:)

wine_server_pid=""

# Debian's wine starts its 32-bit loader, which hands 64-bit programs to the 64-bit one; a kernel built
# without 32-bit support refuses the first, so there the 64-bit loader is called directly.
use_wine_loader() {
  local folder=$1
  runs_32_bit_programs && return 0
  mkdir -p "$folder"
  printf '#!/bin/sh\nWINELOADER=/usr/lib/wine/wine64 exec /usr/lib/wine/wine64 "$@"\n' >"$folder/wine"
  chmod +x "$folder/wine"
  PATH=$folder:$PATH
}

runs_32_bit_programs() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

use_wine_prefix() {
  export WINEPREFIX=$1
  export WINEDEBUG=-all
  # No Mono or Gecko installer dialogs while the prefix is made.
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

create_wine_prefix() {
  wine wineboot --init >/dev/null 2>&1 && wineserver -w
}

start_wine_server() {
  wineserver -f -p >/dev/null 2>&1 &
  wine_server_pid=$!
}

stop_wine_server() {
  [ -n "$wine_server_pid" ] || return 0
  wineserver -k >/dev/null 2>&1 || true
  kill "$wine_server_pid" 2>/dev/null || true
  wait "$wine_server_pid" 2>/dev/null || true
  wine_server_pid=""
  remove_server_folder
}

# Debian's wineserver keeps its socket in a folder of its own under TMPDIR, wine-XXXXXX/server-DEV-INODE
# (the prefix's device and inode in hexadecimal), which outlives the server.
remove_server_folder() {
  local server folder
  [ -d "${WINEPREFIX:-}" ] || return 0
  server=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
  for folder in "${TMPDIR:-/tmp}"/wine-*/; do
    [ -d "$folder$server" ] || continue
    rm -rf "$folder$server"
    rmdir "$folder" 2>/dev/null || true
  done
}

windows_path() {
  local path=$1
  echo "Z:${path//\//\\}"
}

# A partition without a drive letter (the sandbox's volumes/HarddiskVolumeN) has no Wine drive, so its files
# cannot be placed in the prefix. The program never reaches them; the winsim editor, which finds the system
# store there, names the folder through the sandbox's own path on Z: (QUILLFEX_SIM_ROOT).
lay_out_machine() {
  local sandbox=$1
  check_system_drive "$sandbox"
  make_system_drive_the_prefixs "$sandbox"
  link_drives "$sandbox"
  link_disks "$sandbox"
  set_file_attributes "$sandbox"
  import_registry_values "$sandbox"
  check_mounted_devices "$sandbox"
  check_temp "$sandbox"
}

# Wine gives every process SystemDrive=C:.
check_system_drive() {
  local drive
  drive=$(sed -n 's/^system_drive *= *"\(.*\)".*/\1/p' "$1/machine.toml")
  if [ -n "$drive" ] && [ "${drive^^}" != "C:" ]; then
    echo "wine_machine: the system drive must be C: under Wine, the machine says $drive" >&2
    return 1
  fi
}

# The prefix's drive_c is drive C:, since Wine runs cmd and regedit from there; the machine's own C: files
# are added to it and the sandbox's C: folder becomes a link to it, so that `winsim show` sees the result.
make_system_drive_the_prefixs() {
  local sandbox=$1
  merge_folder "$sandbox/drives/C" "$WINEPREFIX/drive_c"
  rm -rf "$sandbox/drives/C"
  ln -s "$WINEPREFIX/drive_c" "$sandbox/drives/C"
}

# Copies folder $1 into folder $2 with names matched without regard to letter case, as Windows matches
# them (Wine's "windows\system32" is the machine's "Windows\System32"); files $2 already has stay as they are.
merge_folder() {
  local from=$1 into=$2 entry target
  for entry in "$from"/*; do
    [ -e "$entry" ] || continue
    target=$into/$(name_in_folder "$into" "${entry##*/}")
    if [ -d "$entry" ]; then
      mkdir -p "$target"
      merge_folder "$entry" "$target"
    elif [ ! -e "$target" ]; then
      cp -p "$entry" "$target"
    fi
  done
}

# The name in folder $1 that equals $2 without regard to letter case (an exact match first), else $2. No
# subshell for each entry: Wine's system32 holds hundreds of names.
name_in_folder() {
  local folder=$1 name=$2 entry
  if [ -e "$folder/$name" ]; then
    echo "$name"
    return
  fi
  for entry in "$folder"/*; do
    entry=${entry##*/}
    if [ "${entry,,}" = "${name,,}" ]; then
      echo "$entry"
      return
    fi
  done
  echo "$name"
}

lower_case() { echo "${1,,}"; }

link_drives() {
  local sandbox=$1 drive letter
  for drive in "$sandbox"/drives/*; do
    letter=${drive##*/}
    [ "$letter" = C ] && continue
    ln -s "$drive" "$WINEPREFIX/dosdevices/$(lower_case "$letter"):"
  done
}

# Every disk 0 to 3 gets an image: under Wine a failed open followed by CloseHandle(INVALID_HANDLE_VALUE)
# leaves the last error 0, so a disk without one would read as a good sector. A blank sector has no
# signature that a mounted device could carry.
link_disks() {
  local sandbox=$1 n image
  mkdir -p "$WINEPREFIX/blank-disks"
  for n in 0 1 2 3; do
    image=$sandbox/disks/PhysicalDrive$n
    if [ ! -f "$image" ]; then
      image=$WINEPREFIX/blank-disks/PhysicalDrive$n
      head -c 512 /dev/zero >"$image"
    fi
    ln -s "$image" "$WINEPREFIX/dosdevices/physicaldrive$n"
  done
}

# Wine's attrib takes one attribute a call, and names without quotes (the machine's have no blanks). Wine run
# as root keeps no read-only attribute (attrib +r does not take), so R is not laid out: there xcopy
# overwrites a read-only \bootmgr with or without /r, and the program's copy with /r does the same. Files of
# a partition without a letter are on no Wine drive: they keep their attributes in the sandbox alone.
set_file_attributes() {
  local sandbox=$1 flags path name commands=()
  while IFS=$'\t' read -r flags path; do
    [[ $path == drives/* ]] || continue
    name=${path#drives/}
    name="${name:0:1}:\\${name:2}"
    name=${name//\//\\}
    [[ $flags == *H* ]] && commands+=("attrib +h $name")
    [[ $flags == *S* ]] && commands+=("attrib +s $name")
  done <"$sandbox/attributes"
  [ ${#commands[@]} -eq 0 ] && return 0
  local IFS='&'
  wine cmd /c "${commands[*]}" >/dev/null
}

# The machine's MountedDevices values, and its temporary folder as the user's TEMP and TMP.
import_registry_values() {
  local sandbox=$1 values
  values=$(windows_path "$WINEPREFIX/machine.reg")
  registry_file "$sandbox" >"$WINEPREFIX/machine.reg"
  wine regedit /s "$values"
}

registry_file() {
  local sandbox=$1 name bytes temp
  temp=$(machine_temp "$sandbox")
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\MountedDevices]\r\n'
  while IFS=$'\t' read -r name bytes; do
    printf '"%s"=hex:%s\r\n' "$(registry_string "$name")" "$bytes"
  done <"$sandbox/registry/MountedDevices"
  printf '\r\n[HKEY_CURRENT_USER\\Environment]\r\n'
  printf '"TEMP"="%s"\r\n"TMP"="%s"\r\n\r\n' "$(registry_string "$temp")" "$(registry_string "$temp")"
}

registry_string() {
  local text=${1//\\/\\\\}
  echo "${text//\"/\\\"}"
}

# The machine's temporary folder as its description writes it (a TOML basic string), C:\Temp by default.
machine_temp() {
  local temp
  temp=$(sed -n 's/^temp *= *"\(.*\)".*/\1/p' "$1/machine.toml")
  temp=${temp//\\\\/\\}
  echo "${temp:-C:\\Temp}"
}

# Wine's mount manager writes values of its own for the drives it finds: the run needs the machine's.
check_mounted_devices() {
  local sandbox=$1 exported name bytes
  wine regedit /e "$(windows_path "$WINEPREFIX/mounted.reg")" 'HKEY_LOCAL_MACHINE\SYSTEM\MountedDevices'
  exported=$(iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/mounted.reg" | tr -d '\r' | sed -e ':a' -e '/\\$/{N;s/\\\n *//;ba}')
  while IFS=$'\t' read -r name bytes; do
    if ! grep -qixF "\"$(registry_string "$name")\"=hex:$bytes" <<<"$exported"; then
      echo "wine_machine: MountedDevices lacks the machine's $name=$bytes" >&2
      return 1
    fi
  done <"$sandbox/registry/MountedDevices"
}

# Wine takes TEMP from the registry, not from the environment it was started in.
check_temp() {
  local temp
  temp=$(wine cmd /c 'echo %TEMP%' | tr -d '\r')
  if [ "$temp" != "$(machine_temp "$1")" ]; then
    echo "wine_machine: TEMP is $temp, the machine says $(machine_temp "$1")" >&2
    return 1
  fi
}
