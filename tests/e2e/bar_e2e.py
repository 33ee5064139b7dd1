"""End-to-end tests of the player bar: the real Velmorin.exe under Wine.

Each test copies the program into a fresh directory with its own
"Korimba3.ini" (and skins), starts it from another directory, drives it with
xdotool at the skin's coordinates on the test session's display, listens to
the PulseAudio null sink and reads the files it writes. Titles are read from
what the program draws: under WINEDEBUG=+text Wine traces every DrawTextExW
call with its string, and the screen is read back for colours and clearing.
bar_remote.exe sends the bar what no mouse can (the system's log-off, a
command that opens a modal box).

The bar is a single instance per Wine session, so these tests run one at a
time (CTest gives them one resource lock). Environment, set by CTest:
VELMORIN_EXE, VELMORIN_BAR_REMOTE, VELMORIN_MEDIA_DIR, VELMORIN_SOURCE_DIR.
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.environ.get("VELMORIN_SOURCE_DIR", os.path.abspath(os.path.join(HERE, "..", "..")))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(SOURCE, "tests", "servers"))
import wineapp  # noqa: E402
from wineapp import wait_until  # noqa: E402
from sound import SoundCapture, goertzel_power, loud_recently, quiet_recently  # noqa: E402
from station import StationServer, Mount  # noqa: E402
import make_media  # noqa: E402

EXE = os.environ.get("VELMORIN_EXE", "")
REMOTE = os.environ.get("VELMORIN_BAR_REMOTE", "")
MEDIA = os.environ.get("VELMORIN_MEDIA_DIR", os.path.join(SOURCE, "build", "test-media"))
TONE = "tone1k_44k_stereo_128_30s.mp3"

# Where the tests put the bar, and the built-in skin's controls (client
# coordinates of a point inside each).
LEFT, TOP = 400, 300
PLAY = (285, 10)
STOP = (298, 10)
CLOSE = (338, 7)
MINIMISE = (338, 14)
TITLE_AREA = (100, 10)
TITLE_RECT = (8, 4, 207, 12)  # x, y, width, height

WM_CLOSE = 0x10
WM_ENDSESSION = 0x16
WM_COMMAND = 0x111
IDM_PLAY_CLIPBOARD = 40002
IDM_COPY_TITLE = 40005
IDM_MEMO_TITLE = 40006
IDM_SETTINGS = 40010
IDM_TOPMOST = 40011
IDM_ABOUT = 40014

# Titles of the side windows, which OptFlag may show at start-up.
SIDE_WINDOWS = ("^検索$", "^お気に入り$")

SKIN_FAILED = "ｽｷﾝの読み込みに失敗。\n内蔵ｽｷﾝに変更しました。"

_session = None


def setUpModule():
    global _session
    if not EXE or not os.path.exists(EXE):
        raise unittest.SkipTest("VELMORIN_EXE does not name the built Velmorin.exe")
    _session = wineapp.WineSession()


def tearDownModule():
    if _session:
        _session.close()


def ini_text(values):
    lines = ["[Korimba3]"] + ["%s=%s" % (k, v) for k, v in values.items()]
    return ("\r\n".join(lines) + "\r\n").encode("cp932")


def parse_ini(data):
    values = {}
    for line in data.decode("cp932").split("\r\n"):
        if "=" in line:
            key, value = line.split("=", 1)
            values[key] = value
    return values


_ESCAPE = re.compile(r'\\(x[0-9a-fA-F]{2}|[0-9a-fA-F]{4}|.)')


def decode_trace_string(body):
    """The text of a Wine debugstr_w literal (between L" and ")."""
    def one(m):
        e = m.group(1)
        if len(e) == 4:
            return chr(int(e, 16))
        if e[0] == "x":
            return chr(int(e[1:], 16))
        return {"n": "\n", "r": "\r", "t": "\t"}.get(e, e)
    return _ESCAPE.sub(one, body)


_DRAWN = re.compile(r'trace:text:DrawTextExW L"((?:[^"\\]|\\.)*)"')


class Bar:
    """Velmorin.exe in a directory of its own, started from another one."""

    def __init__(self, case, settings=None, skins=None, trace=False):
        self.case = case
        self.dir = tempfile.mkdtemp(prefix="velmorin-bar-")
        self.elsewhere = tempfile.mkdtemp(prefix="velmorin-cwd-")
        case.addCleanup(shutil.rmtree, self.dir, True)
        case.addCleanup(shutil.rmtree, self.elsewhere, True)
        shutil.copy2(EXE, self.dir)
        for shipped in ("help.html", "genre.txt"):
            path = os.path.join(os.path.dirname(EXE), shipped)
            if os.path.exists(path):
                shutil.copy2(path, self.dir)
        if settings is not None:
            with open(self.path("Korimba3.ini"), "wb") as f:
                f.write(settings if isinstance(settings, bytes) else ini_text(settings))
        for name, (text, bitmap) in (skins or {}).items():
            os.makedirs(self.path("skin"), exist_ok=True)
            with open(self.path("skin", name + ".ini"), "wb") as f:
                f.write(text)
            if bitmap is not None:
                with open(self.path("skin", name + ".bmp"), "wb") as f:
                    f.write(bitmap)
        self.program = None
        self.trace = trace

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def start(self):
        debug = "-all,+text" if self.trace else None
        self.program = wineapp.WineProgram(_session, self.path("Velmorin.exe"), cwd=self.elsewhere, debug=debug)
        self.case.addCleanup(self.program.close)
        return self

    def window(self, timeout=20):
        found = wait_until(lambda: _session.windows("^Velmorin$"), timeout, what="the bar to show")
        return found[0]

    def geometry(self):
        return _session.geometry(self.window())

    def screen(self, x, y):
        left, top = self.geometry()[:2]
        return left + x, top + y

    def click(self, point, button=1):
        _session.click(*self.screen(*point), button=button)

    def keys(self, *keys):
        """Types at the bar's thread (its menus and boxes). Without a window
        manager nobody gives the bar the keyboard focus: the test does, as a
        manager would on the click that came before."""
        _session.xdotool("windowfocus", "--sync", self.window())
        _session.key(*keys)

    def remote(self, *args):
        # Wine's own errors too: one that ends the process says why only there.
        out = subprocess.run(["wine", REMOTE] + [str(a) for a in args], stdin=subprocess.DEVNULL,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30,
                             env=dict(_session.env, WINEDEBUG="-all,err+all"))
        # Why the last call failed, for an assertion's message.
        self.remote_error = "bar_remote %s: exit %d, %s" % (
            " ".join(str(a) for a in args), out.returncode, out.stderr.decode("ascii", "replace").strip())
        return out.returncode, out.stdout.decode("ascii", "replace").strip()

    def state(self):
        code, out = self.remote("state")
        if code != 0:
            return None
        visible, enabled, topmost, x, y, w, h = (int(v) for v in out.split())
        return {"visible": visible, "enabled": enabled, "topmost": topmost, "rect": (x, y, w, h)}

    def command(self, command_id):
        self.case.assertEqual(0, self.remote("post", WM_COMMAND, command_id, 0)[0])

    def close(self):
        """Asks the bar to close and waits for the process to end; its exit code."""
        self.case.assertEqual(0, self.remote("post", WM_CLOSE, 0, 0)[0])
        return self.program.wait(15)

    def settings(self):
        with open(self.path("Korimba3.ini"), "rb") as f:
            return parse_ini(f.read())

    def drawn(self):
        """Every text the program drew, in order."""
        text = self.program.stderr().decode("ascii", "replace")
        return [decode_trace_string(m.group(1)) for m in _DRAWN.finditer(text)]

    def title_pixels(self):
        x, y, w, h = TITLE_RECT
        left, top = self.geometry()[:2]
        return _session.pixels((left + x, top + y, w, h))

    def other_windows(self):
        """Visible windows of the program besides the bar and the side
        windows: menus, boxes."""
        bar = set(_session.windows("^Velmorin$"))
        for title in SIDE_WINDOWS:
            bar |= set(_session.windows(title))
        out = _session.xdotool("search", "--onlyvisible", "--classname", "velmorin.exe") or ""
        found = []
        for w in out.split():
            g = _session.geometry(w)
            if w not in bar and g and g[2] > 10 and g[3] > 10:
                found.append(w)
        return found


def skin_sheet_pixels(region):
    """Pixels (r, g, b) of the built-in skin bitmap (8 bits a pixel, bottom-up)."""
    with open(os.path.join(SOURCE, "src", "resources", "skin.bmp"), "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    header, width, height, _, bits = struct.unpack_from("<IiiHH", data, 14)
    assert bits == 8
    colours, = struct.unpack_from("<I", data, 46)
    palette = data[14 + header:14 + header + 4 * (colours or 256)]
    stride = (width + 3) & ~3
    x, y, w, h = region
    rows = []
    for r in range(y, y + h):
        row = data[offset + (height - 1 - r) * stride:][:width]
        rows.append([tuple(palette[4 * row[c] + 2 - k] for k in range(3)) for c in range(x, x + w)])
    return rows


KNOB = (205, 21, 6, 12)  # the knob sprite in the sheet


def knob_at(left_edge):
    """The knob drawn with its left edge at left_edge (client column)."""
    return _session.pixels((LEFT + left_edge, TOP + 4, 6, 12)) == skin_sheet_pixels(KNOB)


def count(pixels, colour):
    return sum(1 for row in pixels for p in row if p == colour)


def station(case, titles, name="E2E Station", **live):
    """The tone station at /live (live: more of its Mount's arguments) and a
    playlist naming it at /list.pls."""
    media = make_media.build(MEDIA, [TONE])
    srv = StationServer({
        "/live": Mount(file=media[TONE], metaint=8192, loop=True, name=name, titles=titles, **live),
        "/list.pls": Mount(pls=["http://127.0.0.1:{port}/live"]),
    }, port=0)
    srv.start()
    case.addCleanup(srv.stop)
    return srv


class PlayTests(unittest.TestCase):
    def test_play_shows_titles_in_colour_sounds_and_stop_clears(self):
        srv = station(self, [(0, "First Song"), (60000, "Second Song")])
        bar = Bar(self, {"WinX": LEFT, "WinY": TOP, "LastURL": srv.url("/list.pls")}, trace=True).start()
        bar.window()
        self.assertEqual((LEFT, TOP, 343, 20), bar.geometry())
        background = bar.title_pixels()
        capture = SoundCapture(_session)
        self.addCleanup(capture.stop)

        bar.click(PLAY)
        wait_until(lambda: loud_recently(capture), 20, what="sound in the sink")
        tone = capture.left()[-4410:]
        self.assertGreater(goertzel_power(tone, 1000), 50 * goertzel_power(tone, 440),
                           "the station's 1 kHz tone")
        wait_until(lambda: "Second Song" in bar.drawn(), 20, what="the second title")
        drawn = bar.drawn()
        self.assertLess(drawn.index("Connect ..."), drawn.index("First Song"))
        self.assertLess(drawn.index("First Song"), drawn.index("Second Song"))
        wait_until(lambda: count(bar.title_pixels(), (255, 255, 255)) > 20, 5,
                   what="white title text on the screen")

        bar.click(STOP)
        wait_until(lambda: bar.title_pixels() == background, 5, what="stop to clear the title area")
        wait_until(lambda: quiet_recently(capture), 5, what="silence after stop")

        bar.click(CLOSE)
        self.assertEqual(0, bar.program.wait(15))
        saved = bar.settings()
        self.assertEqual((str(LEFT), str(TOP)), (saved["WinX"], saved["WinY"]))
        self.assertEqual(srv.url("/live"), saved["LastURL"], "the connected entry, not the playlist")

    def test_error_text_shows_in_the_error_colour(self):
        bar = Bar(self, {"WinX": LEFT, "WinY": TOP, "LastURL": "http://127.0.0.1:1/nothing"}, trace=True).start()
        bar.window()
        bar.click(PLAY)
        wait_until(lambda: count(bar.title_pixels(), (255, 153, 153)) > 20, 20,
                   what="the connect error in the error colour")
        self.assertIn("Connect error", bar.drawn())
        self.assertEqual(0, count(bar.title_pixels(), (255, 255, 255)))
        self.assertEqual(0, bar.close())
        self.assertEqual("http://127.0.0.1:1/nothing", bar.settings()["LastURL"], "only a started play is stored")

    def test_the_memo_and_the_menu_take_what_the_station_sends(self):
        """A title with a line break goes to the memo as one line; the
        station's name with "&" and a tab shows as it is in the menu."""
        srv = station(self, [(0, "Memo\r\nSong")], name="Rock & Roll\tFM")
        bar = Bar(self, {"WinX": LEFT, "WinY": TOP, "LastURL": srv.url("/live")}, trace=True).start()
        bar.window()
        capture = SoundCapture(_session)
        self.addCleanup(capture.stop)
        bar.command(IDM_MEMO_TITLE)  # idle: nothing to note
        bar.click(PLAY)
        wait_until(lambda: "Memo\r\nSong" in bar.drawn(), 20, what="the title")
        wait_until(lambda: loud_recently(capture), 20, what="the station to play")
        bar.command(IDM_MEMO_TITLE)
        bar.command(IDM_MEMO_TITLE)
        memo = bar.path("memo.txt")
        wait_until(lambda: os.path.exists(memo) and open(memo, "rb").read().count(b"\r\n") == 2, 5,
                   what="two memo lines")
        self.assertEqual(b"Memo Song\r\nMemo Song\r\n", open(memo, "rb").read())
        bar.command(IDM_COPY_TITLE)
        wait_until(lambda: bar.remote("clipboard") == (0, b"Memo\r\nSong".hex()), 5,
                   what="the title on the clipboard as it came")

        # サーバー情報 is the sixth item; its first line is the station's name.
        # Menus draw their items' texts with the mnemonic marks still in.
        bar.click(TITLE_AREA, button=3)
        wait_until(bar.other_windows, 10, what="the context menu")
        bar.keys(*(["Down"] * 6 + ["Right"]))
        wait_until(lambda: "Rock && Roll FM" in bar.drawn(), 10, what="the station's name in the menu")
        bar.keys("Escape", "Escape")
        wait_until(lambda: not bar.other_windows(), 10, what="the menu to close")
        self.assertEqual(0, bar.close())

    def test_play_the_url_on_the_clipboard(self):
        srv = station(self, [(0, "Clipboard Song")])
        bar = Bar(self, {"WinX": LEFT, "WinY": TOP}, trace=True).start()
        bar.window()
        # A pasted text with a second line: the URL ends at the line break,
        # nothing of the rest reaches the request.
        pasted = srv.url("/live") + "\r\nX-Injected: 1\r\n"
        self.assertEqual(0, bar.remote("setclipboard", pasted.encode("ascii").hex())[0])
        bar.command(IDM_PLAY_CLIPBOARD)
        wait_until(lambda: "Clipboard Song" in bar.drawn(), 20, what="the clipboard's station")
        request = srv.requests("/live")[0]
        self.assertTrue(request.startswith(b"GET /live HTTP/1.0\r\n"), request)
        self.assertNotIn(b"X-Injected", request)
        bar.click(STOP)
        self.assertEqual(0, bar.close())
        self.assertEqual(srv.url("/live"), bar.settings()["LastURL"])


class InstanceTests(unittest.TestCase):
    def test_second_instance_exits_at_once_without_a_window(self):
        first = Bar(self, {"WinX": LEFT, "WinY": TOP}).start()
        first.window()
        second = Bar(self).start()
        started = time.monotonic()
        self.assertEqual(0, second.program.wait(15))
        self.assertLess(time.monotonic() - started, 10)
        self.assertEqual(1, len(_session.windows("^Velmorin$")))
        self.assertFalse(os.path.exists(second.path("Korimba3.ini")), "the second one saved nothing")
        self.assertEqual(0, first.close())

    def test_log_off_saves_without_closing(self):
        bar = Bar(self, {"WinX": LEFT, "WinY": TOP, "Vol": 250, "TitleScroll": 90}).start()
        bar.window()
        wait_until(lambda: knob_at(268), 5, what="a volume of 250 shown as 100 %")
        self.assertEqual(0, bar.remote("send", WM_ENDSESSION, 1, 0)[0])
        saved = bar.settings()
        self.assertEqual(24, len(saved) + 1, "the whole file: header, 21 numbers, 2 texts")
        self.assertEqual("90", saved["TitleScroll"])
        self.assertEqual("100", saved["Vol"], "a volume out of range is clamped before it is used")
        self.assertTrue(bar.program.running())
        self.assertTrue(bar.state()["visible"])
        self.assertEqual(0, bar.close())

    def test_defaults_without_a_settings_file(self):
        bar = Bar(self).start()
        x, y, w, h = bar.geometry()
        self.assertEqual((343, 20), (w, h))
        self.assertEqual(0, bar.close())
        saved = bar.settings()
        self.assertEqual(("16", "100", "1500", "default"), (saved["OptFlag"], saved["Vol"], saved["PlayBuf"],
                                                            saved["Skin"]))
        self.assertEqual((str(x), str(y)), (saved["WinX"], saved["WinY"]), "centred, then stored")


class MenuTests(unittest.TestCase):
    def open_menu(self, bar):
        bar.click(TITLE_AREA, button=3)
        return wait_until(bar.other_windows, 10, what="the context menu")

    def test_menu_volume_fifty(self):
        bar = Bar(self, {"WinX": LEFT, "WinY": TOP, "Vol": 100}).start()
        bar.window()
        self.assertTrue(knob_at(268))
        self.open_menu(bar)
        # 音量 is the fourth item; its first item is 100 %, the sixth 50 %.
        bar.keys("Down", "Down", "Down", "Down", "Right", "Down", "Down", "Down", "Down", "Down", "Return")
        wait_until(lambda: not bar.other_windows(), 10, what="the menu to close")
        wait_until(lambda: knob_at(251), 5, what="the knob at 50 %")
        self.assertEqual(0, bar.close())
        self.assertEqual("50", bar.settings()["Vol"])

    def test_dragging_the_title_area_moves_the_bar_and_closing_stores_the_place(self):
        bar = Bar(self, {"WinX": LEFT, "WinY": TOP}).start()
        bar.window()
        x, y = bar.screen(*TITLE_AREA)
        _session.press(x, y)
        for step in range(1, 11):
            _session.move_mouse(x - 12 * step, y + 9 * step)
        _session.release()
        wait_until(lambda: bar.geometry()[:2] == (LEFT - 120, TOP + 90), 5, what="the bar to follow the mouse")
        # A press on a button does not move it.
        px, py = bar.screen(*STOP)
        _session.press(px, py)
        _session.move_mouse(px + 40, py + 40)
        _session.release()
        self.assertEqual((LEFT - 120, TOP + 90), bar.geometry()[:2])
        self.assertEqual(0, bar.close())
        saved = bar.settings()
        self.assertEqual((str(LEFT - 120), str(TOP + 90)), (saved["WinX"], saved["WinY"]))

    def test_wheel_steps_the_volume(self):
        bar = Bar(self, {"WinX": LEFT, "WinY": TOP, "Vol": 50, "WheelAdd": 10}).start()
        bar.window()
        self.assertTrue(knob_at(251))
        bar.click(TITLE_AREA)  # the wheel goes to the active window
        for button in (4, 4, 4, 5):
            _session.xdotool("click", button)
        # 50 + 3 x 10 - 10 = 70: the knob's left edge at 234 + 34 x 70 / 100 = 257.
        wait_until(lambda: knob_at(257), 5, what="the knob at 70 %")
        self.assertEqual(0, bar.close())
        self.assertEqual("70", bar.settings()["Vol"])

    def test_minimise_and_the_notification_icon(self):
        bar = Bar(self, {"WinX": LEFT, "WinY": TOP, "OptFlag": 0x16}).start()
        bar.window()
        # A right click on the icon opens the menu at the cursor. The icon's
        # message is sent directly: Wine's own tray window takes the focus
        # back from a menu. This comes before any click on that tray, whose
        # pointer events Wine may still be filing (with their old place)
        # when the menu asks where the pointer is.
        _session.move_mouse(LEFT + 50, 100)
        wait_until(lambda: bar.remote("cursor")[1] == "%d 100" % (LEFT + 50), 10,
                   what="Windows programs to see the pointer moved")
        self.assertEqual(0, bar.remote("post", 0x401, 5001, 0x204)[0])
        menu = wait_until(bar.other_windows, 10, what="the menu from the icon")
        self.assertEqual((LEFT + 50, 100), _session.geometry(menu[0])[:2])
        bar.keys("Escape")
        wait_until(lambda: not bar.other_windows(), 10, what="the menu to close")

        bar.click(MINIMISE)
        wait_until(lambda: not _session.windows("^Velmorin$"), 10, what="the bar to hide")
        icon = self.tray_icon()
        if icon:
            _session.click(*icon)
        else:
            bar.remote("post", 0x401, 5001, 0x201)  # no tray window: the message it would send
        wait_until(lambda: _session.windows("^Velmorin$"), 10, what="the icon to show the bar again")
        self.assertEqual(0, bar.close())
        self.assertEqual("16", bar.settings()["OptFlag"], "minimising closes the other windows")

    def tray_icon(self):
        """Centre of the program's icon in Wine's own tray window, when there is one."""
        trays = _session.windows("^Wine System Tray$")
        if not trays:
            return None
        x, y, w, h = _session.geometry(trays[0])
        rows = _session.pixels((x, y, w, h))
        # The icon is the blue square below the tray's caption.
        hits = [(cx, cy) for cy, row in enumerate(rows) for cx, (r, g, b) in enumerate(row)
                if b > 150 and r < 80 and cy > 20]
        if not hits:
            return None
        return x + sum(p[0] for p in hits) // len(hits), y + sum(p[1] for p in hits) // len(hits)

    def test_topmost_settings_and_about(self):
        bar = Bar(self, {"WinX": LEFT, "WinY": TOP}).start()
        bar.window()
        bar.command(IDM_TOPMOST)
        wait_until(lambda: bar.state()["topmost"] == 1, 5, what="the bar on top")
        bar.command(IDM_SETTINGS)
        wait_until(lambda: _session.windows("^設定$"), 10, what="the settings dialog")
        bar.keys("Escape")
        wait_until(lambda: not _session.windows("^設定$"), 10, what="the settings dialog to close")
        bar.command(IDM_ABOUT)
        wait_until(lambda: _session.windows("^バージョン情報$"), 10, what="the about box")
        bar.keys("Return")
        wait_until(lambda: not _session.windows("^バージョン情報$"), 10, what="the about box to close")
        self.assertEqual(0, bar.close())
        self.assertEqual("17", bar.settings()["OptFlag"])


class SkinTests(unittest.TestCase):
    def test_switching_skins_and_falling_back_to_the_built_in_one(self):
        with open(os.path.join(SOURCE, "src", "resources", "skin.bmp"), "rb") as f:
            sheet = f.read()
        narrow = (b"[skin]\r\nmain_rc=0,0,299,19\r\ntitle_rc=8,4,200,15\r\nplay_bt=0,21,38,33,250,4\r\n"
                  b"close_bt=160,21,180,27,290,4\r\n")
        broken = b"[skin]\r\nmain_rc=0,0,99,19\r\n"  # its bitmap is missing
        bar = Bar(self, {"WinX": LEFT, "WinY": TOP}, skins={"narrow": (narrow, sheet), "broken": (broken, None)},
                  trace=True).start()
        bar.window()
        chosen = []
        for _ in range(2):
            bar.click(TITLE_AREA, button=3)
            wait_until(bar.other_windows, 10, what="the context menu")
            failures = bar.drawn().count(SKIN_FAILED)
            narrow_before = bar.geometry()[2:] == (300, 20)
            # スキン is the thirteenth item; its items are the two skins.
            bar.keys(*(["Down"] * 13 + ["Right"] + (["Down"] if chosen else []) + ["Return"]))
            # Which skin the keys chose shows only in its outcome, a new warning
            # or the narrow size; the menu closes before either.
            failed = lambda: bar.drawn().count(SKIN_FAILED) > failures
            wait_until(lambda: failed() or (not narrow_before and bar.geometry()[2:] == (300, 20)), 10,
                       what="the chosen skin's outcome")
            if failed():
                chosen.append("broken")
                wait_until(bar.other_windows, 10, what="the warning box")
                bar.keys("Return")
                wait_until(lambda: not bar.other_windows(), 10, what="the warning box to close")
                # The box is task-modal: the bar takes clicks again once it is enabled.
                wait_until(lambda: bar.state()["enabled"], 10, what="the bar to be enabled again")
                self.assertEqual((343, 20), bar.geometry()[2:], "the built-in skin")
            else:
                chosen.append("narrow")
                self.assertEqual((LEFT, TOP), bar.geometry()[:2], "the bar does not move")
        self.assertEqual({"narrow", "broken"}, set(chosen))
        self.assertEqual(0, bar.close())
        self.assertEqual(chosen[-1], bar.settings()["Skin"], "the failed name is stored too")

    def test_a_damaged_bitmap_falls_back_at_start_and_from_the_menu(self):
        """A bitmap cut short (the system's own loader faults on one) is
        refused like a missing one: the bar comes up with the built-in skin,
        warns when the skin is chosen from the menu, and starts again."""
        with open(os.path.join(SOURCE, "src", "resources", "skin.bmp"), "rb") as f:
            sheet = f.read()
        narrow = (b"[skin]\r\nmain_rc=0,0,299,19\r\ntitle_rc=8,4,200,15\r\nplay_bt=0,21,38,33,250,4\r\n")
        bar = Bar(self, {"WinX": LEFT, "WinY": TOP, "Skin": "cut"}, skins={"cut": (narrow, sheet[:len(sheet) // 2])},
                  trace=True).start()
        bar.window()
        self.assertEqual((LEFT, TOP, 343, 20), bar.geometry(), "the built-in skin")
        wait_until(lambda: knob_at(268), 5, what="the built-in knob at 100 %")
        self.assertNotIn(SKIN_FAILED, bar.drawn(), "start-up warns of nothing")

        bar.click(TITLE_AREA, button=3)
        wait_until(bar.other_windows, 10, what="the context menu")
        bar.keys(*(["Down"] * 13 + ["Right", "Return"]))  # スキン, its one skin
        wait_until(lambda: SKIN_FAILED in bar.drawn(), 10, what="the warning")
        wait_until(bar.other_windows, 10, what="the warning box")
        bar.keys("Return")
        wait_until(lambda: not bar.other_windows(), 10, what="the warning box to close")
        wait_until(lambda: bar.state()["enabled"], 10, what="the bar to be enabled again")
        self.assertEqual((343, 20), bar.geometry()[2:])
        self.assertEqual(0, bar.close())
        self.assertEqual("cut", bar.settings()["Skin"])

        bar.start()
        bar.window()
        self.assertEqual((LEFT, TOP, 343, 20), bar.geometry(), "the next start works alike")
        self.assertEqual(0, bar.close())


if __name__ == "__main__":
    unittest.main()
