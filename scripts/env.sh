# Shared paths of the build; sourced by the other scripts.
QX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export QX_ROOT
export QX_BUILD=${QX_BUILD:-$QX_ROOT/build}
export QX_THIRDPARTY=${QX_THIRDPARTY:-${QX_CACHE:-/var/cache/qxbuild}/thirdparty-i686}
export WINEPREFIX=${WINEPREFIX:-$QX_BUILD/wine}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=;mshtml=}
