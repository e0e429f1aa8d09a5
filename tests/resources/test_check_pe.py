#!/usr/bin/env python3
"""Shows that check_pe.py catches real faults: each case damages one detail of a copy of the built
Setup.exe, in memory, and expects the checker to name it.

    test_check_pe.py SETUP_EXE --arch x86|x86_64
"""

import argparse
import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_pe  # noqa: E402

EXE, ARCH = None, None


def utf16(text):
    return text.encode("utf-16-le")


def replace_once(data, old, new):
    assert len(old) == len(new), "a patch must keep the length"
    if data.count(old) != 1:
        raise AssertionError("%r occurs %d times in the executable" % (old, data.count(old)))
    return data.replace(old, new)


def resource_offset(data, kind, ident):
    pe = check_pe.parse(data)
    for k in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if k.id == kind:
            for e in k.directory.entries:
                if e.id == ident:
                    return pe.get_offset_from_rva(e.directory.entries[0].data.struct.OffsetToData)
    raise AssertionError("no resource %d/%d" % (kind, ident))


def poke(data, offset, fmt, value):
    out = bytearray(data)
    struct.pack_into("<" + fmt, out, offset, value)
    return bytes(out)


def in_resource(kind, ident, at, fmt, value):
    return lambda d: poke(d, resource_offset(d, kind, ident) + at, fmt, value)


def text(old, new):
    return lambda d: replace_once(d, utf16(old), utf16(new))


def language_of(kind, ident, lang):
    def damage(d):
        pe = check_pe.parse(d)
        for k in pe.DIRECTORY_ENTRY_RESOURCE.entries:
            if k.id == kind:
                for e in k.directory.entries:
                    if e.id == ident:
                        return poke(d, e.directory.entries[0].struct.get_file_offset(), "I", lang)
        raise AssertionError("no resource %d/%d" % (kind, ident))

    return damage


def rename_import(old, new):
    def damage(d):
        pe = check_pe.parse(d)
        for entry in pe.DIRECTORY_ENTRY_IMPORT:
            if entry.dll.lower() == old:
                at = pe.get_offset_from_rva(entry.struct.Name)
                return d[:at] + new.ljust(len(old), b"\0") + d[at + len(old) :]
        raise AssertionError("%r is not imported" % old)

    return damage


def subsystem(value):
    def damage(d):
        pe = check_pe.parse(d)
        return poke(d, pe.OPTIONAL_HEADER.get_field_absolute_offset("Subsystem"), "H", value)

    return damage


def version_field(at, value):
    return lambda d: poke(d, d.index(struct.pack("<I", 0xFEEF04BD)) + at, "I", value)


def static_picture(old, new):
    # The template stores the class atom (0xFFFF 0x0082) followed by the picture's number.
    return lambda d: replace_once(
        d, struct.pack("<HHHH", 0xFFFF, 0x82, 0xFFFF, old), struct.pack("<HHHH", 0xFFFF, 0x82, 0xFFFF, new)
    )


def classic_control(ident, rect, style, new_style=None, new_id=None):
    old = struct.pack("<IIhhhhH", style, 0, *rect, ident)
    new = struct.pack(
        "<IIhhhhH", style if new_style is None else new_style, 0, *rect, ident if new_id is None else new_id
    )
    return lambda d: replace_once(d, old, new)


def swap(old, new):
    return lambda d: replace_once(d, old, new)


CHOOSER_SPOT = (23, 107, 187, 28)
WINDOWS_10 = b"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"
FACE_TABLE_AT = 40 + 17 * 4  # a byte of colour table entry 17 in a bitmap resource

