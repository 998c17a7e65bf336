#!/usr/bin/env python3
"""A small HTTP(S) file server for the download tests, with faults chosen per request.

Every address names a file of --root by its last path segment; the segments before it are
ignored, so a test can put a checksum segment there. The query string picks the faults:

  status=N       answer every request with status N and a short body
  cutonce=N      the first GET of this address sends N bytes of the body, then hangs up
  stallonce=OFF  the first GET whose range starts at OFF sends 1 KiB, then goes silent
  cutranges=OFF:N:K  the first K GETs whose range starts at OFF or later send N bytes, then
                 hang up
  norange=1      ignore Range and always send the whole file with 200
  failgets=K     answer the first K GETs of this address with 503
  rate=B         send at most B bytes per second on each connection

Prints "PORT <n>" once listening on 127.0.0.1. Each request is logged to --log as
"<method> <path> <range header or ->".
"""

import argparse
import http.server
import os
import socket
import ssl
import sys
import threading
import time
import urllib.parse

CHUNK = 65536
STALL_SECONDS = 8

counters = {}
counters_lock = threading.Lock()
log_lock = threading.Lock()


def count(key):
    with counters_lock:
        counters[key] = counters.get(key, 0) + 1
        return counters[key]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    root = "."
    log_path = None

    def log_message(self, format, *args):
        pass

    def record(self):
        if self.log_path:
            with log_lock, open(self.log_path, "a") as log:
                log.write("%s %s %s\n" % (self.command, self.path, self.headers.get("Range", "-")))

    def do_HEAD(self):
        self.answer(send_body=False)

    def do_GET(self):
        self.answer(send_body=True)

    def answer(self, send_body):
        self.record()
        url = urllib.parse.urlsplit(self.path)
        query = dict(urllib.parse.parse_qsl(url.query))
        name = urllib.parse.unquote(url.path.rsplit("/", 1)[-1])
        path = os.path.join(self.root, name)
        key = self.path
        if "status" in query:
            return self.short(int(query["status"]), send_body)
        if send_body and "failgets" in query and count(key + "#fail") <= int(query["failgets"]):
            return self.short(503, send_body)
        if not name or not os.path.isfile(path):
            return self.short(404, send_body)
        size = os.path.getsize(path)
        start, end = 0, size - 1
        status = 200
        wanted = self.headers.get("Range")
        if wanted and query.get("norange") != "1":
            parsed = parse_range(wanted, size)
            if parsed is None:
                self.send_response(416)
                self.send_header("Content-Range", "bytes */%d" % size)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            start, end = parsed
            status = 206
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Accept-Ranges", "bytes")
        self.send_header("Content-Length", str(end - start + 1))
        if status == 206:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, end, size))
        self.end_headers()
        if not send_body:
            return
        limit = None
        if "cutonce" in query and count(key + "#cut") == 1:
            limit = int(query["cutonce"])
        if "cutranges" in query:
            offset, size, times = (int(part) for part in query["cutranges"].split(":"))
            if status == 206 and start >= offset and count(key + "#cutranges") <= times:
                limit = size
        stall = "stallonce" in query and int(query["stallonce"]) == start and \
            count(key + "#stall%d" % start) == 1
        rate = int(query.get("rate", 0))
        self.send_file(path, start, end - start + 1, limit, stall, rate)

    def send_file(self, path, start, length, limit, stall, rate):
        sent = 0
        began = time.monotonic()
        try:
            with open(path, "rb") as source:
                source.seek(start)
                while sent < length:
                    block = min(CHUNK, length - sent)
                    if limit is not None:
                        block = min(block, limit - sent)
                    if stall:
                        block = min(block, 1024)
                    if block <= 0:
                        break
                    data = source.read(block)
                    self.wfile.write(data)
                    sent += len(data)
                    if stall:
                        self.wfile.flush()
                        time.sleep(STALL_SECONDS)
                        break
                    if rate:
                        ahead = sent / rate - (time.monotonic() - began)
                        if ahead > 0:
                            time.sleep(ahead)
            self.wfile.flush()
        except (BrokenPipeError, ConnectionResetError, ssl.SSLError, OSError):
            self.close_connection = True
            return
        if sent < length:
            self.close_connection = True
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    def short(self, status, send_body):
        body = b"no package here\n"
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if send_body:
            self.wfile.write(body)


def parse_range(header, size):
    if not header.startswith("bytes=") or "," in header:
        return None
    first, _, last = header[len("bytes="):].partition("-")
    try:
        if first == "":
            length = int(last)
            return (max(0, size - length), size - 1) if length > 0 else None
        start = int(first)
        end = int(last) if last else size - 1
    except ValueError:
        return None
    if start >= size or end < start:
        return None
    return start, min(end, size - 1)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--log")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    options = parser.parse_args()
    Handler.root = options.root
    Handler.log_path = options.log
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    if options.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(options.cert, options.key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print("PORT %d" % server.server_address[1], flush=True)
    # The test that started us may die without stopping us: end with its stdin.
    threading.Thread(target=lambda: (sys.stdin.read(), os._exit(0)), daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
