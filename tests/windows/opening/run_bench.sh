#!/bin/sh
# run_bench.sh WINEBENCH ARCH BENCH.EXE [MiB]: curl's throughput for the loopback server's large
# file, then the opening benchmark under Wine for the same file. Needs FOLIVEX_TEST_HTTP_URL.
set -e
bench=$1 arch=$2 program=$3 mb=${4:-200}
url="${FOLIVEX_TEST_HTTP_URL}large.pdf?mb=$mb"
curl --noproxy '*' -s -o /dev/null -w "%{time_total} %{size_download}\n" "$url" |
    awk -v mb="$mb" '{ printf "curl (Linux side) of %d MiB: %.2f s, %.1f MiB/s\n", mb, $1, $2 / 1048576 / $1 }'
echo "[$arch]"
exec "$bench" "$arch" "$program" "$mb"
