"""Tests for the test directory, with raw sockets as the program's client speaks."""
import json
import os
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import directory  # noqa: E402
from directory import DirectoryServer, Station  # noqa: E402

FORM = b"order=desc&mode=listenershead2&ajax=true"
# The markers of one station block, in the order the scraper walks them.
ORDER = [b"tunein-station.pls?id=", b"clickabletitle", b'title="', b"Tags:", b"</div>",
         b"Site:", b'href="', b"playingtext", b'dirlistners">', b'dirbitrate">', b'dirtype">']


def exchange(port, request, timeout=10.0, limit=None):
    """Sends request; returns (all bytes until the server closes, seconds)."""
    start = time.monotonic()
    with socket.create_connection(("127.0.0.1", port), timeout=timeout) as s:
        s.sendall(request)
        data = b""
        while limit is None or len(data) < limit:
            chunk = s.recv(65536)
            if not chunk:
                break
            data += chunk
    return data, time.monotonic() - start


def post(port, words, form=FORM + b"&count=50&strIndex=0", **kw):
    request = (b"POST /search-ajax/" + words + b" HTTP/1.0\r\n"
               b"Content-Type: application/x-www-form-urlencoded\r\nUser-Agent: Mozilla\r\n"
               b"Host: 127.0.0.1\r\nContent-Length: " + str(len(form)).encode() + b"\r\n\r\n" + form)
    return request, exchange(port, request, **kw)[0]


def get(port, target, **kw):
    return exchange(port, b"GET " + target + b" HTTP/1.0\r\nHost: 127.0.0.1\r\nUser-Agent: Mozilla\r\n\r\n",
                    **kw)[0]


def blocks(answer):
    body = answer.split(b"\r\n\r\n", 1)[1]
    return [b for b in body.split(b'<div class="boxcontent">') if b]


def ids(answer):
    return [int(b.split(b"?id=", 1)[1].split(b'"', 1)[0]) for b in blocks(answer)]


class SearchTest(unittest.TestCase):
    def setUp(self):
        self.d = DirectoryServer().start()
        self.addCleanup(self.d.stop)

    def test_blocks_carry_the_markers_in_order_and_requests_are_recorded_raw(self):
        request, answer = post(self.d.port, b"top")
        self.assertTrue(answer.startswith(b"HTTP/1.1 200 OK\r\n"))
        found = blocks(answer)
        self.assertEqual(len(directory.DEFAULT_STATIONS), len(found))
        for block in found:
            at = 0
            for marker in ORDER:
                if marker == b"playingtext" and marker not in block:
                    continue
                at = block.index(marker, at)
        self.assertEqual([request], [r.raw for r in self.d.requests()])
        self.assertEqual(b"POST", self.d.requests()[0].method)

    def test_the_table_holds_the_quirks_of_real_pages(self):
        answer = post(self.d.port, b"top")[1]
        self.assertIn("日本のラジオ局".encode("cp932"), answer)
        self.assertIn("今の曲 - 歌手".encode("utf-8"), answer)
        self.assertIn(b'title="Jazz\r\n\t\tLounge Radio"', answer)
        self.assertIn(b'dirtype">AACPLUS<', answer)
        quiet = [b for b in blocks(answer) if b"playingtext" not in b]
        self.assertEqual(1, len(quiet), "one station has no now-playing text")

    def test_count_start_filter_and_words_are_honoured(self):
        everything = ids(post(self.d.port, b"top")[1])
        self.assertEqual(sorted(everything, key=lambda i: -next(
            s.listeners for s in directory.DEFAULT_STATIONS if s.id == i)), everything)
        self.assertEqual(everything[2:5], ids(post(self.d.port, b"top", FORM + b"&count=3&strIndex=2")[1]))
        mp3 = ids(post(self.d.port, b"top", FORM + b"&count=50&strIndex=0&filter=mp3")[1])
        self.assertEqual([1001, 1002, 1003, 1006, 1007, 1008], mp3, "mp3 in any letter case")
        self.assertEqual([1008], ids(post(self.d.port, b"classic%20rock")[1]))
        self.assertEqual([1007], ids(post(self.d.port, "演歌".encode("cp932"))[1]))
        self.assertEqual([], ids(post(self.d.port, b"nothing%26such")[1]))
        self.assertEqual([], ids(post(self.d.port, b"top", FORM + b"&count=5&strIndex=50")[1]))

    def test_a_question_mark_in_the_words_moves_the_rest_into_the_body(self):
        # What the client sends for the words "jazz?x": the path ends at the "?".
        answer = post(self.d.port, b"jazz", b"x?" + FORM + b"&count=1&strIndex=0")[1]
        self.assertEqual([1003], ids(answer))

    def test_a_station_may_leave_out_a_marker(self):
        self.d.stations = [Station(1, "One", omit=["dirbitrate"]), Station(2, "Two")]
        found = blocks(post(self.d.port, b"top")[1])
        self.assertNotIn(b"dirbitrate", found[0])
        self.assertIn(b"dirbitrate", found[1])
        with self.assertRaises(ValueError):
            Station(3, "Three", omit=["nonsense"])


