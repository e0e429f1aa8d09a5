#!/usr/bin/env python3
"""The launcher as a process: it closes on the dialog keys, and a second start hands over to the
first copy instead of opening a second window.

The launcher window is recognised as Windows sees it: a top-level window titled "Setup" that carries
a non-null property named after the executable's base name ("Setup" for Setup.exe).
"""
from __future__ import annotations

import os
import sys
import time
from functools import partial
from pathlib import Path

from harness import Session, Window, run_cases

LAUNCHER_TITLE = "Setup"
LAUNCHER_SIZE = (440, 440)
SECOND_COPY_TIMEOUT_S = 15.0


def setup_exe() -> Path:
    return Path(os.environ["SETUP_EXE"])


def launcher_of(s: Session, exe: str) -> Window | None:
    """The one visible launcher window of the copy stored as exe, once it is shown."""
    instance = exe.rsplit(".", 1)[0]
    found = [w for w in s.windows(prop=instance) if w.image_name.lower() == exe.lower() and w.visible]
    if len(found) > 1:
        raise AssertionError(f"{len(found)} windows carry the property {instance}: {found}")
    return found[0] if found else None


def wait_for_launcher(s: Session, exe: str = "Setup.exe") -> Window:
    return s.wait_until(f"the launcher window of {exe}", lambda: launcher_of(s, exe))


def wait_for_focus(s: Session, window: Window, what: str = "the launcher") -> None:
    def focused() -> bool:
        now = s.window(window.hwnd)
        return now is not None and now.foreground
    s.wait_until(f"{what} to have the keyboard focus", focused)


def assert_no_launcher(s: Session, instance: str = "Setup") -> None:
    left = s.windows(prop=instance)
    if left:
        raise AssertionError(f"a window with the property {instance} is there: {left}")


def closes_on_key(key: str, s: Session) -> None:
    cd = s.make_cd({"Setup.exe": setup_exe()})
    assert_no_launcher(s)
    launcher = s.start(cd, "Setup.exe")
    window = wait_for_launcher(s)
    if window.title != LAUNCHER_TITLE or window.size != LAUNCHER_SIZE:
        raise AssertionError(f"expected a {LAUNCHER_SIZE} window titled {LAUNCHER_TITLE!r}, got {window}")
    wait_for_focus(s, window)
    s.screenshot("")
    s.key(key)
    s.wait_exit(launcher, f"the launcher, after {key},")
    assert_no_launcher(s)


def second_copy_ends_at_once(s: Session) -> None:
    cd = s.make_cd({"Setup.exe": setup_exe()})
    first = s.start(cd, "Setup.exe")
    window = wait_for_launcher(s)
    second = s.start(cd, "Setup.exe")
    # While the second copy runs, no process but the first may show a window titled like the launcher.
    deadline = time.monotonic() + SECOND_COPY_TIMEOUT_S
    others: set[int] = set()
    while second.poll() is None:
        others |= {w.hwnd for w in s.windows(title=LAUNCHER_TITLE) if w.pid != window.pid}
        if time.monotonic() > deadline:
            shown = f", showing windows titled {LAUNCHER_TITLE!r}: {sorted(map(hex, others))}" if others else ""
            raise AssertionError(f"the second copy still runs {SECOND_COPY_TIMEOUT_S:.0f}s after its start{shown}")
    if others:
        raise AssertionError(f"the second copy opened windows titled {LAUNCHER_TITLE!r}: {sorted(map(hex, others))}")
    if first.poll() is not None:
        raise AssertionError("the first copy ended when the second started")
    if [w.hwnd for w in s.windows(prop="Setup")] != [window.hwnd]:
        raise AssertionError(f"expected only the first launcher, found {s.windows(prop='Setup')}")
    s.screenshot("")
    # The first copy is still in charge: the dialog keys still end it.
    wait_for_focus(s, window, "the first launcher")
    s.key("Escape")
    s.wait_exit(first, "the first copy, after Escape,")


def minimised_first_copy_comes_back(s: Session) -> None:
    cd = s.make_cd({"Setup.exe": setup_exe()})
    first = s.start(cd, "Setup.exe")
    window = wait_for_launcher(s)
    s.minimize(window.hwnd)
    s.wait_until("the launcher to be minimised", lambda: (s.window(window.hwnd) or window).iconic)
    second = s.start(cd, "Setup.exe")
    s.wait_exit(second, "the second copy", timeout=SECOND_COPY_TIMEOUT_S)

    def restored_in_front() -> bool:
        w = s.window(window.hwnd)
        return w is not None and w.visible and not w.iconic and w.foreground

    s.wait_until("the first launcher to be restored and in the foreground", restored_in_front)
    s.screenshot("")
    s.key("Escape")
    s.wait_exit(first, "the first copy, after Escape,")


def copies_under_other_names_run_side_by_side(s: Session) -> None:
    cd = s.make_cd({"Setup.exe": setup_exe(), "Setup2.exe": setup_exe()})
    first = s.start(cd, "Setup.exe")
    one = wait_for_launcher(s, "Setup.exe")
    second = s.start(cd, "Setup2.exe")
    two = wait_for_launcher(s, "Setup2.exe")
    if one.hwnd == two.hwnd or one.pid == two.pid:
        raise AssertionError(f"expected two launchers in two processes, got {one} and {two}")
    if launcher_of(s, "Setup.exe") is None:
        raise AssertionError("the first launcher went away when the copy under another name started")
    for process, exe in ((first, "Setup.exe"), (second, "Setup2.exe")):
        if process.poll() is not None:
            raise AssertionError(f"{exe} ended while the other copy runs")
    s.screenshot("")


def starts_again_after_the_first_ended(s: Session) -> None:
    cd = s.make_cd({"Setup.exe": setup_exe()})
    for run in ("first", "next"):
        launcher = s.start(cd, "Setup.exe")
        window = wait_for_launcher(s)
        wait_for_focus(s, window, f"the {run} launcher")
        s.screenshot(run)
        s.key("Escape")
        s.wait_exit(launcher, f"the {run} launcher, after Escape,")


CASES = {
    "closes_on_escape": partial(closes_on_key, "Escape"),
    "closes_on_enter": partial(closes_on_key, "Return"),
    "second_copy_ends_at_once": second_copy_ends_at_once,
    "minimised_first_copy_comes_back": minimised_first_copy_comes_back,
    "copies_under_other_names_run_side_by_side": copies_under_other_names_run_side_by_side,
    "starts_again_after_the_first_ended": starts_again_after_the_first_ended,
}

if __name__ == "__main__":
    sys.exit(run_cases(CASES))
