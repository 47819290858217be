#!/usr/bin/env bash
# Runs one Windows program under the project's Wine prefix, in the Japanese
# locale. CTest uses it as the cross-compiling emulator.
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
exec env LOCPATH="$VORL_LOCPATH" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 "$WINELOADER" "$@"
