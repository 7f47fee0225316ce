#!/usr/bin/python3
"""Printer simulator for the transport tests: the FTP side of an 8630 printer.

Greets with the model name, accepts user "root" with one password, serves the files
of --root (pr_setup/nvr_all.bin, pr_setup/nvr_nw.bin) and stores uploads there; each
--also-address is one more printer of the same kind, sharing the files. Its
replies use the printer's wording for the transfer and login lines. Prints "ready" on
stdout once it listens; exits with status 3 when the address is taken.

Hostile variants: --refuse-uploads answers every upload with 553, --endless-downloads
sends data without end and no size, --echo-password repeats the password in every reply
after it was sent.
"""
import argparse
import errno
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer

PRINTER_REPLIES = {
    "125": "150 Open data connection.",
    "150": "150 Open data connection.",
    "226": "226 Data connection closed.",
    "530": "530 Login incorrect.",
}


class EndlessProducer(object):
    """Data without end, for a server that never stops sending."""

    def more(self):
        return b"\x00" * 65536


class PrinterHandler(FTPHandler):
    auth_failed_timeout = 0.01
    refuse_uploads = False
    endless_downloads = False
    echo_password = False
    _password = None

    def ftp_PASS(self, line):
        if self.echo_password:
            self._password = line
        super().ftp_PASS(line)

    def ftp_STOR(self, file, mode="w"):
        if self.refuse_uploads:
            self.respond("553 Could not create file.")
            return None
        return super().ftp_STOR(file, mode)

    def ftp_SIZE(self, path):
        if self.endless_downloads:
            self.respond("502 Command not implemented.")
            return
        super().ftp_SIZE(path)

    def ftp_RETR(self, file):
        if not self.endless_downloads:
            return super().ftp_RETR(file)
        self.push_dtp_data(EndlessProducer(), isproducer=True, cmd="RETR")
        return file

    def respond(self, resp, logfun=None):
        resp = PRINTER_REPLIES.get(resp[:3], resp)
        if self._password is not None:
            resp = "%s (password %s)" % (resp, self._password)
        if logfun is None:
            super().respond(resp)
        else:
            super().respond(resp, logfun)


class SlowDTPHandler(DTPHandler):
    """Holds each file's data back for --send-seconds, like a busy printer."""
    send_seconds = 0.0

    def push_with_producer(self, producer):
        time.sleep(self.send_seconds)
        super().push_with_producer(producer)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", required=True)
    parser.add_argument("--also-address", action="append", default=[])
    parser.add_argument("--port", type=int, default=21)
    parser.add_argument("--root", required=True)
    parser.add_argument("--greeting", required=True)
    parser.add_argument("--password", default="")
    parser.add_argument("--send-seconds", type=float, default=0.0)
    parser.add_argument("--refuse-uploads", action="store_true")
    parser.add_argument("--endless-downloads", action="store_true")
    parser.add_argument("--echo-password", action="store_true")
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user("root", args.password, args.root, perm="elradfmw")
    PrinterHandler.authorizer = authorizer
    PrinterHandler.banner = args.greeting
    SlowDTPHandler.send_seconds = args.send_seconds
    PrinterHandler.refuse_uploads = args.refuse_uploads
    PrinterHandler.endless_downloads = args.endless_downloads
    PrinterHandler.echo_password = args.echo_password
    PrinterHandler.dtp_handler = SlowDTPHandler
    try:
        # All servers share one event loop, which the first one runs.
        servers = [FTPServer((address, args.port), PrinterHandler)
                   for address in [args.address] + args.also_address]
    except OSError as error:
        print(error, file=sys.stderr)
        return 3 if error.errno == errno.EADDRINUSE else 1
    print("ready", flush=True)
    servers[0].serve_forever()
    return 0


if __name__ == "__main__":
    sys.exit(main())
