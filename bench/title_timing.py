#!/usr/bin/env python3
"""When the bar shows a title against when its song is heard, under Wine,
next to the output device's own offset measured in the same run.

    bench/title_timing.py [--seconds S] [--build-dir DIR]

A local 128 kbit/s ICY station plays songs of 3.312 s, each a tone of its
own (tests/servers/make_media.py's songs_48k_128.mp3), whose titles sit
exactly at each song's first frame (every sixth metadata point), which falls
anywhere within a half-second block of the ring. The real Velmorin.exe plays it
at 1 s and 5 s play buffers while the null sink is recorded.

  shown: the first time the bar draws the title (Wine's +text trace of
         DrawTextExW, read from a pipe and stamped on arrival);
  heard: where the recording turns from the song before's tone to the
         song's own: the first loud 5 ms window, after the last one that is
         clearly the old tone, in which the new tone is the stronger (the
         equal-power point of a clean change; where the sink dropped out
         around the change, the moment the new song's sound resumes).

The device's own offset: bench_device_offset.exe plays the same tones
through the player's wave ring (same blocks, no network, no decoder, no
window) and says when waveOutGetPosition reaches each tone's first sample,
which is the moment the player shows a title; that minus when the tone is
heard is the offset of the device and its position report alone. The
title's error minus the device's (its median in the same run) is what the
player adds.

Both times are on CLOCK_MONOTONIC (Python's time.monotonic): trace lines are
stamped as they arrive, and the recording's sample clock is tied to it by
the earliest-arrival bound of its chunks, and their median lateness is
printed as the clock's uncertainty. Dropouts of the sink (10 ms or more of
silence inside the sound, which a busy machine causes) are counted; a change
with one within 50 ms is marked with *.

Builds build/mingw (Velmorin.exe, bar_remote.exe, bench_device_offset.exe)
unless --build-dir names another build; set VELMORIN_WINEPREFIX to use
another Wine prefix (default build/wineprefix)."""
import argparse
import math
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "servers"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from station import StationServer, Mount  # noqa: E402
from wine_program import Program  # noqa: E402
import make_media  # noqa: E402
import wineapp  # noqa: E402
from sound import SoundCapture, loud_span, quiet_runs  # noqa: E402
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


WINDOW = 220  # 5 ms
LOUD = 1000  # RMS; the tones are at half scale (about 11600)
CLEAR = 10.0  # a window is one tone when its power is this many times the other's


def window_kind(samples, centre, before, after):
    """'before', 'after', 'new' (loud, the after tone the stronger) or None."""
    start = centre - WINDOW // 2
    if start < 0 or start + WINDOW > len(samples):
        return None
    if sum(x * x for x in samples[start:start + WINDOW]) < LOUD * LOUD * WINDOW:
        return None
    b = goertzel(samples, start, WINDOW, before)
    a = goertzel(samples, start, WINDOW, after)
    if b > CLEAR * a:
        return "before"
    if a > CLEAR * b:
        return "after"
    return "new" if a > b else None


def tone_change(samples, near, before, after, reach=0.8):
    """Sample index where the song of after Hz is first heard following the
    one of before Hz, searched within reach seconds of near; None when the
    recording does not show it.

    The after song has surely begun where 20 ms of windows in a row are
    clearly its tone; the change lies between the last window before that
    which is clearly the before tone and there. In that stretch the first
    loud window in which the after tone is the stronger is the change: the
    equal-power point of a clean change, or where the sound resumes when the
    sink dropped out at the change. Silence never counts as either tone."""
    lo = max(WINDOW, int(near - reach * RATE))
    hi = min(len(samples) - WINDOW, int(near + reach * RATE))
    step = 110  # 2.5 ms
    kinds = [(i, window_kind(samples, i, before, after)) for i in range(lo, hi, step)]
    run = 8  # 20 ms
    begun = next((n for n in range(len(kinds) - run) if all(k == "after" for _, k in kinds[n:n + run])), None)
    if begun is None:
        return None
    last_before = next((n for n in range(begun - 1, -1, -1) if kinds[n][1] == "before"), None)
    if last_before is None:
        return None
    fine = 22  # 0.5 ms
    for i in range(kinds[last_before][0], kinds[begun][0] + step, fine):
        if window_kind(samples, i, before, after) in ("new", "after"):
            return i
    return None


def dropouts(samples, shortest=441, threshold=300):
    """(start, length) of every run of shortest or more quiet samples inside the sound."""
    span = loud_span(samples, LOUD)
    if span is None:
        return []
    return quiet_runs(samples, span[0], span[1], shortest, threshold)


