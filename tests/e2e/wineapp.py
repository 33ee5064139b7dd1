"""Drives a Windows GUI program under Wine for end-to-end tests.

The test session (display, sound server, warm wineserver) is the one that
cmake/wine-server.sh starts for a CTest run; run standalone, WineSession
starts and stops one of its own. Everything waits for conditions with a
deadline, and every process started here is ended on close.
"""
import os
import shutil
import signal
import struct
import subprocess
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CMAKE_DIR = os.path.join(ROOT, "cmake")


class Timeout(AssertionError):
    pass


def wait_until(predicate, timeout, interval=0.05, what="condition"):
    """Polls predicate until it returns something truthy; returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Timeout("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def _read_env_file(path):
    env = {}
    if os.path.exists(path):
        with open(path) as f:
            for line in f:
                line = line.strip()
                if line.startswith("export ") and "=" in line:
                    key, value = line[len("export "):].split("=", 1)
                    env[key] = value
    return env


class WineSession:
    """The Wine prefix, display and sound server that test programs run in."""

    def __init__(self):
        self.prefix = os.environ.get("VELMORIN_WINEPREFIX") or os.environ.get("WINEPREFIX") \
            or os.path.expanduser("~/.velmorin-wine")
        self.session_dir = os.path.join(self.prefix, "velmorin-session")
        self.owned = False
        env_file = os.path.join(self.session_dir, "env")
        if not os.path.exists(env_file):
            self._server("start")
            self.owned = True
        self.env = dict(os.environ)
        self.env.update({
            "WINEPREFIX": self.prefix,
            "WINEDEBUG": os.environ.get("WINEDEBUG", "-all"),
            "LANG": "ja_JP.UTF-8",
            "LC_ALL": "ja_JP.UTF-8",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
        })
        self.env.update(_read_env_file(env_file))

    def _server(self, action):
        env = dict(os.environ, VELMORIN_WINEPREFIX=self.prefix)
        subprocess.run([os.path.join(CMAKE_DIR, "wine-server.sh"), action], env=env, check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def close(self):
        if self.owned:
            self._server("stop")
            self.owned = False

    def run(self, args, **kwargs):
        return subprocess.run(args, env=self.env, **kwargs)

    def xdotool(self, *args):
        out = subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        return out.stdout.strip() if out.returncode == 0 else None

    def windows(self, name):
        """Visible X windows whose title matches the regular expression name."""
        found = self.xdotool("search", "--onlyvisible", "--name", name)
        return found.split() if found else []

    def geometry(self, window):
        """(x, y, width, height) of an X window in screen coordinates."""
        out = self.xdotool("getwindowgeometry", "--shell", window)
        if not out:
            return None
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def mouse_location(self):
        out = self.xdotool("getmouselocation", "--shell")
        if not out:
            return None
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"])

    def move_mouse(self, x, y):
        # --sync waits for the pointer to move, which it never does when it is
        # already there.
        if self.mouse_location() != (x, y):
            self.xdotool("mousemove", "--sync", x, y)

    def click(self, x, y, button=1):
        self.move_mouse(x, y)
        self.xdotool("click", button)

    def press(self, x, y, button=1):
        self.move_mouse(x, y)
        self.xdotool("mousedown", button)

    def release(self, button=1):
        self.xdotool("mouseup", button)

    def key(self, *keys):
        self.xdotool("key", *keys)

    def screenshot(self, path, region=None):
        """Saves the screen (or the (x, y, w, h) region of it) as a PNG."""
        args = ["import", "-window", "root"]
        if region:
            x, y, w, h = region
            args += ["-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage"]
        subprocess.run(args + [path], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path

    def pixels(self, region):
        """The RGB pixels of a screen region as rows of (r, g, b) tuples."""
        x, y, w, h = region
        raw = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                              "+repage", "-depth", "8", "rgb:-"], env=self.env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True).stdout
        rows = []
        for r in range(h):
            row = raw[r * w * 3:(r + 1) * w * 3]
            rows.append([tuple(row[i:i + 3]) for i in range(0, len(row), 3)])
        return rows


class WineProgram:
    """One Windows program started under Wine, ended (with its children) on close."""

    def __init__(self, session, exe, args=(), cwd=None, debug=None, log_dir=None):
        self.session = session
        env = dict(session.env)
        if debug:
            env["WINEDEBUG"] = debug
        self.log_dir = log_dir or tempfile.mkdtemp(prefix="velmorin-e2e-")
        self.stdout_path = os.path.join(self.log_dir, "stdout.log")
        self.stderr_path = os.path.join(self.log_dir, "stderr.log")
        self._stdout = open(self.stdout_path, "wb")
        self._stderr = open(self.stderr_path, "wb")
        self.process = subprocess.Popen(["wine", exe] + list(args), cwd=cwd, env=env,
                                        stdin=subprocess.DEVNULL, stdout=self._stdout,
                                        stderr=self._stderr, start_new_session=True)

    def stderr(self):
        self._stderr.flush()
        with open(self.stderr_path, "rb") as f:
            return f.read()

    def stdout(self):
        self._stdout.flush()
        with open(self.stdout_path, "rb") as f:
            return f.read()

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout):
        return self.process.wait(timeout=timeout)

    def close(self):
        if self.process.poll() is None:
            try:
                os.killpg(self.process.pid, signal.SIGTERM)
                self.process.wait(timeout=5)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                try:
                    os.killpg(self.process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                self.process.wait(timeout=5)
        self._stdout.close()
        self._stderr.close()


class SoundCapture:
    """Records what is played into the session's null sink, as 16-bit PCM."""

    RATE = 44100
    CHANNELS = 2

    def __init__(self, session, path):
        self.path = path
        self._file = open(path, "wb")
        self.started_at = time.monotonic()
        self.process = subprocess.Popen(
            ["parec", "-d", "vsink.monitor", "--raw", "--format=s16le", "--rate=%d" % self.RATE,
             "--channels=%d" % self.CHANNELS, "--latency-msec=20"],
            env=session.env, stdin=subprocess.DEVNULL, stdout=self._file, stderr=subprocess.DEVNULL,
            start_new_session=True)

    def samples(self):
        """Left-channel samples recorded so far."""
        self._file.flush()
        with open(self.path, "rb") as f:
            data = f.read()
        frames = len(data) // (2 * self.CHANNELS)
        values = struct.unpack("<%dh" % (frames * self.CHANNELS), data[:frames * 2 * self.CHANNELS])
        return values[0::self.CHANNELS]

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=5)
        self._file.close()


def goertzel_power(samples, frequency, rate=SoundCapture.RATE):
    """Relative power of one frequency in a block of samples."""
    import math
    k = 2.0 * math.cos(2.0 * math.pi * frequency / rate)
    s_prev = s_prev2 = 0.0
    for x in samples:
        s = x + k * s_prev - s_prev2
        s_prev2, s_prev = s_prev, s
    return (s_prev2 * s_prev2 + s_prev * s_prev - k * s_prev * s_prev2) / max(1, len(samples)) ** 2


def rms(samples):
    import math
    if not samples:
        return 0.0
    return math.sqrt(sum(x * x for x in samples) / len(samples))


def copy_program(build_dir, files, dest):
    """Copies the built program and the files it keeps beside it into dest."""
    for f in files:
        src = f if os.path.isabs(f) else os.path.join(build_dir, f)
        shutil.copy2(src, dest)
