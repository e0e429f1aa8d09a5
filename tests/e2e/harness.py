"""Drives Windows programs under Wine in the test display, as a person would, and reads window
state back through probe.exe (from inside Windows).

The environment comes from add_e2e_test: WINE, DISPLAY, SETUP_EXE, DEMO_CD, E2E_PROBE,
E2E_WORK_DIR, STANDIN_LOG, E2E_ARTIFACTS.
"""
from __future__ import annotations

import os
import shutil
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path
from typing import Callable, Optional, TypeVar

T = TypeVar("T")

POLL_INTERVAL_S = 0.1
WINDOW_TIMEOUT_S = 30.0  # a cold start of a Wine program can take several seconds
EXIT_TIMEOUT_S = 20.0


def env_path(name: str) -> Path:
    value = os.environ.get(name)
    if not value:
        raise SystemExit(f"{name} is not set: run this through ctest (add_e2e_test)")
    return Path(value)


def windows_path(path: Path) -> str:
    """Wine's Z: drive is the Unix root."""
    return "Z:" + str(path.resolve()).replace("/", "\\")


@dataclass(frozen=True)
class Window:
    hwnd: int
    pid: int
    visible: bool
    iconic: bool
    foreground: bool
    rect: tuple[int, int, int, int]
    prop: int
    image: str
    title: str

    @property
    def size(self) -> tuple[int, int]:
        left, top, right, bottom = self.rect
        return right - left, bottom - top

    @property
    def image_name(self) -> str:
        return self.image.rsplit("\\", 1)[-1]

    @classmethod
    def parse(cls, line: str) -> "Window":
        fields = dict(part.split("=", 1) for part in line.rstrip("\r\n").split("\t"))
        return cls(
            hwnd=int(fields["hwnd"], 16),
            pid=int(fields["pid"]),
            visible=fields["visible"] == "1",
            iconic=fields["iconic"] == "1",
            foreground=fields["foreground"] == "1",
            rect=tuple(int(v) for v in fields["rect"].split(",")),  # type: ignore[arg-type]
            prop=int(fields["prop"], 16),
            image=fields["image"],
            title=fields["title"],
        )


class Session:
    """One test's programs and folder. Everything it started is ended by close()."""

    def __init__(self, name: str):
        self.name = name
        self.wine = os.environ.get("WINE", "/usr/lib/wine/wine64")
        self.probe_exe = env_path("E2E_PROBE")
        self.work = env_path("E2E_WORK_DIR")
        self.artifacts = env_path("E2E_ARTIFACTS")
        self.standin_log = env_path("STANDIN_LOG")
        self.processes: list[subprocess.Popen] = []
        if self.work.exists():
            shutil.rmtree(self.work)
        self.work.mkdir(parents=True)
        self.artifacts.mkdir(parents=True, exist_ok=True)

    # Folders and programs

    def make_cd(self, files: dict[str, Path]) -> Path:
        """A fresh CD folder holding the given files under the given names."""
        cd = self.work / "cd"
        cd.mkdir()
        for name, source in files.items():
            shutil.copyfile(source, cd / name)
        return cd

    def start(self, cd: Path, exe: str, *args: str, env: Optional[dict[str, str]] = None) -> subprocess.Popen:
        """Starts a program from the CD folder, with that folder as its current directory."""
        env = dict(os.environ, STANDIN_LOG=windows_path(self.standin_log), **(env or {}))
        log = open(self.work / f"{exe}.{len(self.processes)}.log", "wb")
        process = subprocess.Popen(
            [self.wine, exe, *args], cwd=cd, env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT
        )
        log.close()
        self.processes.append(process)
        return process

    def close(self) -> None:
        for process in self.processes:
            if process.poll() is None:
                process.kill()
                process.wait()

    # Window state, read from inside Windows

    def _probe(self, *args: str) -> list[Window]:
        # Output through a file, not a pipe: a Wine service that the probe happens to start would
        # inherit a pipe and hold it open long after the probe has ended.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            code = subprocess.run(
                [self.wine, str(self.probe_exe), *args], stdin=subprocess.DEVNULL, stdout=out, stderr=err, timeout=60
            ).returncode
            out.seek(0)
            err.seek(0)
            text = out.read().decode("cp1252")
            if code != 0:
                raise AssertionError(f"probe {' '.join(args)} failed ({code}): {err.read().decode('cp1252')}")
        return [Window.parse(line) for line in text.splitlines() if line.startswith("hwnd=")]

    def windows(self, title: Optional[str] = None, prop: Optional[str] = None) -> list[Window]:
        args = ["windows"]
        if title is not None:
            args += ["--title", title]
        if prop is not None:
            args += ["--prop", prop]
        return self._probe(*args)

    def window(self, hwnd: int, prop: Optional[str] = None) -> Optional[Window]:
        return next((w for w in self.windows(prop=prop) if w.hwnd == hwnd), None)

    def minimize(self, hwnd: int) -> None:
        subprocess.run(
            [self.wine, str(self.probe_exe), "minimize", hex(hwnd)], stdin=subprocess.DEVNULL, check=True, timeout=60
        )

    # Waiting

    def wait_until(self, what: str, condition: Callable[[], Optional[T]], timeout: float = WINDOW_TIMEOUT_S) -> T:
        """Polls until condition() gives a true value and returns it; fails after timeout."""
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value:
                return value
            if time.monotonic() > deadline:
                raise AssertionError(f"timed out after {timeout:.0f}s waiting for {what}")
            time.sleep(POLL_INTERVAL_S)

    def wait_exit(self, process: subprocess.Popen, what: str, timeout: float = EXIT_TIMEOUT_S) -> int:
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"{what} still runs {timeout:.0f}s later") from None

    # Input and pictures

    def key(self, name: str) -> None:
        """A key press and release, to whatever window has the keyboard focus."""
        subprocess.run(["xdotool", "key", name], check=True, timeout=30)

    def screenshot(self, label: str) -> Path:
        out = self.artifacts / f"{self.name}{'-' + label if label else ''}.png"
        xwd = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, check=True, timeout=30)
        subprocess.run(["/usr/bin/convert", "xwd:-", f"png:{out}"], input=xwd.stdout, check=True, timeout=60)
        return out


def run_cases(cases: dict[str, Callable[[Session], None]]) -> int:
    """Command line: --list prints the case names; CASE runs one case."""
    if len(sys.argv) == 2 and sys.argv[1] == "--list":
        print(";".join(cases))
        return 0
    if len(sys.argv) != 2 or sys.argv[1] not in cases:
        print(f"usage: {sys.argv[0]} --list | {' | '.join(cases)}", file=sys.stderr)
        return 2
    name = sys.argv[1]
    session = Session(name)
    try:
        cases[name](session)
    except Exception as failure:  # a hung probe or a missing tool fails the case too, with a picture
        print(f"FAIL {name}: {failure}", file=sys.stderr)
        try:
            print(f"screenshot: {session.screenshot('failure')}", file=sys.stderr)
        except (subprocess.SubprocessError, OSError) as error:
            print(f"no screenshot: {error}", file=sys.stderr)
        return 1
    finally:
        session.close()
    print(f"PASS {name}")
    return 0
