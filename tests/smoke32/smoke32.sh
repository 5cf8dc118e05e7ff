#!/usr/bin/env bash
# Smoke run of the shipped 32-bit setup.exe: 32-bit Wine under qemu-i386 in
# a 64-bit prefix, driven by keys from the X side. Only setup.exe is
# emulated; Wine's services, reg.exe and the Application Manager recorder
# are 64-bit.
#
#   smoke32.sh --setup EXE --recorder EXE --cab FILE --ini FILE \
#              --prefix DIR --artifacts DIR
# --prefix: where to keep a prefix of this test's own, for sessions whose
# prefix has no 32-bit half.
#
# Runs inside scripts/wine-session.sh (for its display). Exits 77 when this
# machine cannot run 32-bit programs at all. SMOKE32_WINEDEBUG sets WINEDEBUG
# for a closer look.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)

setup= recorder= cab= ini= prefix= artifacts=
while [ $# -gt 0 ]; do
    case "$1" in
        --setup) setup=$2 ;;
        --recorder) recorder=$2 ;;
        --cab) cab=$2 ;;
        --ini) ini=$2 ;;
        --prefix) prefix=$2 ;;
        --artifacts) artifacts=$2 ;;
        *) echo "smoke32: unknown argument $1" >&2; exit 2 ;;
    esac
    shift 2
done

# Generous limits (every emulated process takes about a minute to start),
# whose sum stays below the test's TIMEOUT, so that a stuck run still ends
# here and cleans up.
PREFIX_TIMEOUT=600
PAGE_TIMEOUT=300
EXIT_TIMEOUT=300
RECORD_TIMEOUT=60

WELCOME="Zentrobel FULL VERSION - Welcome"
AGREEMENT="Zentrobel FULL VERSION - End User License Agreement"
APP_PATHS='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\CEAPPMGR.EXE'
APPMGR='C:\smoke\CEAPPMGR.EXE'
EXPECTED_RECORD="$APPMGR \"C:\\smoke\\ZTL\\ztl_arm.ini\""

wine32=/usr/lib/wine/wine
wine64=/usr/lib/wine/wine64

log() { printf '[smoke32 %4ds] %s\n' "$SECONDS" "$*"; }

