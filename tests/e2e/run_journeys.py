#!/usr/bin/python3
"""Journeys through the real program in a private X server, driven only from outside: pointer,
keys, the clipboard and a real XDND drop. Each journey is checked by the album file, the
album folder and regions of the screen.

    run_journeys.py --tessary EXE --drop XDND_HELPER --make-photos MAKER --out FOLDER

A failing step leaves a screenshot and the program's stderr in FOLDER and exits non-zero."""

import argparse
import shutil
import subprocess
import sys
import time
import traceback
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from tessary_app import (CMD_BAR_HEIGHT, GRID_HEIGHT, MAIN_TITLE, MIDDLE_LEFT,
                         MIDDLE_WIDTH, PAGE_TOP, PANES_TOP, AlbumFile, Program, cell_centre, cell_image_box,
                         collection_row, home_button, settle, tag_name_point, tag_value_point,
                         wait_file_changed)
from x11_session import MENU_BAR_HEIGHT, StepFailed, XSession, copy_program, mean_colour, near, spread, wait_until

RED, YELLOW, BLUE, GREEN = (220, 30, 30), (230, 210, 40), (30, 50, 220), (40, 190, 60)
HIGHLIGHT = (0xFF, 0xEB, 0x64)
PHOTOS = [f"orient_{o}" for o in range(1, 9)]
ADDED = sorted(PHOTOS + ["damaged"])
COLLECTION = "Holiday"
QUERY = "place:lisbon"
TAGS = ["Place", "Person"]
VALUES = [["Lisbon", "Ana"], ["Porto", "Rui"], ["Lisbon", "Rui"]]
BANNER_HEIGHT = 58   # VeSRBannerCtrlBase::kHeight
RESULT_ROW = 49      # VeSearchResultsCtrlBase::kRowHeight


