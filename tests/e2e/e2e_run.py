#!/usr/bin/env python3
"""End-to-end runs of the installer under Wine, as a player sees them: the
stand-in game running from a game folder, the installer in a pseudo-terminal,
its message boxes answered under Xvfb, a local HTTPS server answering the
update check. Each scenario checks the console lines and their colours, the
boxes, the game files, the picture folder, the restarted game, the explorer
window and the request on the server's log."""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "wine"))
import web_server  # noqa: E402
import wine_console  # noqa: E402

ASSEMBLY = r"Thornwickvale_Data\Managed\Assembly-CSharp.dll"
PICTURES = "补丁对比图"
MARKER = "该文件夹没用可以直接删除"
BEFORE, AFTER = "安装前.PNG", "安装后.PNG"
CYAN, GREY, GREEN, CLOSING_ATTR = 0x03, 0x07, 0x0A, 0x5F
CLOSING = "补丁安装结束，程序在10秒后自动关闭......"
ERROR_TITLE = "欧尼酱~出错啦~"
CONSENT = ("欧尼酱~有件事要问您~", "成功检查到游戏，是否确认安装补丁？\r\n请确保你的游戏版本是: ver 0.24g")
UPDATE = ("欧尼酱~有一件事想问你~", "本程序不是最新版是否前往下载最新版？")
VERSION_PATH = ("/Personal_cloud_disk/download.php?file=%E9%9B%BE%E6%A3%98%E8%B0%B7%2F%2F"
                "%E8%A1%A5%E4%B8%81%E6%9C%80%E6%96%B0%E7%89%88%E6%9C%AC.txt")


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Checks:
    payloads = ""  # folder of the payloads the installer carries

    def __init__(self, name):
        self.name, self.failures, self.seen = name, [], []

    def expect(self, ok, what):
        if not ok:
            self.failures.append(what)
        return ok


