#!/usr/bin/env python3
"""Velmorin test station: a scriptable SHOUTcast (ICY) server on 127.0.0.1.

Every mount point (request path) has its own behaviour, so one server can
play a healthy stream, a full server, a PLS playlist and a stalled stream at
the same time.  Standard library only.

In-process use::

    from station import StationServer, Mount
    with StationServer({"/live": Mount(file="tone.mp3", metaint=8192,
                                       titles=[(0, "Hello"), (40000, "次")])}) as srv:
        ... connect to 127.0.0.1:srv.port ...
        conn = srv.wait_connections(1)[0]
        conn.request        # raw request bytes, as the client sent them
        conn.meta_log       # [MetaEvent(time, audio_offset, point, ...)]

Out of process::

    station.py SCENARIO.json [--port P] [--port-file F] [--media-dir D]
    station.py --demo DIR [--port P]

Control paths on the same port (never recorded as connections):
    GET /__requests   JSON {"connections": [...]} with every recorded
                      connection (see Connection.to_json); bytes are given as
                      latin-1 strings, so each character is one byte.
    GET /__clear      forget the recorded connections that have ended.

Stream rules:
  * Metadata is interleaved when the client sent ``Icy-MetaData: 1`` and
    metaint > 0 (``metadata="always"``/``"never"`` override the request).
  * Metadata point k (k >= 1) comes after audio byte k*metaint.  A title with
    audio offset o is due at the first point at or after o, i.e.
    k = max(1, ceil(o / metaint)).  When several titles fall due at one
    point only the last of them (in offset order) is sent.  A block is
    written only when more audio follows it.
  * With ``loop`` the file repeats forever; audio offsets keep counting and
    the titles repeat each pass at o + pass * len(file).
  * Pacing: ``burst`` audio bytes at once, then ``rate`` audio bytes/s,
    scheduled against time.monotonic() from the end of the response head.
  * Times in logs are time.monotonic() in the server process; on Linux that
    clock is shared by all processes, so other test processes can compare.
"""
import argparse
import base64
import json
import os
import select
import signal
import socket
import struct
import sys
import threading
import time
from collections import deque, namedtuple

HOST = "127.0.0.1"
CONTROL_PREFIX = "/__"


class _Auto:
    def __repr__(self):
        return "AUTO"


AUTO = _Auto()  # "work it out from the file" (as opposed to None = omit)

# ---------------------------------------------------------------- MP3 frames

_BITRATES = {
    (1, 1): (0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448),
    (1, 2): (0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384),
    (1, 3): (0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320),
    (2, 1): (0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256),
    (2, 2): (0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160),
}
_BITRATES[(2, 3)] = _BITRATES[(2, 2)]
_SAMPLERATES = {1: (44100, 48000, 32000), 2: (22050, 24000, 16000),
                25: (11025, 12000, 8000)}

Frame = namedtuple("Frame", "offset size version layer bitrate samplerate "
                            "samples channels crc")


