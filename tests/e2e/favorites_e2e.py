"""End-to-end tests of the favorites window: the real Velmorin.exe under Wine.

They run on the bar's harness (bar_e2e.Bar): each test starts the program
from a fresh directory with its own "Korimba3.ini" and "favorite.pls",
drives the favorites window with the mouse and keyboard on the test
session's display, listens to the null sink, and reads the favorites file
after every change. bar_remote.exe reads from outside what a user sees of
the list: its rows, the selection, the column widths and where the buttons
and rows are.

Environment, set by CTest: as bar_e2e.
"""
import os
import signal
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import bar_e2e  # noqa: E402
from bar_e2e import Bar, LEFT, TOP, PLAY, STOP, CLOSE, station  # noqa: E402
from wineapp import wait_until  # noqa: E402
from sound import SoundCapture, loud_recently, quiet_recently  # noqa: E402

LIST_BUTTON = (324, 10)  # the bar's favorites button

LVM_GETITEMCOUNT = 0x1004
LVM_GETNEXTITEM = 0x100C
LVM_GETITEMRECT = 0x100E
LVM_GETCOLUMNWIDTH = 0x101D
LVNI_FOCUSED, LVNI_SELECTED = 1, 2
TB_GETRECT = 0x433
PLAY_ROW, ADD, DELETE, EDIT, UP, DOWN = 2000, 2002, 2003, 2004, 2005, 2006

FAVORITES_TITLE = "^お気に入り$"


def setUpModule():
    bar_e2e.setUpModule()


def tearDownModule():
    bar_e2e.tearDownModule()


def session():
    return bar_e2e._session


def pls_bytes(rows):
    """The favorites file holding rows of (name, info, URL, home page)."""
    lines = ["[playlist]", "numberofentries=%d" % len(rows)]
    for k, (name, info, url, home) in enumerate(rows, 1):
        lines += ["File%d=%s" % (k, url), "Title%d=%s" % (k, name), "Info%d=%s" % (k, info),
                  "Home%d=%s" % (k, home), "Length%d=-1" % k]
    lines.append("Version=2")
    return ("\r\n".join(lines) + "\r\n").encode("cp932")


