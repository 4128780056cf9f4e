#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's scratch prefix, never
# the user's own. ctest uses it as the cross-compiling emulator.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"
vh_wine_prefix_ready
exec wine "$@"
