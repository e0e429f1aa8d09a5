#!/usr/bin/env python3
"""Checks a built Setup.exe: its PE shape, its imports and every resource it carries.

    check_pe.py SETUP_EXE --arch x86|x86_64

Each resource is compared with the table below, field by field: kinds and ids, the language, both dialog
template forms (parsed here: pefile does not read them), the menu, the texts as the program receives
them in code page 1252, the bitmap headers and colour tables, the icon groups and their images, the
version block and the manifest. Every difference is printed on its own line; the exit status is 1 if
there is any. Needs pefile (Debian's python3-pefile).
"""

import argparse
import struct
import sys
import xml.etree.ElementTree as ET

import pefile

LANG_EN_US = 1033
RT_BITMAP, RT_ICON, RT_MENU, RT_DIALOG, RT_STRING = 2, 3, 4, 5, 6
RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 14, 16, 24
KIND_NAMES = {
    RT_BITMAP: "bitmap",
    RT_ICON: "icon image",
    RT_MENU: "menu",
    RT_DIALOG: "dialog",
    RT_STRING: "string block",
    RT_GROUP_ICON: "icon",
    RT_VERSION: "version",
    RT_MANIFEST: "manifest",
}

WS_POPUP, WS_CHILD, WS_VISIBLE, WS_CAPTION, WS_SYSMENU = 0x80000000, 0x40000000, 0x10000000, 0xC00000, 0x80000
WS_TABSTOP, WS_EX_APPWINDOW = 0x10000, 0x40000
DS_ABSALIGN, DS_3DLOOK, DS_SETFONT, DS_MODALFRAME = 0x1, 0x4, 0x40, 0x80
DS_CENTER, DS_CENTERMOUSE = 0x800, 0x1000
SS_BITMAP, SS_NOTIFY, SS_REALSIZEIMAGE = 0xE, 0x100, 0x800
BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON, BS_MULTILINE = 0, 1, 3, 9, 0x2000
BUTTON, STATIC = ("atom", 0x80), ("atom", 0x82)


def ordinal(n):
    return ("atom", n)


FONT = (8, b"MS Sans Serif")
PICTURE = WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_NOTIFY | SS_REALSIZEIMAGE
PUSH = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON
HIDDEN_PUSH = WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON
CHECK = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX
MULTI = CHECK | BS_MULTILINE
RADIO = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON
DEFAULT = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON
CHOOSER = (
    WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK | DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN
)

# Dialog templates. Control texts are code page 1252 bytes, or ("atom", n) for a resource number.
DIALOGS = {
    102: {
        "extended": True,
        "help": 0,
        "style": WS_POPUP | WS_VISIBLE | DS_SETFONT | DS_CENTER,
        "exstyle": WS_EX_APPWINDOW,
        "rect": (0, 0, 294, 194),
        "menu": None,
        "class": None,
        "caption": b"",
        "font": FONT + (0, 0, 1),  # weight any, not italic, DEFAULT_CHARSET
        "controls": [
            (1000, STATIC, ordinal(143), PICTURE, (168, 34, 103, 34)),
            (1001, STATIC, ordinal(144), PICTURE, (168, 89, 103, 34)),
            (1002, STATIC, ordinal(145), PICTURE, (168, 144, 103, 34)),
        ],
    },
    146: {
        "extended": False,
        "style": CHOOSER,
        "exstyle": 0,
        "rect": (0, 0, 232, 142),
        "menu": None,
        "class": None,
        "caption": b"Kies een optie",
        "font": FONT,
        "controls": [
            (1001, BUTTON, b"Marlo Desktop Installeren", PUSH, (23, 7, 187, 28)),
            (1002, BUTTON, b"Adobe Acrobat Reader installeren", PUSH, (23, 40, 187, 28)),
            (1003, BUTTON, b"Einde en terug naar Windows", PUSH, (23, 107, 187, 28)),
            (1004, BUTTON, b"CompanionLink installeren", PUSH, (23, 73, 187, 28)),
            (1006, BUTTON, b"Database converteren", HIDDEN_PUSH, (23, 107, 187, 28)),
            (1007, BUTTON, b"Marlo PDA Operating system updaten", HIDDEN_PUSH, (23, 107, 187, 28)),
        ],
    },
    153: {
        "extended": False,
        "style": WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
        "exstyle": 0,
        "rect": (0, 0, 277, 177),
        "menu": None,
        "class": None,
        "caption": b"Selecteer Setup opties",
        "font": FONT,
        "controls": [
            (1, BUTTON, b"OK", DEFAULT, (161, 156, 50, 14)),
            (2, BUTTON, b"Annuleren", PUSH, (220, 156, 50, 14)),
            (1002, BUTTON, b"Express Setup", RADIO, (7, 7, 61, 10)),
            (1003, BUTTON, b"Aangepaste Setup", RADIO, (7, 40, 75, 10)),
            (
                1004,
                BUTTON,
                b"Verwijder eerder ge\xefnstalleerde Marlo Desktop versies",
                CHECK,
                (20, 109, 230, 10),
            ),
            (
                1006,
                BUTTON,
                b"Marlo PDA besturingssysteem naar versie 1.3.01 updaten",
                MULTI,
                (20, 130, 250, 18),
            ),
            (1007, BUTTON, b"Marlo Desktop Installeren", CHECK, (20, 58, 101, 10)),
            (
                1005,
                BUTTON,
                b"Converteer Zelto Desktop 1.1 of 1.2 naar Marlo Desktop",
                MULTI,
                (20, 76, 250, 24),
            ),
            (1008, BUTTON, b"Installeer alleen Marlo Desktop", CHECK, (20, 22, 118, 10)),
        ],
    },
}

