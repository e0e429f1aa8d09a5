#!/usr/bin/env python3
"""Tests of res/check_art.py and res/artgen.py.

CheckArt copies the good art folder for each case, breaks one file the way a paint program or a careless
hand would, runs the checker as the build does and expects exactly one line naming that file and what
is wrong. Generator checks that the committed art is what the generator draws, byte for byte.
"""

import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.normpath(os.path.join(HERE, "..", "..", "res"))
CHECKER = os.path.join(RES, "check_art.py")
GENERATOR = os.path.join(RES, "artgen.py")
GOOD_ART = os.path.join(RES, "art")

HEADER_FIELDS = [
    "size",
    "width",
    "height",
    "planes",
    "bits",
    "compression",
    "image_size",
    "xres",
    "yres",
    "used",
    "important",
]
INFO = "<IiiHHIIiiII"


def run_checker(folder, cwd):
    done = subprocess.run([sys.executable, CHECKER, folder], cwd=cwd, capture_output=True, text=True)
    return done.returncode, done.stderr.splitlines(), done.stdout


# -- BMP helpers: read a good picture, write it back another way ------------------------------------------


def read_bmp(data):
    info = dict(zip(HEADER_FIELDS, struct.unpack_from(INFO, data, 14)))
    offset = struct.unpack_from("<I", data, 10)[0]
    info["table"] = data[54:offset]
    info["pixels"] = data[offset:]
    return info


def write_bmp(info, **changes):
    info = dict(info, **changes)
    table, pixels = info["table"], info["pixels"]
    header = struct.pack(INFO, *[info[k] for k in HEADER_FIELDS])
    offset = 14 + len(header) + len(table)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + header + table + pixels


def rows_8bit(info):
    """Rows of palette indices, bottom-up, from an uncompressed 8-bit picture."""
    stride = (info["width"] + 3) & ~3
    return [info["pixels"][y * stride : y * stride + info["width"]] for y in range(info["height"])]


def as_24bit(data):
    info = read_bmp(data)
    table = info["table"]
    stride = (info["width"] * 3 + 3) & ~3
    pixels = b"".join(
        b"".join(table[4 * i : 4 * i + 3] for i in row).ljust(stride, b"\0") for row in rows_8bit(info)
    )
    return write_bmp(info, bits=24, table=b"", image_size=len(pixels), pixels=pixels)


def with_short_table(data, entries):
    info = read_bmp(data)
    return write_bmp(info, used=entries, table=info["table"][: 4 * entries])


def with_v5_header(data):
    info = read_bmp(data)
    v5 = struct.pack(INFO, *[info[k] for k in HEADER_FIELDS])[4:] + bytes(124 - 40)
    offset = 14 + 124 + len(info["table"])
    return (
        struct.pack("<2sIHHII", b"BM", offset + len(info["pixels"]), 0, 0, offset, 124)
        + v5
        + info["table"]
        + info["pixels"]
    )


def decoded_rle(data):
    """The RLE picture stored uncompressed, as an editor that drops the compression would save it."""
    info = read_bmp(data)
    w, h, stream = info["width"], info["height"], info["pixels"]
    rows, row, i = [], bytearray(), 0
    while True:
        count, value = stream[i], stream[i + 1]
        i += 2
        if count:
            row += bytes([value]) * count
        elif value == 0:
            rows.append(row)
            row = bytearray()
        elif value == 1:
            rows.append(row)
            break
        else:
            raise AssertionError("the fixture expects encoded runs only")
    stride = (w + 3) & ~3
    pixels = b"".join(bytes(r).ljust(stride, b"\0") for r in rows[:h])
    return write_bmp(info, compression=0, image_size=len(pixels), pixels=pixels)


def patch(offset, fmt, value):
    def damage(data):
        out = bytearray(data)
        struct.pack_into("<" + fmt, out, offset, value)
        return bytes(out)

    return damage


def header(field, value):
    offsets = {"width": 18, "height": 22, "planes": 26, "bits": 28, "compression": 30, "xres": 38, "used": 46}
    return patch(
        offsets[field],
        "i" if field in ("width", "height", "xres") else "H" if field in ("planes", "bits") else "I",
        value,
    )


# -- ICO helpers ----------------------------------------------------------------------------------------


def ico_images(data):
    count = struct.unpack_from("<H", data, 4)[0]
    images = []
    for n in range(count):
        entry = data[6 + 16 * n : 6 + 16 * n + 16]
        length, offset = struct.unpack_from("<II", entry, 8)
        images.append((entry[:8], data[offset : offset + length]))
    return images


