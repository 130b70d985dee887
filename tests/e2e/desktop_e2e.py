#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Drives the real tarnix program on an X server the way a person and a scanner do, and
reads its fields through the accessibility bus the way a screen reader does.

Run inside an X server and a session bus of its own (with-xvfb.sh does both):

    with-xvfb.sh /usr/bin/python3 desktop_e2e.py --tarnix PATH --scanlines PATH SCENARIO

Scenarios:
    alt-and-scans     Alt pressed in another program brings Tarnix forward with its input
                      box focused and empty; scans typed at full speed all decode.
    exit-by-ctrl-x    with a lookup made and the help window open, Ctrl+X ends the
                      program: status 0, no web-engine helper left, nothing alarming on
                      stderr.
    exit-by-closing   the same, ending by closing the main window.
    first-lookup      from a cold start, web lookup switched on and a scan typed at once,
                      then scans back to back: every one decodes, and the window keeps
                      its place, its X window and the keyboard.
    hostile-page      a lookup page that opens JavaScript dialogs, asks for permissions,
                      full screen, a print, a new window and a download: no dialog, no
                      file, and the scans after it all decode.
    renderer-failure  the page's renderer killed, then a page that hangs it: scans go on
                      decoding and the next lookup loads in a fresh renderer.
    screen-reader     a scan with lookup on, heard through the accessibility bus: the last
                      scan line and the lookup status as the labels' names, and events
                      for every change of them and of the three result boxes.
    alt-from-other-program
                      another program has the keyboard; Alt and a scan line come at once,
                      as a scanner types them: the whole line lands in Tarnix and nothing
                      in the other program.
    keyboard-freeze   another program has the keyboard while Tarnix is stopped with Ctrl+Z
                      (SIGTSTP to its process group), with SIGSTOP, and in a frozen control
                      group where the machine allows one: Alt and typing reach the other
                      program within the bound; resumed, an Alt-prefixed scan lands whole.
    keyboard-layouts  a scanner played at the key level (the key codes of a US keyboard)
                      under the desktop layouts us, de, fr, cz, us dvorak and with Caps
                      Lock on: every scan decodes; under de, an Alt-prefixed scan from
                      another program lands whole.
    person-keys       another program has the keyboard: AltGr+Q types "@" there under de
                      (from the start, switched to after Tarnix started, and as the second
                      layout of a keymap), Alt+F then S runs its File > Save, and, under a
                      window manager, Alt+F4 closes it; Tarnix never takes the keyboard.
    modal-moments     with the help window focused, an Alt-led scan lands whole in Tarnix;
                      with the About box up, one typed in another program reaches that
                      program whole.
    one-per-session   a killed Tarnix's socket stops no start; of two starts at once one
                      ends with status 0; a later start ends with status 0 and brings the
                      one window forward with an empty, focused input box, and Alt-led
                      scans from another program land whole in it.
    wayland-layouts   (in with-sway.sh) the same scanner as a Wayland virtual keyboard
                      with a de keymap, Tarnix on Wayland and on XWayland, Caps Lock off
                      and on: every scan decodes.

Run with with-xvfb.sh --wm openbox for a desktop with a window manager.

Prints one line per check and a closing "N passed, N failed" line; the exit status is
not zero when a check failed.
"""

import argparse
import contextlib
import ctypes
import http.server
import os
import re
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

import pyatspi

from desktoptest import (Checks, OtherProgram, focus_window, hazardous_scans, poll, scan_lines,  # noqa: F401
                         window_manager_running, xdotool)

# The caption with the version, as the build gives it (--caption).
CAPTION = None
PARCEL_HOST = "wwwapps.ups.com"
PRODUCT_HOST = "www.upcdatabase.com"


def send_window_close(window_id):
    """Asks a window to close as a window manager's close button does (WM_DELETE_WINDOW)."""
    xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                    ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                    ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                ctypes.POINTER(Event)]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]

    display = xlib.XOpenDisplay(None)
    if not display:
        raise RuntimeError("cannot open the X display")
    event = Event()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = window_id
    event.xclient.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    event.xclient.data[1] = 0  # CurrentTime
    xlib.XSendEvent(display, window_id, 0, 0, ctypes.byref(event))
    xlib.XFlush(display)
    xlib.XCloseDisplay(display)


class LookupServer:
    """A loopback web proxy that answers every request itself with a small page and
    keeps the host and the path with query of each: the browser pane is pointed at it,
    so no request leaves the machine. page holds the body served; /file.bin is served
    as a download."""

    def __init__(self):
        self.requests = []
        self.page = b"<html><body>lookup</body></html>"
        owner = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                # Through a proxy the request line carries the whole address.
                address = urllib.parse.urlsplit(self.path)
                path = address.path + ("?" + address.query if address.query else "")
                owner.requests.append((address.hostname or self.headers.get("Host", ""), path))
                download = address.path == "/file.bin"
                body = b"0123456789" if download else owner.page
                self.send_response(200)
                self.send_header("Content-Type", "application/octet-stream" if download else "text/html")
                if download:
                    self.send_header("Content-Disposition", "attachment; filename=file.bin")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                try:
                    self.wfile.write(body)
                except (BrokenPipeError, ConnectionResetError):
                    pass  # the page was left before it arrived

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def close(self):
        self.server.shutdown()
        self.server.server_close()


def child_pids(pid):
    children = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if int(fields[1]) == pid:
            children.append(int(entry))
    return children


def process_name(pid):
    try:
        with open(f"/proc/{pid}/comm") as comm:
            return comm.read().strip()
    except OSError:
        return None


def web_engine_helpers(pid):
    """The web engine's helper processes below pid (they start one another)."""
    helpers, pending = [], [pid]
    while pending:
        for child in child_pids(pending.pop()):
            if (process_name(child) or "").startswith("QtWebEngine"):
                helpers.append(child)
            pending.append(child)
    return helpers


