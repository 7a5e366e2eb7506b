#!/usr/bin/env python3
"""Figures of one installed run under Wine (a benchmark, not a test):
  - wall time of the run minus the fixed waits of its sequence (15 s);
  - growth of the installer's private memory from its first line to the
    last file step (the payloads are used in place, so they add nothing);
  - the size of the installer beyond the payloads it carries.

    figures.py --installer EXE --game EXE --payloads DIR --answerer EXE --port N"""
import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_run  # noqa: E402
import wine_console  # noqa: E402

FIXED_WAITS = 1.0 + 2.0 + 2.0 + 10.0
LOCATED = "窗口句柄ID".encode("utf-8")
STEPS_BEGIN = "导出补丁".encode("utf-8")
LAST_STEP = "执行过程[4]".encode("utf-8")


def private_kib(pid):
    """Private memory of a process: the private pages of its mappings."""
    total = 0
    try:
        with open(f"/proc/{pid}/smaps_rollup") as f:
            for line in f:
                if line.startswith(("Private_Clean:", "Private_Dirty:")):
                    total += int(line.split()[1])
    except OSError:
        return None
    return total


def main():
    parser = argparse.ArgumentParser()
    args = e2e_run.parse_arguments(parser, ("installer", "game", "payloads", "answerer"))
    rig = e2e_run.Rig(args)
    samples = {}

    def watch(pid, out):
        if "start" not in samples and out:
            samples["start"] = private_kib(pid)
        if "located" not in samples and LOCATED in out:
            samples["located"] = private_kib(pid)
        if "steps" not in samples and STEPS_BEGIN in out:
            samples["steps"] = private_kib(pid)
        if "last" not in samples and LAST_STEP in out:
            samples["last"] = private_kib(pid)

    try:
        rig.wine_reset()
        host, _, _ = e2e_run.lay_out_game(rig, r"C:\Games\Thornwickvale")
        e2e_run.start_game(rig, r"C:\Games\Thornwickvale", host)
        boxes = os.path.join(rig.work, "boxes.jsonl")
        rig.wine(args.answerer, "--log", e2e_run.windows_of(boxes), "--answers", "ok,ok", "--seconds", "120")
        time.sleep(1)
        raw, code, seconds = wine_console.run_in_pty(["wine", args.installer], rig.env, timeout=300, cwd=rig.work,
                                                     watch=watch)
    finally:
        rig.close()
    payload_bytes = sum(os.path.getsize(os.path.join(args.payloads, n)) for n in os.listdir(args.payloads))
    exe_bytes = os.path.getsize(args.installer)
    print(f"run: {seconds:.2f} s in all, {seconds - FIXED_WAITS:.2f} s beyond the {FIXED_WAITS:.0f} s of fixed waits"
          " (Wine start-up, update check over HTTPS, the box answers included)")
    if samples.get("start") is not None and samples.get("last") is not None:
        growth = samples["last"] - samples["start"]
        print(f"private memory: {samples['start']} KiB at the first line, {samples['last']} KiB at the last file step:"
              f" growth {growth} KiB")
        if None not in (samples.get("located"), samples.get("steps")):
            print(f"  of which {samples['located'] - samples['start']} KiB over the update check (WinINet and TLS),"
                  f" {samples['steps'] - samples['located']} KiB over locating the game and the consent box,"
                  f" {samples['last'] - samples['steps']} KiB over the four file steps")
        print(f"  (goal for the installer's own growth: under 256 KiB; payloads written in place: {payload_bytes // 1024} KiB)")
    else:
        print(f"private memory: not sampled ({samples})")
    print(f"installer: {exe_bytes} bytes, {exe_bytes - payload_bytes} beyond its {payload_bytes} bytes of payloads")
    return 0 if code == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