# (what goes wrong, how the copy is damaged, architecture override, what the checker must say)
# fmt: off
CASES = [
    ("text 1 loses its second space", text("-  L", "- _L"), None, "string 1: text"),
    ("text 3 stores e for e-diaeresis", text("be\u00ebind", "beeind"), None, "string 3: text"),
    ("option 1004 stores i for i-diaeresis", text("ge\u00efnst", "geinst"), None,
     "dialog 153 control 1004: text"),
    ("the converter button is created visible",
     classic_control(1006, CHOOSER_SPOT, 0x40010000, new_style=0x50010000), None,
     "dialog 146 control 1006: style"),
    ("the exit button of the chooser has another id",
     classic_control(1003, CHOOSER_SPOT, 0x50010000, new_id=1005), None, "dialog 146: controls in the order"),
    ("the launcher's font record says ANSI_CHARSET",
     swap(b"\x08\0\0\0\0\x01" + utf16("MS"), b"\x08\0\0\0\0\0" + utf16("MS")), None, "dialog 102: font"),
    ("the install picture starts with the read-me face", static_picture(143, 144), None,
     "dialog 102 control 1000: text"),
    ("a menu item is greyed",
     swap(struct.pack("<HH", 0, 32772) + utf16("&L"), struct.pack("<HH", 1, 32772) + utf16("&L")), None,
     "menu 103"),
    ("the exit face gets its own colour table", in_resource(2, 145, FACE_TABLE_AT, "B", 0x5A), None,
     "bitmap 145: its colour table"),
    ("the read-me face's table drifts from the install face's", in_resource(2, 144, FACE_TABLE_AT, "B", 0x5A),
     None, "bitmap 144: its colour table"),
    ("the RLE picture claims to be uncompressed", in_resource(2, 129, 16, "I", 0), None,
     "bitmap 129: compression"),
    ("the background carries a resolution", in_resource(2, 140, 24, "i", 2835), None,
     "bitmap 140: resolution"),
    ("a face claims 24 bits per pixel", in_resource(2, 132, 14, "H", 24), None, "bitmap 132: bits per pixel"),
    ("a face declares a 16-entry table", in_resource(2, 131, 32, "I", 16), None, "bitmap 131: colours used"),
    ("the exit face is stored in Dutch", language_of(2, 145, 1043), None,
     "bitmap 145: stored under language"),
    ("the program icon's group lists 4 bits for its 256-colour image",
     in_resource(14, 128, 6 + 14 + 6, "H", 4), None, "icon 128"),
    ("a chooser icon is 48 pixels wide", in_resource(14, 150, 6, "B", 48), None, "icon 150"),
    ("the flags mask is not 0x3F", version_field(0x18, 0x17), None, "version: FileFlagsMask"),
    ("the file type is a DLL", version_field(0x24, 2), None, "version: FileType"),
    ("the manifest asks for UI access", swap(b'uiAccess="false"', b'uiAccess="true" '), None, "manifest"),
    ("the manifest forgets Windows 10", swap(WINDOWS_10, WINDOWS_10[:-2] + b"b}"), None,
     "does not declare Windows 10"),
    ("winmm is imported", rename_import(b"msvcrt.dll", b"WINMM.dll"), None, "winmm.dll is imported"),
    ("a library from outside Windows is imported", rename_import(b"msvcrt.dll", b"zlib1.dll"), None,
     "zlib1.dll is not one of"),
    ("the program is built for the console", subsystem(3), None, "subsystem 3"),
    ("the other architecture's build is checked", lambda d: d, {"x86": "x86_64", "x86_64": "x86"},
     "PE: machine"),
    ("the file is not an executable", lambda d: b"MZ" + b"\0" * 62, None, "PE: not a valid executable"),
]
# fmt: on


class CheckerCatchesFaults(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(EXE, "rb") as f:
            cls.good = f.read()

    def test_the_good_build_passes(self):
        self.assertEqual(check_pe.check(self.good, ARCH), [])

    def test_each_fault_is_named(self):
        for what, damage, arch_swap, expected in CASES:
            with self.subTest(what):
                bad = damage(self.good)
                problems = check_pe.check(bad, arch_swap[ARCH] if arch_swap else ARCH)
                self.assertTrue(
                    any(expected in line for line in problems),
                    "expected a line with %r, got %s" % (expected, problems),
                )


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    parser.add_argument("--arch", required=True, choices=sorted(check_pe.ARCHES))
    args, rest = parser.parse_known_args()
    EXE, ARCH = args.exe, args.arch
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
