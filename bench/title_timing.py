#!/usr/bin/env python3
"""When the bar shows a title against when its song is heard, under Wine.

    bench/title_timing.py [--seconds S] [--build-dir DIR]

A local 128 kbit/s ICY station plays songs of 3.312 s, each a tone of its
own (tests/servers/make_media.py's songs_48k_128.mp3), whose titles sit
exactly at each song's first frame (every sixth metadata point), which falls
anywhere within a half-second block of the ring. The real Velmorin.exe plays it
at 1 s and 5 s play buffers while the null sink is recorded.

  shown: the first time the bar draws the title (Wine's +text trace of
         DrawTextExW, read from a pipe and stamped on arrival);
  heard: where the recording turns from the song before's tone to the
         song's own (the mid-point of a 5 ms window whose two tone powers
         are equal, found to half a millisecond).

Both are on CLOCK_MONOTONIC (Python's time.monotonic): trace lines are
stamped as they arrive, and the recording's sample clock is tied to it by
the earliest-arrival bound of its chunks (a chunk cannot arrive before its
last sample was played), whose spread is printed as the clock's
uncertainty. Prints shown - heard per title, and the largest magnitude,
against the 50 ms goal and the half-second block of the ring.

Builds build/mingw (Velmorin.exe, bar_remote.exe) unless --build-dir names
another build; set VELMORIN_WINEPREFIX to use another Wine prefix (default
build/wineprefix)."""
import argparse
import math
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "servers"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from station import StationServer, Mount  # noqa: E402
import make_media  # noqa: E402
import wineapp  # noqa: E402
from sound import SoundCapture  # noqa: E402
from bar_e2e import _DRAWN, decode_trace_string  # noqa: E402

RATE = 44100
SONGS = "songs_48k_128.mp3"
WM_COMMAND = 0x111
IDM_PLAY_LAST = 40001
IDM_STOP = 40003
WM_CLOSE = 0x10
GOAL_MS = 50.0


class TracedBar:
    """Velmorin.exe with Wine's text trace on a pipe, each drawn text stamped on arrival."""

    def __init__(self, env, exe, directory):
        trace_env = dict(env, WINEDEBUG="-all,+text")
        self.drawn = []  # (time, text)
        self.proc = subprocess.Popen(["wine", exe], cwd=directory, env=trace_env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, start_new_session=True)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for raw in self.proc.stderr:
            now = time.monotonic()
            m = _DRAWN.search(raw.decode("ascii", "replace"))
            if m:
                self.drawn.append((now, decode_trace_string(m.group(1))))

    def first_drawn(self, text):
        return next((t for t, drawn in self.drawn if drawn == text), None)

    def close(self):
        if self.proc.poll() is None:
            try:
                self.proc.wait(15)
            except subprocess.TimeoutExpired:
                os.killpg(self.proc.pid, 9)
                self.proc.wait(5)
        self.reader.join(5)


def goertzel(samples, start, count, frequency):
    k = 2.0 * math.cos(2.0 * math.pi * frequency / RATE)
    s1 = s2 = 0.0
    for i in range(start, start + count):
        s1, s2 = samples[i] + k * s1 - s2, s1
    return s1 * s1 + s2 * s2 - k * s1 * s2


