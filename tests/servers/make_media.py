#!/usr/bin/env python3
"""Generate the MP3 files the tests stream, using sox and lame.

    python3 make_media.py OUT_DIR [NAME ...]

or, from Python, ``build(out_dir, names=None) -> {name: path}``.

Files already present are kept, so calling this before every test run is
cheap.  Each file is written under a temporary name and renamed into place,
so concurrent builders never see half a file.

``CATALOG`` describes every file: what was synthesised (``freq`` in Hz and
``seconds``; ``None`` for mixed content), and what the encoder was asked for
(``mpeg`` version "1", "2" or "2.5", ``samplerate``, ``channels``,
``kbps`` for CBR, ``vbr``, ``crc``, ``id3v2``, ``xing``).  Only the VBR file
carries a Xing/LAME tag frame; all CBR files are made with ``lame -t`` so
their first frame is audio.
"""
import os
import shutil
import subprocess
import sys
import tempfile

# The demo tune: C major pentatonic at 120 bpm, eighth notes of 0.25 s.
# Ends on the tonic so the loop back to the start sounds natural.
_MELODY = (
    "E4 G4 A4 G4 E4 D4 C4 D4 E4 G4 A4 C5 A4 G4 E4 G4 "
    "C5 A4 G4 E4 D4 E4 G4 A4 G4 E4 D4 E4 C4 D4 C4 C4 "
    "A4 C5 D5 C5 A4 G4 E4 G4 A4 G4 E4 D4 E4 G4 A4 A4 "
    "G4 A4 C5 D5 E5 D5 C5 A4 G4 E4 D4 E4 C4 C4 C4 C4"
).split()
_BASS = "C3 A2 F2 G2 C3 A2 D3 C3".split()  # two seconds each
_NOTE = 0.25


def _tone(freq, seconds):
    return ["synth", str(seconds), "sine", str(freq), "vol", "0.5"]


CATALOG = {
    # MPEG-1 Layer III, 44.1 kHz.
    "tone1k_44k_stereo_128.mp3": dict(
        freq=1000, seconds=5.0, mpeg="1", samplerate=44100, channels=2, kbps=128,
        sox=_tone(1000, 5.0), lame=["-b", "128", "--cbr", "-m", "j"]),
    "tone1k_44k_stereo_128_30s.mp3": dict(
        freq=1000, seconds=30.0, mpeg="1", samplerate=44100, channels=2, kbps=128,
        sox=_tone(1000, 30.0), lame=["-b", "128", "--cbr", "-m", "j"]),
    "tone440_44k_stereo_128.mp3": dict(
        freq=440, seconds=2.0, mpeg="1", samplerate=44100, channels=2, kbps=128,
        sox=_tone(440, 2.0), lame=["-b", "128", "--cbr", "-m", "s"]),
    "tone440_44k_mono_96.mp3": dict(
        freq=440, seconds=2.0, mpeg="1", samplerate=44100, channels=1, kbps=96,
        sox=_tone(440, 2.0), lame=["-b", "96", "--cbr", "-m", "m"]),
    # MPEG-2, 22.05 kHz.
    "tone1k_22k_stereo_64.mp3": dict(
        freq=1000, seconds=2.0, mpeg="2", samplerate=22050, channels=2, kbps=64,
        sox=_tone(1000, 2.0), lame=["-b", "64", "--cbr", "-m", "j"]),
    "tone440_22k_mono_32.mp3": dict(
        freq=440, seconds=2.0, mpeg="2", samplerate=22050, channels=1, kbps=32,
        sox=_tone(440, 2.0), lame=["-b", "32", "--cbr", "-m", "m"]),
    # MPEG-2.5.
    "tone1k_11k_mono_24.mp3": dict(
        freq=1000, seconds=2.0, mpeg="2.5", samplerate=11025, channels=1, kbps=24,
        sox=_tone(1000, 2.0), lame=["-b", "24", "--cbr", "-m", "m"]),
    "tone440_8k_stereo_16.mp3": dict(
        freq=440, seconds=2.0, mpeg="2.5", samplerate=8000, channels=2, kbps=16,
        sox=_tone(440, 2.0), lame=["-b", "16", "--cbr", "-m", "j"]),
    # Every frame carries a CRC-16 after the header.
    "tone1k_44k_stereo_128_crc.mp3": dict(
        freq=1000, seconds=2.0, mpeg="1", samplerate=44100, channels=2, kbps=128,
        crc=True, sox=_tone(1000, 2.0),
        lame=["-b", "128", "--cbr", "-m", "j", "-p"]),
    # VBR needs content whose complexity changes: tone, then pink noise.
    # Keeps its Xing/LAME tag frame, as VBR files in the wild do.
    "mixed_44k_stereo_vbr.mp3": dict(
        freq=None, seconds=4.0, mpeg="1", samplerate=44100, channels=2, kbps=None,
        vbr=True, xing=True,
        sox=["synth", "2", "sine", "1000", "vol", "0.5",
             ":", "synth", "2", "pinknoise", "vol", "0.3"],
        lame=["-V", "2"], keep_tag=True),
    # An ID3v2 tag in front of the first frame.
    # 1 kHz for 3 s, then 440 Hz for 3 s: the change is a point in time
    # that a capture can find (title timing).
    "step1k440_44k_stereo_128.mp3": dict(
        freq=None, seconds=6.0, mpeg="1", samplerate=44100, channels=2, kbps=128,
        sox=["synth", "3", "sine", "1000", "vol", "0.5", ":", "synth", "3", "sine", "440", "vol", "0.5"],
        lame=["-b", "128", "--cbr", "-m", "j"]),
    "tone1k_44k_stereo_128_id3.mp3": dict(
        freq=1000, seconds=2.0, mpeg="1", samplerate=44100, channels=2, kbps=128,
        id3v2=True, sox=_tone(1000, 2.0),
        lame=["-b", "128", "--cbr", "-m", "j", "--id3v2-only",
              "--tt", "Test Tone", "--ta", "Velmorin", "--pad-id3v2-size", "256"]),
}


