#!/bin/sh
# with_small_disk.sh MEGABYTES -- COMMAND [ARGS...]
# Runs COMMAND with two file systems of its own, mounted on fresh folders: a writable one of
# MEGABYTES (a tmpfs), whose Windows path (drive Z:) is in FOLIVEX_SMALL_DISK, and a read-only
# one, in FOLIVEX_READONLY_DISK; unmounts both afterwards. A read-only file system is what stops
# even root from writing (the tests run as root here, past any permission bit). Mounting needs
# the privilege to mount: without it the run is skipped (exit 77).
set -u
if [ $# -lt 3 ] || [ "$2" != "--" ]; then
    echo "usage: with_small_disk.sh MEGABYTES -- COMMAND [ARGS...]" >&2
    exit 2
fi
size=$1
shift 2
small=$(mktemp -d /tmp/folivex_small_disk.XXXXXX)
readonly_disk=$(mktemp -d /tmp/folivex_readonly_disk.XXXXXX)
cleanup() {
    for folder in "$small" "$readonly_disk"; do
        if mountpoint -q "$folder"; then
            umount "$folder" 2>/dev/null || umount -l "$folder"
        fi
        rmdir "$folder"
    done
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
if ! mount -t tmpfs -o "size=${size}m" tmpfs "$small" 2>/dev/null ||
    ! mount -t tmpfs -o "size=1m,ro" tmpfs "$readonly_disk" 2>/dev/null; then
    echo "with_small_disk.sh: cannot mount a file system here; skipped"
    exit 77
fi
windows_path() {
    printf 'Z:%s' "$1" | tr / '\\'
}
FOLIVEX_SMALL_DISK=$(windows_path "$small")
FOLIVEX_READONLY_DISK=$(windows_path "$readonly_disk")
export FOLIVEX_SMALL_DISK FOLIVEX_READONLY_DISK
"$@"
