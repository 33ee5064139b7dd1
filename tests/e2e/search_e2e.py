"""End-to-end tests of the search window: the real Velmorin.exe under Wine,
asking the test directory (tests/servers/directory.py) on port 80 under the
directory's own host names.

Run through netns.py (CTest does): in a network namespace of its own the
two host names resolve to 127.0.0.1 and nothing leaves the machine; the
tests refuse to run anywhere else. The window is driven with the mouse and
keyboard (xdotool); bar_remote.exe reads where its controls are, how many
rows the list holds and what the text box says; the directory server
records every request byte for byte; the null sink tells whether a station
plays; the settings file tells what the program kept.
"""
import os
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import bar_e2e  # noqa: E402
from bar_e2e import Bar, parse_ini, station  # noqa: E402
from wineapp import wait_until  # noqa: E402
from sound import SoundCapture, loud_recently  # noqa: E402
from directory import DirectoryServer  # noqa: E402  (bar_e2e put tests/servers on the path)
from favorites_e2e import Favorites, pls_bytes  # noqa: E402

TEXT_BOX, TOOLBAR, RESULTS = 5020, 5021, 5022
ROW = 33
LIST_EDGE = 2  # the result list's sunken client edge
LB_GETCURSEL, LB_GETCOUNT = 0x188, 0x18B
TB_GETITEMRECT = 0x41D
IDM_SEARCH_WINDOW = 40008
FIXED_FORM = b"order=desc&mode=listenershead2&ajax=true"
BUSY = "ｻｰﾊﾞｰに負荷がかかっています。\nしばらく待ってから試してみてください。"
# Where the settings put the two windows.
BAR_AT = {"WinX": 500, "WinY": 20}
SEARCH_AT = {"SearchWinLeft": 100, "SearchWinTop": 80, "SearchWinRight": 520, "SearchWinBottom": 520}

_session = None


def setUpModule():
    global _session
    if os.environ.get("VELMORIN_NETNS") != "1":
        raise unittest.SkipTest("needs the namespace of netns.py, where the directory is local")
    bar_e2e.setUpModule()
    _session = bar_e2e._session


def tearDownModule():
    bar_e2e.tearDownModule()


