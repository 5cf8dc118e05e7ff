#!/usr/bin/env bash
# Runs the built setup program under Wine.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
exec "$here/scripts/wine-session.sh" --any-display /usr/lib/wine/wine64 "$here/build/x86_64/setup.exe"