class Rig:
    """The prefix, the display, the server and the tools of all scenarios."""

    def __init__(self, args):
        self.args = args
        self.env = wine_console.wine_environment(display=os.environ.get("DISPLAY"))
        self.prefix = self.env["WINEPREFIX"]
        self.work = tempfile.mkdtemp(prefix="tw-e2e-")
        os.makedirs(os.path.join(self.work, "records"))
        self.recorder = web_server.Recorder(os.path.join(self.work, "records"))
        handler = type("TlsHandler", (web_server.Handler,), {"tls": web_server.make_certificate(self.work)})
        self.server = web_server.Server(("127.0.0.1", args.port), handler)
        self.server.recorder, self.server.version = self.recorder, "1.1"
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def close(self):
        self.server.shutdown()
        self.server.server_close()
        self.wine_reset()
        shutil.rmtree(self.work, ignore_errors=True)

    def wine_reset(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stderr=subprocess.DEVNULL)

    def host_path(self, windows_path):
        assert windows_path[:3].upper() == "C:\\"
        return os.path.join(self.prefix, "drive_c", *windows_path[3:].split("\\"))

    def wine(self, *argv, cwd=None):
        return subprocess.Popen(["wine", *argv], env=self.env, cwd=cwd, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    @staticmethod
    def wait_for(path, seconds=30):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if os.path.exists(path):
                return True
            time.sleep(0.1)
        return False


def windows_of(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def lay_out_game(rig, folder):
    host = rig.host_path(folder)
    shutil.rmtree(host, ignore_errors=True)
    os.makedirs(os.path.join(host, "Thornwickvale_Data", "Managed"))
    old_exe = read(rig.args.game) + b"\nORIGINAL GAME\n"
    with open(os.path.join(host, "Thornwickvale.exe"), "wb") as f:
        f.write(old_exe)
    old_assembly = b"old assembly, longer than the new one " * 5000
    with open(os.path.join(host, "Thornwickvale_Data", "Managed", "Assembly-CSharp.dll"), "wb") as f:
        f.write(old_assembly)
    return host, old_exe, old_assembly


def start_game(rig, folder, host):
    """Starts the stand-in game from its folder; true once its window is up."""
    report = os.path.join(rig.work, "game-started")
    if os.path.exists(report):
        os.remove(report)
    rig.wine(folder + "\\Thornwickvale.exe", "--report", windows_of(report), cwd=host)
    return rig.wait_for(report)


def run(rig, name, folder=r"C:\Games\Thornwickvale", version="1.1", answers=("ok",), game=True, hold=False):
    check = Checks(name)
    rig.wine_reset()
    rig.server.version = version
    for entry in os.listdir(rig.recorder.folder):
        os.remove(os.path.join(rig.recorder.folder, entry))
    host, old_exe, old_assembly = lay_out_game(rig, folder)
    exe = folder + "\\Thornwickvale.exe"
    if game:
        check.expect(start_game(rig, folder, host), "the stand-in game did not start")
    holder_files = None
    if hold:
        held = os.path.join(host, "Thornwickvale.exe")
        holder_files = (held + ".held", held + ".release")
        rig.wine(rig.args.holder, exe, "--seconds", "120")
        check.expect(rig.wait_for(holder_files[0]), "the file holder did not take the executable")
    boxes_log = os.path.join(rig.work, name + "-boxes.jsonl")
    windows_log = os.path.join(rig.work, name + "-windows.jsonl")
    answerer = rig.wine(rig.args.answerer, "--log", windows_of(boxes_log), "--answers", ",".join(answers),
                        "--seconds", "200", "--windows", windows_of(windows_log))
    time.sleep(1)
    raw, code, seconds = wine_console.run_in_pty(["wine", rig.args.installer], rig.env, timeout=240,
                                                 cwd=rig.work)
    time.sleep(1)
    with open(boxes_log + ".stop", "w"):
        pass
    try:
        answerer.wait(30)
    except subprocess.TimeoutExpired:
        answerer.kill()
    if holder_files:
        with open(holder_files[1], "w"):
            pass
        end = time.monotonic() + 10
        while os.path.exists(holder_files[0]) and time.monotonic() < end:
            time.sleep(0.1)
        for leftover in holder_files:
            if os.path.exists(leftover):
                os.remove(leftover)

    lines = wine_console.parse_lines(raw)
    boxes = [json.loads(line) for line in open(boxes_log, encoding="utf-8")] if os.path.exists(boxes_log) else []
    windows = [json.loads(line) for line in open(windows_log, encoding="utf-8")] if os.path.exists(windows_log) else []
    requests = sorted(os.listdir(rig.recorder.folder))
    check.expect(code == 0, f"installer exit code {code}")
    check.seen = [f"{sorted(a)} {t}" for t, a in lines] + [f"box {b}" for b in boxes]
    return check, dict(lines=lines, boxes=boxes, windows=windows, seconds=seconds, host=host, folder=folder,
                       old_exe=old_exe, old_assembly=old_assembly,
                       requests=[read(os.path.join(rig.recorder.folder, r)) for r in requests])


def check_banner_and_request(check, r, port):
    lines = r["lines"]
    check.expect(lines[:2] == [("免责声明：本程序仅供参考，技术分享。", {0xFC}), ("补丁适配游戏版本:ver 0.24g", {0xFC})],
                 f"banner lines {lines[:2]}")
    check.expect(len(lines) >= 5 and all(t.startswith("https://") and a == {0x9E} for t, a in lines[2:5]),
                 f"banner addresses {lines[2:5]}")
    check.expect(lines[4][0] == f"https://127.0.0.1:{port}/", f"home page {lines[4][0]}")
    if not check.expect(len(r["requests"]) == 1, f"{len(r['requests'])} requests on the server's log"):
        return
    head = r["requests"][0].decode("latin-1").split("\r\n")
    check.expect(head[0] == f"POST {VERSION_PATH} HTTP/1.1", f"request line {head[0]!r}")
    fields = [line for line in head[1:] if line]
    ours = [f for f in fields if f.split(":")[0] in ("Content-Type", "Accept", "Referer", "Accept-Language")]
    check.expect(ours == ["Content-Type: application/json", "Accept: */*",
                          f"Referer: https://127.0.0.1:{port}{VERSION_PATH}", "Accept-Language: zh-cn"],
                 f"header lines {ours}")
    check.expect("User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)" in fields, f"agent in {fields}")
    check.expect(r["requests"][0].endswith(b"\r\n\r\n"), "the request carried a body")


def info_lines(check, r):
    """The three information lines: (window, process id, path)."""
    found = {}
    for text, attrs in r["lines"]:
        for label in ("窗口句柄ID ", "游戏进程ID ", "游戏路径 "):
            if text.startswith(label):
                check.expect(attrs == {CYAN, GREY}, f"colours of {text!r}: {attrs}")
                found[label] = text[len(label):]
    check.expect(len(found) == 3, f"information lines {found}")
    return found.get("窗口句柄ID ", ""), found.get("游戏进程ID ", ""), found.get("游戏路径 ", "")


def green_lines(r):
    return [t for t, a in r["lines"] if a == {GREEN}]


def check_installed(check, r, pid, entries=("真", "真", "真", "真")):
    payloads = check.payloads
    expected = [f"结束进程 {pid}", "导出补丁......"] + [f"执行过程[{i}]:{e}" for i, e in enumerate(entries, 1)] + \
               ["重新运行 Thornwickvale.exe"]
    check.expect(green_lines(r) == expected, f"green lines {green_lines(r)}")
    check.expect(r["lines"][-1] == (CLOSING, {CLOSING_ATTR}), f"last line {r['lines'][-1:]}")
    check.expect(r["seconds"] > 15, f"run took {r['seconds']:.1f} s, less than its waits")
    host = r["host"]
    pictures = os.path.join(host, PICTURES)
    check.expect(read(os.path.join(pictures, MARKER)) == b"", "marker file not empty")
    check.expect(read(os.path.join(pictures, BEFORE)) == read(os.path.join(payloads, "before.png")), "before picture")
    check.expect(read(os.path.join(pictures, AFTER)) == read(os.path.join(payloads, "after.png")), "after picture")
    check.expect(sorted(os.listdir(host)) == sorted(["Thornwickvale.exe", "Thornwickvale_Data", PICTURES]),
                 f"game folder holds {sorted(os.listdir(host))}")
    games = [w for w in r["windows"] if w["title"] == "Thornwickvale"]
    check.expect(len(games) == 1 and str(games[0]["pid"]) != pid and
                 games[0]["image"].lower() == (r["folder"] + "\\Thornwickvale.exe").lower(),
                 f"restarted game windows {games} (old process {pid})")
    check.expect(any(w["class"] == "ExplorerWClass" and w["title"] == PICTURES for w in r["windows"]),
                 f"no explorer window on the picture folder in {[w['title'] for w in r['windows']]}")


def scenario_installed(rig, folder=r"C:\Games\Thornwickvale", name="installed"):
    check, r = run(rig, name, folder=folder)
    check_banner_and_request(check, r, rig.args.port)
    window, pid, path = info_lines(check, r)
    check.expect(window not in ("", "0"), f"window {window}")
    check.expect(path == folder + "\\Thornwickvale.exe", f"path {path!r}")
    check.expect([(b["title"], b["text"]) for b in r["boxes"]] == [CONSENT], f"boxes {r['boxes']}")
    check_installed(check, r, pid)
    host = r["host"]
    check.expect(read(os.path.join(host, "Thornwickvale.exe")) == read(os.path.join(check.payloads, "Thornwickvale.exe")),
                 "game executable differs from the payload")
    check.expect(read(os.path.join(host, *ASSEMBLY.split("\\"))) == read(os.path.join(check.payloads, "Assembly-CSharp.dll")),
                 "assembly differs from the payload")
    return check


def scenario_declined(rig):
    check, r = run(rig, "declined", answers=("cancel",))
    window, pid, _ = info_lines(check, r)
    check.expect([(b["title"], b["text"]) for b in r["boxes"]] == [CONSENT], f"boxes {r['boxes']}")
    check.expect(green_lines(r) == [], f"installation lines {green_lines(r)}")
    check.expect(r["lines"][-1] == (CLOSING, {CLOSING_ATTR}), f"last line {r['lines'][-1:]}")
    host = r["host"]
    check.expect(read(os.path.join(host, "Thornwickvale.exe")) == r["old_exe"], "executable touched")
    check.expect(read(os.path.join(host, *ASSEMBLY.split("\\"))) == r["old_assembly"], "assembly touched")
    check.expect(not os.path.exists(os.path.join(host, PICTURES)), "picture folder written")
    games = [w for w in r["windows"] if w["title"] == "Thornwickvale"]
    check.expect(len(games) == 1 and str(games[0]["pid"]) == pid, f"game windows {games}, game was {pid}")
    return check


def scenario_not_running(rig):
    check, r = run(rig, "not_running", game=False)
    window, pid, path = info_lines(check, r)
    check.expect((window, pid) == ("0", "0"), f"window {window}, process {pid}")
    check.expect(path.lower().endswith("\\thornwickvalepatch.exe"), f"own path {path!r}")
    own_folder, own_name = path[: path.rfind("\\") + 1], path[path.rfind("\\") + 1:]
    report = ("未能成功寻找到游戏！\r\n请确保游戏已经在运行，版本号与补丁适配版本ver 0.24g相同！\r\n\r\n"
              "--------------------变量信息--------------------\r\n进程ID：0\r\n窗口句柄：0\r\n程序路径："
              f"{own_folder}\r\n程序命名：{own_name}")
    check.expect([(b["title"], b["text"]) for b in r["boxes"]] == [(ERROR_TITLE, report)], f"boxes {r['boxes']}")
    check.expect(all(t != CLOSING for t, _ in r["lines"]), "closing line after the not-found report")
    check.expect(r["lines"][-1][0].startswith("游戏路径 "), f"last line {r['lines'][-1:]}")
    return check


def scenario_update_cancelled(rig):
    check, r = run(rig, "update_cancelled", version="1.2", answers=("cancel", "ok"))
    _, pid, _ = info_lines(check, r)
    check.expect([(b["title"], b["text"]) for b in r["boxes"]] == [UPDATE, CONSENT], f"boxes {r['boxes']}")
    check_installed(check, r, pid)
    return check


def scenario_executable_held(rig):
    check, r = run(rig, "executable_held", answers=("ok", "ok"), hold=True)
    window, pid, path = info_lines(check, r)
    titles = [b["title"] for b in r["boxes"]]
    check.expect(titles == [CONSENT[0], ERROR_TITLE], f"boxes {titles}")
    entries = re.findall(r"执行过程\[(\d)\]:(.)", "\n".join(green_lines(r)))
    check.expect([e[0] for e in entries] == ["1", "2", "3", "4"], f"step log {green_lines(r)}")
    values = [e[1] for e in entries]
    check.expect(values[:2] == ["真", "真"] and "假" in values[2:], f"entries {values}")
    if len(r["boxes"]) == 2:
        text = r["boxes"][1]["text"]
        check.expect(text.startswith("执行文件操作过程中出错！") and text.endswith("\r\n".join(values)) and
                     f"进程ID：{pid}\r\n窗口句柄：{window}\r\n程序路径：{r['folder']}\\\r\n程序命名：Thornwickvale.exe" in text,
                     f"error report {text!r}")
    host = r["host"]
    check.expect(read(os.path.join(host, "Thornwickvale.exe")) == r["old_exe"], "old executable not intact")
    check.expect(read(os.path.join(host, *ASSEMBLY.split("\\"))) == read(os.path.join(check.payloads, "Assembly-CSharp.dll")),
                 "assembly not replaced")
    check.expect(r["lines"][-1] == (CLOSING, {CLOSING_ATTR}), f"last line {r['lines'][-1:]}")
    return check


def parse_arguments(parser, programs=("installer", "game", "payloads", "answerer", "holder")):
    """The programs and folders a rig needs (made absolute) and its port."""
    for option in programs:
        parser.add_argument("--" + option, required=True)
    parser.add_argument("--port", type=int, required=True)
    args = parser.parse_args()
    for option in programs:
        setattr(args, option, os.path.abspath(getattr(args, option)))
    if "holder" not in programs:
        args.holder = ""
    return args


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--only", help="run only the scenarios whose name contains this")
    args = parse_arguments(parser)
    if not os.environ.get("DISPLAY"):
        print("SKIPPED: the end-to-end runs need an X display for their message boxes")
        return 0
    rig = Rig(args)
    scenarios = [
        ("installed", lambda: scenario_installed(rig)),
        ("declined", lambda: scenario_declined(rig)),
        ("not_running", lambda: scenario_not_running(rig)),
        ("update_cancelled", lambda: scenario_update_cancelled(rig)),
        ("executable_held", lambda: scenario_executable_held(rig)),
        ("spaces_and_gbk", lambda: scenario_installed(rig, r"C:\Program Files (x86)\雾棘谷 游戏\Thornwickvale",
                                                      "spaces_and_gbk")),
    ]
    Checks.payloads = args.payloads
    passed = failed = 0
    try:
        for name, scenario in scenarios:
            if args.only and args.only not in name:
                continue
            started = time.monotonic()
            try:
                check = scenario()
            except Exception as error:  # a scenario that breaks is a failure, the others still run
                check = Checks(name)
                check.failures.append(f"{type(error).__name__}: {error}\n" + traceback.format_exc())
            outcome = "ok" if not check.failures else "FAILED"
            print(f"{name}: {outcome} ({time.monotonic() - started:.0f} s)")
            for failure in check.failures:
                print("    " + failure)
            if check.failures:
                print("    what the run showed:\n      " + "\n      ".join(check.seen))
            passed, failed = passed + (not check.failures), failed + bool(check.failures)
    finally:
        rig.close()
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
