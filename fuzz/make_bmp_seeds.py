#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_bmp: small valid BMP files and broken variants of them."""
import os
import struct
import sys


def bmp(width, height, bits, table=None, clr_used=0, compression=0, size_image=None):
    entries = {1: 2, 4: 16, 8: 256}.get(bits, 0) if table is None else table
    row = ((width * bits + 31) & ~31) // 8
    pixels = bytes((i * 7 + 1) & 0xFF for i in range(row * abs(height)))
    off = 14 + 40 + 4 * entries
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, compression,
                       len(pixels) if size_image is None else size_image, 2835, 2835, clr_used, 0)
    colours = b''.join(bytes((i & 0xFF, (i * 3) & 0xFF, (i * 5) & 0xFF, 0)) for i in range(entries))
    return struct.pack('<HIHHI', 0x4D42, off + len(pixels), 0, 0, off) + info + colours + pixels


def patch(data, offset, fmt, value):
    data = bytearray(data)
    struct.pack_into(fmt, data, offset, value)
    return bytes(data)


def seeds():
    yield 'valid_1bit_33x10.bmp', bmp(33, 10, 1)
    yield 'valid_4bit_3x5.bmp', bmp(3, 5, 4)
    yield 'valid_8bit_5x3.bmp', bmp(5, 3, 8)
    yield 'valid_8bit_16colours.bmp', bmp(7, 2, 8, table=16, clr_used=16)
    yield 'valid_24bit_3x2.bmp', bmp(3, 2, 24)
    yield 'valid_32bit_2x2.bmp', bmp(2, 2, 32)
    yield 'valid_rle8.bmp', bmp(4, 2, 8, compression=1, size_image=8)
    base = bmp(5, 3, 8)
    yield 'broken_not_bm.bmp', b'XM' + base[2:]
    yield 'broken_os2_header.bmp', patch(base, 14, '<I', 12)
    yield 'broken_v4_header.bmp', patch(base, 14, '<I', 108)
    yield 'broken_size_below_offset.bmp', patch(base, 2, '<I', 100)
    yield 'broken_top_down.bmp', patch(base, 22, '<i', -3)
    yield 'broken_width_zero.bmp', patch(base, 18, '<i', 0)
    yield 'broken_huge.bmp', patch(patch(base, 18, '<i', 0x40000000), 22, '<i', 4)
    yield 'broken_rows_short.bmp', patch(base, 22, '<i', 4)
    yield 'broken_clrused.bmp', patch(base, 46, '<I', 0x12341234)
    yield 'broken_truncated.bmp', base[:60]


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), 'corpus', 'bmp')
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
