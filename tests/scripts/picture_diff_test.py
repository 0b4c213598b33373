"""scripts/picture-diff.py: its PNG reader against every row filter, and what it lets differ."""
import importlib.util
import os
import struct
import sys
import tempfile
import unittest
import zlib

spec = importlib.util.spec_from_file_location("picture_diff", os.path.join(
    os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "picture-diff.py"))
picture_diff = importlib.util.module_from_spec(spec)
spec.loader.exec_module(picture_diff)


def png(path, rows, channels=3, filters=(0,)):
    """Writes rows of (r, g, b) pixels, row y with filter filters[y % len(filters)]."""
    raw, previous = b"", bytes(len(rows[0]) * channels)
    for y, row in enumerate(rows):
        line = b"".join(bytes(p) + b"\xff" * (channels - 3) for p in row)
        kind, out = filters[y % len(filters)], bytearray()
        for i, value in enumerate(line):
            a = line[i - channels] if i >= channels else 0
            b, c = previous[i], previous[i - channels] if i >= channels else 0
            p = a + b - c
            paeth = a if abs(p - a) <= abs(p - b) and abs(p - a) <= abs(p - c) else \
                b if abs(p - b) <= abs(p - c) else c
            out.append((value - [0, a, b, (a + b) // 2, paeth][kind]) & 0xFF)
        raw += bytes([kind]) + out
        previous = line

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, {3: 2, 4: 6}[channels], 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw))
                + chunk(b"IEND", b""))


def picture(width, height, changed=()):
    rows = [[(x * 7 % 256, y * 13 % 256, x * y % 256) for x in range(width)] for y in range(height)]
    for x, y in changed:
        rows[y][x] = (255, 255, 255)
    return rows


class PictureDiff(unittest.TestCase):
    def test_reads_every_row_filter_in_rgb_and_rgba(self):
        rows = picture(40, 10)
        with tempfile.TemporaryDirectory() as folder:
            for channels, filters in [(3, (0, 1, 2, 3, 4)), (4, (4, 3, 2, 1, 0))]:
                png(os.path.join(folder, "f.png"), rows, channels, filters)
                self.assertEqual(picture_diff.read_png(os.path.join(folder, "f.png")),
                                 (40, 10, [[bytes(p) for p in row] for row in rows]))

    def test_passes_only_differences_the_size_of_a_line_of_text(self):
        label = [(x, y) for x in range(100, 160) for y in range(20, 34) if (x + y) % 3 == 0]
        curve = [(x, 60 + x // 40) for x in range(300)]
        column = [(250, y) for y in range(120)]
        cases = [((), 200, 0), (label, 200, 0), (label + [(x, 150) for x in range(10, 40)], 200, 0),
                 (curve, 200, 1), (column, 200, 1), ((), 201, 1)]
        with tempfile.TemporaryDirectory() as folder:
            a, b = os.path.join(folder, "a.png"), os.path.join(folder, "b.png")
            for changed, height, verdict in cases:
                png(a, picture(300, 200))
                png(b, picture(300, height, changed))
                sys.argv = ["picture-diff.py", a, b]
                self.assertEqual(picture_diff.main(), verdict, (changed[:2], height))


if __name__ == "__main__":
    unittest.main()
