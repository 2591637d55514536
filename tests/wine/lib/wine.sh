# shellcheck shell=bash
# Running Windows programs in a private Wine prefix: the environment, the
# prefix's life (made, booted once, stopped, removed) and small helpers.
# Sourced by the suite's scripts and by scripts/demo.sh.

WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
[[ -x $WINESERVER ]] || WINESERVER=$(command -v wineserver || echo wineserver)

# Longest that one Windows program may take before it counts as hung.
WINE_PROGRAM_TIMEOUT=${WINE_PROGRAM_TIMEOUT:-60}

# Headless, quiet, 64-bit, no Mono or Gecko prompts, and the test-only
# cfgmgr32.dll beside the program preferred over Wine's stubs. The locale is
# held fixed because Wine rewrites the user's country when it changes.
wine_environment() {
  export WINEPREFIX=$1
  export WINEARCH=win64 WINEDEBUG=-all DISPLAY="" LC_ALL=C.UTF-8
  export WINEDLLOVERRIDES="mscoree,mshtml=;cfgmgr32=n,b"
  unset WAYLAND_DISPLAY
}

# Unix path to the Z: drive path that Windows programs see.
windows_path() {
  printf 'Z:%s' "${1//\//\\}"
}

# Runs a Windows program with no standard input, so that nothing it starts
# can hold the caller's terminal or pipes open past its own end.
wine_program() {
  timeout "$WINE_PROGRAM_TIMEOUT" "$WINE64" "$@" </dev/null
}

# Makes a fresh prefix in $1 and boots it once, logging to $2. The wineserver
# is persistent and detached from every caller's output, so a test runner
# waiting on its pipes never waits for it.
prefix_create() {
  local prefix=$1 log=$2
  prefix_destroy "$prefix"
  mkdir -p "$prefix"
  wine_environment "$prefix"
  "$WINESERVER" -p </dev/null >>"$log" 2>&1 || return 1
  timeout 300 "$WINE64" wineboot -i </dev/null >>"$log" 2>&1 || return 1
  [[ -d $prefix/drive_c/windows/system32 ]] || return 1
  # The first boot leaves its services in a state where each later start of
  # the COM service (rpcss) stalls for 10 s; a second wineserver over the
  # booted prefix starts them cleanly.
  "$WINESERVER" -k </dev/null >>"$log" 2>&1
  timeout 30 "$WINESERVER" -w </dev/null >>"$log" 2>&1
  prefix_start "$prefix" "$log"
}

# Starts a booted prefix's wineserver, persistent, and its services with a
# first program, all detached from the caller's output (logging to $2), so
# that a test runner waiting on its pipes never waits for them.
prefix_start() {
  local log=${2:-/dev/null}
  WINEPREFIX=$1 "$WINESERVER" -p </dev/null >>"$log" 2>&1 || return 1
  WINEPREFIX=$1 wine_program reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion' \
    >/dev/null 2>>"$log"
}

# Stops only this prefix's wineserver, with everything it runs, and removes
# the prefix.
prefix_destroy() {
  local prefix=$1
  if [[ -d $prefix ]]; then
    WINEPREFIX=$prefix "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
    WINEPREFIX=$prefix timeout 20 "$WINESERVER" -w </dev/null >/dev/null 2>&1 || true
    rm -rf "$prefix"
  fi
}

# Copies the booted prefix $1 to $2 in well under a second: hard links, but
# real copies of the files Wine rewrites in place (the registry, win.ini).
# $1's wineserver is stopped first, which writes its registry to disk, and
# started again after.
prefix_clone() {
  local source=$1 clone=$2 file
  WINEPREFIX=$source "$WINESERVER" -k </dev/null >/dev/null 2>&1
  WINEPREFIX=$source timeout 30 "$WINESERVER" -w </dev/null >/dev/null 2>&1
  prefix_destroy "$clone"
  cp -al "$source" "$clone" || return 1
  for file in system.reg user.reg userdef.reg drive_c/windows/win.ini; do
    rm -f "$clone/$file" && cp "$source/$file" "$clone/$file" || return 1
  done
  prefix_start "$source"
}

# Milliseconds since the epoch.
now_ms() {
  local ns
  ns=$(date +%s%N)
  echo $((ns / 1000000))
}
