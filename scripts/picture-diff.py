#!/usr/bin/env python3
"""Compares two PNG pictures of the same chart drawn on two systems whose fonts differ:
    picture-diff.py A.png B.png
Passes when both have the same size and every area where they differ is no bigger than a line
of text (the labels, the clock); a curve, grid or frame drawn elsewhere gives a larger area, or
differing pixels over much of the picture, and fails. Only the standard library: a PNG reader
for the 8-bit RGB and RGBA pictures that Qt writes."""
import struct
import sys
import zlib

TEXT_HEIGHT = 24  # pixels: one line of chart text with its descenders
TEXT_WIDTH = 200  # the longest label, the date and time
MERGE = 3  # differing pixels this close belong to one area (the glyphs of one label)


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos, idat, header = 8, b"", None
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
        pos += 12 + length
    if header is None:
        raise ValueError(f"{path}: no header")
    width, height, depth, colour, _, _, interlace = header
    channels = {2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        raise ValueError(f"{path}: only 8-bit RGB or RGBA pictures without interlacing")
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append([bytes(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return width, height, rows


def differing_areas(a, b, width, height):
    """Bounding boxes (x0, y0, x1, y1) of the differing pixels, those closer than MERGE
    taken together."""
    cells = {(x, y) for y in range(height) for x in range(width) if a[y][x] != b[y][x]}
    areas, seen = [], set()
    for cell in cells:
        if cell in seen:
            continue
        seen.add(cell)
        todo, box = [cell], [cell[0], cell[1], cell[0], cell[1]]
        while todo:
            x, y = todo.pop()
            box = [min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y)]
            for dy in range(-MERGE, MERGE + 1):
                for dx in range(-MERGE, MERGE + 1):
                    near = (x + dx, y + dy)
                    if near in cells and near not in seen:
                        seen.add(near)
                        todo.append(near)
        areas.append(tuple(box))
    return cells, areas


def main():
    if len(sys.argv) != 3:
        print(__doc__.splitlines()[1].strip(), file=sys.stderr)
        return 2
    wa, ha, a = read_png(sys.argv[1])
    wb, hb, b = read_png(sys.argv[2])
    if (wa, ha) != (wb, hb):
        print(f"the pictures differ in size: {wa}x{ha} and {wb}x{hb}")
        return 1
    cells, areas = differing_areas(a, b, wa, ha)
    large = [box for box in areas
             if box[3] - box[1] + 1 > TEXT_HEIGHT or box[2] - box[0] + 1 > TEXT_WIDTH]
    print(f"{len(cells)} of {wa * ha} pixels differ, in {len(areas)} areas"
          f"{f', {len(large)} larger than a line of text' if large else ''}")
    for box in large[:5]:
        print(f"  {box[2] - box[0] + 1}x{box[3] - box[1] + 1} at {box[0]},{box[1]}")
    return 1 if large or len(cells) * 20 > wa * ha else 0


if __name__ == "__main__":
    sys.exit(main())