# Menu 103: one popup; items (command, text, flags). MF_END (0x80) marks the last item of a level.
MENU = [
    (
        b"_POPUP_",
        0x10 | 0x80,
        [(32771, b"&Installeren", 0), (32772, b"&Leesmij", 0), (32773, b"&Einde", 0x80)],
    )
]

STRINGS = {
    1: b"Marlo Desktop -  Launchbar",
    2: b"Tandem",
    3: b"Zorg ervoor dat alle Marlo applicaties afgesloten zijn. Klik OK om ze te sluiten of Annuleren om "
    b"het programma te be\xebindigen.",
    4: b"Setup",
    5: b"A.u.b. computer herstarten.",
    6: b"Herstarten",
    7: b"Marlo Desktop Database Converter",
    8: b"Bevestigen verwijderen bestanden",
    9: b"Programma's uit de computer verwijderen",
    10: b"Marlo OS Update",
    11: b"Installshield Wizard",
}

BI_RGB, BI_RLE8 = 0, 1
FACE = (165, 45, BI_RGB, 168 * 45)
BITMAPS = {  # width, height, compression, bytes of pixels
    140: (440, 440, BI_RGB, 440 * 440),
    143: FACE,
    132: FACE,
    133: FACE,
    144: FACE,
    131: FACE,
    134: FACE,
    145: FACE,
    141: FACE,
    135: FACE,
    129: (19, 39, BI_RLE8, 358),
}
SHARED_TABLES = [(144, 143), (145, 140)]

ICONS = {  # images of each group as (width, height, bits per pixel); 128 must be the first group
    128: [(32, 32, 4), (32, 32, 8)],
    147: [(32, 32, 4)],
    148: [(32, 32, 4)],
    150: [(32, 32, 4)],
    151: [(32, 32, 4)],
    152: [(32, 32, 4)],
    153: [(32, 32, 4)],
}

VERSION_FIXED = {
    "FileVersionMS": 0x00010000,
    "FileVersionLS": 0x00000001,
    "ProductVersionMS": 0x00010000,
    "ProductVersionLS": 0x00000001,
    "FileFlagsMask": 0x3F,
    "FileFlags": 0,
    "FileOS": 0x4,
    "FileType": 0x1,
    "FileSubtype": 0,
}
VERSION_TEXTS = {"FileDescription": "Setup", "FileVersion": "1, 0, 0, 1", "ProductVersion": "1, 0, 0, 1"}
VERSION_NAMED = ["CompanyName", "InternalName", "OriginalFilename", "ProductName"]
VERSION_EMPTY = ["Comments", "LegalCopyright", "LegalTrademarks", "PrivateBuild", "SpecialBuild"]

SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10 and 11",
}

