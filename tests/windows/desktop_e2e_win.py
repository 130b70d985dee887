#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Drives the Windows window program under Wine on an X server, the way a person and a
scanner do, and reads its controls back with wintext.exe.

Wine runs every window in a virtual desktop of its own, one X window, inside which it
places windows and moves the keyboard focus itself, as Windows does; keys typed into
that X window go to Wine's foreground window. Run inside an X server of its own
(tests/e2e/with-xvfb.sh), after the cross build:

    with-xvfb.sh /usr/bin/python3 desktop_e2e_win.py --bin build-windows/app --scanlines PATH

PATH is a program that prints COUNT scan lines with their fields (line TAB serial TAB type
TAB data). The scenario: the window appears with its caption and controls at their
places; a second start ends with status 0 and leaves it the one window; scans typed at
full speed decode; Help opens the help window; About opens the About box; Ctrl+L makes
the window tall and a scan then writes the lookup status; Alt pressed in another Windows
program (notepad) brings Tarnix back, so the next scan lands in it; under the desktop
layout de, a scanner played at the key level (the key codes of a US keyboard) types
scans that decode; Ctrl+X ends the program with status 0. Prints one line per check and
a closing "N passed, N failed" line.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from desktoptest import hazardous_scans, poll, run_checks, scan_lines, xdotool  # noqa: E402
from keyscanner import KeyScanner  # noqa: E402

DPI = 96  # Wine's default

# Where the controls stand, in twips (left, top), as the layout gives them.
PLACES = {"Text1": (120, 120), "Label5": (120, 480), "Text5": (3600, 840), "Text6": (3600, 1200),
          "Text7": (3600, 1560), "Label6": (600, 2040)}


def px(twips):
    return int(twips * DPI / 1440 + 0.5)


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"r": "\r", "n": "\n", "t": "\t", "\\": "\\"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


