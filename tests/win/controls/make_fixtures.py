#!/usr/bin/env python3
"""Writes the pictures and icons of the controls tests into the folder given as the argument.

background440.bmp: 440 x 440, 8 bits per pixel, 256 distinct colours; each quadrant one colour
(top-left, top-right, bottom-left, bottom-right: indexes 1 to 4), so orientation and scaling show.
Icons, opaque and of one colour: red and blue 32 x 32, green 20 x 20. Each is written as the two raw
resources an icon consists of (the image, and the group that names it by id), so that the test
program can number the images itself: the program's own resource script numbers its icon images
from 1, as the ICON statement would number these.
"""
import os
import struct
import sys

QUADRANTS = [(200, 30, 30), (30, 200, 30), (30, 30, 200), (220, 220, 40)]


def colour_table():
    table = [(0, 0, 0)] + QUADRANTS
    for i in range(len(table), 256):
        table.append((i, 255 - i, (i * 7) & 0xFF))
    return b''.join(bytes((b, g, r, 0)) for r, g, b in table)


def background(size=440):
    half = size // 2
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        top = y < half
        left_index = 1 if top else 3
        row = bytes([left_index]) * half + bytes([left_index + 1]) * (size - half)
        rows.append(row + b'\0' * ((-len(row)) % 4))
    pixels = b''.join(rows)
    table = colour_table()
    off = 14 + 40 + len(table)
    info = struct.pack('<IiiHHIIiiII', 40, size, size, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    return struct.pack('<HIHHI', 0x4D42, off + len(pixels), 0, 0, off) + info + table + pixels


def icon_image(size, rgb):
    r, g, b = rgb
    row = bytes((b, g, r)) * size
    row += b'\0' * ((-len(row)) % 4)
    xor = row * size
    mask_row = ((size + 31) // 32) * 4
    mask = b'\0' * (mask_row * size)  # all opaque
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 24, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def icon_group(size, image, image_id):
    header = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHIH', size, size, 0, 0, 1, 24, len(image), image_id)
    return header + entry


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {'background440.bmp': background()}
    # Image ids as in ControlsTests.rc.
    for name, size, rgb, image_id in [('red32', 32, (255, 0, 0), 5101), ('blue32', 32, (0, 0, 255), 5102),
                                      ('green20', 20, (0, 255, 0), 5103)]:
        image = icon_image(size, rgb)
        files['icon_%s.image' % name] = image
        files['icon_%s.group' % name] = icon_group(size, image, image_id)
    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
