#!/usr/bin/env bash
# Prepares this machine for building and testing: packages, cross-built
# third-party libraries and the build's own Wine prefix. Safe to run again;
# every step checks first and does only what is missing. Run as root.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"

log() { printf '[setup] %s\n' "$*"; }

# Whether this machine runs 32-bit x86 code at all: the kernel's 32-bit
# support may be switched off, and then every i386 program (wine32 among
# them) fails with "Exec format error". The probe is a real 32-bit program:
# a minimal static i386 ELF that exits with 42 through the 32-bit system
# call gate, so no 32-bit library needs to be installed for it.
probe_road() {
  mkdir -p "$QX_BUILD"
  local probe="$QX_BUILD/.probe-i386" rc road reason
  # ELF header, one loadable segment, then: mov eax,1; mov ebx,42; int 0x80.
  printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\140\0\0\0\140\0\0\0\5\0\0\0\0\20\0\0\270\1\0\0\0\273\52\0\0\0\315\200' > "$probe"
  chmod +x "$probe"
  rc=0; "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  if [ -n "${QX_ROAD:-}" ]; then
    case "$QX_ROAD" in win32|win64) ;; *) echo "QX_ROAD must be win32 or win64" >&2; exit 2 ;; esac
    road=$QX_ROAD reason="chosen by QX_ROAD=$QX_ROAD (the 32-bit probe exited with $rc)"
  elif [ $rc -eq 42 ]; then
    road=win32 reason="this machine runs 32-bit code"
  else
    road=win64 reason="this machine runs no 32-bit code (a 32-bit probe program failed with exit code $rc)"
  fi
  printf '%s\n%s\n' "$road" "$reason" > "$QX_BUILD/.road"
  log "road: $road: $reason"
  if [ "$road" = win32 ]; then
    log "Windows tests run on win32 (32-bit Wine) and win64 (64-bit Wine)"
  else
    log "Windows tests run on win64 (64-bit Wine) only; the shipped win32 files are checked without running them"
  fi
}

packages=(
  g++-mingw-w64-i686 gcc-mingw-w64-i686 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
  libz-mingw-w64-dev cmake make nasm dpkg-dev pkg-config g++
  wine wine64 xvfb xauth x11-utils
  fonts-ipafont-gothic fonts-ipafont-mincho
  libjpeg62-turbo-dev libgif-dev libpng-dev zlib1g-dev googletest
  python3 openssl
)

