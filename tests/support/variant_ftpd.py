#!/usr/bin/python3
"""pyftpdlib with the few behaviours tests and benchmarks need that no stock server offers.

  --rate BYTES      every data connection sends at most BYTES per second from its start, in
                    pieces of 16 KiB (unlike the stock throttled handler's one-second bursts)
  --certfile PEM    TLS required on every login and data connection, with this certificate
                    and key (one file)
  --cut-after BYTES the data connection of every RETR is closed after BYTES have been sent
                    (the client gets "426"), as long as --cuts allows
  --cuts COUNT      how many data connections are cut in all (default: no limit)
  --delay SECONDS   an emulated round trip: every reply, and the first byte of every data
                    transfer, leaves SECONDS after it was due, in order
  --refuse NAME     RETR of a file with this base name is answered "550"
  --refusals COUNT  how many times it is refused in all (default: no limit)

Behaviours of a hostile or broken server, for the client's defences:
  --pwd-lie PREFIX=ANSWER  PWD in a directory below PREFIX answers ANSWER
  --short-data BYTES       every RETR data connection ends after BYTES with "226" all the same
                           (as --cuts allows)
  --ignore-rest            REST is answered "350" but RETR sends from byte 0
  --silent-after WHAT      no answer any more from the greeting on ("connect"), or to the first
                           USER or PASS; or the data connection of LIST (MLSD too) or RETR
                           stops after --stall-at bytes (default 100000), stays open, and no
                           reply follows
  --endless-greeting       "220-" lines without end
  --endless-listing        a LIST or MLSD that never ends
  --drop-after-150 COUNT   the control connection is closed right after the 150 of RETR, COUNT times
  --nul-in-listing         a NUL in the name on the first line of every listing
  --list-size NAME=BYTES   listings give the file NAME this size (SIZE and RETR stay true)
  --same-unique            MLSD gives every entry the same "unique" fact
  --third-party-first      on PORT, another address (127.0.0.2) connects to the client first and
                           sends its own bytes
  --refuse-mlsd            MLSD is "500 not understood" though FEAT names MLST
  --hash                   XMD5 (listed in FEAT) gives a file's MD5; --wrong-hash a wrong one
  --at CMD=WHAT            each CMD (FEAT, SYST, TYPE, ...) is answered by closing the connection
                           ("close"), by "421 Too many connections." and a close ("421"), or
                           not at all, nor anything after it ("silent"); repeatable
  --reply CMD=TEXT         each CMD is answered with the line TEXT as it stands ("connect" for
                           the greeting); CMD may be a whole command line ("CWD /a"); repeatable
  --anonymous              "anonymous" (and "ftp") log in too, with any password, to the same tree
  --port-answered-at-once  PORT is answered "200" when it comes, as vsftpd, proftpd and pure-ftpd
                           do, not once the data connection to the client is made
  --drop-pipelined         with --delay: a command that comes less than half the delay after the
                           one before (sent without waiting for its reply) is dropped unanswered

Without options it is stock pyftpdlib but for one mend: pyftpdlib 1.5.7 keeps the connector
of an active data connection after handing its socket on, and closes it again at the session's
next PORT, unregistering a descriptor number that by then may be another session's command
connection, whose commands are never read again.

It prints the line "starting FTP server on 127.0.0.1:PORT" as `python3 -m pyftpdlib` does.
"""

import argparse
import collections
import hashlib
import logging
import os
import re
import socket
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import ActiveDTP, DTPHandler, FTPHandler, TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer


