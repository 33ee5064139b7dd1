#!/usr/bin/env python3
"""The player under Wine, timed from outside, each figure with a baseline
measured in the same run:

  - Stop -> idle in each state the player can be in (looking up a name,
    connecting, waiting for the answer's header, filling the ring, playing),
    median and max over COUNT stops, against the 20 ms goal;
  - the play thread's CPU time per minute of playback, against a native
    command-line MP3 stream player (mpg123) on the same station;
  - play -> first sound in the null sink at 1 s and 5 s play buffers,
    against the ring's own length.

    bench/player_timing.py [--stops COUNT] [--seconds S] [--build-dir DIR]

Every station is local: a name look-up that never ends is made by running
the player in a private mount namespace whose resolv.conf names a loopback
address where a socket takes the queries and never answers; a connect that
never completes goes to a listener whose queue is full. Needs root (for
the namespace) and mpg123. Builds build/mingw with VELMORIN_BENCH=ON
unless --build-dir names another build; set VELMORIN_WINEPREFIX to use
another Wine prefix (default build/wineprefix)."""
import argparse
import os
import shutil
import socket
import statistics
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "servers"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from station import StationServer, Mount  # noqa: E402
import make_media  # noqa: E402
import wineapp  # noqa: E402
from sound import SoundCapture, loud_span  # noqa: E402
from blackhole_dns import BlackholeDns, NAME as SLOW_HOST  # noqa: E402
from wine_program import Program  # noqa: E402

STOP_GOAL_MS = 20.0


def full_listener():
    """A listening socket whose queue is full: a connect to it never completes."""
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(0)
    fillers = []
    for _ in range(3):
        f = socket.socket()
        f.setblocking(False)
        f.connect_ex(listener.getsockname())
        fillers.append(f)
    time.sleep(0.1)
    return listener, fillers


def summary(values):
    return "median %7.2f ms   max %8.2f ms" % (statistics.median(values), max(values))


def run_stops(env, exe, state, url, count, playbuf, prefix=()):
    p = Program(env, [exe, "stops", state, url, str(count), str(playbuf)], prefix)
    p.wait(count * 20 + 120)
    times = [float(line.split()[2]) for _, line in p.lines if line.startswith("stop ")]
    missed = [line for _, line in p.lines if line.startswith("missed") or "NOT-IDLE" in line]
    return times, missed


def run_times(pid):
    """{tid: nanoseconds on a CPU} of every thread of a process, from the
    scheduler's own accounting (exact, unlike tick-sampled times)."""
    times = {}
    for tid in os.listdir("/proc/%d/task" % pid):
        try:
            with open("/proc/%d/task/%s/schedstat" % (pid, tid)) as f:
                times[int(tid)] = int(f.read().split()[0])
        except (OSError, ValueError):
            pass
    return times


def process_of(exe):
    """The pid of the Windows process running exe."""
    for pid in os.listdir("/proc"):
        if pid.isdigit():
            try:
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    if exe.encode() in f.read():
                        return int(pid)
            except OSError:
                pass
    return None