def alive(pid):
    name = process_name(pid)
    if name is None:
        return False
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


class Tarnix:
    """The program under test, with its accessible widgets."""

    def __init__(self, program, extra_env=None, own_group=False, user=None):
        env = dict(os.environ)
        for proxy in ("http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"):
            env.pop(proxy, None)
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env["QT_QPA_PLATFORM"] = "xcb"
        env.update(extra_env or {})
        self.stderr_file = tempfile.TemporaryFile(mode="w+")
        self.started = time.monotonic()
        # own_group: as a shell starts a job, so Ctrl+Z's SIGTSTP goes to its group.
        self.process = subprocess.Popen([program], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=self.stderr_file, process_group=0 if own_group else None, user=user)
        self.window = None
        self.app = None
        self.widgets = {}

    def find_window(self):
        # --all: both conditions, not either.
        out = xdotool("search", "--all", "--onlyvisible", "--pid", str(self.process.pid), "--name", "^Tarnix v",
                      check=False)
        return int(out.split()[0]) if out else None

    def wait_for_window(self, timeout=30):
        self.window = poll(self.find_window, timeout, 0.05)
        return self.window

    def main_window(self):
        """The main window as it is now: Qt makes it anew when the browser pane first
        needs OpenGL, so the first one found may be gone."""
        self.window = self.find_window() or self.window
        return self.window

    def focus_main_window(self, timeout=10):
        """Gives the main window the keyboard. Tried again while it fails: the window Qt
        is remaking for the browser pane can vanish between finding it and focusing it."""
        def try_focus():
            try:
                verb = "windowactivate" if window_manager_running() else "windowfocus"
                result = subprocess.run(["xdotool", verb, "--sync", str(self.main_window())],
                                        capture_output=True, text=True, timeout=5)
            except subprocess.TimeoutExpired:
                return False
            return result.returncode == 0
        if not poll(try_focus, timeout, 0.1):
            raise RuntimeError(f"the main window {self.main_window()} could not be given the keyboard")

    def wait_for_accessible(self, timeout=30):
        def find_app():
            try:
                for app in pyatspi.Registry.getDesktop(0):
                    if app is not None and app.name == "tarnix" and app.get_process_id() == self.process.pid:
                        return app
            except Exception:
                return None
            return None
        self.app = poll(find_app, timeout, 0.1)
        if not self.app:
            return False
        for name in ("Scan input", "Serial", "UPC Type", "UPC"):
            widget = poll(lambda: pyatspi.findDescendant(self.app, lambda a: a is not None and a.name == name),
                          timeout, 0.1)
            if not widget:
                return False
            self.widgets[name] = widget
        return True

    def text(self, name):
        text = self.widgets[name].queryText()
        return text.getText(0, text.characterCount)

    def focused(self, name):
        return self.widgets[name].getState().contains(pyatspi.STATE_FOCUSED)

    def answers(self):
        """Whether its loop runs: it answers the accessibility bus."""
        try:
            self.text("Scan input")
            return True
        except Exception:  # noqa: BLE001 - pyatspi raises GLib's errors while it does not
            return False

    def stderr(self):
        self.stderr_file.seek(0)
        return self.stderr_file.read()

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def start(program, checks, extra_env=None, own_group=False):
    tarnix = Tarnix(program, extra_env, own_group)
    window = tarnix.wait_for_window()
    if not checks.check(window is not None, "the main window appears"):
        raise SystemExit(report(checks, tarnix))
    checks.check(xdotool("getwindowname", str(window)) == CAPTION, f'caption is "{CAPTION}"',
                 xdotool("getwindowname", str(window)))
    if not checks.check(tarnix.wait_for_accessible(), "fields are readable through the accessibility bus"):
        raise SystemExit(report(checks, tarnix))
    return tarnix


def fields_show(tarnix, scan):
    return (tarnix.text("Serial") == scan["serial"] and tarnix.text("UPC Type") == scan["type"]
            and tarnix.text("UPC") == scan["data"] and tarnix.text("Scan input") == "")


def fields_text(tarnix):
    return {name: tarnix.text(name) for name in ("Scan input", "Serial", "UPC Type", "UPC")}


def type_scan(scan):
    # As a scanner types: the whole line at full speed, then its line end.
    xdotool("type", "--delay", "0", scan["line"])
    xdotool("key", "Return")


