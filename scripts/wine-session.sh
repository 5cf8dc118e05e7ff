#!/usr/bin/env bash
# Runs a command inside a Wine session of its own: a fresh prefix, one
# persistent wineserver and, unless told to use the caller's display, an Xvfb.
#   scripts/wine-session.sh [--own-display|--any-display] COMMAND...
# --own-display (the default) always starts Xvfb; --any-display uses $DISPLAY
# when one is set.
#
# The prefix is made once as a template (build/wineprefix, or
# $WINE_TEMPLATE_PREFIX) and each session runs in a copy of it, so sessions
# never see each other's registry, files or wineserver. The copy hard-links
# Wine's own DLLs and copies everything else; it is removed at the end.
# Set WINE_KEEP_SESSION=1 to keep it for a look afterwards.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

display_mode=own
case "${1:-}" in
    --own-display) display_mode=own; shift ;;
    --any-display) display_mode=any; shift ;;
esac

export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# No Mono or Gecko prompts: nothing here needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=/usr/lib/wine/wine64
template=${WINE_TEMPLATE_PREFIX:-$here/build/wineprefix}

make_template() {
    mkdir -p "$(dirname "$template")"
    exec 9>"$template.lock"
    flock 9
    if [ ! -f "$template/system.reg" ]; then
        rm -rf "$template"
        WINEPREFIX=$template "$wine" wineboot -i >/dev/null 2>&1
        # Without a window manager Wine waits for one each time a page is
        # hidden; unmanaged windows with Wine's own captions avoid that.
        WINEPREFIX=$template "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        WINEPREFIX=$template "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
        WINEPREFIX=$template wineserver -w
    fi
    flock -u 9
    exec 9>&-
}

session=
xvfb_pid=
cleanup() {
    if [ -n "$session" ]; then
        WINEPREFIX=$session wineserver -k 2>/dev/null || true
        [ "${WINE_KEEP_SESSION:-}" = 1 ] || rm -rf "$session"
    fi
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

make_template
session=$(mktemp -d "$(dirname "$template")/wine-session.XXXXXX")
cp -al "$template/." "$session/"
# Only Wine's own DLLs stay shared; the registry and every other file are the session's.
find "$session" -type f ! -path "$session/drive_c/windows/*" -exec sh -c 'for f; do cp --remove-destination "$f" "$f.copy" && mv "$f.copy" "$f"; done' _ {} +
export WINEPREFIX=$session

if [ "$display_mode" = own ] || [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 190); do
        { [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; } && continue
        Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
        if [ -e /tmp/.X11-unix/X$n ] && kill -0 "$xvfb_pid" 2>/dev/null; then
            export DISPLAY=:$n
            break
        fi
        xvfb_pid=
    done
    [ -n "$xvfb_pid" ] || { echo "no free X display for Xvfb" >&2; exit 1; }
fi

wineserver -p
# Start Wine's services now, away from the command's output: a service that
# inherits a test's output pipe keeps ctest waiting for it to close.
"$wine" cmd /c exit >/dev/null 2>&1 </dev/null
"$@"
