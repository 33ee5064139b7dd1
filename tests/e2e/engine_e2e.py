"""End-to-end tests of the stream engine under Wine.

Each test serves a station with tests/servers/station.py, plays it through
engine_probe.exe (StreamPlayer with a hidden window, printing every 1034 and
1035 message) and, where sound matters, records the PulseAudio null sink
"vsink" with parec and analyses the PCM.

CTest runs this with the Wine session of cmake/wine-server.sh and these
variables: VELMORIN_PROBE (engine_probe.exe), VELMORIN_MEDIA_DIR,
VELMORIN_SOURCE_DIR. Every process started here is ended by the test that
started it, also when the test fails.
"""
import os
import socket
import subprocess
import sys
import threading
import time
import unittest

SOURCE = os.environ.get("VELMORIN_SOURCE_DIR",
                        os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..")))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(SOURCE, "tests", "servers"))
import wineapp  # noqa: E402
from sound import RATE, SoundCapture, frequency, gaps, loud_span  # noqa: E402
from station import StationServer, Mount  # noqa: E402
from blackhole_dns import BlackholeDns, NAME as NEVER_ANSWERS  # noqa: E402
import make_media  # noqa: E402

PROBE = os.environ.get("VELMORIN_PROBE", "")
MEDIA = os.environ.get("VELMORIN_MEDIA_DIR", "")
TONE = "tone1k_44k_stereo_128.mp3"
STEP = "step1k440_44k_stereo_128.mp3"
LONG_TONE = "tone1k_44k_stereo_128_30s.mp3"  # no loop point, whose silence would count as a gap


class Probe:
    """engine_probe.exe under Wine; each output line is stamped on arrival."""

    def __init__(self, session, args, timeout=40, prefix=()):
        self.lines = []  # (monotonic time, kind, rest)
        self.proc = subprocess.Popen(list(prefix) + ["wine", PROBE] + [str(a) for a in args], env=session.env,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                     stdin=subprocess.DEVNULL, start_new_session=True)
        self.timeout = timeout
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for raw in self.proc.stdout:
            now = time.monotonic()
            parts = raw.decode("cp932", "replace").rstrip("\r\n").split(" ", 2)
            if len(parts) >= 2:
                self.lines.append((now, parts[1], parts[2] if len(parts) > 2 else ""))

    def wait(self):
        try:
            code = self.proc.wait(self.timeout)
        finally:
            self.kill()
        return code

    def kill(self):
        if self.proc.poll() is None:
            try:
                os.killpg(self.proc.pid, 9)
            except ProcessLookupError:
                pass
            self.proc.wait(5)
        self.reader.join(5)
        if not self.reader.is_alive():
            self.proc.stdout.close()

    def statuses(self):
        return [rest for _, kind, rest in self.lines if kind == "status"]

    def first(self, kind, rest=None):
        for t, k, r in self.lines:
            if k == kind and (rest is None or r == rest):
                return t, r
        return None


def closed_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


@unittest.skipUnless(PROBE and MEDIA, "run by CTest in the mingw build")
class EngineTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.media = make_media.build(MEDIA, [TONE, STEP, LONG_TONE])
        cls.session = wineapp.WineSession()

    @classmethod
    def tearDownClass(cls):
        cls.session.close()

    def station(self, mounts):
        srv = StationServer(mounts, port=0)
        srv.start()
        self.addCleanup(srv.stop)
        return srv

    def probe(self, *args, timeout=40, prefix=()):
        p = Probe(self.session, args, timeout, prefix)
        self.addCleanup(p.kill)
        return p

    def capture(self):
        c = SoundCapture(self.session)
        self.addCleanup(c.stop)
        return c

    # -- sound ---------------------------------------------------------------

    def test_plays_the_tone_whole_and_in_order(self):
        srv = self.station({"/tone": Mount(file=self.media[TONE], metaint=8192, loop=True)})
        cap = self.capture()
        p = self.probe("--run-ms", 3000, srv.url("/tone"))
        self.assertEqual(0, p.wait())
        time.sleep(0.2)  # the sink's last period
        cap.stop()
        statuses = p.statuses()
        self.assertEqual(["0 Connect ...", "0 Set Sound ...", "0 Playing ..."], statuses)
        kinds = [k for _, k, _ in p.lines]
        self.assertEqual(["status", "status", "status", "started", "format", "stop"], kinds)
        self.assertEqual(srv.url("/tone"), p.first("started")[1])
        self.assertEqual("44100 2 128", p.first("format")[1])

        left = cap.left()
        span = loud_span(left)
        self.assertIsNotNone(span, "nothing reached the sink")
        first, last = span
        seconds = (last - first) / float(RATE)
        # It plays from the started message until the stop 3 s later.
        self.assertAlmostEqual(3.0, seconds, delta=0.25)
        self.assertEqual([], gaps(cap, left, first, last))
        windows = range(first + 2205, last - 4410, 4410)
        pitches = [frequency(left, start, 4410) for start in windows]
        measured = [f for f in pitches if f is not None]
        self.assertGreaterEqual(len(measured), len(pitches) * 0.9, "too little of the tone to measure")
        for f in measured:
            self.assertAlmostEqual(1000, f, delta=15)

    def test_software_volume_and_mute(self):
        srv = self.station({"/tone": Mount(file=self.media[TONE], loop=True)})
        peaks = {}
        for volume in (100, 50):
            cap = self.capture()
            p = self.probe("--run-ms", 1500, "--volume", volume, srv.url("/tone"))
            self.assertEqual(0, p.wait())
            time.sleep(0.2)
            cap.stop()
            left = cap.left()
            peaks[volume] = max(abs(s) for s in left) if left else 0
        self.assertGreater(peaks[100], 10000)
        self.assertAlmostEqual(0.5, peaks[50] / float(peaks[100]), delta=0.03)

        cap = self.capture()
        p = self.probe("--run-ms", 1500, "--mute", srv.url("/tone"))
        self.assertEqual(0, p.wait())
        cap.stop()
        self.assertIn("0 Playing ...", p.statuses(), "muted, it still plays")
        self.assertIsNone(loud_span(cap.left(), 10))

    def test_title_changes_when_its_audio_sounds(self):
        # The title comes with the 440 Hz half, 3 s into the stream: inside
        # the station's connect burst, long before its block is filled. The
        # station sends what fills a 5 s ring and then falls silent, so the
        # title's block starts to sound while the player waits for data.
        change = 48000  # bytes of 128 kbit/s audio in 3 s; a metadata point
        srv = self.station({"/step": Mount(file=self.media[STEP], metaint=8000, burst=200000, stall_after=84000,
                                           titles=[(0, "High"), (change, "Low")])})
        cap = self.capture()
        p = self.probe("--playbuf", 5000, "--run-ms", 5000, srv.url("/step"))
        self.assertEqual(0, p.wait())
        cap.stop()
        self.assertIn("0 High", p.statuses())
        shown = p.first("status", "0 Low")
        self.assertIsNotNone(shown, p.statuses())
        left = cap.left()
        first, _ = loud_span(left)
        # Where the capture turns from 1 kHz to 440 Hz, to 10 ms.
        window = 441
        at = first
        while at + window < len(left):
            pitch = frequency(left, at, window * 4)
            if pitch is not None and pitch < 700:
                break
            at += window
        self.assertLess(at + window, len(left), "the low tone never sounded")
        sounded = cap.time_of(at)
        # Shown when the device plays the title's first sample: off by the
        # output's own latency (Wine hands samples to the sound server some
        # 50 ms ahead) and this search's 10 ms steps, never by a half-second
        # block as when titles changed at block starts.
        print("\ntitle shown %+.0f ms after its audio was heard" % (1000 * (shown[0] - sounded)))
        self.assertLess(abs(shown[0] - sounded), 0.2,
                        "title at %.3f, its audio at %.3f" % (shown[0], sounded))

    def test_network_pauses_shorter_than_the_ring_are_not_heard(self):
        # An 8 s ring and two pauses: 4 s, then 5.5 s; the backlog follows
        # each at once. Neither may be heard. (A pause longer than the ring
        # is: with 10 s instead of 4 s the sink falls silent for 2.3 s.)
        with open(self.media[LONG_TONE], "rb") as f:
            audio = f.read()
        listener = socket.socket()
        listener.bind(("127.0.0.1", 0))
        listener.listen(1)
        self.addCleanup(listener.close)
        stop = threading.Event()

        def serve():
            conn, _ = listener.accept()
            try:
                stream(conn)
            except OSError:
                pass  # the player hung up
            finally:
                conn.close()

        def stream(conn):
            conn.recv(4096)
            conn.sendall(b"ICY 200 OK\r\ncontent-type:audio/mpeg\r\nicy-br:128\r\n\r\n")
            burst = 8 * 16000  # the whole ring at once, then the real rate
            start = time.monotonic()
            sent = burst
            conn.sendall(audio[:sent])
            for pause_at, pause in ((4.0, 4.0), (11.0, 5.5), (None, 0)):
                while sent < len(audio) and not stop.is_set():
                    due = int(burst + (time.monotonic() - start) * 16000)
                    if due > sent:
                        conn.sendall(audio[sent:due])
                        sent = due
                    if pause_at and time.monotonic() - start >= pause_at:
                        break
                    time.sleep(0.02)
                stop.wait(pause)  # the backlog follows at once
            stop.wait(30)

        server = threading.Thread(target=serve, daemon=True)
        server.start()
        self.addCleanup(server.join, 5)
        self.addCleanup(stop.set)
        cap = self.capture()
        p = self.probe("--playbuf", 8000, "--run-ms", 18000,
                       "http://127.0.0.1:%d/" % listener.getsockname()[1], timeout=60)
        self.assertEqual(0, p.wait())
        cap.stop()
        self.assertEqual(["0 Connect ...", "0 Set Sound ...", "0 Playing ..."], p.statuses())
        left = cap.left()
        first, last = loud_span(left)
        self.assertAlmostEqual(18.0, (last - first) / float(RATE), delta=0.6)
        self.assertEqual([], gaps(cap, left, first, last, RATE), "a pause was heard")

    # -- connection outcomes ---------------------------------------------------

    def test_playlist_with_a_dead_first_entry_plays_the_second(self):
        dead = "http://127.0.0.1:%d/dead" % closed_port()
        srv = self.station({"/tone": Mount(file=self.media[TONE], loop=True)})
        srv.add("/list.pls", Mount(pls=[dead, srv.url("/tone")]))
        p = self.probe("--run-ms", 500, srv.url("/list.pls"))
        self.assertEqual(0, p.wait())
        self.assertEqual(["0 Recv pls ...", "0 Connect ...", "1 Connect error", "0 Connect ...",
                          "0 Set Sound ...", "0 Playing ..."], p.statuses())
        self.assertEqual(srv.url("/tone"), p.first("started")[1])

    def test_each_failure_shows_its_text_and_ends_idle(self):
        port = closed_port()
        srv = self.station({
            "/none.pls": Mount(body="[playlist]\r\nFile1=http://127.0.0.1/x\r\n"),
            "/full": Mount(status="ICY 400 Server Full", headers=[], body=""),
            "/web": Mount(file=self.media[TONE], status="HTTP/1.0 200 OK"),
            "/html": Mount(head=b"<html><body>hello</body></html>\r\n\r\n", body=""),
            "/aac": Mount(file=self.media[TONE], content_type="audio/aacp"),
            "/zeros": Mount(audio=bytes(20000), rate=0, br=128),
        })
        cases = [
            (srv.url("/none.pls"), "1 pls none"),
            (srv.url("/gone.pls"), "1 Recv error"),
            (srv.url("/full"), "1 Listener Max"),
            (srv.url("/web"), "1 Can't use server"),
            (srv.url("/html"), "1 Not shoutcast server"),
            (srv.url("/aac"), "1 Not supported format"),
            (srv.url("/zeros"), "1 Decode Init error"),
            ("http://127.0.0.1:%d/" % port, "1 Connect error"),
        ]
        for url, text in cases:
            with self.subTest(url=url):
                p = self.probe(url, timeout=30)
                self.assertEqual(0, p.wait())
                self.assertEqual(text, p.statuses()[-1])
                self.assertIsNone(p.first("started"))
                self.assertEqual("idle", p.lines[-1][1])

    def test_server_closing_mid_play_disconnects_and_cuts_the_sound(self):
        srv = self.station({"/short": Mount(file=self.media[TONE], loop=True, close_after=100000)})
        cap = self.capture()
        p = self.probe(srv.url("/short"))
        self.assertEqual(0, p.wait())
        time.sleep(0.2)
        cap.stop()
        self.assertEqual(["0 Connect ...", "0 Set Sound ...", "0 Playing ...", "1 Disconnect"], p.statuses())
        self.assertEqual("idle", p.lines[-1][1])
        disconnect = p.first("status", "1 Disconnect")[0]
        left = cap.left()
        _, last = loud_span(left)
        # The audio still queued is cut off at once.
        self.assertLess(cap.time_of(last) - disconnect, 0.15)

    def test_stall_after_the_header_is_a_receive_error_after_ten_seconds(self):
        srv = self.station({"/mute": Mount(file=self.media[TONE], header_only=True)})
        p = self.probe(srv.url("/mute"), timeout=30)
        self.assertEqual(0, p.wait())
        self.assertEqual(["0 Connect ...", "1 Recv error"], p.statuses())
        took = p.first("status", "1 Recv error")[0] - p.first("status", "0 Connect ...")[0]
        self.assertGreaterEqual(took, 9.9)
        self.assertLess(took, 11.5)

    # -- stopping ----------------------------------------------------------------

    def test_stop_during_prefill_sends_nothing_more(self):
        # The first frames at once, then the stream's own pace: pre-fill
        # would end and play within a second unless the stop ends it.
        srv = self.station({"/slow": Mount(file=self.media[TONE], burst=12000)})
        p = self.probe("--stop-on", "Set Sound ...", srv.url("/slow"))
        self.assertEqual(0, p.wait())
        self.assertEqual(["0 Connect ...", "0 Set Sound ..."], p.statuses())
        self.assertIsNone(p.first("started"))
        self.assertLess(int(p.first("stop")[1]), 2000)

    def test_stop_takes_the_notifications_in_flight(self):
        # The main thread is busy for a second after Start, so the play
        # thread waits inside SendMessage when Stop begins.
        srv = self.station({"/tone": Mount(file=self.media[TONE], loop=True)})
        p = self.probe("--busy-ms", 1000, "--stop-after-ms", 1000, srv.url("/tone"))
        self.assertEqual(0, p.wait())
        self.assertLess(int(p.first("stop")[1]), 1000, "Stop ran into its 2000 ms limit")
        self.assertEqual("0 Connect ...", p.statuses()[0])
        self.assertIsNone(p.first("started"))

    def test_start_stop_cycles_leave_nothing_behind(self):
        srv = self.station({"/tone": Mount(file=self.media[TONE], loop=True)})
        p = self.probe("--cycles", 50, srv.url("/tone"), timeout=120)
        self.assertEqual(0, p.wait())
        handles_before, handles_after, threads_before, threads_after = map(int, p.first("cycles")[1].split()[:4])
        # Counted once the counts settled (the probe waits up to 10 s), so a
        # helper thread of Wine's still ending is no leak; one per round is.
        self.assertLessEqual(threads_after, threads_before)
        self.assertLessEqual(handles_after, handles_before)

    def test_stop_frees_the_player_at_once_in_a_connect_and_in_a_name_look_up(self):
        # A listener whose queue is full: the connect would hang for its 5 s.
        listener = socket.socket()
        listener.bind(("127.0.0.1", 0))
        listener.listen(0)
        self.addCleanup(listener.close)
        for _ in range(3):
            f = socket.socket()
            f.setblocking(False)
            f.connect_ex(listener.getsockname())
            self.addCleanup(f.close)
        time.sleep(0.1)
        p = self.probe("--stop-after-ms", 300, "http://127.0.0.1:%d/" % listener.getsockname()[1])
        self.assertEqual(0, p.wait())
        self.assertEqual(["0 Connect ..."], p.statuses())
        stop = int(p.first("stop")[1])
        print("\nstop during a connect that never completes: %d ms" % stop)
        self.assertLess(stop, 1000, "the stop waited for the connect or for its 2000 ms limit")

        # A name look-up that nobody answers (2 s) cannot be cancelled: the
        # player lets the thread go at once, and the thread, finishing on its
        # own objects meanwhile, stays silent and leaves the next playback be.
        dns = BlackholeDns(resolver_timeout=2)
        self.addCleanup(dns.close)
        if not dns.usable():
            self.skipTest("a private name server needs root (unshare, mount)")
        srv = self.station({"/tone": Mount(file=self.media[TONE], loop=True)})
        p = self.probe("--stop-after-ms", 300, "--then", srv.url("/tone"), "--then-run-ms", 4000,
                       "http://%s:%d/" % (NEVER_ANSWERS, srv.port), prefix=dns.prefix())
        self.assertEqual(0, p.wait())
        self.assertGreater(dns.queries, 0, "the look-up never reached the name server")
        stops = [int(rest) for _, kind, rest in p.lines if kind == "stop"]
        print("stop during a name look-up: %d ms" % stops[0])
        self.assertLess(stops[0], 1000, "the stop waited for the look-up")
        self.assertNotIn("1 Connect error", p.statuses())
        self.assertEqual(srv.url("/tone"), p.first("started")[1])
        self.assertNotIn("idle", [k for _, k, _ in p.lines])


if __name__ == "__main__":
    unittest.main()
