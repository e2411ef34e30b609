# Shared paths of the build; sourced by the other scripts.
#
# Windows programs run on one of two sides: win32 (the shipped 32-bit build,
# 32-bit Wine) or win64 (its x86_64 twin, 64-bit Wine). QX_SIDE picks one;
# without it, the side of this machine's road as setup.sh found it.
QX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export QX_ROOT
export QX_BUILD=${QX_BUILD:-$QX_ROOT/build}
export QX_CACHE=${QX_CACHE:-/var/cache/qxbuild}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=;mshtml=}

# The road setup.sh recorded: "win32" where 32-bit code runs, else "win64".
qx_road() {
  local road
  road=$(sed -n 1p "$QX_BUILD/.road" 2>/dev/null)
  echo "${road:-win64}"
}
# Why the road was taken, as setup.sh recorded it.
qx_road_reason() { sed -n 2p "$QX_BUILD/.road" 2>/dev/null; }

# qx_use_side win32|win64: Wine prefix, loader and server of that side. The
# loader and server are put first on PATH as "wine" and "wineserver", so that
# every script and test reaches the side's own Wine.
qx_use_side() {
  export QX_SIDE=$1
  local loader server
  case "$QX_SIDE" in
    win32) export WINEARCH=win32 WINEPREFIX=$QX_BUILD/wine
           loader=/usr/lib/wine/wine server=/usr/lib/wine/wineserver32 ;;
    win64) export WINEARCH=win64 WINEPREFIX=$QX_BUILD/wine64
           loader=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64 ;;
    *) echo "unknown Windows side: $QX_SIDE" >&2; return 2 ;;
  esac
  export WINELOADER=$loader WINESERVER=$server
  local bin=$QX_BUILD/wine-bin/$QX_SIDE
  if [ ! -x "$bin/wineserver" ]; then
    mkdir -p "$bin"
    printf '#!/bin/sh\nexec %s "$@"\n' "$loader" > "$bin/wine"
    printf '#!/bin/sh\nexec %s "$@"\n' "$server" > "$bin/wineserver"
    chmod +x "$bin/wine" "$bin/wineserver"
  fi
  PATH=${PATH//"$QX_BUILD/wine-bin/win32:"/}
  PATH=${PATH//"$QX_BUILD/wine-bin/win64:"/}
  export PATH="$bin:$PATH"
}

# What the outermost caller asked for, before the default below fills QX_SIDE.
export qx_requested_side=${qx_requested_side-${QX_SIDE:-}}
case "${QX_SIDE:-}" in
  win32|win64) qx_use_side "$QX_SIDE" ;;
  *) qx_use_side "$(qx_road)" ;;
esac

# qx_start_display WxHxD: a private Xvfb for this script; sets DISPLAY and
# qx_display_pid (end it with qx_stop_display).
qx_display_pid=
qx_start_display() {
  local fifo num
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 9 -screen 0 "$1" -nolisten tcp 9>"$fifo" </dev/null >/dev/null 2>&1 &
  qx_display_pid=$!
  if ! read -r -t 20 num < "$fifo"; then
    rm -f "$fifo"; echo "Xvfb did not start" >&2; return 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$num"
}
qx_stop_display() {
  [ -n "$qx_display_pid" ] || return 0
  kill "$qx_display_pid" 2>/dev/null; wait "$qx_display_pid" 2>/dev/null
  qx_display_pid=
}

# qx_demo_side: the Windows side a demonstration runs on, after setup.sh has
# found the road: QX_SIDE when the caller chose one, else the shipped 32-bit
# files where 32-bit code runs and their 64-bit twins elsewhere. Prints a
# line saying which, and why.
qx_demo_side() {
  local side=${qx_requested_side:-$(qx_road)} why
  why=$([ -n "$qx_requested_side" ] && echo "chosen by QX_SIDE=$side" || qx_road_reason)
  qx_use_side "$side"
  if [ "$side" = win32 ]; then
    echo "Running the shipped 32-bit programs (win32) under 32-bit Wine: $why." >&2
  else
    echo "Running the 64-bit twins of the shipped programs (win64) under 64-bit Wine: $why." >&2
  fi
}