class Journeys:
    def __init__(self, args):
        self.args = args
        self.out = Path(args.out)
        if self.out.exists():
            shutil.rmtree(self.out)
        self.out.mkdir(parents=True)
        self.work = self.out / "work"
        self.home = self.work / "home"
        self.photos = self.work / "camera"
        self.photos.mkdir(parents=True)
        subprocess.run([args.make_photos, str(self.photos)], check=True)
        self.session = XSession(self.out)
        self.exe = copy_program(args.tessary, self.work / "program")
        self.program = None
        self.album_folder = self.home / "Documents" / "My Photo Albums" / "My Album"
        self.album_path = self.album_folder / "My Album.tsy"
        self.order = []  # item names in the list's order, from the album file
        self.window = None
        self.trip_path = None  # the second album, made in journey 5

    # --- helpers ---------------------------------------------------------------------------

    def main(self):
        self.window = self.program.main_window()
        self.session.wait_settled(self.window)
        return self.window

    def title(self):
        return self.session.window_name(self.window)

    def shot(self, name):
        """With --shots, the window's client area as FOLDER/desktop-NAME.png."""
        if self.args.shots:
            folder = Path(self.args.shots)
            folder.mkdir(parents=True, exist_ok=True)
            self.region(None).save(folder / f"desktop-{name}.png")

    def wait_title(self, expected, timeout=10):
        wait_until(f"the title {expected!r} (now {self.title()!r})", lambda: self.title() == expected, timeout)

    def region(self, box):
        return self.session.grab(self.window, box)

    def patch(self, image, x, y, r=4):
        return mean_colour(image.crop((x - r, y - r, x + r, y + r)))

    def upright_quadrants(self, image, cx, cy, dx, dy):
        """True when the four points around (cx, cy) show red, yellow / blue, green."""
        corners = ((-dx, -dy, RED), (dx, -dy, YELLOW), (-dx, dy, BLUE), (dx, dy, GREEN))
        return all(near(self.patch(image, cx + x, cy + y), colour) for x, y, colour in corners)

    def cell_is_upright_photo(self, image, index):
        l, t, r, b = cell_image_box(index)
        return self.upright_quadrants(image, (l + r) // 2, (t + b) // 2, 20, 14)

    def cell_is_painted(self, image, index):
        return spread(image.crop(cell_image_box(index))) > 12

    def photo_files(self):
        return sorted(self.album_folder.glob("_Album_Photos_/**/P_*.*"))

    def save_and_read(self):
        """Ctrl+S, then the album file once it is written."""
        before = self.album_path.stat().st_mtime_ns if self.album_path.exists() else 0
        self.session.key("ctrl+s")
        wait_file_changed(self.album_path, before)
        return AlbumFile(self.album_path)

    # --- 1: first start, new album, a collection, a dropped folder ---------------------------

    def journey_first_start(self):
        self.program.start()
        self.main()
        self.session.focus(self.window)
        if self.title() != MAIN_TITLE:
            raise StepFailed(f"first start shows {self.title()!r}, not the home page's title")
        x, y = home_button(0, self.session.geometry(self.window)[2])
        wait_until("the home page's buttons to be painted",
                   lambda: spread(self.region((x - 150, y - 20, x + 150, y + 20))) > 10)
        self.shot("home")

        self.session.click(self.window, x, y)
        dialog = self.session.wait_window("^New Album$")
        self.session.focus(dialog)
        self.session.set_clipboard("")
        self.session.key("ctrl+c")
        wait_until("the proposed name on the clipboard", lambda: self.session.get_clipboard() == "My Album", 5)
        self.session.key("Return")
        self.session.wait_no_window("^New Album$")
        self.wait_title(f"{MAIN_TITLE} - [My Album]")

        # The row under "All Collections" says "Double-click to add a collection".
        x, y = collection_row(1)
        self.session.click(self.window, x, y, repeat=2)
        settle()
        self.session.key("ctrl+a")
        self.session.type(COLLECTION)
        self.session.key("Return")
        album = self.save_and_read()
        if [c.get("name") for c in album.collections()] != [COLLECTION]:
            raise StepFailed(f"collections after the double-click: {[c.get('name') for c in album.collections()]}")

        drop_x, drop_y = MIDDLE_LEFT + MIDDLE_WIDTH // 2, PANES_TOP + 250
        r = subprocess.run([self.args.drop, str(self.window), str(drop_x), str(drop_y), self.photos.as_uri()],
                           env=self.session.env, capture_output=True, text=True, timeout=60)
        if r.returncode != 0:
            raise StepFailed(f"the drop failed: {r.stderr.strip()}")
        wait_until("nine photo files in the album folder", lambda: len(self.photo_files()) == len(ADDED), 20)

        def all_cells_drawn():
            image = self.region(None)
            return all(self.cell_is_painted(image, i) for i in range(len(ADDED)))
        wait_until("a thumbnail in every cell", all_cells_drawn, 20)

        album = self.save_and_read()
        self.order = album.item_names(COLLECTION, in_order=True)
        if sorted(self.order) != ADDED:
            raise StepFailed(f"items after the drop: {sorted(self.order)}, expected {ADDED}")

        def thumbnails_upright():
            image = self.region(None)
            return all(self.cell_is_upright_photo(image, i) for i, name in enumerate(self.order) if name != "damaged")
        wait_until("every photo's thumbnail upright (red, yellow over blue, green)", thumbnails_upright, 10)
        self.shot("album")

        copies = sorted(p.read_bytes() for p in self.photo_files())
        originals = sorted((self.photos / f"{name}.jpg").read_bytes() for name in ADDED)
        if copies != originals:
            raise StepFailed("the album folder does not hold exact copies of the dropped photos")
        strays = [p.name for p in self.album_folder.rglob("*") if p.is_file() and p.suffix not in (".jpg", ".tsy")]
        if strays:
            raise StepFailed(f"files in the album folder that are no photos: {strays}")

    # --- 2: tags typed into three photos, a search with a field term ------------------------

    def pick_cell(self, index):
        """Selects one cell alone: a click below the cells first takes the selection away, as a
        click on a selected cell would start renaming it."""
        self.session.click(self.window, MIDDLE_LEFT + 200, PANES_TOP + 3 * GRID_HEIGHT + 40)
        settle(0.5)
        self.session.click(self.window, *cell_centre(index))
        settle()

    def type_values(self, cell, values):
        self.pick_cell(cell)
        self.session.click(self.window, *tag_value_point(0))
        settle()
        for value in values:
            self.session.type(value)
            self.session.key("Return")
            settle()
        self.session.key("Escape")

    def result_rows_highlighted(self):
        """Per result row (six from the top of the results page): whether it shows the match
        highlight's yellow."""
        image = self.region((MIDDLE_LEFT, PANES_TOP, MIDDLE_LEFT + MIDDLE_WIDTH,
                             PANES_TOP + BANNER_HEIGHT + 6 * RESULT_ROW))
        rows = []
        for k in range(6):
            band = image.crop((0, BANNER_HEIGHT + k * RESULT_ROW, MIDDLE_WIDTH, BANNER_HEIGHT + (k + 1) * RESULT_ROW))
            rows.append(sum(1 for p in band.getdata() if near(p, HIGHLIGHT, 20)) > 15)
        return rows

    def journey_tags_and_search(self):
        self.pick_cell(0)
        for row, name in enumerate(TAGS):
            self.session.click(self.window, *tag_name_point(row), repeat=2)
            settle()
            self.session.key("ctrl+a")
            self.session.type(name)
            self.session.key("Return")
            settle()
        for cell, values in enumerate(VALUES):
            self.type_values(cell, values)
        if self.args.shots:
            self.pick_cell(0)
            settle(0.5)
            self.shot("tags")
        album = self.save_and_read()
        if album.tag_names(COLLECTION) != TAGS:
            raise StepFailed(f"tags in the album file: {album.tag_names(COLLECTION)}, expected {TAGS}")
        expected = {self.order[cell]: dict(zip(TAGS, values)) for cell, values in enumerate(VALUES)}
        if album.tag_values(COLLECTION) != expected:
            raise StepFailed(f"tag values in the album file: {album.tag_values(COLLECTION)}, expected {expected}")

        self.session.key("ctrl+f")
        settle()
        self.session.type(QUERY)
        want = [i < 2 for i in range(6)]
        wait_until(f"two highlighted result rows for {QUERY!r}", lambda: self.result_rows_highlighted() == want, 10)
        self.shot("search")
        self.session.key("Return")
        self.session.key("Escape")
        wait_until("the results gone and the thumbnails back",
                   lambda: not any(self.result_rows_highlighted()) and self.cell_is_painted(self.region(None), 0), 10)

    # --- 3: the viewer ----------------------------------------------------------------------

    def viewer_shows(self):
        """The name of the photo the viewer shows upright, told by the grey square in its
        middle, and its shape ("P" portrait, "L" landscape); "X" for anything else (the damaged
        photo, the album page)."""
        x, y, w, h = self.session.geometry(self.window)
        image = self.region(None)
        cx, cy = w // 2, MENU_BAR_HEIGHT + (h - MENU_BAR_HEIGHT) // 2
        if not self.upright_quadrants(image, cx, cy, 60, 60):
            return "X"
        grey = self.patch(image, cx, cy, 6)
        orientation = round(grey[0] / 30)
        if not 1 <= orientation <= 8 or max(grey) - min(grey) > 20:
            return "X"
        # A landscape photo (480 wide) reaches 200 pixels left of the centre, a portrait one
        # (320 wide) does not.
        shape = "L" if near(self.patch(image, cx - 200, cy - 60), RED) else "P"
        return f"orient_{orientation} {shape}"

    @staticmethod
    def shown_as(name):
        if name == "damaged":
            return "X"
        return f"{name} {'P' if int(name[-1]) >= 5 else 'L'}"

    def expect_viewer(self, index, step):
        want = self.shown_as(self.order[index])
        wait_until(f"the viewer to show {want} after {step} (shows {self.viewer_shows()})",
                   lambda: self.viewer_shows() == want, 10)

    def journey_viewer(self):
        portrait = next(i for i, name in enumerate(self.order[:-1]) if self.shown_as(name).endswith("P"))
        self.pick_cell(portrait)
        self.session.key("Return")
        self.expect_viewer(portrait, "Enter")
        self.shot("viewer")
        for key, index in (("Right", portrait + 1), ("Left", portrait), ("End", len(self.order) - 1), ("Home", 0)):
            self.session.key(key)
            self.expect_viewer(index, key)
        x, y, w, h = self.session.geometry(self.window)
        self.session.move(self.window, w // 2, h // 2)
        self.session.xdotool("click", "5")
        self.expect_viewer(1, "the wheel turned down")
        self.session.xdotool("click", "4")
        self.expect_viewer(0, "the wheel turned up")
        self.session.key("Escape")
        wait_until("the album page back after Escape",
                   lambda: self.viewer_shows() == "X" and self.cell_is_painted(self.region(None), 0), 10)
        if self.program.process.poll() is not None:
            raise StepFailed(f"the program exited ({self.program.process.returncode}) on leaving the viewer")

    # --- 4: quit with the close button, start again ------------------------------------------

    def selected_collection_row(self):
        """Which of the first two rows of the collections pane is drawn with the selection's
        fill (active or not); the others show the rows' plain background at their left edge, as
        the "add a collection" row below them does."""
        image = self.region(None)

        def edge(row):
            y = collection_row(row)[1]
            return mean_colour(image.crop((4, y - 8, 12, y + 8)))
        plain = edge(2)
        filled = [row for row in range(2) if sum(abs(a - b) for a, b in zip(edge(row), plain)) > 15]
        return filled[0] if len(filled) == 1 else filled

    def program_windows(self):
        out = self.session.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.program.process.pid)],
                               check=False)
        return [int(w) for w in out.split()]

    def journey_quit_and_restart(self):
        # Dragged by its title bar to another place first.
        x, y, w, h = self.session.geometry(self.window)
        self.session.move_root(x + 300, y - 10)
        self.session.xdotool("mousedown", "1")
        for step in range(1, 6):
            self.session.move_root(x + 300 - 24 * step, y - 10 - 28 * step)
        self.session.xdotool("mouseup", "1")
        self.session.wait_settled(self.window)
        placed = self.session.geometry(self.window)
        if placed[:2] == (x, y):
            raise StepFailed("the window did not move when dragged by its title bar")
        if self.selected_collection_row() != 1:
            raise StepFailed(f"before closing, row {self.selected_collection_row()} looks selected, not {COLLECTION}")

        # Openbox puts the close button at the right end of the title bar.
        self.session.move_root(placed[0] + placed[2] - 10, placed[1] - 11)
        self.session.xdotool("click", "1")
        code = self.program.wait_exit()
        if code < 0:
            raise StepFailed(f"the program died from signal {-code} on closing")
        album = AlbumFile(self.album_path)
        holiday = album.collection(COLLECTION)
        if album.hot_id() != holiday.get("id"):
            raise StepFailed(f"the album file's selected collection is {album.hot_id()}, not {COLLECTION}")
        if album.item_names(COLLECTION) != ADDED or len(album.tag_values(COLLECTION)) != len(VALUES):
            raise StepFailed("the album file lost items or tag values on closing")
        settings = (self.program.executable.parent / "Settings.xml")
        if QUERY not in settings.read_text():
            raise StepFailed(f"the search {QUERY!r} is not in the settings file")

        self.program.start()
        self.main()
        self.wait_title(f"{MAIN_TITLE} - [My Album]")
        again = self.session.geometry(self.window)
        if any(abs(a - b) > 2 for a, b in zip(again, placed)):
            raise StepFailed(f"the window came back at {again}, it was closed at {placed}")
        wait_until("the thumbnails of the collection",
                   lambda: self.cell_is_upright_photo(self.region(None), self.order.index("orient_1")), 15)
        if self.selected_collection_row() != 1:
            raise StepFailed(f"after the restart, row {self.selected_collection_row()} looks selected,"
                             f" not {COLLECTION}")

        self.session.focus(self.window)
        self.session.key("ctrl+f")
        settle()
        if self.program_windows() != [self.window]:
            raise StepFailed("a window of the program is up before the search box was typed into")
        self.session.type(QUERY[:2])
        flyout = wait_until("the search history's suggestions under the search box",
                            lambda: [w for w in self.program_windows() if w != self.window], 5)[0]
        wait_until("a suggestion painted in the fly-out", lambda: spread(self.session.grab(flyout)) > 3, 5)
        self.session.key("Escape")
        self.session.key("Escape")

    # --- 5: a second start with another album's path -----------------------------------------

    def other_windows(self, timeout=10, what="a message box of the program"):
        return wait_until(what, lambda: [w for w in self.program_windows() if w != self.window], timeout)

    def answer_box(self, key, caption):
        """Answers the program's message box named `caption` by a key, as a person does."""
        box = self.other_windows(what=f"the message box {caption!r}")[0]
        if self.session.window_name(box) != caption:
            raise StepFailed(f"a box named {self.session.window_name(box)!r} came up, not {caption!r}")
        self.session.focus(box)
        self.session.key(key)
        wait_until(f"the box {caption!r} to go", lambda: box not in self.program_windows(), 5)

    def journey_second_start(self):
        other = self.home / "Documents" / "Other"
        other.mkdir(parents=True)
        made = subprocess.run([self.args.cli, "album", "create", str(other), "Trip"], capture_output=True, text=True,
                              check=True, env=self.program.env)
        self.trip_path = Path(made.stdout.strip())
        subprocess.run([self.args.cli, "album", "add", str(self.trip_path), "--collection", "Beach",
                        str(self.photos / "orient_1.jpg")], check=True, capture_output=True, env=self.program.env)
        before = self.album_path.stat().st_mtime_ns

        second = self.program.start_second(str(self.trip_path))
        # "Are you sure you want to close current album?" - No is the default; "y" answers Yes.
        self.answer_box("y", MAIN_TITLE)
        self.wait_title(f"{MAIN_TITLE} - [Trip]")
        try:
            code = second.wait(10)
        except subprocess.TimeoutExpired:
            raise StepFailed("the second start did not exit after handing its path over")
        if code != 0:
            raise StepFailed(f"the second start exited with {code}")
        wait_file_changed(self.album_path, before - 1)
        if AlbumFile(self.album_path).item_names(COLLECTION) != ADDED:
            raise StepFailed("the first album lost items when it was closed for the second")
        self.session.click(self.window, *collection_row(1))
        wait_until("the photo of the second album", lambda: self.cell_is_upright_photo(self.region(None), 0), 10)

    # --- 6: the album folder gone when the album closes ---------------------------------------

    def close_album_button(self):
        # The command bar's first button, "Close Album".
        self.session.click(self.window, 60, PAGE_TOP + CMD_BAR_HEIGHT // 2)

    def journey_save_failure(self):
        x, y = collection_row(2)
        self.session.click(self.window, x, y, repeat=2)
        settle()
        self.session.key("ctrl+a")
        self.session.type("Sunset")
        self.session.key("Return")
        settle()
        self.session.click(self.window, *collection_row(1))
        wait_until("the photo of Beach", lambda: self.cell_is_upright_photo(self.region(None), 0), 10)

        folder = self.trip_path.parent
        aside = folder.with_name(folder.name + ".aside")
        folder.rename(aside)
        folder.write_text("a plain file where the album folder was\n")
        self.close_album_button()
        self.answer_box("y", MAIN_TITLE)
        self.answer_box("Return", "Error")
        settle(0.3)
        if self.title() != f"{MAIN_TITLE} - [Trip]":
            raise StepFailed(f"after the failed save the title is {self.title()!r}: the album did not stay open")
        if not self.cell_is_upright_photo(self.region(None), 0):
            raise StepFailed("after the failed save the album page no longer shows the photo")

        folder.unlink()
        aside.rename(folder)
        self.close_album_button()
        self.answer_box("y", MAIN_TITLE)
        self.wait_title(MAIN_TITLE)
        album = AlbumFile(self.trip_path)
        if [c.get("name") for c in album.collections()] != ["Beach", "Sunset"]:
            raise StepFailed(f"collections in the saved album: {[c.get('name') for c in album.collections()]}")
        if album.item_names("Beach") != ["orient_1"]:
            raise StepFailed(f"items in the saved album: {album.item_names('Beach')}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tessary", required=True)
    parser.add_argument("--drop", required=True)
    parser.add_argument("--make-photos", required=True)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--only", help="run the journeys up to and including this one")
    parser.add_argument("--shots", help="also save screenshots of the main states into this folder")
    args = parser.parse_args()

    journeys = Journeys(args)
    steps = [name for name in dir(Journeys) if name.startswith("journey_")]
    # Each journey goes on from where the one before left the program.
    order = ["journey_first_start", "journey_tags_and_search", "journey_viewer", "journey_quit_and_restart",
             "journey_second_start", "journey_save_failure"]
    started = time.monotonic()
    failed = None
    try:
        journeys.session.start()
        journeys.program = Program(journeys.session, journeys.exe, journeys.home,
                                   f"tessary-e2e-{journeys.session.display[1:]}")
        for name in order:
            t = time.monotonic()
            try:
                getattr(journeys, name)()
            except Exception as e:
                failed = (name, e)
                journeys.session.save_screenshot(f"failed-{name}")
                traceback.print_exc()
                break
            journeys.session.save_screenshot(f"passed-{name}")
            print(f"{name}: passed in {time.monotonic() - t:.1f} s", flush=True)
            if args.only and name.endswith(args.only):
                break
    finally:
        if journeys.program:
            journeys.program.kill()
        journeys.session.stop()
    print(f"all journeys: {time.monotonic() - started:.1f} s", flush=True)
    if failed:
        name, e = failed
        err = journeys.program.stderr_text()
        print(f"FAILED {name}: {e}\nscreenshots and stderr in {journeys.out}", file=sys.stderr)
        if err:
            print(f"--- program stderr ---\n{err[-3000:]}", file=sys.stderr)
        return 1
    assert set(order) == set(steps), "every journey is in the order"
    return 0


if __name__ == "__main__":
    sys.exit(main())