install_packages() {
  local missing=()
  # 32-bit Wine only where 32-bit code runs: elsewhere nothing 32-bit is
  # installed or started.
  # Printing and TLS of 32-bit Wine come from libraries it only recommends.
  [ "$(qx_road)" != win32 ] || packages+=(wine32:i386 libcups2:i386 libgnutls30:i386)
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ "$(qx_road)" = win32 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    log "adding the i386 architecture"
    dpkg --add-architecture i386
    need_update=1
  fi
  if [ ! -f /etc/apt/sources.list.d/qxbuild-src.sources ]; then
    local suite
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    cat > /etc/apt/sources.list.d/qxbuild-src.sources <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    need_update=1
  fi
  if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
    log "installing: ${missing[*]:-(source index only)}"
    apt-get update -q
    [ ${#missing[@]} -eq 0 ] || DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

# Static libraries for one Windows architecture (i686 or x86_64) from
# Debian's own sources, cached by source version.
build_thirdparty() {
  local arch=$1
  local QX_THIRDPARTY=$QX_CACHE/thirdparty-$arch
  local host=$arch-w64-mingw32
  local stamp="$QX_THIRDPARTY/.stamp"
  local want
  want="$(apt-cache showsrc libjpeg-turbo giflib libpng1.6 2>/dev/null | sed -n 's/^Version: //p' | sort | tr '\n' ' ')"
  # Bump when the recipe below changes.
  want="$want recipe-1"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    log "third-party libraries up to date in $QX_THIRDPARTY"
    return
  fi
  log "cross-building libjpeg-turbo, giflib and libpng into $QX_THIRDPARTY"
  local work final="$QX_THIRDPARTY"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' RETURN
  # Built aside and moved into place, so a half-built prefix is never used.
  QX_THIRDPARTY="$work/prefix"
  mkdir -p "$QX_THIRDPARTY/lib" "$QX_THIRDPARTY/include"
  (cd "$work" && apt-get source -q --download-only libjpeg-turbo giflib libpng1.6 >/dev/null 2>&1)
  chmod -R a+rX "$work"
  # dpkg-source checks every file against the checksums of its .dsc.
  for dsc in "$work"/*.dsc; do
    (cd "$work" && dpkg-source --require-strong-checksums -x "$dsc" >/dev/null 2>"$work/dpkg-source.log") \
      || { cat "$work/dpkg-source.log" >&2; exit 1; }
  done
  local tc="$QX_ROOT/cmake/toolchain-$arch-mingw32.cmake"
  local cflags="-O2 -msse2 -mfpmath=sse"

  local jpeg
  jpeg=$(find "$work" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
  cmake -S "$jpeg" -B "$work/jpeg-build" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$tc" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS="$cflags" -DCMAKE_INSTALL_PREFIX="$QX_THIRDPARTY" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF >/dev/null
  make -C "$work/jpeg-build" -j"$(nproc)" jpeg-static >/dev/null
  cp "$work/jpeg-build/libjpeg.a" "$QX_THIRDPARTY/lib/"
  cp "$jpeg/jpeglib.h" "$jpeg/jmorecfg.h" "$jpeg/jerror.h" "$work/jpeg-build/jconfig.h" "$QX_THIRDPARTY/include/"

  local gif
  gif=$(find "$work" -maxdepth 1 -type d -name 'giflib-*' | head -n1)
  (cd "$gif" && for f in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray; do
     "$host-gcc-posix" $cflags -c "$f.c" -o "$work/$f.o"; done)
  "$host-ar" rcs "$QX_THIRDPARTY/lib/libgif.a" "$work"/*.o
  cp "$gif/gif_lib.h" "$QX_THIRDPARTY/include/"

  local png
  png=$(find "$work" -maxdepth 1 -type d -name 'libpng1.6-*' | head -n1)
  cmake -S "$png" -B "$work/png-build" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$tc" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS="$cflags" -DCMAKE_INSTALL_PREFIX="$QX_THIRDPARTY" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_BUILD_ZLIB=OFF \
    -DZLIB_INCLUDE_DIR=/usr/$host/include -DZLIB_LIBRARY=/usr/$host/lib/libz.a >/dev/null
  make -C "$work/png-build" -j"$(nproc)" png_static >/dev/null
  cp "$work/png-build/libpng16.a" "$QX_THIRDPARTY/lib/libpng.a"
  cp "$png/png.h" "$png/pngconf.h" "$work/png-build/pnglibconf.h" "$QX_THIRDPARTY/include/"
  cp "/usr/$host/lib/libz.a" "$QX_THIRDPARTY/lib/"
  cp "/usr/$host/include/zlib.h" "/usr/$host/include/zconf.h" "$QX_THIRDPARTY/include/"

  echo "$want" > "$QX_THIRDPARTY/.stamp"
  mkdir -p "$(dirname "$final")"
  rm -rf "$final.old"
  [ ! -e "$final" ] || mv "$final" "$final.old"
  mv "$QX_THIRDPARTY" "$final"
  rm -rf "$final.old"
  log "third-party libraries ready"
}

# A side's own Wine prefix: Japanese locale comes from LC_ALL in env.sh,
# fonts are mapped to the IPA faces so that dialogs show Japanese text.
prepare_wine() {
  qx_use_side "$1"
  if [ -f "$WINEPREFIX/.qx-ready" ]; then
    log "Wine prefix ready at $WINEPREFIX"
    return
  fi
  log "creating Wine prefix at $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  WINEDLLOVERRIDES="mscoree,mshtml=" "$here/wine-run.sh" wineboot -i >/dev/null 2>&1 || true
  "$here/wine-run.sh" wineserver -w
  local reg
  reg=$(mktemp --suffix=.reg)
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for face in "MS Shell Dlg" "MS Shell Dlg 2" "MS UI Gothic" "MS Gothic" "MS PGothic" "MS Sans Serif" \
                "Tahoma" "Segoe UI" "ＭＳ ゴシック" "ＭＳ Ｐゴシック" "ＭＳ 明朝" "Meiryo" "メイリオ"; do
      printf '"%s"="IPAPGothic"\r\n' "$face"
    done
    printf '\r\n'
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
  "$here/wine-run.sh" wine regedit /S "$(winepath_of "$reg")" >/dev/null 2>&1
  "$here/wine-run.sh" wineserver -w
  rm -f "$reg"
  touch "$WINEPREFIX/.qx-ready"
}

winepath_of() { printf 'Z:%s' "$(echo "$1" | tr '/' '\\')"; }

probe_road
install_packages
# Subsystems add what their tests need (servers, printers) as setup.d/*.sh,
# sourced here in name order; each must be idempotent like this script.
for extra in "$here"/setup.d/*.sh; do
  [ -e "$extra" ] || continue
  log "running ${extra##*/}"
  . "$extra"
done
mkdir -p "$QX_CACHE"
(
  flock 9
  build_thirdparty i686
  build_thirdparty x86_64
) 9>"$QX_CACHE/.lock"
prepare_wine win64
[ "$(qx_road)" != win32 ] || prepare_wine win32
log "done"
