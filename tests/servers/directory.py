#!/usr/bin/env python3
"""Velmorin test directory: a local stand-in for the station directory.

It answers the two requests the search window makes, from a small station
table, and records every request byte for byte:

  POST /search-ajax/<words>   form body order=...&count=N&strIndex=M[&filter=mp3]
      -> an HTML fragment with one block per station, carrying the markers
         the scraper walks, in order (see station_block).
  GET /sbin/tunein-station.pls?id=N
      -> a PLS playlist whose File1 is a local test station's URL.

Fault modes, set per endpoint ("search" or "tunein"): busy (503), missing
(404), icy (an answer beginning "ICY"), empty (200 and no body), slow (the
normal answer in pieces over a few seconds) and endless (a 200 answer that
never stops). Station-level quirks live in the table: a marker left out,
names with line breaks and TABs, Shift_JIS names, UTF-8 now-playing text, a
7-byte type.

In-process use::

    from directory import DirectoryServer, Station
    with DirectoryServer(station_url="http://127.0.0.1:8000/live") as d:
        d.url("/search-ajax/top"); d.requests(); d.set_fault("search", "busy")

Out of process::

    directory.py [--host H] [--port P] [--port-file F] [--station-url URL]
                 [--fault ENDPOINT=MODE]

Control paths (never recorded): GET /__requests (JSON, bytes as latin-1),
GET /__clear, GET /__fault?search=MODE&tunein=MODE ("none" clears).
Standard library only.
"""
import argparse
import json
import socket
import socketserver
import sys
import threading
import time
import urllib.parse

from station import serve_until_signalled

FAULTS = ("busy", "missing", "icy", "empty", "slow", "endless")
ENDPOINTS = ("search", "tunein")
# Marker groups a station block may leave out (Station.omit).
MARKERS = ("tunein", "clickabletitle", "Tags:", "Site:", "playingtext",
           "dirlistners", "dirbitrate", "dirtype")
SEARCH_PREFIX = b"/search-ajax/"
TUNEIN_PATH = b"/sbin/tunein-station.pls"
CONTROL_PREFIX = b"/__"
MAX_HEAD = 65536


def to_bytes(value):
    return value if isinstance(value, bytes) else value.encode("utf-8")


class Station:
    """One row of the table. Texts are bytes as the page carries them, or
    str (sent as UTF-8). playing=None leaves the now-playing element out;
    omit names markers of MARKERS to leave out of this station's block."""

    def __init__(self, id, name, tags=(), site="", playing=None, listeners=0,
                 bitrate=128, type="MP3", omit=(), stream_url=None):
        unknown = set(omit) - set(MARKERS)
        if unknown:
            raise ValueError("unknown markers %r" % sorted(unknown))
        self.id = id
        self.name = to_bytes(name)
        self.tags = [to_bytes(t) for t in tags]
        self.site = to_bytes(site)
        self.playing = None if playing is None else to_bytes(playing)
        self.listeners = listeners
        self.bitrate = bitrate
        self.type = to_bytes(type)
        self.omit = frozenset(omit)
        self.stream_url = stream_url


# A table with something of everything a real page may hold. Sorted by
# listeners, as the directory answers "order=desc".
DEFAULT_STATIONS = [
    Station(1001, "Velmorin Test FM", ["Pop", "Rock"], "http://127.0.0.1/fm",
            "Test Artist - First Song", 950, 128, "MP3"),
    Station(1002, "日本のラジオ局".encode("cp932"), ["J-Pop", "Anime"],
            "http://127.0.0.1/jp", "今の曲 - 歌手".encode("utf-8"), 900, 128, "MP3"),
    Station(1003, "Jazz\r\n\t\tLounge Radio", ["Jazz"], "", None, 800, 64, "MP3"),
    Station(1004, "AAC Hits", ["Pop", "Dance"], "http://127.0.0.1/aac",
            "Hit\tSong", 700, 48, "AAC+"),
    Station(1005, "Seven Byte Type", ["Talk"], "http://127.0.0.1/seven",
            "News", 600, 96, "AACPLUS"),
    Station(1006, "Lower Case Type", ["Rock"], "http://127.0.0.1/lower",
            "Riff", 500, 160, "mp3"),
    Station(1007, "演歌の時間".encode("cp932"), ["Enka", "Japanese"], "",
            "演歌".encode("cp932"), 400, 56, "MP3"),
    Station(1008, "Classic Rock Ten", ["Rock", "Classic Rock"],
            "http://127.0.0.1/ten", "Guitar Hero", 300, 192, "MP3"),
]