def scenario_alt_and_scans(args, checks):
    other = subprocess.Popen(["xmessage", "-geometry", "+800+700", "another program"],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    tarnix = None
    try:
        # xmessage names no process on its window: find it by its class.
        other_window = int(xdotool("search", "--sync", "--onlyvisible", "--classname", "xmessage").split()[0])
        tarnix = start(args.tarnix, checks)

        # Something left in the input box, then another program takes the keyboard.
        focus_window(tarnix.window)
        xdotool("type", "--delay", "0", "leftover")
        checks.check(poll(lambda: tarnix.text("Scan input") == "leftover", 5), "typing reaches the input box",
                     repr(tarnix.text("Scan input")))
        focus_window(other_window)
        xdotool("type", "--delay", "0", "elsewhere")
        checks.check(focus_is(other_window), "the other program has the keyboard")
        # Qt takes the loss of the keyboard in a little later than the X server reports it.
        checks.check(poll(lambda: not tarnix.focused("Scan input"), 5), "Tarnix sees that it lost the keyboard")
        checks.check(tarnix.text("Scan input") == "leftover", "keys typed into the other program stay out of Tarnix",
                     repr(tarnix.text("Scan input")))

        # Alt, pressed and released in the other program.
        xdotool("key", "alt")
        ready = poll(lambda: tarnix.text("Scan input") == "" and tarnix.focused("Scan input"), 5)
        checks.check(ready, "Alt in another program: input box focused and empty",
                     f"text {tarnix.text('Scan input')!r}, focused {tarnix.focused('Scan input')}")
        checks.check(poll(lambda: focus_is(tarnix.window), 5),
                     "Alt in another program: Tarnix has the keyboard", xdotool("getwindowfocus"))

        scans = scan_lines(args.scanlines, args.scans)
        type_scan(scans[0])
        checks.check(poll(lambda: fields_show(tarnix, scans[0]), 5), "a scan typed after Alt decodes",
                     f"want {scans[0]}, shown {fields_text(tarnix)}")

        # Scans at full speed, each checked before the next: none lost, none merged.
        started = time.monotonic()
        decoded = 0
        for index, scan in enumerate(scans):
            type_scan(scan)
            if not poll(lambda: fields_show(tarnix, scan), 5):
                checks.check(False, f"scan {index} of {len(scans)} decodes",
                             f"want {scan}, shown {fields_text(tarnix)}")
                break
            decoded += 1
        checks.check(decoded == len(scans), f"{decoded} of {len(scans)} scans typed at full speed decode "
                     f"({time.monotonic() - started:.1f} s)")

        # Keys other than Alt do nothing to the input box.
        focus_window(tarnix.window)
        xdotool("type", "--delay", "0", "abc")
        focus_window(other_window)
        xdotool("key", "ctrl", "shift", "super", "F10")
        checks.check(poll(lambda: tarnix.text("Scan input") == "abc", 1) and
                     not poll(lambda: tarnix.text("Scan input") != "abc", 0.5),
                     "other keys pressed elsewhere leave the input box alone", repr(tarnix.text("Scan input")))
        return report(checks, tarnix)
    finally:
        if tarnix:
            tarnix.kill()
        other.kill()
        other.wait()


def scenario_exit(args, checks, by_closing):
    server = LookupServer()
    proxy = f"--proxy-server=http://127.0.0.1:{server.port}"
    tarnix = None
    try:
        tarnix = start(args.tarnix, checks, {"QTWEBENGINE_CHROMIUM_FLAGS": proxy})
        focus_window(tarnix.window)
        xdotool("key", "ctrl+l")  # web lookup on
        scans = scan_lines(args.scanlines, 2)  # a product code, then a parcel
        for scan, host, path in ((scans[0], PRODUCT_HOST, f"/item.pl?upc={scans[0]['data']}"),
                                 (scans[1], PARCEL_HOST, "/etracking/tracking.cgi?")):
            # No Alt first: the input box keeps the keyboard while the browser pane starts.
            type_scan(scan)
            checks.check(poll(lambda: fields_show(tarnix, scan), 5), f"{scan['type']} scan decodes",
                         f"shown {fields_text(tarnix)}")
            wanted = poll(lambda: [r for r in server.requests if r[0] == host and r[1].startswith(path)], 60, 0.1)
            checks.check(bool(wanted), f"{scan['type']} lookup reaches {host}", f"requests {server.requests}")
        if scans[1]["data"]:
            checks.check(any(f"InquiryNumber1={scans[1]['data']}&" in r[1] for r in server.requests),
                         "the parcel lookup carries the decoded data")
        helpers = poll(lambda: web_engine_helpers(tarnix.process.pid), 10, 0.1)
        checks.check(bool(helpers), f"the browser pane runs {len(helpers)} helper processes")

        tarnix.focus_main_window()
        xdotool("key", "F1")  # the help window, left open
        help_window = poll(lambda: xdotool("search", "--all", "--onlyvisible", "--pid", str(tarnix.process.pid),
                                           "--name", "^Help$", check=False), 5)
        checks.check(len(help_window.split()) == 1, "the help window is open, once", f"help windows {help_window!r}")

        if by_closing:
            send_window_close(tarnix.main_window())
            how = "closing the main window"
        else:
            tarnix.focus_main_window()
            xdotool("key", "ctrl+x")
            how = "Ctrl+X"
        try:
            status = tarnix.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            status = None
        checks.check(status == 0, f"{how} ends the program with status 0", f"status {status}")
        left = poll(lambda: not [pid for pid in helpers if alive(pid)], 10, 0.05)
        checks.check(left, f"{how} leaves no helper process",
                     f"still running: {[pid for pid in helpers if alive(pid)]}")
        # Asked of the whole screen, not of the process: a window a helper kept would show.
        left = xdotool("search", "--onlyvisible", "--name", "^(Tarnix v.*|Help)$", check=False)
        checks.check(not left, f"{how} leaves no window", f"still shown: {left}")
        alarming = [line for line in tarnix.stderr().splitlines()
                    if re.search(r"abort|crash|segmentation|core dumped|terminate called|fatal|assert|"
                                 r"double free|corrupted", line, re.IGNORECASE)]
        checks.check(not alarming, f"{how} prints no crash or abort message", "; ".join(alarming))
        return report(checks, tarnix)
    finally:
        if tarnix:
            tarnix.kill()
        server.close()


class AccessibilityEvents:
    """Name and text changes as a screen reader hears them, collected while polled."""

    def __init__(self):
        from gi.repository import GLib
        self.context = GLib.MainContext.default()
        self.heard = []
        pyatspi.Registry.registerEventListener(self._hear, "object:text-changed:insert",
                                               "object:property-change:accessible-name")

    def _hear(self, event):
        try:
            source = event.source
            self.heard.append((event.type, source.name if source else "", source.description if source else "",
                               event.any_data if isinstance(event.any_data, str) else ""))
        except Exception:  # an object gone meanwhile
            pass

    def pump(self):
        while self.context.iteration(False):
            pass
        return self.heard


def scenario_screen_reader(args, checks):
    with lookup_session(args, checks) as (tarnix, _, _):
        events = AccessibilityEvents()
        events.pump()
        scan = product_scans(args, 1)[0]
        type_scan(scan)
        checks.check(poll(lambda: fields_show(tarnix, scan), 5), "the scan decodes")
        status = "Connecting to the UPC Database..."
        wanted = {
            "the last scan line": lambda e: e[0].endswith("accessible-name") and e[1] == scan["line"] + "\r\n"
            and e[2] == "Current scan code",
            "the lookup status": lambda e: e[0].endswith("accessible-name") and e[1] == status
            and e[2] == "Lookup status",
            "the serial": lambda e: e[0].endswith("insert") and e[1] == "Serial" and e[3] == scan["serial"],
            "the type": lambda e: e[0].endswith("insert") and e[1] == "UPC Type" and e[3] == scan["type"],
            "the data": lambda e: e[0].endswith("insert") and e[1] == "UPC" and e[3] == scan["data"],
        }
        for what, matches in wanted.items():
            checks.check(poll(lambda: any(matches(e) for e in events.pump()), 5), f"a screen reader hears {what}",
                         f"heard {[e for e in events.heard if e[1] != 'Scan input']}")
        return report(checks, tarnix)


def alt_scans_from(other, tarnix, scanner, scans):
    """How many of the scans, each typed while the other program has the keyboard, land
    whole in Tarnix."""
    whole = 0
    for scan in scans:
        other.focus()
        # One burst: Alt, then the line and its Return with no gap, as a scanner types.
        scanner.type_line(scan["line"], alt=True)
        whole += bool(poll(lambda: fields_show(tarnix, scan), 5))
    return whole


def scenario_alt_from_other_program(args, checks):
    from keyscanner import KeyScanner

    subprocess.run(["setxkbmap", "-layout", "us"], check=True)
    scanner = KeyScanner()
    with OtherProgram() as other:
        tarnix = start(args.tarnix, checks)
        try:
            scans = scan_lines(args.scanlines, 10)
            whole = alt_scans_from(other, tarnix, scanner, scans)
            checks.check(whole == len(scans), f"{whole} of {len(scans)} Alt-prefixed scans land whole in Tarnix")
            other.check_nothing_after(checks, "")
            return report(checks, tarnix)
        finally:
            scanner.close()
            tarnix.kill()


def scenario_one_per_session(args, checks):
    """Over the socket a killed Tarnix left, two starts at once give one window; a later
    start, with callers of junk and of half a request connected, brings that one forward."""
    from keyscanner import KeyScanner

    env = {"XDG_RUNTIME_DIR": tempfile.mkdtemp()}  # private to the user, as a session's is
    tarnixes = []

    def tarnix_windows():
        return xdotool("search", "--onlyvisible", "--name", "^Tarnix v", check=False).split()

    subprocess.run(["setxkbmap", "-layout", "us"], check=True)
    scanner = KeyScanner()
    with OtherProgram() as other:
        try:
            tarnixes.append(start(args.tarnix, checks, env))
            tarnixes[0].kill()
            sockets = [os.path.join(env["XDG_RUNTIME_DIR"], n) for n in os.listdir(env["XDG_RUNTIME_DIR"])
                       if n.endswith(".socket")]
            checks.check(len(sockets) == 1, "a killed Tarnix leaves its socket behind", f"{sockets}")
            racing = [Tarnix(args.tarnix, env) for _ in range(2)]
            tarnixes += racing
            poll(lambda: [t for t in racing if t.process.poll() is not None], 15, 0.05)
            ended = [t.process.returncode for t in racing if t.process.poll() is not None]
            checks.check(ended == [0], "of two starts at once, one ends with status 0", f"statuses {ended}")
            tarnix = next((t for t in racing if t.process.poll() is None), racing[0])
            if not checks.check(tarnix.wait_for_window() and tarnix.wait_for_accessible(), "the other shows its "
                                "window, readable through the accessibility bus"):
                return report(checks, tarnix)
            checks.check(len(tarnix_windows()) == 1, "one Tarnix window", f"{tarnix_windows()}")

            tarnix.focus_main_window()
            xdotool("type", "--delay", "0", "leftover")
            poll(lambda: tarnix.text("Scan input") == "leftover", 5)
            other.focus()
            callers = [socket.socket(socket.AF_UNIX) for _ in range(2)]
            with contextlib.suppress(OSError):  # junk, and a request that stops before its line end
                for caller in callers:
                    caller.connect(sockets[0] if sockets else "")
                callers[1].sendall(b"come-forward")
                callers[0].sendall(b"\xff" * 65536)
            second = Tarnix(args.tarnix, env)
            tarnixes.append(second)
            try:
                status = second.process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                status = None
            checks.check(status == 0, "a second start, with junk and a half request connected, ends with status 0",
                         f"status {status}")
            checks.check(len(tarnix_windows()) == 1 and tarnix.process.poll() is None, "one Tarnix window remains",
                         f"{tarnix_windows()}")
            checks.check(poll(lambda: focus_is(tarnix.window), 5), "it is in front with the keyboard",
                         xdotool("getwindowfocus"))
            checks.check(poll(lambda: tarnix.text("Scan input") == "" and tarnix.focused("Scan input"), 5),
                         "its input box is empty and focused", repr(tarnix.text("Scan input")))
            scans = scan_lines(args.scanlines, 6)
            whole = alt_scans_from(other, tarnix, scanner, scans)
            checks.check(whole == len(scans), f"{whole} of {len(scans)} Alt-prefixed scans land whole in it")
            return report(checks, tarnix)
        finally:
            scanner.close()
            for started in tarnixes:
                started.kill()


def layout_group(lock=None):
    """The keyboard's active layout (XKB group) on the display, after locking it to the
    group lock if given (as a layout switcher does, whatever the window manager binds)."""
    class State(ctypes.Structure):
        _fields_ = [("group", ctypes.c_ubyte), ("rest", ctypes.c_ubyte * 31)]

    xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XkbGetState.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.POINTER(State)]
    xlib.XkbLockGroup.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_uint]
    xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = xlib.XOpenDisplay(None)
    if lock is not None:
        xlib.XkbLockGroup(display, 0x100, lock)  # the core keyboard
        xlib.XSync(display, 0)
    state = State()
    xlib.XkbGetState(display, 0x100, ctypes.byref(state))
    xlib.XCloseDisplay(display)
    return state.group


