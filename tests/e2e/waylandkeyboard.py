# SPDX-License-Identifier: MIT
"""A keyboard-emulating barcode scanner on a Wayland compositor: one virtual keyboard
(the protocol wtype uses, zwp_virtual_keyboard_v1) for the whole run, with the keymap of
the desktop layout it is given, sending the key numbers of a US keyboard's keys and
Shift around capitals. Unlike `wtype TEXT`, which makes up a keymap with a key for each
character, the keys stand where a scanner presses them, so the layout decides what they
mean to a program that reads characters from the keymap.

Speaks the Wayland wire protocol itself; the keymaps come from libxkbcommon."""

import array
import ctypes
import os
import socket
import struct
import time

XKB_KEYMAP_FORMAT_TEXT_V1 = 1
KEY_LEFTSHIFT, KEY_LEFTALT, KEY_ENTER, KEY_CAPSLOCK = 42, 56, 28, 58


class _RuleNames(ctypes.Structure):
    _fields_ = [(name, ctypes.c_char_p) for name in ("rules", "model", "layout", "variant", "options")]


class _Keymaps:
    def __init__(self):
        self.xkb = ctypes.CDLL("libxkbcommon.so.0")
        self.xkb.xkb_context_new.restype = ctypes.c_void_p
        self.xkb.xkb_keymap_new_from_names.restype = ctypes.c_void_p
        self.xkb.xkb_keymap_new_from_names.argtypes = [ctypes.c_void_p, ctypes.POINTER(_RuleNames), ctypes.c_int]
        self.xkb.xkb_keymap_get_as_string.restype = ctypes.c_void_p
        self.xkb.xkb_keymap_get_as_string.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.xkb.xkb_keymap_key_get_syms_by_level.argtypes = [
            ctypes.c_void_p, ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.POINTER(ctypes.POINTER(ctypes.c_uint32))]
        self.xkb.xkb_keymap_mod_get_index.argtypes = [ctypes.c_void_p, ctypes.c_char_p]
        self.xkb.xkb_keysym_to_utf32.restype = ctypes.c_uint32
        self.libc = ctypes.CDLL(None)
        self.libc.free.argtypes = [ctypes.c_void_p]
        self.context = self.xkb.xkb_context_new(0)

    def compile(self, layout, variant=None):
        names = _RuleNames(b"evdev", b"pc105", layout.encode(), variant.encode() if variant else None, None)
        keymap = self.xkb.xkb_keymap_new_from_names(self.context, ctypes.byref(names), 0)
        if not keymap:
            raise RuntimeError(f"libxkbcommon cannot compile the layout {layout} {variant or ''}")
        return keymap

    def text(self, keymap):
        pointer = self.xkb.xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1)
        text = ctypes.string_at(pointer)
        self.libc.free(pointer)
        return text

    def characters(self, keymap):
        """character -> (key number, shift) of every key that types one."""
        keys = {}
        for keycode in range(8, 256):
            for level, shift in ((0, False), (1, True)):
                syms = ctypes.POINTER(ctypes.c_uint32)()
                if self.xkb.xkb_keymap_key_get_syms_by_level(keymap, keycode, 0, level, ctypes.byref(syms)) < 1:
                    continue
                code = self.xkb.xkb_keysym_to_utf32(syms[0])
                if 0x20 <= code <= 0x7E and chr(code) not in keys:
                    keys[chr(code)] = (keycode - 8, shift)
        return keys

    def modifier_bit(self, keymap, name):
        return 1 << self.xkb.xkb_keymap_mod_get_index(keymap, name.encode())


