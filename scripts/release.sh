#!/usr/bin/env bash
# Builds the release packages into build/release: a portable zip (the
# program, its language files, a short readme and the licence), a Windows
# installer made with NSIS, and an MSI package made with wixl for Group
# Policy, Intune and Configuration Manager.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh win
bash scripts/package.sh build/win build/release
ls -l build/release/*.zip build/release/*.exe build/release/*.msi
