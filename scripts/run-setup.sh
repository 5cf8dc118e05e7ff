#!/usr/bin/env bash
# The README's run command (`make run`, which builds first): the test build's
# setup.exe under Wine, in a session of its own, against the stand-in
# Application Manager registered as if Windows CE Services were installed in
# "C:\Program Files\Windows CE Services".
#
# With a display (DISPLAY set, not in CI) you click through the pages
# yourself. Without one it runs under its own Xvfb, goes through both pages
# with Alt+N, saves a screenshot of each page in docs/screenshots/, and
# prints what was installed and the command line the Application Manager got.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
setup=$here/build/x86_64/setup.exe
standin=$here/build/x86_64/tests/appmgr_standin/appmgr_standin.exe

if [ "${1:-}" != --in-session ]; then
    for f in "$setup" "$standin"; do
        [ -f "$f" ] || { echo "missing $f: run 'make build' first" >&2; exit 1; }
    done
    if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
        exec "$here/scripts/wine-session.sh" --any-display "$0" --in-session interactive
    fi
    exec "$here/scripts/wine-session.sh" --own-display "$0" --in-session by-itself
fi
mode=$2
wine=/usr/lib/wine/wine64

# The Application Manager's folder has spaces, as a real installation's has.
appmgr_dir='C:\Program Files\Windows CE Services'
appmgr_unix="$WINEPREFIX/drive_c/Program Files/Windows CE Services"
mkdir -p "$appmgr_unix"
cp "$standin" "$appmgr_unix/CEAPPMGR.EXE"
"$wine" reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\CEAPPMGR.EXE' \
    /ve /d "$appmgr_dir\\CEAPPMGR.EXE" /f >/dev/null 2>&1
record="$appmgr_unix/standin-record.txt"
install_unix="$appmgr_unix/ZTL"

# The X window of a page, once it shows: its caption is the window's name.
wait_for_page() {
    local id
    id=$(timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" | head -1) || true
    [ -n "$id" ] || { echo "the page \"$1\" did not appear" >&2; return 1; }
    sleep 1  # let it paint its pictures and text
    echo "$id"
}

# Saves the page's window (Wine draws its frame and caption itself) as a PNG.
screenshot() {
    mkdir -p "$here/docs/screenshots"
    # Without date chunks, so that the same page makes the same file.
    import -window "$1" -define png:exclude-chunks=date,time "$here/docs/screenshots/$2"
    echo "saved docs/screenshots/$2"
}

next() {
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    xdotool key --clearmodifiers alt+n
}

status=0
if [ "$mode" = interactive ]; then
    echo "Setup is running on $DISPLAY; go through its pages."
    "$wine" "$setup" || status=$?
else
    "$wine" "$setup" &
    setup_pid=$!
    page=$(wait_for_page "Zentrobel FULL VERSION - Welcome") || { kill "$setup_pid"; exit 1; }
    screenshot "$page" readme-page.png
    next "$page"
    page=$(wait_for_page "Zentrobel FULL VERSION - End User License Agreement") || { kill "$setup_pid"; exit 1; }
    screenshot "$page" agreement-page.png
    next "$page"
    wait "$setup_pid" || status=$?
fi

echo
if [ "$status" -ne 0 ]; then
    echo "Setup ended with exit status $status (255 is -1: a page was left without Next)."
fi
# Setup does not wait for the Application Manager; give it a moment to record.
if [ -d "$install_unix" ]; then
    for _ in $(seq 50); do grep -q '^verdict: ' "$record" 2>/dev/null && break; sleep 0.1; done
fi

if [ -d "$install_unix" ]; then
    echo "Installed in $appmgr_dir\\ZTL:"
    for f in "$install_unix"/*; do
        name=$(basename "$f")
        case $name in
            ztl_arm.ini) shipped=$here/resources/ztl_arm.ini ;;
            ztl.arm.CAB) shipped=$here/build/x86_64/package_content/ztl.arm.CAB ;;
            *) shipped= ;;
        esac
        same=
        [ -n "$shipped" ] && cmp -s "$f" "$shipped" && same=", identical to the package's"
        printf '  %-14s %9d bytes%s\n' "$name" "$(stat -c %s "$f")" "$same"
    done
else
    echo "Nothing was installed."
fi

echo
if [ -f "$record" ]; then
    echo "The Application Manager was started with:"
    sed -n 's/^command line: /  /p' "$record"
    sed -n 's/^verdict: /What it was handed: /p' "$record"
else
    echo "The Application Manager was not started."
fi
exit "$status"
