"""The program under test as the journeys see it: how it is started, where its window's parts
are (from the window's size and the layout constants of the views), and what its album file
holds."""

import subprocess
import time
import xml.etree.ElementTree as ET
from pathlib import Path

from x11_session import MENU_BAR_HEIGHT, StepFailed, wait_until

MAIN_TITLE = "Orvanne Tessary"
NS = {"t": "http://www.orvanne.com/xmlns/tessary/tsy"}

# Layout constants of the views, in client coordinates of the main window.
TOP_VIEW_HEIGHT = 43           # VeTopViewBase::kHeight
PAGE_TOP = MENU_BAR_HEIGHT + TOP_VIEW_HEIGHT
HOME_NAVI_WIDTH = 200          # VeHomeView::kNaviWidth
HOME_BUTTONS_TOP = 140         # HomePanel::kButtonsTop
HOME_BUTTON_PITCH = 68         # HomePanel::kButtonPitchY
CMD_BAR_HEIGHT = 31            # VeCmdBarCtrlBase::kBarHeight
PANES_TOP = PAGE_TOP + CMD_BAR_HEIGHT
LEFT_WIDTH = 220               # VeAlbumViewBase::kDefaultLeftWidth
MIDDLE_WIDTH = 375             # VeAlbumViewBase::kDefaultMiddleWidth
SPLITTER = 3                   # VeAlbumViewBase::kSplitterWidth
MIDDLE_LEFT = LEFT_WIDTH + SPLITTER
RIGHT_LEFT = MIDDLE_LEFT + MIDDLE_WIDTH + SPLITTER
COLLECTION_ROW = 31            # CollectionRow::kHeight
GRID_WIDTH = 116               # ThumbnailCellDelegate::kGridWidth
GRID_HEIGHT = 136              # 4 + 96 + 4 + two name lines + 6, at the interface font
CELL_SIDE = 96                 # ThumbnailCellDelegate::kCellSide
LIST_ORIGIN = (MIDDLE_LEFT + 1, PANES_TOP + 1)  # inside the list's frame
PREVIEW_HEIGHT = 124           # VeFadDetailsCtrlBase::kPreviewHeight
TAG_ROW = 30                   # RowListBase::kDefaultRowHeight
TAG_NAME_WIDTH = 160           # TagRow::kNameWidth


def home_button(index, window_width):
    """Centre of the home panel's button `index` (Create, Open, Tutorials, Donation): one
    column centred in the panel right of the navigation column."""
    return (HOME_NAVI_WIDTH + (window_width - HOME_NAVI_WIDTH) // 2,
            PAGE_TOP + HOME_BUTTONS_TOP + index * HOME_BUTTON_PITCH + 25)


