#!/usr/bin/env python3
"""Local HTTP and HTTPS servers for the web tests.

    web_server.py [--timeout SECONDS] -- PROGRAM [ARGS...]

Starts both servers on 127.0.0.1 (ephemeral ports; the HTTPS certificate is
self-signed and made here with openssl), runs PROGRAM with the ports in the
environment, stops the servers and exits with PROGRAM's exit code. The
servers live in this process, so they end with it; a watchdog ends
everything after --timeout seconds.

Environment given to PROGRAM:
    TW_HTTP_PORT, TW_HTTPS_PORT  the two servers
    TW_CLOSED_PORT               a port bound but not listening: refused
    TW_RECORD_DIR                Windows path of the folder where every request
                                 arrives as NNNN.req: its head exactly as
                                 received, then the body
"""

import argparse
import os
import socket
import socketserver
import ssl
import subprocess
import sys
import tempfile
import threading
import urllib.parse

BLOCK = bytes(range(256)) * 4096  # 1 MiB of a known pattern


class Recorder:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0
        self.lock = threading.Lock()

    def save(self, head, body):
        with self.lock:
            self.count += 1
            path = os.path.join(self.folder, "%04d.req" % self.count)
        with open(path + ".tmp", "wb") as f:
            f.write(head + body)
        os.replace(path + ".tmp", path)


def response(status, body=b"", headers=()):
    head = "HTTP/1.1 %s\r\n" % status
    head += "Content-Length: %d\r\n" % len(body)
    for name, value in headers:
        head += "%s: %s\r\n" % (name, value)
    return head.encode("latin-1") + b"\r\n" + body


class Handler(socketserver.StreamRequestHandler):
    tls = None  # set on the HTTPS server's handler class

    def setup(self):
        if self.tls is not None:
            self.request = self.tls.wrap_socket(self.request, server_side=True)
        super().setup()

    def read_request(self):
        head = b""
        while True:
            line = self.rfile.readline(1 << 20)
            if not line:
                return None
            head += line
            if line in (b"\r\n", b"\n"):
                break
        lines = head.decode("latin-1").split("\r\n")
        method, target, _ = lines[0].split(" ", 2)
        fields = {}
        for line in lines[1:]:
            if ":" in line:
                name, value = line.split(":", 1)
                fields[name.strip().lower()] = value.strip()
        body = b""
        if "chunked" in fields.get("transfer-encoding", "").lower():
            while True:
                size = int(self.rfile.readline().split(b";")[0], 16)
                chunk = self.rfile.read(size)
                self.rfile.readline()
                if size == 0:
                    break
                body += chunk
        elif "content-length" in fields:
            body = self.rfile.read(int(fields["content-length"]))
        return head, method, target, body

    def handle(self):
        try:
            while True:
                request = self.read_request()
                if request is None:
                    return
                head, method, target, body = request
                # Recorded before the answer goes out, so the client finds it
                # once its call returns.
                self.server.recorder.save(head, body)
                if not self.answer(method, target, body):
                    return
        except (ConnectionError, ssl.SSLError, OSError, ValueError):
            return

    def send(self, data):
        self.wfile.write(data)
        self.wfile.flush()

    def answer(self, method, target, body):
        url = urllib.parse.urlsplit(target)
        path, query = url.path, urllib.parse.parse_qs(url.query)
        head_only = method == "HEAD"

        def reply(status, content=b"", headers=()):
            data = response(status, content, headers)
            if head_only:
                data = data[: data.index(b"\r\n\r\n") + 4]
            self.send(data)
            return True

        if path == "/Personal_cloud_disk/download.php":
            return reply("200 OK", self.server.version.encode())
        if path == "/echo":
            return reply("200 OK", b"echo", [("Content-Type", "text/plain")])
        if path == "/length":
            return reply("200 OK", str(len(body)).encode())
        if path == "/cookies":
            return reply("200 OK", b"cookies", [("Set-Cookie", "b=3; Path=/"), ("Set-Cookie", "c=4; Path=/; HttpOnly")])
        if path == "/redirect":
            return reply("302 Found", b"moved away", [("Location", "/target"), ("X-From", "redirect")])
        if path == "/target":
            return reply("200 OK", b"target")
        if path == "/bigheaders":
            # Many lines rather than one long one: Wine cuts header lines at 4 KiB.
            filler = [("X-Filler-%d" % i, "x" * 500) for i in range(12)]
            return reply("200 OK", b"big body", filler + [("Set-Cookie", "big=1; Path=/")])
        if path == "/zeros":
            return reply("200 OK", b"a\0b\0\0c")
        if path == "/bytes":
            size = int(query.get("n", ["0"])[0])
            self.send(b"HTTP/1.1 200 OK\r\nContent-Length: %d\r\n\r\n" % size)
            while size > 0:
                piece = BLOCK[: min(size, len(BLOCK))]
                self.wfile.write(piece)
                size -= len(piece)
            self.wfile.flush()
            return True
        if path == "/liar":
            # Announces far more than it sends, then hangs up.
            self.send(b"HTTP/1.1 200 OK\r\nContent-Length: 2000000000\r\n\r\n" + b"L" * 1000)
            return False
        return reply("404 Not Found", b"not found")


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def make_certificate(folder):
    key, cert = os.path.join(folder, "key.pem"), os.path.join(folder, "cert.pem")
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
         "-days", "2", "-subj", "/CN=localhost"],
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


def start(handler, recorder, version):
    server = Server(("127.0.0.1", 0), handler)
    server.recorder = recorder
    server.version = version
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--timeout", type=float, default=540)
    parser.add_argument("--version", default="1.0", help="body of the version address")
    parser.add_argument("program", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    program = args.program[1:] if args.program[:1] == ["--"] else args.program
    if not program:
        parser.error("no program to run")

    watchdog = threading.Timer(args.timeout, lambda: os._exit(124))
    watchdog.daemon = True
    watchdog.start()

    with tempfile.TemporaryDirectory(prefix="tw-web-") as folder:
        records = os.path.join(folder, "records")
        os.mkdir(records)
        recorder = Recorder(records)
        tls_handler = type("TlsHandler", (Handler,), {"tls": make_certificate(folder)})
        http = start(Handler, recorder, args.version)
        https = start(tls_handler, recorder, args.version)
        closed = socket.socket()
        closed.bind(("127.0.0.1", 0))  # bound, never listening: connections are refused

        env = dict(os.environ)
        env["TW_HTTP_PORT"] = str(http.server_address[1])
        env["TW_HTTPS_PORT"] = str(https.server_address[1])
        env["TW_CLOSED_PORT"] = str(closed.getsockname()[1])
        env["TW_RECORD_DIR"] = windows_path(records)
        try:
            code = subprocess.run(program, env=env, timeout=args.timeout).returncode
        except subprocess.TimeoutExpired:
            code = 124
        for server in (http, https):
            server.shutdown()
            server.server_close()
        closed.close()
    sys.exit(code)


if __name__ == "__main__":
    main()
