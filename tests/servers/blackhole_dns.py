"""A name server that takes every query and answers none, on a loopback
address, and the command prefix that runs a program with it as its only name
server: a private mount namespace whose /etc/resolv.conf names it. So a name
look-up hangs for as long as the resolver waits, and no packet leaves the
machine. The prefix needs root (unshare and mount); usable() says whether it
works here.

    with BlackholeDns(resolver_timeout=2) as dns:
        subprocess.run(dns.prefix() + ["wine", "probe.exe", "http://never-answers.velmorin.test/"])
"""
import os
import socket
import subprocess
import tempfile
import threading

ADDRESS = "127.0.0.153"
NAME = "never-answers.velmorin.test"


class BlackholeDns:
    def __init__(self, resolver_timeout=30):
        self.sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.sock.bind((ADDRESS, 53))
        self.sock.settimeout(0.2)
        self.queries = 0
        self._done = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)
        self._thread.start()
        with tempfile.NamedTemporaryFile("w", prefix="velmorin-resolv-", delete=False) as f:
            f.write("nameserver %s\noptions timeout:%d attempts:1\n" % (ADDRESS, resolver_timeout))
            self.resolv = f.name

    def _run(self):
        while not self._done.is_set():
            try:
                self.sock.recvfrom(2048)
                self.queries += 1
            except socket.timeout:
                pass
            except OSError:
                return

    def prefix(self):
        return ["unshare", "-m", "--propagation", "private", "sh", "-c",
                'mount --bind "$0" /etc/resolv.conf && exec "$@"', self.resolv]

    def usable(self):
        return subprocess.run(self.prefix() + ["true"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0

    def close(self):
        self._done.set()
        self._thread.join(2)
        self.sock.close()
        if os.path.exists(self.resolv):
            os.unlink(self.resolv)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
