# Sourced: Wine's two loaders and whether this machine runs 32-bit programs. Debian's `wine`
# command starts the 32-bit loader whenever wine32:i386 is installed, also on a kernel that runs
# no 32-bit programs (booted without IA32 emulation: "Exec format error"); a 64-bit prefix is
# therefore always started through the 64-bit loader itself.
#   vorn_wine_loader win32|win64   prints the loader's path; fails when there is none
#   vorn_runs_32bit                succeeds when a 32-bit Windows program can run here; otherwise
#                                  prints why not. VORN_NO_32BIT=1 answers no on any machine.

# The loader of the given word size (ELF class 1: 32-bit, 2: 64-bit) among the places the
# distributions put it: Debian's /usr/lib/wine, WineHQ's /opt/wine-*, and the PATH.
vorn_wine_loader() {
  local name=wine class=1 candidate
  if [ "$1" = win64 ]; then name=wine64 class=2; fi
  for candidate in /usr/lib/wine/$name /usr/lib64/wine/$name /opt/wine-stable/bin/$name \
                   /opt/wine-staging/bin/$name /opt/wine-devel/bin/$name "$(command -v $name)"; do
    [ -x "$candidate" ] || continue
    # A launcher script (such as /usr/bin/wine) is not a loader: the ELF header tells.
    if [ "$(head -c 4 "$candidate" | od -An -c | tr -d ' ')" = '177ELF' ] &&
       [ "$(od -An -tu1 -j4 -N1 "$candidate" | tr -d ' ')" = "$class" ]; then
      echo "$candidate"
      return 0
    fi
  done
  return 1
}

vorn_runs_32bit() {
  local loader said
  if [ "${VORN_NO_32BIT:-}" = 1 ]; then
    echo "VORN_NO_32BIT=1 says this machine runs no 32-bit programs"
    return 1
  fi
  if ! loader=$(vorn_wine_loader win32); then
    echo "Wine's 32-bit loader is not installed (wine32:i386)"
    return 1
  fi
  # Starting the loader is enough: the kernel refuses a 32-bit program before it runs.
  local status=0
  said=$("$loader" --version 2>&1) || status=$?
  if [ "$status" -ne 0 ]; then
    # The kernel's refusal says "Exec format error"; a program killed by a signal says nothing.
    echo "$loader does not start: ${said:+$(head -n 1 <<< "$said")}${said:-exit status $status}"
    return 1
  fi
}
