#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes a scan log of about SIZE megabytes to standard output: scan lines as the
scanner types them, LF or CR LF terminated, with the mix of barcode types and data
lengths of a working day at a parcel counter."""
import random
import sys

SYMBOLS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+/"
MASK = 0x5A


def encode(data: bytes) -> str:
    out = []
    for i in range(0, len(data), 3):
        v = ((data[i] ^ MASK) << 16) | ((data[i + 1] ^ MASK) << 8) | (data[i + 2] ^ MASK)
        out.append("".join(SYMBOLS[(v >> s) & 63] for s in (18, 12, 6, 0)))
    return "".join(out)


def scan_line(serial: bytes, kind: bytes, data: bytes) -> str:
    return "~" + encode(serial) + "." + encode(kind) + "." + encode(data) + "."


def random_data(rng: random.Random, kind: bytes) -> bytes:
    digits = b"0123456789"
    if kind == b"E28":  # parcel tracking number
        return b"1Z" + bytes(rng.choice(b"0123456789ABCDEFGHJKLMNPRSTUVWXYZ") for _ in range(16))
    if kind == b"EAN":  # 12 of the 13 digits travel in four groups
        return bytes(rng.choice(digits) for _ in range(12))
    if kind == b"UPC":  # nine characters: the typical 46-character line
        return bytes(rng.choice(digits) for _ in range(9))
    return bytes(rng.randrange(32, 127) for _ in range(3 * rng.randrange(1, 12)))  # QR


def main() -> None:
    size = float(sys.argv[1]) if len(sys.argv) > 1 else 100.0
    rng = random.Random(20261208)
    scanners = [b"SN-%015d" % rng.randrange(10**14) for _ in range(8)]
    kinds = [b"E28", b"EAN", b"UPC", b"QRC"]
    # A few thousand distinct lines, repeated in random order, keep generation fast.
    lines = []
    for _ in range(4096):
        kind = rng.choice(kinds)
        end = "\r\n" if rng.random() < 0.5 else "\n"
        lines.append(scan_line(rng.choice(scanners), kind, random_data(rng, kind)) + end)
    target = int(size * 1_000_000)
    out = sys.stdout
    written = 0
    while written < target:
        chunk = "".join(rng.choices(lines, k=4096))
        out.write(chunk)
        written += len(chunk)


if __name__ == "__main__":
    main()
