#!/usr/bin/env python3
"""The launcher window as a person sees it: its background and button faces on the screen, the faces
following the pointer, and the exit button ending the program.

What the screen shows is compared with the pictures the program was built from (ART_DIR): the window
draws the 440 x 440 background unscaled, and each button shows one of its 165 x 45 faces.
"""
from __future__ import annotations

import os
import struct
import subprocess
import sys
from pathlib import Path

from harness import Session, run_cases, windows_path

FACE_LEFT = 266
FACE_TOPS = {"install": 60, "readme": 198, "exit": 336}
FACE_SIZE = (165, 45)
SAMPLE_STEP = 3


def art(name: str) -> Path:
    return Path(os.environ["ART_DIR"]) / name


def read_bmp(path: Path) -> tuple[int, int, list[list[tuple[int, int, int]]]]:
    """An uncompressed 8-bit BMP as rows of RGB, top row first."""
    data = path.read_bytes()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    assert bits == 8, f"{path}: {bits} bits per pixel"
    table = [tuple(data[54 + 4 * i + k] for k in (2, 1, 0)) for i in range(256)]
    stride = (width + 3) & ~3
    rows = []
    for y in range(height):
        start = offset + (height - 1 - y) * stride
        rows.append([table[b] for b in data[start : start + width]])
    return width, height, rows


class Screen:
    """One capture of the whole X screen."""

    def __init__(self) -> None:
        xwd = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, check=True, timeout=30).stdout
        ppm = subprocess.run(["/usr/bin/convert", "xwd:-", "-depth", "8", "ppm:-"], input=xwd, capture_output=True, check=True,
                             timeout=60).stdout
        header, self.pixels = self._split_ppm(ppm)
        self.width, self.height = header

    @staticmethod
    def _split_ppm(ppm: bytes) -> tuple[tuple[int, int], bytes]:
        fields: list[bytes] = []
        pos = 0
        while len(fields) < 4:
            while ppm[pos : pos + 1].isspace():
                pos += 1
            if ppm[pos : pos + 1] == b"#":  # a comment runs to the end of its line
                pos = ppm.index(b"\n", pos)
                continue
            end = pos
            while not ppm[end : end + 1].isspace():
                end += 1
            fields.append(ppm[pos:end])
            pos = end
        return (int(fields[1]), int(fields[2])), ppm[pos + 1 :]

    def rgb(self, x: int, y: int) -> tuple[int, int, int]:
        i = 3 * (y * self.width + x)
        return self.pixels[i], self.pixels[i + 1], self.pixels[i + 2]


def mismatches(screen: Screen, origin: tuple[int, int], picture: Path, area=None) -> list[str]:
    """Sampled points of the picture (or of an area of it) that the screen shows differently."""
    width, height, rows = read_bmp(picture)
    left, top, right, bottom = area or (0, 0, width, height)
    wrong = []
    for y in range(top, bottom, SAMPLE_STEP):
        for x in range(left, right, SAMPLE_STEP):
            seen = screen.rgb(origin[0] + x, origin[1] + y)
            if seen != rows[y][x]:
                wrong.append(f"({x},{y}) shows {seen}, picture has {rows[y][x]}")
    return wrong


def start_launcher(s: Session, files: dict[str, Path] | None = None, env: dict[str, str] | None = None):
    # Out of the way of the window, so no button starts under the pointer.
    pointer("mousemove", "0", "0")
    cd = s.make_cd({"Setup.exe": Path(os.environ["SETUP_EXE"]), **(files or {})})
    process = s.start(cd, "Setup.exe", env=env)

    # The window exists (with its property) before it is sized, placed and shown: wait until it is
    # visible at its final size and stays where it is.
    def placed():
        first = [w for w in s.windows(prop="Setup") if w.visible and w.size == (440, 440)]
        if not first:
            return None
        again = s.window(first[0].hwnd)
        return again if again is not None and again.rect == first[0].rect else None

    return process, s.wait_until("the launcher window, shown in its place", placed)


def pointer(*args: str) -> None:
    subprocess.run(["xdotool", *args], check=True, timeout=30)


def face_origin(window, button: str) -> tuple[int, int]:
    return window.rect[0] + FACE_LEFT, window.rect[1] + FACE_TOPS[button]