class Wine:
    def __init__(self):
        self.prefix = tempfile.mkdtemp(prefix="tarnix-e2e-wine-")
        # No menu entries or file associations for the Linux desktop from what is installed.
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all", LC_ALL="C.UTF-8",
                        WINEDLLOVERRIDES="winemenubuilder.exe=d")
        subprocess.run(["wineboot", "-i"], env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=120)
        # Every program in one virtual desktop, from the next start of Wine's server on.
        for key, value, data in (("Explorer", "Desktop", "Default"), ("Explorer\\Desktops", "Default", "1024x768")):
            self.run("reg", "add", f"HKCU\\Software\\Wine\\{key}", "/v", value, "/d", data, "/f")
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=60)

    def start(self, *command):
        return subprocess.Popen(["wine", *command], env=self.env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def run(self, *command):
        # Output through a file, not a pipe: a Wine process that the command starts
        # (the desktop, services) would hold a pipe open long after the command ends.
        with tempfile.TemporaryFile() as out:
            result = subprocess.run(["wine", *command], env=self.env, stdin=subprocess.DEVNULL, stdout=out,
                                    stderr=subprocess.DEVNULL, timeout=60)
            out.seek(0)
            result.stdout = out.read()
        return result

    def close(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.rmtree(self.prefix, ignore_errors=True)


class Window:
    """A window as wintext.exe reads it."""

    def __init__(self, wine, wintext, title):
        self.wine, self.wintext, self.title = wine, wintext, title

    def read(self):
        result = self.wine.run(self.wintext, self.title)
        if result.returncode != 0:
            return None
        lines = result.stdout.decode("utf-8", "replace").replace("\r", "").split("\n")
        head = lines[0].split("\t")
        window = {"title": head[1], "rect": tuple(map(int, head[2].split(","))),
                  "client": tuple(map(int, head[3].split("x"))), "foreground": head[4] == "foreground",
                  "controls": []}
        for line in lines[1:]:
            if not line:
                continue
            fields = line.split("\t", 4)
            window["controls"].append({"id": int(fields[0]), "class": fields[1],
                                       "rect": tuple(map(int, fields[2].split(","))),
                                       "visible": fields[3] == "visible",
                                       "text": unescape(fields[4]) if len(fields) > 4 else ""})
        return window

    def control(self, name, window=None):
        window = window or self.read()
        if not window:
            return None
        left, top = px(PLACES[name][0]), px(PLACES[name][1])
        for control in window["controls"]:
            if abs(control["rect"][0] - left) <= 1 and abs(control["rect"][1] - top) <= 1:
                return control
        return None

    def text(self, name):
        control = self.control(name)
        return control["text"] if control else None


def fields_show(main, scan):
    window = main.read()
    if not window:
        return False
    texts = {name: (main.control(name, window) or {}).get("text") for name in ("Text1", "Text5", "Text6", "Text7")}
    return texts == {"Text1": "", "Text5": scan["serial"], "Text6": scan["type"], "Text7": scan["data"]}


def type_scan(scan):
    # As a scanner types: the whole line at full speed, then its line end.
    xdotool("type", "--delay", "0", scan["line"])
    xdotool("key", "Return")


def notepad_text(window):
    controls = (window.read() or {}).get("controls") or [{}]
    return controls[0].get("text")


def foreground(window):
    return bool((window.read() or {}).get("foreground"))


def scenario(args, checks):
    subprocess.run(["setxkbmap", "-layout", "us"], check=True)
    scanner = KeyScanner()
    wine = Wine()
    tarnix = notepad = again = None
    try:
        exe = os.path.join(args.bin, "tarnix.exe")
        wintext = os.path.join(args.bin, "..", "tests", "windows", "wintext.exe")
        tarnix = wine.start(exe)
        main = Window(wine, wintext, args.caption)
        first = poll(main.read, 30, 0.5)
        if not checks.check(first is not None, f'the main window "{args.caption}" appears'):
            return
        # The keys go to Wine's desktop window; Wine hands them to its foreground window.
        desktop = poll(lambda: xdotool("search", "--onlyvisible", "--name", "Wine desktop", check=False), 10)
        if not checks.check(bool(desktop), "Wine's desktop window is there"):
            return
        xdotool("windowfocus", "--sync", desktop.split()[0])
        checks.check(first["client"][0] == px(9255), "client area 9255 twips wide", f"{first['client']}")
        checks.check(abs(first["client"][1] - px(2055)) <= 1, "client area 2055 twips high at start",
                     f"{first['client']}")
        checks.check(main.control("Text5", first) and main.control("Text5", first)["text"] == "Serial Number::",
                     'Text5 shows "Serial Number::" at its place')
        checks.check(main.control("Label5", first) and main.control("Label5", first)["text"] == "Current scan code:",
                     'Label5 shows "Current scan code:" at its place')
        checks.check(poll(lambda: foreground(main), 10), "the main window is in front at start")
        again = wine.start(exe)
        try:
            status = again.wait(timeout=60)
        except subprocess.TimeoutExpired:
            status = None
        checks.check(status == 0 and main.read() is not None, "a second start ends with status 0, the first window "
                     "remains", f"status {status}")

        # Another Windows program takes the keyboard; the scanner's Alt brings Tarnix back.
        scans = scan_lines(args.scanlines, 6)
        notepad = wine.start("notepad")
        other = Window(wine, wintext, "Untitled - Notepad")
        if not checks.check(poll(lambda: foreground(other), 20, 0.5), "notepad opens and takes the keyboard"):
            return
        xdotool("type", "--delay", "0", "elsewhere")
        checks.check(bool(poll(lambda: notepad_text(other) == "elsewhere", 10)), "typing reaches notepad")
        xdotool("key", "alt")
        checks.check(bool(poll(lambda: foreground(main), 10)), "Alt in notepad brings Tarnix to the foreground")
        decoded = 0
        for scan in scans[:3]:
            type_scan(scan)
            decoded += bool(poll(lambda: fields_show(main, scan), 10))
        checks.check(decoded == 3, f"{decoded} of 3 scans typed at full speed after it decode in Tarnix")
        checks.check(notepad_text(other) == "elsewhere", "nothing of them reaches notepad", repr(notepad_text(other)))
        checks.check(main.text("Label5") == scans[2]["line"] + "\r\n", "Label5 shows the last line with its line end",
                     repr(main.text("Label5")))

        xdotool("key", "F1")
        help_window = poll(lambda: Window(wine, wintext, "Help").read(), 10)
        checks.check(help_window is not None and len(help_window["controls"]) == 3,
                     "F1 opens the help window with its three paragraphs")
        # Alt brings the main window back from the help window, as from any other.
        xdotool("key", "alt")
        checks.check(poll(lambda: foreground(main), 10), "Alt in the help window brings the main window forward")
        xdotool("key", "F2")
        about = poll(lambda: Window(wine, wintext, "About").read(), 10)
        checks.check(about is not None and any("Questions and comments should be directed to:" in c["text"]
                                               for c in about["controls"]), "F2 opens the About box")
        if about:
            xdotool("key", "Return")
            checks.check(poll(lambda: Window(wine, wintext, "About").read() is None, 10), "Return closes the About box")

        poll(lambda: foreground(main), 10)
        xdotool("key", "ctrl+l")
        tall = poll(lambda: (main.read() or {}).get("client", (0, 0))[1] >= px(7475) - 1, 10)
        checks.check(bool(tall), "Ctrl+L makes the client area 7475 twips high", f"{(main.read() or {}).get('client')}")
        type_scan(scans[3])
        checks.check(bool(poll(lambda: fields_show(main, scans[3]), 10)), "a scan with lookup on decodes")
        want = "Connecting to UPS site..." if scans[3]["type"] == "E28" else "Connecting to the UPC Database..."
        checks.check(main.text("Label6") == want, "the lookup status is written", repr(main.text("Label6")))

        # Wine follows the X server's layout; the scanner's keys stay those of a US keyboard.
        # Lines without "+": Wine's own X input method swallows that key (a dead key under
        # de) and the next before a Windows program sees either.
        subprocess.run(["setxkbmap", "-layout", "de"], check=True)
        poll(lambda: foreground(main), 10)
        missed = []
        for scan in hazardous_scans(args.scanlines, 3, without="+"):
            scanner.type_line(scan["line"])
            if not poll(lambda: fields_show(main, scan), 10):
                missed.append(f"{scan['line']!r} showed {main.text('Text5')!r} {main.text('Text6')!r}")
        checks.check(not missed, "layout de: 3 scans typed by key decode", "; ".join(missed))
        subprocess.run(["setxkbmap", "-layout", "us"], check=True)

        poll(lambda: foreground(main), 10)
        xdotool("key", "ctrl+x")
        try:
            status = tarnix.wait(timeout=20)
        except subprocess.TimeoutExpired:
            status = None
        checks.check(status == 0, "Ctrl+X ends the program with status 0", f"status {status}")
    finally:
        for process in (tarnix, notepad, again):
            if process and process.poll() is None:
                process.kill()
        wine.close()


def main(scenario=scenario):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", required=True, help="the folder of tarnix.exe in the cross build")
    parser.add_argument("--scanlines", required=True)
    parser.add_argument("--caption", required=True, help='the main window\'s caption, "Tarnix vX.Y.Z"')
    args = parser.parse_args()
    return run_checks(scenario, args)


if __name__ == "__main__":
    sys.exit(main())