class WaylandKeyboard:
    def __init__(self, layout="us", variant=None):
        """Connects to $WAYLAND_DISPLAY and uploads the keymap of layout; the keys are
        those of a US keyboard whatever the layout."""
        keymaps = _Keymaps()
        self.us_keys = keymaps.characters(keymaps.compile("us"))
        desktop = keymaps.compile(layout, variant)
        self.shift_bit = keymaps.modifier_bit(desktop, "Shift")
        self.lock_bit = keymaps.modifier_bit(desktop, "Lock")
        self.locked = 0
        runtime = os.environ["XDG_RUNTIME_DIR"]
        self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.socket.connect(os.path.join(runtime, os.environ["WAYLAND_DISPLAY"]))
        self.next_id = 2
        self.buffer = b""
        registry = self._new_id()
        self._send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
        globals_ = {}
        self._roundtrip(lambda obj, op, body: self._global(obj, op, body, registry, globals_))
        seat = self._bind(registry, globals_, "wl_seat", 1)
        manager = self._bind(registry, globals_, "zwp_virtual_keyboard_manager_v1", 1)
        self.keyboard = self._new_id()
        self._send(manager, 0, struct.pack("<II", seat, self.keyboard))  # create_virtual_keyboard
        text = keymaps.text(desktop) + b"\0"
        fd = os.memfd_create("keymap")
        os.write(fd, text)
        self._send(self.keyboard, 0, struct.pack("<II", 1, len(text)), fds=[fd])  # keymap, XKB v1
        os.close(fd)
        self._roundtrip()
        self.started = time.monotonic()

    # The wire: object id, size and opcode, arguments in 32-bit words.
    def _new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def _send(self, obj, opcode, body, fds=()):
        message = struct.pack("<II", obj, ((8 + len(body)) << 16) | opcode) + body
        ancillary = [(socket.SOL_SOCKET, socket.SCM_RIGHTS, array.array("i", fds))] if fds else []
        self.socket.sendmsg([message], ancillary)

    def _string(self, text):
        data = text.encode() + b"\0"
        return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)

    def _global(self, obj, opcode, body, registry, globals_):
        if obj == registry and opcode == 0:  # wl_registry.global
            name, length = struct.unpack_from("<II", body)
            interface = body[8:8 + length - 1].decode()
            globals_[interface] = name

    def _bind(self, registry, globals_, interface, version):
        if interface not in globals_:
            raise RuntimeError(f"the compositor offers no {interface}")
        new = self._new_id()
        self._send(registry, 0, struct.pack("<I", globals_[interface]) + self._string(interface)
                   + struct.pack("<II", version, new))
        return new

    def _roundtrip(self, handle=None):
        """Waits until the compositor has handled every request sent so far."""
        callback = self._new_id()
        self._send(1, 0, struct.pack("<I", callback))  # wl_display.sync
        while True:
            while len(self.buffer) < 8 or len(self.buffer) < (struct.unpack_from("<I", self.buffer, 4)[0] >> 16):
                data = self.socket.recv(65536)
                if not data:
                    raise RuntimeError("the compositor closed the connection")
                self.buffer += data
            obj, word = struct.unpack_from("<II", self.buffer)
            size, opcode = word >> 16, word & 0xFFFF
            body, self.buffer = self.buffer[8:size], self.buffer[size:]
            if obj == 1 and opcode == 0:  # wl_display.error
                message = body[12:].rstrip(b"\0").decode(errors="replace")
                raise RuntimeError(f"Wayland protocol error: {message}")
            if obj == callback:
                return
            if handle:
                handle(obj, opcode, body)

    def _time(self):
        return int((time.monotonic() - self.started) * 1000) & 0xFFFFFFFF

    def _key(self, key, pressed):
        self._send(self.keyboard, 1, struct.pack("<III", self._time(), key, 1 if pressed else 0))

    def _modifiers(self, depressed):
        self._send(self.keyboard, 2, struct.pack("<IIII", depressed, 0, self.locked, 0))

    def _tap(self, key):
        self._key(key, True)
        self._key(key, False)

    def caps_lock(self):
        """Presses and releases Caps Lock: the lock turns on, or off again."""
        self._tap(KEY_CAPSLOCK)
        self.locked ^= self.lock_bit
        self._modifiers(0)
        self._roundtrip()

    def type_line(self, line, alt=False):
        """The line and its Return in one burst; Alt first when alt is set."""
        if alt:
            self._tap(KEY_LEFTALT)
        for character in line:
            key, shift = self.us_keys[character]
            if shift:
                self._key(KEY_LEFTSHIFT, True)
                self._modifiers(self.shift_bit)
            self._tap(key)
            if shift:
                self._key(KEY_LEFTSHIFT, False)
                self._modifiers(0)
        self._tap(KEY_ENTER)
        self._roundtrip()

    def close(self):
        self.socket.close()
