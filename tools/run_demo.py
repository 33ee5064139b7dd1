#!/usr/bin/env python3
"""Runs the built Velmorin.exe under Wine against the local demo station.

    tools/run_demo.py [--headless] [--seconds N] [--screenshot PATH]

The program runs from a scratch directory (its settings file names the demo
station as the last station), so nothing of the user's is touched. With a
display the bar simply appears: press its play button (the triangle) and
listen; close it with its x button. Without one (or with --headless) a
virtual display and a null sound sink are started, play is pressed here, a
screenshot of the playing bar is saved after a few seconds, and everything
is ended again.

tools/run.sh builds the program first and then runs this.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "tests", "servers"))
import wineapp  # noqa: E402
from station import StationServer, demo_mounts  # noqa: E402

BUILD = os.path.join(ROOT, "build", "mingw")
PLAY = (285, 10)   # the built-in skin's play button, client coordinates
CLOSE = (338, 7)
TITLE = (8, 4, 207, 12)


def write_settings(path, values):
    text = "[Korimba3]\r\n" + "".join("%s=%s\r\n" % kv for kv in values.items())
    with open(path, "wb") as f:
        f.write(text.encode("cp932"))


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--headless", action="store_true", help="use a virtual display even when one is at hand")
    ap.add_argument("--seconds", type=float, default=6.0, help="headless: how long to play before the screenshot")
    ap.add_argument("--screenshot", default=os.path.join(ROOT, "build", "run", "velmorin-playing.png"))
    args = ap.parse_args()

    exe = os.path.join(BUILD, "src", "Velmorin.exe")
    if not os.path.exists(exe):
        sys.exit("%s is missing: build the mingw preset first (tools/run.sh does)" % exe)
    os.environ.setdefault("VELMORIN_WINEPREFIX", os.path.join(ROOT, "build", "wineprefix"))
    headless = args.headless or not os.environ.get("DISPLAY")
    if headless:
        os.environ.pop("DISPLAY", None)
        os.environ.pop("PULSE_SERVER", None)

    media = os.path.join(ROOT, "build", "demo-media")
    station = StationServer(demo_mounts(media), port=0)
    station.start()
    scratch = tempfile.mkdtemp(prefix="velmorin-run-")
    session = None
    program = None
    try:
        shutil.copy2(exe, scratch)
        for shipped in ("help.html", "genre.txt"):
            shutil.copy2(os.path.join(BUILD, "src", shipped), scratch)
        url = station.url("/demo")
        settings = {"LastURL": url}
        if headless:
            settings.update({"WinX": 340, "WinY": 300})
        write_settings(os.path.join(scratch, "Korimba3.ini"), settings)
        print("Demo station: %s (a looping tune whose titles change every few seconds)" % url)
        print("Program directory: %s" % scratch)

        session = wineapp.WineSession()
        program = wineapp.WineProgram(session, os.path.join(scratch, "Velmorin.exe"), cwd=scratch)
        if not headless:
            print("The bar is on your screen: press its play button (the triangle) to listen,")
            print("right-click it for the menu, and close it with its x button.")
            program.wait(None)
            return 0

        bar = wineapp.wait_until(lambda: session.windows("^Velmorin$"), 60, what="the bar")[0]
        left, top, width, height = session.geometry(bar)
        session.click(left + PLAY[0], top + PLAY[1])
        # Played, titled: the title area shows white text once the stream sounds.
        wineapp.wait_until(
            lambda: sum(p == (255, 255, 255) for row in session.pixels(
                (left + TITLE[0], top + TITLE[1], TITLE[2], TITLE[3])) for p in row) > 20,
            30, what="the station's title on the bar")
        session.move_mouse(left + width // 2, top + 200)  # no button lit in the picture
        time.sleep(args.seconds)  # let the title scroll for a while before the picture
        os.makedirs(os.path.dirname(os.path.abspath(args.screenshot)), exist_ok=True)
        session.screenshot(args.screenshot, region=(left, top, width, height))
        print("Played the demo station headless; screenshot of the bar: %s" % os.path.abspath(args.screenshot))
        session.click(left + CLOSE[0], top + CLOSE[1])
        program.wait(30)
        return 0
    finally:
        if program:
            program.close()
        if session:
            session.close()
        station.stop()
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