def focus_is(window):
    return int(xdotool("getwindowfocus")) == window


def scenario_person_keys(args, checks):
    """A person's chords and AltGr in another program go where they would go without
    Tarnix, and Tarnix does not take the keyboard for them."""
    from keyscanner import KeyScanner

    def use_layout(*layout):
        subprocess.run(["setxkbmap", "-option", "", *layout], check=True)

    def altgr_q_three_times(other, what):
        other.focus()
        before = other.received()
        for _ in range(3):
            scanner.chord("Alt_R", "q")
        got = other.received_after(before, "@@@")
        checks.check(got == "@@@" and focus_is(other.window), f"{what}: AltGr+Q three times types @@@ in the "
                     "other program, which keeps the keyboard", f"{got!r}, focus {xdotool('getwindowfocus')}")

    use_layout("-layout", "us")
    scanner = KeyScanner()
    with OtherProgram() as other:
        use_layout("-layout", "de")
        tarnix = start(args.tarnix, checks)
        altgr_q_three_times(other, "layout de from the start")
        tarnix.kill()
        use_layout("-layout", "us")
        tarnix = start(args.tarnix, checks)
        try:
            use_layout("-layout", "de")
            altgr_q_three_times(other, "layout switched from us to de after Tarnix started")
            # A keymap of two layouts, de active, whose other layout has Alt where de has
            # AltGr. GNOME's mutter puts back within 20 ms any layout group another client
            # locks, so there de comes first; elsewhere it is the second, switched on.
            use_layout("-layout", "us,de")
            other.focus()
            if poll(lambda: layout_group(lock=1) == 1 and (time.sleep(0.05) or layout_group() == 1), 1):
                altgr_q_three_times(other, "keymap us,de with de switched on")
            else:
                use_layout("-layout", "de,us")
                altgr_q_three_times(other, "keymap de,us with de, the first, on")
            use_layout("-layout", "us")

            other.focus()
            scanner.chord("Alt_L", "f")
            time.sleep(0.3)
            scanner.type_line("s", enter=False)
            checks.check(poll(other.saved, 3) and focus_is(other.window),
                         "Alt+F, then S, in the other program runs its File > Save", f"saved {other.saved()}")
            if window_manager_running():
                other.focus()
                scanner.chord("Alt_L", "F4")
                checks.check(poll(lambda: other.process.poll() is not None, 5), "Alt+F4 closes the other program")
                checks.check(tarnix.process.poll() is None, "Tarnix stays")
            return report(checks, tarnix)
        finally:
            use_layout("-layout", "us")
            scanner.close()
            tarnix.kill()