def station_block(s):
    """The HTML of one station, CR LF lines with TAB indents, the markers in
    the order the scraper walks them."""
    def keep(marker, text, stand_in):
        return stand_in if marker in s.omit else text

    tags = b" ".join(b'<a href="/Genre?name=' + t + b'">' + t + b"</a>" for t in s.tags)
    lines = [
        b'<div class="boxcontent">',
        b'\t<a href="http://yp.shoutcast.com/sbin/' +
        keep("tunein", b"tunein-station.pls", b"tunein-missing.pls") +
        b"?id=" + str(s.id).encode() + b'" class="playbutton playimage" title="Play"></a>',
        b'\t<div class="dirlistitem">',
        b'\t\t<a class="' + keep("clickabletitle", b"clickabletitle", b"plaintitle") +
        b'" href="/station?id=' + str(s.id).encode() + b'" title="' + s.name + b'">' +
        s.name + b"</a>",
        b'\t\t<div class="dirgenre">' + keep("Tags:", b"Tags:", b"Genres:") + b" " + tags +
        b"</div>",
        b'\t\t<div class="dirsite">' + keep("Site:", b"Site:", b"Web:") +
        b' <a href="' + s.site + b'" target="_blank">' + s.site + b"</a></div>",
    ]
    if s.playing is not None:
        lines.append(b'\t\t<div class="' + keep("playingtext", b"playingtext", b"nowtext") +
                     b'" title="' + s.playing + b'">Now: ' + s.playing + b"</div>")
    lines += [
        b"\t</div>",
        b'\t<div class="' + keep("dirlistners", b"dirlistners", b"listeners") + b'">' +
        str(s.listeners).encode() + b"</div>",
        b'\t<div class="' + keep("dirbitrate", b"dirbitrate", b"rate") + b'">' +
        str(s.bitrate).encode() + b"</div>",
        b'\t<div class="' + keep("dirtype", b"dirtype", b"format") + b'">' + s.type + b"</div>",
        b"</div>",
    ]
    return b"\r\n".join(lines) + b"\r\n"


def parse_form(body):
    """{name: value} of an url-encoded form body, as bytes; later names win."""
    form = {}
    for part in body.split(b"&"):
        name, _, value = part.partition(b"=")
        form[name] = urllib.parse.unquote_to_bytes(value)
    return form


def _number(form, name, default):
    try:
        return int(form.get(name, b""))
    except ValueError:
        return default


def search(stations, words, form):
    """The stations a query answers, as the directory would page them."""
    words = urllib.parse.unquote_to_bytes(words).lower()
    found = list(stations)
    if words != b"top":
        wanted = [w for w in words.split(b" ") if w]
        found = [s for s in found
                 if all(w in s.name.lower() or any(w in t.lower() for t in s.tags)
                        for w in wanted)]
    if form.get(b"filter") == b"mp3":
        found = [s for s in found if s.type.lower() == b"mp3"]
    found.sort(key=lambda s: -s.listeners)
    start = max(0, _number(form, b"strIndex", 0))
    count = max(0, _number(form, b"count", 10))
    return found[start:start + count]


def pls(url, title):
    return (b"[playlist]\r\nnumberofentries=1\r\nFile1=" + url + b"\r\nTitle1=" + title +
            b"\r\nLength1=-1\r\nVersion=2\r\n")


def http_answer(body, status=b"200 OK", content_type=b"text/html;charset=UTF-8"):
    return (b"HTTP/1.1 " + status + b"\r\nContent-Type: " + content_type +
            b"\r\nContent-Length: " + str(len(body)).encode() +
            b"\r\nConnection: close\r\n\r\n" + body)


class Request:
    """A request as received: raw bytes (head and body), target, body."""

    def __init__(self, raw, head_end):
        self.raw = raw
        self.body = raw[head_end:]
        line = raw.split(b"\r\n", 1)[0].split(b" ")
        self.method = line[0] if line else b""
        self.target = line[1] if len(line) > 1 else b""
        self.time = time.monotonic()

    def to_json(self):
        return {"raw": self.raw.decode("latin-1"), "method": self.method.decode("latin-1"),
                "target": self.target.decode("latin-1"), "time": self.time}


