#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The person's Alt chords and the scanner's Alt taps, with tarnix.exe under Wine beside
notepad; arguments and set-up as desktop_e2e_win.py's. Keys are XTest key codes, chords
played as a person plays them: Alt held, the key about 80 ms later."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import desktop_e2e_win  # noqa: E402
from desktop_e2e_win import Wine, Window, fields_show, foreground, notepad_text  # noqa: E402
from desktoptest import poll, scan_lines, xdotool  # noqa: E402
from keyscanner import KeyScanner  # noqa: E402


def click_into(window):
    """A person's click near a window's bottom right corner, where Tarnix's window is not;
    the scenario cannot go on unless that window then has the foreground."""
    left, top, right, bottom = window.read()["rect"]
    xdotool("mousemove", str(right - 80), str(bottom - 60), "click", "1")
    if not poll(lambda: foreground(window), 5, 0.2):
        raise RuntimeError(f"{window.title!r} did not take the foreground within 5 s of a click into it")


def scenario(args, checks):
    scanner, wine, started = KeyScanner(), Wine(), []

    def start(*command):
        started.append(wine.start(*command))
        return started[-1]

    def window(title):
        return Window(wine, os.path.join(args.bin, "..", "tests", "windows", "wintext.exe"), title)

    try:
        tarnix, main = start(os.path.join(args.bin, "tarnix.exe")), window(args.caption)
        if not checks.check(poll(main.read, 30, 0.5) is not None, "Tarnix starts"):
            return
        xdotool("windowfocus", "--sync", xdotool("search", "--onlyvisible", "--name", "Wine desktop").split()[0])
        notepad, other = start("notepad"), window("Untitled - Notepad")
        if not checks.check(poll(lambda: foreground(other), 20, 0.5), "notepad takes the keyboard"):
            return

        scanner.chord("Alt_L", "f")
        xdotool("key", "s")
        save_as = poll(window("Save As").read, 5, 0.2)
        checks.check(save_as and not foreground(main), "Alt+F, S in notepad opens notepad's Save As")
        xdotool("key", "Escape")

        missed = []
        for scan in scan_lines(args.scanlines, 3):
            click_into(other)
            scanner.type_line(scan["line"], alt=True)
            if not poll(lambda: fields_show(main, scan), 10):
                missed.append(f"{scan['line']!r} left Text1 {main.text('Text1')!r}")
        checks.check(not missed, "3 Alt-led scans typed from notepad land whole in Tarnix", "; ".join(missed))
        checks.check(notepad_text(other) == "", "nothing of them reaches notepad", repr(notepad_text(other)))

        click_into(other)
        scanner.chord("Alt_L", "F4")
        closed = poll(lambda: notepad.poll() is not None, 5)
        checks.check(closed and tarnix.poll() is None, "Alt+F4 in notepad closes notepad, not Tarnix")

        # Whatever the chord left behind must not outlast it: the next scans and the
        # shortcut keys work in Tarnix, now in front.
        missed = []
        for scan in scan_lines(args.scanlines, 6)[3:]:
            scanner.type_line(scan["line"], alt=True)
            if not poll(lambda: fields_show(main, scan), 10):
                missed.append(f"{scan['line']!r} left Text1 {main.text('Text1')!r}")
        checks.check(not missed, "after it, 3 Alt-led scans land whole in Tarnix", "; ".join(missed))
        xdotool("key", "F2")
        about = poll(window("About").read, 5, 0.2)
        checks.check(about, "then F2 opens the About box")

        # The About box up, another program (one that ignores a lone Alt) takes the keyboard.
        start(os.path.join(args.bin, "..", "tests", "windows", "keeper.exe"))
        keeper = window("keeper")
        poll(lambda: foreground(keeper), 10, 0.2)
        line = scan_lines(args.scanlines, 4)[3]["line"]
        scanner.type_line(line, alt=True)
        kept = poll(lambda: notepad_text(keeper) == line + "\r\n", 5)
        checks.check(about and kept, "a scan typed while the About box is up reaches the program that has the keyboard",
                     repr(notepad_text(keeper)))
    finally:
        for process in started:
            if process.poll() is None:
                process.kill()
        wine.close()


if __name__ == "__main__":
    sys.exit(desktop_e2e_win.main(scenario))
