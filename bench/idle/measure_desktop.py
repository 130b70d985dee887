#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Figures for the window program, measured in one run on one X server:

- start-up: from starting the process to its main window being mapped, for tarnix and
  for a bare Qt 6 window built the same way (median and fastest of several runs);
- memory: proportional set size (PSS, shared pages split among the processes that map
  them, as a system monitor counts) and resident set of the process and any helpers it
  started, one second after its window appeared (for tarnix: before the first lookup);
- whether tarnix has the web engine library mapped before and after web lookup is
  switched on;
- idle processor use: processor time used over 10 s of doing nothing, after a one
  second warm-up, for tarnix, for the variant with the spinning loop and for the bare
  window, in percent of one core.

Run inside an X server of its own, from the project folder, after building:

    tests/e2e/with-xvfb.sh /usr/bin/python3 bench/idle/measure_desktop.py --build build
"""

import argparse
import ctypes
import os
import select
import statistics
import subprocess
import sys
import time

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
PAGE_KB = os.sysconf("SC_PAGE_SIZE") // 1024


class MapWatcher:
    """Reports when a new top-level window is mapped (there is no window manager, so
    top-level windows are children of the root window)."""

    MAP_NOTIFY = 19
    SUBSTRUCTURE_NOTIFY_MASK = 1 << 19

    class MapEvent(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                    ("override_redirect", ctypes.c_int)]

    class Event(ctypes.Union):
        pass

    Event._fields_ = [("xmap", MapEvent), ("pad", ctypes.c_long * 24)]

    def __init__(self):
        x = ctypes.cdll.LoadLibrary("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(self.Event)]
        x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x = x
        self.display = x.XOpenDisplay(None)
        if not self.display:
            raise SystemExit("cannot open the X display; run under tests/e2e/with-xvfb.sh")
        x.XSelectInput(self.display, x.XDefaultRootWindow(self.display), self.SUBSTRUCTURE_NOTIFY_MASK)
        x.XSync(self.display, 0)
        self.fd = x.XConnectionNumber(self.display)

    def drain(self):
        event = self.Event()
        while self.x.XPending(self.display):
            self.x.XNextEvent(self.display, ctypes.byref(event))

    def wait_for_map(self, timeout):
        """Time of the first top-level map within timeout seconds, or None."""
        deadline = time.monotonic() + timeout
        event = self.Event()
        while time.monotonic() < deadline:
            while self.x.XPending(self.display):
                self.x.XNextEvent(self.display, ctypes.byref(event))
                if event.xmap.type == self.MAP_NOTIFY and not event.xmap.override_redirect:
                    return time.monotonic()
            select.select([self.fd], [], [], max(0.0, deadline - time.monotonic()))
        return None


def descendants(pid):
    parents = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as stat:
                    parents[int(entry)] = int(stat.read().rsplit(")", 1)[1].split()[1])
            except OSError:
                pass
    tree, pending = [], [pid]
    while pending:
        parent = pending.pop()
        children = [child for child, ppid in parents.items() if ppid == parent]
        tree += children
        pending += children
    return tree


def rss_kb(pid):
    try:
        with open(f"/proc/{pid}/statm") as statm:
            return int(statm.read().split()[1]) * PAGE_KB
    except OSError:
        return 0


def pss_kb(pid):
    try:
        with open(f"/proc/{pid}/smaps_rollup") as rollup:
            for line in rollup:
                if line.startswith("Pss:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def maps_web_engine(pid):
    try:
        with open(f"/proc/{pid}/maps") as maps:
            return "libQt6WebEngineCore" in maps.read()
    except OSError:
        return False


def cpu_ticks(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])  # utime + stime
    except OSError:
        return 0


def quiet_env():
    env = dict(os.environ)
    env["QT_QPA_PLATFORM"] = "xcb"
    return env


class Run:
    def __init__(self, watcher, program):
        watcher.drain()
        self.started = time.monotonic()
        self.process = subprocess.Popen([program], env=quiet_env(), stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shown = watcher.wait_for_map(30)
        if shown is None:
            self.stop()
            raise SystemExit(f"{program}: no window within 30 s")
        self.startup_ms = (shown - self.started) * 1000
        self.shown = shown

    def settle(self, seconds):
        time.sleep(max(0.0, self.shown + seconds - time.monotonic()))

    def tree(self):
        return [self.process.pid] + descendants(self.process.pid)

    def memory_kb(self):
        tree = self.tree()
        return (rss_kb(self.process.pid), sum(rss_kb(pid) for pid in tree), len(tree),
                sum(pss_kb(pid) for pid in tree))

    def idle_cpu_percent(self, seconds):
        pids = self.tree()
        before = sum(cpu_ticks(pid) for pid in pids)
        wall = time.monotonic()
        time.sleep(seconds)
        used = sum(cpu_ticks(pid) for pid in pids) - before
        return 100.0 * used / CLOCK_TICKS / (time.monotonic() - wall)

    def stop(self):
        self.process.kill()
        self.process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build", help="the build folder (default: build)")
    parser.add_argument("--runs", type=int, default=7, help="start-up runs of each program (default: 7)")
    parser.add_argument("--idle-seconds", type=float, default=10.0)
    args = parser.parse_args()

    programs = {
        "tarnix": os.path.join(args.build, "app", "tarnix"),
        "tarnix, spinning loop": os.path.join(args.build, "bench", "idle", "tarnix-spinning"),
        "bare Qt 6 window": os.path.join(args.build, "bench", "idle", "bare-qt-window"),
    }
    for name, path in programs.items():
        if not os.access(path, os.X_OK):
            raise SystemExit(f"{name}: {path} is missing; build the targets tarnix, tarnix-spinning and bare-qt-window")
    watcher = MapWatcher()

    # Start-up and memory: alternating runs, after one unmeasured run each to warm the caches.
    compared = ["tarnix", "bare Qt 6 window"]
    startup = {name: [] for name in compared}
    memory = {}
    for name in compared:
        Run(watcher, programs[name]).stop()
    for _ in range(args.runs):
        for name in compared:
            run = Run(watcher, programs[name])
            startup[name].append(run.startup_ms)
            run.settle(1.0)
            memory.setdefault(name, []).append(run.memory_kb())
            run.stop()

    # The web engine: not mapped until web lookup is switched on, mapped right after.
    run = Run(watcher, programs["tarnix"])
    run.settle(1.0)
    engine_before = maps_web_engine(run.process.pid)
    window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(run.process.pid),
                             "--name", "^Tarnix v"], capture_output=True, text=True).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "ctrl+l"], check=True)
    deadline = time.monotonic() + 10
    while not maps_web_engine(run.process.pid) and time.monotonic() < deadline:
        time.sleep(0.05)
    engine_after = maps_web_engine(run.process.pid)
    run.stop()

    idle = {}
    for name, path in programs.items():
        run = Run(watcher, path)
        run.settle(1.0)
        idle[name] = run.idle_cpu_percent(args.idle_seconds)
        run.stop()

    print(f"Start-up to window mapped, {args.runs} runs each (ms), and resident memory 1 s after (MiB):")
    print()
    print("| program | median ms | fastest ms | PSS MiB | RSS MiB | with helpers MiB | processes |")
    print("|---|---|---|---|---|---|---|")
    for name in compared:
        own = statistics.median(m[0] for m in memory[name]) / 1024
        total = statistics.median(m[1] for m in memory[name]) / 1024
        pss = statistics.median(m[3] for m in memory[name]) / 1024
        processes = max(m[2] for m in memory[name])
        print(f"| {name} | {statistics.median(startup[name]):.0f} | {min(startup[name]):.0f} | "
              f"{pss:.1f} | {own:.1f} | {total:.1f} | {processes} |")
    ratio_time = statistics.median(startup["tarnix"]) / statistics.median(startup["bare Qt 6 window"])
    ratio_pss = (statistics.median(m[3] for m in memory["tarnix"])
                 / statistics.median(m[3] for m in memory["bare Qt 6 window"]))
    ratio_rss = (statistics.median(m[1] for m in memory["tarnix"])
                 / statistics.median(m[1] for m in memory["bare Qt 6 window"]))
    print()
    print(f"tarnix / bare: start-up {ratio_time:.2f}x, PSS {ratio_pss:.2f}x, RSS {ratio_rss:.2f}x")
    print(f"libQt6WebEngineCore mapped: before web lookup {'yes' if engine_before else 'no'}, "
          f"after switching it on {'yes' if engine_after else 'no'}")
    print()
    print(f"Idle processor use over {args.idle_seconds:.0f} s after a 1 s warm-up (% of one core):")
    print()
    print("| program | idle CPU % |")
    print("|---|---|")
    for name, percent in idle.items():
        print(f"| {name} | {percent:.2f} |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
