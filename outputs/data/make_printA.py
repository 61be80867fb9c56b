#!/usr/bin/env python3
"""Writes the default slip calibration "printA.cfg" shipped with the program.

Eleven 128-byte records: nine single-precision distances in millimetres,
the print quality tagged as a 16-bit integer, the printer name (empty: the
slips print on the current printer until the user saves a calibration).
"""
import struct
import sys

DISTANCES = [
    5.0,    # DistanzaX
    4.5,    # DistanzaY
    30.0,   # Top
    20.0,   # Left
    12.5,   # Intestazione
    34.5,   # Ximporti
    104.0,  # Yimporti
    5.0,    # DXimporti
    4.0,    # DYimporti
]
QUALITY = 9999
PRINTER = b""


def record(payload):
    return payload + bytes(128 - len(payload))


def main(path):
    data = b"".join(record(struct.pack("<f", d)) for d in DISTANCES)
    data += record(struct.pack("<hh", 2, QUALITY))
    data += record(struct.pack("<H", len(PRINTER)) + PRINTER)
    assert len(data) == 1408
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "printA.cfg")