def scenario_modal_moments(args, checks):
    """With the help window focused an Alt-led scan lands in Tarnix; with the About box up
    it reaches the program that has the keyboard."""
    from keyscanner import KeyScanner

    subprocess.run(["setxkbmap", "-layout", "us"], check=True)
    scanner = KeyScanner()
    with OtherProgram() as other:
        tarnix = start(args.tarnix, checks)
        try:
            scans = scan_lines(args.scanlines, 2)
            tarnix.focus_main_window()
            xdotool("key", "F1")
            focus_window(int(xdotool("search", "--sync", "--onlyvisible", "--name", "^Help$").split()[0]))
            scanner.type_line(scans[0]["line"], alt=True)
            checks.check(poll(lambda: fields_show(tarnix, scans[0]), 5), "help window focused: an Alt-led scan lands "
                         "whole in Tarnix", f"shown {fields_text(tarnix)}")

            tarnix.focus_main_window()
            xdotool("key", "F2")
            xdotool("search", "--sync", "--onlyvisible", "--name", "^About$")
            other.focus()
            before = other.received()
            scanner.type_line(scans[1]["line"], alt=True)
            got = other.received_after(before, scans[1]["line"] + "\n")
            checks.check(got == scans[1]["line"] + "\n", "About box up: an Alt-led scan typed in the other program "
                         "reaches it whole", repr(got))
            return report(checks, tarnix)
        finally:
            scanner.close()
            tarnix.kill()


def undecoded(tarnix, scanner, scans, **typing):
    """The scans the scanner types that do not decode, each with what Tarnix showed."""
    missed = []
    for scan in scans:
        scanner.type_line(scan["line"], **typing)
        if not poll(lambda: fields_show(tarnix, scan), 5):
            missed.append(f"{scan['line']!r} showed {fields_text(tarnix)}")
    return missed


def scenario_keyboard_layouts(args, checks):
    from keyscanner import KeyScanner

    def use_layout(*layout):
        subprocess.run(["setxkbmap", *layout], check=True)

    use_layout("-layout", "us")
    scanner = KeyScanner()
    with OtherProgram() as other:
        tarnix = start(args.tarnix, checks)
        try:
            scans = hazardous_scans(args.scanlines, 30)
            for index, (name, layout) in enumerate((("us", ["-layout", "us"]), ("de", ["-layout", "de"]),
                                                    ("fr", ["-layout", "fr"]), ("cz", ["-layout", "cz"]),
                                                    ("us dvorak", ["-layout", "us", "-variant", "dvorak"]))):
                use_layout(*layout)
                focus_window(tarnix.window)
                missed = undecoded(tarnix, scanner, scans[index * 5:index * 5 + 5])
                checks.check(not missed, f"layout {name}: 5 scans typed by key decode", "; ".join(missed))
            use_layout("-layout", "us")
            scanner.press("Caps_Lock")
            missed = undecoded(tarnix, scanner, scans[25:30])
            checks.check(not missed, "Caps Lock on: 5 scans typed by key decode", "; ".join(missed))
            scanner.press("Caps_Lock")

            use_layout("-layout", "de")
            other.focus()
            scan = scans[0]
            scanner.type_line(scan["line"], alt=True)
            checks.check(poll(lambda: fields_show(tarnix, scan), 5), "layout de: an Alt-prefixed scan from another "
                         "program lands whole", f"shown {fields_text(tarnix)}")
            other.check_nothing_after(checks, "")
            return report(checks, tarnix)
        finally:
            scanner.close()
            tarnix.kill()


