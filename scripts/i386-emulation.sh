# Running Wine's 32-bit programs through qemu-i386 where the kernel refuses
# i386 programs (or where VANTREL_I386=emulate asks for it). Sourced by
# wine-session.sh; decide_i386 (wine-env.sh) says whether it is needed.
#
# Nothing global changes: qemu-user comes from Debian's bookworm-backports
# (bookworm's 7.2 cannot map what Wine needs), fetched with an apt
# configuration of its own and unpacked under $build/i386, never installed;
# the script then runs on in a user and mount namespace of its own whose
# private binfmt_misc sends every i386 program to that qemu, and which ends
# with the script. Only on a host that cannot run 32-bit code at all, and
# only when the namespace is refused, does the registration go into the
# machine's binfmt_misc, and it is removed when the script ends.

# The script to start again inside the namespace, taken while its path
# still means what it did when started.
i386_script=$(realpath "$0")
i386_dir=$build/i386
i386_qemu=$i386_dir/qemu/usr/bin/qemu-i386
i386_preload_name=fault-traps.so

# One line for the user, and the script stops.
i386_refuse() {
  echo "32-bit code cannot run here: $*." >&2
  exit 2
}

# qemu-user 10 unpacked under the build folder, once.
fetch_qemu() {
  [ -x "$i386_qemu" ] && return 0
  local apt=$i386_dir/apt log=$i386_dir/fetch.log
  rm -rf "$apt" "$i386_dir/qemu"
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/parts" "$apt/deb"
  echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm-backports main" \
    >"$apt/sources.list"
  local options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/parts"
                 -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
                 -o "APT::Architectures=$(dpkg --print-architecture)")
  [ "$(id -u)" -eq 0 ] && options+=(-o APT::Sandbox::User=root)
  echo "Fetching qemu-user from Debian's bookworm-backports into $i386_dir (log: $log) ..."
  if ! { apt-get "${options[@]}" update &&
         (cd "$apt/deb" && apt-get "${options[@]}" download qemu-user) &&
         dpkg -x "$apt/deb"/qemu-user_*.deb "$i386_dir/qemu"; } >"$log" 2>&1; then
    tail -5 "$log" >&2
    i386_refuse "qemu-user could not be fetched from Debian's bookworm-backports (see $log)"
  fi
  "$i386_qemu" --version >>"$log" 2>&1 || i386_refuse "$i386_qemu does not run (see $log)"
  rm -rf "$apt"
}

# The trap-number mender, for i386, and a 64-bit library of the same name
# that does nothing: ld.so fills in $LIB for each width.
build_preload() {
  local source=$repo/scripts/i386/fault-traps.c log=$i386_dir/preload.log
  local lib32=$i386_dir/lib/i386-linux-gnu/$i386_preload_name lib64=$i386_dir/lib/x86_64-linux-gnu/$i386_preload_name
  [ "$lib32" -nt "$source" ] && [ -e "$lib64" ] && return 0
  mkdir -p "${lib32%/*}" "${lib64%/*}"
  { gcc -m32 -O2 -Wall -ffreestanding -nostdlib -shared -fPIC -o "$lib32" "$source" /lib/i386-linux-gnu/libc.so.6 &&
    gcc -O2 -nostdlib -shared -fPIC -o "$lib64" -x c /dev/null; } >"$log" 2>&1 ||
    { cat "$log" >&2; i386_refuse "the library that mends qemu's fault numbers did not build (see $log)"; }
}

# i386 ELF programs (executables and shared objects, EM_386) to qemu; F
# opens qemu now, so it serves wherever the program runs.
register_i386() { # binfmt-folder name
  printf '%s' ":$2:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$i386_qemu:F" \
    >"$1/register"
}

i386_machine_entry=
# Takes back the machine-wide registration, if this script made one.
unregister_i386_machine() {
  [ -n "$i386_machine_entry" ] && [ -e "$i386_machine_entry" ] && echo -1 >"$i386_machine_entry"
  i386_machine_entry=
}

# Runs the rest of the calling script with 32-bit code emulated, when one of
# the chosen widths needs it: started again inside its own namespace, which
# keeps every file system (the build folder, /tmp, the X server's socket)
# and maps the user to root there, so that it may mount.
enter_i386_emulation() { # the script's arguments
  [ "$i386_mode" = emulated ] && [[ " ${wine_widths[*]} " == *" win32 "* ]] || return 0
  if [ "${VANTREL_I386_SESSION:-}" = private ]; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc &&
      register_i386 /proc/sys/fs/binfmt_misc vantrel-i386 ||
      i386_refuse "the namespace's own binfmt_misc would not take qemu-i386"
  else
    fetch_qemu
    build_preload
    if [ "$i386_binfmt" = private ]; then
      export VANTREL_I386_SESSION=private
      exec unshare --user --map-root-user --mount --propagation private -- \
        bash "$i386_script" "$@"
    fi
    i386_machine_entry=/proc/sys/fs/binfmt_misc/vantrel-i386-$$
    trap stop_session EXIT
    trap 'exit 130' INT TERM
    register_i386 /proc/sys/fs/binfmt_misc "${i386_machine_entry##*/}" ||
      i386_refuse "the machine's binfmt_misc would not take qemu-i386"
  fi
  # For Wine's programs only (use_wine_width): a sanitizer's runtime must
  # come first in the native tests.
  export VANTREL_I386_PRELOAD="$i386_dir/\$LIB/$i386_preload_name"
}
