#!/usr/bin/env python3
"""Checks a folder of launcher artwork against what Setup.exe needs from it.

    check_art.py FOLDER

Every picture and icon that Setup.rc compiles is read and checked: sizes, colour depth, headers, colour
tables (and the two pairs of pictures that must share one), compression and file length. Each file that
the launcher cannot use gets one line, "FILE: what is wrong", on standard error, and the exit status is 1.
A folder that passes prints nothing and exits with 0. The build runs this before compiling the
resources, so a CD author who supplies their own pictures (ART_DIR) learns at once what to fix.

Python 3 standard library only.
"""

import os
import struct
import sys

BI_RGB, BI_RLE8 = 0, 1
FILE_HEADER, INFO_HEADER, TABLE_BYTES = 14, 40, 256 * 4
PIXELS_AT = FILE_HEADER + INFO_HEADER + TABLE_BYTES

FACE = (165, 45)
# File name, width x height and compression of every picture, in the order they are reported.
PICTURES = [
    ("background.bmp", (440, 440), BI_RGB),
    ("install_normal.bmp", FACE, BI_RGB),
    ("install_hover.bmp", FACE, BI_RGB),
    ("install_pressed.bmp", FACE, BI_RGB),
    ("readme_normal.bmp", FACE, BI_RGB),
    ("readme_hover.bmp", FACE, BI_RGB),
    ("readme_pressed.bmp", FACE, BI_RGB),
    ("exit_normal.bmp", FACE, BI_RGB),
    ("exit_hover.bmp", FACE, BI_RGB),
    ("exit_pressed.bmp", FACE, BI_RGB),
    ("rle_sample.bmp", (19, 39), BI_RLE8),
]
# (picture, the picture whose colour table it must carry unchanged)
SHARED_TABLES = [
    ("readme_normal.bmp", "install_normal.bmp"),
    ("exit_normal.bmp", "background.bmp"),
]
# Icon files and the images each must hold: (width, height, bits per pixel).
ICONS = [
    ("setup.ico", [(32, 32, 4), (32, 32, 8)]),
    ("desktop.ico", [(32, 32, 4)]),
    ("acrobat.ico", [(32, 32, 4)]),
    ("exit.ico", [(32, 32, 4)]),
    ("companionlink.ico", [(32, 32, 4)]),
    ("convert.ico", [(32, 32, 4)]),
    ("osupdate.ico", [(32, 32, 4)]),
]

COMPRESSION_NAMES = {0: "uncompressed (BI_RGB)", 1: "RLE8", 2: "RLE4", 3: "BI_BITFIELDS", 4: "JPEG", 5: "PNG"}


class Unusable(Exception):
    """What is wrong with one file, in words for the person who made it."""


def colours(bits):
    if bits <= 8:
        return "%d colours" % (1 << bits)
    return "%d-bit colour" % bits


def describe_images(images):
    return " and ".join("%d x %d in %s" % (w, h, colours(b)) for w, h, b in images) or "no image"


def check_rle8(data, width, height):
    """Walks an RLE8 stream: it must stay inside the picture and end with its end-of-bitmap marker."""
    x = y = i = 0
    while True:
        if i + 2 > len(data):
            raise Unusable("its run-length data ends without an end-of-bitmap marker")
        count, value = data[i], data[i + 1]
        i += 2
        if count:  # a run of one colour
            if y >= height or x + count > width:
                raise Unusable("its run-length data runs outside the %d x %d picture" % (width, height))
            x += count
        elif value == 0:  # end of line
            x, y = 0, y + 1
            if y > height:
                raise Unusable("its run-length data has more than %d rows" % height)
        elif value == 1:  # end of bitmap
            break
        elif value == 2:  # move right and up
            if i + 2 > len(data):
                raise Unusable("its run-length data ends inside a move")
            x, y = x + data[i], y + data[i + 1]
            i += 2
            if x > width or y > height:
                raise Unusable("its run-length data moves outside the %d x %d picture" % (width, height))
        else:  # a literal run of `value` pixels, padded to a whole word
            length = value + (value & 1)
            if i + length > len(data):
                raise Unusable("its run-length data ends inside a literal run")
            if y >= height or x + value > width:
                raise Unusable("its run-length data runs outside the %d x %d picture" % (width, height))
            x += value
            i += length
    if i != len(data):
        raise Unusable("%d bytes follow its run-length data's end-of-bitmap marker" % (len(data) - i))


