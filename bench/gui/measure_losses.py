#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Scans lost around the browser pane, counted over many cold starts of the real program,
and the idle processor use once a page is shown. Run inside an X server of its own,
from the project folder, after building:

    tests/e2e/with-xvfb.sh [--wm openbox] /usr/bin/python3 bench/gui/measure_losses.py --build build

Each run starts tarnix, switches web lookup on and types a scan at once (Ctrl+L and the
line in one burst), then types more scans back to back, each as soon as the one before
is shown. A scan counts as lost when its fields do not appear within 5 s. Then, per run
too: a page that opens dialogs and asks for everything, followed by scans; and a killed
renderer, followed by scans. Last, the idle processor use of the program and its helper
processes over 10 s with a static page shown.
"""

import argparse
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
import desktop_e2e as e2e  # noqa: E402


class Quiet(e2e.Checks):
    """Counts like the tests' checks, without a line per check."""

    def check(self, ok, what, detail=""):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
        return ok


def start(args, server, page=None):
    if page is not None:
        server.page = page
    tarnix = e2e.Tarnix(args.tarnix, e2e.lookup_env(server, tempfile.mkdtemp()))
    if not tarnix.wait_for_window() or not tarnix.wait_for_accessible():
        tarnix.kill()
        raise SystemExit("tarnix did not start")
    e2e.focus_window(tarnix.window)
    return tarnix


def decoded(tarnix, scan):
    e2e.type_scan(scan)
    return bool(e2e.poll(lambda: e2e.fields_show(tarnix, scan), 5))


def first_lookup_run(args, server, scans):
    tarnix = start(args, server)
    try:
        e2e.xdotool("key", "ctrl+l", "type", "--delay", "0", scans[0]["line"])
        e2e.xdotool("key", "Return")
        whole = int(bool(e2e.poll(lambda: e2e.fields_show(tarnix, scans[0]), 5)))
        whole += sum(decoded(tarnix, scan) for scan in scans[1:])
        return whole
    finally:
        tarnix.kill()


def after_trouble_run(args, server, scans, trouble):
    tarnix = start(args, server, e2e.HOSTILE_PAGE if trouble == "hostile" else b"<html><body>x</body></html>")
    try:
        e2e.xdotool("key", "ctrl+l")
        decoded(tarnix, scans[0])
        e2e.requested(server, e2e.lookup_of(scans[0]), 30)
        if trouble == "killed":
            for pid in e2e.poll(lambda: e2e.renderers(tarnix.process.pid), 10, 0.1) or []:
                os.kill(pid, 9)
        time.sleep(0.5)
        return sum(decoded(tarnix, scan) for scan in scans[1:])
    finally:
        tarnix.kill()


def idle_after_lookup(args, server, scans, seconds):
    tarnix = start(args, server, b"<html><body><p>static page</p></body></html>")
    try:
        e2e.xdotool("key", "ctrl+l")
        decoded(tarnix, scans[0])
        e2e.requested(server, e2e.lookup_of(scans[0]), 30)
        time.sleep(2.0)
        pids = [tarnix.process.pid] + e2e.web_engine_helpers(tarnix.process.pid)
        ticks = lambda pid: _cpu_ticks(pid)
        before = {pid: ticks(pid) for pid in pids}
        time.sleep(seconds)
        used = {pid: ticks(pid) - before[pid] for pid in pids}
        hz = os.sysconf("SC_CLK_TCK")
        total = 100.0 * sum(used.values()) / hz / seconds
        main = 100.0 * used[tarnix.process.pid] / hz / seconds
        return total, main, len(pids) - 1
    finally:
        tarnix.kill()


def _cpu_ticks(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])
    except OSError:
        return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build")
    parser.add_argument("--runs", type=int, default=20, help="cold starts per measurement (default: 20)")
    parser.add_argument("--idle-seconds", type=float, default=10.0)
    args = parser.parse_args()
    args.tarnix = os.path.join(args.build, "app", "tarnix")
    args.scanlines = os.path.join(args.build, "tests", "e2e", "tarnix-e2e-scanlines")
    scans = e2e.product_scans(args, 6)

    server = e2e.LookupServer()
    bus = e2e.subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                               stdout=e2e.subprocess.DEVNULL, stderr=e2e.subprocess.DEVNULL)
    try:
        wm = "openbox" if e2e.window_manager_running() else "none (bare X server)"
        rows = []
        whole = sum(first_lookup_run(args, server, scans[:3]) for _ in range(args.runs))
        rows.append(("switch on + scan at once, then 2 back to back", 3 * args.runs, whole))
        for trouble, label in (("hostile", "5 scans after a page with dialogs and requests"),
                               ("killed", "5 scans after the renderer was killed")):
            whole = sum(after_trouble_run(args, server, scans, trouble) for _ in range(args.runs))
            rows.append((label, 5 * args.runs, whole))
        total, main_only, helpers = idle_after_lookup(args, server, scans, args.idle_seconds)
    finally:
        server.close()
        bus.terminate()

    print(f"Window manager: {wm}; {args.runs} cold starts per row")
    print()
    print("| scenario | scans typed | decoded | lost |")
    print("|---|---|---|---|")
    for label, typed, whole in rows:
        print(f"| {label} | {typed} | {whole} | {typed - whole} |")
    print()
    print(f"Idle over {args.idle_seconds:.0f} s with a static page shown: {total:.2f}% of one core "
          f"(main process {main_only:.2f}%, {helpers} helper processes)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
