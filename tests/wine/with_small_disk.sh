#!/bin/sh
# with_small_disk.sh MEGABYTES -- COMMAND [ARGS...]
# Runs COMMAND with a file system of MEGABYTES (a tmpfs of its own) mounted on a fresh folder,
# whose Windows path (drive Z:) is in FOLIVEX_SMALL_DISK, and unmounts it afterwards. Mounting
# needs the privilege to mount: without it the run is skipped (exit 77).
set -u
if [ $# -lt 3 ] || [ "$2" != "--" ]; then
    echo "usage: with_small_disk.sh MEGABYTES -- COMMAND [ARGS...]" >&2
    exit 2
fi
size=$1
shift 2
mountpoint=$(mktemp -d /tmp/folivex_small_disk.XXXXXX)
if ! mount -t tmpfs -o "size=${size}m" tmpfs "$mountpoint" 2>/dev/null; then
    rmdir "$mountpoint"
    echo "with_small_disk.sh: cannot mount a small file system here; skipped"
    exit 77
fi
cleanup() {
    umount "$mountpoint" 2>/dev/null || umount -l "$mountpoint"
    rmdir "$mountpoint"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
FOLIVEX_SMALL_DISK="Z:$(printf '%s' "$mountpoint" | tr / '\\')"
export FOLIVEX_SMALL_DISK
"$@"
