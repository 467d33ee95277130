#!/usr/bin/env python3
"""Loopback HTTP and HTTPS peer for the Windows build's download test under Wine.

wine_http_server.py CERT_DIR PORT_FILE: serves a few fixed resources on 127.0.0.1, plain, TLS
(with CERT_DIR/server.pem and server.key) and TLS asking for an optional client certificate;
writes "PLAIN_PORT TLS_PORT CLIENT_CERT_PORT" to PORT_FILE once all listen, and runs until it is
terminated.
"""
import http.server
import os
import ssl
import sys
import threading

BIG = bytes((i * 7 + i // 251) & 0xFF for i in range(1 << 20))


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send_body(self, body, content_type="application/octet-stream"):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        self.close_connection = True
        if self.path == "/hello.txt":
            self.send_body(b"hello from the host\n", "text/plain")
        elif self.path == "/big.bin":
            self.send_body(BIG)
        elif self.path == "/chunked":
            self.send_response(200)
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            for piece in (b"5;x=1\r\nhello\r\n", b"6\r\n", b" world\r\n", b"0\r\n\r\n"):
                self.wfile.write(piece)
                self.wfile.flush()
        elif self.path == "/redirect":
            self.send_response(302)
            self.send_header("Location", "hello.txt")
            self.send_header("Content-Length", "0")
            self.end_headers()
        else:
            self.send_response(404)
            self.send_header("Content-Length", "0")
            self.end_headers()


def serve(server):
    threading.Thread(target=server.serve_forever, daemon=True).start()


def main():
    cert_dir, port_file = sys.argv[1], sys.argv[2]
    plain = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    secure = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(f"{cert_dir}/server.pem", f"{cert_dir}/server.key")
    secure.socket = context.wrap_socket(secure.socket, server_side=True)
    asking = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    asking_context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    asking_context.load_cert_chain(f"{cert_dir}/server.pem", f"{cert_dir}/server.key")
    asking_context.load_verify_locations(f"{cert_dir}/ca.pem")
    asking_context.verify_mode = ssl.CERT_OPTIONAL
    asking.socket = asking_context.wrap_socket(asking.socket, server_side=True)
    serve(plain)
    serve(secure)
    serve(asking)
    with open(port_file + ".new", "w") as f:
        f.write(f"{plain.server_address[1]} {secure.server_address[1]} {asking.server_address[1]}\n")
    # Renamed into place so that the reader never sees half a line.
    os.replace(port_file + ".new", port_file)
    threading.Event().wait()


if __name__ == "__main__":
    main()