class SearchWindow:
    """The search window of a running bar, seen from outside."""

    def __init__(self, bar):
        self.bar = bar

    def _numbers(self, *args):
        code, out = self.bar.remote(*args)
        return [int(v) for v in out.split()] if code == 0 and out else None

    def state(self, control=None):
        """(visible, left, top, width, height) of the window or a control, on the screen."""
        found = self._numbers("@search" + ("/%d" % control if control else ""), "state")
        return None if found is None else [found[0]] + found[3:]

    def visible(self):
        c = self.state()
        return bool(c and c[0])

    def enabled(self):
        """False while a fetch's dialog holds the window."""
        found = self._numbers("@search", "state")
        return bool(found and found[1])

    def rows(self):
        """(count, selection) of the result list."""
        return tuple(self._numbers("@search/%d" % RESULTS, "send", LB_GETCOUNT, 0, 0) +
                     self._numbers("@search/%d" % RESULTS, "send", LB_GETCURSEL, 0, 0))

    def text(self):
        code, out = self.bar.remote("@search/%d" % TEXT_BOX, "text")
        return bytes.fromhex(out).decode("cp932") if code == 0 else None

    def focus(self):
        _session.xdotool("windowfocus", "--sync", _session.windows("^検索$")[0])

    def click_text_box(self):
        self.focus()
        _, x, y, w, h = self.state(TEXT_BOX)
        _session.click(x + w // 2, y + h // 2)

    def button(self, index):
        """(left, top, width, height) of a toolbar button on the screen."""
        left, top, right, bottom = self._numbers("@search/%d" % TOOLBAR, "rect", TB_GETITEMRECT, index)
        return left, top, right - left, bottom - top

    def click_button(self, index, arrow=False):
        """Clicks a toolbar button, or the drop-down arrow at its right edge."""
        x, y, w, h = self.button(index)
        _session.click(x + (w - 4 if arrow else 6), y + h // 2)

    def click_row(self, row, double=False):
        # Rows start inside the list's sunken edge.
        _, x, y, w, _ = self.state(RESULTS)
        _session.move_mouse(x + w // 2, y + LIST_EDGE + ROW * row + ROW // 2)
        _session.xdotool("click", "--repeat", 2 if double else 1, "--delay", 80, 1)

    def wait_rows(self, count, what):
        return wait_until(lambda: self.rows()[0] == count and self.rows(), 20, what=what)


def fetch_dialog_shown(bar):
    # The fetch dialog is the program's one visible dialog without a caption.
    code, out = bar.remote("@title:", "state")
    return code == 0 and out.split()[0] == "1"


class DirectorySearchTests(unittest.TestCase):
    def setUp(self):
        self.station = station(self, [(0, "Found Song")])
        # Every tune-in playlist names the test station, each under its own
        # address (the station answers any query the same).
        self.directory = DirectoryServer(port=80, station_url=self.station.url("/live?station={id}")).start()
        self.addCleanup(self.directory.stop)

    def start(self, settings, trace=True):
        values = dict(BAR_AT)
        values.update(settings)
        bar = Bar(self, values, trace=trace).start()
        bar.window()
        return bar, SearchWindow(bar)

    def query(self, count):
        """The count-th request the directory received, once it came."""
        return self.directory.wait_requests(count, timeout=20)[count - 1]

    def assertQuery(self, request, words, start, count=3):
        self.assertEqual(b"POST /search-ajax/" + words + b" HTTP/1.0", request.raw.split(b"\r\n")[0])
        self.assertIn(b"\r\nHost: www.shoutcast.com\r\n", request.raw)
        self.assertEqual(FIXED_FORM + b"&count=%d&strIndex=%d&filter=mp3" % (count, start), request.body)

    def test_enter_button_paging_genres_and_a_double_click_that_plays(self):
        bar, search = self.start(dict(SEARCH_AT, OptFlag=0x12, SearchCnt=3))
        wait_until(search.visible, 20, what="the search window shown by OptFlag")

        # Enter in the empty box asks for the top stations, three at a time.
        search.click_text_box()
        _session.key("Return")
        self.assertQuery(self.query(1), b"top", 0)
        search.wait_rows(4, "three stations and NEXT >>")
        wait_until(lambda: "Velmorin Test FM" in bar.drawn(), 10, what="the first station drawn")
        shot = os.environ.get("VELMORIN_SEARCH_SCREENSHOT")
        if shot:  # how docs/velmorin-search.png is made
            _session.move_mouse(5, 5)
            _session.screenshot(shot, region=_session.geometry(_session.windows("^検索$")[0]))

        search.click_row(3, double=True)
        self.assertQuery(self.query(2), b"top", 3)
        search.wait_rows(5, "three more, NEXT >> and << BACK")
        search.click_row(4, double=True)
        self.assertQuery(self.query(3), b"top", 0)
        search.wait_rows(4, "the first page again")

        # The search button takes the box's words, blanks escaped.
        search.click_text_box()
        _session.xdotool("type", "--delay", 30, "jazz lounge")
        wait_until(lambda: search.text() == "jazz lounge", 10, what="the words in the box")
        search.click_button(0)
        self.assertQuery(self.query(4), b"jazz%20lounge", 0)
        search.wait_rows(2, "one station and NEXT >>")
        wait_until(lambda: "JazzLounge Radio" in bar.drawn(), 10, what="the name joined across its lines")

        # The arrow opens the genre menu: its first group's first item.
        search.click_button(0, arrow=True)
        wait_until(bar.other_windows, 10, what="the genre menu")
        search.focus()
        _session.key("Down", "Right", "Return")
        self.assertQuery(self.query(5), b"pop", 0)
        self.assertEqual("pop", search.text(), "the genre's words go into the box")
        search.wait_rows(3, "two stations and NEXT >>")

        capture = SoundCapture(_session)
        self.addCleanup(capture.stop)
        search.click_row(0, double=True)
        tune_in = self.query(6)
        self.assertEqual(b"GET /sbin/tunein-station.pls?id=1001 HTTP/1.0", tune_in.raw.split(b"\r\n")[0])
        self.assertIn(b"\r\nHost: yp.shoutcast.com\r\n", tune_in.raw)
        wait_until(lambda: loud_recently(capture), 20, what="the station in the sink")
        wait_until(lambda: "Found Song" in bar.drawn(), 20, what="its title on the bar")

        # Added to the favorites: a tune-in answer without a playlist adds
        # nothing; a good one adds the stream it names (not
        # the tune-in address) with the type and bit rate as its info, to the
        # hidden favorites window and at once to its file.
        favorites = Favorites(bar)
        self.directory.set_fault("tunein", "empty")
        search.click_button(2)
        self.assertIn(b"GET /sbin/tunein-station.pls?id=1001 ", self.query(7).raw)
        wait_until(lambda: not fetch_dialog_shown(bar) and search.enabled(), 10, what="the empty answer's fetch to end")
        self.directory.set_fault("tunein", None)
        search.click_row(1)
        wait_until(lambda: search.rows()[1] == 1, 10, what="the second station selected")
        search.click_button(2)
        self.assertIn(b"GET /sbin/tunein-station.pls?id=1002 ", self.query(8).raw)
        added = ("日本のラジオ局", "MP3 128kbps", self.station.url("/live?station=1002"), "http://127.0.0.1/jp")
        wait_until(lambda: favorites.count() == 1, 10, what="the favorite's row")
        self.assertEqual([added], favorites.rows(), "one row: the empty answer added none")
        self.assertEqual(0, favorites.selected())
        self.assertEqual(0, favorites.state()["visible"], "the favorites window stays hidden")
        self.assertEqual(pls_bytes([added]), favorites.file())

        self.assertEqual(0, bar.close())
        saved = bar.settings()
        self.assertEqual({k: str(v) for k, v in SEARCH_AT.items()}, {k: saved[k] for k in SEARCH_AT})
        self.assertEqual(0x12, int(saved["OptFlag"]))

    def test_a_busy_directory_keeps_the_page_and_the_window_keeps_its_place(self):
        bar, search = self.start(dict(SEARCH_AT, OptFlag=0x12, SearchCnt=3))
        wait_until(search.visible, 20, what="the search window")
        search.click_text_box()
        _session.key("Return")
        search.wait_rows(4, "the first page")

        # A button's tip, once the window is active as a click makes it.
        x, y, w, h = search.button(2)
        _session.move_mouse(x + w // 2, y + h // 2)
        wait_until(lambda: "お気に入りに追加" in bar.drawn(), 10, what="the add button's tip")

        self.directory.set_fault("search", "busy")
        search.click_text_box()
        _session.key("Return")
        asked = self.query(2).time
        wait_until(lambda: BUSY in bar.drawn(), 10, what="the two-line busy text")
        wait_until(lambda: not fetch_dialog_shown(bar), 10, what="the fetch dialog to close")
        shown = time.monotonic() - asked
        print("busy text: dialog closed %.2f s after the request" % shown)
        self.assertGreaterEqual(shown, 1.0, "the text stays a second")
        self.assertLess(shown, 3.0)
        self.assertEqual(4, search.rows()[0], "the page stays")

        # Dragged by its caption, hidden from the bar's menu command: both kept.
        _, x, y, w, h = search.state()
        self.assertEqual([SEARCH_AT["SearchWinLeft"], SEARCH_AT["SearchWinTop"],
                          SEARCH_AT["SearchWinRight"] - SEARCH_AT["SearchWinLeft"],
                          SEARCH_AT["SearchWinBottom"] - SEARCH_AT["SearchWinTop"]], [x, y, w, h], "placed as stored")
        _session.press(x + w // 2, y + 10)
        for step in range(1, 6):
            _session.move_mouse(x + w // 2 + 8 * step, y + 10 + 6 * step)
        _session.release()
        wait_until(lambda: search.state()[1:] == [x + 40, y + 30, w, h], 10, what="the window to follow")
        bar.command(IDM_SEARCH_WINDOW)
        wait_until(lambda: not search.visible(), 10, what="the window to hide")
        self.assertEqual(0, bar.close())
        saved = bar.settings()
        moved = [SEARCH_AT["SearchWinLeft"] + 40, SEARCH_AT["SearchWinTop"] + 30,
                 SEARCH_AT["SearchWinRight"] + 40, SEARCH_AT["SearchWinBottom"] + 30]
        self.assertEqual([str(v) for v in moved], [saved[k] for k in SEARCH_AT])
        self.assertEqual(0x10, int(saved["OptFlag"]))

        again = Bar(self, {k: saved[k] for k in list(BAR_AT) + list(SEARCH_AT) + ["OptFlag"]}).start()
        again.window()
        search = SearchWindow(again)
        wait_until(lambda: search.state() is not None, 10, what="the search window to exist")
        self.assertFalse(search.visible(), "hidden, as it was left")
        again.command(IDM_SEARCH_WINDOW)
        wait_until(search.visible, 10, what="the window shown by the bar's command")
        self.assertEqual([x + 40, y + 30, w, h], search.state()[1:], "where it was left")
        self.assertEqual(0, again.close())
        self.assertEqual(0x12, int(again.settings()["OptFlag"]))


if __name__ == "__main__":
    unittest.main()
