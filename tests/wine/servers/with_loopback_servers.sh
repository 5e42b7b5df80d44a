#!/usr/bin/env bash
# with_loopback_servers.sh DOCDIR -- COMMAND [ARGS...]
#
# Runs COMMAND while loopback HTTP and FTP servers serve DOCDIR (see loopback_servers.py), with
#   FOLIVEX_TEST_HTTP_URL  http://127.0.0.1:PORT/
#   FOLIVEX_TEST_FTP_URL   ftp://127.0.0.1:PORT/
# in its environment (Wine hands the Unix environment on to Windows programs), and exits with
# COMMAND's status. The servers are stopped when COMMAND ends, when this script fails, and when it
# receives SIGTERM, SIGINT or SIGHUP (COMMAND is then sent SIGTERM first, and the status is
# 128 + the signal's number). Should this script be killed outright, the servers notice that
# their parent has gone and stop by themselves.
#
# Environment: FOLIVEX_SERVER_PYTHON (default /usr/bin/python3: it needs pyftpdlib),
# FOLIVEX_SERVER_LOG (a file for the servers' request log; default: this script's stderr).
set -uo pipefail

usage() {
    echo "usage: with_loopback_servers.sh DOCDIR -- COMMAND [ARGS...]" >&2
    exit 2
}
[[ $# -ge 3 && $2 == -- ]] || usage
docdir=$1
shift 2
[[ -d $docdir ]] || {
    echo "with_loopback_servers: no such directory: $docdir" >&2
    exit 2
}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
python=${FOLIVEX_SERVER_PYTHON:-/usr/bin/python3}
log=${FOLIVEX_SERVER_LOG:-/dev/stderr}

server_pid=""
command_pid=""
scratch=$(mktemp -d "${TMPDIR:-/tmp}/folivex-servers.XXXXXX") || exit 1

stop_servers() {
    if [[ -n $server_pid ]]; then
        kill -TERM "$server_pid" 2>/dev/null
        # It stops within a fraction of a second; a server that hangs is not waited for long.
        for _ in $(seq 50); do
            kill -0 "$server_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$server_pid" 2>/dev/null
        wait "$server_pid" 2>/dev/null
        server_pid=""
    fi
    rm -rf "$scratch"
}

on_exit() {
    local status=$?
    stop_servers
    exit "$status"
}

on_signal() {
    local signal_number=$1
    trap - TERM INT HUP
    if [[ -n $command_pid ]]; then
        kill -TERM "$command_pid" 2>/dev/null
        wait "$command_pid" 2>/dev/null
        command_pid=""
    fi
    exit $((128 + signal_number))
}

trap on_exit EXIT
trap 'on_signal 1' HUP
trap 'on_signal 2' INT
trap 'on_signal 15' TERM

url_file=$scratch/urls.json
"$python" "$here/loopback_servers.py" "$docdir" --url-file "$url_file" --exit-with-parent \
    </dev/null 2>>"$log" &
server_pid=$!

for _ in $(seq 200); do
    [[ -s $url_file ]] && break
    if ! kill -0 "$server_pid" 2>/dev/null; then
        wait "$server_pid" 2>/dev/null
        echo "with_loopback_servers: the servers did not start (status $?)" >&2
        server_pid=""
        exit 1
    fi
    sleep 0.05
done
if [[ ! -s $url_file ]]; then
    echo "with_loopback_servers: the servers did not report their addresses in time" >&2
    exit 1
fi

urls=$("$python" -c 'import json, sys
urls = json.load(open(sys.argv[1]))
print(urls["http"])
print(urls["ftp"])' "$url_file") || exit 1
{
    read -r FOLIVEX_TEST_HTTP_URL
    read -r FOLIVEX_TEST_FTP_URL
} <<<"$urls"
export FOLIVEX_TEST_HTTP_URL FOLIVEX_TEST_FTP_URL
echo "with_loopback_servers: $FOLIVEX_TEST_HTTP_URL $FOLIVEX_TEST_FTP_URL" >&2

# In the background so that a signal to this script is handled at once rather than after
# COMMAND; the explicit redirection keeps COMMAND's standard input.
"$@" <&0 &
command_pid=$!
wait "$command_pid"
status=$?
command_pid=""
exit "$status"
