# SPDX-License-Identifier: MIT
"""A keyboard-emulating barcode scanner on an X server, as the hardware is: it sends the
places of a US keyboard's keys (key codes through XTest), Shift around capitals and
shifted signs, and knows nothing of the layout the desktop has set. Unlike `xdotool
type`, which picks for each character a key that gives it in the current layout, it
shows what a scanner's line becomes under another layout or with Caps Lock on."""

import time

from Xlib import X, XK, display
from Xlib.ext import xtest


class KeyScanner:
    def __init__(self):
        """Learns the key of each character from the server's keymap, which must be the
        US one now (setxkbmap -layout us): a scanner's firmware has it built in."""
        self.display = display.Display()
        self.keys = {}
        first = self.display.display.info.min_keycode
        last = self.display.display.info.max_keycode
        for keycode in range(first, last + 1):
            for level, shift in ((0, False), (1, True)):
                keysym = self.display.keycode_to_keysym(keycode, level)
                if 0x20 <= keysym <= 0x7E and chr(keysym) not in self.keys:
                    self.keys[chr(keysym)] = (keycode, shift)
        self.code = {name: self.display.keysym_to_keycode(XK.string_to_keysym(name))
                     for name in ("Shift_L", "Alt_L", "Alt_R", "Return", "Caps_Lock", "Scroll_Lock", "F4")}

    def _tap(self, keycode):
        xtest.fake_input(self.display, X.KeyPress, keycode)
        xtest.fake_input(self.display, X.KeyRelease, keycode)

    def press(self, name):
        """One key by its US name (Caps_Lock, Alt_L, Return, Shift_L)."""
        self._tap(self.code[name])
        self.display.sync()

    def chord(self, modifier, key, hold=0.08, together=False):
        """A person's chord: the modifier (a US key name) held, the key (a name or a
        character) pressed and released hold seconds later, then the modifier let go,
        hold seconds after that or, with together, at once."""
        modifier = self.code[modifier]
        key = self.code[key] if key in self.code else self.keys[key][0]
        xtest.fake_input(self.display, X.KeyPress, modifier)
        self.display.sync()
        time.sleep(hold)
        if together:
            xtest.fake_input(self.display, X.KeyPress, key)
            self.display.sync()
            xtest.fake_input(self.display, X.KeyRelease, key)
        else:
            self._tap(key)
            self.display.sync()
            time.sleep(hold)
        xtest.fake_input(self.display, X.KeyRelease, modifier)
        self.display.sync()

    def type_line(self, line, alt=False, delay=0.0, enter=True):
        """The line and its Return (unless enter is false), as one burst unless delay
        (seconds a key) is given; Alt first when alt is set, as scanners open their lines."""
        if alt:
            self._tap(self.code["Alt_L"])
        for character in line:
            keycode, shift = self.keys[character]
            if shift:
                xtest.fake_input(self.display, X.KeyPress, self.code["Shift_L"])
            self._tap(keycode)
            if shift:
                xtest.fake_input(self.display, X.KeyRelease, self.code["Shift_L"])
            if delay:
                self.display.sync()
                time.sleep(delay)
        if enter:
            self._tap(self.code["Return"])
        self.display.sync()

    def close(self):
        self.display.close()
