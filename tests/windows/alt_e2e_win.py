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
    """A person's click into a window, at the first of a few places that makes it the
    foreground (another window, Tarnix's or its About box, may cover one); the scenario
    cannot go on unless one does."""
    left, top, right, bottom = window.read()["rect"]
    for x, y in ((right - 80, bottom - 40), (left + 30, top + 100), (left + 100, top + 80)):
        xdotool("mousemove", str(x), str(y), "click", "1")
        if poll(lambda: foreground(window), 3, 0.2):
            return
    raise RuntimeError(f"{window.title!r} did not take the foreground within 3 s of a click into it, at 3 places")


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

        # Both keys let go at once, as a person does: under Wine their releases reach no
        # hook when notepad closes first. Whatever the chord left behind must not outlast
        # it: what is typed next stays in Tarnix, now in front.
        scanner.chord("Alt_L", "F4", together=True)
        closed = poll(lambda: notepad.poll() is not None, 5)
        checks.check(closed and tarnix.poll() is None, "Alt+F4 in notepad closes notepad, not Tarnix")
        xdotool("type", "--delay", "20", "abc")
        checks.check(poll(lambda: main.text("Text1") == "abc", 3), "a word typed after it stays in Text1",
                     repr(main.text("Text1")))
        missed = []
        for scan in scan_lines(args.scanlines, 6)[3:]:
            scanner.type_line(scan["line"], alt=True)
            if not poll(lambda: fields_show(main, scan), 10):
                missed.append(f"{scan['line']!r} left Text1 {main.text('Text1')!r}")
        checks.check(not missed, "then 3 Alt-led scans land whole in Tarnix", "; ".join(missed))
        xdotool("key", "F2")
        checks.check(poll(window("About").read, 5, 0.2), "and F2 opens the About box")
        xdotool("key", "Return")
        poll(lambda: window("About").read() is None, 5, 0.2)

        # Another program, one that ignores a lone Alt, under a new notepad.
        start(os.path.join(args.bin, "..", "tests", "windows", "keeper.exe"))
        keeper = window("keeper")
        poll(lambda: foreground(keeper), 20, 0.5)
        notepad = start("notepad")
        if not checks.check(poll(lambda: foreground(other), 20, 0.5), "a new notepad takes the keyboard"):
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
        scan = scan_lines(args.scanlines, 7)[6]
        scanner.type_line(scan["line"], alt=True)
        checks.check(closed and poll(lambda: fields_show(main, scan), 10) and notepad_text(keeper) == "",
                     "Alt+F4 closes the new notepad too, and a scan typed at once lands whole in Tarnix",
                     repr(notepad_text(keeper)))

        # The About box up, another program takes the keyboard.
        xdotool("key", "F2")
        about = poll(window("About").read, 5, 0.2)
        click_into(keeper)
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
