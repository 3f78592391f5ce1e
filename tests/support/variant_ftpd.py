#!/usr/bin/python3
"""pyftpdlib with the few behaviours tests and benchmarks need that no stock server offers.

  --rate BYTES      every data connection sends at most BYTES per second from its start, in
                    pieces of 16 KiB (unlike the stock throttled handler's one-second bursts)
  --cut-after BYTES the data connection of every RETR is closed after BYTES have been sent
                    (the client gets "426"), as long as --cuts allows
  --cuts COUNT      how many data connections are cut in all (default: no limit)
  --refuse NAME     RETR of a file with this base name is answered "550"
  --refusals COUNT  how many times it is refused in all (default: no limit)

It prints the line "starting FTP server on 127.0.0.1:PORT" as `python3 -m pyftpdlib` does.
"""

import argparse
import logging
import os
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer


def make_handlers(options):
    cuts_left = [options.cuts]
    refusals_left = [options.refusals]

    class VariantDTPHandler(DTPHandler):
        ac_out_buffer_size = 65536

        def __init__(self, sock, cmd_channel):
            super().__init__(sock, cmd_channel)
            self._started = time.monotonic()
            self._sent = 0
            self._cut_at = None
            self._sleeping = None

        def use_sendfile(self):
            return not (options.rate or options.cut_after) and super().use_sendfile()

        def _wake(self):
            self._sleeping = None
            if not self._closed:
                self.add_channel(events=self.ioloop.WRITE)

        def send(self, data):
            if self._cut_at is None:
                cut = options.cut_after and self.file_obj is not None and cuts_left[0] != 0
                self._cut_at = options.cut_after if cut else -1
                if cut:
                    cuts_left[0] -= 1
            if self._cut_at >= 0 and self._sent >= self._cut_at:
                self.ioloop.call_later(0, self.handle_close)
                return 0
            allowed = len(data)
            if self._cut_at >= 0:
                allowed = min(allowed, self._cut_at - self._sent)
            if options.rate:
                # No burst: a connection never runs ahead of rate x time since it opened; it
                # sleeps until 16 KiB (or what is left) may go.
                budget = int(options.rate * (time.monotonic() - self._started)) - self._sent
                need = min(allowed, 16384)
                if budget < need:
                    if self._sleeping is None:
                        self.del_channel()
                        self._sleeping = self.ioloop.call_later((need - budget) / options.rate, self._wake)
                    return 0
                allowed = min(allowed, budget)
            sent = super().send(data[:allowed])
            self._sent += sent
            return sent

        def close(self):
            if self._sleeping is not None and not self._sleeping.cancelled:
                self._sleeping.cancel()
            super().close()

    class VariantFTPHandler(FTPHandler):
        dtp_handler = VariantDTPHandler

        def ftp_RETR(self, file):
            if options.refuse and os.path.basename(file) == options.refuse and refusals_left[0] != 0:
                refusals_left[0] -= 1
                self.respond("550 Refused by this test server.")
                return
            return super().ftp_RETR(file)

    return VariantFTPHandler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--dir", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--rate", type=int, default=0)
    parser.add_argument("--cut-after", type=int, default=0)
    parser.add_argument("--cuts", type=int, default=-1)
    parser.add_argument("--refuse", default="")
    parser.add_argument("--refusals", type=int, default=-1)
    options = parser.parse_args()

    config_logging(level=logging.INFO)
    authorizer = DummyAuthorizer()
    authorizer.add_user(options.user, options.password, options.dir, perm="elradfmwMT")
    handler = make_handlers(options)
    handler.authorizer = authorizer
    handler.passive_ports = None
    server = FTPServer(("127.0.0.1", options.port), handler)
    server.max_cons = 512
    server.max_cons_per_ip = 0
    server.serve_forever()


if __name__ == "__main__":
    main()
