# Sourced by the other scripts: where things are and how Wine is run.
VORL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VORL_ROOT
export VORL_BUILD="${VORL_BUILD:-$VORL_ROOT/build}"
export WINEPREFIX="${WINEPREFIX:-$VORL_BUILD/wineprefix}"
export WINEARCH=win64
export WINELOADER="${WINELOADER:-/usr/lib/wine/wine64}"
export WINESERVER="${WINESERVER:-/usr/lib/wine/wineserver}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEDEBUG="${WINEDEBUG:-fixme-all,err+all}"
# Japanese locale made by setup.sh into a folder of ours; wine-run.sh uses it.
export VORL_LOCPATH="$VORL_ROOT/build/locale"