ARCHES = {  # CMAKE_SYSTEM_PROCESSOR -> machine, optional header magic, what to call them
    "x86": (0x14C, 0x10B, "i386, PE32"),
    "x86_64": (0x8664, 0x20B, "amd64, PE32+"),
}
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
# Windows' own libraries the program may import. Anything else would be looked for beside Setup.exe on
# the CD first; winmm in particular is loaded from the system folder at run time, never imported.
ALLOWED_IMPORTS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "msvcrt.dll"}


class Reader:
    """Sequential little-endian reads from resource bytes, with the template's word alignment."""

    def __init__(self, data):
        self.data, self.pos = data, 0

    def take(self, fmt):
        size = struct.calcsize("<" + fmt)
        if self.pos + size > len(self.data):
            raise ValueError("ends early, at byte %d" % self.pos)
        values = struct.unpack_from("<" + fmt, self.data, self.pos)
        self.pos += size
        return values if len(values) > 1 else values[0]

    def text(self):
        """A zero-terminated UTF-16 string, as code page 1252 bytes (what the ANSI interfaces give)."""
        end = self.pos
        while True:
            if end + 2 > len(self.data):
                raise ValueError("a text runs past the end")
            if self.data[end : end + 2] == b"\0\0":
                break
            end += 2
        raw = self.data[self.pos : end]
        self.pos = end + 2
        return ansi(raw.decode("utf-16-le"))

    def name_or_atom(self):
        first = self.take("H")
        if first == 0:
            return None
        if first == 0xFFFF:
            return ("atom", self.take("H"))
        self.pos -= 2
        return self.text()

    def align(self, n=4):
        self.pos = (self.pos + n - 1) // n * n


def ansi(text):
    try:
        return text.encode("cp1252")
    except UnicodeEncodeError:
        return ("not in code page 1252", text)


def parse_dialog(data):
    """Either template form, as a dict shaped like the entries of DIALOGS."""
    r = Reader(data)
    d = {}
    if data[:4] == b"\x01\x00\xff\xff":
        d["extended"] = True
        _, _, d["help"], d["exstyle"], d["style"], count = r.take("HHIIIH")
    else:
        d["extended"] = False
        d["style"], d["exstyle"], count = r.take("IIH")
    d["rect"] = r.take("hhhh")
    d["menu"], d["class"], d["caption"] = r.name_or_atom(), r.name_or_atom(), r.text()
    if d["style"] & DS_SETFONT:
        if d["extended"]:
            size, weight, italic, charset = r.take("HHBB")
            d["font"] = (size, r.text(), weight, italic, charset)
        else:
            size = r.take("H")
            d["font"] = (size, r.text())
    d["controls"] = []
    for _ in range(count):
        r.align()
        if d["extended"]:
            help_id, exstyle, style = r.take("III")
            rect = r.take("hhhh")
            ident = r.take("I")
        else:
            style, exstyle = r.take("II")
            rect = r.take("hhhh")
            ident = r.take("H")
            help_id = 0
        cls, text = r.name_or_atom(), r.name_or_atom()
        extra = r.take("H")
        r.pos += extra
        d["controls"].append(
            {
                "id": ident,
                "class": cls,
                "text": text,
                "style": style,
                "exstyle": exstyle,
                "help": help_id,
                "rect": rect,
            }
        )
    if r.pos < len(data) and any(data[r.pos :]):
        raise ValueError("%d bytes after the last control" % (len(data) - r.pos))
    return d


def parse_menu(data):
    r = Reader(data)
    version, header = r.take("HH")
    if (version, header) != (0, 0):
        raise ValueError("not a standard menu template (version %d, header %d)" % (version, header))

    def level():
        items = []
        while True:
            flags = r.take("H")
            if flags & 0x10:
                text = r.text()
                items.append((text, flags, level()))
            else:
                ident = r.take("H")
                items.append((ident, r.text(), flags))
            if flags & 0x80:
                return items

    return level()


def parse_string_block(data):
    r = Reader(data)
    texts = []
    for _ in range(16):
        length = r.take("H")
        raw = r.data[r.pos : r.pos + 2 * length]
        if len(raw) != 2 * length:
            raise ValueError("a text runs past the end")
        r.pos += 2 * length
        texts.append(ansi(raw.decode("utf-16-le")))
    return texts


def hexed(value):
    return "0x%X" % value if isinstance(value, int) else repr(value)