def make_handlers(options):
    cuts_left = [options.cuts]
    refusals_left = [options.refusals]
    drops_left = [options.drop_after_150]
    actions = dict(one.split("=", 1) for one in options.at)
    replies = dict(one.split("=", 1) for one in options.reply)

    class VariantDTPHandler(TLS_DTPHandler if options.certfile else DTPHandler):
        ac_out_buffer_size = 65536

        def __init__(self, sock, cmd_channel):
            super().__init__(sock, cmd_channel)
            self._started = time.monotonic()
            self._sent = 0
            self._cut_at = None
            self._sleeping = None
            self._due = None  # with --delay: when the first byte may go

        def use_sendfile(self):
            return not (options.delay or options.rate or options.cut_after or options.short_data or options.silent_after) and \
                super().use_sendfile()

        def _wake(self):
            self._sleeping = None
            if not self._closed:
                self.add_channel(events=self.ioloop.WRITE)

        def send(self, data):
            if options.delay:
                if self._due is None:
                    self._due = time.monotonic() + options.delay
                if time.monotonic() < self._due:
                    if self._sleeping is None:
                        self.del_channel()
                        self._sleeping = self.ioloop.call_later(self._due - time.monotonic(), self._wake)
                    return 0
            if getattr(self.cmd_channel, "stalling", False) and self._sent >= options.stall_at:
                # Stalled: the connection stays open, nothing more comes, no reply follows.
                if self._sleeping is None:
                    self.del_channel()
                    self._sleeping = self.ioloop.call_later(3600, self._wake)
                return 0
            if options.short_data and self.file_obj is not None and self._sent >= options.short_data \
                    and cuts_left[0] != 0:
                # Ends early and calls it complete.
                cuts_left[0] -= 1
                self.transfer_finished = True
                self._resp = ("226 Transfer complete.", logging.debug)
                self.ioloop.call_later(0, self.close)
                return 0
            if options.short_data and self.file_obj is not None and cuts_left[0] != 0:
                data = data[:options.short_data - self._sent]
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

    class VariantActiveDTP(ActiveDTP):
        def handle_connect(self):
            try:
                return self._connected()
            finally:
                # Its socket belongs to the data channel now: nothing may close it from here.
                if self.cmd_channel._dtp_connector is self:
                    self.cmd_channel._dtp_connector = None

        def _connected(self):
            if not options.port_answered_at_once:
                return super().handle_connect()
            # PORT was answered when it came: the connection's own "200" is not sent.
            channel = self.cmd_channel
            respond = channel.respond
            channel.respond = lambda resp, logfun=logging.debug: None if resp.startswith("200 ") else respond(resp, logfun)
            try:
                super().handle_connect()
            finally:
                del channel.respond

    class EndlessListing(object):
        line = b"-rw-r--r--   1 owner    group        1000 Jan 01  2020 file%d.bin\r\n"

        def __init__(self):
            self.count = 0

        def more(self):
            self.count += 1
            return b"".join(self.line % (self.count * 1000 + k) for k in range(1000))

    proto_cmds = dict((TLS_FTPHandler if options.certfile else FTPHandler).proto_cmds)
    if options.hash or options.wrong_hash:
        proto_cmds["XMD5"] = dict(perm="r", auth=True, arg=True, help="Syntax: XMD5 <SP> file-name")

    class VariantFTPHandler(TLS_FTPHandler if options.certfile else FTPHandler):
        dtp_handler = VariantDTPHandler
        active_dtp = VariantActiveDTP

        def __init__(self, *args, **kwargs):
            super().__init__(*args, **kwargs)
            self.proto_cmds = proto_cmds
            if options.hash or options.wrong_hash:
                self._extra_feats = self._extra_feats + ["XMD5"]

        def push(self, data):
            if not options.delay:
                return super().push(data)
            # Replies wait in order; each leaves once its round trip has passed.
            if not hasattr(self, "_delayed"):
                self._delayed = collections.deque()
            self._delayed.append((time.monotonic() + options.delay, data))
            self.ioloop.call_later(options.delay, self._push_due)

        def _push_due(self):
            while self._delayed and self._delayed[0][0] <= time.monotonic() + 0.0005:
                data = self._delayed.popleft()[1]
                if not self._closed:
                    super().push(data)

        def found_terminator(self):
            if options.drop_pipelined:
                now = time.monotonic()
                early = now - getattr(self, "_last_command", 0) < options.delay / 2
                self._last_command = now
                if early:
                    self._in_buffer = []
                    self._in_buffer_len = 0
                    return
            super().found_terminator()

        def handle(self):
            if "connect" in replies:
                self.on_connect()
                self.push(replies["connect"] + "\r\n")
                return
            if options.silent_after == "connect":
                self.on_connect()
                return
            if options.endless_greeting:
                self.on_connect()
                self._greet()
                return
            super().handle()

        def _greet(self):
            if self._closed:
                return
            self.push("".join("220-Welcome, line after line, without end\r\n" for _ in range(100)))
            self.ioloop.call_later(0.001, self._greet)

        def pre_process_command(self, line, cmd, arg):
            if options.silent_after == cmd and cmd in ("USER", "PASS"):
                return  # never answered
            if getattr(self, "_silent", False):
                return  # fallen silent: nothing is answered any more
            if cmd in actions:
                if actions[cmd] == "421":
                    self.respond("421 Too many connections.")
                    self.close_when_done()
                elif actions[cmd] == "close":
                    self.close()
                else:
                    self._silent = True
                return
            reply = replies.get(line, replies.get(cmd))
            if reply is not None:
                self.push(reply + "\r\n")
                return
            return super().pre_process_command(line, cmd, arg)

        def ftp_PWD(self, line):
            if options.pwd_lie:
                prefix, answer = options.pwd_lie.split("=", 1)
                if self.fs.cwd.startswith(prefix):
                    self.respond('257 "%s" is the current directory.' % answer)
                    return
            return super().ftp_PWD(line)

        def ftp_PORT(self, line):
            if options.port_answered_at_once:
                self.respond("200 PORT command successful.")
            if options.third_party_first:
                try:
                    numbers = [int(x) for x in line.split(",")]
                    address = ("%d.%d.%d.%d" % tuple(numbers[:4]), numbers[4] * 256 + numbers[5])
                    stranger = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
                    stranger.settimeout(2)
                    stranger.bind(("127.0.0.2", 0))
                    stranger.connect(address)
                    stranger.sendall(b"NOT THE SERVER'S BYTES " * 4000)
                    stranger.close()
                except (OSError, ValueError, IndexError):
                    pass
            return super().ftp_PORT(line)

        def ftp_LIST(self, path):
            if self._hostile_listing(path, "LIST", self.fs.format_list):
                return path
            return super().ftp_LIST(path)

        def ftp_MLSD(self, path):
            if options.refuse_mlsd:
                self.respond('500 Command "MLSD" not understood.')
                return None
            def format_mlsx(basedir, listing):
                perms = self.authorizer.get_perms(self.username)
                return self.fs.format_mlsx(basedir, listing, perms, self._current_facts)
            if self._hostile_listing(path, "MLSD", format_mlsx):
                return path
            return super().ftp_MLSD(path)

        # The listing options, for LIST and MLSD alike; false when the stock listing goes on.
        def _hostile_listing(self, path, cmd, format_lines):
            self.stalling = options.silent_after == "LIST"
            if options.endless_listing:
                self.push_dtp_data(EndlessListing(), isproducer=True, cmd=cmd)
                return True
            if not (options.nul_in_listing or options.list_size or options.same_unique):
                return False
            try:
                listing = self.run_as_current_user(self.fs.listdir, path)
                listing.sort()
                lines = [line if isinstance(line, bytes) else line.encode("utf8")
                         for line in format_lines(path, listing)]
            except (OSError, ValueError) as err:
                self.respond("550 %s." % err)
                return True
            if lines and options.nul_in_listing:
                first = lines[0]  # "...a.bin\r\n" becomes "...a.b\0in\r\n"
                lines[0] = first[:-4] + b"\0" + first[-4:]
            if options.list_size:
                name, size = options.list_size.encode().split(b"=", 1)
                named = [line.endswith(b" " + name + b"\r\n") for line in lines]
                lines = [re.sub(rb"^(\S+\s+\d+\s+\S+\s+\S+\s+)\d+", rb"\g<1>" + size,
                                re.sub(rb"size=\d+;", b"size=" + size + b";", line)) if mine else line
                         for line, mine in zip(lines, named)]
            if options.same_unique:
                lines = [re.sub(rb"unique=[^;]*;", b"unique=1;", line) for line in lines]
            self.push_dtp_data(b"".join(lines), cmd=cmd)
            return True

        def ftp_RETR(self, file):
            if options.refuse and os.path.basename(file) == options.refuse and refusals_left[0] != 0:
                refusals_left[0] -= 1
                self.respond("550 Refused by this test server.")
                return
            if options.ignore_rest:
                self._restart_position = 0
            self.stalling = options.silent_after == "RETR"
            result = super().ftp_RETR(file)
            if drops_left[0] != 0:
                drops_left[0] -= 1
                self.ioloop.call_later(0.05, self.close)
            return result

        def ftp_XMD5(self, path):
            try:
                with open(path, "rb") as file:
                    digest = hashlib.md5(file.read()).hexdigest()
            except OSError as err:
                self.respond("550 %s." % err)
                return
            if options.wrong_hash:
                digest = "0" * 32
            self.respond("250 " + digest)

    return VariantFTPHandler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--dir", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--rate", type=int, default=0)
    parser.add_argument("--delay", type=float, default=0)
    parser.add_argument("--certfile", default="")
    parser.add_argument("--cut-after", type=int, default=0)
    parser.add_argument("--cuts", type=int, default=-1)
    parser.add_argument("--refuse", default="")
    parser.add_argument("--refusals", type=int, default=-1)
    parser.add_argument("--pwd-lie", default="")
    parser.add_argument("--short-data", type=int, default=0)
    parser.add_argument("--ignore-rest", action="store_true")
    parser.add_argument("--silent-after", default="")
    parser.add_argument("--stall-at", type=int, default=100000)
    parser.add_argument("--endless-greeting", action="store_true")
    parser.add_argument("--endless-listing", action="store_true")
    parser.add_argument("--drop-after-150", type=int, default=0)
    parser.add_argument("--nul-in-listing", action="store_true")
    parser.add_argument("--list-size", default="")
    parser.add_argument("--same-unique", action="store_true")
    parser.add_argument("--third-party-first", action="store_true")
    parser.add_argument("--refuse-mlsd", action="store_true")
    parser.add_argument("--hash", action="store_true")
    parser.add_argument("--wrong-hash", action="store_true")
    parser.add_argument("--drop-pipelined", action="store_true")
    parser.add_argument("--at", action="append", default=[])
    parser.add_argument("--reply", action="append", default=[])
    parser.add_argument("--anonymous", action="store_true")
    parser.add_argument("--port-answered-at-once", action="store_true")
    options = parser.parse_args()

    config_logging(level=logging.INFO)
    authorizer = DummyAuthorizer()
    authorizer.add_user(options.user, options.password, options.dir, perm="elradfmwMT")
    if options.anonymous:
        authorizer.add_anonymous(options.dir)
    handler = make_handlers(options)
    handler.authorizer = authorizer
    if options.certfile:
        handler.certfile = options.certfile
        handler.tls_control_required = True
        handler.tls_data_required = True
    handler.passive_ports = None
    server = FTPServer((options.host, options.port), handler)
    server.max_cons = 512
    server.max_cons_per_ip = 0
    server.serve_forever()


if __name__ == "__main__":
    main()