def wait_for_faces(s: Session, window, faces: dict[str, str]) -> None:
    """Waits until every named button shows the named face (e.g. {"exit": "hover"})."""
    def shown() -> bool:
        screen = Screen()
        return all(not mismatches(screen, face_origin(window, b), art(f"{b}_{f}.bmp")) for b, f in faces.items())
    try:
        s.wait_until(f"the faces {faces}", shown, timeout=10)
    except AssertionError:
        screen = Screen()
        details = {b: mismatches(screen, face_origin(window, b), art(f"{b}_{f}.bmp"))[:3] for b, f in faces.items()}
        raise AssertionError(f"the buttons do not show {faces}: {details}") from None


def shows_background_and_faces(s: Session) -> None:
    process, window = start_launcher(s)
    wait_for_faces(s, window, {"install": "normal", "readme": "normal", "exit": "normal"})
    # The background shows wherever no button stands: here the left part, beside the buttons.
    def background_wrong() -> list[str]:
        return mismatches(Screen(), window.rect[:2], art("background.bmp"), area=(0, 0, FACE_LEFT, 440))
    try:
        s.wait_until("the background", lambda: not background_wrong(), timeout=10)
    except AssertionError:
        wrong = background_wrong()
        raise AssertionError(f"{len(wrong)} sampled background points differ, e.g. {wrong[:3]}") from None
    s.screenshot("")
    s.key("Escape")
    s.wait_exit(process, "the launcher, after Escape,")


def faces_follow_the_pointer_and_exit_quits(s: Session) -> None:
    process, window = start_launcher(s)
    exit_x, exit_y = face_origin(window, "exit")
    wait_for_faces(s, window, {"exit": "normal"})

    pointer("mousemove", str(exit_x + 80), str(exit_y + 20))
    wait_for_faces(s, window, {"exit": "hover", "readme": "normal"})
    pointer("mousedown", "1")
    wait_for_faces(s, window, {"exit": "pressed"})
    # Released on the button: the exit action posts the quit message and the program ends.
    pointer("mouseup", "1")
    s.wait_exit(process, "the launcher, after a click on Einde,")


def moving_between_buttons_resets_the_other(s: Session) -> None:
    process, window = start_launcher(s)
    exit_x, exit_y = face_origin(window, "exit")
    readme_x, readme_y = face_origin(window, "readme")
    pointer("mousemove", str(exit_x + 80), str(exit_y + 20))
    wait_for_faces(s, window, {"exit": "hover"})
    pointer("mousemove", str(readme_x + 80), str(readme_y + 20))
    pointer("mousemove", str(readme_x + 81), str(readme_y + 21))
    wait_for_faces(s, window, {"exit": "normal", "readme": "hover"})
    # A press dragged off the button and released elsewhere does nothing.
    pointer("mousedown", "1")
    wait_for_faces(s, window, {"readme": "pressed"})
    pointer("mousemove", str(window.rect[0] + 40), str(window.rect[1] + 40))
    wait_for_faces(s, window, {"readme": "normal"})
    pointer("mouseup", "1")
    s.screenshot("")
    if process.poll() is not None:
        raise AssertionError("the launcher ended after a press dragged off its button")
    s.key("Escape")
    s.wait_exit(process, "the launcher, after Escape,")


def planted_sound_library_is_never_loaded(s: Session) -> None:
    # A winmm.dll on the disc beside Setup.exe, which is also the current folder, preferred over
    # Wine's own by the override: the hover sound must still come from the system folder's.
    marker = s.work / "planted-winmm-loaded"
    overrides = ";".join(filter(None, [os.environ.get("WINEDLLOVERRIDES", ""), "winmm=n,b"]))
    process, window = start_launcher(
        s,
        files={"winmm.dll": Path(os.environ["PLANTED_WINMM"])},
        env={"WINEDLLOVERRIDES": overrides, "PLANTED_WINMM_MARKER": windows_path(marker)},
    )
    exit_x, exit_y = face_origin(window, "exit")
    pointer("mousemove", str(exit_x + 80), str(exit_y + 20))
    wait_for_faces(s, window, {"exit": "hover"})
    # The sound plays on the same thread before the next key is handled: once Esc has ended the
    # program, the library has been loaded for it.
    s.key("Escape")
    s.wait_exit(process, "the launcher, after Escape,")
    if marker.exists():
        raise AssertionError("the launcher loaded the winmm.dll planted on the disc")


CASES = {
    "planted_sound_library_is_never_loaded": planted_sound_library_is_never_loaded,
    "shows_background_and_faces": shows_background_and_faces,
    "faces_follow_the_pointer_and_exit_quits": faces_follow_the_pointer_and_exit_quits,
    "moving_between_buttons_resets_the_other": moving_between_buttons_resets_the_other,
}

if __name__ == "__main__":
    sys.exit(run_cases(CASES))
