# An FTP server for the FTP client tests (pyftpdlib), on 127.0.0.1 at a free port it prints first.
# Arguments: the root folder, then "unix", "odd", "tree" or "loop".
#   unix: user "user" with password "secret" may do everything; listings in the Unix form.
#   odd:  the same user, but listings in the DOS form, a PASV reply that names another address
#         (10.0.0.1) than the one it listens on, and REST refused.
#   tree: links are listed as the folders they lead to, so a root whose links lead back to itself
#         is a tree without end (/a, /a/b, /a/b/c...); each connection may list 300 times.
#   loop: as tree, but a folder is named by where it really is, so every link leads back to "/".
import os
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
import logging

logging.basicConfig(level=logging.WARNING)


class DosFS(AbstractedFS):
    def format_list(self, basedir, listing, ignore_err=True):
        for name in listing:
            path = basedir + "/" + name
            try:
                st = self.lstat(path)
            except OSError:
                if ignore_err:
                    continue
                raise
            stamp = time.strftime("%m-%d-%y  %I:%M%p", time.localtime(st.st_mtime))
            kind = "<DIR>" if self.isdir(path) else "%d" % st.st_size
            yield ("%s  %14s %s\r\n" % (stamp, kind, name)).encode("utf8", self.cmd_channel.unicode_errors)


class OddHandler(FTPHandler):
    abstracted_fs = DosFS
    masquerade_address = "10.0.0.1"

    def ftp_REST(self, line):
        self.respond("502 REST not implemented here.")


class LinksAsFoldersFS(AbstractedFS):
    def lstat(self, path):
        return os.stat(path)


class RealNamesFS(LinksAsFoldersFS):
    def chdir(self, path):
        os.chdir(path)
        self.cwd = self.fs2ftp(os.path.realpath(path))


class TreeHandler(FTPHandler):
    abstracted_fs = LinksAsFoldersFS
    listings = 0

    def ftp_LIST(self, path):
        # A client that never stops listing is refused rather than served for ever.
        self.listings += 1
        if self.listings > 300:
            self.respond("550 No more listings on this connection.")
            return
        return FTPHandler.ftp_LIST(self, path)


class LoopHandler(TreeHandler):
    abstracted_fs = RealNamesFS


root, mode = os.path.realpath(sys.argv[1]), sys.argv[2]
authorizer = DummyAuthorizer()
authorizer.add_user("user", "secret", root, perm="elradfmwMT")
handler = {"odd": OddHandler, "tree": TreeHandler, "loop": LoopHandler}.get(mode, FTPHandler)
handler.authorizer = authorizer
handler.banner = "ready"
handler.auth_failed_timeout = 0  # a wrong password is answered at once
server = FTPServer(("127.0.0.1", 0), handler)
print(server.socket.getsockname()[1], flush=True)
sys.stdout.close()
server.serve_forever()
