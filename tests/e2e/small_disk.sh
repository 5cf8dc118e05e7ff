#!/bin/sh
# small_disk.sh mount|unmount DIR: a tmpfs of 1 MiB at DIR for the disk-full
# scenario. Always succeeds; DIR.status says "mounted" or why it is not, and
# the scenario skips unless it reads "mounted".
set -u
action=$1 dir=$2
status=$dir.status
case $action in
mount)
    mkdir -p "$dir"
    mountpoint -q "$dir" && umount "$dir" 2>/dev/null
    if [ "$(id -u)" -ne 0 ]; then
        echo "mounting a tmpfs needs root" >"$status"
    elif out=$(mount -t tmpfs -o size=1m,mode=0777 e2e-small-disk "$dir" 2>&1); then
        echo mounted >"$status"
    else
        echo "mount -t tmpfs failed: $out" >"$status"
    fi
    cat "$status"
    ;;
unmount)
    mountpoint -q "$dir" && umount "$dir"
    rm -f "$status"
    ;;
esac
exit 0
