#!/usr/bin/python3
"""Loopback HTTP and FTP servers for the download tests.

    loopback_servers.py DOCDIR [--url-file FILE] [--exit-with-parent]

Both servers listen on 127.0.0.1 only, on ports the system picks, and serve the files directly
inside DOCDIR (no subdirectories). Once both listen, one line of JSON
    {"http": "http://127.0.0.1:PORT/", "ftp": "ftp://127.0.0.1:PORT/"}
is written to FILE (atomically: it appears complete or not at all) or to stdout. Requests are
logged to stderr. SIGTERM, SIGINT and SIGHUP stop both servers and exit with status 0; with
--exit-with-parent the servers also stop when the process that started them has gone, so a killed
wrapper never leaves them behind.

HTTP routes besides the plain files (every response carries Cache-Control: no-cache, and a
Content-Length unless said otherwise):
    /missing.pdf      404 with an HTML error body
    /error.pdf        500 with an HTML error body
    /empty.pdf        200 with an empty body
    /redirect.pdf     302 to /three_pages.pdf
    /slow.pdf         three_pages.pdf in 8 chunks, 150 ms apart
    /dropped.pdf      Content-Length of three_pages.pdf, half its bytes, then the connection closes
    /stalled.pdf?s=N  Content-Length of three_pages.pdf, half its bytes, then nothing for N seconds
                      (default 60) before the connection closes
    /large.pdf?mb=N   N MiB (default 20, at most 4096) generated while it is sent: "%PDF-1.4\\n",
                      comment lines as padding, "%%EOF\\n"
    /reset.pdf        Content-Length of three_pages.pdf, half its bytes, then the connection is
                      reset (RST, not an orderly close)
    /loop.pdf         302 to itself, for ever
    /page             200 with an HTML page (text/html), under a name without an extension
    /overlong.pdf     three_pages.pdf with a Content-Length 100 bytes short of it: the body runs
                      past its declared length
    /named/ANY        three_pages.pdf under any name (percent-decoded), for names outside ASCII
    /headers.txt      text: the Cache-Control and Pragma request headers of the request before,
                      as "Cache-Control=<value>;Pragma=<value>"

FTP: anonymous, read-only (list and retrieve), the same files.

Standard library and pyftpdlib (Debian's python3-pyftpdlib) only.
"""

import argparse
import http.server
import json
import logging
import os
import signal
import socket
import struct
import sys
import threading
import time
import urllib.parse

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

HOST = "127.0.0.1"
SLOW_SOURCE = "three_pages.pdf"
SLOW_CHUNKS = 8
SLOW_PAUSE = 0.15
LARGE_DEFAULT_MB = 20
LARGE_MAX_MB = 4096
LARGE_HEADER = b"%PDF-1.4\n"
LARGE_TRAILER = b"%%EOF\n"
# 64 bytes a line: a PDF comment, so the padding stays inert for a reader that scans it.
LARGE_PADDING_LINE = b"%" + b"0123456789abcdef" * 3 + b"-" * 14 + b"\n"
STREAM_BLOCK = 64 * 1024
STALL_DEFAULT_SECONDS = 60
STALL_MAX_SECONDS = 600


def _html_page(code, title):
    text = "<html><head><title>%d %s</title></head><body><h1>%d %s</h1></body></html>\n" % (
        code,
        title,
        code,
        title,
    )
    return text.encode("ascii")