class TuneInTest(unittest.TestCase):
    def test_a_playlist_names_the_local_station(self):
        with DirectoryServer(station_url="http://127.0.0.1:8123/live/{id}") as d:
            answer = get(d.port, b"/sbin/tunein-station.pls?id=1004")
            self.assertTrue(answer.startswith(b"HTTP/1.1 200 OK\r\n"))
            self.assertIn(b"\r\n\r\n[playlist]\r\nnumberofentries=1\r\nFile1=http://127.0.0.1:8123/live/1004\r\n",
                          answer)
            self.assertIn(b"Title1=AAC Hits\r\n", answer)
            self.assertTrue(get(d.port, b"/sbin/tunein-station.pls?id=1").startswith(b"HTTP/1.1 404"))
            self.assertTrue(get(d.port, b"/elsewhere").startswith(b"HTTP/1.1 404"))


class FaultTest(unittest.TestCase):
    def setUp(self):
        self.d = DirectoryServer(slow_seconds=1.0).start()
        self.addCleanup(self.d.stop)

    def test_status_faults(self):
        for mode, start in (("busy", b"HTTP/1.1 503 "), ("missing", b"HTTP/1.1 404 "), ("icy", b"ICY 200 OK\r\n")):
            self.d.set_fault("search", mode)
            self.assertTrue(post(self.d.port, b"top")[1].startswith(start), mode)
        self.d.set_fault("search", "empty")
        self.assertTrue(post(self.d.port, b"top")[1].endswith(b"Content-Length: 0\r\nConnection: close\r\n\r\n"))
        self.d.set_fault("search", None)
        self.assertEqual(8, len(ids(post(self.d.port, b"top")[1])))
        self.d.set_fault("tunein", "empty")
        self.assertNotIn(b"[playlist]", get(self.d.port, b"/sbin/tunein-station.pls?id=1001"))
        with self.assertRaises(ValueError):
            self.d.set_fault("search", "sometimes")

    def test_a_slow_answer_comes_whole_over_its_time(self):
        whole = post(self.d.port, b"top")[1]
        self.d.set_fault("search", "slow")
        request = post(self.d.port, b"top")[0]
        slow, seconds = exchange(self.d.port, request)
        self.assertEqual(whole, slow)
        self.assertGreaterEqual(seconds, 0.8)

    def test_an_endless_answer_goes_on_until_the_client_leaves_or_the_server_stops(self):
        self.d.set_fault("tunein", "endless")
        data = get(self.d.port, b"/sbin/tunein-station.pls?id=1001", limit=4 * 1024 * 1024)
        self.assertTrue(data.startswith(b"HTTP/1.1 200 OK\r\n"))
        self.assertGreaterEqual(len(data), 4 * 1024 * 1024)
        # A reader that stays but stops reading does not hold up stop().
        s = socket.create_connection(("127.0.0.1", self.d.port))
        self.addCleanup(s.close)
        s.sendall(b"GET /sbin/tunein-station.pls?id=1001 HTTP/1.0\r\n\r\n")
        self.d.wait_requests(2)
        start = time.monotonic()
        self.d.stop()
        self.assertLess(time.monotonic() - start, 3.0)


class CommandLineTest(unittest.TestCase):
    def test_listens_where_told_prints_its_port_and_takes_control_requests(self):
        with tempfile.TemporaryDirectory() as tmp:
            port_file = os.path.join(tmp, "port")
            p = subprocess.Popen([sys.executable, os.path.join(HERE, "directory.py"), "--port", "0",
                                  "--port-file", port_file, "--fault", "search=busy"],
                                 stdout=subprocess.PIPE, text=True)
            try:
                line = p.stdout.readline()
                self.assertTrue(line.startswith("directory: listening on http://127.0.0.1:"), line)
                port = int(line.rsplit(":", 1)[1].strip("/\n"))
                with open(port_file) as fh:
                    self.assertEqual(port, int(fh.read()))
                self.assertTrue(post(port, b"top")[1].startswith(b"HTTP/1.1 503 "))
                faults = json.loads(get(port, b"/__fault?search=none").split(b"\r\n\r\n", 1)[1])
                self.assertEqual({"search": None, "tunein": None}, faults)
                self.assertTrue(post(port, b"top")[1].startswith(b"HTTP/1.1 200 "))
                seen = json.loads(get(port, b"/__requests").split(b"\r\n\r\n", 1)[1])
                self.assertEqual(2, len(seen["requests"]), "control requests are not recorded")
                self.assertTrue(seen["requests"][0]["raw"].startswith("POST /search-ajax/top HTTP/1.0"))
            finally:
                p.send_signal(signal.SIGTERM)
                self.assertEqual(0, p.wait(10))
                p.stdout.close()


if __name__ == "__main__":
    unittest.main()
