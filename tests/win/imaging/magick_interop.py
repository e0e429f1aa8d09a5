#!/usr/bin/env python3
"""BMP files exchanged between CDib and ImageMagick.

  make <folder>   writes <folder>/in/im_<bits>_<width>.bmp with ImageMagick (40-byte info header,
                  uncompressed, 1, 4, 8 and 24 bits per pixel) and beside each the pixels as
                  ImageMagick reads them (.rgb: raw RGB, top row first); empties <folder>/out.
  check <folder>  has ImageMagick read every file that the Windows test program listed in
                  <folder>/out/written.txt and compares its pixels with the .rgb file written beside it.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

# The real ImageMagick, not a stand-in that may come first on PATH.
CONVERT = '/usr/bin/convert'
BIT_DEPTHS = (1, 4, 8, 24)
WIDTHS = (1, 3, 33, 165)
HEIGHT = 20
# Colours in the pattern: ImageMagick picks the bit depth of a palette file from the colour count.
COLOURS = {1: 2, 4: 16, 8: 200, 24: None}


def pattern_ppm(width, colours):
    pixels = bytearray()
    for y in range(HEIGHT):
        for x in range(width):
            if colours is None:
                pixels += bytes(((x * 5 + y * 11) & 255, (x * 17 + y * 3) & 255, (x + y * 29 + 7) & 255))
            else:
                i = (x * 7 + y * 13) % colours
                pixels += bytes(((i * 37 + 11) & 255, (i * 91 + 3) & 255, (i * 53 + 200) & 255))
    return b'P6 %d %d 255\n' % (width, HEIGHT) + bytes(pixels)


def magick_pixels(path):
    return subprocess.run([CONVERT, path, '-depth', '8', 'rgb:-'], check=True, stdout=subprocess.PIPE).stdout


def make(folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.join(folder, 'in'))
    os.makedirs(os.path.join(folder, 'out'))
    with tempfile.TemporaryDirectory() as scratch:
        for bits in BIT_DEPTHS:
            for width in WIDTHS:
                source = os.path.join(scratch, 'source.ppm')
                with open(source, 'wb') as f:
                    f.write(pattern_ppm(width, COLOURS[bits]))
                stem = os.path.join(folder, 'in', 'im_%d_%d' % (bits, width))
                kind = 'TrueColor' if bits == 24 else 'Palette'
                subprocess.run([CONVERT, source, '-type', kind, '-compress', 'None', 'BMP3:' + stem + '.bmp'],
                               check=True)
                with open(stem + '.bmp', 'rb') as f:
                    header = f.read(54)
                info_size, w, h, _, bit_count, compression = struct.unpack_from('<IiiHHI', header, 14)
                if (header[:2], info_size, w, h, bit_count, compression) != (b'BM', 40, width, HEIGHT, bits, 0):
                    sys.exit('%s.bmp: ImageMagick wrote %r, not an uncompressed %d-bit BMP with a 40-byte '
                             'header' % (stem, (header[:2], info_size, w, h, bit_count, compression), bits))
                with open(stem + '.rgb', 'wb') as f:
                    f.write(magick_pixels(stem + '.bmp'))


def check(folder):
    out = os.path.join(folder, 'out')
    with open(os.path.join(out, 'written.txt')) as f:
        names = sorted(set(line.strip() for line in f if line.strip()))
    if not names:
        sys.exit('no files were written')
    failures = []
    for name in names:
        bmp = os.path.join(out, name)
        with open(os.path.splitext(bmp)[0] + '.rgb', 'rb') as f:
            expected = f.read()
        try:
            got = magick_pixels(bmp)
        except subprocess.CalledProcessError as error:
            failures.append('%s: ImageMagick cannot read it (%s)' % (name, error))
            continue
        if got != expected:
            first = next((i for i, (a, b) in enumerate(zip(got, expected)) if a != b), min(len(got), len(expected)))
            failures.append('%s: pixels differ from byte %d (%d bytes read, %d expected)'
                            % (name, first, len(got), len(expected)))
    for failure in failures:
        print(failure)
    print('%d files read back by ImageMagick, %d differ' % (len(names), len(failures)))
    sys.exit(1 if failures else 0)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ('make', 'check'):
        sys.exit('usage: magick_interop.py make|check <folder>')
    {'make': make, 'check': check}[sys.argv[1]](sys.argv[2])


if __name__ == '__main__':
    main()
