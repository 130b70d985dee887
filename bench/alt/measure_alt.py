#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Measures what becomes of a scan that starts with Alt: the scanner's Alt and its line
come at once, and every character of the line must reach Tarnix's input box.

On a virtual X server (Xvfb), bare and under the window managers openbox, xfwm4,
metacity, GNOME's mutter and KDE's kwin, another program has the keyboard when the scan comes: a small Tk text window
that keeps what it receives. The scanner is played at the key level, as the hardware
is: the key codes of a US keyboard through XTest, Alt then the line then its Return in
one burst, at D = 0, 2 and 5 ms a key. Tarnix decodes the line; its result fields and
input box are read through the accessibility bus, as a screen reader does: a scan
missing any character decodes to other fields or to none. Printed per window manager
and speed: scans that lost characters (did not decode whole) and the characters that
reached the other program, over all scans.

Under XWayland (sway, headless: tests/e2e/with-sway.sh) Tarnix has the keyboard and a
virtual keyboard with the US keymap types Alt then the line then Return at once;
printed: how many scans arrived whole.

Run as root from the source tree, after building Tarnix and the e2e helpers:

    bench/alt/measure_alt.py --build build-alt [--scans 300] [--wms none,openbox,xfwm4,metacity,mutter,kwin]
                             [--delays 0,2,5] [--no-sway]

Needs the packages of TARNIX_ALT_BENCH_PACKAGES in scripts/packages.sh. The sway part
runs sway as an ordinary user (made when missing; sway refuses to run as root).
"""

import argparse
import json
import pathlib
import subprocess
import sys
import time

HERE = pathlib.Path(__file__).resolve()
SOURCE = HERE.parents[2]
sys.path.insert(0, str(SOURCE / "tests" / "e2e"))
import desktop_e2e as e2e  # noqa: E402
from desktoptest import OtherProgram, poll, scan_lines  # noqa: E402
from keyscanner import KeyScanner  # noqa: E402
from waylandkeyboard import WaylandKeyboard  # noqa: E402

def start_tarnix(program):
    """Tarnix started with its fields readable through the accessibility bus."""
    tarnix = e2e.Tarnix(program)
    if not tarnix.wait_for_accessible():
        tarnix.kill()
        raise RuntimeError("Tarnix did not appear on the accessibility bus")
    return tarnix


def decoded(tarnix, scan, timeout=2.0):
    """Whether the scan decoded whole: a line missing characters decodes to other fields
    or to none (the fields keep the previous scan's)."""
    return bool(poll(lambda: e2e.fields_show(tarnix, scan), timeout, 0.005))


def run_x11(args):
    """Inside an X server and a session bus (with-xvfb.sh): one window manager, all speeds."""
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["setxkbmap", "-layout", "us"], check=True)
    scanner = KeyScanner()
    try:
        with OtherProgram() as other:
            tarnix = start_tarnix(args.tarnix)
            try:
                lines = scan_lines(args.scanlines, args.scans)
                results = {}
                for delay in args.delays:
                    time.sleep(0.2)
                    before = other.received()
                    lost = 0
                    for scan in lines:
                        other.focus()
                        scanner.type_line(scan["line"], alt=True, delay=delay / 1000)
                        lost += not decoded(tarnix, scan)
                    elsewhere = len(other.received_after(before))
                    results[delay] = {"lost": lost, "elsewhere": elsewhere, "scans": len(lines)}
                print("RESULT " + json.dumps(results), flush=True)
            finally:
                tarnix.kill()
    finally:
        scanner.close()
        bus.terminate()


def run_sway_inner(args):
    """Inside with-sway.sh: Tarnix on XWayland, focused, typed into by one virtual keyboard."""
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    keyboard = WaylandKeyboard("us")
    tarnix = None
    try:
        tarnix = start_tarnix(args.tarnix)
        time.sleep(1.0)
        lines = scan_lines(args.scanlines, args.scans)
        whole = 0
        for scan in lines:
            keyboard.type_line(scan["line"], alt=True)
            whole += decoded(tarnix, scan)
        print("RESULT " + json.dumps({"whole": whole, "scans": len(lines)}), flush=True)
    finally:
        if tarnix:
            tarnix.kill()
        keyboard.close()
        bus.terminate()


def result_of(command, env=None):
    output = subprocess.run(command, capture_output=True, text=True, env=env).stdout
    for row in output.splitlines():
        if row.startswith("RESULT "):
            return json.loads(row[len("RESULT "):])
    raise RuntimeError(f"no result from {' '.join(command)}:\n{output}")


def run_sway(args, common):
    return result_of([str(SOURCE / "tests" / "e2e" / "with-sway.sh"), sys.executable, str(HERE), "--sway-inner",
                      *common])


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build-alt")
    parser.add_argument("--tarnix")
    parser.add_argument("--scanlines")
    parser.add_argument("--scans", type=int, default=300)
    parser.add_argument("--wms", default="none,openbox,xfwm4,metacity,mutter,kwin")
    parser.add_argument("--delays", default="0,2,5")
    parser.add_argument("--no-sway", action="store_true")
    parser.add_argument("--x11-inner", action="store_true", help=argparse.SUPPRESS)
    parser.add_argument("--sway-inner", action="store_true", help=argparse.SUPPRESS)
    args = parser.parse_args()
    build = (SOURCE / args.build).resolve()
    args.tarnix = args.tarnix or str(build / "app" / "tarnix")
    args.scanlines = args.scanlines or str(build / "tests" / "e2e" / "tarnix-e2e-scanlines")
    args.delays = [int(d) for d in str(args.delays).split(",")]
    common = ["--tarnix", args.tarnix, "--scanlines", args.scanlines, "--scans", str(args.scans),
              "--delays", ",".join(map(str, args.delays))]
    if args.x11_inner:
        return run_x11(args)
    if args.sway_inner:
        return run_sway_inner(args)

    print(f"{args.scans} scans per speed; Alt then the line then Return in one burst of key codes", flush=True)
    print(f"{'desktop':<10} {'ms/key':>6} {'scans losing chars':>18} {'chars in other program':>22}", flush=True)
    for wm in args.wms.split(","):
        started = time.monotonic()
        results = result_of([str(SOURCE / "tests" / "e2e" / "with-xvfb.sh"), "--wm", wm,
                             sys.executable, str(HERE), "--x11-inner", *common])
        for delay, row in results.items():
            print(f"{wm:<10} {delay:>6} {row['lost']:>18} {row['elsewhere']:>22}", flush=True)
        print(f"{'':<10} ({time.monotonic() - started:.0f} s)", flush=True)
    if not args.no_sway:
        row = run_sway(args, common)
        print(f"XWayland (sway, Tarnix focused, virtual keyboard): {row['whole']}/{row['scans']} Alt-prefixed scans whole",
              flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
