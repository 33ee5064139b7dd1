"""Drives a Windows GUI program under Wine for end-to-end tests.

The test session (display, sound server, warm wineserver) is the one that
cmake/wine-server.sh starts for a CTest run; run standalone, WineSession
starts and stops one of its own. Everything waits for conditions with a
deadline, and every process started here is ended on close.
"""
import ctypes
import os
import shutil
import signal
import subprocess
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CMAKE_DIR = os.path.join(ROOT, "cmake")


def _start_wine_without_randomization():
    """Debian's Wine loader sits at a fixed address just below 2 GB, and the
    kernel starts its heap anywhere in the gigabyte above it. About one start
    in five thousand the heap covers the page every Wine process maps at
    0x7ffe0000, and that process ends at once with exit code 1 ("failed to
    map the shared user data"): a test fails for no fault of the program.
    Every process started from here inherits this personality, so its heap
    starts right after the loader."""
    addr_no_randomize = 0x0040000
    personality = ctypes.CDLL(None, use_errno=True).personality
    personality.argtypes = [ctypes.c_ulong]
    current = personality(0xFFFFFFFF)  # reads without changing
    if current != -1:
        personality(current | addr_no_randomize)


_start_wine_without_randomization()


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


def session_env():
    """The environment of the Windows programs that the tests run, as
    cmake/wine-env.sh sets it for the shell scripts: the prefix, code page
    932, and the display and sound server of the session, once one runs."""
    out = subprocess.run(["sh", "-c", '. "$0"; env', os.path.join(CMAKE_DIR, "wine-env.sh")],
                         check=True, capture_output=True, text=True).stdout
    env = {}
    for line in out.splitlines():
        key, sep, value = line.partition("=")
        if sep:
            env[key] = value
    return env


class WineSession:
    """The Wine prefix, display and sound server that test programs run in."""

    def __init__(self):
        self.env = session_env()
        self.prefix = self.env["WINEPREFIX"]
        self.owned = False
        if not os.path.exists(os.path.join(self.prefix, "velmorin-session", "env")):
            self._server("start")
            self.owned = True
            self.env = session_env()

    def _server(self, action):
        env = dict(os.environ, WINEPREFIX=self.prefix)
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


def copy_program(build_dir, files, dest):
    """Copies the built program and the files it keeps beside it into dest."""
    for f in files:
        src = f if os.path.isabs(f) else os.path.join(build_dir, f)
        shutil.copy2(src, dest)
