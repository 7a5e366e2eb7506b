#!/usr/bin/env python3
"""The installer run for real under Wine in a pseudo-terminal, in the
project's prefix with its default code page: the Chinese texts must arrive
intact and each line in its colours."""
import sys

import wine_console

BANNER = [
    ("免责声明：本程序仅供参考，技术分享。", 0xFC),
    ("补丁适配游戏版本:ver 0.24g", 0xFC),
]
CLOSING = ("补丁安装结束，程序在10秒后自动关闭......", 0x5F)


def main(exe):
    # No display: a message box cannot open, so the run cannot wait on one.
    env = wine_console.wine_environment(display=None)
    raw, code, seconds = wine_console.run_in_pty(["wine", exe], env, timeout=90)
    lines = wine_console.parse_lines(raw)
    failures = []
    for i, (text, attribute) in enumerate(BANNER):
        if i >= len(lines) or lines[i] != (text, {attribute}):
            failures.append(f"banner line {i + 1}: want {text!r} in {attribute:#04x}, got {lines[i:i + 1]}")
    addresses = lines[2:5]
    if len(addresses) != 3 or any(not t.startswith("https://") or a != {0x9E} for t, a in addresses):
        failures.append(f"three addresses in 0x9e expected, got {addresses}")
    if code != 0:
        failures.append(f"exit code {code}")
    closing = [line for line in lines if line[0] == CLOSING[0]]
    if closing:
        if closing[0][1] != {CLOSING[1]}:
            failures.append(f"closing line colours {closing[0][1]}")
        if seconds < 9.5:
            failures.append(f"closed after {seconds:.1f} s, before the 10 s wait")
    for line in lines:
        print(f"{sorted(line[1])} {line[0]}")
    print(f"exit {code} after {seconds:.1f} s")
    if failures:
        print("FAILED:\n  " + "\n  ".join(failures))
        return 1
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