def scenario_wayland_layouts(args, checks):
    """On sway (with-sway.sh): the virtual keyboard has the de keymap, as the desktop's."""
    from waylandkeyboard import WaylandKeyboard

    keyboard = WaylandKeyboard("de")
    scans = hazardous_scans(args.scanlines, 20)
    for index, platform in enumerate(("wayland", "xcb")):
        tarnix = Tarnix(args.tarnix, {"QT_QPA_PLATFORM": platform})
        try:
            if not checks.check(tarnix.wait_for_accessible(), f"on {platform}: fields are readable"):
                continue
            poll(lambda: tarnix.focused("Scan input"), 5)  # sway gives the new window the keyboard
            batch = scans[index * 10:index * 10 + 10]
            missed = undecoded(tarnix, keyboard, batch[:5])
            checks.check(not missed, f"on {platform}, layout de: 5 scans typed by key decode", "; ".join(missed))
            keyboard.caps_lock()
            missed = undecoded(tarnix, keyboard, batch[5:])
            checks.check(not missed, f"on {platform}, layout de, Caps Lock on: 5 scans typed by key decode",
                         "; ".join(missed))
            keyboard.caps_lock()
        finally:
            if checks.failed:
                print("--- tarnix stderr ---\n" + tarnix.stderr() + "--- end ---", flush=True)
            tarnix.kill()
    keyboard.close()
    return report(checks)


def process_state(pid):
    """The state letter of /proc/PID/stat: T when stopped, S sleeping, R running."""
    with open(f"/proc/{pid}/stat") as stat:
        return stat.read().rsplit(")", 1)[1].split()[0]


class FrozenGroup:
    """A cgroup v2 control group of its own with the program's process in it, frozen as a
    desktop session manager freezes an application's; None where the machine has no
    writable cgroup v2 hierarchy."""

    @staticmethod
    def make(pid):
        for root in ("/sys/fs/cgroup/unified", "/sys/fs/cgroup"):
            if not os.path.exists(os.path.join(root, "cgroup.procs")):
                continue
            path = tempfile.mkdtemp(prefix="tarnix-freeze-", dir=root) if os.access(root, os.W_OK) else None
            if path and os.path.exists(os.path.join(path, "cgroup.freeze")):
                return FrozenGroup(root, path, pid)
            if path:
                os.rmdir(path)
        return None

    def __init__(self, root, path, pid):
        self.root, self.path, self.pid = root, path, pid
        with open(f"/proc/{pid}/cgroup") as groups:
            home = next(line.split(":", 2)[2].strip() for line in groups if line.startswith("0::"))
        self.home = os.path.join(root, home.lstrip("/"))
        self._write("cgroup.procs", pid)

    def _write(self, name, value, where=None):
        with open(os.path.join(where or self.path, name), "w") as out:
            out.write(str(value))

    def frozen(self):
        with open(os.path.join(self.path, "cgroup.events")) as events:
            return "frozen 1" in events.read()

    def freeze(self, on):
        self._write("cgroup.freeze", 1 if on else 0)
        return poll(lambda: self.frozen() == on, 5, 0.02)

    def close(self):
        self.freeze(False)
        self._write("cgroup.procs", self.pid, self.home)
        os.rmdir(self.path)


def scenario_keyboard_freeze(args, checks):
    from keyscanner import KeyScanner

    def reaches_other(word, alt):
        """Types the word into the other program, after Alt if asked: seconds until it
        arrived there, or None."""
        other.focus()
        before = other.received()
        sent = time.monotonic()
        scanner.type_line(word, alt=alt, enter=False)
        if poll(lambda: other.received()[len(before):].endswith(word), 2, 0.005):
            return time.monotonic() - sent
        return None

    def blocked_while(state, stop, resume):
        """Tarnix stopped by stop(): Alt and a word typed at once reach the other program;
        resumed by resume(), an Alt-prefixed scan from the other program lands whole."""
        if not checks.check(stop(), f"{state}: Tarnix is stopped"):
            return
        took = reaches_other("hello", alt=True)
        checks.check(took is not None and took < 1.0, f"{state}: Alt, then typing, reach the other program "
                     f"({'never' if took is None else f'{took * 1000:.0f} ms'}; the other program saves every 50 ms)")
        took = reaches_other("again", alt=True)
        checks.check(took is not None, f"{state}: and again ({'never' if took is None else f'{took * 1000:.0f} ms'})")
        if not checks.check(resume(), f"{state}: Tarnix runs again"):
            return
        poll(tarnix.answers, 5)  # it has read what came meanwhile once it answers again
        scan = scans.pop()
        other.focus()
        before = other.received()
        scanner.type_line(scan["line"], alt=True)
        checks.check(poll(lambda: fields_show(tarnix, scan), 5), f"{state}, resumed: an Alt-prefixed scan from the "
                     "other program lands whole", f"shown {fields_text(tarnix)}")
        other.check_nothing_after(checks, before, f"{state}, resumed: nothing of it reaches the other program")

    subprocess.run(["setxkbmap", "-layout", "us"], check=True)
    scanner = KeyScanner()
    group = None
    with OtherProgram() as other:
        tarnix = start(args.tarnix, checks, own_group=True)
        try:
            pid = tarnix.process.pid
            scans = scan_lines(args.scanlines, 6)

            # Running: Alt brings Tarnix forward; typed into the other program again, a
            # word reaches it.
            focus_window(other.window)
            scanner.press("Alt_L")
            checks.check(poll(lambda: focus_is(tarnix.window), 5),
                         "running: Alt in the other program brings Tarnix forward")
            checks.check(reaches_other("hello", alt=False) is not None, "running: typing reaches the other program")

            def stopped():
                return poll(lambda: process_state(pid) == "T", 5, 0.01)

            def running():
                return poll(lambda: process_state(pid) != "T", 5, 0.01)

            blocked_while("Ctrl+Z (SIGTSTP to its process group)",
                          lambda: os.killpg(pid, signal.SIGTSTP) or stopped(),
                          lambda: os.killpg(pid, signal.SIGCONT) or running())
            blocked_while("SIGSTOP", lambda: os.kill(pid, signal.SIGSTOP) or stopped(),
                          lambda: os.kill(pid, signal.SIGCONT) or running())
            group = FrozenGroup.make(pid)
            if group:
                blocked_while("its control group frozen", lambda: group.freeze(True), lambda: group.freeze(False))
            else:
                print("skip its control group frozen: no writable cgroup v2 hierarchy here", flush=True)
            checks.check(tarnix.process.poll() is None, "Tarnix keeps running")
            return report(checks, tarnix)
        finally:
            if group:
                group.close()
            scanner.close()
            tarnix.kill()