class Checker:
    def __init__(self, pe, arch):
        self.pe, self.arch = pe, arch
        self.problems = []
        self.resources = {}  # (kind, id) -> bytes

    def fail(self, what, text):
        self.problems.append("%s: %s" % (what, text))

    def expect(self, what, field, actual, expected):
        if actual != expected:
            show = hexed if field in ("style", "exstyle") else repr
            self.fail(what, "%s is %s, expected %s" % (field, show(actual), show(expected)))

    # -- the image as a whole --------------------------------------------------------------------------

    def check_image(self):
        machine, magic, names = ARCHES[self.arch]
        if self.pe.FILE_HEADER.Machine != machine or self.pe.OPTIONAL_HEADER.Magic != magic:
            self.fail(
                "PE",
                "machine 0x%X with optional header 0x%X, the %s build must be %s"
                % (self.pe.FILE_HEADER.Machine, self.pe.OPTIONAL_HEADER.Magic, self.arch, names),
            )
        if self.pe.OPTIONAL_HEADER.Subsystem != IMAGE_SUBSYSTEM_WINDOWS_GUI:
            self.fail(
                "PE",
                "subsystem %d, expected the Windows GUI subsystem (2)" % self.pe.OPTIONAL_HEADER.Subsystem,
            )
        imported = [e.dll.decode("ascii", "replace") for e in getattr(self.pe, "DIRECTORY_ENTRY_IMPORT", [])]
        imported += [
            e.dll.decode("ascii", "replace") for e in getattr(self.pe, "DIRECTORY_ENTRY_DELAY_IMPORT", [])
        ]
        for dll in imported:
            if dll.lower() == "winmm.dll":
                self.fail("imports", "winmm.dll is imported; the program must load it from the system folder")
            elif dll.lower() not in ALLOWED_IMPORTS:
                self.fail(
                    "imports", "%s is not one of Windows' own libraries that the program may import" % dll
                )

    # -- the resource directory ------------------------------------------------------------------------

    def collect(self):
        root = getattr(self.pe, "DIRECTORY_ENTRY_RESOURCE", None)
        if root is None:
            self.fail("resources", "the executable has none")
            return
        for kind in root.entries:
            if kind.id is None or kind.id not in KIND_NAMES:
                self.fail("resources", "unexpected kind %s" % (kind.name or kind.id))
                continue
            for entry in kind.directory.entries:
                label = "%s %s" % (KIND_NAMES[kind.id], entry.name or entry.id)
                langs = [leaf.id for leaf in entry.directory.entries]
                if langs != [LANG_EN_US]:
                    self.fail(label, "stored under language %s, expected only %d" % (langs, LANG_EN_US))
                leaf = entry.directory.entries[0]
                rva, size = leaf.data.struct.OffsetToData, leaf.data.struct.Size
                self.resources[(kind.id, entry.id)] = self.pe.get_data(rva, size)
        for kind, expected in (
            (RT_DIALOG, DIALOGS),
            (RT_BITMAP, BITMAPS),
            (RT_GROUP_ICON, ICONS),
            (RT_MENU, [103]),
            (RT_STRING, [1]),
            (RT_VERSION, [1]),
            (RT_MANIFEST, [1]),
        ):
            present = sorted(i for k, i in self.resources if k == kind)
            if present != sorted(expected):
                self.fail(
                    "resources", "%s ids are %s, expected %s" % (KIND_NAMES[kind], present, sorted(expected))
                )
        groups = [e.id for k in root.entries if k.id == RT_GROUP_ICON for e in k.directory.entries]
        if groups and groups[0] != 128:
            self.fail("icon 128", "is not the first icon group (the first is %s)" % groups[0])

    # -- each kind -------------------------------------------------------------------------------------

    def check_dialogs(self):
        for ident, want in DIALOGS.items():
            data = self.resources.get((RT_DIALOG, ident))
            if data is None:
                continue
            what = "dialog %d" % ident
            try:
                got = parse_dialog(data)
            except ValueError as e:
                self.fail(what, "cannot be read: %s" % e)
                continue
            for field in ("extended", "help", "style", "exstyle", "rect", "menu", "class", "caption", "font"):
                if field in want or field in got:
                    self.expect(what, field, got.get(field), want.get(field))
            ids = [c["id"] for c in got["controls"]]
            want_ids = [c[0] for c in want["controls"]]
            if ids != want_ids:
                self.fail(what, "controls in the order %s, expected %s" % (ids, want_ids))
                continue
            for control, (cid, cls, text, style, rect) in zip(got["controls"], want["controls"]):
                where = "%s control %d" % (what, cid)
                self.expect(where, "class", control["class"], cls)
                self.expect(where, "text", control["text"], text)
                self.expect(where, "style", control["style"], style)
                self.expect(where, "exstyle", control["exstyle"], 0)
                self.expect(where, "help id", control["help"], 0)
                self.expect(where, "position and size", control["rect"], rect)

    def check_menu(self):
        data = self.resources.get((RT_MENU, 103))
        if data is None:
            return
        try:
            got = parse_menu(data)
        except ValueError as e:
            self.fail("menu 103", "cannot be read: %s" % e)
            return
        if got != MENU:
            self.fail("menu 103", "holds %r, expected %r" % (got, MENU))

    def check_strings(self):
        data = self.resources.get((RT_STRING, 1))
        if data is None:
            return
        try:
            texts = parse_string_block(data)
        except ValueError as e:
            self.fail("string block 1", "cannot be read: %s" % e)
            return
        for ident, text in enumerate(texts):
            self.expect("string %d" % ident, "text", text, STRINGS.get(ident, b""))

    def check_bitmaps(self):
        tables = {}
        for ident, (width, height, compression, pixels) in BITMAPS.items():
            data = self.resources.get((RT_BITMAP, ident))
            if data is None:
                continue
            what = "bitmap %d" % ident
            if len(data) < 40:
                self.fail(what, "%d bytes, too short for its header" % len(data))
                continue
            (size, w, h, planes, bits, comp, image, xres, yres, used, _) = struct.unpack_from(
                "<IiiHHIIiiII", data
            )
            got = {
                "header size": size,
                "width": w,
                "height": h,
                "planes": planes,
                "bits per pixel": bits,
                "compression": comp,
                "resolution": (xres, yres),
                "colours used": used,
                "pixel bytes": len(data) - 40 - 1024,
            }
            want = {
                "header size": 40,
                "width": width,
                "height": height,
                "planes": 1,
                "bits per pixel": 8,
                "compression": compression,
                "resolution": (0, 0),
                "colours used": 0,
                "pixel bytes": pixels,
            }
            for field in want:
                self.expect(what, field, got[field], want[field])
            if image not in ((0, pixels) if compression == BI_RGB else (pixels,)):
                self.fail(what, "the header's image size is %d, expected %d" % (image, pixels))
            tables[ident] = data[40 : 40 + 1024]
        for ident, owner in SHARED_TABLES:
            if ident in tables and owner in tables and tables[ident] != tables[owner]:
                self.fail("bitmap %d" % ident, "its colour table is not bitmap %d's" % owner)

    def check_icons(self):
        referenced = set()
        for ident, want in ICONS.items():
            data = self.resources.get((RT_GROUP_ICON, ident))
            if data is None:
                continue
            what = "icon %d" % ident
            try:
                r = Reader(data)
                reserved, kind, count = r.take("HHH")
                entries = [r.take("BBBBHHIH") for _ in range(count)]
            except ValueError as e:
                self.fail(what, "cannot be read: %s" % e)
                continue
            if (reserved, kind) != (0, 1):
                self.fail(what, "is not an icon group")
                continue
            images = []
            for w8, h8, _, _, _, bits, length, image_id in entries:
                referenced.add(image_id)
                image = self.resources.get((RT_ICON, image_id))
                if image is None:
                    self.fail(what, "refers to icon image %d, which is missing" % image_id)
                    continue
                if len(image) != length:
                    self.fail(
                        what, "image %d holds %d bytes, the group says %d" % (image_id, len(image), length)
                    )
                if len(image) < 40:
                    self.fail(what, "image %d is too short for a bitmap header" % image_id)
                    continue
                size, w, h, planes, dib_bits = struct.unpack_from("<IiiHH", image)
                if (size, h, planes) != (40, 2 * w, 1) or (w8 or 256, h8 or 256, bits) != (w, w, dib_bits):
                    self.fail(what, "image %d's header does not match the group's entry" % image_id)
                images.append((w, w, dib_bits))
            if images != want:
                self.fail(what, "holds images %s, expected %s" % (images, want))
        orphans = sorted(i for k, i in self.resources if k == RT_ICON and i not in referenced)
        if orphans:
            self.fail("icon images", "%s belong to no icon group" % orphans)

    def check_version(self):
        if (RT_VERSION, 1) not in self.resources:
            return
        fixed = self.pe.VS_FIXEDFILEINFO[0] if getattr(self.pe, "VS_FIXEDFILEINFO", None) else None
        if fixed is None:
            self.fail("version", "has no fixed file information")
            return
        for field, value in VERSION_FIXED.items():
            self.expect("version", field, getattr(fixed, field), value)
        tables, translations = {}, []
        for info in self.pe.FileInfo[0]:
            for table in getattr(info, "StringTable", []):
                tables[table.LangID.decode()] = {k.decode(): v.decode() for k, v in table.entries.items()}
            for var in getattr(info, "Var", []):
                translations.append(var.entry.get(b"Translation"))
        if list(tables) != ["040904b0"]:
            self.fail("version", "string blocks %s, expected only 040904b0" % sorted(tables))
        if translations != ["0x0409 0x04b0"]:
            self.fail("version", "translations %s, expected 0x0409 with code page 1200" % translations)
        values = tables.get("040904b0", {})
        for key, value in VERSION_TEXTS.items():
            self.expect("version", key, values.get(key), value)
        for key in VERSION_NAMED:
            if not values.get(key):
                self.fail("version", "%s is missing or empty" % key)
        for key in VERSION_EMPTY:
            if values.get(key):
                self.fail("version", "%s is %r, expected empty" % (key, values[key]))
        extra = set(values) - set(VERSION_TEXTS) - set(VERSION_NAMED) - set(VERSION_EMPTY)
        if extra:
            self.fail("version", "unexpected fields %s" % sorted(extra))

    def check_manifest(self):
        data = self.resources.get((RT_MANIFEST, 1))
        if data is None:
            return
        try:
            root = ET.fromstring(data)
        except ET.ParseError as e:
            self.fail("manifest", "is not well-formed XML: %s" % e)
            return
        levels = [e for e in root.iter() if e.tag.endswith("}requestedExecutionLevel")]
        if [(e.get("level"), e.get("uiAccess")) for e in levels] != [("asInvoker", "false")]:
            self.fail(
                "manifest",
                "must ask for level asInvoker without uiAccess, found %s"
                % [(e.get("level"), e.get("uiAccess")) for e in levels],
            )
        listed = {e.get("Id", "").lower() for e in root.iter() if e.tag.endswith("}supportedOS")}
        for guid, name in SUPPORTED_OS.items():
            if guid not in listed:
                self.fail("manifest", "does not declare Windows %s as supported" % name)

    def run(self):
        self.check_image()
        self.collect()
        self.check_dialogs()
        self.check_menu()
        self.check_strings()
        self.check_bitmaps()
        self.check_icons()
        self.check_version()
        self.check_manifest()
        return self.problems