def check_bmp(data, size, compression):
    """Returns the picture's colour table if the launcher can use it, else raises Unusable."""
    width, height = size
    if len(data) < 2 or data[:2] != b"BM":
        raise Unusable("not a BMP file (it does not start with 'BM')")
    if len(data) < FILE_HEADER + INFO_HEADER:
        raise Unusable("%d bytes, too short for the BMP headers" % len(data))
    _, file_size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    (header_size, w, h, planes, bits, comp, image_size, xres, yres, used, _) = struct.unpack_from(
        "<IiiHHIIiiII", data, FILE_HEADER
    )
    if header_size != INFO_HEADER:
        raise Unusable(
            "a %d-byte info header, the launcher needs the %d-byte one" % (header_size, INFO_HEADER)
        )
    if h < 0:
        raise Unusable("rows stored top-down, the launcher needs them bottom-up")
    if (w, h) != (width, height):
        raise Unusable("%d x %d pixels, the launcher needs %d x %d" % (w, h, width, height))
    if planes != 1:
        raise Unusable("%d colour planes, the launcher needs 1" % planes)
    if bits != 8:
        raise Unusable("%d bits per pixel, the launcher needs 8" % bits)
    if comp != compression:
        raise Unusable(
            "%s, the launcher needs %s"
            % (
                COMPRESSION_NAMES.get(comp, "compression %d" % comp),
                "it uncompressed (BI_RGB)" if compression == BI_RGB else "8-bit run-length encoding (RLE8)",
            )
        )
    if used not in (0, 256):
        raise Unusable("a %d-entry colour table, the launcher needs all 256" % used)
    if (xres, yres) != (0, 0):
        raise Unusable(
            "a resolution of %d x %d pixels per metre, the launcher needs none (0 x 0)" % (xres, yres)
        )
    if offset != PIXELS_AT:
        raise Unusable(
            "pixels start at byte %d, the launcher needs them right after the colour table, at %d"
            % (offset, PIXELS_AT)
        )
    if len(data) < PIXELS_AT:
        raise Unusable("the file ends inside its colour table (%d of %d bytes)" % (len(data), PIXELS_AT))
    if len(data) < file_size:
        raise Unusable("cut short: %d of the %d bytes its file header gives" % (len(data), file_size))
    if len(data) > file_size:
        raise Unusable("%d bytes, its file header gives %d" % (len(data), file_size))
    pixels = data[PIXELS_AT:]
    if compression == BI_RGB:
        expected = ((width + 3) & ~3) * height
        if len(pixels) != expected:
            raise Unusable(
                "%d bytes of pixels, %d x %d at 8 bits needs %d" % (len(pixels), width, height, expected)
            )
        if image_size not in (0, expected):
            raise Unusable(
                "the info header gives %d bytes of pixels, %d x %d at 8 bits needs %d"
                % (image_size, width, height, expected)
            )
    else:
        if image_size != len(pixels):
            raise Unusable(
                "the info header gives %d bytes of pixels, the file holds %d" % (image_size, len(pixels))
            )
        check_rle8(pixels, width, height)
    return data[FILE_HEADER + INFO_HEADER : PIXELS_AT]


def check_ico(data, required):
    """Raises Unusable unless the file is an icon holding exactly the required images."""
    if len(data) < 6:
        raise Unusable("%d bytes, too short for an icon file" % len(data))
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise Unusable("not an icon file (its header is not that of an ICO)")
    if count == 0 or 6 + 16 * count > len(data):
        raise Unusable("its directory of %d images does not fit in the file" % count)
    found = []
    for n in range(count):
        w8, h8, colour_count, _, _, dir_bits, length, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * n
        )
        where = "image %d" % (n + 1)
        if offset + length > len(data) or length < INFO_HEADER:
            raise Unusable("%s lies outside the file" % where)
        image = data[offset : offset + length]
        if image[:8] == b"\x89PNG\r\n\x1a\n":
            raise Unusable("%s is stored as PNG, the launcher needs a bitmap image" % where)
        (header_size, w, h, planes, bits, comp) = struct.unpack_from("<IiiHHI", image, 0)
        if header_size != INFO_HEADER or planes != 1 or comp != BI_RGB or h != 2 * w:
            raise Unusable("%s has no valid bitmap header" % where)
        if (w8 or 256, h8 or 256) != (w, w):
            raise Unusable(
                "%s: the directory says %d x %d, the image is %d x %d" % (where, w8 or 256, h8 or 256, w, w)
            )
        if bits not in (1, 4, 8, 24, 32):
            raise Unusable("%s has %d bits per pixel" % (where, bits))
        table = 4 << bits if bits <= 8 else 0
        xor = ((w * bits + 31) // 32) * 4 * w
        mask = ((w + 31) // 32) * 4 * w
        if INFO_HEADER + table + xor + mask > length:
            raise Unusable(
                "%s is cut short: %d bytes, %d x %d in %s needs %d"
                % (where, length, w, w, colours(bits), INFO_HEADER + table + xor + mask)
            )
        found.append((w, w, bits))
    if sorted(found) != sorted(required):
        raise Unusable(
            "holds %s, the launcher needs %s" % (describe_images(found), describe_images(required))
        )


def check_folder(folder):
    """One message per unusable file, in a fixed order."""
    if not os.path.isdir(folder):
        return ["%s: no such folder" % display(folder)]
    problems, tables = [], {}

    def read(name):
        path = os.path.join(folder, name)
        try:
            with open(path, "rb") as f:
                return f.read()
        except FileNotFoundError:
            problems.append("%s: missing, the launcher needs it" % display(path))
        except OSError as e:
            problems.append("%s: cannot be read (%s)" % (display(path), e.strerror))
        return None

    for name, size, compression in PICTURES:
        data = read(name)
        if data is not None:
            try:
                tables[name] = check_bmp(data, size, compression)
            except Unusable as e:
                problems.append("%s: %s" % (display(os.path.join(folder, name)), e))
    for name, owner in SHARED_TABLES:
        if name in tables and owner in tables and tables[name] != tables[owner]:
            problems.append(
                "%s: its colour table differs from %s's, the two must share one table"
                % (display(os.path.join(folder, name)), owner)
            )
    for name, images in ICONS:
        data = read(name)
        if data is not None:
            try:
                check_ico(data, images)
            except Unusable as e:
                problems.append("%s: %s" % (display(os.path.join(folder, name)), e))
    return problems


def display(path):
    """The path as the user will recognise it: relative when it lies below the current folder."""
    rel = os.path.relpath(path)
    return path if rel.startswith("..") else rel


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: check_art.py FOLDER\n")
        return 2
    problems = check_folder(argv[1])
    for line in problems:
        sys.stderr.write(line + "\n")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