HOSTILE_PAGE = b"""<html><head><title>hostile</title><script>
window.onbeforeunload = function (e) { e.preventDefault(); e.returnValue = "stay"; return "stay"; };
function attempt(f) { try { f(); } catch (e) {} }
attempt(function () { alert("alert"); });
attempt(function () { confirm("confirm?"); });
attempt(function () { prompt("prompt?", "x"); });
attempt(function () { window.open("/popup"); });
attempt(function () { window.print(); });
attempt(function () { document.documentElement.requestFullscreen(); });
attempt(function () { navigator.geolocation.getCurrentPosition(function () {}, function () {}); });
attempt(function () { Notification.requestPermission(); });
attempt(function () { navigator.mediaDevices.getUserMedia({video: true, audio: true}).catch(function () {}); });
</script></head><body><input id="field" autofocus>
<a id="file" href="/file.bin" download="file.bin">file</a><input id="chooser" type="file">
<script>
document.getElementById("file").click();
document.getElementById("chooser").click();
document.getElementById("field").focus();
</script></body></html>"""

HANGING_PAGE = b"<html><body>hang<script>setTimeout(function () { for (;;) {} }, 200);</script></body></html>"


def lookup_env(server, home):
    return {"QTWEBENGINE_CHROMIUM_FLAGS": f"--proxy-server=http://127.0.0.1:{server.port}", "HOME": home}


@contextlib.contextmanager
def lookup_session(args, checks, page=None, switch_on=True):
    """Tarnix started with an empty home folder and its pages from a LookupServer,
    focused, with web lookup switched on unless told otherwise; ended afterwards.
    Yields (tarnix, server, home)."""
    server = LookupServer()
    if page is not None:
        server.page = page
    home = tempfile.mkdtemp()
    tarnix = None
    try:
        tarnix = start(args.tarnix, checks, lookup_env(server, home))
        focus_window(tarnix.window)
        if switch_on:
            xdotool("key", "ctrl+l")
        yield tarnix, server, home
    finally:
        if tarnix:
            tarnix.kill()
        server.close()


def lookup_of(scan):
    """The path the lookup of a product-code scan asks for."""
    return f"/item.pl?upc={scan['data']}"


def requested(server, path, timeout=60):
    return poll(lambda: any(r[1] == path for r in server.requests), timeout, 0.05)


def scan_and_check(tarnix, checks, scan, what):
    type_scan(scan)
    return checks.check(poll(lambda: fields_show(tarnix, scan), 5) and tarnix.focused("Scan input"), what,
                        f"want {scan}, shown {fields_text(tarnix)}, focused {tarnix.focused('Scan input')}")


def product_scans(args, count):
    # Product codes only: every lookup goes to the same host, so one renderer serves them.
    return [scan for scan in scan_lines(args.scanlines, count * 3) if scan["type"] != "E28"][:count]


def window_position(window):
    """Its "Position: X,Y (screen: N)" line."""
    return xdotool("getwindowgeometry", str(window)).splitlines()[1].strip()


def renderers(pid):
    found = []
    for helper in web_engine_helpers(pid):
        try:
            with open(f"/proc/{helper}/cmdline", "rb") as cmdline:
                if b"--type=renderer" in cmdline.read():
                    found.append(helper)
        except OSError:
            pass
    return found


def dialogs(tarnix):
    """Dialog windows of the program, as a screen reader finds them."""
    roles = (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT, pyatspi.ROLE_FILE_CHOOSER)
    return [child.name for child in tarnix.app if child is not None and child.getRole() in roles]


def scenario_first_lookup(args, checks):
    with lookup_session(args, checks, switch_on=False) as (tarnix, server, _):
        before = window_position(tarnix.window)
        scans = product_scans(args, 4)
        # Web lookup on and the first scan at once, as fast as keys can be typed.
        xdotool("key", "ctrl+l", "type", "--delay", "0", scans[0]["line"])
        xdotool("key", "Return")
        checks.check(poll(lambda: fields_show(tarnix, scans[0]), 10), "a scan typed as lookup is switched on decodes",
                     f"shown {fields_text(tarnix)}")
        checks.check(bool(requested(server, lookup_of(scans[0]))), "its lookup reaches the server",
                     f"requests {server.requests}")
        for index, scan in enumerate(scans[1:], 2):
            scan_and_check(tarnix, checks, scan, f"scan {index}, typed straight after the one before, decodes")
        checks.check(tarnix.find_window() == tarnix.window, "the main window is never made anew",
                     f"{tarnix.window} became {tarnix.find_window()}")
        after = window_position(tarnix.window)
        checks.check(before == after, "the main window keeps its place on screen", f"{before}, then {after}")
        checks.check(focus_is(tarnix.window), "the main window keeps the keyboard")
        return report(checks, tarnix)


