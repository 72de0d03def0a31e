"""A stand-in ranking server for the host-object and game tests.

Every POST is recorded as one line "METHOD PATH<tab>Content-Type<tab>body" in the file named by the
first argument (backslashes, CR and LF in the body written as \\, \r and \n). Every request is
answered with the same short plain-text reply, without Date and Server lines, so the status lines a
client logs are the same from run to run. It binds a free port on 127.0.0.1 and prints that port on
one line once it accepts connections.
"""
import http.server
import os
import sys

REPLY = b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 3\r\n\r\nok\n"


class RankingHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, format, *args):
        pass

    def reply(self):
        self.wfile.write(REPLY)

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length).decode("utf-8", "surrogateescape")
        body = body.replace("\\", "\\\\").replace("\r", "\\r").replace("\n", "\\n")
        line = "%s %s\t%s\t%s\n" % (self.command, self.path, self.headers.get("Content-Type", ""), body)
        with open(sys.argv[1], "a", encoding="utf-8", errors="surrogateescape") as log:
            log.write(line)
        self.reply()

    do_GET = reply
    do_HEAD = reply


server = http.server.HTTPServer(("127.0.0.1", 0), RankingHandler)
os.write(1, b"%d\n" % server.server_address[1])
os.close(1)
server.serve_forever()
