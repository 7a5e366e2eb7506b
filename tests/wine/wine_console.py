"""Runs a Windows console program under Wine in a pseudo-terminal and turns
what the terminal receives into lines of (text, attribute): the attribute
is the Windows console attribute that the terminal colours stand for."""
import os
import pty
import re
import select
import subprocess
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# ANSI colour number -> Windows console colour bits (1 blue, 2 green, 4 red).
_ANSI_TO_CONSOLE = [0, 4, 2, 6, 1, 5, 3, 7]
_DEFAULT_ATTRIBUTE = 0x07
_CSI = re.compile(rb"\x1b\[([0-9;?]*)([A-Za-z])")


def wine_environment(display=None):
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", os.path.join(ROOT, "build", "wineprefix"))
    env.setdefault("WINEDEBUG", "-all")
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
    env["LANG"] = env["LC_ALL"] = "C.UTF-8"  # the terminal shows UTF-8
    if display is None:
        env.pop("DISPLAY", None)
    else:
        env["DISPLAY"] = display
    return env


def run_in_pty(argv, env, timeout=120, cwd=None, echo=None, watch=None):
    """Runs argv with a pseudo-terminal as its console; returns (bytes, exit
    code, seconds). With echo (a binary stream) what arrives is also shown;
    watch(pid, output so far) is called as output arrives."""
    master, slave = pty.openpty()
    start = time.monotonic()
    proc = subprocess.Popen(argv, stdin=slave, stdout=slave, stderr=slave, env=env, cwd=cwd,
                            start_new_session=True)
    os.close(slave)
    out = bytearray()
    while True:
        if time.monotonic() - start > timeout:
            proc.kill()
            break
        ready, _, _ = select.select([master], [], [], 0.2)
        if ready:
            try:
                chunk = os.read(master, 65536)
            except OSError:
                chunk = b""
            if not chunk:
                break
            out += chunk
            if echo is not None:
                echo.write(chunk)
                echo.flush()
            if watch is not None:
                watch(proc.pid, out)
        elif proc.poll() is not None:
            break
    code = proc.wait()
    os.close(master)
    return bytes(out), code, time.monotonic() - start


def _apply_sgr(params, fg, bg):
    codes = [int(p) if p else 0 for p in params.split(";")] if params else [0]
    for code in codes:
        if code == 0:
            fg, bg = _DEFAULT_ATTRIBUTE & 0xF, _DEFAULT_ATTRIBUTE >> 4
        elif 30 <= code <= 37:
            fg = _ANSI_TO_CONSOLE[code - 30]
        elif 90 <= code <= 97:
            fg = _ANSI_TO_CONSOLE[code - 90] | 8
        elif 40 <= code <= 47:
            bg = _ANSI_TO_CONSOLE[code - 40]
        elif 100 <= code <= 107:
            bg = _ANSI_TO_CONSOLE[code - 100] | 8
        elif code == 39:
            fg = _DEFAULT_ATTRIBUTE & 0xF
        elif code == 49:
            bg = _DEFAULT_ATTRIBUTE >> 4
    return fg, bg


def parse_lines(raw):
    """Lines of (text, attributes): text decoded from UTF-8 without its line
    break; attributes the set of attributes its visible characters had."""
    fg, bg = _DEFAULT_ATTRIBUTE & 0xF, _DEFAULT_ATTRIBUTE >> 4
    lines = []
    text, attrs = bytearray(), set()
    pos = 0
    while pos < len(raw):
        m = _CSI.match(raw, pos)
        if m:
            if m.group(2) == b"m":
                fg, bg = _apply_sgr(m.group(1).decode(), fg, bg)
            pos = m.end()
            continue
        byte = raw[pos]
        pos += 1
        if byte == 0x0A:
            lines.append((text.decode("utf-8", "replace"), attrs))
            text, attrs = bytearray(), set()
        elif byte in (0x0D, 0x07) or byte == 0x1B:
            continue
        else:
            text.append(byte)
            if not (byte & 0xC0 == 0x80):  # count each character once
                attrs.add(fg | bg << 4)
    if text:
        lines.append((text.decode("utf-8", "replace"), attrs))
    return [(t, a) for t, a in lines if t.strip() or a]
