#!/usr/bin/env python3
"""A collection service for the analytics tests, on 127.0.0.1.

Every POST outside /_ is a batch: the body must be exactly "data_list=" + URL-encoded Base64
of a gzip stream + "&gzip=1"; the server undoes the three layers strictly, parses the batch
with Python's JSON parser and keeps it. The test steers it through /_ paths:

  POST /_control   JSON {"status": 200, "script": [500, 200], "hold": false, "silent": false}
                   status: the answer to batches; script: answers for the next batches first;
                   hold: batches wait for POST /_release before they are answered;
                   silent: batches are never answered.
  POST /_release   answers the held batches
  GET  /_batches   JSON {"batches": [...], "errors": [...]}
  GET  /_arrived   the number of batches that arrived so far (answered or not)
  POST /_quit      stops the server

It prints "PORT <n>" once it listens. With --tls it serves HTTPS with a certificate made by
openssl for this run. It stops by itself after two idle minutes.
"""

import base64
import gzip
import http.server
import json
import os
import re
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

IDLE_LIMIT_SECONDS = 120
ENCODED = re.compile(r"^[A-Za-z0-9%._~-]*$")


class Service:
    def __init__(self):
        self.lock = threading.Condition()
        self.status = 200
        self.script = []
        self.hold = False
        self.silent = False
        self.released = False
        self.batches = []
        self.errors = []
        self.arrived = 0
        self.last_activity = time.monotonic()

    def decode(self, body):
        """The batch's records, or raises ValueError saying which layer is wrong."""
        text = body.decode("ascii")
        prefix, suffix = "data_list=", "&gzip=1"
        if not text.startswith(prefix) or not text.endswith(suffix):
            raise ValueError("body is not data_list=...&gzip=1: " + text[:80])
        encoded = text[len(prefix):-len(suffix)]
        if not ENCODED.match(encoded):
            raise ValueError("unexpected character in the URL-encoded data")
        b64 = urllib.parse.unquote(encoded, errors="strict")
        if urllib.parse.quote(b64, safe="-._~") != encoded:
            raise ValueError("URL encoding is not the exact %XX form")
        compressed = base64.b64decode(b64, validate=True)
        if base64.b64encode(compressed).decode("ascii") != b64:
            raise ValueError("Base64 is not in its canonical padded form")
        if compressed[:2] != b"\x1f\x8b":
            raise ValueError("not a gzip stream")
        raw = gzip.decompress(compressed).decode("utf-8")
        return raw, json.loads(raw)


SERVICE = Service()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, format, *args):
        pass

    def reply(self, status, payload=b"", content_type="application/json"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(payload)))
        self.end_headers()
        self.wfile.write(payload)

    def read_body(self):
        length = int(self.headers.get("Content-Length", "0"))
        return self.rfile.read(length)

    def do_GET(self):
        SERVICE.last_activity = time.monotonic()
        with SERVICE.lock:
            if self.path == "/_batches":
                payload = {"batches": SERVICE.batches, "errors": SERVICE.errors}
                self.reply(200, json.dumps(payload, ensure_ascii=False).encode("utf-8"))
            elif self.path == "/_arrived":
                self.reply(200, str(SERVICE.arrived).encode("ascii"), "text/plain")
            else:
                self.reply(404)

    def do_POST(self):
        SERVICE.last_activity = time.monotonic()
        body = self.read_body()
        if self.path == "/_control":
            settings = json.loads(body or b"{}")
            with SERVICE.lock:
                SERVICE.status = settings.get("status", 200)
                SERVICE.script = list(settings.get("script", []))
                SERVICE.hold = settings.get("hold", False)
                SERVICE.silent = settings.get("silent", False)
                SERVICE.released = False
            self.reply(200)
        elif self.path == "/_release":
            with SERVICE.lock:
                SERVICE.released = True
                SERVICE.lock.notify_all()
            self.reply(200)
        elif self.path == "/_quit":
            self.reply(200)
            threading.Thread(target=self.server.shutdown, daemon=True).start()
        else:
            self.collect(body)

    def collect(self, body):
        with SERVICE.lock:
            SERVICE.arrived += 1
            status = SERVICE.script.pop(0) if SERVICE.script else SERVICE.status
            batch = {
                "path": self.path,
                "status": status,
                "user_agent": self.headers.get("User-Agent", ""),
                "content_type": self.headers.get("Content-Type", ""),
            }
            try:
                batch["text"], batch["records"] = SERVICE.decode(body)
            except Exception as error:  # every malformed layer is a finding for the test
                SERVICE.errors.append(str(error))
                batch["text"], batch["records"] = "", []
            SERVICE.batches.append(batch)
            if SERVICE.silent:
                SERVICE.lock.wait_for(lambda: False, timeout=60)
                return
            if SERVICE.hold:
                SERVICE.lock.wait_for(lambda: SERVICE.released, timeout=60)
        self.reply(status, b"answer " + str(status).encode("ascii"), "text/plain")


def make_certificate(folder):
    key, cert = os.path.join(folder, "key.pem"), os.path.join(folder, "cert.pem")
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
         "-subj", "/CN=127.0.0.1", "-keyout", key, "-out", cert],
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return cert, key


def stop_when_idle(server):
    while time.monotonic() - SERVICE.last_activity < IDLE_LIMIT_SECONDS:
        time.sleep(1)
    server.shutdown()


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    with tempfile.TemporaryDirectory() as folder:
        if "--tls" in sys.argv:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(*make_certificate(folder))
            server.socket = context.wrap_socket(server.socket, server_side=True)
        threading.Thread(target=stop_when_idle, args=(server,), daemon=True).start()
        print("PORT %d" % server.server_address[1], flush=True)
        server.serve_forever()


if __name__ == "__main__":
    main()
