#!/usr/bin/env bash
# Makes 32-bit Wine usable on this x86_64 machine, whose kernel cannot start
# 32-bit Linux programs by itself: installs wine32 and qemu's user-mode
# emulator, and registers qemu-i386 with binfmt_misc for 32-bit ELF files.
# Quick when everything is in place already.
#
# Exit status: 0 when /usr/lib/wine/wine runs; 77 when this machine cannot
# have it (no permission, packages not to be had, binfmt_misc refused), with
# the reason on stderr; anything else is an unexpected failure.
set -uo pipefail

CANNOT=77
cannot() { echo "setup-wine32: $*" >&2; exit $CANNOT; }

wine32=/usr/lib/wine/wine
qemu=/usr/bin/qemu-i386-static
binfmt=/proc/sys/fs/binfmt_misc
entry=$binfmt/qemu-i386
packages=(wine32:i386 qemu-user-static)

# Root is needed only for what is still missing.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif sudo -n true 2>/dev/null; then
        sudo -n "$@"
    else
        echo "setup-wine32: not root, and no sudo without a password, for: $*" >&2
        return 1
    fi
}

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# --- Packages ---------------------------------------------------------------
missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup-wine32: installing ${missing[*]}" >&2
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386 || cannot "cannot add the i386 architecture"
    fi
    as_root apt-get update -qq >/dev/null || cannot "apt-get update failed"
    # wine32 must be the very version of the installed 64-bit Wine: both
    # halves talk to one wineserver.
    version=$(dpkg-query -W -f='${Version}' libwine:amd64 2>/dev/null || true)
    wanted=()
    for p in "${missing[@]}"; do
        if [ "$p" = wine32:i386 ] && [ -n "$version" ]; then wanted+=("wine32:i386=$version")
        else wanted+=("$p"); fi
    done
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${wanted[@]}" >/dev/null ||
        cannot "cannot install ${missing[*]}"
fi
[ -x "$wine32" ] || cannot "$wine32 missing after installing wine32"
[ -x "$qemu" ] || cannot "$qemu missing after installing qemu-user-static"

# --- binfmt_misc ------------------------------------------------------------
if [ ! -e "$binfmt/register" ]; then
    as_root mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
        cannot "cannot mount binfmt_misc on $binfmt"
fi
[ -e "$binfmt/register" ] || cannot "binfmt_misc has no register file"

# The F flag makes the kernel open the emulator now, so it is found from any
# mount namespace and needs no lookup when a 32-bit program starts.
registered_ok() {
    [ -r "$entry" ] &&
        grep -qx enabled "$entry" &&
        grep -qx "interpreter $qemu" "$entry" &&
        grep -q '^flags: .*F' "$entry"
}
if ! registered_ok; then
    # A different registration under the same name (other emulator, no F
    # flag, disabled) is replaced by ours.
    [ -e "$entry" ] && { echo -1 | as_root tee "$entry" >/dev/null || cannot "cannot remove the old $entry"; }
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    printf '%s\n' ":qemu-i386:M::$magic:$mask:$qemu:F" | as_root tee "$binfmt/register" >/dev/null ||
        cannot "binfmt_misc refused the qemu-i386 registration"
    registered_ok || cannot "the qemu-i386 registration did not take effect"
fi

# --- Check ------------------------------------------------------------------
out=$("$wine32" --version 2>&1) || cannot "32-bit Wine does not start under emulation: $out"
exit 0