def parse_frame_header(data, pos):
    """The Frame starting at data[pos], or None if no valid header is there.

    version is 1, 2 or 25 (MPEG-2.5); bitrate is in kbit/s.  Free-format
    frames are treated as invalid since their size cannot be known.
    """
    if pos + 4 > len(data):
        return None
    b1, b2, b3, b4 = data[pos:pos + 4]
    if b1 != 0xFF or (b2 & 0xE0) != 0xE0:
        return None
    version = {0: 25, 2: 2, 3: 1}.get((b2 >> 3) & 3)
    layer = {1: 3, 2: 2, 3: 1}.get((b2 >> 1) & 3)
    br_index, sr_index = b3 >> 4, (b3 >> 2) & 3
    if version is None or layer is None or br_index in (0, 15) or sr_index == 3:
        return None
    bitrate = _BITRATES[(1 if version == 1 else 2, layer)][br_index]
    samplerate = _SAMPLERATES[version][sr_index]
    padding = (b3 >> 1) & 1
    if layer == 1:
        samples = 384
        size = (12 * bitrate * 1000 // samplerate + padding) * 4
    elif layer == 2 or version == 1:
        samples = 1152
        size = 144 * bitrate * 1000 // samplerate + padding
    else:
        samples = 576
        size = 72 * bitrate * 1000 // samplerate + padding
    channels = 1 if (b4 >> 6) == 3 else 2
    return Frame(pos, size, version, layer, bitrate, samplerate, samples,
                 channels, not (b2 & 1))


def id3v2_size(data):
    """Length of an ID3v2 tag at the start of data (0 if there is none)."""
    if len(data) < 10 or data[:3] != b"ID3" or any(b & 0x80 for b in data[6:10]):
        return 0
    size = 10 + ((data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9])
    if data[5] & 0x10:  # footer present
        size += 10
    return size


def scan_frames(data):
    """All consecutive MPEG audio frames in data, after any ID3v2 tag.

    The first frame is the first header followed by another valid header
    (or the end of data), so a stray 0xFF in the tag padding is skipped.
    Scanning stops at the first position that is not a frame (e.g. ID3v1).
    """
    pos = id3v2_size(data)
    while pos < len(data):
        f = parse_frame_header(data, pos)
        if f and (f.offset + f.size == len(data)
                  or parse_frame_header(data, f.offset + f.size)):
            break
        pos += 1
    frames = []
    while True:
        f = parse_frame_header(data, pos)
        if f is None or f.offset + f.size > len(data):
            return frames
        frames.append(f)
        pos += f.size


Mp3Info = namedtuple("Mp3Info", "frames seconds bytes_per_second bitrate "
                                "samplerate channels version")


def mp3_info(data):
    """Summary of an MP3 file; bytes_per_second is the average over all
    frames (so also right for VBR) and bitrate that of the first frame."""
    frames = scan_frames(data)
    if not frames:
        raise ValueError("no MPEG audio frames found")
    seconds = sum(f.samples / f.samplerate for f in frames)
    audio = sum(f.size for f in frames)
    first = frames[0]
    return Mp3Info(len(frames), seconds, audio / seconds, first.bitrate,
                   first.samplerate, first.channels, first.version)


# ------------------------------------------------------------- configuration

def to_bytes(value, what="value"):
    """Bytes from bytes, a str (UTF-8), or a JSON object: {"hex": "..."},
    {"base64": "..."} or {"text": "...", "encoding": "cp932"}."""
    if isinstance(value, (bytes, bytearray)):
        return bytes(value)
    if isinstance(value, str):
        return value.encode("utf-8")
    if isinstance(value, dict):
        if set(value) == {"hex"}:
            return bytes.fromhex(value["hex"])
        if set(value) == {"base64"}:
            return base64.b64decode(value["base64"], validate=True)
        if "text" in value and set(value) <= {"text", "encoding"}:
            return value["text"].encode(value.get("encoding", "utf-8"))
    raise ValueError("%s: cannot make bytes from %r" % (what, value))


class RawMeta(bytes):
    """A metadata block's whole content, sent instead of StreamTitle='...';"""


MetaEvent = namedtuple("MetaEvent", "time audio_offset point length title block complete")
MetaEvent.__doc__ = """A non-empty metadata block sent on a connection.

time: monotonic time right after the block was handed to the kernel;
audio_offset: audio bytes sent before it (= point * metaint); point: k;
length: the length byte; title: the title bytes (None for RawMeta);
block: the 16*length bytes as padded; complete: False if stall_in_meta
cut it short."""


def pls_body(entries, version=2):
    """A PLS playlist.  entries: URLs, or (url, title) pairs."""
    lines = ["[playlist]", "numberofentries=%d" % len(entries)]
    for i, e in enumerate(entries, 1):
        url, title = (e, None) if isinstance(e, str) else e
        lines.append("File%d=%s" % (i, url))
        if title is not None:
            lines.append("Title%d=%s" % (i, title))
        lines.append("Length%d=-1" % i)
    lines.append("Version=%d" % version)
    return ("\r\n".join(lines) + "\r\n").encode("utf-8")


_KEYS_COMMON = {"status", "headers", "extra_headers", "head", "content_type",
                "close_after", "stall_after", "drip_ms", "header_only",
                "silent", "reset", "substitute"}
_KEYS_STREAM = {"file", "name", "url", "genre", "br", "metaint", "titles",
                "stream_url", "loop", "burst", "rate", "metadata", "chunk",
                "stall_in_meta"}
_KEYS_STATIC = {"body", "pls"}


class Mount:
    """How one path behaves.  A stream mount has ``audio`` (bytes) or
    ``file``; a static mount has ``body`` or ``pls``.

    Response head: ``head`` (raw bytes) replaces all of it; otherwise
    ``status`` line + ``headers`` (list of (name, value); replaces the
    defaults, including icy-metaint) + ``extra_headers`` + blank line.
    ``{port}`` in the head and static bodies becomes the server's port
    unless ``substitute=False``.  ``None`` for name/url/genre/br/
    content_type leaves that header out.

    Faults (counted in body bytes, i.e. everything after the head):
    close_after=N, stall_after=N, stall_in_meta=K (send the length byte
    and K bytes, at most 16*L-1, of the first non-empty metadata block,
    then stall), drip_ms=X (head sent one byte per X ms), header_only,
    silent (read the request, never answer), reset (close with RST
    instead of FIN).
    A stall keeps the socket open and sends nothing until the client goes
    or the server stops.
    """

    def __init__(self, *, audio=None, file=None, body=None, pls=None,
                 status=None, headers=None, extra_headers=(), head=None,
                 content_type=AUTO, name="Velmorin Test Station",
                 url="http://127.0.0.1/", genre=None, br=AUTO, metaint=0,
                 titles=(), stream_url=b"", loop=False, burst=65536,
                 rate=AUTO, metadata="auto", chunk=None, close_after=None,
                 stall_after=None, stall_in_meta=None, drip_ms=None,
                 header_only=False, silent=False, reset=False,
                 substitute=True):
        sources = [x is not None for x in (audio, file, body, pls)]
        if sum(sources) != 1:
            raise ValueError("a mount needs exactly one of audio, file, body, pls")
        self.stream = audio is not None or file is not None
        if file is not None:
            with open(file, "rb") as fh:
                audio = fh.read()
        if pls is not None:
            body = pls_body(pls)
        if metadata not in ("auto", "always", "never"):
            raise ValueError("metadata must be auto, always or never")
        for n, v in (("close_after", close_after), ("stall_after", stall_after),
                     ("stall_in_meta", stall_in_meta), ("metaint", metaint),
                     ("burst", burst)):
            if v is not None and (not isinstance(v, int) or v < 0):
                raise ValueError("%s must be a non-negative integer" % n)
        self.audio = bytes(audio) if self.stream else None
        self.body = to_bytes(body, "body") if not self.stream else None
        self.head = to_bytes(head, "head") if head is not None else None
        self.status = to_bytes(status if status is not None else
                               ("ICY 200 OK" if self.stream else "HTTP/1.0 200 OK"))
        self.headers = None if headers is None else \
            [(to_bytes(k), to_bytes(v)) for k, v in headers]
        self.extra_headers = [(to_bytes(k), to_bytes(v)) for k, v in extra_headers]
        self.metaint = metaint
        self.metadata = metadata
        self.loop = bool(loop)
        self.burst = burst
        self.stream_url = to_bytes(stream_url)
        self.close_after, self.stall_after = close_after, stall_after
        self.stall_in_meta = stall_in_meta
        self.drip_ms = drip_ms
        self.header_only, self.silent = bool(header_only), bool(silent)
        self.reset, self.substitute = bool(reset), bool(substitute)
        self.info = None
        if self.stream:
            if not self.audio:
                raise ValueError("stream audio is empty")
            needs_info = br is AUTO or rate is AUTO
            self.info = mp3_info(self.audio) if needs_info else None
            self.br = self.info.bitrate if br is AUTO else br
            self.rate = self.info.bytes_per_second if rate is AUTO else rate
            if self.rate is None or self.rate < 0:
                raise ValueError("rate must be >= 0 (0 = unpaced)")
            if content_type is AUTO:
                content_type = "audio/mpeg"
            self.titles = self._titles(titles)
        else:
            self.br = self.rate = None
            self.titles = []
            if content_type is AUTO:
                content_type = "audio/x-scpls" if pls is not None else None
        self.content_type = None if content_type is None else to_bytes(content_type)
        self.name = None if name is None else to_bytes(name)
        self.url = None if url is None else to_bytes(url)
        self.genre = None if genre is None else to_bytes(genre)
        if chunk is None:
            chunk = 16384 if not self.rate else min(4096, max(256, int(self.rate / 50)))
        self.chunk = chunk

    def _titles(self, titles):
        out = []
        for offset, t in titles:
            if not isinstance(offset, int) or offset < 0:
                raise ValueError("title offset must be a non-negative integer")
            if self.loop and offset >= len(self.audio):
                raise ValueError("title offset %d is past the end of the looped file"
                                 % offset)
            if isinstance(t, RawMeta):
                block, title = bytes(t), None
            else:
                title = to_bytes(t, "title")
                block = b"StreamTitle='" + title + b"';StreamUrl='" + \
                    self.stream_url + b"';"
            if len(block) > 255 * 16:
                raise ValueError("metadata block of %d bytes does not fit" % len(block))
            out.append((offset, title, block))
        out.sort(key=lambda x: x[0])  # stable: equal offsets keep list order
        return out

    @classmethod
    def from_json(cls, entry, base_dir="."):
        """A Mount from one entry of a scenario file's "mounts"."""
        unknown = set(entry) - _KEYS_COMMON - _KEYS_STREAM - _KEYS_STATIC
        if unknown:
            raise ValueError("unknown mount keys: %s" % ", ".join(sorted(unknown)))
        if set(entry) & _KEYS_STATIC and set(entry) & _KEYS_STREAM:
            raise ValueError("stream keys on a body/pls mount: %s" % ", ".join(
                sorted(set(entry) & (_KEYS_STREAM | _KEYS_STATIC))))
        kw = dict(entry)
        if "file" in kw:
            kw["file"] = os.path.join(base_dir, kw["file"])
        if "titles" in kw:
            titles = []
            for item in kw["titles"]:
                if isinstance(item, list) and len(item) == 2:
                    titles.append((item[0], to_bytes(item[1], "title")))
                elif isinstance(item, dict) and set(item) == {"offset", "title"}:
                    titles.append((item["offset"], to_bytes(item["title"], "title")))
                elif isinstance(item, dict) and set(item) == {"offset", "raw"}:
                    titles.append((item["offset"], RawMeta(to_bytes(item["raw"], "raw"))))
                else:
                    raise ValueError("bad title entry %r" % (item,))
            kw["titles"] = titles
        for k in ("body", "head", "status", "stream_url", "name", "url", "genre",
                  "content_type"):
            if kw.get(k) is not None:
                kw[k] = to_bytes(kw[k], k)
        if "pls" in kw:
            kw["pls"] = [e if isinstance(e, str) else tuple(e) for e in kw["pls"]]
        for k in ("headers", "extra_headers"):
            if k in kw:
                kw[k] = [tuple(h) for h in kw[k]]
        return cls(**kw)

    def build_head(self, meta_on, port):
        if self.head is not None:
            head = self.head
        else:
            if self.headers is not None:
                hs = list(self.headers)
            elif self.stream:
                hs = [(b"icy-name", self.name), (b"icy-genre", self.genre),
                      (b"icy-url", self.url), (b"content-type", self.content_type),
                      (b"icy-br", None if self.br is None else str(self.br).encode())]
                if meta_on:
                    hs.append((b"icy-metaint", str(self.metaint).encode()))
            else:
                body = self._subst(self.body, port)
                hs = [(b"Content-Type", self.content_type),
                      (b"Content-Length", str(len(body)).encode())]
            sep = b":" if self.stream else b": "
            lines = [self.status] + [k + sep + v for k, v in hs + self.extra_headers
                                     if v is not None]
            head = b"\r\n".join(lines) + b"\r\n\r\n"
        return self._subst(head, port)

    def _subst(self, data, port):
        return data.replace(b"{port}", str(port).encode()) if self.substitute else data


# --------------------------------------------------------------- connections

class _End(Exception):
    """The connection is over; args[0] says why."""


class Connection:
    """What happened on one accepted connection.  Fields are updated live by
    the serving thread; ``done`` is set when the socket is closed."""

    def __init__(self, cid, peer):
        self.id = cid
        self.peer = peer
        self.accepted_at = time.monotonic()
        self.request = b""          # raw bytes up to and including the blank line
        self.path = None            # request target, None if none was read
        self.metadata = False       # whether metadata is being interleaved
        self.head_sent_at = None    # monotonic time the head was fully sent
        self.body_sent = 0          # bytes after the head
        self.audio_sent = 0         # audio bytes (metadata excluded)
        self.meta_log = []          # [MetaEvent]
        self.progress = deque(maxlen=20000)  # (time, audio offset) after each send
        self.end = None             # eof, close_after, stall, client_closed, stopped, ...
        self.closed_at = None
        self.error = None           # the socket error that ended it, if any
        self.done = threading.Event()

    def to_json(self):
        def lat(b):
            return None if b is None else b.decode("latin-1")
        return {
            "id": self.id, "path": self.path, "request": lat(self.request),
            "accepted_at": self.accepted_at, "head_sent_at": self.head_sent_at,
            "metadata": self.metadata, "body_sent": self.body_sent,
            "audio_sent": self.audio_sent, "end": self.end,
            "closed_at": self.closed_at,
            "meta_log": [{"time": e.time, "audio_offset": e.audio_offset,
                          "point": e.point, "length": e.length,
                          "title": lat(e.title), "block": lat(e.block),
                          "complete": e.complete} for e in self.meta_log],
            "progress": [list(p) for p in list(self.progress)],
        }


class StationServer:
    """A threaded ICY/HTTP server on 127.0.0.1 (port 0 = any free port).

    mounts: {path: Mount}.  Paths match the request target exactly, then
    without its query string; anything else gets a 404.
    """

    def __init__(self, mounts=None, port=0, request_timeout=10.0):
        self.mounts = dict(mounts or {})
        for p in self.mounts:
            self._check_path(p)
        self._want_port = port
        self.request_timeout = request_timeout
        self.port = None
        self._lock = threading.Lock()
        self._conns = []
        self._live = {}             # id -> socket
        self._threads = set()
        self._next_id = 1
        self._stop = threading.Event()
        self._changed = threading.Condition(self._lock)
        self._lsock = None
        self._wake_r = self._wake_w = None
        self._acceptor = None

    @staticmethod
    def _check_path(p):
        if not p.startswith("/") or p.startswith(CONTROL_PREFIX):
            raise ValueError("bad mount path %r" % p)

    def add(self, path, mount):
        """Add or replace a mount; allowed while running."""
        self._check_path(path)
        with self._lock:
            self.mounts[path] = mount

    def url(self, path="/"):
        return "http://%s:%d%s" % (HOST, self.port, path)

    # -- life cycle

    def start(self):
        s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        try:
            s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            s.bind((HOST, self._want_port))
            s.listen(64)
        except OSError:
            s.close()
            raise
        self._lsock = s
        self.port = s.getsockname()[1]
        self._wake_r, self._wake_w = socket.socketpair()
        self._acceptor = threading.Thread(target=self._accept_loop,
                                          name="station-accept", daemon=True)
        self._acceptor.start()
        return self

    def stop(self, timeout=5.0):
        """Close everything and join every thread this server started."""
        if self._lsock is None or self._stop.is_set():
            return
        self._stop.set()
        self._wake_w.send(b"x")     # wakes every select() on _wake_r
        self._acceptor.join(timeout)
        with self._lock:    # serving threads close their sockets under it too
            threads = list(self._threads)
            for s in self._live.values():
                try:
                    s.shutdown(socket.SHUT_RDWR)   # unblocks a thread stuck in send
                except OSError:
                    pass
        deadline = time.monotonic() + timeout
        for t in threads:
            t.join(max(0.0, deadline - time.monotonic()))
        self._lsock.close()
        self._wake_r.close()
        self._wake_w.close()
        alive = [t.name for t in threads if t.is_alive()]
        if alive or self._acceptor.is_alive():
            raise RuntimeError("station threads did not stop: %s" % alive)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    # -- looking at what happened

    def connections(self, path=None):
        """Recorded connections (control requests excluded), oldest first."""
        with self._lock:
            return [c for c in self._conns if path is None or c.path == path]

    def requests(self, path=None):
        """Raw request bytes of the recorded connections."""
        return [c.request for c in self.connections(path)]

    def clear(self):
        """Forget the connections that have finished."""
        with self._lock:
            self._conns = [c for c in self._conns if not c.done.is_set()]

    def wait_connections(self, count, path=None, timeout=5.0):
        """Wait until `count` connections (to `path`, if given) have been
        recorded, i.e. their request was read (or they ended without one)."""
        deadline = time.monotonic() + timeout
        with self._changed:
            while True:
                cs = [c for c in self._conns if path is None or c.path == path]
                if len(cs) >= count:
                    return cs
                left = deadline - time.monotonic()
                if left <= 0:
                    raise TimeoutError("%d of %d connections after %.1fs"
                                       % (len(cs), count, timeout))
                self._changed.wait(left)

    # -- serving

    def _accept_loop(self):
        while not self._stop.is_set():
            r, _, _ = select.select([self._lsock, self._wake_r], [], [])
            if self._wake_r in r:
                return
            try:
                sock, peer = self._lsock.accept()
            except OSError:
                continue
            with self._lock:
                cid = self._next_id
                self._next_id += 1
                self._live[cid] = sock
                t = threading.Thread(target=self._serve, args=(cid, sock, peer),
                                     name="station-conn-%d" % cid, daemon=True)
                self._threads.add(t)
            t.start()

    def _serve(self, cid, sock, peer):
        conn = Connection(cid, peer)
        control = False
        mount = None
        try:
            sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            request = self._read_request(sock)
            target = _target(request)
            if target is not None and target.startswith(CONTROL_PREFIX):
                control = True
                self._control(sock, target)
                return
            conn.request, conn.path = request, target
            with self._changed:
                self._conns.append(conn)
                self._changed.notify_all()
                if target is not None:
                    mount = self.mounts.get(target) or \
                        self.mounts.get(target.split("?", 1)[0])
            if mount is None:
                if target is not None:
                    sock.sendall(b"HTTP/1.0 404 Not Found\r\nContent-Type: text/plain"
                                 b"\r\n\r\nno such mount\n")
                raise _End("not_found" if target is not None else "no_request")
            _Responder(self, conn, sock, mount, request).run()
        except _End as e:
            conn.end = e.args[0]
        except OSError as e:
            conn.end = "stopped" if self._stop.is_set() else "client_closed"
            conn.error = repr(e)
        finally:
            reset = mount is not None and mount.reset and \
                conn.end in ("eof", "close_after")
            with self._changed:
                self._live.pop(cid, None)
                if reset:
                    try:
                        sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER,
                                        struct.pack("ii", 1, 0))
                    except OSError:
                        pass
                sock.close()
                conn.closed_at = time.monotonic()
                if not control and conn not in self._conns:
                    self._conns.append(conn)   # ended before it was routed
                self._threads.discard(threading.current_thread())
                conn.done.set()
                self._changed.notify_all()

    def _read_request(self, sock):
        """Bytes up to the blank line ending the request head (or whatever
        came before the client closed or request_timeout ran out)."""
        buf = b""
        deadline = time.monotonic() + self.request_timeout
        while b"\r\n\r\n" not in buf and b"\n\n" not in buf and len(buf) < 65536:
            left = deadline - time.monotonic()
            if left <= 0:
                return buf
            r, _, _ = select.select([sock, self._wake_r], [], [], left)
            if self._wake_r in r:
                raise _End("stopped")
            if not r:
                continue
            # Peek so bytes after the head (if any) stay unread.
            data = sock.recv(4096, socket.MSG_PEEK)
            if not data:
                return buf
            end = _head_end(buf + data)
            take = len(data) if end is None else end - len(buf)
            buf += sock.recv(take)
        return buf

    def _control(self, sock, target):
        path = target.split("?", 1)[0]
        if path == "/__requests":
            body = json.dumps({"port": self.port, "connections":
                               [c.to_json() for c in self.connections()]}).encode()
            status = b"200 OK"
        elif path == "/__clear":
            self.clear()
            body, status = b"{}", b"200 OK"
        else:
            body, status = b'{"error": "unknown control path"}', b"404 Not Found"
        sock.sendall(b"HTTP/1.0 " + status + b"\r\nContent-Type: application/json\r\n"
                     b"Content-Length: " + str(len(body)).encode() + b"\r\n\r\n" + body)

    def _hold(self, sock, why):
        """Keep the connection open without sending until the peer closes
        or the server stops; bytes the client sends are discarded."""
        while True:
            r, _, _ = select.select([sock, self._wake_r], [], [])
            if self._wake_r in r:
                raise _End("stopped")
            if not sock.recv(4096):
                raise _End(why)

    def _sleep_until(self, t):
        left = t - time.monotonic()
        if left > 0 and self._stop.wait(left):
            raise _End("stopped")


