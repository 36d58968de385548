#!/usr/bin/env python3
"""Regenerates the sample files under examples/sample/ (deterministic).

README.TXT and ORDER.BAT are written by hand; this script makes the larger
files: a 16-colour bitmap of the installer palette and a star catalogue of a
few hundred KB, so that the sample set spans several disks.
"""
import random
import struct
from pathlib import Path

HERE = Path(__file__).resolve().parent / "sample"

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def palette_bitmap(width=320, height=200):
    """A 4-bit BMP: sixteen vertical bars with a diagonal stripe."""
    row_bytes = (width // 2 + 3) & ~3
    pixels = bytearray()
    for y in range(height):
        row = bytearray()
        for x in range(0, width, 2):
            def index(px):
                return 15 - (px * 16 // width) if (px + y) % 40 < 3 else px * 16 // width
            row.append(index(x) << 4 | index(x + 1))
        pixels += row + bytes(row_bytes - len(row))
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    offset = 14 + len(info) + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + colours + bytes(pixels)


def star_catalogue(count=5200):
    rng = random.Random(1998)
    greek = ["Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta", "Eta", "Theta", "Iota", "Kappa"]
    constellations = ["Andromedae", "Aquilae", "Carinae", "Cygni", "Draconis", "Eridani", "Leonis",
                      "Lyrae", "Orionis", "Pegasi", "Persei", "Scorpii", "Tauri", "Ursae Majoris"]
    lines = ["DISKSPAN SAMPLE STAR CATALOGUE", "Generated data for installer tests; not real stars.", ""]
    lines.append(f"{'No.':>6}  {'Name':<28}{'RA (h m s)':<14}{'Dec (d m s)':<14}{'Mag':>6}  Class")
    for n in range(1, count + 1):
        name = f"{rng.choice(greek)} {rng.choice(constellations)}"
        ra = f"{rng.randrange(24):02d} {rng.randrange(60):02d} {rng.uniform(0, 60):04.1f}"
        dec = f"{rng.choice('+-')}{rng.randrange(90):02d} {rng.randrange(60):02d} {rng.randrange(60):02d}"
        mag = f"{rng.uniform(-1.5, 9.5):6.2f}"
        cls = rng.choice("OBAFGKM") + str(rng.randrange(10)) + rng.choice(["V", "III", "IV", "Ia", "II"])
        lines.append(f"{n:6d}  {name:<28}{ra:<14}{dec:<14}{mag}  {cls}")
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def main():
    (HERE / "PALETTE.BMP").write_bytes(palette_bitmap())
    (HERE / "STARS.TXT").write_bytes(star_catalogue())


if __name__ == "__main__":
    main()
