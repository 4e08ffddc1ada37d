#!/usr/bin/env python3
"""Checks the game's rendered music and sound effects, and the table that says what plays where.

    check_audio.py files AUDIO_DIR      every piece and effect in AUDIO_DIR (the build's bin/audio)
    check_audio.py table CONTENT_DIR    content/music.txt against the pieces and the scenes

files: each file exists and decodes (oggdec); music is stereo, effects mono, all at 48 kHz; its
length is in range (loops 40-120 s, the victory and defeat phrases 3-10 s, effects under 2 s); no
peak reaches -1 dBFS; it is not silent; and every loop joins its end to its start without a click
or a gap. The joint detector is first tried on made-up signals, so that it is known to catch a cut
in the wrong place and a silent gap.
"""
import array
import io
import math
import operator
import os
import re
import subprocess
import sys
import wave

LOOPS = ["title", "everyday", "tension", "sorrow", "dark", "story_battle", "boss", "encounter",
         "finale", "epilogue"]
PHRASES = ["victory", "defeat"]
EFFECTS = ["advance", "button", "hit", "heal", "summon", "release", "knockdown", "death", "recruit",
           "wish", "saved", "error"]
MODES = ["title", "free", "encounter", "victory", "defeat"]
SCENES = 39
RATE = 48000
FULL = 32768.0


def db(value):
    return 20 * math.log10(max(value, 1e-9) / FULL)


def rms(samples):
    if not samples:
        return 0.0
    return math.sqrt(sum(map(operator.mul, samples, samples)) / len(samples))


def joint_faults(channels, rate):
    """What is wrong where the end of a loop runs into its start; [] when it joins cleanly.

    A jump: the step from the last sample to the first is much larger than any step in the 10 ms
    on either side of it (and large in itself). A gap: one side of the joint is silent while the
    other is playing.
    """
    faults = []
    w = rate // 100
    for c, x in enumerate(channels):
        near = list(x[-w:]) + list(x[:w])
        steps = [abs(near[i + 1] - near[i]) for i in range(len(near) - 1) if i != w - 1]
        jump = abs(x[0] - x[-1])
        if jump > 1.5 * max(steps) and jump > 0.02 * FULL:
            faults.append(f"channel {c}: a jump of {jump} at the joint (the largest step near it"
                          f" is {max(steps)})")
        end, start = db(rms(x[-2 * w:])), db(rms(x[:2 * w]))
        if min(end, start) < -60 and max(end, start) > -40:
            faults.append(f"channel {c}: a gap at the joint (end {end:.0f} dBFS, start"
                          f" {start:.0f} dBFS)")
    return faults


def check_joint_detector():
    """The detector passes a seamless tone and fails a wrongly cut one and one with a gap."""
    def tone(frames, period, silent_tail=0):
        x = [int(12000 * math.sin(2 * math.pi * i / period)) for i in range(frames)]
        return x[:frames - silent_tail] + [0] * silent_tail

    rate = 48000
    seamless = tone(48000, 120)              # 400 whole cycles of 400 Hz
    wrong_cut = tone(48000 - 37, 120)        # stops a third of a cycle short
    gap = tone(48000, 120, silent_tail=4800)  # the last 0.1 s silent
    problems = []
    if joint_faults([seamless], rate):
        problems.append("the joint detector flags a seamless loop")
    if not joint_faults([wrong_cut], rate):
        problems.append("the joint detector misses a loop cut in the wrong place")
    if not joint_faults([gap], rate):
        problems.append("the joint detector misses a silent gap at the joint")
    return problems


def decode(path):
    """(channels, rate, samples, peak dBFS, RMS dBFS): oggdec decodes, sox measures the levels."""
    res = subprocess.run(["oggdec", "-Q", "-o", "-", path], stdout=subprocess.PIPE,
                         stderr=subprocess.PIPE)
    if res.returncode != 0 or not res.stdout:
        raise ValueError(f"does not decode: {res.stderr.decode(errors='replace').strip()}")
    with wave.open(io.BytesIO(res.stdout)) as w:
        if w.getsampwidth() != 2:
            raise ValueError("not decoded to 16-bit samples")
        data = array.array("h")
        data.frombytes(w.readframes(w.getnframes()))
        nch, rate = w.getnchannels(), w.getframerate()
    stats = subprocess.run(["sox", "-t", "wav", "-", "-n", "stats"], input=res.stdout,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE).stderr.decode()
    levels = {}
    for line in stats.splitlines():
        m = re.match(r"(Pk lev dB|RMS lev dB)\s+(-?[\d.]+|-inf)", line)
        if m:
            levels[m.group(1)] = -999.0 if m.group(2) == "-inf" else float(m.group(2))
    if len(levels) != 2:
        raise ValueError("sox could not measure it")
    return nch, rate, data, levels["Pk lev dB"], levels["RMS lev dB"]