class _Handler(socketserver.BaseRequestHandler):
    def handle(self):
        srv = self.server.owner
        sock = self.request
        sock.settimeout(srv.request_timeout)
        with srv._lock:
            srv._live.add(sock)
        try:
            self._serve(srv, sock)
        finally:
            with srv._lock:
                srv._live.discard(sock)

    def _serve(self, srv, sock):
        try:
            request = _read_request(sock)
        except OSError:
            return
        if request is None:
            return
        if request.target.startswith(CONTROL_PREFIX):
            sock.sendall(srv._control(request.target))
            return
        with srv._lock:
            srv._requests.append(request)
            srv._changed.notify_all()
        path = request.target.split(b"?", 1)[0]
        try:
            if request.method == b"POST" and path.startswith(SEARCH_PREFIX):
                srv._answer(sock, "search", srv._search_page(path, request.body))
            elif request.method == b"GET" and path == TUNEIN_PATH:
                srv._answer(sock, "tunein", srv._tunein(request.target))
            else:
                sock.sendall(http_answer(b"not here\n", b"404 Not Found", b"text/plain"))
        except OSError:
            pass  # the client went away


def _read_request(sock):
    """Head through its blank line, then Content-Length body bytes."""
    raw = b""
    while b"\r\n\r\n" not in raw:
        if len(raw) > MAX_HEAD:
            return None
        data = sock.recv(4096)
        if not data:
            return None
        raw += data
    head_end = raw.index(b"\r\n\r\n") + 4
    length = 0
    for line in raw[:head_end].split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            try:
                length = int(value.strip())
            except ValueError:
                length = 0
    while len(raw) < head_end + length:
        data = sock.recv(4096)
        if not data:
            break
        raw += data
    return Request(raw, head_end)


class _TcpServer(socketserver.ThreadingTCPServer):
    allow_reuse_address = True
    daemon_threads = False
    block_on_close = True


