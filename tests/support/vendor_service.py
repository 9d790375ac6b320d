#!/usr/bin/env python3
"""The vendor's web service, simulated on loopback for the tests and the demo.

TLS and plain HTTP share one port: a connection whose first byte opens a TLS handshake is served over TLS with a
self-signed certificate made at start, any other over plain HTTP.

Answers come from a JSON file that is read again on every request, so a test can change them while it runs:

    {
      "routes": {"/vrs.php": [STEP, STEP, ...], ...},   # the n-th request of a path gets the n-th step; the last repeats
      "files": "/some/dir",                             # other paths are served from files in this folder
      "tls_failures": 0                                 # so many TLS connections get plain text instead of a handshake
    }

    STEP: {"status": 200, "body": "text", "content_type": "text/plain; charset=utf-8", "charset": "utf-8",
           "file": "/path/to/body", "headers": {"Location": "..."},
           "fault": null | "reset" | "close" | "stall" | "trickle" | "truncate",
           "wait": 0,       # seconds before the answer starts
           "after": 0,      # stall and truncate: body bytes sent first
           "chunk": 16, "delay": 0.05}   # trickle: bytes per write and seconds between writes

Every request is appended to the log file as one line "SCHEME PATH"; a scripted TLS failure as "https (TLS refused)". When listening, the service writes
{"port": N, "cert": "/path/cert.pem"} to the ready file.
"""

import argparse
import http.server
import json
import os
import re
import socket
import socketserver
import ssl
import struct
import subprocess
import sys
import tempfile
import threading
import time


def local(path):
    """The path of this machine for a path given by a Windows test under Wine ("C:/users/..."), mapped through
    the prefix's drive links; other paths as they stand."""
    if not re.match(r"^[A-Za-z]:[\\/]", path or ""):
        return path
    prefix = os.environ.get("WINEPREFIX") or os.path.expanduser("~/.wine")
    drive = os.path.realpath(os.path.join(prefix, "dosdevices", path[0].lower() + ":"))
    return os.path.join(drive, path[3:].replace("\\", "/"))


class ConnectionDropped(Exception):
    """A connection ended on purpose (a scripted TLS failure) or by the peer during the handshake."""


class Service(socketserver.ThreadingMixIn, socketserver.TCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, config_path, log_path, ssl_context):
        super().__init__(address, Handler)
        self.config_path = config_path
        self.log_path = log_path
        self.ssl_context = ssl_context
        self.lock = threading.Lock()
        self.request_counts = {}
        self.tls_failures_used = 0

    def config(self):
        try:
            with open(self.config_path, encoding="utf-8") as f:
                return json.load(f)
        except (OSError, ValueError):
            return {}

    def log(self, line):
        with self.lock:
            with open(self.log_path, "a", encoding="utf-8") as f:
                f.write(line + "\n")

    def next_step(self, path):
        steps = self.config().get("routes", {}).get(path)
        if not steps:
            return None
        with self.lock:
            index = self.request_counts.get(path, 0)
            self.request_counts[path] = index + 1
        return steps[min(index, len(steps) - 1)]

    def take_tls_failure(self):
        with self.lock:
            if self.tls_failures_used < int(self.config().get("tls_failures", 0)):
                self.tls_failures_used += 1
                return True
            return False

    def handle_error(self, request, client_address):
        error = sys.exc_info()[1]
        if isinstance(error, (ConnectionDropped, ConnectionError, ssl.SSLError, BrokenPipeError)):
            return
        super().handle_error(request, client_address)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def setup(self):
        self.scheme = "http"
        first = self.request.recv(1, socket.MSG_PEEK)
        if first == b"\x16":
            if self.server.take_tls_failure():
                self.server.log("https (TLS refused)")
                self.request.sendall(b"HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n")
                raise ConnectionDropped()
            try:
                self.request = self.server.ssl_context.wrap_socket(self.request, server_side=True)
            except (ssl.SSLError, OSError) as error:
                raise ConnectionDropped() from error
            self.scheme = "https"
        super().setup()

    def log_message(self, format, *args):
        pass  # the request log file is the record

    def do_GET(self):
        self.server.log(f"{self.scheme} {self.path}")
        path = self.path.split("?", 1)[0]
        step = self.server.next_step(self.path) or self.server.next_step(path)
        if step is None:
            step = self.file_step(path)
        self.answer(step)

    def file_step(self, path):
        folder = local(self.server.config().get("files"))
        if folder:
            candidate = os.path.realpath(os.path.join(folder, path.lstrip("/")))
            if candidate.startswith(os.path.realpath(folder) + os.sep) and os.path.isfile(candidate):
                return {"file": candidate, "content_type": "application/octet-stream"}
        return {"status": 404, "content_type": "text/html; charset=utf-8",
                "body": "<html><body><h1>404 Not Found</h1></body></html>"}

    def answer(self, step):
        time.sleep(float(step.get("wait", 0)))
        fault = step.get("fault")
        if fault == "reset":
            self.request.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.close_connection = True
            raise ConnectionDropped()
        if fault == "close":
            self.close_connection = True
            return

        if "file" in step:
            with open(local(step["file"]), "rb") as f:
                body = f.read()
        else:
            body = step.get("body", "").encode(step.get("charset", "utf-8"))
        self.send_response(int(step.get("status", 200)))
        self.send_header("Content-Type", step.get("content_type", "text/plain; charset=utf-8"))
        self.send_header("Content-Length", str(len(body)))
        for name, value in step.get("headers", {}).items():
            self.send_header(name, value)
        self.end_headers()

        after = int(step.get("after", 0))
        if fault == "stall":
            self.wfile.write(body[:after])
            self.wfile.flush()
            time.sleep(float(step.get("delay", 3600)))
            self.close_connection = True
        elif fault == "truncate":
            self.wfile.write(body[:after])
            self.close_connection = True
        elif fault == "trickle":
            chunk = max(1, int(step.get("chunk", 16)))
            for start in range(0, len(body), chunk):
                self.wfile.write(body[start:start + chunk])
                self.wfile.flush()
                time.sleep(float(step.get("delay", 0.05)))
        else:
            self.wfile.write(body)


def make_certificate(folder):
    cert = os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                    "-days", "7", "-subj", "/CN=127.0.0.1",
                    "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost"],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return cert, key


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--config", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--ready", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--cert-dir", help="where the certificate is kept (default: a new temporary folder)")
    parser.add_argument("--while-exists", metavar="FILE",
                        help="end when FILE is removed (a caller under Wine can neither signal this process nor "
                             "hand it a pipe)")
    args = parser.parse_args()

    # A caller under Wine names its files in its own form; the certificate's path goes back to it in that form.
    cert_dir_given = args.cert_dir or tempfile.mkdtemp(prefix="vendor-service-")
    config, log, ready, folder = (local(path) for path in (args.config, args.log, args.ready, cert_dir_given))

    if args.while_exists:
        def watch_lease(path):
            while os.path.exists(path):
                time.sleep(0.1)
            os._exit(0)
        threading.Thread(target=watch_lease, args=(local(args.while_exists),), daemon=True).start()

    os.makedirs(folder, exist_ok=True)
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    if not (os.path.isfile(cert) and os.path.isfile(key)):
        cert, key = make_certificate(folder)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)

    open(log, "a").close()
    service = Service(("127.0.0.1", args.port), config, log, context)
    with open(ready + ".part", "w") as f:
        json.dump({"port": service.server_address[1], "cert": cert_dir_given.rstrip("/\\") + "/cert.pem"}, f)
    os.replace(ready + ".part", ready)
    try:
        service.serve_forever(poll_interval=0.1)
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
