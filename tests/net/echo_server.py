"""A small HTTP/1.0 server for the HTTP client tests.

POST and PUT answer with the method, the path, the Content-Type and Content-Length they got and the
body; GET answers with the request line and the header lines as they arrived. It binds a free port
on 127.0.0.1 and prints that port on one line once it accepts connections.
"""
import http.server
import os
import sys


class EchoHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, format, *args):
        pass

    def answer(self, text):
        data = text.encode("utf-8", "surrogateescape")
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def echo_body(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length).decode("utf-8", "surrogateescape")
        self.answer("%s %s\n%s|%s\n%s" % (self.command, self.path, self.headers.get("Content-Type", ""),
                                          self.headers.get("Content-Length", ""), body))

    do_POST = echo_body
    do_PUT = echo_body

    def do_GET(self):
        self.answer(self.requestline + "\n" + "".join("%s: %s\n" % (k, v) for k, v in self.headers.items()))


server = http.server.HTTPServer(("127.0.0.1", 0), EchoHandler)
os.write(1, b"%d\n" % server.server_address[1])
os.close(1)
server.serve_forever()
