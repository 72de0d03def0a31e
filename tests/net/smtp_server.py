# The SMTP peer of the mail tests: aiosmtpd on a free port of 127.0.0.1, printing that port as
# its first line. Every message it accepts is recorded byte for byte in RECORD/<n>.eml with its
# envelope in RECORD/<n>.env ("MAIL FROM" then one "RCPT TO" a line) and delivered into the
# Maildir MAILDIR, where the POP3 server hands it out. A message holding the header line
# "X-Reject: yes" is refused after its data with 554.
import asyncio
import os
import socket
import sys

from aiosmtpd.smtp import SMTP

record_dir, maildir = sys.argv[1], sys.argv[2]


class Recorder:
    def __init__(self):
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        content = envelope.original_content or b""
        if b"\r\nX-Reject: yes\r\n" in b"\r\n" + content:
            return "554 5.6.0 message refused"
        self.count += 1
        name = "%03d" % self.count
        with open(os.path.join(record_dir, name + ".env.tmp"), "w") as env:
            env.write(envelope.mail_from + "\n")
            for rcpt in envelope.rcpt_tos:
                env.write(rcpt + "\n")
        with open(os.path.join(record_dir, name + ".eml"), "wb") as raw:
            raw.write(content)
        tmp = os.path.join(maildir, "tmp", "smtp-" + name)
        with open(tmp, "wb") as mail:
            mail.write(content)
        os.chmod(tmp, 0o644)
        os.rename(tmp, os.path.join(maildir, "new", "smtp-" + name))
        # The envelope file last: its name tells a reader that the message is complete.
        os.rename(os.path.join(record_dir, name + ".env.tmp"), os.path.join(record_dir, name + ".env"))
        return "250 OK"


def main():
    sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    sock.bind(("127.0.0.1", 0))
    sock.listen(16)
    loop = asyncio.new_event_loop()
    handler = Recorder()
    server = loop.run_until_complete(
        loop.create_server(lambda: SMTP(handler, hostname="mail.test", loop=loop), sock=sock))
    print(sock.getsockname()[1], flush=True)
    try:
        loop.run_forever()
    finally:
        server.close()


if __name__ == "__main__":
    main()