def wait_line(program, prefix, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = program.first(prefix)
        if found:
            return found
        if program.proc.poll() is not None:
            return program.first(prefix)
        time.sleep(0.01)
    return None


def player_cpu(env, exe, url, seconds, playbuf):
    """(play thread, whole process) CPU seconds over SECONDS of playback,
    measured from outside: the play thread is the first thread the process
    makes after it says "ready"."""
    p = Program(env, [exe, "play", url, str(seconds), str(playbuf)])
    try:
        if not wait_line(p, "ready", 60):
            return None
        pid = process_of(exe)
        before_start = set(run_times(pid))
        if not wait_line(p, "started", 30):
            return None
        first = run_times(pid)
        play = min(t for t in first if t not in before_start)
        started = time.monotonic()
        if not wait_line(p, "end", seconds + 30):
            return None
        last = run_times(pid)
        played = time.monotonic() - started
        total = sum(ns - first.get(tid, 0) for tid, ns in last.items())
        return (last[play] - first[play]) / 1e9, total / 1e9, played, p.first("cpu ")
    finally:
        p.wait(30)


def mpg123_cpu(url, seconds, env):
    """CPU seconds of the whole mpg123 process over SECONDS of playing the
    station, once it has played for two."""
    proc = subprocess.Popen(["mpg123", "-q", "-o", "pulse", url], env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(2)
        first = run_times(proc.pid)
        time.sleep(seconds)
        last = run_times(proc.pid)
        return sum(ns - first.get(tid, 0) for tid, ns in last.items()) / 1e9
    finally:
        proc.terminate()
        proc.wait(10)


def build(build_dir):
    if build_dir:
        return build_dir
    subprocess.run(["cmake", "--preset", "mingw", "-DVELMORIN_BENCH=ON"], cwd=ROOT, check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", "--preset", "mingw", "--target", "bench_player_timing"], cwd=ROOT,
                   check=True, stdout=subprocess.DEVNULL)
    return os.path.join(ROOT, "build", "mingw")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--stops", type=int, default=100)
    parser.add_argument("--seconds", type=int, default=60)
    parser.add_argument("--build-dir")
    parser.add_argument("--only", help="comma-separated: stops,cpu,first")
    args = parser.parse_args()
    parts = set((args.only or "stops,cpu,first").split(","))
    if shutil.which("mpg123") is None and "cpu" in parts:
        sys.exit("mpg123 is needed for the CPU baseline (apt-get install mpg123)")
    os.environ.setdefault("VELMORIN_WINEPREFIX", os.path.join(ROOT, "build", "wineprefix"))
    exe = os.path.join(build(args.build_dir), "bench", "bench_player_timing.exe")
    media = make_media.build(os.path.join(ROOT, "build", "bench", "test-media"), ["demo_tune.mp3"])
    session = wineapp.WineSession()
    env = session.env
    tune = media["demo_tune.mp3"]
    srv = StationServer({
        "/demo": Mount(file=tune, metaint=16000, loop=True, titles=[(0, "One"), (64000, "Two"), (128000, "Three")]),
        "/silent": Mount(file=tune, silent=True),
        # The first frames at once, then the stream's own pace: a 5 s ring
        # takes seconds to fill.
        "/slow": Mount(file=tune, loop=True, burst=12000),
    }, port=0)
    srv.start()
    dns = listener = None
    fillers = []
    try:
        if "stops" in parts:
            dns = BlackholeDns()
            listener, fillers = full_listener()
            hang = "http://127.0.0.1:%d/" % listener.getsockname()[1]
            cases = [
                ("resolving", "http://%s:%d/demo" % (SLOW_HOST, srv.port), 1500, dns.prefix()),
                ("connecting", hang, 1500, ()),
                ("header", srv.url("/silent"), 1500, ()),
                ("prefill", srv.url("/slow"), 5000, ()),
                ("playing", srv.url("/demo"), 1500, ()),
            ]
            print("Stop -> idle, %d stops in each state (goal <= %.0f ms):" % (args.stops, STOP_GOAL_MS))
            for state, url, playbuf, prefix in cases:
                started = time.monotonic()
                times, missed = run_stops(env, exe, state, url, args.stops, playbuf, prefix)
                took = time.monotonic() - started
                if not times:
                    print("  %-10s no stop measured %s" % (state, missed[:3]))
                    continue
                print("  %-10s %s   x%.2f of the goal (%d stops, %.0f s)%s" % (
                    state, summary(times), max(times) / STOP_GOAL_MS, len(times), took,
                    ("   " + "; ".join(missed[:2])) if missed else ""))
            if dns.queries == 0:
                print("  (the name look-up never reached the local name server: the resolving figures are void)")

        if "cpu" in parts:
            seconds = args.seconds
            base = mpg123_cpu(srv.url("/demo"), seconds, env)
            base_min = base * 60.0 / seconds
            print("CPU per minute of playback (%d s of the demo station, 128 kbit/s; the scheduler's run times):"
                  % seconds)
            print("  mpg123 whole process   %.3f s/min   (baseline)" % base_min)
            # The station sends 4 s at once: a 1.5 s ring never waits for
            # data, a 5 s ring waits for every block's.
            for playbuf in (1500, 5000):
                measured = player_cpu(env, exe, srv.url("/demo"), seconds, playbuf)
                if not measured:
                    print("  %d ms ring: no figure" % playbuf)
                    continue
                play_s, process_s, played, _ = measured
                per_min = play_s * 60.0 / played
                print("  %d ms ring: play thread %.3f s/min (goal <= 0.1, x%.2f of mpg123); whole process %.3f s/min"
                      " with Wine's audio threads (x%.2f)" % (playbuf, per_min, per_min / base_min,
                                                             process_s * 60.0 / played,
                                                             process_s * 60.0 / played / base_min))

        if "first" in parts:
            print("Play -> first sound in the sink (demo station, 4 s burst then real time):")
            for playbuf in (1000, 5000):
                delays = []
                for _ in range(3):
                    cap = SoundCapture(session)
                    try:
                        p = Program(env, [exe, "play", srv.url("/demo"), "2", str(playbuf)])
                        p.wait(60)
                        time.sleep(0.2)
                    finally:
                        cap.stop()
                    start = p.first("start")
                    span = loud_span(cap.left())
                    if start and span:
                        delays.append(1000 * (cap.time_of(span[0]) - start[0]))
                if delays:
                    print("  %d ms buffer: %s   (the ring holds %d ms; ratio %.2f)" % (
                        playbuf, summary(delays), playbuf, statistics.median(delays) / playbuf))
    finally:
        srv.stop()
        for f in fillers:
            f.close()
        if listener:
            listener.close()
        if dns:
            dns.close()
        session.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