def scenario_hostile_page(args, checks):
    with lookup_session(args, checks, HOSTILE_PAGE) as (tarnix, server, home):
        scans = product_scans(args, 6)
        scan_and_check(tarnix, checks, scans[0], "the scan that opens the page decodes")
        checks.check(bool(requested(server, lookup_of(scans[0]))), "the page is requested")
        checks.check(bool(requested(server, "/file.bin", 10)), "the page asks for its download")
        time.sleep(1.0)  # the page's script has run by now
        decoded = sum(scan_and_check(tarnix, checks, scan, f"scan {index} after the page decodes") is True
                      for index, scan in enumerate(scans[1:], 1))
        checks.check(decoded == 5, f"{decoded} of 5 scans after the page decode")
        checks.check(not dialogs(tarnix), "no dialog is opened", f"dialogs {dialogs(tarnix)}")
        checks.check(focus_is(tarnix.window), "the main window keeps the keyboard")
        checks.check(bool(requested(server, lookup_of(scans[-1]))), "the next lookup leaves the page")
        written = [os.path.join(root, name) for root, _, names in os.walk(home) for name in names]
        checks.check(not written, "nothing is written to the home folder", f"{written}")
        return report(checks, tarnix)


def scenario_renderer_failure(args, checks):
    with lookup_session(args, checks) as (tarnix, server, _):
        scans = product_scans(args, 9)
        scan_and_check(tarnix, checks, scans[0], "the first lookup's scan decodes")
        checks.check(bool(requested(server, lookup_of(scans[0]))), "the first page is requested")
        killed = poll(lambda: renderers(tarnix.process.pid), 10, 0.1)
        for pid in killed:
            os.kill(pid, 9)
        checks.check(bool(killed) and poll(lambda: not [pid for pid in killed if alive(pid)], 5, 0.05),
                     "the renderer is killed", f"renderers found: {killed}")
        for index, scan in enumerate(scans[1:4], 1):
            scan_and_check(tarnix, checks, scan, f"scan {index} after the renderer died decodes")
        checks.check(bool(requested(server, lookup_of(scans[3]))), "the next lookup loads after the renderer died")
        fresh = poll(lambda: [pid for pid in renderers(tarnix.process.pid) if pid not in killed], 10, 0.1)
        checks.check(bool(killed) and bool(fresh), "in a fresh renderer",
                     f"killed {killed}, renderers {renderers(tarnix.process.pid)}")

        # A page that hangs its renderer: the lookups after it load in a fresh one, and
        # the hung one does not go on spinning.
        server.page = HANGING_PAGE
        scan_and_check(tarnix, checks, scans[4], "the scan that opens a hanging page decodes")
        checks.check(bool(requested(server, lookup_of(scans[4]))), "the hanging page is requested")
        hung = poll(lambda: renderers(tarnix.process.pid), 10, 0.1)
        time.sleep(0.5)  # the page's script has spun up by now
        server.page = b"<html><body>fine</body></html>"
        for index, scan in enumerate(scans[5:], 1):
            scan_and_check(tarnix, checks, scan, f"scan {index} after the renderer hung decodes")
        checks.check(bool(requested(server, lookup_of(scans[-1]), 30)), "a lookup after the hang is requested",
                     f"requests {server.requests[-4:]}")
        checks.check(bool(hung) and bool(poll(lambda: [pid for pid in renderers(tarnix.process.pid)
                                                       if pid not in hung], 15, 0.1))
                     and poll(lambda: not [pid for pid in hung if alive(pid)], 15, 0.1),
                     "the hung renderer is ended and a fresh one takes over",
                     f"hung {hung}, renderers now {renderers(tarnix.process.pid)}")
        checks.check(tarnix.process.poll() is None, "the program keeps running")
        return report(checks, tarnix)


def report(checks, tarnix=None):
    if checks.failed and tarnix is not None:
        print("--- tarnix stderr ---\n" + tarnix.stderr() + "--- end ---", flush=True)
    print(f"{checks.passed} passed, {checks.failed} failed", flush=True)
    return 0 if checks.failed == 0 else 1


SCENARIOS = {
    "alt-and-scans": scenario_alt_and_scans,
    "exit-by-ctrl-x": lambda args, checks: scenario_exit(args, checks, by_closing=False),
    "exit-by-closing": lambda args, checks: scenario_exit(args, checks, by_closing=True),
    "first-lookup": scenario_first_lookup,
    "hostile-page": scenario_hostile_page,
    "renderer-failure": scenario_renderer_failure,
    "alt-from-other-program": scenario_alt_from_other_program,
    "screen-reader": scenario_screen_reader,
    "keyboard-layouts": scenario_keyboard_layouts,
    "keyboard-freeze": scenario_keyboard_freeze,
    "person-keys": scenario_person_keys,
    "modal-moments": scenario_modal_moments,
    "one-per-session": scenario_one_per_session,
    "wayland-layouts": scenario_wayland_layouts,
}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--tarnix", required=True)
    parser.add_argument("--scanlines", required=True)
    parser.add_argument("--scans", type=int, default=200)
    parser.add_argument("--caption", required=True, help='the main window\'s caption, "Tarnix vX.Y.Z"')
    parser.add_argument("scenario", choices=list(SCENARIOS))
    args = parser.parse_args()
    global CAPTION
    CAPTION = args.caption

    # The accessibility bus, on the session bus this test runs in.
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    checks = Checks()
    try:
        return SCENARIOS[args.scenario](args, checks)
    except (RuntimeError, subprocess.SubprocessError, OSError) as error:
        checks.check(False, "the scenario runs to its end", str(error))
        return report(checks)
    finally:
        bus.terminate()
        bus.wait()


if __name__ == "__main__":
    sys.exit(main())
