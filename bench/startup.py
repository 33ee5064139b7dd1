#!/usr/bin/env python3
"""Start-up of the player bar under Wine, measured from outside, and the size
of the executable.

    bench/startup.py [RUNS] [OTHER_EXE...]

Times from starting the process to the bar's window being mapped on the
display (polled with xdotool every few milliseconds), against the same for a
bare program that only registers a class and shows one window
(bench_startup_baseline.exe), alternating the two; the bar is closed through
its own close path each time. Prints the medians, their ratio, and the size
of the stripped, statically linked Velmorin.exe against 200 KB. Other builds
of the bar given after RUNS (an older Velmorin.exe, say) take their turns in
the same run, against the same baseline.

Builds build/mingw with VELMORIN_BENCH=ON. Set VELMORIN_WINEPREFIX to use a
private Wine prefix (default build/wineprefix)."""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import wineapp  # noqa: E402

BUILD = os.path.join(ROOT, "build", "mingw")
TARGET_BYTES = 200 * 1024


def time_to_window(session, exe, cwd, title):
    started = time.monotonic()
    program = wineapp.WineProgram(session, exe, cwd=cwd)
    try:
        wineapp.wait_until(lambda: session.windows(title), 60, interval=0.002, what=title)
        return time.monotonic() - started, program
    except Exception:
        program.close()
        raise


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 10
    os.environ.setdefault("VELMORIN_WINEPREFIX", os.path.join(ROOT, "build", "wineprefix"))
    subprocess.run(["cmake", "--preset", "mingw", "-DVELMORIN_BENCH=ON"], cwd=ROOT, check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", "--preset", "mingw", "--target", "Velmorin", "bar_remote",
                    "bench_startup_baseline"], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)
    exe = os.path.join(BUILD, "src", "Velmorin.exe")
    baseline = os.path.join(BUILD, "bench", "bench_startup_baseline.exe")
    remote = os.path.join(BUILD, "tests", "e2e", "bar_remote.exe")

    others = [os.path.abspath(p) for p in sys.argv[2:]]
    scratch = tempfile.mkdtemp(prefix="velmorin-startup-")
    session = wineapp.WineSession()
    try:
        # Each build in a folder of its own, with the same settings.
        bars = []
        for i, path in enumerate([exe] + others):
            folder = os.path.join(scratch, str(i))
            os.mkdir(folder)
            shutil.copy2(path, os.path.join(folder, "Velmorin.exe"))
            with open(os.path.join(folder, "Korimba3.ini"), "wb") as f:
                f.write(b"[Korimba3]\r\nWinX=400\r\nWinY=300\r\n")
            bars.append(os.path.join(folder, "Velmorin.exe"))

        def bar_once(bar_exe):
            seconds, program = time_to_window(session, bar_exe, os.path.dirname(bar_exe), "^Velmorin$")
            session.run(["wine", remote, "post", "16", "0", "0"], stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL, check=True)
            program.wait(30)
            program.close()
            return seconds

        def baseline_once():
            seconds, program = time_to_window(session, baseline, scratch, "^Baseline$")
            program.close()
            wineapp.wait_until(lambda: not session.windows("^Baseline$"), 30, what="the baseline to end")
            return seconds

        for bar_exe in bars:  # the first start of each loads its libraries from disk
            bar_once(bar_exe)
        baseline_once()
        bar_times, base_times = [[] for _ in bars], []
        for _ in range(runs):
            base_times.append(baseline_once())
            for times, bar_exe in zip(bar_times, bars):
                times.append(bar_once(bar_exe))
    finally:
        session.close()
        shutil.rmtree(scratch, ignore_errors=True)

    def line(name, values):
        return "%-34s median %6.1f ms   min %6.1f   max %6.1f" % (
            name, 1000 * statistics.median(values), 1000 * min(values), 1000 * max(values))

    print("Start-up to the window shown, %d runs each (Wine, warm wineserver):" % runs)
    print(line("bare window (baseline)", base_times))
    for i, (times, path) in enumerate(zip(bar_times, [exe] + others)):
        name = "Velmorin.exe (skinned bar)" if i == 0 else "other build %d" % i
        print(line(name, times))
        # Each round's own ratio as well: a round's baseline and bar start
        # moments apart, under the same load from the rest of the machine.
        rounds = [bar / base for bar, base in zip(times, base_times)]
        print("ratio %s / baseline: %.2f (median of the rounds' ratios %.2f)" % (
            "bar" if i == 0 else "other build %d" % i, statistics.median(times) / statistics.median(base_times),
            statistics.median(rounds)))
        size = os.path.getsize(path)
        print("  %s: %d bytes (%.1f KB), %.0f %% of the 200 KB target" % (
            path if i else "Velmorin.exe", size, size / 1024.0, 100.0 * size / TARGET_BYTES))
    return 0


if __name__ == "__main__":
    sys.exit(main())
