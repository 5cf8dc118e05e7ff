#!/bin/sh
# run_unprivileged.sh PREFIX_DIR TEST_EXE FILTER
# Runs the end-to-end cases matching FILTER as the unprivileged user nobody,
# on the caller's X display, in a prefix of that user's own at PREFIX_DIR: a
# copy of the project's template prefix made as scripts/wine-session.sh makes
# its sessions, removed afterwards. Wine honours the read-only attribute only
# for such a user. Exits 77 (skipped) when this machine cannot do it.
set -u
prefix=$1 exe=$2 filter=$3
here=$(cd "$(dirname "$0")/../.." && pwd)
template=${WINE_TEMPLATE_PREFIX:-$here/build/wineprefix}
wine=/usr/lib/wine/wine64
cannot() { echo "cannot run unprivileged: $*"; exit 77; }

[ "$(id -u)" -eq 0 ] || cannot "switching users needs root"
uid=$(id -u nobody 2>/dev/null) && gid=$(id -g nobody) || cannot "there is no user nobody"
command -v setpriv >/dev/null || cannot "setpriv is missing"
[ -n "${DISPLAY:-}" ] || cannot "no X display"
[ -f "$template/system.reg" ] || cannot "no template prefix at $template"

as_nobody() {
    setpriv --reuid="$uid" --regid="$gid" --clear-groups \
        env -i PATH=/usr/bin:/bin HOME="$prefix" DISPLAY="$DISPLAY" WINEPREFIX="$prefix" WINEARCH=win64 \
        WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= "$@"
}
as_nobody test -r "$exe" || cannot "user nobody cannot read $exe"

# Wine's own DLLs stay hard links to the template (read-only to nobody);
# everything else, and every folder, becomes nobody's. The template's pointer
# to root's wineserver folder goes, so that nobody's server makes its own.
rm -rf "$prefix"
mkdir -p "$prefix" && cp -al "$template/." "$prefix/" || cannot "cannot copy the template prefix"
find "$prefix" -type f ! -path "$prefix/drive_c/windows/*" -exec sh -c \
    'for f; do cp --remove-destination "$f" "$f.copy" && mv "$f.copy" "$f"; done' _ {} +
rm -f "$prefix/wineserver"
find "$prefix" -type d -exec chown "$uid:$gid" {} +
find "$prefix" -type f ! -path "$prefix/drive_c/windows/*" -exec chown "$uid:$gid" {} +

as_nobody wineserver -p
as_nobody "$wine" "$exe" --gtest_filter="$filter"
status=$?
as_nobody wineserver -k
rm -rf "$prefix"
exit $status