def tone_change(samples, near, before, after, window=220, reach=0.6):
    """Sample index where the tone turns from before to after Hz, searched
    within reach seconds of near; None when it does not."""
    lo = max(window, int(near - reach * RATE))
    hi = min(len(samples) - window, int(near + reach * RATE))
    step = 64
    at = next((i for i in range(lo, hi, step)
               if goertzel(samples, i - window // 2, window, after) > goertzel(samples, i - window // 2, window, before)),
              None)
    if at is None:
        return None
    # Refine to half a millisecond around the first window that tipped over.
    fine = 22
    for i in range(at - step, at + 1, fine):
        if goertzel(samples, i - window // 2, window, after) > goertzel(samples, i - window // 2, window, before):
            return i
    return at


def run_once(session, exe, remote, url, playbuf, seconds):
    env = session.env
    scratch = tempfile.mkdtemp(prefix="velmorin-titles-")
    try:
        shutil.copy2(exe, scratch)
        with open(os.path.join(scratch, "Korimba3.ini"), "wb") as f:
            f.write(("[Korimba3]\r\nWinX=400\r\nWinY=300\r\nPlayBuf=%d\r\nLastURL=%s\r\n" % (playbuf, url)).encode())
        bar = TracedBar(env, os.path.join(scratch, "Velmorin.exe"), scratch)
        cap = None
        try:
            deadline = time.monotonic() + 60
            while subprocess.run(["wine", remote, "state"], env=env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL).returncode != 0:
                if time.monotonic() > deadline:
                    raise RuntimeError("the bar did not start")
                time.sleep(0.1)
            cap = SoundCapture(session)
            subprocess.run(["wine", remote, "post", str(WM_COMMAND), str(IDM_PLAY_LAST), "0"], env=env, check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(seconds)
            subprocess.run(["wine", remote, "post", str(WM_COMMAND), str(IDM_STOP), "0"], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(0.3)
            cap.stop()
            subprocess.run(["wine", remote, "post", str(WM_CLOSE), "0", "0"], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        finally:
            if cap:
                cap.stop()
            bar.close()
        return bar, cap
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def measure(session, exe, remote, url, playbuf, seconds):
    bar, cap = run_once(session, exe, remote, url, playbuf, seconds)
    left = cap.left()
    rows = []
    for k in range(1, make_media.SONG_COUNT):
        title = "Song %02d" % k
        shown = bar.first_drawn(title)
        if shown is None:
            break
        near = (shown - cap.t0) * RATE
        heard_at = tone_change(left, near, make_media.song_tone(k - 1), make_media.song_tone(k))
        if heard_at is None:
            rows.append((title, shown, None))
            continue
        rows.append((title, shown, cap.time_of(heard_at)))
    return rows, cap.lateness_ms()


def build(build_dir):
    if build_dir:
        return build_dir
    subprocess.run(["cmake", "--preset", "mingw"], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", "--preset", "mingw", "--target", "Velmorin", "bar_remote"], cwd=ROOT,
                   check=True, stdout=subprocess.DEVNULL)
    return os.path.join(ROOT, "build", "mingw")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seconds", type=float, default=30)
    parser.add_argument("--build-dir")
    parser.add_argument("--remote", help="bar_remote.exe (default: the one of this tree's build)")
    parser.add_argument("--sink-latency-ms", type=int,
                        help="ask PulseAudio for this much buffering ahead of the sink (PULSE_LATENCY_MSEC) "
                             "instead of Wine's default, to see how much of the error is the output's own")
    args = parser.parse_args()
    os.environ.setdefault("VELMORIN_WINEPREFIX", os.path.join(ROOT, "build", "wineprefix"))
    build_dir = build(args.build_dir)
    exe = os.path.join(build_dir, "src", "Velmorin.exe")
    remote = args.remote or os.path.join(ROOT, "build", "mingw", "tests", "e2e", "bar_remote.exe")
    media = make_media.build(os.path.join(ROOT, "build", "bench", "test-media"), [SONGS])
    session = wineapp.WineSession()
    if args.sink_latency_ms:
        session.env["PULSE_LATENCY_MSEC"] = str(args.sink_latency_ms)
    titles = [(make_media.SONG_BYTES * k, "Song %02d" % k) for k in range(make_media.SONG_COUNT)]
    srv = StationServer({"/songs": Mount(file=media[SONGS], metaint=make_media.SONG_METAINT, titles=titles)}, port=0)
    srv.start()
    try:
        print("Title shown - song heard (ms), the real bar under Wine, %s:" % os.path.relpath(exe, ROOT))
        worst_all = 0.0
        for playbuf in (1000, 5000):
            rows, spread = measure(session, exe, remote, srv.url("/songs"), playbuf, args.seconds)
            errors = [1000 * (shown - heard) for _, shown, heard in rows if heard is not None]
            line = "  %d ms buffer: " % playbuf + " ".join(
                "%+.0f" % (1000 * (shown - heard)) if heard is not None else "?" for _, shown, heard in rows)
            print(line)
            if errors:
                worst = max(errors, key=abs)
                worst_all = max(worst_all, abs(worst))
                print("    %d titles, mean %+.1f ms, largest |error| %.1f ms (goal %.0f ms, one block 500 ms);"
                      " capture clock: chunks arrive a median %.1f ms after their bound" % (
                          len(errors), sum(errors) / len(errors), abs(worst), GOAL_MS, spread))
            else:
                print("    no title change heard")
        print("largest |shown - heard| over both buffers: %.1f ms; ratio to the goal %.2f" % (
            worst_all, worst_all / GOAL_MS))
    finally:
        srv.stop()
        session.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
