"""A private X server with a window manager, the program under test and the means a person
has: pointer, keyboard, clipboard, drops and eyes (screenshots by region).

Every wait polls against a deadline; a failed step raises StepFailed after saving a
screenshot and the program's stderr into the output folder."""

import os
import shutil
import subprocess
import time
from pathlib import Path

from PIL import ImageGrab

# Measured once on the Debian 12 fonts the program registers: the menu bar over the central
# widget, in pixels.
MENU_BAR_HEIGHT = 18


class StepFailed(Exception):
    pass


def wait_until(what, check, timeout=10.0, interval=0.05):
    """Polls check() until it returns something true; returns that or raises StepFailed."""
    deadline = time.monotonic() + timeout
    while True:
        result = check()
        if result:
            return result
        if time.monotonic() > deadline:
            raise StepFailed(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


class XSession:
    def __init__(self, out_dir):
        self.out = Path(out_dir)
        self.display = None
        self.env = dict(os.environ)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.processes = []
        self.shots = 0

    def start(self):
        # Xvfb picks a free display itself and tells its number, so parallel runs never race
        # for one.
        log = open(self.out / "xvfb.log", "ab")
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                stdout=subprocess.PIPE, stderr=log, stdin=subprocess.DEVNULL)
        self.processes.append(xvfb)
        number = xvfb.stdout.readline().strip()
        if not number:
            raise StepFailed("Xvfb did not start, see xvfb.log")
        self.display = f":{number.decode()}"
        self.env["DISPLAY"] = self.display
        wait_until("the X server", self._x_answers, 10)
        # Openbox now and then fails to open a display that has only just come up: started again.
        for attempt in range(3):
            wm = self._spawn(["openbox", "--sm-disable"], "openbox.log")
            wait_until("the window manager",
                       lambda: wm.poll() is not None or "_NET_SUPPORTING_WM_CHECK" in self.run(["xprop", "-root"]), 10)
            if wm.poll() is None:
                return
        raise StepFailed(f"openbox does not start on {self.display}, see openbox.log")

    def _x_answers(self):
        return subprocess.run(["xdpyinfo"], env=self.env, capture_output=True).returncode == 0

    def _spawn(self, argv, log, env=None):
        f = open(self.out / log, "ab")
        p = subprocess.Popen(argv, env=env or self.env, stdout=f, stderr=subprocess.STDOUT,
                             stdin=subprocess.DEVNULL)
        self.processes.append(p)
        return p

    def stop(self):
        for p in reversed(self.processes):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()

    # --- tools -----------------------------------------------------------------------------

    def run(self, argv, check=True, timeout=15, input=None):
        r = subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=timeout, input=input)
        if check and r.returncode != 0:
            raise StepFailed(f"{' '.join(map(str, argv))} failed: {r.stderr.strip()}")
        return r.stdout

    def xdotool(self, *args, check=True):
        return self.run(["xdotool", *map(str, args)], check=check)

    def find_windows(self, name):
        out = self.run(["xdotool", "search", "--onlyvisible", "--name", name], check=False)
        return [int(w) for w in out.split()]

    def wait_window(self, name, timeout=10):
        return wait_until(f"a window named {name!r}", lambda: (self.find_windows(name) or [None])[0], timeout)

    def wait_no_window(self, name, timeout=10):
        wait_until(f"no window named {name!r}", lambda: not self.find_windows(name), timeout)

    def wait_settled(self, window, timeout=10):
        """Until the window's place and size stop changing (the window manager places it,
        the program may then restore its own geometry)."""
        last = [None, 0]

        def steady():
            g = self.geometry(window)
            last[1] = last[1] + 1 if g == last[0] else 0
            last[0] = g
            return last[1] >= 3
        wait_until("the window to settle", steady, timeout, 0.1)

    def window_name(self, window):
        return self.xdotool("getwindowname", window, check=False).strip()

    def geometry(self, window):
        """Absolute (x, y, width, height) of the window's client area."""
        info = self.run(["xwininfo", "-id", str(window)])
        values = {}
        for line in info.splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    def active_window(self):
        out = self.xdotool("getactivewindow", check=False).strip()
        return int(out) if out else None

    def focus(self, window):
        self.xdotool("windowactivate", "--sync", window, check=False)
        wait_until("the window to take the focus", lambda: self.active_window() == window, 5)

    def click(self, window, x, y, button=1, repeat=1):
        self.move(window, x, y)
        self.xdotool("click", "--repeat", repeat, "--delay", 80, button)

    def move(self, window, x, y):
        """The pointer to (x, y) of the window's client area. Not "mousemove --sync", which
        waits for ever when the pointer is already there."""
        left, top, _, _ = self.geometry(window)
        self.move_root(left + x, top + y)

    def move_root(self, x, y):
        self.xdotool("mousemove", x, y)

        def arrived():
            out = self.xdotool("getmouselocation", "--shell")
            values = dict(line.split("=", 1) for line in out.split())
            return int(values["X"]) == x and int(values["Y"]) == y
        wait_until(f"the pointer at {x},{y}", arrived, 5)

    def key(self, *keys, window=None):
        args = ["key", "--delay", 40]
        if window:
            args += ["--window", window]
        self.xdotool(*args, *keys)

    def type(self, text):
        self.xdotool("type", "--delay", 20, text)

    def set_clipboard(self, text):
        # xclip stays behind to serve the selection until someone else owns it.
        p = subprocess.Popen(["xclip", "-selection", "clipboard", "-i"], env=self.env,
                             stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        p.communicate(text.encode())

    def get_clipboard(self):
        return self.run(["xclip", "-selection", "clipboard", "-o"], check=False)

    # --- eyes --------------------------------------------------------------------------------

    def grab(self, window=None, box=None):
        """A screenshot of the screen, the window's client area, or a box inside that area."""
        image = ImageGrab.grab(xdisplay=self.display).convert("RGB")
        if window is None:
            return image
        x, y, w, h = self.geometry(window)
        if box is None:
            box = (0, 0, w, h)
        left, top, right, bottom = box
        return image.crop((x + left, y + top, x + right, y + bottom))

    def save_screenshot(self, label):
        self.shots += 1
        path = self.out / f"{self.shots:02d}-{label}.png"
        try:
            ImageGrab.grab(xdisplay=self.display).save(path)
        except Exception as e:  # a failure report must not hide the first failure
            (self.out / f"{self.shots:02d}-{label}.txt").write_text(f"no screenshot: {e}\n")
        return path


def mean_colour(image):
    pixels = list(image.getdata())
    n = max(1, len(pixels))
    return tuple(sum(p[i] for p in pixels) / n for i in range(3))


def spread(image):
    """How far the region is from one flat colour: the mean distance of pixels from the mean."""
    m = mean_colour(image)
    pixels = list(image.getdata())
    return sum(abs(p[0] - m[0]) + abs(p[1] - m[1]) + abs(p[2] - m[2]) for p in pixels) / max(1, len(pixels))


def near(colour, expected, tolerance=45):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def copy_program(program, folder):
    """A portable copy: the program keeps its settings beside its executable, so a copy of its
    own keeps the developer's settings out of the test and the test's out of the build tree."""
    folder.mkdir(parents=True, exist_ok=True)
    target = folder / Path(program).name
    shutil.copy2(program, target)
    return target
