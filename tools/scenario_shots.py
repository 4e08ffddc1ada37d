#!/usr/bin/env python3
"""Plays every scenario script in the real window and keeps a screenshot after each command.

    tools/scenario_shots.py OUT [BUILD_BIN]

OUT receives NAME_NNN.png for each script NAME (tests/scenarios) and command NNN. Run it on two
builds and compare the folders (diff -r A B) to see whether a change to the drawing changed any
pixel. The window plays from a program folder of its own in a temporary folder (the pictures
and sounds linked in), so no record or save is left anywhere; the offscreen platform draws.
Scripts that need files set up beforehand (--read, --dir) are left out.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    out = os.path.abspath(sys.argv[1])
    build = os.path.abspath(sys.argv[2] if len(sys.argv) == 3 else os.path.join(ROOT, 'build', 'bin'))
    os.makedirs(out, exist_ok=True)
    scenarios = os.path.join(ROOT, 'tests', 'scenarios')
    with tempfile.TemporaryDirectory() as tmp:
        program = os.path.join(tmp, 'program')
        os.makedirs(program)
        shutil.copy(os.path.join(build, 'vernadora'), program)
        for name in ('CG', 'audio', 'libvernadora_audio.so'):
            if os.path.exists(os.path.join(build, name)):
                os.symlink(os.path.join(build, name), os.path.join(program, name))
        env = dict(os.environ, QT_QPA_PLATFORM='offscreen', HOME=os.path.join(tmp, 'home'))
        for file in sorted(f for f in os.listdir(scenarios) if f.endswith('.txt')):
            name = file[:-4]
            with open(os.path.join(scenarios, file), encoding='utf-8') as f:
                lines = f.read().split('\n')
            args = []
            for line in lines:
                m = re.match(r'# args: (.*)', line)
                if m:
                    args = m.group(1).split()
            if '--read' in args or '--dir' in args:
                continue
            script, shots = [], 0
            for line in lines:
                script.append(line)
                if line.strip() and not line.startswith('#'):
                    script.append('shot %s' % os.path.join(out, '%s_%03d.png' % (name, shots)))
                    shots += 1
            path = os.path.join(tmp, 'script.txt')
            with open(path, 'w', encoding='utf-8') as f:
                f.write('\n'.join(script))
            for left in os.listdir(program):
                if left.endswith('.dat'):
                    os.remove(os.path.join(program, left))
            run = subprocess.run([os.path.join(program, 'vernadora'), '--script', path] + args,
                                 env=env, capture_output=True, timeout=600)
            print('%-32s exit %d, %d commands' % (name, run.returncode, shots))


if __name__ == '__main__':
    main()
