#!/usr/bin/env bash
# Runs a command inside the project's Wine session: a prefix of our own, one
# persistent wineserver and, unless told to use the caller's display, an Xvfb.
#   scripts/wine-session.sh [--own-display|--any-display] COMMAND...
# --own-display (the default) always starts Xvfb; --any-display uses $DISPLAY
# when one is set. The prefix lives in build/wineprefix (WINEPREFIX overrides).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

display_mode=own
case "${1:-}" in
    --own-display) display_mode=own; shift ;;
    --any-display) display_mode=any; shift ;;
esac

export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# No Mono or Gecko prompts: nothing here needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=/usr/lib/wine/wine64

xvfb_pid=
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ "$display_mode" = own ] || [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 140); do
        [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
        Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
        export DISPLAY=:$n
        break
    done
    [ -n "$xvfb_pid" ] || { echo "no free X display for Xvfb" >&2; exit 1; }
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1
    wineserver -w
fi
wineserver -p
# Without a window manager Wine waits for one each time a page is hidden;
# unmanaged windows with Wine's own captions avoid that.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

"$@"