def check_file(path, kind):
    """The faults of one rendered file (kind: loop, phrase or effect)."""
    if not os.path.isfile(path):
        return ["missing"]
    try:
        nch, rate, data, peak, level = decode(path)
    except ValueError as e:
        return [str(e)]
    faults = []
    want = 1 if kind == "effect" else 2
    if nch != want or rate != RATE:
        faults.append(f"{nch} channels at {rate} Hz, not {want} at {RATE} Hz")
        return faults
    seconds = len(data) / nch / rate
    low, high = {"loop": (40, 120), "phrase": (3, 10), "effect": (0.03, 2.0)}[kind]
    if not low <= seconds <= high:
        faults.append(f"{seconds:.2f} s long, not {low}-{high} s")
    if peak >= -1.0:
        faults.append(f"peak {peak:.2f} dBFS reaches -1 dBFS")
    floor = -45 if kind == "effect" else -40
    if level < floor:
        faults.append(f"RMS {level:.1f} dBFS: silent, or nearly (floor {floor} dBFS)")
    if kind == "loop":
        faults += joint_faults([data[c::nch] for c in range(nch)], rate)
    return faults


def check_files(audio_dir):
    problems = check_joint_detector()
    table = ([("music", n, "loop") for n in LOOPS] + [("music", n, "phrase") for n in PHRASES]
             + [("sfx", n, "effect") for n in EFFECTS])
    for folder, name, kind in table:
        for fault in check_file(os.path.join(audio_dir, folder, name + ".ogg"), kind):
            problems.append(f"{folder}/{name}.ogg: {fault}")
    return problems, len(table)


def scene_steps(path):
    """The step numbers of a scene file and whether its notes mention a battle."""
    steps, battle = set(), False
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = re.match(r"@(\d+)\b", line)
            if m:
                steps.add(int(m.group(1)))
            elif line.startswith("#") and "戦い" in line and not line.startswith("# ――"):
                battle = True
    return steps, battle


def check_table(content_dir):
    """content/music.txt: its shape, every piece it names, every scene and step it points at."""
    problems = []
    pieces = {os.path.splitext(f)[0] for f in os.listdir(os.path.join(content_dir, "music"))
              if f.endswith(".abc")}
    missing = set(LOOPS + PHRASES) - pieces
    if missing:
        problems.append(f"content/music has no {sorted(missing)}")
    modes, scenes, section = {}, {}, None
    path = os.path.join(content_dir, "music.txt")
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    for n, line in enumerate(lines, 1):
        where = f"music.txt:{n}"
        if not line.strip() or line.startswith("#"):
            continue
        if line == "@modes":
            section = "modes"
            continue
        m = re.fullmatch(r"@(\d+)", line)
        if m:
            number = int(m.group(1))
            if number in scenes:
                problems.append(f"{where}: scene {number} again")
            if scenes and number <= max(scenes):
                problems.append(f"{where}: scene {number} out of order")
            scenes[number] = {"steps": [], "battle": None, "line": n}
            section = number
            continue
        m = re.fullmatch(r"\|(\S+) (\S+)", line)
        if not m or section is None:
            problems.append(f"{where}: expected @modes, @N or |KEY PIECE: {line!r}")
            continue
        key, piece = m.groups()
        if piece not in pieces:
            problems.append(f"{where}: no piece named {piece}")
        if section == "modes":
            if key not in MODES or key in modes:
                problems.append(f"{where}: {key} is not a mode, or named twice")
            modes[key] = piece
        elif key == "battle":
            if scenes[section]["battle"] is not None:
                problems.append(f"{where}: a second battle line")
            scenes[section]["battle"] = piece
        elif key.isdigit():
            steps = scenes[section]["steps"]
            if steps and int(key) <= steps[-1]:
                problems.append(f"{where}: step {key} does not come after step {steps[-1]}")
            steps.append(int(key))
        else:
            problems.append(f"{where}: {key} is neither a step nor battle")
    if sorted(modes) != sorted(MODES):
        problems.append(f"@modes names {sorted(modes)}, not {sorted(MODES)}")
    if sorted(scenes) != list(range(1, SCENES + 1)):
        problems.append(f"the scenes are {sorted(scenes)}, not 1 to {SCENES}")
    for number, entry in scenes.items():
        scene_file = os.path.join(content_dir, "scenes", f"scene{number:02d}.txt")
        if not os.path.isfile(scene_file):
            problems.append(f"scene {number}: no {scene_file}")
            continue
        steps, battle = scene_steps(scene_file)
        if entry["steps"][:1] != [1]:
            problems.append(f"scene {number}: its first line must be step 1")
        for step in entry["steps"]:
            if step not in steps:
                problems.append(f"scene {number}: there is no step {step}")
        if battle and entry["battle"] is None:
            problems.append(f"scene {number}: a story battle with no battle line")
        if not battle and entry["battle"] is not None:
            problems.append(f"scene {number}: a battle line, but the scene has no battle")
    return problems, 1 + len(scenes)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("files", "table"):
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    if sys.argv[1] == "files":
        problems, count = check_files(sys.argv[2])
    else:
        problems, count = check_table(sys.argv[2])
    for p in problems:
        print(f"check_audio: {p}", file=sys.stderr)
    what = "files" if sys.argv[1] == "files" else "table sections"
    print(f"check_audio {sys.argv[1]}: {count} {what} checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