def _head_end(buf):
    """Index just past the blank line ending a request head, or None."""
    ends = [i + n for i, n in ((buf.find(b"\r\n\r\n"), 4), (buf.find(b"\n\n"), 2))
            if i >= 0]
    return min(ends) if ends else None


def _target(request):
    """The request target of 'GET /x HTTP/1.0', or None."""
    line = request.split(b"\n", 1)[0].strip()
    parts = line.split()
    if len(parts) < 2:
        return None
    target = parts[1].decode("latin-1")
    if target.startswith("http://") or target.startswith("https://"):
        rest = target.split("//", 1)[1]
        target = "/" + rest.split("/", 1)[1] if "/" in rest else "/"
    return target


def _wants_metadata(request):
    for line in request.split(b"\n")[1:]:
        name, sep, value = line.partition(b":")
        if sep and name.strip().lower() == b"icy-metadata":
            return value.strip() == b"1"
    return False


class _Responder:
    """Sends one response, honouring the mount's faults."""

    def __init__(self, server, conn, sock, mount, request):
        self.srv, self.conn, self.sock, self.m = server, conn, sock, mount
        self.request = request
        limits = [(n, v) for n, v in (("close_after", mount.close_after),
                                      ("stall_after", mount.stall_after))
                  if v is not None]
        self.limit = min(limits, key=lambda x: x[1]) if limits else None

    def run(self):
        m, conn = self.m, self.conn
        if m.silent:
            self.srv._hold(self.sock, "silent")
        meta_on = False
        if m.stream and m.metaint > 0:
            meta_on = m.metadata == "always" or \
                (m.metadata == "auto" and _wants_metadata(self.request))
        conn.metadata = meta_on
        self._send_head(m.build_head(meta_on, self.srv.port))
        conn.head_sent_at = time.monotonic()
        if m.header_only:
            self.srv._hold(self.sock, "header_only")
        if self.limit and self.limit[1] == 0:
            self._fault()
        if m.stream:
            self._stream(meta_on)
        else:
            self._body(m._subst(m.body, self.srv.port))
        raise _End("eof")

    def _send_head(self, head):
        if not self.m.drip_ms:
            self.sock.sendall(head)
            return
        t0 = time.monotonic()
        for i in range(len(head)):
            self.srv._sleep_until(t0 + i * self.m.drip_ms / 1000.0)
            self.sock.sendall(head[i:i + 1])

    def _fault(self):
        name = self.limit[0]
        if name == "stall_after":
            self.srv._hold(self.sock, "stall")
        raise _End(name)

    def _body(self, data):
        """Send body bytes, stopping exactly at close_after/stall_after."""
        if self.limit:
            room = self.limit[1] - self.conn.body_sent
            if len(data) >= room:
                self.sock.sendall(data[:room])
                self.conn.body_sent += room
                self._fault()
        self.sock.sendall(data)
        self.conn.body_sent += len(data)

    def _stream(self, meta_on):
        m, conn, srv = self.m, self.conn, self.srv
        audio, n = m.audio, len(m.audio)
        metaint = m.metaint if meta_on else 0
        titles = _title_feed(m.titles, n, m.loop)
        pending = next(titles, None)
        t0 = conn.head_sent_at
        self._segs, self._queued = [], 0
        pos = 0
        while m.loop or pos < n:
            size = m.chunk
            if metaint:
                size = min(size, metaint - pos % metaint)
            if not m.loop:
                size = min(size, n - pos)
            if m.rate:
                srv._sleep_until(t0 + (pos + size - m.burst) / m.rate)
            if metaint and pos and pos % metaint == 0:
                # Queued only now, so the block goes out right before its audio.
                title = None
                while pending is not None and pending[0] <= pos:
                    title, pending = pending, next(titles, None)
                self._queue_meta(title, pos, pos // metaint)
            chunk = b""
            while len(chunk) < size:  # a looped file wraps round
                start = (pos + len(chunk)) % n
                chunk += audio[start:start + size - len(chunk)]
            self._queue(chunk, audio=True)
            pos += size
            if m.rate or self._queued >= m.chunk:  # paced data never waits
                self._flush()
        self._flush()

    def _queue_meta(self, due, pos, point):
        if due is None:
            self._queue(b"\x00")
            return
        _, title, block = due
        length = (len(block) + 15) // 16
        padded = block.ljust(16 * length, b"\x00")
        wire = bytes([length]) + padded
        cut = self.m.stall_in_meta
        if cut is not None:
            cut = min(cut, len(padded) - 1)  # always stop inside the block
            self._queue(wire[:1 + cut], MetaEvent(None, pos, point, length, title,
                                                  padded, False))
            self._flush()
            self.srv._hold(self.sock, "stall_in_meta")
        self._queue(wire, MetaEvent(None, pos, point, length, title, padded, True))

    def _queue(self, data, event=None, audio=False):
        self._segs.append((data, event, audio))
        self._queued += len(data)

    def _flush(self):
        """Send what is queued in one write (so a tiny metaint stays cheap),
        cut exactly at close_after/stall_after, and log what went out."""
        if not self._segs:
            return
        segs, self._segs, self._queued = self._segs, [], 0
        data = b"".join(s[0] for s in segs)
        if self.limit:
            data = data[:self.limit[1] - self.conn.body_sent]
        self.sock.sendall(data)
        now = time.monotonic()
        left = len(data)
        for seg, event, audio in segs:
            take = min(left, len(seg))
            left -= take
            if audio:
                self.conn.audio_sent += take
            elif event is not None and take == len(seg):
                self.conn.meta_log.append(event._replace(time=now))
            if not left:
                break
        self.conn.body_sent += len(data)
        self.conn.progress.append((now, self.conn.audio_sent))
        if self.limit and self.conn.body_sent >= self.limit[1]:
            self._fault()


def _title_feed(titles, n, loop):
    """(absolute audio offset, title, block) in order, repeating per pass."""
    if not titles:
        return iter(())

    def gen():
        p = 0
        while True:
            for off, title, block in titles:
                yield off + p * n, title, block
            if not loop:
                return
            p += 1
    return gen()


# ----------------------------------------------------------------------- CLI

def load_scenario(path, media_dir=None):
    """{path: Mount} from a scenario JSON file; "file" entries are relative
    to media_dir if given, else to the scenario file's directory."""
    with open(path, encoding="utf-8") as fh:
        doc = json.load(fh)
    if not isinstance(doc, dict) or not isinstance(doc.get("mounts"), dict):
        raise ValueError("scenario needs a \"mounts\" object")
    unknown = set(doc) - {"mounts"}
    if unknown:
        raise ValueError("unknown scenario keys: %s" % ", ".join(sorted(unknown)))
    base = media_dir or os.path.dirname(os.path.abspath(path))
    mounts = {}
    for p, entry in doc["mounts"].items():
        try:
            mounts[p] = Mount.from_json(entry, base)
        except (ValueError, TypeError, OSError) as e:
            raise ValueError("mount %s: %s" % (p, e)) from None
    return mounts


DEMO_TITLES = [
    "ヴェルモリン試験放送 ～ Velmorin Test Broadcast",
    "Morning Walk (朝の散歩)",
    "夜明けのメロディ / Dawn Melody",
    "Pentatonic Breeze - さくら通り",
]


def demo_mounts(media_dir):
    """The demo: a looping tune with changing titles, in Shift-JIS at /demo
    and UTF-8 at /demo-utf8, plus /demo.pls pointing at /demo."""
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    import make_media
    path = make_media.build(media_dir, ["demo_tune.mp3"])["demo_tune.mp3"]
    with open(path, "rb") as fh:
        audio = fh.read()
    quarter = len(audio) // len(DEMO_TITLES)

    def titles(enc):
        return [(i * quarter, t.encode(enc)) for i, t in enumerate(DEMO_TITLES)]
    common = dict(audio=audio, loop=True, metaint=16000, genre="Demo")
    return {
        "/demo": Mount(name="Velmorin Demo", titles=titles("cp932"), **common),
        "/demo-utf8": Mount(name="Velmorin Demo (UTF-8)", titles=titles("utf-8"),
                            **common),
        "/demo.pls": Mount(pls=[("http://127.0.0.1:{port}/demo", "Velmorin Demo")]),
    }


def _write_port_file(path, port):
    tmp = path + ".tmp"
    with open(tmp, "w") as fh:
        fh.write("%d\n" % port)
    os.replace(tmp, path)  # a watcher never reads a half-written file


def serve_until_signalled(server, port_file, lines):
    """For a started server run as a program: writes its port to port_file
    (if given), prints lines once SIGINT and SIGTERM are caught, waits for
    one of them and stops the server."""
    if port_file:
        _write_port_file(port_file, server.port)
    done = threading.Event()
    for sig in (signal.SIGINT, signal.SIGTERM):
        signal.signal(sig, lambda *_: done.set())
    for line in lines:
        print(line, flush=True)
    while not done.wait(3600):
        pass
    server.stop()


def main(argv=None):
    ap = argparse.ArgumentParser(description="Velmorin test station (127.0.0.1 only)")
    ap.add_argument("scenario", nargs="?", help="scenario JSON file")
    ap.add_argument("--demo", metavar="DIR",
                    help="serve the demo tune (generated into DIR) forever")
    ap.add_argument("--port", type=int, default=None,
                    help="port to listen on (default: any free one; 8000 for --demo)")
    ap.add_argument("--port-file", help="write the bound port to this file")
    ap.add_argument("--media-dir", help="directory for \"file\" entries")
    args = ap.parse_args(argv)
    if bool(args.scenario) == bool(args.demo):
        ap.error("give either a scenario file or --demo DIR")
    try:
        mounts = demo_mounts(args.demo) if args.demo else \
            load_scenario(args.scenario, args.media_dir)
    except (ValueError, OSError) as e:
        print("station: %s" % e, file=sys.stderr)
        return 2
    port = args.port if args.port is not None else (8000 if args.demo else 0)
    server = StationServer(mounts, port=port)
    try:
        server.start()
    except OSError as e:
        print("station: cannot listen on port %d: %s" % (port, e), file=sys.stderr)
        return 2
    lines = ["station: listening on %s" % server.url("/")]
    if args.demo:
        lines += ["  %s" % server.url(p) for p in mounts]
    serve_until_signalled(server, args.port_file, lines)
    return 0


if __name__ == "__main__":
    sys.exit(main())
