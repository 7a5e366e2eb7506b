#!/usr/bin/env python3
"""The installer's main job, shown to a person: a demo game folder in the
project's Wine prefix with the stand-in game running, the installer in this
terminal, and at the end what changed in the game folder.

    demo_run.py --installer EXE --game EXE --payloads DIR --answerer EXE --port N [--answer-boxes]"""
import argparse
import hashlib
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_run  # noqa: E402
import wine_console  # noqa: E402

FOLDER = r"C:\Games\Thornwickvale"


def listing(host):
    rows = {}
    for top, _, files in os.walk(host):
        for name in files:
            path = os.path.join(top, name)
            with open(path, "rb") as f:
                digest = hashlib.sha256(f.read()).hexdigest()[:12]
            rows[os.path.relpath(path, host)] = (os.path.getsize(path), digest)
    return rows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--answer-boxes", action="store_true", help="press OK in every box (no person to)")
    args = e2e_run.parse_arguments(parser, ("installer", "game", "payloads", "answerer"))
    rig = e2e_run.Rig(args)
    try:
        rig.wine_reset()
        host, _, _ = e2e_run.lay_out_game(rig, FOLDER)
        before = listing(host)
        e2e_run.start_game(rig, FOLDER, host)
        print(f"The stand-in game runs from {FOLDER}.")
        if args.answer_boxes:
            boxes = os.path.join(rig.work, "boxes.jsonl")
            rig.wine(args.answerer, "--log", e2e_run.windows_of(boxes), "--answers", "ok,ok,ok", "--seconds", "120")
            print("No display of yours: the message boxes are answered with OK.")
        else:
            print("Answer the installer's message boxes on your display.")
        print("-" * 72, flush=True)
        time.sleep(1)
        wine_console.run_in_pty(["wine", args.installer], rig.env, timeout=1200, cwd=rig.work,
                                echo=sys.stdout.buffer)
        print("-" * 72)
        if args.answer_boxes:
            print("Message boxes shown:")
            for line in open(boxes, encoding="utf-8") if os.path.exists(boxes) else []:
                print("  " + line.strip())
        after = listing(host)
        payload = {name: e2e_run.read(os.path.join(args.payloads, name)) for name in os.listdir(args.payloads)}
        digests = {hashlib.sha256(data).hexdigest()[:12]: name for name, data in payload.items()}
        print(f"What changed in {FOLDER}:")
        for name in sorted(set(before) | set(after)):
            old, new = before.get(name), after.get(name)
            if old == new:
                continue
            what = "new" if old is None else "gone" if new is None else "replaced"
            size = f"{new[0]} bytes" if new else ""
            same = f" (= payload {digests[new[1]]})" if new and new[0] and new[1] in digests else ""
            print(f"  {what:8} {name}  {size}{same}")
    finally:
        rig.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
