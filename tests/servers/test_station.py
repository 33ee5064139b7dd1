"""Tests for the test station and the generated media, using raw sockets."""
import json
import math
import os
import select
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_media  # noqa: E402
import station  # noqa: E402
from station import Mount, RawMeta, StationServer  # noqa: E402

MEDIA = os.environ.get("VELMORIN_MEDIA_DIR") or \
    os.path.join(HERE, "..", "..", "build", "test-media")
FILES = {}


def setUpModule():
    FILES.update(make_media.build(MEDIA))


def data(name):
    with open(FILES[name], "rb") as fh:
        return fh.read()


def fetch(port, request, until_eof=True, want=None, timeout=5.0):
    """Send request; return (socket, bytes) once EOF or `want` bytes arrive."""
    s = socket.create_connection(("127.0.0.1", port), timeout=timeout)
    s.sendall(request)
    buf, deadline = b"", time.monotonic() + timeout
    while (want is None or len(buf) < want) and time.monotonic() < deadline:
        d = s.recv(65536)
        if not d:
            break
        buf += d
    if until_eof:
        s.close()
    return s, buf


def get(port, path, meta=True, **kw):
    req = b"GET " + path.encode() + b" HTTP/1.0\r\n" + \
        (b"Icy-MetaData:1\r\n" if meta else b"") + b"\r\n"
    return fetch(port, req, **kw)


def split(buf):
    i = buf.index(b"\r\n\r\n") + 4
    return buf[:i], buf[i:]


def deinterleave(body, metaint):
    """(audio, {point: content}) of an ICY body's non-empty blocks."""
    audio, blocks, i, k = bytearray(), {}, 0, 0
    while i < len(body):
        audio += body[i:i + metaint]
        i += metaint
        if i >= len(body):
            break
        k += 1
        n = body[i] * 16
        if n and i + 1 + n < len(body):  # only blocks that audio follows
            blocks[k] = body[i + 1:i + 1 + n]
        i += 1 + n
    return bytes(audio), blocks


def drain(sock, quiet=0.3, timeout=5.0):
    """Read until nothing arrives for `quiet` s; (bytes, reached EOF)."""
    buf, deadline = b"", time.monotonic() + timeout
    while time.monotonic() < deadline:
        if not select.select([sock], [], [], quiet)[0]:
            return buf, False
        d = sock.recv(65536)
        if not d:
            return buf, True
        buf += d
    raise AssertionError("data kept coming")


