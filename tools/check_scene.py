#!/usr/bin/env python3
"""Quick check of scene files while writing the story, without a build.

    tools/check_scene.py [--base REV] N [N ...]     (N: scene numbers, e.g. 2 3 4)

Against the file as it stands at REV (default HEAD) it checks that the steps are the same and
in the same order, that steps without text stay without text (a branch's variants excepted),
and that the fixed labels (title cards, closing line, GAME OVER, prompts) are unchanged. In the
file itself: no "……" placeholder left, picture directives that name a loaded picture, every
text within the story label's four lines even when the renameable names are ten full-width
characters long, and no "SP" inside a line. It also warns about steps of three or more lines
and about speech that does not close its 「」. The build's content test stays the last word.
"""
import argparse
import math
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
LABEL_PX = 6495 // 15
LABEL_LINES = 4
FONT_PX = 19
ASCII_ADVANCE = [
    553, 610, 692, 1290, 1290, 1741, 1423, 395, 682, 682, 758, 1290, 541, 733, 541, 1024,
    1290, 1290, 1290, 1290, 1290, 1290, 1290, 1290, 1290, 1290, 655, 655, 1290, 1290, 1290, 1128,
    1831, 1305, 1350, 1485, 1550, 1219, 1171, 1542, 1536, 592, 778, 1323, 1077, 1847, 1556, 1632,
    1272, 1632, 1327, 1198, 1227, 1530, 1305, 1901, 1405, 1268, 1315, 614, 1290, 614, 1024, 1024,
    1024, 1126, 1278, 1114, 1278, 1165, 627, 1137, 1243, 553, 553, 1061, 553, 1784, 1237, 1237,
    1272, 1274, 758, 946, 709, 1237, 995, 1540, 1001, 1008, 969, 674, 410, 674, 1024]
NAMES = ("シザ", "ララスピア")
LONGEST_NAME = "Ｗ" * 10
FIXED_PROMPTS = {(34, "19"), (36, "4")}


def width_px(line):
    px = 0
    for ch in line:
        c = ord(ch)
        em = 1.0
        if 0x20 <= c < 0x7F:
            em = ASCII_ADVANCE[c - 0x20] / 2048.0
        elif 0xFF61 <= c <= 0xFF9F:
            em = 0.5
        px += math.ceil(em * FONT_PX)
    return px


def displayed_lines(lines):
    n = 0
    for line in lines:
        w = width_px(line)
        n += 1 if w <= LABEL_PX else math.ceil(w / (LABEL_PX - FONT_PX))
    return n


def expand_sp(line):
    # The indentation mark at a line's start shows as ten spaces.
    out = line
    while out.startswith("SP"):
        out = out[2:]
    return " " * 10 * ((len(line) - len(out)) // 2) + out


def parse(text):
    """Entries in file order: (key, rest, lines, source line)."""
    entries = []
    for no, raw in enumerate(text.splitlines(), 1):
        if raw.startswith("@"):
            head = raw[1:].split(" ", 1)
            entries.append([head[0], head[1] if len(head) > 1 else "", [], no])
        elif raw.startswith("|") and entries:
            entries[-1][2].append(raw[1:])
    return entries


def pictures(text):
    m = re.search(r"^# 絵の枠: (.*)$", text, re.M)
    return [int(k) for k in re.findall(r"(\d+)=", m.group(1))] if m else []


def is_fixed(scene, key, lines):
    if (scene, key) in FIXED_PROMPTS:
        return True
    return any(l.startswith("SP") or "See you" in l or "ＧＡＭＥ" in l for l in lines)


def check(scene, base_rev):
    rel = f"content/scenes/scene{scene:02d}.txt"
    text = (ROOT / rel).read_text(encoding="utf-8")
    try:
        base = subprocess.run(["git", "show", f"{base_rev}:{rel}"], cwd=ROOT, check=True,
                              capture_output=True, text=True).stdout
    except subprocess.CalledProcessError:
        base = text
    errors, warnings = [], []
    now, was = parse(text), parse(base)
    if [e[0] for e in now] != [e[0] for e in was]:
        errors.append("the steps changed (added, removed or reordered)")
    was_by_key = {e[0]: e for e in was}
    slots = pictures(text)
    for key, rest, lines, src in now:
        at = f"{rel}:{src} @{key}"
        old = was_by_key.get(key)
        if old and not old[2] and "/" not in key and lines:
            errors.append(f"{at}: this step shows no text of its own; leave it empty")
        if old and not old[2] and "/" not in key and rest != old[1]:
            errors.append(f"{at}: this step's directive must stay \"{old[1]}\"")
        if old and is_fixed(scene, key, old[2]) and (lines, rest) != (old[2], old[1]):
            errors.append(f"{at}: a fixed label; keep it exactly as it was")
        if any("……" == l.strip() for l in lines):
            errors.append(f"{at}: placeholder left")
        if rest and rest != "hide":
            m = re.fullmatch(r"show (\d+)", rest)
            if not m or (int(m.group(1)) != 0 and int(m.group(1)) not in slots):
                errors.append(f"{at}: \"{rest}\" names no picture of this scene")
        shown = [expand_sp(l) for l in lines]
        if displayed_lines(shown) > LABEL_LINES:
            errors.append(f"{at}: more than four lines in the label")
        long_names = [expand_sp(l.replace("シザ", LONGEST_NAME).replace("ララスピア", LONGEST_NAME))
                      for l in lines]
        if displayed_lines(long_names) > LABEL_LINES:
            errors.append(f"{at}: with a ten-character name the text needs more than four lines")
        for l in lines:
            body = l
            while body.startswith("SP"):
                body = body[2:]
            if "SP" in body:
                errors.append(f"{at}: \"SP\" inside a line")
            if width_px(expand_sp(l)) > LABEL_PX:
                errors.append(f"{at}: line too wide ({len(l)} chars): {l}")
        if len(lines) > 2 and not is_fixed(scene, key, lines):
            warnings.append(f"{at}: {len(lines)} lines (one or two read best)")
        joined = "".join(lines)
        if "「" in joined and joined.count("「") != joined.count("」"):
            warnings.append(f"{at}: 「 and 」 do not pair")
    return errors, warnings


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawTextHelpFormatter)
    ap.add_argument("--base", default="HEAD")
    ap.add_argument("scenes", type=int, nargs="+")
    args = ap.parse_args()
    failed = False
    for n in args.scenes:
        errors, warnings = check(n, args.base)
        for w in warnings:
            print("warning:", w)
        for e in errors:
            print("error:", e)
        failed |= bool(errors)
        print(f"scene {n}: {'FAILED' if errors else 'ok'}")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