setup_pid=
server_up=
passed=
cleanup() {
    if [ -z "$passed" ]; then
        [ -n "${DISPLAY:-}" ] && import -window root "$artifacts/failure.png" 2>/dev/null &&
            log "screen at the failure: $artifacts/failure.png"
        [ -f "$artifacts/setup.log" ] && { log "setup.exe's Wine output:"; tail -n 20 "$artifacts/setup.log"; }
    fi
    [ -n "$setup_pid" ] && kill "$setup_pid" 2>/dev/null
    # Only this prefix's server: the session's own server goes on serving the suite.
    [ -n "$server_up" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null
}
trap cleanup EXIT
fail() { log "FAIL: $*"; exit 1; }

for v in setup recorder cab ini prefix artifacts; do
    [ -n "${!v}" ] || { echo "smoke32: --$v missing" >&2; exit 2; }
done
[ -f "$setup" ] || fail "no shipped setup at $setup"
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY: run it inside scripts/wine-session.sh"
rm -rf "$artifacts"
mkdir -p "$artifacts"

# --- 32-bit Wine --------------------------------------------------------------
t=$SECONDS
"$here/scripts/setup-wine32.sh"
rc=$?
if [ $rc -eq 77 ]; then
    echo "SKIPPED: this machine cannot run 32-bit Wine (reason above)"
    passed=skip
    exit 77
fi
[ $rc -eq 0 ] || fail "scripts/setup-wine32.sh failed with $rc"
log "32-bit Wine ready ($((SECONDS - t)) s)"

# --- The prefix ---------------------------------------------------------------
# A 32-bit program needs the prefix's 32-bit half (syswow64), which wineboot
# makes only where 32-bit Wine was installed before the prefix was. The
# session's prefix, with its server already running, serves when it has one;
# otherwise (32-bit Wine installed just now) this run makes a prefix of its
# own, once per build tree, and runs its own server there.
export WINEARCH=win64 WINEDLLOVERRIDES=mscoree,mshtml=
export WINEDEBUG=${SMOKE32_WINEDEBUG:--all}
t=$SECONDS
if [ -n "${WINEPREFIX:-}" ] && [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    prefix=$WINEPREFIX
    log "using the session's prefix $prefix"
else
    export WINEPREFIX=$prefix
    mkdir -p "$(dirname "$prefix")"
    # Held to the end of the run; no Wine process is handed it (8>&-).
    exec 8>"$prefix.lock"
    flock -w 120 8 || fail "another run holds $prefix.lock"
    server_up=1
    [ $((SECONDS - t)) -lt 2 ] || log "waited $((SECONDS - t)) s for another run to free $prefix.lock"
    t=$SECONDS
    if [ ! -f "$prefix/smoke32-ready" ]; then
        rm -rf "$prefix"
        # With 32-bit Wine present wineboot fills syswow64 and runs its
        # 32-bit half emulated: a few minutes.
        timeout $PREFIX_TIMEOUT "$wine64" wineboot -i </dev/null 8>&- >"$artifacts/wineboot.log" 2>&1 ||
            fail "wineboot failed or took over $PREFIX_TIMEOUT s (see $artifacts/wineboot.log)"
        # No window manager here: unmanaged windows with Wine's own captions.
        "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null 8>&- >/dev/null 2>&1
        "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f </dev/null 8>&- >/dev/null 2>&1
        wineserver -w 8>&-
        [ -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ] || fail "the new prefix has no 32-bit half"
        touch "$prefix/smoke32-ready"
        log "prefix $prefix made ($((SECONDS - t)) s)"
    else
        log "using this build's prefix $prefix"
    fi
    # One server for the whole run, or every Wine command starts the
    # services anew.
    t=$SECONDS
    wineserver -k 8>&- 2>/dev/null
    wineserver -p </dev/null 8>&- >/dev/null 2>&1 || fail "wineserver -p failed"
fi

# A 32-bit program reads the 32-bit registry view, where a 32-bit
# Application Manager would have put its path.
drive_c=$prefix/drive_c
rm -rf "$drive_c/smoke"
mkdir -p "$drive_c/smoke"
cp "$recorder" "$drive_c/smoke/CEAPPMGR.EXE" || fail "cannot place the recorder"
"$wine64" reg add "$APP_PATHS" /ve /d "$APPMGR" /f /reg:32 </dev/null 8>&- >"$artifacts/reg.log" 2>&1 ||
    fail "cannot register the Application Manager's path (see $artifacts/reg.log)"
log "$APPMGR registered ($((SECONDS - t)) s)"

# --- The run ------------------------------------------------------------------
# Waits for a visible window of setup's with exactly this caption, as long as
# setup runs. (--all: xdotool search otherwise takes any one condition.)
wait_window() {
    local name=$1 limit=$2 start=$SECONDS wid
    while [ $((SECONDS - start)) -lt "$limit" ]; do
        wid=$(xdotool search --all --onlyvisible --pid "$setup_pid" --name "^${name}\$" 2>/dev/null | head -n 1)
        [ -n "$wid" ] && { echo "$wid"; return 0; }
        kill -0 "$setup_pid" 2>/dev/null || return 1
        sleep 2
    done
    return 1
}

window_shown() {
    [ -n "$(xdotool search --all --onlyvisible --pid "$setup_pid" --name "^${1}\$" 2>/dev/null)" ]
}

setup_ended() { ! kill -0 "$setup_pid" 2>/dev/null; }
readme_accepted() { window_shown "$AGREEMENT" || setup_ended; }

# Keys go to the focused window; without a window manager nobody else gives
# the page the focus. A key sent while Wine is still setting up a new page
# can be lost, so it is sent again until setup has moved on. A repeated
# Return lands in the agreement text, which takes it itself; a repeated
# Alt+N finds no page.
press_until() {
    local wid=$1 key=$2 done_test=$3 limit=$4 start=$SECONDS tries=0 since
    sleep 2
    until $done_test; do
        [ $((SECONDS - start)) -lt "$limit" ] || return 1
        tries=$((tries + 1))
        timeout 20 xdotool windowfocus --sync "$wid" 2>/dev/null || true
        xdotool key --clearmodifiers "$key"
        since=$SECONDS
        until $done_test || [ $((SECONDS - since)) -ge 20 ]; do sleep 1; done
    done
    log "$key sent $tries time(s)"
}

# A copy, so that a build replacing the shipped file meanwhile cannot change
# the pages under the running program.
cp "$setup" "$artifacts/setup.exe" || fail "cannot copy $setup"
run_start=$SECONDS
"$wine32" "$artifacts/setup.exe" </dev/null 8>&- >"$artifacts/setup.log" 2>&1 &
setup_pid=$!
log "setup.exe started (pid $setup_pid)"

wid=$(wait_window "$WELCOME" $PAGE_TIMEOUT) || fail "no page \"$WELCOME\" within $PAGE_TIMEOUT s"
log "readme page shown after $((SECONDS - run_start)) s"
# Keys go to whatever has the focus on this display: another program's pages
# here would share them.
others=$(xdotool search --onlyvisible --name '^Zentrobel' 2>/dev/null | grep -vx "$wid" | wc -l)
[ "$others" -eq 0 ] || log "warning: $others other Zentrobel window(s) on $DISPLAY"
press_until "$wid" Return readme_accepted $PAGE_TIMEOUT ||
    fail "no page \"$AGREEMENT\" within $PAGE_TIMEOUT s of Return on the readme page"
wid=$(wait_window "$AGREEMENT" 10) || fail "setup.exe ended without showing \"$AGREEMENT\""
log "agreement page shown after $((SECONDS - run_start)) s"
# The agreement text has the focus and takes Return itself, so Next is
# chosen by its mnemonic.
press_until "$wid" alt+n setup_ended $EXIT_TIMEOUT || fail "setup.exe still running $EXIT_TIMEOUT s after Alt+N"
wait "$setup_pid"
rc=$?
setup_pid=
log "setup.exe ended with $rc after $((SECONDS - run_start)) s"
[ $rc -eq 0 ] || fail "setup.exe exit code $rc, expected 0"

# --- What it left -------------------------------------------------------------
ztl=$drive_c/smoke/ZTL
# Exact names: Wine keeps the case the program asked for.
for pair in "ztl_arm.ini:$ini" "ztl.arm.CAB:$cab"; do
    name=${pair%%:*} source=${pair#*:}
    [ -f "$ztl/$name" ] || fail "C:\\smoke\\ZTL\\$name missing (folder holds: $(ls -A "$ztl" 2>&1 | tr '\n' ' '))"
    cmp "$source" "$ztl/$name" || fail "C:\\smoke\\ZTL\\$name differs from $source"
done
log "C:\\smoke\\ZTL holds ztl_arm.ini and ztl.arm.CAB, identical to the package's"

record=$drive_c/smoke/CEAPPMGR.EXE.record
start=$SECONDS
until [ -f "$record" ]; do
    [ $((SECONDS - start)) -lt $RECORD_TIMEOUT ] || fail "the Application Manager was not started (no record after $RECORD_TIMEOUT s)"
    sleep 1
done
actual=$(cat "$record"; echo x)
actual=${actual%x}
if [ "$actual" != "$EXPECTED_RECORD" ]; then
    log "expected command line: [$EXPECTED_RECORD]"
    log "actual command line:   [$actual]"
    fail "the Application Manager got another command line"
fi
log "Application Manager started as: $actual"
log "run took $((SECONDS - run_start)) s"
passed=1
echo "PASSED"