def block_for(title):
    b = b"StreamTitle='" + title + b"';StreamUrl='';"
    return b.ljust(-(-len(b) // 16) * 16, b"\0")


class MediaTests(unittest.TestCase):
    def test_every_file_is_whole_frames_of_the_promised_format(self):
        for name, info in make_media.CATALOG.items():
            with self.subTest(name):
                d = data(name)
                frames = station.scan_frames(d)
                start = station.id3v2_size(d)
                self.assertEqual(bool(start), info["id3v2"])
                self.assertEqual(frames[0].offset, start)
                self.assertEqual(sum(f.size for f in frames), len(d) - start)
                version = {"1": 1, "2": 2, "2.5": 25}[info["mpeg"]]
                self.assertEqual({(f.version, f.samplerate, f.channels, f.crc)
                                  for f in frames},
                                 {(version, info["samplerate"], info["channels"],
                                   info["crc"])})
                rates = {f.bitrate for f in frames}
                self.assertEqual(rates == {info["kbps"]}, not info["vbr"])
                first = d[start:start + frames[0].size]
                self.assertEqual(b"Xing" in first or b"Info" in first, info["xing"])
                secs = station.mp3_info(d).seconds
                self.assertTrue(info["seconds"] <= secs < info["seconds"] + 0.2, secs)

    def test_rates_follow_bitrate(self):
        for name, bps in (("tone1k_44k_stereo_128.mp3", 16000),
                          ("tone1k_22k_stereo_64.mp3", 8000),
                          ("tone440_8k_stereo_16.mp3", 2000)):
            m = Mount(file=FILES[name])
            self.assertAlmostEqual(m.rate, bps, delta=bps * 0.005, msg=name)
            self.assertEqual(m.br * 125, bps)

    def test_tones_have_their_frequency(self):
        for name, freq in (("tone1k_44k_stereo_128.mp3", 1000),
                           ("tone440_8k_stereo_16.mp3", 440)):
            with tempfile.TemporaryDirectory() as tmp:
                wav = os.path.join(tmp, "d.wav")
                subprocess.run(["lame", "--quiet", "--decode", FILES[name], wav],
                               check=True)
                with wave.open(wav) as w:
                    rate, ch = w.getframerate(), w.getnchannels()
                    w.readframes(rate // 2)
                    pcm = memoryview(w.readframes(rate)).cast("h")[::ch]
            crossings = sum(1 for a, b in zip(pcm, pcm[1:]) if a < 0 <= b)
            self.assertAlmostEqual(crossings, freq, delta=freq * 0.02, msg=name)

    def test_build_is_idempotent(self):
        path = FILES["tone440_44k_mono_96.mp3"]
        before = os.stat(path).st_mtime_ns
        make_media.build(MEDIA, ["tone440_44k_mono_96.mp3"])
        self.assertEqual(os.stat(path).st_mtime_ns, before)


TITLES = [(0, "Hello".encode()), (100, "こんにちは".encode("utf-8")),
          (9000, "東京 ラジオ".encode("cp932")), (30000, b"\xff\x00'raw;"),
          (30001, b"later wins"), (70000, b"last")]


class StreamTests(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        tone = data("tone1k_44k_stereo_128.mp3")
        cls.tone, cls.id3 = tone, data("tone1k_44k_stereo_128_id3.mp3")
        cls.loop_titles = [(0, b"A"), (20000 - len(cls.id3) % 10000, b"B")]
        mounts = {"/m%d" % mi: Mount(audio=tone, metaint=mi, titles=TITLES, rate=0)
                  for mi in (1, 16, 1000, 8192, 16000, 100000)}
        mounts.update({
            "/id3": Mount(audio=cls.id3, metaint=4096, rate=0),
            # B's second pass falls exactly on a metadata point.
            "/loop": Mount(audio=cls.id3, metaint=10000, loop=True, rate=0,
                           titles=cls.loop_titles),
            "/raw": Mount(audio=tone, metaint=500, rate=0,
                          titles=[(0, RawMeta(b"StreamUrl='x';")), (600, b"")]),
            "/always": Mount(audio=tone, metaint=2000, metadata="always", rate=0,
                             titles=[(0, b"t")]),
            "/never": Mount(audio=tone, metaint=2000, metadata="never", rate=0),
            "/plain": Mount(audio=tone, rate=0, name="日本FM".encode("cp932"),
                            url="http://x/", genre="Jazz", br=None),
        })
        cls.srv = StationServer(mounts).start()

    @classmethod
    def tearDownClass(cls):
        cls.srv.stop()

    def test_head_lists_metaint_only_when_asked_and_enabled(self):
        base = (b"ICY 200 OK\r\nicy-name:Velmorin Test Station\r\n"
                b"icy-url:http://127.0.0.1/\r\ncontent-type:audio/mpeg\r\nicy-br:128\r\n")
        for path, meta, extra in (("/m8192", True, b"icy-metaint:8192\r\n"),
                                  ("/m8192", False, b""), ("/never", True, b""),
                                  ("/always", False, b"icy-metaint:2000\r\n")):
            head, _ = split(get(self.srv.port, path, meta=meta)[1])
            self.assertEqual(head, base + extra + b"\r\n", (path, meta))
        for line, extra in ((b"icy-metadata: 1", b"icy-metaint:8192\r\n"),
                            (b"Icy-MetaData:0", b"")):
            _, buf = fetch(self.srv.port, b"GET /m8192 HTTP/1.0\r\n" + line + b"\r\n\r\n")
            self.assertEqual(split(buf)[0], base + extra + b"\r\n", line)
        head, body = split(get(self.srv.port, "/plain")[1])
        self.assertEqual(head, b"ICY 200 OK\r\nicy-name:\x93\xfa\x96{FM\r\nicy-genre:Jazz"
                               b"\r\nicy-url:http://x/\r\ncontent-type:audio/mpeg\r\n\r\n")
        self.assertEqual(body, self.tone)

    def test_audio_is_exact_and_titles_land_on_their_points(self):
        n = len(self.tone)
        for mi in (1, 16, 1000, 8192, 16000, 100000):
            with self.subTest(metaint=mi):
                _, body = split(get(self.srv.port, "/m%d" % mi)[1])
                audio, blocks = deinterleave(body, mi)
                self.assertEqual(audio, self.tone)
                want = {}
                for off, title in TITLES:
                    k = max(1, math.ceil(off / mi))
                    if k * mi < n:
                        want[k] = block_for(title)
                self.assertEqual(blocks, want)
                conn = self.srv.connections("/m%d" % mi)[-1]
                conn.done.wait(2)
                self.assertEqual({e.point: e.block for e in conn.meta_log}, want)
                self.assertTrue(all(e.audio_offset == e.point * mi for e in conn.meta_log))
                self.assertEqual((conn.end, conn.audio_sent), ("eof", n))

    def test_id3_raw_always_and_never(self):
        audio, blocks = deinterleave(split(get(self.srv.port, "/id3")[1])[1], 4096)
        self.assertEqual((audio, blocks), (self.id3, {}))
        _, blocks = deinterleave(split(get(self.srv.port, "/raw")[1])[1], 500)
        self.assertEqual(blocks, {1: b"StreamUrl='x';\0\0", 2: block_for(b"")})
        _, body = split(get(self.srv.port, "/always", meta=False)[1])
        self.assertEqual(deinterleave(body, 2000)[1], {1: block_for(b"t")})
        self.assertEqual(split(get(self.srv.port, "/never")[1])[1], self.tone)

    def test_loop_repeats_file_and_titles(self):
        n, want = len(self.id3), int(len(self.id3) * 2.5)
        s, buf = get(self.srv.port, "/loop", until_eof=False, want=want)
        s.close()
        head, body = split(buf)
        audio, blocks = deinterleave(body, 10000)
        passes = len(audio) // n + 1
        self.assertEqual(audio, (self.id3 * passes)[:len(audio)])
        self.assertGreater(passes, 2)
        for p in range(passes):
            for off, t in self.loop_titles:
                k = max(1, math.ceil((off + p * n) / 10000))
                if k * 10000 < len(audio):
                    self.assertEqual(blocks.pop(k), block_for(t), (p, off))
        self.assertFalse(blocks)


class PacingTests(unittest.TestCase):
    def setUp(self):
        self.tone = data("tone1k_44k_stereo_128.mp3")

    def test_burst_then_steady_rate(self):
        burst, rate = 16384, 64000
        with StationServer({"/p": Mount(audio=self.tone, metaint=8192, burst=burst,
                                        rate=rate, chunk=4096,
                                        titles=[(0, b"a"), (30000, b"b")])}) as srv:
            t = time.monotonic()
            _, body = split(get(srv.port, "/p")[1])
            took = time.monotonic() - t
            conn = srv.connections()[0]
            self.assertTrue(conn.done.wait(2))
        self.assertEqual(deinterleave(body, 8192)[0], self.tone)
        expect = (len(self.tone) - burst) / rate
        self.assertTrue(expect * 0.9 < took < expect + 0.5, took)
        t0 = conn.head_sent_at
        for when, off in conn.progress:
            due = max(0.0, (off - burst) / rate)
            self.assertGreaterEqual(when - t0, due - 0.002, off)
            self.assertLess(when - t0, due + 0.25, off)
        self.assertEqual(conn.progress[-1][1], len(self.tone))
        self.assertEqual([e.point for e in conn.meta_log], [1, 4])
        for e in conn.meta_log:  # titles leave right before their audio
            after = [w for w, o in conn.progress if o > e.audio_offset][0]
            self.assertLess(after - e.time, 0.01)

    def test_client_never_falls_a_chunk_behind(self):
        # metaint < chunk: short pieces must not be held back for later.
        burst, rate, mi = 8000, 64000, 1000
        with StationServer({"/p": Mount(audio=self.tone, metaint=mi, burst=burst,
                                        rate=rate, chunk=4096)}) as srv:
            s = socket.create_connection(("127.0.0.1", srv.port), timeout=5)
            s.sendall(b"GET /p HTTP/1.0\r\nIcy-MetaData:1\r\n\r\n")
            buf, seen = b"", []
            while len(buf) < 45000:
                d = s.recv(65536)
                self.assertTrue(d)
                seen.append((time.monotonic(), len(buf)))
                buf += d
            s.close()
            t0 = srv.wait_connections(1)[0].head_sent_at
        hl = len(split(buf)[0])
        behind = []
        for when, before in seen:
            b = before - hl
            audio = b - b // (mi + 1)  # every block is the one byte 0
            if audio >= burst:
                behind.append(burst + rate * (when - t0) - audio)
        self.assertGreater(len(behind), 20)
        behind.sort()
        self.assertLess(behind[len(behind) * 9 // 10], 2500)


class FaultTests(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        tone = cls.tone = data("tone1k_44k_stereo_128.mp3")
        empty = dict(body=b"", headers=[])
        cls.srv = StationServer({
            "/full": Mount(status="ICY 400 Server Full", **empty),
            "/auth": Mount(status="ICY 401 x", **empty),
            "/http": Mount(audio=tone, status="HTTP/1.0 200 OK", rate=0),
            "/moved": Mount(status="HTTP/1.1 302 Found", body=b"",
                            headers=[("Location", "http://127.0.0.1:{port}/aac")]),
            "/html": Mount(head=b"<html><body>nope</body></html>\n", body=b""),
            "/aac": Mount(audio=tone, content_type="audio/aacp", br=None, name=None,
                          url=None, rate=0),
            "/notype": Mount(audio=tone, content_type=None, rate=0),
            "/close": Mount(audio=tone, metaint=100, titles=[(0, b"x")],
                            close_after=150, rate=0),
            "/closemeta": Mount(audio=tone, metaint=100, titles=[(0, b"x")],
                                close_after=110, rate=0),
            "/reset": Mount(audio=tone, close_after=10, reset=True),
            "/stall": Mount(audio=tone, stall_after=3000),
            "/stallmeta": Mount(audio=tone, metaint=1000, stall_in_meta=5,
                                titles=[(1500, b"Song")]),
            "/drip": Mount(head=b"ICY 200 OK\r\n\r\n", audio=tone, drip_ms=15),
            "/headonly": Mount(audio=tone, header_only=True, headers=[]),
            "/silent": Mount(audio=tone, silent=True),
        }).start()

    @classmethod
    def tearDownClass(cls):
        cls.srv.stop()

    def last(self, path):
        return self.srv.wait_connections(1, path)[-1]

    def test_status_lines_and_content_types_verbatim(self):
        p = self.srv.port
        for path, head in (
                ("/full", b"ICY 400 Server Full\r\n\r\n"), ("/auth", b"ICY 401 x\r\n\r\n"),
                ("/moved", b"HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:%d/aac"
                           b"\r\n\r\n" % p),
                ("/aac", b"ICY 200 OK\r\ncontent-type:audio/aacp\r\n\r\n")):
            self.assertEqual(split(get(p, path)[1])[0], head, path)
        self.assertEqual(get(p, "/html")[1], b"<html><body>nope</body></html>\n")
        head, body = split(get(p, "/http", meta=False)[1])
        self.assertTrue(head.startswith(b"HTTP/1.0 200 OK\r\nicy-name:"))
        self.assertEqual(body, self.tone)
        self.assertNotIn(b"content-type", split(get(p, "/notype")[1])[0])

    def test_close_after_counts_metadata_as_body(self):
        _, body = split(get(self.srv.port, "/close")[1])
        self.assertEqual(body, self.tone[:100] + b"\x02" + block_for(b"x")
                         + self.tone[100:117])
        conn = self.last("/close")
        self.assertTrue(conn.done.wait(2))
        self.assertEqual((conn.end, conn.audio_sent, len(conn.meta_log)),
                         ("close_after", 117, 1))
        _, body = split(get(self.srv.port, "/closemeta")[1])
        self.assertEqual(body, self.tone[:100] + b"\x02" + block_for(b"x")[:9])
        conn = self.last("/closemeta")
        self.assertTrue(conn.done.wait(2))
        self.assertEqual((conn.audio_sent, conn.meta_log), (100, []))
        s, _ = get(self.srv.port, "/reset", until_eof=False, want=0)
        with self.assertRaises(ConnectionResetError):
            while s.recv(4096):
                pass
        s.close()
        self.assertEqual(self.last("/reset").body_sent, 10)

    def test_stalls_keep_socket_open_and_silent(self):
        block = b"\x02" + block_for(b"Song")
        for path, meta, want in (
                ("/stall", False, self.tone[:3000]),
                ("/stallmeta", True, self.tone[:1000] + b"\x00" +
                 self.tone[1000:2000] + block[:6]),
                ("/headonly", False, b"ICY 200 OK\r\n\r\n"), ("/silent", False, b"")):
            with self.subTest(path):
                s, _ = get(self.srv.port, path, meta=meta, until_eof=False, want=0)
                buf, eof = drain(s)
                self.assertFalse(eof)
                self.assertEqual(buf if path in ("/headonly", "/silent")
                                 else split(buf)[1], want)
                conn = self.last(path)
                self.assertFalse(conn.done.is_set())
                s.close()
                self.assertTrue(conn.done.wait(2))
                if path == "/stallmeta":
                    self.assertEqual([(e.point, e.complete) for e in conn.meta_log],
                                     [(2, False)])
                self.assertEqual(conn.end, {"/stall": "stall", "/stallmeta": "stall_in_meta",
                                            "/headonly": "header_only",
                                            "/silent": "silent"}[path])

    def test_drip_sends_head_one_byte_at_a_time(self):
        s = socket.create_connection(("127.0.0.1", self.srv.port), timeout=5)
        s.sendall(b"GET /drip HTTP/1.0\r\n\r\n")
        arrivals, buf = [], b""
        while len(buf) < 14:
            buf += s.recv(1)
            arrivals.append(time.monotonic())
        s.close()
        self.assertEqual(buf, b"ICY 200 OK\r\n\r\n")
        self.assertGreater(arrivals[-1] - arrivals[0], 13 * 0.015 * 0.8)

    def test_stop_ends_held_connections_and_threads(self):
        srv = StationServer({"/s": Mount(audio=self.tone, silent=True),
                             "/b": Mount(audio=self.tone, loop=True, rate=0)}).start()
        socks = [get(srv.port, p, until_eof=False, want=w)[0]
                 for p, w in (("/s", 0), ("/b", 10), ("/b", 10))]
        srv.wait_connections(3)
        threads = set(srv._threads) | {srv._acceptor}
        self.assertEqual(len(threads), 4)
        t = time.monotonic()
        srv.stop()
        self.assertLess(time.monotonic() - t, 2)
        self.assertFalse([th for th in threads if th.is_alive()])
        self.assertTrue(all(c.done.is_set() for c in srv.connections()))
        self.assertEqual({c.end for c in srv.connections()}, {"stopped"})
        self.assertEqual(drain(socks[0]), (b"", True))
        for s in socks:
            s.close()


class PlsAndCaptureTests(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.srv = StationServer({
            "/list.pls": Mount(pls=["http://127.0.0.1:{port}/dead",
                                    ("http://127.0.0.1:{port}/live", "Live")]),
            "/gone.pls": Mount(status="HTTP/1.0 404 Not Found", body=b""),
            "/six.pls": Mount(body=b"[playlist]\nnumberofentries=6\n", content_type=None),
            "/cut.pls": Mount(pls=["http://127.0.0.1:{port}/a"], close_after=20),
        }).start()

    @classmethod
    def tearDownClass(cls):
        cls.srv.stop()

    def test_playlists(self):
        p = self.srv.port
        body = ("[playlist]\r\nnumberofentries=2\r\nFile1=http://127.0.0.1:%d/dead\r\n"
                "Length1=-1\r\nFile2=http://127.0.0.1:%d/live\r\nTitle2=Live\r\n"
                "Length2=-1\r\nVersion=2\r\n" % (p, p)).encode()
        self.assertEqual(get(p, "/list.pls")[1], b"HTTP/1.0 200 OK\r\nContent-Type: "
                         b"audio/x-scpls\r\nContent-Length: %d\r\n\r\n" % len(body) + body)
        self.assertEqual(get(p, "/gone.pls")[1], b"HTTP/1.0 404 Not Found\r\n"
                         b"Content-Length: 0\r\n\r\n")
        self.assertTrue(get(p, "/six.pls")[1].endswith(b"\r\n\r\n[playlist]\n"
                                                       b"numberofentries=6\n"))
        self.assertTrue(get(p, "/nowhere")[1].startswith(b"HTTP/1.0 404 "))
        self.assertEqual(split(get(p, "/cut.pls")[1])[1],
                         b"[playlist]\r\nnumberofentries=1\r\nFile1=h"[:20])

    def test_requests_are_recorded_byte_for_byte(self):
        p = self.srv.port
        self.srv.clear()
        odd = b"GET /gone.pls?x=1 HTTP/1.1\r\nHost: a\r\nuser-agent: V\xe9\r\n\r\n"
        s = socket.create_connection(("127.0.0.1", p))
        for i in range(0, len(odd), 7):  # split across writes
            s.sendall(odd[i:i + 7])
        self.assertEqual(s.recv(100)[:22], b"HTTP/1.0 404 Not Found")
        s.close()
        fetch(p, b"GET /six.pls HTTP/1.0\n\n")
        socket.create_connection(("127.0.0.1", p)).close()
        conns = self.srv.wait_connections(3)
        self.assertEqual([c.request for c in conns],
                         [odd, b"GET /six.pls HTTP/1.0\n\n", b""])
        self.assertTrue(all(c.done.wait(2) for c in conns))
        self.assertEqual([c.end for c in conns], ["eof", "eof", "no_request"])
        _, buf = fetch(p, b"GET /__requests HTTP/1.0\r\n\r\n")
        doc = json.loads(split(buf)[1])
        self.assertEqual([c["request"].encode("latin-1") for c in doc["connections"]],
                         [odd, b"GET /six.pls HTTP/1.0\n\n", b""])
        fetch(p, b"GET /__clear HTTP/1.0\r\n\r\n")
        self.assertEqual(self.srv.connections(), [])


class CliTests(unittest.TestCase):
    def run_station(self, args, tmp):
        port_file = os.path.join(tmp, "port")
        proc = subprocess.Popen([sys.executable, os.path.join(HERE, "station.py")] +
                                args + ["--port-file", port_file],
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        def reap():
            if proc.poll() is None:
                proc.kill()
            proc.communicate()
        self.addCleanup(reap)
        deadline = time.monotonic() + 10
        while not os.path.exists(port_file):
            if proc.poll() is not None:
                self.fail(proc.stderr.read().decode(errors="replace"))
            self.assertLess(time.monotonic(), deadline, "no port file")
            time.sleep(0.02)
        with open(port_file) as fh:
            return proc, int(fh.read())

    def test_scenario_file(self):
        with tempfile.TemporaryDirectory() as tmp:
            scen = os.path.join(tmp, "s.json")
            with open(scen, "w") as fh:
                json.dump({"mounts": {
                    "/live": {"file": "tone1k_44k_stereo_128.mp3", "metaint": 8192,
                              "rate": 0, "titles": [
                                  [0, {"text": "日本", "encoding": "cp932"}],
                                  {"offset": 9000, "title": {"hex": "ff41"}},
                                  {"offset": 17000, "raw": "X"}]},
                    "/dead.pls": {"status": "HTTP/1.0 404 Not Found", "body": ""}}}, fh)
            proc, port = self.run_station([scen, "--media-dir", MEDIA], tmp)
            audio, blocks = deinterleave(split(get(port, "/live")[1])[1], 8192)
            self.assertEqual(audio, data("tone1k_44k_stereo_128.mp3"))
            self.assertEqual(blocks, {1: block_for("日本".encode("cp932")),
                                      2: block_for(b"\xffA"), 3: b"X" + b"\0" * 15})
            _, buf = fetch(port, b"GET /__requests HTTP/1.0\r\n\r\n")
            conn = json.loads(split(buf)[1])["connections"][0]
            self.assertEqual([e["audio_offset"] for e in conn["meta_log"]],
                             [8192, 16384, 24576])
            proc.send_signal(signal.SIGTERM)
            self.assertEqual(proc.wait(5), 0)

    def test_bad_scenario_is_refused(self):
        with tempfile.TemporaryDirectory() as tmp:
            scen = os.path.join(tmp, "s.json")
            with open(scen, "w") as fh:
                json.dump({"mounts": {"/x": {"body": "", "bogus": 1}}}, fh)
            r = subprocess.run([sys.executable, os.path.join(HERE, "station.py"), scen],
                               capture_output=True, timeout=10)
            self.assertEqual(r.returncode, 2)
            self.assertIn(b"bogus", r.stderr)

    def test_demo_serves_japanese_titles(self):
        with tempfile.TemporaryDirectory() as tmp:
            proc, port = self.run_station(["--demo", MEDIA, "--port", "0"], tmp)
            s, buf = get(port, "/demo", until_eof=False, want=20000)
            s.close()
            head, body = split(buf)
            self.assertIn(b"icy-metaint:16000", head)
            title = deinterleave(body, 16000)[1][1].rstrip(b"\0")
            self.assertEqual(title, b"StreamTitle='%s';StreamUrl='';"
                             % station.DEMO_TITLES[0].encode("cp932"))
            proc.send_signal(signal.SIGINT)
            self.assertEqual(proc.wait(5), 0)


if __name__ == "__main__":
    unittest.main()
