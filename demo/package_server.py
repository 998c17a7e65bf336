#!/usr/bin/env python3
"""The local package server of the demo and of the setup tests.

Serves one package the way the vendor's download service does: the published address
/quillon/latest redirects to /files/<md5>/<name>, the address that carries the package's
checksum. Answers HEAD and GET, with byte ranges so that an interrupted download resumes.

The downloader refuses packages under 1 MiB, so a smaller program is served with zero bytes
appended (a program ignores bytes after its end); the served file is written to --workdir.

Options:
  --package FILE         the program to serve
  --workdir DIR          where the served copy is kept
  --port N               0 (the default) picks a free port
  --corrupt-first-get    the first GET of the file sends a damaged body (same length)
  --exit-on-stdin-eof    stop when standard input closes (the tests keep it open)

Prints "PORT <n>" once listening on 127.0.0.1.
"""

import argparse
import hashlib
import http.server
import os
import shutil
import sys
import threading

MIN_SIZE = 1536 * 1024
CHUNK = 65536


def publish(package, workdir):
    name = os.path.basename(package)
    served = os.path.join(workdir, name)
    shutil.copyfile(package, served)
    size = os.path.getsize(served)
    if size < MIN_SIZE:
        with open(served, "ab") as f:
            f.write(b"\0" * (MIN_SIZE - size))
    with open(served, "rb") as f:
        md5 = hashlib.md5(f.read()).hexdigest()
    return served, "/files/%s/%s" % (md5, name)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    served = None
    file_path = None
    corrupt_pending = False
    lock = threading.Lock()

    def log_message(self, format, *args):
        pass

    def do_HEAD(self):
        self.answer(body=False)

    def do_GET(self):
        self.answer(body=True)

    def answer(self, body):
        if self.path == "/quillon/latest":
            self.send_response(302)
            self.send_header("Location", self.file_path)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if self.path != self.file_path:
            self.send_error(404)
            return
        size = os.path.getsize(self.served)
        start, end = 0, size - 1
        wanted = self.headers.get("Range")
        if wanted and wanted.startswith("bytes="):
            first, _, last = wanted[6:].partition("-")
            start = int(first) if first else 0
            end = min(int(last), size - 1) if last else size - 1
            if start >= size:
                self.send_response(416)
                self.send_header("Content-Range", "bytes */%d" % size)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
        self.send_response(206 if wanted else 200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Accept-Ranges", "bytes")
        self.send_header("Content-Length", str(end - start + 1))
        if wanted:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, end, size))
        self.end_headers()
        if body:
            self.send_body(start, end)

    def send_body(self, start, end):
        with Handler.lock:
            corrupt = Handler.corrupt_pending
            Handler.corrupt_pending = False
        with open(self.served, "rb") as f:
            f.seek(start)
            left = end - start + 1
            while left > 0:
                data = f.read(min(CHUNK, left))
                if corrupt:
                    data = bytes([data[0] ^ 0xFF]) + data[1:]
                    corrupt = False
                self.wfile.write(data)
                left -= len(data)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--package", required=True)
    parser.add_argument("--workdir", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--corrupt-first-get", action="store_true")
    parser.add_argument("--exit-on-stdin-eof", action="store_true")
    args = parser.parse_args()

    Handler.served, Handler.file_path = publish(args.package, args.workdir)
    Handler.corrupt_pending = args.corrupt_first_get
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    print("PORT %d" % server.server_address[1], flush=True)
    if args.exit_on_stdin_eof:
        def watch():
            sys.stdin.read()
            os._exit(0)
        threading.Thread(target=watch, daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
