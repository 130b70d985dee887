#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Installs Tarnix's Windows Installer package under Wine, in a fresh prefix, the way an
administrator does (msiexec /i PACKAGE /qn), and checks what it does:

- the package holds the two programs and the licence, a Start-menu shortcut and the
  entry in the list of installed programs, and nothing else (no registry values, no
  services, no file outside its folder);
- a corrupt or truncated copy is refused and installs nothing;
- installed, the files, the shortcut and the entry are there; installing again is
  harmless, and so is installing the same version built anew; a later version (the same
  package built with a higher version) replaces it, and the older one then refuses to go
  over it;
- tarnix-decode.exe from the install folder decodes a file of scan lines; tarnix.exe
  from it starts with its caption and decodes a scan typed after an Alt in notepad;
- msiexec /x removes every file, the folder, the shortcut and the entry.

Run inside an X server of its own (tests/e2e/with-xvfb.sh), from the project folder:

    with-xvfb.sh /usr/bin/python3 msi_e2e.py --msi PACKAGE --version 1.0.13 --rebuilt PACKAGE
                 --later PACKAGE --later-version 1.0.14 --wintext PATH --scanlines PATH

Prints one line per check and a closing "N passed, N failed" line.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from desktop_e2e_win import Window, Wine, fields_show, foreground, type_scan  # noqa: E402
from desktoptest import poll, run_checks, scan_lines, xdotool  # noqa: E402

UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
PUBLISHER = "The Tarnix developers"


def table(package, name):
    """The rows of one of the package's tables, each a list of its fields."""
    text = subprocess.run(["msiinfo", "export", package, name], capture_output=True, text=True, check=True).stdout
    return [line.split("\t") for line in text.splitlines()[3:]]


def check_contents(checks, package, version):
    properties = dict(row[:2] for row in table(package, "Property"))
    checks.check(properties.get("ProductName") == "Tarnix" and properties.get("ProductVersion") == version
                 and properties.get("Manufacturer") == PUBLISHER,
                 f"the package is Tarnix {version} by {PUBLISHER}", str(properties))
    checks.check(properties.get("ALLUSERS") == "1", "it installs per machine")
    checks.check(properties.get("ARPNOREPAIR") == "1" and properties.get("ARPPRODUCTICON") == "tarnix.ico",
                 "its entry has the program's icon and no repair button")
    upgrades = table(package, "Upgrade")
    checks.check(len(upgrades) == 2 and all(row[0] == properties.get("UpgradeCode") for row in upgrades),
                 "a later version under the same upgrade code replaces it", str(upgrades))
    files = sorted(row[2].split("|")[-1] for row in table(package, "File"))
    checks.check(files == ["LICENSE.txt", "tarnix-decode.exe", "tarnix.exe"], "it holds the two programs and the "
                 "licence", str(files))
    folders = {row[2] for row in table(package, "Component")}
    checks.check(folders == {"INSTALLFOLDER"}, "every file goes into the one folder", str(folders))
    shortcuts = table(package, "Shortcut")
    checks.check([(row[1], row[2], row[4], row[8]) for row in shortcuts]
                 == [("ProgramMenuFolder", "Tarnix", "[#tarnix.exe]", "tarnix.ico")],
                 'one Start-menu shortcut "Tarnix" to tarnix.exe with the program\'s icon', str(shortcuts))
    checks.check(not table(package, "Registry") and not table(package, "ServiceInstall"),
                 "no registry values and no services")


class Installation:
    """What of Tarnix stands in the prefix."""

    def __init__(self, wine):
        self.wine = wine
        self.folder = os.path.join(wine.prefix, "drive_c", "Program Files", "Tarnix")

    def shortcuts(self):
        found = []
        for base in ("ProgramData", os.path.join("users", os.environ.get("USER", "root"), "AppData", "Roaming")):
            path = os.path.join(self.wine.prefix, "drive_c", base, "Microsoft", "Windows", "Start Menu", "Programs",
                                "Tarnix.lnk")
            if os.path.exists(path):
                found.append(path)
        return found

    def entries(self):
        """The entries named Tarnix in the list of installed programs, as name -> value."""
        out = self.wine.run("reg", "query", UNINSTALL, "/s").stdout.decode("utf-8", "replace").replace("\r", "")
        entries, current = [], None
        for line in out.splitlines():
            if line.startswith("HKEY_"):
                current = {}
                entries.append(current)
            elif current is not None and line.startswith("    "):
                parts = line.split(None, 2)
                current[parts[0]] = parts[2] if len(parts) > 2 else ""
        return [entry for entry in entries if entry.get("DisplayName") == "Tarnix"]

    def nothing(self):
        return not os.path.exists(self.folder) and not self.shortcuts() and not self.entries()


def msiexec(wine, *arguments):
    return wine.run("msiexec", *arguments, "/qn").returncode