def write_ico(images):
    out, blobs, offset = [struct.pack("<HHH", 0, 1, len(images))], [], 6 + 16 * len(images)
    for head, blob in images:
        out.append(head + struct.pack("<II", len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return b"".join(out + blobs)


def keep_images(*keep):
    return lambda data: write_ico([img for n, img in enumerate(ico_images(data)) if n in keep])


def as_png_image(data):
    ((head, _),) = ico_images(data)
    return write_ico([(head, b"\x89PNG\r\n\x1a\n" + bytes(64))])


def bigger_icon(data):
    """The icon's 16-colour image announced and stored as 48 x 48."""
    ((head, blob),) = ico_images(data)
    table, mask_stride = 16 * 4, 8
    xor, andm = bytes(48 * 24), bytes(48 * mask_stride)
    dib = struct.pack(INFO, 40, 48, 96, 1, 4, 0, len(xor) + len(andm), 0, 0, 0, 0) + blob[40 : 40 + table]
    return write_ico([(bytes([48, 48]) + head[2:], dib + xor + andm)])


def good(name):
    with open(os.path.join(GOOD_ART, name), "rb") as f:
        return f.read()


# (what goes wrong, file, how the copy is made from the good file (None: the file is removed), the one line
# the checker must print)
# fmt: off
CASES = [
    ("background of the wrong size", "background.bmp", header("height", 400),
     "background.bmp: 440 x 400 pixels, the launcher needs 440 x 440"),
    ("face saved as true colour", "install_hover.bmp", as_24bit,
     "install_hover.bmp: 24 bits per pixel, the launcher needs 8"),
    ("face with a 16-entry table", "readme_pressed.bmp", lambda d: with_short_table(d, 16),
     "readme_pressed.bmp: a 16-entry colour table, the launcher needs all 256"),
    ("face stored top-down", "exit_hover.bmp", header("height", -45),
     "exit_hover.bmp: rows stored top-down, the launcher needs them bottom-up"),
    ("face with a resolution", "install_pressed.bmp", header("xres", 2835),
     "install_pressed.bmp: a resolution of 2835 x 0 pixels per metre, the launcher needs none (0 x 0)"),
    ("face saved with a version 5 header", "exit_pressed.bmp", with_v5_header,
     "exit_pressed.bmp: a 124-byte info header, the launcher needs the 40-byte one"),
    ("face compressed", "readme_hover.bmp", header("compression", 1),
     "readme_hover.bmp: RLE8, the launcher needs it uncompressed (BI_RGB)"),
    ("background whose table is no longer the exit face's", "background.bmp", patch(54 + 4 * 200, "B", 0x11),
     "exit_normal.bmp: its colour table differs from background.bmp's, the two must share one table"),
    ("read-me face with its own table", "readme_normal.bmp", patch(54 + 4 * 3, "B", 0x11),
     "readme_normal.bmp: its colour table differs from install_normal.bmp's, the two must share one table"),
    ("RLE picture saved without compression", "rle_sample.bmp", decoded_rle,
     "rle_sample.bmp: uncompressed (BI_RGB), the launcher needs 8-bit run-length encoding (RLE8)"),
    ("RLE picture whose first run overflows its row", "rle_sample.bmp", patch(1078, "B", 20),
     "rle_sample.bmp: its run-length data runs outside the 19 x 39 picture"),
    ("RLE picture without its end marker", "rle_sample.bmp", lambda d: write_bmp(
        read_bmp(d), pixels=read_bmp(d)["pixels"][:-2], image_size=len(read_bmp(d)["pixels"]) - 2),
     "rle_sample.bmp: its run-length data ends without an end-of-bitmap marker"),
    ("truncated background", "background.bmp", lambda d: d[: len(d) // 2],
     "background.bmp: cut short: 97339 of the 194678 bytes its file header gives"),
    ("face with bytes appended", "install_normal.bmp", lambda d: d + bytes(4),
     "install_normal.bmp: 8642 bytes, its file header gives 8638"),
    ("face cut inside its colour table", "install_hover.bmp", lambda d: d[:300],
     "install_hover.bmp: the file ends inside its colour table (300 of 1078 bytes)"),
    ("PNG saved under a BMP name", "exit_normal.bmp", lambda d: b"\x89PNG\r\n\x1a\n" + d[8:],
     "exit_normal.bmp: not a BMP file (it does not start with 'BM')"),
    ("empty face", "readme_normal.bmp", lambda d: b"",
     "readme_normal.bmp: not a BMP file (it does not start with 'BM')"),
    ("missing face", "exit_pressed.bmp", None, "exit_pressed.bmp: missing, the launcher needs it"),
    ("program icon without its 256-colour image", "setup.ico", keep_images(0),
     "setup.ico: holds 32 x 32 in 16 colours, "
     "the launcher needs 32 x 32 in 16 colours and 32 x 32 in 256 colours"),
    ("chooser icon at 48 pixels", "desktop.ico", bigger_icon,
     "desktop.ico: holds 48 x 48 in 16 colours, the launcher needs 32 x 32 in 16 colours"),
    ("chooser icon holding the 256-colour image", "exit.ico", lambda d: keep_images(1)(good("setup.ico")),
     "exit.ico: holds 32 x 32 in 256 colours, the launcher needs 32 x 32 in 16 colours"),
    ("icon stored as PNG", "acrobat.ico", as_png_image,
     "acrobat.ico: image 1 is stored as PNG, the launcher needs a bitmap image"),
    ("bitmap saved under an icon name", "convert.ico", lambda d: good("install_normal.bmp"),
     "convert.ico: not an icon file (its header is not that of an ICO)"),
    ("icon whose image lies past the end", "osupdate.ico", lambda d: d[:400],
     "osupdate.ico: image 1 lies outside the file"),
    ("icon directory longer than the file", "companionlink.ico", patch(4, "H", 200),
     "companionlink.ico: its directory of 200 images does not fit in the file"),
]
# fmt: on


class CheckArt(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="check_art_")
        self.addCleanup(shutil.rmtree, self.work)

    def copy_of_good_art(self):
        folder = os.path.join(self.work, "art")
        shutil.rmtree(folder, ignore_errors=True)
        shutil.copytree(GOOD_ART, folder)
        return folder

    def test_good_art_is_accepted(self):
        self.copy_of_good_art()
        self.assertEqual(run_checker("art", self.work), (0, [], ""))

    def test_each_fault_is_refused_with_its_message(self):
        for what, name, damage, message in CASES:
            with self.subTest(what):
                folder = self.copy_of_good_art()
                path = os.path.join(folder, name)
                if damage is None:
                    os.remove(path)
                else:
                    with open(path, "rb") as f:
                        data = damage(f.read())
                    with open(path, "wb") as f:
                        f.write(data)
                code, lines, _ = run_checker("art", self.work)
                self.assertEqual((code, lines), (1, ["art/" + message]))

    def test_absolute_folder_outside_the_current_one_is_named_as_given(self):
        folder = self.copy_of_good_art()
        os.remove(os.path.join(folder, "setup.ico"))
        code, lines, _ = run_checker(folder, "/")
        self.assertEqual(
            (code, lines), (1, [folder.lstrip("/") + "/setup.ico: missing, the launcher needs it"])
        )

    def test_several_faults_give_one_line_each(self):
        folder = self.copy_of_good_art()
        os.remove(os.path.join(folder, "exit.ico"))
        with open(os.path.join(folder, "install_hover.bmp"), "wb") as f:
            f.write(b"BM")
        code, lines, _ = run_checker("art", self.work)
        self.assertEqual(code, 1)
        self.assertEqual(
            lines,
            [
                "art/install_hover.bmp: 2 bytes, too short for the BMP headers",
                "art/exit.ico: missing, the launcher needs it",
            ],
        )

    def test_random_damage_gets_a_message_not_a_crash(self):
        sys.path.insert(0, RES)
        import check_art

        rng = random.Random(20240611)  # fixed: the same damaged files on every run
        rules = [(n, lambda d, s=s, c=c: check_art.check_bmp(d, s, c)) for n, s, c in check_art.PICTURES]
        rules += [(n, lambda d, i=i: check_art.check_ico(d, i)) for n, i in check_art.ICONS]
        for name, check in rules:
            data = good(name)
            for _ in range(200):
                damaged = bytearray(data[: rng.randrange(len(data))] if rng.random() < 0.25 else data)
                for _ in range(rng.randrange(1, 4)):
                    if damaged:
                        damaged[rng.randrange(min(len(damaged), 1100))] = rng.randrange(256)
                try:
                    check(bytes(damaged))
                except check_art.Unusable:
                    pass

    def test_bad_invocations(self):
        cases = [
            ([], 2, "usage: check_art.py FOLDER"),
            (["a", "b"], 2, "usage: check_art.py FOLDER"),
            (["no-such-folder"], 1, "no-such-folder: no such folder"),
        ]
        for args, code, line in cases:
            with self.subTest(args=args):
                done = subprocess.run(
                    [sys.executable, CHECKER] + args, cwd=self.work, capture_output=True, text=True
                )
                self.assertEqual((done.returncode, done.stderr.strip()), (code, line))


class Generator(unittest.TestCase):
    def test_committed_art_is_what_the_generator_draws(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, GENERATOR, out], check=True)
            drawn = sorted(os.listdir(out))
            self.assertEqual(drawn, sorted(os.listdir(GOOD_ART)))
            for name in drawn:
                with self.subTest(name):
                    with open(os.path.join(out, name), "rb") as a, open(
                        os.path.join(GOOD_ART, name), "rb"
                    ) as b:
                        self.assertTrue(a.read() == b.read(), "%s differs: rerun res/artgen.py" % name)


if __name__ == "__main__":
    unittest.main(verbosity=2)