def near_dropout(index, gaps, reach=0.05):
    return any(at - reach * RATE <= index <= at + n + reach * RATE for at, n in gaps)


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
    gaps = dropouts(left)
    rows = []
    for k in range(1, make_media.SONG_COUNT):
        shown = bar.first_drawn("Song %02d" % k)
        if shown is None:
            break
        heard_at = tone_change(left, (shown - cap.t0) * RATE, make_media.song_tone(k - 1), make_media.song_tone(k))
        rows.append(Row(shown, None if heard_at is None else cap.time_of(heard_at),
                        heard_at is not None and near_dropout(heard_at, gaps)))
    return rows, gaps, cap.lateness_ms()


def measure_device(session, tool, blocks, seconds):
    """The device alone: when waveOutGetPosition reaches each tone's first
    sample, against when the tone is heard; and where the position stood,
    past each block's end, when the block was reported done (ms)."""
    cap = SoundCapture(session)
    try:
        program = Program(session.env, [tool, str(blocks), str(seconds)])
        program.wait(seconds + 30)
        time.sleep(0.3)
    finally:
        cap.stop()
    left = cap.left()
    gaps = dropouts(left)
    rows = []
    for t, line in program.lines:
        if line.startswith("change "):
            k = int(line.split()[1])
            heard_at = tone_change(left, (t - cap.t0) * RATE, make_media.song_tone(k - 1), make_media.song_tone(k))
            rows.append(Row(t, None if heard_at is None else cap.time_of(heard_at),
                            heard_at is not None and near_dropout(heard_at, gaps)))
    leads = [int(line.split()[2]) * 1000.0 / (4 * 48000) for _, line in program.lines if line.startswith("done ")]
    return rows, gaps, leads


class Row:
    def __init__(self, shown, heard, dropout):
        self.shown, self.heard, self.dropout = shown, heard, dropout

    def error(self):
        return None if self.heard is None else 1000 * (self.shown - self.heard)

    def text(self):
        e = self.error()
        return "?" if e is None else "%+.0f%s" % (e, "*" if self.dropout else "")


def errors(rows):
    return [r.error() for r in rows if r.error() is not None]


def describe(values):
    if not values:
        return "none measured"
    return "median %+.1f ms, range %+.0f to %+.0f" % (statistics.median(values), min(values), max(values))


def build(build_dir):
    if build_dir:
        return build_dir
    subprocess.run(["cmake", "--preset", "mingw", "-DVELMORIN_BENCH=ON"], cwd=ROOT, check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", "--preset", "mingw", "--target", "Velmorin", "bar_remote",
                    "bench_device_offset"], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)
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
    tool = os.path.join(build_dir, "bench", "bench_device_offset.exe")
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
        print("(* a dropout of the sink within 50 ms of the change)")
        worst_all = worst_residual = 0.0
        for playbuf in (1000, 5000):
            blocks = max(2, (playbuf + 499) // 500)
            device, device_gaps, leads = measure_device(session, tool, blocks, args.seconds)
            rows, gaps, spread = measure(session, exe, remote, srv.url("/songs"), playbuf, args.seconds)
            print("  %d ms buffer (%d blocks):" % (playbuf, blocks))
            print("    device alone:  " + " ".join(r.text() for r in device))
            print("      %s; %d dropouts" % (describe(errors(device)), len(device_gaps)))
            if leads:
                print("      the position, when a block is reported done, stands a median %.1f ms"
                      " (%.0f to %.0f) past the block's end" % (statistics.median(leads), min(leads), max(leads)))
            print("    titles:        " + " ".join(r.text() for r in rows))
            title_errors = errors(rows)
            if not title_errors:
                print("      no title change heard")
                continue
            worst = max(title_errors, key=abs)
            worst_all = max(worst_all, abs(worst))
            print("      %s, largest |error| %.1f ms (goal %.0f ms, one block 500 ms); %d dropouts;"
                  " capture clock: chunks arrive a median %.1f ms after their bound"
                  % (describe(title_errors), abs(worst), GOAL_MS, len(gaps), spread))
            clean = [r.error() for r in rows if r.error() is not None and not r.dropout]
            device_median = statistics.median(errors(device)) if errors(device) else None
            if device_median is not None and clean:
                residual = [e - device_median for e in clean]
                worst_residual = max(worst_residual, max(abs(e) for e in residual))
                print("    titles minus the device's median (changes clear of dropouts): "
                      + " ".join("%+.0f" % e for e in residual))
        print("largest |shown - heard| over both buffers: %.1f ms; ratio to the goal %.2f" % (
            worst_all, worst_all / GOAL_MS))
        print("largest |title - device| over both buffers: %.1f ms" % worst_residual)
    finally:
        srv.stop()
        session.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