# Title timing: songs of 3.312 s, each a tone of its own, at 48 kHz where
# every 128 kbit/s frame is 384 bytes and 1152 samples long. A song is 138
# frames, six metadata points of 23 frames (metaint 8832): its title sits at
# its first frame, and its start falls anywhere in a half-second block. A
# decoder's output trails the input by lame's encoder delay and the
# decoder's own (576 + 529 samples), so each tone after the first begins 1105
# samples before a frame boundary of the input: the decoded tone changes
# exactly where song k's first frame, 138 x k frames into the file, begins.
SONG_COUNT = 12
SONG_FRAMES = 138
SONG_METAINT = 23 * 384
SONG_BYTES = SONG_FRAMES * 384
CODEC_DELAY = 1105


def song_tone(k):
    return 500 + 250 * k


def _songs_sox():
    args = []
    for k in range(SONG_COUNT):
        samples = SONG_FRAMES * 1152 - (CODEC_DELAY if k == 0 else 0)
        if k:
            args.append(":")
        args += ["synth", "%ds" % samples, "sine", str(song_tone(k)), "vol", "0.5"]
    return args


CATALOG["songs_48k_128.mp3"] = dict(
    freq=None, seconds=SONG_COUNT * SONG_FRAMES * 1152 / 48000.0, mpeg="1", samplerate=48000, channels=2,
    kbps=128, sox=_songs_sox(), lame=["-b", "128", "--cbr", "-m", "j"])


def _demo_sox():
    """sox arguments for the melody: plucked notes over a soft sine bass."""
    args = []
    first = True
    for note in _MELODY:
        if not first:
            args.append(":")
        first = False
        args += ["synth", str(_NOTE), "pluck", note, "vol", "0.6"]
    return args


def _demo_bass():
    args = []
    for i, note in enumerate(_BASS):
        if i:
            args.append(":")
        args += ["synth", "2", "sine", note, "fade", "q", "0.2", "2", "0.4",
                 "vol", "0.25"]
    return args


CATALOG["demo_tune.mp3"] = dict(
    freq=None, seconds=len(_MELODY) * _NOTE, mpeg="1", samplerate=44100,
    channels=2, kbps=128, demo=True, lame=["-b", "128", "--cbr", "-m", "j"])

for _info in CATALOG.values():
    for _k in ("crc", "vbr", "id3v2", "xing", "demo"):
        _info.setdefault(_k, False)


def _run(cmd):
    subprocess.run(cmd, check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def _make_wav(name, info, wav, tmp):
    if not info["demo"]:
        _run(["sox", "-R", "-V1", "-n", "-r", str(info["samplerate"]),
              "-c", str(info["channels"]), "-b", "16", wav] + info["sox"])
        return
    melody = os.path.join(tmp, "melody.wav")
    bass = os.path.join(tmp, "bass.wav")
    mono = ["sox", "-R", "-V1", "-n", "-r", "44100", "-c", "1", "-b", "16"]
    _run(mono + [melody] + _demo_sox())
    _run(mono + [bass] + _demo_bass())
    # Mix, widen to stereo, soften the pluck, add a little room, and cut back to the exact
    # loop length so the reverb tail does not leave a gap.
    _run(["sox", "-R", "-V1", "-m", melody, bass, "-b", "16", "-c", "2", wav,
          "lowpass", "4000", "reverb", "40", "50", "60", "gain", "-n", "-3",
          "trim", "0", str(info["seconds"])])


def build(out_dir, names=None):
    """Make the named files (all of CATALOG by default) in out_dir."""
    names = list(CATALOG) if names is None else list(names)
    for n in names:
        if n not in CATALOG:
            raise KeyError("unknown media file %r" % n)
    os.makedirs(out_dir, exist_ok=True)
    for tool in ("sox", "lame"):
        if shutil.which(tool) is None:
            raise RuntimeError("%s is not installed" % tool)
    paths = {}
    for name in names:
        path = os.path.join(out_dir, name)
        paths[name] = path
        if os.path.exists(path):
            continue
        info = CATALOG[name]
        with tempfile.TemporaryDirectory(dir=out_dir, prefix=".mk-") as tmp:
            wav = os.path.join(tmp, "in.wav")
            _make_wav(name, info, wav, tmp)
            out = os.path.join(tmp, name)
            lame = ["lame", "--quiet", "--resample", "%g" % (info["samplerate"] / 1000)]
            if not info.get("keep_tag"):
                lame.append("-t")
            _run(lame + info["lame"] + [wav, out])
            os.replace(out, path)
    return paths


def main(argv):
    if len(argv) < 2 or argv[1] in ("-h", "--help"):
        print(__doc__.strip())
        return 0 if len(argv) >= 2 else 2
    try:
        paths = build(argv[1], argv[2:] or None)
    except subprocess.CalledProcessError as e:
        sys.stderr.write("make_media: %s failed: %s\n"
                         % (e.cmd[0], e.stderr.decode(errors="replace")))
        return 1
    for name in paths:
        print(paths[name])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
