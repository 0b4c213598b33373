"""scripts/picture-diff.py: its PNG reader against every row filter, and what it lets differ."""
import importlib.util
import os
import struct
import sys
import tempfile
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location(
    "picture_diff", os.path.join(HERE, "..", "..", "scripts", "picture-diff.py"))
picture_diff = importlib.util.module_from_spec(spec)
spec.loader.exec_module(picture_diff)


def paeth(left, up, corner):
    p = left + up - corner
    pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
    return left if pa <= pb and pa <= pc else up if pb <= pc else corner


def png(path, rows, channels=3, filters=(0,)):
    """Writes rows of (r, g, b) pixels, row y with filter filters[y % len(filters)]."""
    raw, previous = b"", bytes(len(rows[0]) * channels)
    for y, row in enumerate(rows):
        line = b"".join(bytes(p) + (b"\xff" if channels == 4 else b"") for p in row)
        kind, out = filters[y % len(filters)], bytearray()
        for i, value in enumerate(line):
            left = line[i - channels] if i >= channels else 0
            corner = previous[i - channels] if i >= channels else 0
            guess = [0, left, previous[i], (left + previous[i]) // 2,
                     paeth(left, previous[i], corner)][kind]
            out.append((value - guess) & 0xFF)
        raw += bytes([kind]) + out
        previous = line

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2 if channels == 3 else 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw))
                + chunk(b"IEND", b""))


def picture(width, height, changed=()):
    rows = [[((x * 7) % 256, (y * 13) % 256, (x * y) % 256) for x in range(width)]
            for y in range(height)]
    for x, y in changed:
        rows[y][x] = (255, 255, 255) if rows[y][x] != (255, 255, 255) else (0, 0, 0)
    return rows


class PictureDiff(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.dir.cleanup()

    def run_diff(self, a, b, size_b=None):
        pa, pb = os.path.join(self.dir.name, "a.png"), os.path.join(self.dir.name, "b.png")
        png(pa, a)
        png(pb, b)
        sys.argv = ["picture-diff.py", pa, pb]
        return picture_diff.main()

    def test_reads_every_row_filter_and_rgba(self):
        rows = picture(40, 10)
        for channels, filters in [(3, (0, 1, 2, 3, 4)), (4, (4, 3, 2, 1, 0))]:
            path = os.path.join(self.dir.name, "f.png")
            png(path, rows, channels, filters)
            width, height, read = picture_diff.read_png(path)
            self.assertEqual((width, height), (40, 10))
            self.assertEqual(read, [[bytes(p) for p in row] for row in rows], (channels, filters))

    def test_passes_only_what_fits_a_line_of_text(self):
        label = [(x, y) for x in range(100, 160) for y in range(20, 34) if (x + y) % 3 == 0]
        two_labels = label + [(x, 150) for x in range(10, 40)]
        curve = [(x, 60 + x // 40) for x in range(0, 300)]
        column = [(250, y) for y in range(0, 120)]
        for changed, verdict in [((), 0), (label, 0), (two_labels, 0), (curve, 1), (column, 1)]:
            self.assertEqual(self.run_diff(picture(300, 200), picture(300, 200, changed)), verdict,
                             changed[:3])

    def test_fails_pictures_of_another_size(self):
        self.assertEqual(self.run_diff(picture(300, 200), picture(300, 201)), 1)


if __name__ == "__main__":
    unittest.main()