class Favorites:
    """The favorites window of a running bar, as a user sees it."""

    def __init__(self, bar):
        self.bar = bar

    def remote(self, target, *args):
        return self.bar.remote("@" + target, *args)

    def send(self, target, message, wparam=0, lparam=0):
        code, out = self.remote(target, "send", message, wparam, lparam)
        self.bar.case.assertEqual(0, code, self.bar.remote_error)
        return int(out)

    def file(self):
        with open(self.bar.path("favorite.pls"), "rb") as f:
            return f.read()

    def file_holds(self, rows):
        return lambda: os.path.exists(self.bar.path("favorite.pls")) and self.file() == pls_bytes(rows)

    def window(self):
        return wait_until(lambda: session().windows(FAVORITES_TITLE), 20, what="the favorites window")[0]

    def state(self):
        code, out = self.remote("fav", "state")
        if code != 0:
            return None
        visible, _, _, x, y, w, h = (int(v) for v in out.split())
        return {"visible": visible, "rect": (x, y, w, h)}

    def count(self):
        return self.send("fav/5011", LVM_GETITEMCOUNT)

    def selected(self):
        return self.send("fav/5011", LVM_GETNEXTITEM, -1, LVNI_SELECTED)

    def focused(self):
        return self.send("fav/5011", LVM_GETNEXTITEM, -1, LVNI_FOCUSED)

    def column_width(self, column):
        return self.send("fav/5011", LVM_GETCOLUMNWIDTH, column)

    def rows(self):
        out = []
        for row in range(self.count()):
            cells = []
            for column in range(4):
                code, text = self.remote("fav/5011", "cell", row, column)
                self.bar.case.assertEqual(0, code, self.bar.remote_error)
                cells.append(bytes.fromhex(text).decode("cp932"))
            out.append(tuple(cells))
        return out

    def _rect(self, target, message, wparam):
        code, out = self.remote(target, "rect", message, wparam)
        self.bar.case.assertEqual(0, code, self.bar.remote_error)
        return tuple(int(v) for v in out.split())

    def click_button(self, command):
        left, top, right, bottom = self._rect("fav/5010", TB_GETRECT, command)
        session().click((left + right) // 2, (top + bottom) // 2)

    def row_point(self, row):
        left, top, right, bottom = self._rect("fav/5011", LVM_GETITEMRECT, row)
        return left + 30, (top + bottom) // 2

    def click_row(self, row):
        session().click(*self.row_point(row))
        wait_until(lambda: self.selected() == row, 5, what="row %d selected" % row)

    def double_click_row(self, row):
        session().move_mouse(*self.row_point(row))
        session().xdotool("click", "--repeat", "2", "--delay", "80", 1)

    def menu(self):
        """The add button's menu, while it is open."""
        found = self.bar.other_windows()
        return found[0] if found else None

    def choose_from_add_menu(self, item):
        self.click_button(ADD)
        menu = wait_until(self.menu, 10, what="the add menu")
        x, y, w, h = session().geometry(menu)
        session().click(x + w // 2, y + h * (2 * item + 1) // 4)  # two items, one above the other
        wait_until(lambda: menu not in self.bar.other_windows(), 10, what="the add menu to close")

    def editor(self, title):
        return wait_until(lambda: session().windows("^%s$" % title), 10, what="the station editor " + title)[0]

    def field(self, title, control):
        code, out = self.remote("title:%s/%d" % (title.encode("cp932").hex(), control), "text")
        self.bar.case.assertEqual(0, code, self.bar.remote_error)
        return bytes.fromhex(out).decode("cp932")

    def fill_editor(self, title, values):
        """Types into the editor's fields from the name on, as a user does
        from the keyboard: the dialog opens with OK focused; two tabs reach
        the name, whose text is then selected. None leaves a field as it is.
        Enter presses OK."""
        editor = self.editor(title)
        session().xdotool("windowfocus", "--sync", editor)
        session().key("Tab", "Tab")
        for i, value in enumerate(values):
            if i:
                session().key("Tab")
            if value is not None:
                session().xdotool("type", "--delay", "15", value)
        session().key("Return")
        wait_until(lambda: not session().windows("^%s$" % title), 10, what="the editor to close")


class FavoritesTests(unittest.TestCase):
    def start(self, settings, rows):
        bar = Bar(self, settings)
        with open(bar.path("favorite.pls"), "wb") as f:
            f.write(pls_bytes(rows))
        bar.start()
        bar.window()
        # A hidden favorites window is made once the bar is on the screen.
        wait_until(lambda: bar.remote("@fav", "state")[0] == 0, 20, what="the favorites window to exist")
        return bar, Favorites(bar)

    def test_every_change_reaches_the_file_at_once_and_a_double_click_plays(self):
        srv = station(self, [(0, "Favorite Song")], url="http://station.example/")
        rows = [("ジャズ・ラウンジ", "MP3 128kbps", "http://127.0.0.1:1/jazz", "http://jazz.example/"),
                ("渋谷クラブ", "MP3 192kbps", "http://127.0.0.1:1/club", "")]
        bar, fav = self.start({"WinX": LEFT, "WinY": TOP, "OptFlag": 0x14, "LastURL": srv.url("/list.pls"),
                               "FavWinLeft": LEFT, "FavWinTop": TOP + 60, "FavWinRight": LEFT + 520,
                               "FavWinBottom": TOP + 320}, rows)
        fav.window()
        self.assertEqual(rows, fav.rows())
        capture = SoundCapture(session())
        self.addCleanup(capture.stop)

        # While the station plays, the add menu's first item takes it in.
        bar.click(PLAY)
        wait_until(lambda: loud_recently(capture), 20, what="the station to play")
        fav.choose_from_add_menu(0)
        rows.append(("E2E Station", "MP3 128kbps", srv.url("/live"), "http://station.example/"))
        wait_until(fav.file_holds(rows), 10, what="the playing station in the file")
        self.assertEqual(2, fav.selected())

        # A new entry typed into the editor.
        fav.choose_from_add_menu(1)
        typed = ("Typed FM", "MP3 64kbps", srv.url("/live"), "http://typed.example/")
        fav.fill_editor("追加", typed)
        rows.append(typed)
        wait_until(fav.file_holds(rows), 10, what="the typed station in the file")
        self.assertEqual(3, fav.selected())

        # Editing shows the row and changes only what was typed over.
        fav.click_row(0)
        fav.click_button(EDIT)
        fav.editor("編集")
        self.assertEqual(("ジャズ・ラウンジ", "http://jazz.example/"),
                         (fav.field("編集", 1200), fav.field("編集", 1203)))
        fav.fill_editor("編集", ["Jazz Lounge"])
        rows[0] = ("Jazz Lounge",) + rows[0][1:]
        wait_until(fav.file_holds(rows), 10, what="the edited name in the file")

        # Moves keep the row selected, so repeated clicks go on moving it.
        fav.click_row(3)
        fav.click_button(UP)
        rows[2], rows[3] = rows[3], rows[2]
        wait_until(fav.file_holds(rows), 10, what="the row one up in the file")
        fav.click_button(UP)
        rows[1], rows[2] = rows[2], rows[1]
        wait_until(fav.file_holds(rows), 10, what="the row two up in the file")
        self.assertEqual((1, 1), (fav.selected(), fav.focused()))
        fav.click_button(DOWN)
        rows[1], rows[2] = rows[2], rows[1]
        wait_until(fav.file_holds(rows), 10, what="the row down again in the file")
        self.assertEqual((2, 2), (fav.selected(), fav.focused()))

        # Delete selects the row that takes the deleted one's place.
        fav.click_row(1)
        fav.click_button(DELETE)
        del rows[1]
        wait_until(fav.file_holds(rows), 10, what="the deletion in the file")
        self.assertEqual(1, fav.selected())
        self.assertEqual(rows, fav.rows())

        # A double-click plays the row.
        bar.click(STOP)
        wait_until(lambda: quiet_recently(capture), 10, what="silence after stop")
        self.assertEqual("Typed FM", rows[1][0])
        fav.double_click_row(1)
        wait_until(lambda: loud_recently(capture), 20, what="the double-clicked station to play")

        # Killed as soon as the list shows a change, the program has already
        # written it: the list answers only once the change is complete.
        fav.click_row(2)
        fav.click_button(DELETE)
        wait_until(lambda: fav.count() == 2, 10, what="the row to go")
        os.killpg(bar.program.process.pid, signal.SIGKILL)
        bar.program.wait(10)
        del rows[2]
        self.assertEqual(pls_bytes(rows), fav.file())

        # Started again, the list holds the same rows in the same order.
        bar.start()
        fav.window()
        wait_until(lambda: fav.count() == 2, 10, what="the rows after the restart")
        self.assertEqual(rows, fav.rows())
        self.assertEqual(0, bar.close())
        self.assertEqual(pls_bytes(rows), fav.file(), "the shutdown save writes the same bytes")

    def test_place_visibility_and_column_widths_come_back(self):
        rows = [("クラシック名曲アワー", "MP3 64kbps", "http://127.0.0.1:1/classic.pls", ""),
                ("演歌ステーション", "MP3 96kbps", "http://127.0.0.1:1/enka", "http://enka.example/"),
                ("東京ＦＭ", "MP3 128kbps", "http://127.0.0.1:1/tokyo", "")]
        bar, fav = self.start({"WinX": LEFT, "WinY": TOP, "OptFlag": 0x14}, rows)
        fav.window()
        # Never placed: below the bar, 300 x 250.
        wait_until(lambda: fav.state()["rect"] == (LEFT, TOP + 50, 300, 250), 10, what="the window below the bar")
        self.assertEqual(100, fav.column_width(0))

        # Dragged by its caption, and its first column widened at the header.
        x, y, w, h = fav.state()["rect"]
        session().press(x + 120, y + 8)
        for step in range(1, 9):
            session().move_mouse(x + 120 + 10 * step, y + 8 + 7 * step)
        session().release()
        wait_until(lambda: fav.state()["rect"] == (x + 80, y + 56, w, h), 10, what="the window to follow the mouse")
        left, top, _, _ = fav._rect("fav/5011", LVM_GETITEMRECT, 0)
        divider = left + 100  # the first column's right edge, in the header above the rows
        session().press(divider - 1, top - 8)
        for step in range(1, 9):
            session().move_mouse(divider - 1 + 5 * step, top - 8)
        session().release()
        wait_until(lambda: fav.column_width(0) > 120, 10, what="the first column to widen")
        widths = [fav.column_width(c) for c in range(4)]
        place = fav.state()["rect"]

        # The bar's favorites button hides and shows it.
        bar.click(LIST_BUTTON)
        wait_until(lambda: not fav.state()["visible"], 10, what="the window to hide")
        bar.click(LIST_BUTTON)
        wait_until(lambda: fav.state()["visible"], 10, what="the window to show again")
        bar.click(CLOSE)
        self.assertEqual(0, bar.program.wait(15))
        saved = bar.settings()
        self.assertEqual([str(place[0]), str(place[1]), str(place[0] + place[2]), str(place[1] + place[3])],
                         [saved[k] for k in ("FavWinLeft", "FavWinTop", "FavWinRight", "FavWinBottom")])
        self.assertEqual([str(v) for v in widths], [saved["FavColW%d" % n] for n in range(1, 5)])
        self.assertEqual(0x14, int(saved["OptFlag"]))

        # Started again: the same place, widths and rows; then hidden, it
        # stays hidden across a restart.
        bar.start()
        fav.window()
        wait_until(lambda: fav.state()["rect"] == place, 10, what="the window at its saved place")
        self.assertEqual(widths, [fav.column_width(c) for c in range(4)])
        self.assertEqual(rows, fav.rows())
        bar.click(LIST_BUTTON)
        wait_until(lambda: not fav.state()["visible"], 10, what="the window to hide")
        self.assertEqual(0, bar.close())
        self.assertEqual(0x10, int(bar.settings()["OptFlag"]))
        bar.start()
        bar.window()
        # Start-up shows the favorites window, when it does, before the bar.
        self.assertEqual(0, fav.state()["visible"])
        self.assertEqual(place, fav.state()["rect"])
        self.assertEqual(0, bar.close())


if __name__ == "__main__":
    unittest.main()
