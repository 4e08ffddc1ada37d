#!/usr/bin/env python3
"""Renders the game's music and sound effects from their text sources into Ogg Vorbis.

    render_audio.py music SOURCE.abc OUT.ogg --soundfont FILE.sf2
    render_audio.py sfx SOURCE.sfx OUT.ogg

A piece of music (content/music/ID.abc) goes ABC -> MIDI (abc2midi) -> WAV (fluidsynth, through a
General MIDI SoundFont) -> Ogg Vorbis (oggenc). Its header says how it is played:

    %render loop              a loop: its end joins its start
    %render once tail=3.0     a phrase played once, with TAIL seconds of reverb after the last note
    %render loudness=-20      the level it is brought to (RMS, dBFS; a peak never passes -2 dBFS)

A loop is rendered with LOOP_TAIL seconds more, and what still rings past its end (the notes'
release, the reverb) is added onto its start: what a second pass would hear there, at half the
cost of rendering two passes and cutting one from the second (the two agree to a few thousandths
of full scale, where a note struck again cuts its own ringing). The end of the file then flows
into its beginning. Its length must be a whole
number of bars and of samples, and every voice must agree on it (abc2midi's warnings about bar
lengths stop the build).

A sound effect (content/sounds/ID.sfx) is a recipe of sox synth chains, one line a layer:

    # comment
    layer  synth 0.2 sine 660 fade q 0.005 0.2 0.18
    layer  synth 0.1 pinknoise lowpass 2000 fade q 0 0.1 0.09 gain -12
    after  reverb 20 50 40         (optional: effects on the mix of the layers)
    peak   -6                      (optional: the peak it is brought to, dBFS; -6 by default)

Every step is repeatable: no dither, fixed noise seeds, a fixed Ogg serial number taken from the
file's name, so the same source gives the same bytes on every build.
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

RATE = 48000
MUSIC_QUALITY = "2"   # oggenc -q: about 80-100 kbit/s for stereo music
SFX_QUALITY = "3"     # mono effects: short, so a little more quality costs nothing
LOOP_TAIL = 6.0       # seconds rendered past a loop's end, laid back over its start


class RenderError(Exception):
    pass


def run(cmd, **kw):
    res = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, **kw)
    if res.returncode != 0:
        raise RenderError(f"{cmd[0]} failed ({res.returncode}):\n{res.stderr.strip()}")
    return res


# --- Standard MIDI files ---------------------------------------------------------------------

def read_vlq(data, i):
    value = 0
    while True:
        b = data[i]
        i += 1
        value = (value << 7) | (b & 0x7F)
        if not b & 0x80:
            return value, i


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def read_midi(path):
    """Returns (division, tracks); a track is a list of (absolute tick, raw event bytes)."""
    data = open(path, "rb").read()
    if data[:4] != b"MThd":
        raise RenderError(f"{path}: not a MIDI file")
    header_len = struct.unpack(">I", data[4:8])[0]
    _fmt, _count, division = struct.unpack(">HHH", data[8:14])
    if division & 0x8000:
        raise RenderError(f"{path}: SMPTE time is not used here")
    i = 8 + header_len
    tracks = []
    while i + 8 <= len(data):
        chunk = data[i:i + 4]
        length = struct.unpack(">I", data[i + 4:i + 8])[0]
        body = data[i + 8:i + 8 + length]
        i += 8 + length
        if chunk != b"MTrk":
            continue
        events, j, tick, status = [], 0, 0, None
        while j < len(body):
            delta, j = read_vlq(body, j)
            tick += delta
            b = body[j]
            if b == 0xFF:
                size, k = read_vlq(body, j + 2)
                events.append((tick, bytes(body[j:k + size])))
                j = k + size
            elif b in (0xF0, 0xF7):
                size, k = read_vlq(body, j + 1)
                events.append((tick, bytes(body[j:k + size])))
                j = k + size
            else:
                if b & 0x80:
                    status = b
                    j += 1
                n = 1 if status & 0xF0 in (0xC0, 0xD0) else 2
                events.append((tick, bytes([status]) + bytes(body[j:j + n])))
                j += n
        tracks.append(events)
    return division, tracks


def write_midi(path, division, tracks):
    out = bytearray(b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), division))
    for events in tracks:
        body, last = bytearray(), 0
        for tick, raw in events:
            body += vlq(tick - last) + raw
            last = tick
        out += b"MTrk" + struct.pack(">I", len(body)) + body
    with open(path, "wb") as f:
        f.write(out)


def is_end_of_track(raw):
    return raw[:2] == b"\xff\x2f"


def is_note_on(raw):
    return raw[0] & 0xF0 == 0x90 and len(raw) == 3 and raw[2] > 0


def is_note_end(raw):
    return (raw[0] & 0xF0 == 0x80) or (raw[0] & 0xF0 == 0x90 and len(raw) == 3 and raw[2] == 0)


def tempo_map(tracks):
    """[(tick, microseconds per quarter)], sorted; 120 bpm until the first tempo event."""
    changes = [(0, 500000)]
    for events in tracks:
        for tick, raw in events:
            if raw[:2] == b"\xff\x51":
                changes.append((tick, int.from_bytes(raw[3:6], "big")))
    changes.sort(key=lambda c: c[0])
    return changes


def tick_to_samples(tick, division, tempi):
    """The exact sample position of TICK, as a fraction (numerator, denominator)."""
    num, den = 0, division * 1000000
    for idx, (start, us) in enumerate(tempi):
        end = tempi[idx + 1][0] if idx + 1 < len(tempi) else None
        if tick <= start:
            break
        span = (min(tick, end) if end is not None else tick) - start
        num += span * us * RATE
    return num, den


def bar_ticks(tracks, division):
    for events in tracks:
        for _tick, raw in events:
            if raw[:2] == b"\xff\x58":
                return raw[3] * division * 4 // (2 ** raw[4])
    return division * 4


# --- Music -----------------------------------------------------------------------------------

def render_options(abc_text, source):
    opts = {"mode": None, "tail": 2.5, "loudness": -20.0}
    for line in abc_text.splitlines():
        m = re.match(r"%render\s+(.*)", line)
        if not m:
            continue
        for word in m.group(1).split():
            if word in ("loop", "once"):
                opts["mode"] = word
            elif "=" in word:
                key, value = word.split("=", 1)
                if key not in ("tail", "loudness"):
                    raise RenderError(f"{source}: unknown render option {key}")
                opts[key] = float(value)
            else:
                raise RenderError(f"{source}: unknown render option {word}")
    if opts["mode"] is None:
        raise RenderError(f"{source}: the header must say '%render loop' or '%render once'")
    return opts


def sox_stats(wav, start=None, length=None):
    cmd = ["sox", "-D", wav, "-n"]
    if start is not None:
        cmd += ["trim", f"{start}s", f"{length}s"]
    cmd += ["stats"]
    text = run(cmd).stderr
    values = {}
    for line in text.splitlines():
        m = re.match(r"(Pk lev dB|RMS lev dB)\s+(-?[\d.]+|-inf)", line)
        if m:
            values[m.group(1)] = float(m.group(2)) if m.group(2) != "-inf" else -200.0
    if len(values) != 2:
        raise RenderError(f"sox stats gave no levels for {wav}")
    return values["Pk lev dB"], values["RMS lev dB"]


def level_gain(peak_db, rms_db, loudness, ceiling=-2.0):
    """The gain (dB) that brings the RMS to LOUDNESS, held so the peak stays under CEILING."""
    return min(loudness - rms_db, ceiling - peak_db)


def serial_for(path):
    return str(zlib.crc32(os.path.basename(path).encode()) & 0x7FFFFFFF)


def encode(wav, out, quality, comments):
    tmp = out + ".part"
    cmd = ["oggenc", "-Q", "-q", quality, "-s", serial_for(out), "-o", tmp]
    for c in comments:
        cmd += ["-c", c]
    run(cmd + [wav])
    os.replace(tmp, out)


def render_music(source, out, soundfont):
    name = os.path.splitext(os.path.basename(source))[0]
    text = open(source, encoding="utf-8").read()
    opts = render_options(text, source)
    with tempfile.TemporaryDirectory(prefix="vern-music-") as tmp:
        mid = os.path.join(tmp, "score.mid")
        res = run(["abc2midi", source, "-o", mid])
        problems = [l for l in (res.stdout + res.stderr).splitlines()
                    if re.search(r"\b(warning|error)\b", l, re.I)]
        if problems:
            raise RenderError(f"{source}: abc2midi:\n" + "\n".join(problems))
        division, tracks = read_midi(mid)
        tempi = tempo_map(tracks)
        bar = bar_ticks(tracks, division)
        last = max((t for ev in tracks for t, raw in ev if is_note_end(raw)), default=0)
        if last == 0:
            raise RenderError(f"{source}: no notes")
        length = -(-last // bar) * bar  # whole bars
        body = [[e for e in ev if not is_end_of_track(e[1])] for ev in tracks]

        if opts["mode"] == "loop":
            if len(tempi) > 2 or (len(tempi) == 2 and tempi[1][0] != 0):
                raise RenderError(f"{source}: a loop keeps one tempo")
            if any(t > length for ev in body for t, _ in ev):
                raise RenderError(f"{source}: an event after the loop's end")
        tail = opts["tail"] if opts["mode"] == "once" else LOOP_TAIL
        tail_ticks = int(tail * 1000000 * division / tempi[-1][1]) + division
        write_midi(mid, division, [ev + [(length + tail_ticks, b"\xff\x2f\x00")] for ev in body])
        num, den = tick_to_samples(length, division, tempi)
        if opts["mode"] == "loop" and num % den:
            raise RenderError(f"{source}: the loop is not a whole number of samples at {RATE} Hz; "
                              "choose a tempo with whole microseconds per beat")
        count = num // den
        if opts["mode"] == "once":
            count += int(tail * RATE)

        wav = os.path.join(tmp, "synth.wav")
        run(["fluidsynth", "-n", "-i", "-q", "-r", str(RATE), "-g", "0.4", "-C", "0", "-R", "1",
             "-o", "synth.dynamic-sample-loading=1", "-O", "float", "-T", "wav", "-F", wav,
             soundfont, mid])
        if opts["mode"] == "loop":
            # What rings on after the loop's end (release, reverb) is laid over its start, as a
            # second pass would hear it: the end then flows into the beginning.
            head, rest = os.path.join(tmp, "head.wav"), os.path.join(tmp, "rest.wav")
            run(["sox", "-D", wav, head, "trim", "0s", f"{count}s"])
            run(["sox", "-D", wav, rest, "trim", f"{count}s", f"{count}s"])
            joined = os.path.join(tmp, "joined.wav")
            run(["sox", "-D", "-m", "-v", "1", head, "-v", "1", rest, joined])
            wav = joined
        peak, rms = sox_stats(wav, 0, count)
        gain = level_gain(peak, rms, opts["loudness"])
        final = os.path.join(tmp, "final.wav")
        chain = ["trim", "0s", f"{count}s", "vol", f"{gain:.4f}", "dB"]
        if opts["mode"] == "once":
            chain += ["fade", "t", "0.005", f"{count}s", f"{min(tail, 2.0)}"]
        run(["sox", "-D", wav, "-e", "floating-point", "-b", "32", final] + chain)
        comments = [f"TITLE={name}"]
        if opts["mode"] == "loop":
            comments += ["LOOPSTART=0", f"LOOPLENGTH={count}"]
        encode(final, out, MUSIC_QUALITY, comments)


# --- Sound effects ---------------------------------------------------------------------------

def parse_recipe(source):
    layers, after, peak = [], [], -6.0
    for n, line in enumerate(open(source, encoding="utf-8"), 1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        word, _, rest = line.partition(" ")
        args = rest.split()
        if word == "layer" and args:
            layers.append(args)
        elif word == "after" and args and not after:
            after = args
        elif word == "peak" and len(args) == 1:
            peak = float(args[0])
        else:
            raise RenderError(f"{source}:{n}: expected 'layer EFFECTS', 'after EFFECTS' or 'peak DB'")
    if not layers:
        raise RenderError(f"{source}: no layer")
    if peak > -1.5:
        raise RenderError(f"{source}: peak {peak} dBFS leaves no headroom")
    return layers, after, peak


def render_sfx(source, out):
    name = os.path.splitext(os.path.basename(source))[0]
    layers, after, peak = parse_recipe(source)
    fmt = ["-r", str(RATE), "-c", "1", "-e", "floating-point", "-b", "32"]
    with tempfile.TemporaryDirectory(prefix="vern-sfx-") as tmp:
        parts = []
        for i, effects in enumerate(layers):
            part = os.path.join(tmp, f"layer{i}.wav")
            run(["sox", "-R", "-D", "-n"] + fmt + [part] + effects)
            parts.append(part)
        mixed = os.path.join(tmp, "mixed.wav")
        if len(parts) == 1:
            shutil.copy(parts[0], mixed)
        else:
            # -m adds the layers as they are (each at full level); the peak is set below.
            run(["sox", "-R", "-D", "-m"] + [a for p in parts for a in ("-v", "1", p)]
                + fmt + [mixed])
        final = os.path.join(tmp, "final.wav")
        run(["sox", "-R", "-D", mixed] + fmt + [final] + after + ["gain", "-n", str(peak)])
        encode(final, out, SFX_QUALITY, [f"TITLE={name}"])


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("kind", choices=["music", "sfx"])
    parser.add_argument("source")
    parser.add_argument("out")
    parser.add_argument("--soundfont")
    args = parser.parse_args()
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    try:
        if args.kind == "music":
            if not args.soundfont:
                raise RenderError("music needs --soundfont")
            render_music(args.source, args.out, args.soundfont)
        else:
            render_sfx(args.source, args.out)
    except RenderError as e:
        print(f"render_audio: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