def check_refused(checks, wine, installed, package, work):
    data = open(package, "rb").read()
    truncated = os.path.join(work, "truncated.msi")
    with open(truncated, "wb") as out:
        out.write(data[:len(data) // 2])
    corrupt = os.path.join(work, "corrupt.msi")
    with open(corrupt, "wb") as out:
        out.write(b"\0" * 512 + data[512:])
    for what, path in (("a truncated", truncated), ("a corrupt", corrupt)):
        status = msiexec(wine, "/i", path)
        checks.check(status != 0 and installed.nothing(), f"{what} package is refused and installs nothing",
                     f"status {status}")


def check_decoder(checks, wine, installed, scanlines, work):
    scans = scan_lines(scanlines, 5)
    lines = os.path.join(work, "scans.txt")
    with open(lines, "w") as out:
        out.write("".join(scan["line"] + "\r\n" for scan in scans))
    result = wine.run(os.path.join(installed.folder, "tarnix-decode.exe"), lines)
    got = result.stdout.decode("utf-8", "replace").replace("\r\n", "\n")
    want = "".join(f"{scan['serial']}\t{scan['type']}\t{scan['data']}\n" for scan in scans)
    checks.check(result.returncode == 0 and got == want, "the installed tarnix-decode.exe decodes a file",
                 f"status {result.returncode}, output {got[:120]!r}")


def check_window_program(checks, wine, installed, args):
    tarnix = wine.start(os.path.join(installed.folder, "tarnix.exe"))
    notepad = None
    try:
        caption = f"Tarnix v{args.version}"
        main = Window(wine, args.wintext, caption)
        if not checks.check(poll(main.read, 30, 0.5) is not None, f'the installed tarnix.exe shows "{caption}"'):
            return
        desktop = poll(lambda: xdotool("search", "--onlyvisible", "--name", "Wine desktop", check=False), 10)
        xdotool("windowfocus", "--sync", desktop.split()[0])
        # Wine hands the keyboard to its programs only once one of them has had it.
        notepad = wine.start("notepad")
        poll(lambda: foreground(Window(wine, args.wintext, "Untitled - Notepad")), 20, 0.5)
        xdotool("key", "alt")
        poll(lambda: foreground(main), 10)
        scan = scan_lines(args.scanlines, 1)[0]
        type_scan(scan)
        checks.check(bool(poll(lambda: fields_show(main, scan), 10)), "and decodes a scan typed after Alt")
    finally:
        for process in (tarnix, notepad):
            if process and process.poll() is None:
                process.kill()
        # Nothing of the programs may hold their files when they are removed; the server
        # is let to end (and write the registry) before the next program starts one.
        for how in ("-k", "-w"):
            subprocess.run(["wineserver", how], env=wine.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=60)


def scenario(args, checks):
    check_contents(checks, args.msi, args.version)
    wine = Wine()
    work = tempfile.mkdtemp(prefix="tarnix-msi-")
    installed = Installation(wine)
    try:
        check_refused(checks, wine, installed, args.msi, work)

        status = msiexec(wine, "/i", args.msi)
        checks.check(status == 0, "msiexec /i PACKAGE /qn installs it", f"status {status}")
        files = sorted(os.listdir(installed.folder)) if os.path.isdir(installed.folder) else []
        checks.check(files == ["LICENSE.txt", "tarnix-decode.exe", "tarnix.exe"],
                     r"Program Files\Tarnix holds the two programs and the licence", str(files))
        checks.check(len(installed.shortcuts()) == 1, "the Start menu has the shortcut", str(installed.shortcuts()))
        entries = installed.entries()
        entry = entries[0] if len(entries) == 1 else {}
        checks.check(entry.get("DisplayVersion") == args.version and entry.get("Publisher") == PUBLISHER
                     and entry.get("NoRepair") == "0x1", "the list of installed programs has Tarnix, its version "
                     "and publisher, without repair", str(entries))

        for what, package in (("it", args.msi), ("the same version built anew", args.rebuilt)):
            status = msiexec(wine, "/i", package)
            checks.check(status == 0 and len(installed.entries()) == 1 and len(os.listdir(installed.folder)) == 3,
                         f"installing {what} again is harmless", f"status {status}, entries {installed.entries()}")

        check_decoder(checks, wine, installed, args.scanlines, work)
        check_window_program(checks, wine, installed, args)

        status = msiexec(wine, "/i", args.later)
        versions = [entry.get("DisplayVersion") for entry in installed.entries()]
        checks.check(status == 0 and versions == [args.later_version] and len(os.listdir(installed.folder)) == 3,
                     f"version {args.later_version} replaces it", f"status {status}, entries {versions}")
        status = msiexec(wine, "/i", args.msi)
        versions = [entry.get("DisplayVersion") for entry in installed.entries()]
        checks.check(status != 0 and versions == [args.later_version], f"{args.version} does not go over "
                     f"{args.later_version}", f"status {status}, entries {versions}")

        status = msiexec(wine, "/x", args.later)
        checks.check(status == 0, "msiexec /x PACKAGE /qn removes it", f"status {status}")
        checks.check(installed.nothing(), "no file, folder, shortcut or entry is left",
                     f"folder {os.path.exists(installed.folder)}, shortcuts {installed.shortcuts()}, "
                     f"entries {installed.entries()}")
    finally:
        wine.close()
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--msi", required=True)
    parser.add_argument("--version", required=True, help="major.minor.revision, as the caption shows it")
    parser.add_argument("--rebuilt", required=True, help="the same version built again")
    parser.add_argument("--later", required=True, help="the same package with a higher version")
    parser.add_argument("--later-version", required=True)
    parser.add_argument("--wintext", required=True, help="wintext.exe from the cross build's tests")
    parser.add_argument("--scanlines", required=True)
    args = parser.parse_args()
    args.msi = os.path.abspath(args.msi)
    args.later = os.path.abspath(args.later)
    args.rebuilt = os.path.abspath(args.rebuilt)
    args.wintext = os.path.abspath(args.wintext)
    return run_checks(scenario, args)


if __name__ == "__main__":
    sys.exit(main())