def check(data, arch):
    """All differences between the executable's bytes and the expected values, as lines of text."""
    try:
        pe = parse(data)
    except pefile.PEFormatError as e:
        return ["PE: not a valid executable (%s)" % e]
    return Checker(pe, arch).run()


def parse(data):
    """The headers, imports and resources; the rest (relocations, debug data) is not needed here."""
    pe = pefile.PE(data=data, fast_load=True)
    pe.parse_data_directories(
        directories=[
            pefile.DIRECTORY_ENTRY[name]
            for name in (
                "IMAGE_DIRECTORY_ENTRY_IMPORT",
                "IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT",
                "IMAGE_DIRECTORY_ENTRY_RESOURCE",
            )
        ]
    )
    return pe


def main(argv):
    parser = argparse.ArgumentParser(
        description="Check a built Setup.exe against the resources it must carry."
    )
    parser.add_argument("exe")
    parser.add_argument("--arch", required=True, choices=sorted(ARCHES))
    args = parser.parse_args(argv[1:])
    with open(args.exe, "rb") as f:
        problems = check(f.read(), args.arch)
    for line in problems:
        print("%s: %s" % (args.exe, line))
    if problems:
        print("%d differences from the expected resources" % len(problems))
        return 1
    print("%s: PE shape, imports and every resource as expected" % args.exe)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
