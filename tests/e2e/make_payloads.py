#!/usr/bin/env python3
"""Writes the payloads of the end-to-end installer: files of odd sizes, one
empty, and as executable the stand-in game with bytes appended, so that the
patched game still runs and is told apart from the one it replaced.

    make_payloads.py GAME_EXE SAMPLE_DIR OUT_DIR"""
import os
import shutil
import sys

game, sample, out = sys.argv[1:4]
os.makedirs(out, exist_ok=True)
with open(game, "rb") as f:
    executable = f.read() + b"\nPATCHED STAND-IN GAME\n" + b"\x5c" * 7
with open(os.path.join(out, "Thornwickvale.exe"), "wb") as f:
    f.write(executable)
with open(os.path.join(out, "Assembly-CSharp.dll"), "wb") as f:
    f.write(bytes(range(256)) * 11344 + b"odd")  # about the real assembly's size, odd
with open(os.path.join(out, "before.png"), "wb"):
    pass
shutil.copyfile(os.path.join(sample, "after.png"), os.path.join(out, "after.png"))