def _large_body(size):
    """Yields the bytes of a PDF-like body of exactly `size` bytes in blocks, never all at once."""
    yield LARGE_HEADER
    remaining = size - len(LARGE_HEADER) - len(LARGE_TRAILER)
    block = LARGE_PADDING_LINE * (STREAM_BLOCK // len(LARGE_PADDING_LINE))
    while remaining >= len(block):
        yield block
        remaining -= len(block)
    lines = remaining // len(LARGE_PADDING_LINE)
    yield LARGE_PADDING_LINE * lines
    remaining -= lines * len(LARGE_PADDING_LINE)
    if remaining:
        # The last bit of padding still ends its line, so the trailer starts a line of its own.
        yield b"%" * (remaining - 1) + b"\n"
    yield LARGE_TRAILER


class DocumentHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "FolivexLoopback/1.0"

    # Set on the class by make_http_server.
    docdir = ""
    stop_event = None

    def log_message(self, format, *args):  # noqa: A002 - the base class's parameter name
        sys.stderr.write("http: %s %s\n" % (self.address_string(), format % args))

    def end_headers(self):
        # Every answer, the library's own error pages included: nothing may come from a cache.
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def _query(self):
        return urllib.parse.parse_qs(urllib.parse.urlsplit(self.path).query)

    def _int_parameter(self, name, default, lowest, highest):
        values = self._query().get(name)
        if not values:
            return default
        try:
            value = int(values[0])
        except ValueError:
            return None
        return value if lowest <= value <= highest else None

    def _send_simple(self, code, body, content_type="text/html", extra_headers=(), head=False):
        self.send_response(code)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in extra_headers:
            self.send_header(name, value)
        self.end_headers()
        if not head:
            self.wfile.write(body)

    def _send_page(self, code, title, head=False):
        self._send_simple(code, _html_page(code, title), head=head)

    def _document_path(self, name):
        """The file `name` directly inside the document directory, or None: no traversal, no
        subdirectories, no hidden files."""
        if not name or "/" in name or "\\" in name or name.startswith("."):
            return None
        path = os.path.join(self.docdir, name)
        return path if os.path.isfile(path) else None

    def _read_document(self, name):
        path = self._document_path(name)
        if path is None:
            return None
        with open(path, "rb") as f:
            return f.read()

    def _send_pdf_headers(self, length):
        self.send_response(200)
        self.send_header("Content-Type", "application/pdf")
        self.send_header("Content-Length", str(length))
        self.end_headers()

    def do_HEAD(self):
        self._answer(head=True)

    def do_GET(self):
        self._answer(head=False)

    def _answer(self, head):
        route = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path)
        name = route[1:] if route.startswith("/") else route
        if name.startswith("named/"):
            # Any name at all, for the client's handling of names: three_pages.pdf.
            body = self._source_or_fail(head)
            if body is not None:
                self._send_pdf_headers(len(body))
                if not head:
                    self.wfile.write(body)
            return
        special = {
            "missing.pdf": self._missing,
            "error.pdf": self._error,
            "empty.pdf": self._empty,
            "redirect.pdf": self._redirect,
            "slow.pdf": self._slow,
            "dropped.pdf": self._dropped,
            "stalled.pdf": self._stalled,
            "large.pdf": self._large,
            "reset.pdf": self._reset,
            "loop.pdf": self._loop,
            "page": self._html,
            "overlong.pdf": self._overlong,
            "headers.txt": self._headers,
        }.get(name)
        if name != "headers.txt":
            self.server.last_cache_headers = "Cache-Control=%s;Pragma=%s" % (
                self.headers.get("Cache-Control"),
                self.headers.get("Pragma"),
            )
        if special is not None:
            special(head)
            return
        path = self._document_path(name)
        if path is None:
            self._send_page(404, "Not Found", head=head)
            return
        size = os.path.getsize(path)
        if name.lower().endswith(".pdf"):
            self._send_pdf_headers(size)
        else:
            self._send_file_headers(size)
        if head:
            return
        with open(path, "rb") as f:
            while True:
                block = f.read(STREAM_BLOCK)
                if not block:
                    break
                self.wfile.write(block)

    def _send_file_headers(self, length):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(length))
        self.end_headers()

    def _missing(self, head):
        self._send_page(404, "Not Found", head=head)

    def _error(self, head):
        self._send_page(500, "Internal Server Error", head=head)

    def _empty(self, head):
        self._send_pdf_headers(0)

    def _redirect(self, head):
        host = self.headers.get("Host") or "%s:%d" % self.server.server_address[:2]
        target = "http://%s/%s" % (host, SLOW_SOURCE)
        self._send_simple(
            302, _html_page(302, "Found"), extra_headers=[("Location", target)], head=head
        )

    def _source_or_fail(self, head):
        body = self._read_document(SLOW_SOURCE)
        if body is None:
            self._send_page(500, "Internal Server Error", head=head)
        return body

    def _slow(self, head):
        body = self._source_or_fail(head)
        if body is None:
            return
        self._send_pdf_headers(len(body))
        if head:
            return
        self.wfile.flush()
        step = -(-len(body) // SLOW_CHUNKS)
        for start in range(0, len(body), step):
            if start:
                if self.stop_event.wait(SLOW_PAUSE):
                    self.close_connection = True
                    return
            self.wfile.write(body[start : start + step])
            self.wfile.flush()

    def _send_half(self, head):
        # Headers for the whole document, then half its body; False when none of it was sent.
        body = self._source_or_fail(head)
        if body is None:
            return False
        self._send_pdf_headers(len(body))
        self.close_connection = True
        if head:
            return False
        self.wfile.write(body[: len(body) // 2])
        self.wfile.flush()
        return True

    def _half_then(self, head, pause):
        if self._send_half(head) and pause:
            self.stop_event.wait(pause)

    def _dropped(self, head):
        self._half_then(head, 0)

    def _stalled(self, head):
        seconds = self._int_parameter("s", STALL_DEFAULT_SECONDS, 0, STALL_MAX_SECONDS)
        if seconds is None:
            self._send_page(400, "Bad Request", head=head)
            return
        self._half_then(head, seconds)

    def _reset(self, head):
        if not self._send_half(head):
            return
        # Linger on with a zero timeout: the close sends a reset.
        self.connection.setsockopt(
            socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0)
        )
        self.connection.close()

    def _loop(self, head):
        host = self.headers.get("Host") or "%s:%d" % self.server.server_address[:2]
        self._send_simple(
            302,
            _html_page(302, "Found"),
            extra_headers=[("Location", "http://%s/loop.pdf" % host)],
            head=head,
        )

    def _html(self, head):
        self._send_page(200, "Welcome", head=head)

    def _overlong(self, head):
        body = self._source_or_fail(head)
        if body is None:
            return
        self._send_pdf_headers(len(body) - 100)
        self.close_connection = True
        if not head:
            self.wfile.write(body)
            self.wfile.flush()

    def _headers(self, head):
        body = getattr(self.server, "last_cache_headers", "").encode()
        self._send_simple(200, body, content_type="text/plain", head=head)

    def _large(self, head):
        mb = self._int_parameter("mb", LARGE_DEFAULT_MB, 1, LARGE_MAX_MB)
        if mb is None:
            self._send_page(400, "Bad Request", head=head)
            return
        size = mb * 1024 * 1024
        self._send_pdf_headers(size)
        if head:
            return
        for block in _large_body(size):
            if self.stop_event.is_set():
                self.close_connection = True
                return
            self.wfile.write(block)


class QuietThreadingHTTPServer(http.server.ThreadingHTTPServer):
    daemon_threads = True
    last_cache_headers = ""

    def handle_error(self, request, client_address):
        # A client that hangs up mid-body (the dropped and stalled tests do on purpose) is not a
        # server fault worth a traceback.
        kind = sys.exc_info()[0]
        if kind is not None and issubclass(kind, (ConnectionError, TimeoutError)):
            sys.stderr.write("http: %s:%d hung up\n" % client_address[:2])
            return
        super().handle_error(request, client_address)


def make_http_server(docdir, stop_event):
    handler = type(
        "BoundDocumentHandler",
        (DocumentHandler,),
        {"docdir": docdir, "stop_event": stop_event},
    )
    return QuietThreadingHTTPServer((HOST, 0), handler)


def make_ftp_server(docdir):
    authorizer = DummyAuthorizer()
    # e: change directory, l: list, r: retrieve. Nothing that writes.
    authorizer.add_anonymous(docdir, perm="elr")
    handler = type("ReadOnlyFTPHandler", (FTPHandler,), {})
    handler.authorizer = authorizer
    handler.banner = "Folivex loopback FTP"
    handler.permit_foreign_addresses = False
    handler.passive_ports = None  # the system picks each data port
    server = FTPServer((HOST, 0), handler)
    server.max_cons = 64
    return server


def write_urls(urls, url_file):
    line = json.dumps(urls) + "\n"
    if url_file is None:
        sys.stdout.write(line)
        sys.stdout.flush()
        return
    partial = url_file + ".partial"
    with open(partial, "w") as f:
        f.write(line)
    os.replace(partial, url_file)


def main():
    parser = argparse.ArgumentParser(description="Loopback HTTP and FTP document servers.")
    parser.add_argument("docdir")
    parser.add_argument("--url-file", help="write the JSON line here instead of stdout")
    parser.add_argument(
        "--exit-with-parent", action="store_true", help="stop when the parent process has gone"
    )
    args = parser.parse_args()

    docdir = os.path.realpath(args.docdir)
    if not os.path.isdir(docdir):
        sys.stderr.write("loopback_servers: no such directory: %s\n" % args.docdir)
        return 2

    logging.basicConfig(stream=sys.stderr, level=logging.INFO, format="ftp: %(message)s")
    stop = threading.Event()
    parent = os.getppid()

    def on_signal(signum, frame):
        stop.set()

    for signum in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(signum, on_signal)

    http_server = make_http_server(docdir, stop)
    ftp_server = make_ftp_server(docdir)
    http_thread = threading.Thread(
        target=http_server.serve_forever, kwargs={"poll_interval": 0.2}, daemon=True
    )
    http_thread.start()

    http_port = http_server.server_address[1]
    ftp_port = ftp_server.address[1]
    write_urls(
        {"http": "http://%s:%d/" % (HOST, http_port), "ftp": "ftp://%s:%d/" % (HOST, ftp_port)},
        args.url_file,
    )

    try:
        # The FTP server's event loop runs here in short turns, so a signal or a vanished parent
        # is noticed within a fraction of a second.
        while not stop.is_set():
            ftp_server.ioloop.loop(timeout=0.2, blocking=False)
            if args.exit_with_parent and os.getppid() != parent:
                sys.stderr.write("loopback_servers: parent gone, stopping\n")
                break
    finally:
        stop.set()
        http_server.shutdown()
        http_server.server_close()
        ftp_server.close_all()
        http_thread.join(timeout=5)
    return 0


if __name__ == "__main__":
    sys.exit(main())
