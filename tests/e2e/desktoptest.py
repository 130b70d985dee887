# SPDX-License-Identifier: MIT
"""What the desktop tests and figure scripts share: checks that print a line each and a
closing "N passed, N failed" line, polling, xdotool, focusing a window with or without a
window manager, the scan lines with their fields, and a program that keeps the keys it
receives. Needs no accessibility bus."""

import os
import subprocess
import sys
import tempfile
import time


def run_checks(scenario, args):
    """Runs scenario(args, checks), counts a scenario that ends early as a failure, prints
    the closing line and returns the exit status."""
    checks = Checks()
    try:
        scenario(args, checks)
    except (RuntimeError, subprocess.SubprocessError, OSError) as error:
        checks.check(False, "the scenario runs to its end", str(error))
    print(f"{checks.passed} passed, {checks.failed} failed", flush=True)
    return 0 if checks.failed == 0 else 1


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, ok, what, detail=""):
        if ok:
            self.passed += 1
            print(f"ok   {what}", flush=True)
        else:
            self.failed += 1
            print(f"FAIL {what}" + (f": {detail}" if detail else ""), flush=True)
        return ok


def poll(condition, timeout, interval=0.01):
    """The first true value condition() gives within timeout seconds, else the last one."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def xdotool(*arguments, check=True):
    result = subprocess.run(["xdotool", *arguments], capture_output=True, text=True, timeout=30)
    if check and result.returncode != 0:
        raise RuntimeError(f"xdotool {' '.join(arguments)}: {result.stderr.strip()}")
    return result.stdout.strip()


def window_manager_running():
    out = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True, text=True).stdout
    return "window id" in out


def focus_window(window_id):
    """Gives a window the keyboard: through the window manager when there is one, as a
    user's click does, else straight from the X server."""
    verb = "windowactivate" if window_manager_running() else "windowfocus"
    xdotool(verb, "--sync", str(window_id))


def scan_lines(generator, count):
    output = subprocess.run([generator, str(count)], capture_output=True, text=True, check=True).stdout
    scans = []
    for row in output.splitlines():
        line, serial, kind, data = row.split("\t")
        scans.append({"line": line, "serial": serial, "type": kind, "data": data})
    return scans


def hazardous_scans(generator, count, without=""):
    """Scan lines whose characters sit on the keys layouts move most: "+" first (a dead
    key under de and cz), then "/" (moved under de and fr), "y" and "z" (swapped under de).
    None of them holds a character of without."""
    scans = [scan for scan in scan_lines(generator, count * 8) if not set(without) & set(scan["line"])]
    weights = {"+": 8, "/": 4, "y": 2, "z": 1}
    return sorted(scans, key=lambda scan: -sum(w for sign, w in weights.items() if sign in scan["line"]))[:count]


# A program that keeps every key it receives: a Tk text window that writes its text to
# the file named on its command line every 50 ms. Its File menu's Save (Alt+F, then S)
# writes a line to that file name with ".saved" added.
TK_OTHER_PROGRAM = r"""
import os, sys, tkinter as tk
root = tk.Tk(); root.title("other program"); root.geometry("500x300+700+600")
bar = tk.Menu(root); menu = tk.Menu(bar, tearoff=0); bar.add_cascade(label="File", underline=0, menu=menu)
menu.add_command(label="Save", underline=0, command=lambda: open(sys.argv[1] + ".saved", "a").write("saved\n"))
root.config(menu=bar)
text = tk.Text(root); text.pack(fill="both", expand=True); text.focus_set()
def save():
    with open(sys.argv[1] + ".new", "w") as out: out.write(text.get("1.0", "end-1c"))
    os.replace(sys.argv[1] + ".new", sys.argv[1])  # never seen half written
    root.after(50, save)
root.after(50, save); root.mainloop()
"""


class OtherProgram:
    """Another program with the keyboard's worth of a text window (TK_OTHER_PROGRAM): it
    keeps every key it receives. Closed when the with block ends."""

    def __init__(self):
        self.log = os.path.join(tempfile.mkdtemp(), "other.txt")
        self.process = subprocess.Popen([sys.executable, "-c", TK_OTHER_PROGRAM, self.log])
        self.window = int(xdotool("search", "--sync", "--onlyvisible", "--name", "^other program$").split()[0])

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.process.kill()
        self.process.wait()

    def focus(self):
        focus_window(self.window)
        poll(lambda: int(xdotool("getwindowfocus")) == self.window, 2)

    def received(self):
        return open(self.log).read() if os.path.exists(self.log) else ""

    def saved(self):
        return os.path.exists(self.log + ".saved")

    def received_after(self, before, expect=None):
        """What came after the text before: once it is what is expected, or else (when
        nothing should come) after the program's saves (every 50 ms) had time to show it."""
        if expect is not None:
            return poll(lambda: self.received()[len(before):] == expect and expect, 3) or self.received()[len(before):]
        time.sleep(0.3)
        return self.received()[len(before):]

    def check_nothing_after(self, checks, before, what="nothing reaches the other program"):
        got = self.received_after(before)
        return checks.check(got == "", what, repr(got[:80]))
