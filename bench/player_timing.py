#!/usr/bin/env python3
"""Runs bench_player_timing.exe under Wine against a local station that plays
the demo tune (128 kbit/s, metaint 16000, titles) at its real rate.

    bench/player_timing.py [SECONDS]

Builds build/mingw with VELMORIN_BENCH=ON. Set VELMORIN_WINEPREFIX to use a
private Wine prefix (default build/wineprefix)."""
import os
import subprocess
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "servers"))
from station import StationServer, Mount  # noqa: E402
import make_media  # noqa: E402


def main():
    seconds = sys.argv[1] if len(sys.argv) > 1 else "60"
    os.environ.setdefault("VELMORIN_WINEPREFIX", os.path.join(ROOT, "build", "wineprefix"))
    subprocess.run(["cmake", "--preset", "mingw", "-DVELMORIN_BENCH=ON"], cwd=ROOT, check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", "--preset", "mingw", "--target", "bench_player_timing"], cwd=ROOT,
                   check=True, stdout=subprocess.DEVNULL)
    media = make_media.build(os.path.join(ROOT, "build", "bench", "test-media"), ["demo_tune.mp3"])
    server = os.path.join(ROOT, "cmake", "wine-server.sh")
    subprocess.run([server, "start"], check=True)
    srv = StationServer({"/demo": Mount(file=media["demo_tune.mp3"], metaint=16000, loop=True,
                                        titles=[(0, "One"), (64000, "Two"), (128000, "Three")])}, port=0)
    srv.start()
    try:
        exe = os.path.join(ROOT, "build", "mingw", "bench", "bench_player_timing.exe")
        return subprocess.run([os.path.join(ROOT, "cmake", "wine-run.sh"), exe, srv.url("/demo"), seconds],
                              stdin=subprocess.DEVNULL, timeout=int(seconds) + 120).returncode
    finally:
        srv.stop()
        subprocess.run([server, "stop"])


if __name__ == "__main__":
    sys.exit(main())