def collection_row(index):
    return (LEFT_WIDTH // 2, PANES_TOP + index * COLLECTION_ROW + COLLECTION_ROW // 2)


def cell_image_box(index, columns=3):
    """The thumbnail square of the list's cell `index` (thumbnail view, three columns)."""
    column, row = index % columns, index // columns
    left = LIST_ORIGIN[0] + column * GRID_WIDTH + (GRID_WIDTH - CELL_SIDE) // 2
    top = LIST_ORIGIN[1] + row * GRID_HEIGHT + 4
    return (left, top, left + CELL_SIDE, top + CELL_SIDE)


def cell_centre(index):
    l, t, r, b = cell_image_box(index)
    return ((l + r) // 2, (t + b) // 2)


def tag_row_y(index):
    return PANES_TOP + PREVIEW_HEIGHT + index * TAG_ROW + TAG_ROW // 2


def tag_name_point(index):
    return (RIGHT_LEFT + 60, tag_row_y(index))


def tag_value_point(index):
    return (RIGHT_LEFT + TAG_NAME_WIDTH + 40, tag_row_y(index))


class Program:
    """Starts and stops the program; each start's stderr goes to its own file."""

    def __init__(self, session, executable, home, instance):
        self.session = session
        self.executable = executable
        self.home = Path(home)
        self.env = dict(session.env,
                        HOME=str(self.home),
                        XDG_CONFIG_HOME=str(self.home / ".config"),
                        XDG_DATA_HOME=str(self.home / ".local/share"),
                        XDG_CACHE_HOME=str(self.home / ".cache"),
                        XDG_RUNTIME_DIR=str(self.home / "runtime"),
                        TMPDIR=str(self.home / "tmp"),
                        TESSARY_INSTANCE_NAME=instance,
                        LC_ALL="C.UTF-8")
        for key in ("TESSARY_PROMPT_ANSWERS", "TESSARY_PROMPT_LOG", "TESSARY_HANDOVER_LOG"):
            self.env.pop(key, None)
        for sub in ("runtime", "tmp", "Documents"):
            (self.home / sub).mkdir(parents=True, exist_ok=True)
        (self.home / "runtime").chmod(0o700)
        self.process = None
        self.starts = 0
        self.stderr_path = None

    def start(self, *args):
        self.starts += 1
        self.stderr_path = self.session.out / f"tessary-{self.starts}.stderr"
        err = open(self.stderr_path, "wb")
        self.process = subprocess.Popen([str(self.executable), *args], env=self.env, cwd=self.home,
                                        stdout=err, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        return self.process

    def start_second(self, *args):
        """Another start while one runs: it hands over and exits; returns its exit code."""
        self.starts += 1
        path = self.session.out / f"tessary-{self.starts}.stderr"
        with open(path, "wb") as err:
            return subprocess.Popen([str(self.executable), *args], env=self.env, cwd=self.home,
                                    stdout=err, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)

    def main_window(self, timeout=15):
        def find():
            if self.process and self.process.poll() is not None:
                raise StepFailed(f"the program exited with {self.process.returncode} before its window showed")
            for w in self.session.find_windows(f"^{MAIN_TITLE}"):
                return w
            return None
        return wait_until("the main window", find, timeout)

    def wait_exit(self, timeout=15):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise StepFailed(f"the program did not exit within {timeout} s")

    def kill(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def stderr_text(self):
        return self.stderr_path.read_text(errors="replace") if self.stderr_path and self.stderr_path.exists() else ""


class AlbumFile:
    """The parsed album file: collections, their items and tag values."""

    def __init__(self, path):
        self.path = Path(path)
        if not self.path.is_file():
            raise StepFailed(f"no album file at {self.path}")
        self.root = ET.parse(self.path).getroot()

    def name(self):
        return self.root.find("t:Properties", NS).get("album_name")

    def collections(self):
        return self.root.findall("t:Collections/t:Collection", NS)

    def hot_id(self):
        return self.root.find("t:Collections", NS).get("hot_id")

    def collection(self, name):
        for c in self.collections():
            if c.get("name") == name:
                return c
        raise StepFailed(f"no collection {name!r} in {self.path.name}")

    def item_names(self, collection, in_order=False):
        names = [i.get("name") for i in self.collection(collection).findall("t:Items/t:Item", NS)]
        return names if in_order else sorted(names)

    def tag_names(self, collection):
        return [t.get("name") for t in self.collection(collection).findall("t:Tags/t:Tag", NS)]

    def tag_values(self, collection):
        """{item name: {tag name: value}} of the items that have values."""
        c = self.collection(collection)
        tags = {t.get("id"): t.get("name") for t in c.findall("t:Tags/t:Tag", NS)}
        values = {}
        for item in c.findall("t:Items/t:Item", NS):
            for record in item.findall("t:Records/t:Record", NS):
                values.setdefault(item.get("name"), {})[tags.get(record.get("tag_id"), "?")] = record.get("value")
        return values


def wait_file_changed(path, since, timeout=10):
    return wait_until(f"{Path(path).name} to be written",
                      lambda: Path(path).is_file() and Path(path).stat().st_mtime_ns > since, timeout)


def settle(seconds=0.15):
    """A short pause for a repaint after the program has answered; never used to wait for work."""
    time.sleep(seconds)
