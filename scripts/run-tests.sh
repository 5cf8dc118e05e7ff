#!/usr/bin/env bash
# The whole test suite: CTest in the test build, inside the project's Wine session.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
exec "$here/scripts/wine-session.sh" --own-display \
    ctest --test-dir "$here/build/x86_64" --output-on-failure --no-tests=error "$@"
