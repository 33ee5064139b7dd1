"""Records the test session's null sink and analyses what it heard.

SoundCapture reads the PulseAudio sink "vsink" that cmake/wine-server.sh
starts, as 16-bit stereo, and stamps the recording so that a sample index
maps to the moment it sounded. The functions below work on its left
channel.
"""
import array
import math
import subprocess
import threading
import time

RATE = 44100
CHANNELS = 2
# Short periods, so that the stamp of each chunk is close to when it sounded.
LATENCY_MS = 10


class SoundCapture:
    """Records the null sink from now on; stop() (or close()) ends it."""

    def __init__(self, session, start_timeout=5):
        self.data = bytearray()
        self.t0 = None
        self.starts = []  # the start each chunk implies
        self._lock = threading.Lock()
        # The recording keeps its own short periods whatever buffering the
        # session asks of the programs it listens to.
        env = {k: v for k, v in session.env.items() if k != "PULSE_LATENCY_MSEC"}
        self.proc = subprocess.Popen(
            ["parec", "-d", "vsink.monitor", "--raw", "--format=s16le", "--rate=%d" % RATE,
             "--channels=%d" % CHANNELS, "--latency-msec=%d" % LATENCY_MS],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL,
            env=env, start_new_session=True)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        deadline = time.monotonic() + start_timeout
        while self.t0 is None and time.monotonic() < deadline:
            time.sleep(0.01)
        if self.t0 is None:
            self.stop()
            raise RuntimeError("parec records nothing")

    def _read(self):
        frame = 2 * CHANNELS
        while True:
            chunk = self.proc.stdout.read1(4096)
            if not chunk:
                return
            now = time.monotonic()
            with self._lock:
                self.data += chunk
                # Earliest consistent start: the bytes so far ended no later than now.
                start = now - len(self.data) / float(frame * RATE)
                self.starts.append(start)
                if self.t0 is None or start < self.t0:
                    self.t0 = start

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(5)
        self.reader.join(5)
        if not self.reader.is_alive():
            self.proc.stdout.close()


    def left(self):
        """Left-channel samples recorded so far."""
        frame = 2 * CHANNELS
        with self._lock:
            whole = bytes(self.data[:len(self.data) // frame * frame])
        samples = array.array("h")
        samples.frombytes(whole)
        return samples[0::CHANNELS]


    def lateness_ms(self):
        """Median lateness of a chunk behind the earliest one: how well t0 is known."""
        with self._lock:
            late = sorted(s - self.t0 for s in self.starts)
        return 1000 * late[len(late) // 2] if late else float("nan")

    def time_of(self, index):
        """The moment the left-channel sample at index sounded (time.monotonic)."""
        return self.t0 + index / float(RATE)


def rms(samples):
    if not samples:
        return 0.0
    return math.sqrt(sum(x * x for x in samples) / len(samples))


def goertzel_power(samples, frequency, rate=RATE):
    """Relative power of one frequency in a block of samples."""
    k = 2.0 * math.cos(2.0 * math.pi * frequency / rate)
    s_prev = s_prev2 = 0.0
    for x in samples:
        s = x + k * s_prev - s_prev2
        s_prev2, s_prev = s_prev, s
    return (s_prev2 * s_prev2 + s_prev * s_prev - k * s_prev * s_prev2) / max(1, len(samples)) ** 2


def loud_recently(capture, seconds=0.3):
    """Whether the last seconds of the recording are loud."""
    recent = capture.left()[-int(RATE * seconds):]
    return len(recent) > 0 and rms(recent) > 1000


def quiet_recently(capture, seconds=0.3):
    """Whether the last seconds of the recording are silent."""
    recent = capture.left()[-int(RATE * seconds):]
    return len(recent) > 1000 and rms(recent) < 50


def loud_span(samples, threshold=1000):
    """First and last sample index above the threshold, or None."""
    first = next((i for i, s in enumerate(samples) if abs(s) > threshold), None)
    if first is None:
        return None
    last = len(samples) - 1
    while abs(samples[last]) <= threshold:
        last -= 1
    return first, last


def quiet_runs(samples, first, last, shortest, threshold=1000):
    """(start, length) of every quiet run of at least shortest samples."""
    runs = []
    run = 0
    for i in range(first, last + 2):
        if i <= last and abs(samples[i]) <= threshold:
            run += 1
            continue
        if run >= shortest:
            runs.append((i - run, run))
        run = 0
    return runs


# A ring that runs dry or loses a block leaves half a second or more of
# silence; the frames inside a block are checked against the codec without a
# device (AcmCodec tests). Wine's mixer on a machine busy with other work
# leaves up to a quarter of a second empty now and then (a bare waveOut ring
# of silence-free blocks shows the same), so the sink is searched for longer
# silences only.
GAP = int(RATE * 0.4)


def gaps(capture, samples, first, last, shortest=GAP):
    """Silences of shortest or more inside the sound: (seconds after its start, samples)."""
    return [(round(capture.time_of(at) - capture.time_of(first), 3), n)
            for at, n in quiet_runs(samples, first, last, shortest)]


def frequency(samples, start, count, threshold=1000, dropout=64):
    """Tone frequency in a window by rising zero crossings, over its loud stretches.

    A short silence from the mixer (see GAP) splits a stretch instead of
    reading as a lower pitch; cycles are counted from the first to the last
    crossing of each stretch. None when less than half the window is measured.
    """
    cycles = span = quiet = 0
    stretch = []

    def close():
        nonlocal cycles, span
        if len(stretch) >= 2:
            cycles += len(stretch) - 1
            span += stretch[-1] - stretch[0]

    for i in range(start + 1, start + count):
        quiet = quiet + 1 if abs(samples[i]) <= threshold else 0
        if quiet == dropout:
            # The fall into the silence is no crossing of the tone.
            while stretch and stretch[-1] > i - dropout:
                stretch.pop()
            close()
            stretch = []
        elif quiet < dropout and samples[i - 1] < 0 <= samples[i]:
            stretch.append(i)
    close()
    return cycles * RATE / float(span) if span >= count // 2 else None
