#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Barcode scanners that Tarnix reads from their own devices, on the kernel input devices
of the virtual machine of scanner-vm.sh (guest.sh runs this). Scanners and the person's
keyboard are USB keyboards made through uinput; the fields are read through the
accessibility bus. Prints a line per check and a closing "N passed, N failed" line.

    scanner_vm.py --tarnix PATH --scanlines PATH x11|seat|wayland
"""

import argparse
import errno
import fcntl
import glob
import json
import os
import re
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from desktoptest import focus_window, hazardous_scans, poll, run_checks, scan_lines, xdotool  # noqa: E402
from desktop_e2e import Tarnix, fields_show, fields_text  # noqa: E402

SLOW = 60  # seconds: everything in the machine is 10 to 30 times slower
UI_DEV_CREATE, UI_DEV_DESTROY, UI_DEV_SETUP = 0x5501, 0x5502, 0x405C5503
UI_SET_EVBIT, UI_SET_KEYBIT, UI_GET_SYSNAME, EVIOCGRAB = 0x40045564, 0x40045565, 0x8040552C, 0x40044590
EV_SYN, EV_KEY, KEY_ENTER, KEY_LEFTSHIFT, KEY_LEFTALT = 0, 1, 28, 42, 56

# character -> (key code, Shift) on a US keyboard, as a scanner's firmware has it
US_KEYS = {" ": (57, False)}
for first, plain, shifted in ((2, "1234567890-=", "!@#$%^&*()_+"), (16, "qwertyuiop[]", "QWERTYUIOP{}"),
                              (30, "asdfghjkl;'`", 'ASDFGHJKL:"~'), (43, "\\zxcvbnm,./", "|ZXCVBNM<>?")):
    for offset, (p, s) in enumerate(zip(plain, shifted)):
        US_KEYS[p], US_KEYS[s] = (first + offset, False), (first + offset, True)


class UsbKeyboard:
    """A USB keyboard made through uinput, a scanner when its name says so: it types a US
    keyboard's key places, Shift around capitals, Alt first, Enter last, a report a
    millisecond as USB scanners send them."""

    def __init__(self, name):
        self.fd = os.open("/dev/uinput", os.O_WRONLY)
        fcntl.ioctl(self.fd, UI_SET_EVBIT, EV_KEY)
        for code in range(1, 128):
            fcntl.ioctl(self.fd, UI_SET_KEYBIT, code)
        fcntl.ioctl(self.fd, UI_DEV_SETUP, struct.pack("<HHHH80sI", 3, 0x1234, 0x5678, 1, name.encode(), 0))
        fcntl.ioctl(self.fd, UI_DEV_CREATE)
        device = fcntl.ioctl(self.fd, UI_GET_SYSNAME, bytes(64)).split(b"\0")[0].decode()
        events = poll(lambda: glob.glob(f"/sys/class/input/{device}/event*"), 10)
        self.node = "/dev/input/" + os.path.basename(events[0])

    def key(self, code, value):
        os.write(self.fd, struct.pack("<qqHHi", 0, 0, EV_KEY, code, value) + struct.pack("<qqHHi", 0, 0, EV_SYN, 0, 0))
        time.sleep(0.001)

    @staticmethod
    def events(line, enter=True):
        """The key events of a line: (code, 1 press or 0 release)."""
        for code, shift in [(KEY_LEFTALT, False)] + [US_KEYS[c] for c in line] + ([(KEY_ENTER, False)] if enter else []):
            yield from [(KEY_LEFTSHIFT, 1)] if shift else []
            yield from [(code, 1), (code, 0)]
            yield from [(KEY_LEFTSHIFT, 0)] if shift else []

    def type_line(self, line, enter=True):
        for code, value in self.events(line, enter):
            self.key(code, value)

    def unplug(self):
        fcntl.ioctl(self.fd, UI_DEV_DESTROY)
        os.close(self.fd)


def grab_error(node):
    """0 when a grab of the device succeeds (let go at once), else its errno."""
    try:
        fd = os.open(node, os.O_RDONLY | os.O_NONBLOCK)
        try:
            fcntl.ioctl(fd, EVIOCGRAB, 1)
            fcntl.ioctl(fd, EVIOCGRAB, 0)
        finally:
            os.close(fd)
    except OSError as error:
        return error.errno
    return 0


def taken(node):
    return poll(lambda: grab_error(node) == errno.EBUSY, SLOW, 0.1)


def devices_open(tarnix):
    links = (os.readlink(fd) for fd in glob.glob(f"/proc/{tarnix.process.pid}/fd/*"))
    return sorted(link for link in links if link.startswith("/dev/input/"))


def udev_tags(node):
    out = subprocess.run(["udevadm", "info", "-q", "property", "-n", node], capture_output=True, text=True).stdout
    return " ".join(re.findall(r"^TAGS=(.*)$", out, re.M))


def hold(node):
    """Takes the device as another program would; os.close lets it go."""
    fd = os.open(node, os.O_RDONLY | os.O_NONBLOCK)
    fcntl.ioctl(fd, EVIOCGRAB, 1)
    return fd


def scan_decodes(tarnix, scanner, scan):
    scanner.type_line(scan["line"])
    return poll(lambda: fields_show(tarnix, scan), SLOW, 0.1)


def start(program, checks, wayland=False):
    tarnix = Tarnix(program, {"QT_QPA_PLATFORM": "wayland"} if wayland else None)
    if not checks.check((wayland or tarnix.wait_for_window(SLOW * 2)) and tarnix.wait_for_accessible(SLOW * 2),
                        "Tarnix starts and its fields are readable", tarnix.stderr()):
        tarnix.kill()
        raise RuntimeError("Tarnix did not start")
    return tarnix


def scenario_x11(args, checks):
    """With-xvfb.sh --wm openbox, as root: Tarnix could open any device."""
    keyboard = UsbKeyboard("Tarnix VM Keyboard")
    other = subprocess.Popen(["xmessage", "-geometry", "+800+700", "another program"])
    scanner = UsbKeyboard("USB Barcode Scanner")
    tarnix = start(args.tarnix, checks)
    try:
        other_window = int(xdotool("search", "--sync", "--onlyvisible", "--classname", "xmessage").split()[0])
        scans = scan_lines(args.scanlines, 8)
        checks.check(taken(scanner.node), "a scanner present at the start is taken: a second grab gets EBUSY")
        decoded = 0
        for scan in scans[:3]:
            focus_window(other_window)
            decoded += int(xdotool("getwindowfocus")) == other_window and bool(scan_decodes(tarnix, scanner, scan))
        checks.check(decoded == 3, f"{decoded} of 3 scans decode, each typed while another program has the keyboard",
                     str(fields_text(tarnix)))

        checks.check(grab_error(keyboard.node) == 0 and devices_open(tarnix) == [scanner.node],
                     "the person's keyboard is held by nobody, and Tarnix has no input device open but the scanner",
                     f"grab: {os.strerror(grab_error(keyboard.node))}; Tarnix has {devices_open(tarnix)} open")
        checks.check("uaccess" in udev_tags(scanner.node) and "uaccess" not in udev_tags(keyboard.node),
                     "udev gives the person at the seat the scanner alone",
                     f"scanner {udev_tags(scanner.node)}, keyboard {udev_tags(keyboard.node)}")

        scanner.type_line(scans[3]["line"][:20], enter=False)
        scanner.unplug()
        time.sleep(2)
        checks.check(tarnix.process.poll() is None and tarnix.text("Scan input") == "",
                     "unplugged mid-scan: Tarnix runs on, with nothing of the cut scan in its input box",
                     repr(tarnix.text("Scan input")))
        scanner = UsbKeyboard("USB Barcode Scanner")
        checks.check(taken(scanner.node) and scan_decodes(tarnix, scanner, scans[4])
                     and devices_open(tarnix) == [scanner.node], "plugged in again: the next scan decodes",
                     f"shown {fields_text(tarnix)}, open {devices_open(tarnix)}")

        # Two scanners typing at once: each line whole, none mixed with the other's.
        second = UsbKeyboard("Bar Code Reader")
        first_keys = list(UsbKeyboard.events(scans[5]["line"]))
        second_keys = list(UsbKeyboard.events(scans[6]["line"], enter=False))
        taken(second.node)
        for i in range(max(len(first_keys), len(second_keys))):
            for device, keys in ((scanner, first_keys), (second, second_keys)):
                if i < len(keys):
                    device.key(*keys[i])
        first_whole = poll(lambda: fields_show(tarnix, scans[5]), SLOW, 0.1)
        second.key(KEY_ENTER, 1), second.key(KEY_ENTER, 0)
        checks.check(first_whole and poll(lambda: fields_show(tarnix, scans[6]), SLOW, 0.1),
                     "two scanners typing at once: each line decodes whole", str(fields_text(tarnix)))
        second.unplug()

        # A line longer than any scan is dropped whole, said once, and the next one decodes.
        # Typed in bursts of 8 characters, 32 events, that the kernel's 64 for a reader hold.
        for count, (code, value) in enumerate(UsbKeyboard.events("a" * 1030)):
            os.write(scanner.fd, struct.pack("<qqHHi", 0, 0, EV_KEY, code, value) + struct.pack("<qqHHi", 0, 0, EV_SYN, 0, 0))
            if count % 16 == 15:
                time.sleep(0.02)
        checks.check(scan_decodes(tarnix, scanner, scans[7]) and tarnix.stderr().count("without a line end") == 1
                     and "lost" not in tarnix.stderr(),
                     "a line of 1030 characters is dropped with one line on stderr, and the next scan decodes",
                     f"shown {fields_text(tarnix)}; stderr {tarnix.stderr()[-400:]}")

        subprocess.run(["setxkbmap", "-layout", "de"], check=True)
        missed = [s["line"] for s in hazardous_scans(args.scanlines, 2) if not scan_decodes(tarnix, scanner, s)]
        checks.check(not missed, "under the desktop layout de, 2 scans holding +, /, y and z decode", str(missed))
    finally:
        tarnix.kill()
        other.kill()
        if checks.failed:
            print("--- tarnix stderr ---\n" + tarnix.stderr() + "--- end ---", flush=True)


def scenario_seat(args, checks):
    """With-xvfb.sh, Tarnix as an ordinary user: the seat's access to the scanner given and
    taken with ACLs as logind does at a user switch, and another program holding it."""
    user = "tarnixvm"
    subprocess.run(["xhost", f"+SI:localuser:{user}"], check=True, capture_output=True)
    scanner = UsbKeyboard("USB Barcode Scanner")
    env = {"HOME": f"/home/{user}", "XDG_RUNTIME_DIR": args.runtime} if args.runtime else {"HOME": f"/home/{user}"}
    tarnix = Tarnix(args.tarnix, env, user=user)
    held = None
    try:
        def holds():
            return grab_error(scanner.node) == errno.EBUSY and devices_open(tarnix) == [scanner.node]

        def free():
            return grab_error(scanner.node) == 0 and not devices_open(tarnix)

        def told(text):
            return tarnix.stderr().count(text)

        def acl(*change):
            subprocess.run(["setfacl", *change, scanner.node], check=True)
            return time.monotonic()

        tarnix.wait_for_window(SLOW * 2)
        checks.check(poll(lambda: told("not read") == 1, SLOW, 0.2) and free(),
                     "no access at all: one line on stderr, and the scanner is left to the desktop", tarnix.stderr())
        acl("-m", f"u:{user}:rw")
        checks.check(poll(holds, SLOW, 0.1) and told("is read by Tarnix now") == 1, "access given: taken",
                     tarnix.stderr())
        since = acl("-x", f"u:{user}")
        let_go = poll(free, SLOW, 0.05)
        checks.check(let_go, f"access taken away: let go after {time.monotonic() - since:.1f} s (in the VM)",
                     f"open {devices_open(tarnix)}")
        acl("-m", f"u:{user}:rw")
        checks.check(poll(holds, SLOW, 0.1), "access given back: taken again", tarnix.stderr())

        acl("-x", f"u:{user}")
        poll(free, SLOW, 0.05)
        held = hold(scanner.node)
        acl("-m", f"u:{user}:rw")
        busy = poll(lambda: told("another program has taken it") == 1, SLOW, 0.2)
        os.close(held)
        held = None
        checks.check(busy and poll(holds, SLOW, 0.2) and told("another program has taken it") == 1,
                     "held by another program when access came: told once, taken once it is free", tarnix.stderr())
    finally:
        if held is not None:
            os.close(held)
        tarnix.kill()
        if checks.failed:
            print("--- tarnix stderr ---\n" + tarnix.stderr() + "--- end ---", flush=True)


def focused_app():
    nodes = [json.loads(subprocess.run(["swaymsg", "-t", "get_tree"], capture_output=True, text=True).stdout)]
    while nodes:
        node = nodes.pop()
        if node.get("focused"):
            return node.get("app_id")
        nodes += node.get("nodes", []) + node.get("floating_nodes", [])


def scenario_wayland(args, checks):
    """As an ordinary user, in a session bus: Tarnix reads the scanner by the access udev
    gives the seat a moment after the node appears."""
    runtime = tempfile.mkdtemp()
    with open(os.path.join(runtime, "sway.conf"), "w") as config:
        config.write("output HEADLESS-1 resolution 1280x1024\nxwayland disable\n")
    sway = subprocess.Popen(["sway", "-c", config.name], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            env=dict(os.environ, XDG_RUNTIME_DIR=runtime, WLR_BACKENDS="headless",
                                     WLR_LIBINPUT_NO_DEVICES="1", WLR_RENDERER="pixman"))
    tarnix = other = None
    try:
        display = poll(lambda: [n for n in os.listdir(runtime) if re.fullmatch(r"wayland-\d+", n)], SLOW)
        ipc = poll(lambda: glob.glob(os.path.join(runtime, "sway-ipc.*.sock")), SLOW)
        if not (display and ipc):
            raise RuntimeError("sway did not start")
        os.environ.update(XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY=display[0], SWAYSOCK=ipc[0])
        tarnix = start(args.tarnix, checks, wayland=True)
        other = subprocess.Popen(["wev"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        elsewhere = poll(lambda: focused_app() == "wev", SLOW, 0.2)
        scanner = UsbKeyboard("USB Barcode Scanner")
        scan = scan_lines(args.scanlines, 1)[0]
        checks.check(elsewhere and taken(scanner.node) and scan_decodes(tarnix, scanner, scan),
                     "a scanner plugged in while another client has the keyboard: its scan decodes",
                     f"focused {focused_app()}, shown {fields_text(tarnix)}, stderr {tarnix.stderr()}")
    finally:
        for process in (tarnix, other, sway):
            if process is not None:
                process.kill()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--tarnix", required=True)
    parser.add_argument("--scanlines", required=True)
    parser.add_argument("--runtime", help="the ordinary user's XDG_RUNTIME_DIR, for the seat")
    parser.add_argument("desktop", choices=["x11", "seat", "wayland"])
    args = parser.parse_args()
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        scenarios = {"x11": scenario_x11, "seat": scenario_seat, "wayland": scenario_wayland}
        return run_checks(scenarios[args.desktop], args)
    finally:
        bus.terminate()
        bus.wait()


if __name__ == "__main__":
    sys.exit(main())
