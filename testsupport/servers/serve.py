#!/usr/bin/env python3
"""Local web server for the downloader tests.

Serves files of a folder with Last-Modified and Content-Length, over HTTP and
(with --cert/--key) HTTPS, both on 127.0.0.1 with ports chosen by the system.
The first path segment may pick a fault mode:
  /nolm/<file>   no Last-Modified header
  /nolen/<file>  no Content-Length header (body ends with the connection)
  /drop/<file>   full Content-Length, but the connection ends after half the body
  /slow/<file>   body sent in 16 pieces with pauses
  /stall/<file>  full Content-Length, a sixteenth of the body, then nothing
                 more until the client goes away (at most two minutes)
A missing file answers 404. With --untrusted-cert/--untrusted-key a second
HTTPS server serves the same files with a certificate nobody should trust.
A small FTP server serves the same files (a response that carries no HTTP
status at all). Writes "http=<port> https=<port> untrusted=<port> ftp=<port>"
to --port-file (0 for a server not started).
"""
import argparse
import email.utils
import os
import socket
import socketserver
import ssl
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

MODES = ("nolm", "nolen", "drop", "slow", "stall")


def make_handler(root):
    root = os.path.realpath(root)

    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.0"

        def log_message(self, fmt, *args):
            pass

        def do_GET(self):
            path = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path).lstrip("/")
            mode = ""
            head, _, rest = path.partition("/")
            if head in MODES and rest:
                mode, path = head, rest
            full = os.path.realpath(os.path.join(root, path))
            if not full.startswith(root + os.sep) or not os.path.isfile(full):
                self.send_error(404)
                return
            size = os.path.getsize(full)
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            if mode != "nolm":
                self.send_header("Last-Modified", email.utils.formatdate(os.path.getmtime(full), usegmt=True))
            if mode != "nolen":
                self.send_header("Content-Length", str(size))
            self.send_header("Connection", "close")
            self.end_headers()
            try:
                with open(full, "rb") as f:
                    if mode == "drop":
                        self.wfile.write(f.read(size // 2))
                        self.wfile.flush()
                        return
                    if mode == "stall":
                        self.wfile.write(f.read(max(1, size // 16)))
                        self.wfile.flush()
                        self.connection.settimeout(1)
                        for _ in range(120):
                            try:
                                if not self.connection.recv(1):
                                    return  # the client closed
                            except OSError as e:
                                if not isinstance(e, TimeoutError):
                                    return
                        return
                    if mode == "slow":
                        piece = max(1, size // 16)
                        while True:
                            data = f.read(piece)
                            if not data:
                                break
                            self.wfile.write(data)
                            self.wfile.flush()
                            time.sleep(0.1)
                        return
                    while True:
                        data = f.read(1 << 20)
                        if not data:
                            break
                        self.wfile.write(data)
            except (BrokenPipeError, ConnectionResetError):
                pass  # the client re-sent its request or went away

    return Handler


def make_ftp_handler(root):
    root = os.path.realpath(root)

    class FtpHandler(socketserver.StreamRequestHandler):
        """Anonymous, read-only, one file per RETR; active (PORT) and passive."""

        def reply(self, line):
            self.wfile.write((line + "\r\n").encode())
            self.wfile.flush()

        def handle(self):
            self.port = None
            self.passive = None
            self.reply("220 qx test ftp")
            for raw in self.rfile:
                verb, _, arg = raw.decode("latin-1").strip().partition(" ")
                verb = verb.upper()
                if verb == "USER":
                    self.reply("331 password please")
                elif verb == "PASS":
                    self.reply("230 logged in")
                elif verb == "PORT":
                    n = [int(x) for x in arg.split(",")]
                    self.port = ("%d.%d.%d.%d" % tuple(n[:4]), n[4] * 256 + n[5])
                    self.reply("200 port")
                elif verb == "PASV":
                    self.passive = socket.socket()
                    self.passive.bind(("127.0.0.1", 0))
                    self.passive.listen(1)
                    p = self.passive.getsockname()[1]
                    self.reply("227 passive (127,0,0,1,%d,%d)" % (p // 256, p % 256))
                elif verb == "RETR":
                    self.retrieve(arg)
                elif verb == "QUIT":
                    self.reply("221 bye")
                    return
                else:
                    self.reply("200 ok")

        def retrieve(self, name):
            full = os.path.realpath(os.path.join(root, name.lstrip("/")))
            if not full.startswith(root + os.sep) or not os.path.isfile(full):
                self.reply("550 no such file")
                return
            self.reply("150 opening data connection")
            if self.passive:
                data, _ = self.passive.accept()
                self.passive.close()
                self.passive = None
            else:
                data = socket.create_connection(self.port)
            try:
                with open(full, "rb") as f:
                    data.sendall(f.read())
            except OSError:
                pass  # the client stopped reading
            finally:
                data.close()
            self.reply("226 transfer complete")

    return FtpHandler


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--root", required=True)
    ap.add_argument("--port-file", required=True)
    ap.add_argument("--cert")
    ap.add_argument("--key")
    ap.add_argument("--untrusted-cert")
    ap.add_argument("--untrusted-key")
    ap.add_argument("--port", type=int, default=0)
    a = ap.parse_args()
    handler = make_handler(a.root)
    servers = [ThreadingHTTPServer(("127.0.0.1", a.port), handler)]
    ports = [servers[0].server_address[1], 0, 0]
    for slot, cert, key in ((1, a.cert, a.key), (2, a.untrusted_cert, a.untrusted_key)):
        if not cert:
            continue
        tls = ThreadingHTTPServer(("127.0.0.1", 0), handler)
        ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        ctx.load_cert_chain(cert, key)
        tls.socket = ctx.wrap_socket(tls.socket, server_side=True)
        servers.append(tls)
        ports[slot] = tls.server_address[1]
    for s in servers:
        s.daemon_threads = True
        threading.Thread(target=s.serve_forever, daemon=True).start()
    ftp = socketserver.ThreadingTCPServer(("127.0.0.1", 0), make_ftp_handler(a.root))
    ftp.daemon_threads = True
    threading.Thread(target=ftp.serve_forever, daemon=True).start()
    ports.append(ftp.server_address[1])
    ports = "http=%d https=%d untrusted=%d ftp=%d" % tuple(ports)
    tmp = a.port_file + ".tmp"
    with open(tmp, "w") as f:
        f.write(ports + "\n")
    os.replace(tmp, a.port_file)
    try:
        while True:
            time.sleep(3600)
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