class DirectoryServer:
    """The test directory on host:port (port 0 = any free port)."""

    def __init__(self, stations=None, port=0, host="127.0.0.1",
                 station_url="http://127.0.0.1:8000/live", slow_seconds=3.0,
                 request_timeout=10.0):
        self.stations = list(DEFAULT_STATIONS if stations is None else stations)
        self.host = host
        self.station_url = station_url
        self.slow_seconds = slow_seconds
        self.request_timeout = request_timeout
        self._want_port = port
        self.port = None
        self._faults = {e: None for e in ENDPOINTS}
        self._requests = []
        self._live = set()
        self._lock = threading.Lock()
        self._changed = threading.Condition(self._lock)
        self._stop = threading.Event()
        self._server = None
        self._thread = None

    # -- life cycle

    def start(self):
        self._server = _TcpServer((self.host, self._want_port), _Handler)
        self._server.owner = self
        self.port = self._server.server_address[1]
        self._thread = threading.Thread(target=self._server.serve_forever,
                                        kwargs={"poll_interval": 0.05},
                                        name="directory-accept", daemon=True)
        self._thread.start()
        return self

    def stop(self):
        """Ends every answer (endless and slow ones too) and joins every thread."""
        if self._server is None or self._stop.is_set():
            return
        self._stop.set()
        self._server.shutdown()
        with self._lock:    # unblocks answers waiting on a silent client
            for sock in self._live:
                try:
                    sock.shutdown(socket.SHUT_RDWR)
                except OSError:
                    pass
        self._server.server_close()   # joins the request threads
        self._thread.join()

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    def url(self, path="/"):
        return "http://%s:%d%s" % (self.host, self.port, path)

    # -- configuration and records

    def set_fault(self, endpoint, mode):
        if endpoint not in ENDPOINTS or (mode is not None and mode not in FAULTS):
            raise ValueError("bad fault %r=%r" % (endpoint, mode))
        with self._lock:
            self._faults[endpoint] = mode

    def requests(self):
        """Every request received (control paths excluded), oldest first."""
        with self._lock:
            return list(self._requests)

    def clear(self):
        with self._lock:
            self._requests = []

    def wait_requests(self, count, timeout=5.0):
        deadline = time.monotonic() + timeout
        with self._changed:
            while len(self._requests) < count:
                left = deadline - time.monotonic()
                if left <= 0:
                    raise TimeoutError("%d of %d requests after %.1fs"
                                       % (len(self._requests), count, timeout))
                self._changed.wait(left)
            return list(self._requests)

    # -- answers

    def _search_page(self, path, body):
        words = path[len(SEARCH_PREFIX):]
        found = search(self.stations, words, parse_form(body))
        return http_answer(b"".join(station_block(s) for s in found))

    def _tunein(self, target):
        query = urllib.parse.parse_qs(target.split(b"?", 1)[1].decode("latin-1")) \
            if b"?" in target else {}
        try:
            wanted = int(query.get("id", [""])[0])
        except ValueError:
            wanted = None
        for s in self.stations:
            if s.id == wanted:
                url = (s.stream_url or self.station_url).replace("{id}", str(s.id))
                return http_answer(pls(url.encode(), s.name), content_type=b"audio/x-scpls")
        return http_answer(b"no such station\n", b"404 Not Found", b"text/plain")

    def _answer(self, sock, endpoint, normal):
        with self._lock:
            fault = self._faults[endpoint]
        if fault == "busy":
            sock.sendall(http_answer(b"busy\n", b"503 Service Unavailable", b"text/plain"))
        elif fault == "missing":
            sock.sendall(http_answer(b"not found\n", b"404 Not Found", b"text/plain"))
        elif fault == "icy":
            sock.sendall(b"ICY 200 OK\r\nicy-name:Not a directory\r\nicy-br:128\r\n\r\n" +
                         b"\xff\xfb" * 512)
        elif fault == "empty":
            sock.sendall(http_answer(b""))
        elif fault == "slow":
            self._send_slowly(sock, normal)
        elif fault == "endless":
            self._send_endlessly(sock)
        else:
            sock.sendall(normal)

    def _send_slowly(self, sock, data, pieces=10):
        size = max(1, -(-len(data) // pieces))
        pause = self.slow_seconds / pieces
        for at in range(0, len(data), size):
            sock.sendall(data[at:at + size])
            if self._stop.wait(pause):
                return

    def _send_endlessly(self, sock):
        """A 200 head, then page filler for as long as the client reads."""
        sock.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n")
        filler = b"<!-- more to come -->\r\n" * 700
        sock.settimeout(0.2)
        while not self._stop.is_set():
            try:
                sock.sendall(filler)
            except socket.timeout:
                continue    # the client reads slower than we send
            except OSError:
                return      # the client closed

    def _control(self, target):
        path, _, query = target.partition(b"?")
        if path == b"/__requests":
            body = json.dumps({"port": self.port,
                               "requests": [r.to_json() for r in self.requests()]}).encode()
        elif path == b"/__clear":
            self.clear()
            body = b"{}"
        elif path == b"/__fault":
            try:
                for endpoint, mode in urllib.parse.parse_qsl(query.decode("latin-1")):
                    self.set_fault(endpoint, None if mode == "none" else mode)
            except ValueError as e:
                return http_answer(json.dumps({"error": str(e)}).encode(), b"400 Bad Request",
                                   b"application/json")
            with self._lock:
                body = json.dumps(self._faults).encode()
        else:
            return http_answer(b'{"error": "unknown control path"}', b"404 Not Found",
                               b"application/json")
        return http_answer(body, content_type=b"application/json")


def main(argv=None):
    ap = argparse.ArgumentParser(description="Velmorin test station directory")
    ap.add_argument("--host", default="127.0.0.1", help="address to listen on (default 127.0.0.1)")
    ap.add_argument("--port", type=int, default=0, help="port (default: any free one)")
    ap.add_argument("--port-file", help="write the bound port to this file")
    ap.add_argument("--station-url", default="http://127.0.0.1:8000/live",
                    help="File1 of every tune-in playlist; {id} becomes the station id")
    ap.add_argument("--fault", action="append", default=[], metavar="ENDPOINT=MODE",
                    help="start with a fault: search|tunein = " + "|".join(FAULTS))
    args = ap.parse_args(argv)
    server = DirectoryServer(port=args.port, host=args.host, station_url=args.station_url)
    try:
        for spec in args.fault:
            endpoint, _, mode = spec.partition("=")
            server.set_fault(endpoint, mode)
    except ValueError as e:
        print("directory: %s" % e, file=sys.stderr)
        return 2
    try:
        server.start()
    except OSError as e:
        print("directory: cannot listen on %s:%d: %s" % (args.host, args.port, e), file=sys.stderr)
        return 2
    serve_until_signalled(server, args.port_file, ["directory: listening on %s" % server.url("/")])
    return 0


if __name__ == "__main__":
    sys.exit(main())
