#!/bin/sh
# Builds the Windows-side download test with MinGW-w64 and runs it under Wine against a loopback
# server. Usage: build_and_run.sh [x86_64|i686]   (not registered with CTest)
set -e
arch=${1:-x86_64}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
out=/tmp/download-win32-$arch
mkdir -p "$out/www"
${arch}-w64-mingw32-g++-posix -std=c++20 -Wall -Wextra -Werror -municode -DUNICODE -D_UNICODE \
    -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601 -I"$root" \
    "$here/url_download_test.cpp" "$root/download/downloader.cpp" \
    "$root/download/win32_url_download.cpp" "$root/common/testing/memory_file_system.cpp" \
    "$root/common/automation_text.cpp" "$root/com/module.cpp" \
    -static -static-libgcc -static-libstdc++ -lurlmon -lole32 -luuid -o "$out/url_download_test.exe"

printf '%%PDF-1.4\nsmall document\n' > "$out/www/small.pdf"
: > "$out/www/empty.pdf"
head -c 8388608 /dev/urandom > "$out/www/big.bin"
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
/usr/bin/python3 "$here/test_server.py" "$port" "$out/www" &
server=$!
trap 'kill $server 2>/dev/null' EXIT
sleep 1

export WINEPREFIX=/tmp/wine-download WINEDEBUG=-all
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
if [ "$arch" = x86_64 ]; then loader=/usr/lib/wine/wine64; else loader=wine; fi
status=0
$loader "$out/url_download_test.exe" "$port" || status=$?
wineserver -k || true
exit $status
