"""A bench program under Wine, its output lines stamped as they arrive."""

import os
import subprocess
import threading
import time


class Program:
    """A Windows program under Wine whose output lines are stamped on arrival."""

    def __init__(self, env, argv, prefix=()):
        self.lines = []
        self.proc = subprocess.Popen(list(prefix) + ["wine"] + argv, env=env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, start_new_session=True)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for raw in self.proc.stdout:
            self.lines.append((time.monotonic(), raw.decode("ascii", "replace").strip()))

    def wait(self, timeout):
        try:
            return self.proc.wait(timeout)
        finally:
            if self.proc.poll() is None:
                os.killpg(self.proc.pid, 9)
                self.proc.wait(5)
            self.reader.join(5)

    def first(self, prefix):
        return next(((t, line) for t, line in self.lines if line.startswith(prefix)), None)
