#!/usr/bin/python3
"""FTP server on 127.0.0.1 for the download tests (Debian's pyftpdlib).

Prints "PORT <n>" on its first line once it listens, then serves until killed.

  --user U --password P --root DIR   the one account and the folder it sees
  --refuse-dir NAME                  CWD into NAME is refused with 550
  --refuse-login                     every login is refused with 530
  --cut-after N                      RETR closes the data connection after N bytes
  --silent                           accept connections and never answer
"""
import argparse
import socket
import sys

parser = argparse.ArgumentParser()
parser.add_argument("--user", default="velistro")
parser.add_argument("--password", default="")
parser.add_argument("--root", default=".")
parser.add_argument("--refuse-dir", default=None)
parser.add_argument("--refuse-login", action="store_true")
parser.add_argument("--cut-after", type=int, default=-1)
parser.add_argument("--silent", action="store_true")
args = parser.parse_args()


def announce(port):
    sys.stdout.write("PORT %d\n" % port)
    sys.stdout.flush()


if args.silent:
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    announce(listener.getsockname()[1])
    held = []
    while True:
        conn, _ = listener.accept()
        held.append(conn)  # keep it open, say nothing

from pyftpdlib.authorizers import DummyAuthorizer, AuthenticationFailed
from pyftpdlib.handlers import FTPHandler, DTPHandler
from pyftpdlib.servers import FTPServer


class Authorizer(DummyAuthorizer):
    def validate_authentication(self, username, password, handler):
        if args.refuse_login:
            raise AuthenticationFailed("Login refused.")
        DummyAuthorizer.validate_authentication(self, username, password, handler)


class CutDTP(DTPHandler):
    """Sends at most --cut-after bytes, then drops the data connection."""

    def send(self, data):
        left = args.cut_after - self.tot_bytes_sent
        if left <= 0:
            self.handle_close()
            return 0
        return DTPHandler.send(self, data[:left])


class Handler(FTPHandler):
    use_sendfile = False
    auth_failed_timeout = 0.1

    def ftp_CWD(self, path):
        if args.refuse_dir and path.rstrip("/").split("/")[-1] == args.refuse_dir:
            self.respond("550 Permission denied.")
            return
        return FTPHandler.ftp_CWD(self, path)


authorizer = Authorizer()
authorizer.add_user(args.user, args.password, args.root, perm="elr")
Handler.authorizer = authorizer
Handler.passive_ports = None
Handler.masquerade_address = None
if args.cut_after >= 0:
    Handler.dtp_handler = CutDTP

import logging
logging.basicConfig(level=logging.CRITICAL)

server = FTPServer(("127.0.0.1", 0), Handler)
announce(server.socket.getsockname()[1])
server.serve_forever()
