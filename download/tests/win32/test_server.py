"""Loopback HTTP server for the Windows-side download test.

Serves the files of a folder, plus /slow (a body trickled out over a few seconds), /stall
(headers, then silence) and /headers (the cache request headers of the last download).
Usage: test_server.py PORT FOLDER
"""
import http.server
import sys
import time

last_cache_headers = ""


class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        global last_cache_headers
        if self.path == "/headers":
            body = last_cache_headers.encode()
            self.send_response(200)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        last_cache_headers = "Cache-Control=%s;Pragma=%s" % (
            self.headers.get("Cache-Control"), self.headers.get("Pragma"))
        if self.path == "/slow":
            self.send_response(200)
            self.send_header("Content-Length", "4096")
            self.end_headers()
            for _ in range(8):
                self.wfile.write(b"%PDF-".ljust(512, b"x"))
                self.wfile.flush()
                time.sleep(0.5)
            return
        if self.path == "/stall":
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(b"%PDF-1.4 ")
            self.wfile.flush()
            time.sleep(30)
            return
        super().do_GET()

    def log_message(self, *args):
        pass


if __name__ == "__main__":
    port, folder = int(sys.argv[1]), sys.argv[2]
    handler = lambda *a, **k: Handler(*a, directory=folder, **k)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    server.daemon_threads = True
    server.handle_error = lambda *args: None  # a client that hangs up is part of the test
    server.serve_forever()
