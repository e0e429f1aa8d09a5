#!/usr/bin/env python3
"""The stand-in programs of the demo CD, as the launcher's tests rely on them: each shows a window
with the title that the post-install sequence waits on (where it waits on one), logs its name, its
arguments and its current directory, and closes by itself when asked to.
"""
from __future__ import annotations

import os
import sys
from pathlib import Path

from harness import Session, run_cases, windows_path

# Program -> the title its window must carry (None: any non-empty title).
STANDINS = {
    "Marlo.exe": "Installshield Wizard",
    "DataMover.exe": "Marlo Desktop Database Converter",
    "RomFlash.exe": "Marlo OS Update",
    "acrobat.exe": None,
    "CompLink.exe": None,
}
ARGS = ("/s", "two words")
CLOSE_AFTER_MS = 4000


def show_log_and_close(s: Session) -> None:
    demo_cd = Path(os.environ["DEMO_CD"])
    cd = s.make_cd({name: demo_cd / name for name in STANDINS})
    started = {name: s.start(cd, name, *ARGS, env={"STANDIN_CLOSE_AFTER_MS": str(CLOSE_AFTER_MS)}) for name in STANDINS}

    for name, title in STANDINS.items():
        def shown():
            return [w for w in s.windows() if w.image_name == name and w.visible and w.title]
        windows = s.wait_until(f"the window of {name}", shown)
        if title is not None and [w.title for w in windows] != [title]:
            raise AssertionError(f"{name} shows {[w.title for w in windows]}, expected [{title!r}]")
    s.screenshot("")

    for name, process in started.items():
        s.wait_exit(process, f"{name} (asked to close after {CLOSE_AFTER_MS} ms)")

    lines = s.standin_log.read_bytes().decode("cp1252").split("\r\n")
    if lines[-1] != "":
        raise AssertionError(f"the log does not end in CRLF: {lines[-1]!r}")
    expected = {(name, '/s "two words"', windows_path(cd)) for name in STANDINS}
    logged = [tuple(line.split("\t")) for line in lines[:-1]]
    if sorted(logged) != sorted(expected):
        raise AssertionError(f"log lines {logged}, expected {sorted(expected)}")


if __name__ == "__main__":
    sys.exit(run_cases({"standins_show_log_and_close": show_log_and_close}))
