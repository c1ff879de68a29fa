#!/usr/bin/python3
"""Timed run: from starting the real program to its painted home page, as a whole process
(exec, Qt's start-up, fonts, settings, the window, its first paint) in a private X server.

    start_to_home.py --tessary EXE [--runs 10] [--out FOLDER]

"Painted" is the first screenshot in which the home page's first button shows; screenshots are
taken back to back, so a figure is late by at most one grab (a few milliseconds, printed).
The first run warms the file cache and is not counted."""

import argparse
import statistics
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "e2e"))

from PIL import ImageGrab  # noqa: E402

from tessary_app import Program, home_button  # noqa: E402
from x11_session import XSession, copy_program, spread  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tessary", required=True)
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--out")
    args = parser.parse_args()
    out = Path(args.out or tempfile.mkdtemp(prefix="tessary-start-"))
    out.mkdir(parents=True, exist_ok=True)
    session = XSession(out)
    session.start()
    exe = copy_program(args.tessary, out / "program")
    figures, grabs = [], []
    try:
        for run in range(args.runs + 1):
            program = Program(session, exe, out / f"home-{run}", f"tessary-start-{run}")
            started = time.monotonic()
            program.start()
            window = None
            box = None
            painted = None
            while painted is None and time.monotonic() - started < 20:
                if window is None:
                    found = session.find_windows("^Orvanne Tessary")
                    window = found[0] if found else None
                    continue
                if box is None:
                    left, top, width, _ = session.geometry(window)
                    x, y = home_button(0, width)
                    box = (left + x - 150, top + y - 20, left + x + 150, top + y + 20)
                t = time.monotonic()
                if spread(ImageGrab.grab(bbox=box, xdisplay=session.display).convert("RGB")) > 10:
                    painted = time.monotonic() - started
                grabs.append(time.monotonic() - t)
            program.kill()
            if painted is None:
                sys.exit(f"run {run}: the home page was not painted within 20 s")
            if run > 0:
                figures.append(painted * 1000)
    finally:
        session.stop()
    print(f"start to painted home page over {len(figures)} runs: median {statistics.median(figures):.0f} ms, "
          f"min {min(figures):.0f} ms, max {max(figures):.0f} ms (one grab: {statistics.median(grabs) * 1000:.0f} ms)")


if __name__ == "__main__":
    main()
