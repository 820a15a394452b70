"""Drives the program's real window with xdotool and reads it back with xwd:
after each click, wheel turn or key on the graph, once the window has
changed and settled, the table's rows must still show where the table
overlaps the graph. Run by table_above_graph.sh under Xvfb."""
import struct
import subprocess
import sys
import time

TWIP = 15.0  # twips per pixel at ratio 1
ROWS_BLUE = 0x0000C0  # the table's background between its cells


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def poll(what, test, timeout=40.0):
    end = time.monotonic() + timeout
    while True:
        try:
            value = test()
        except subprocess.CalledProcessError:
            value = None  # the window is not yet there to be read
        if value:
            return value
        if time.monotonic() > end:
            sys.exit(f"timed out waiting for {what}")
        time.sleep(0.05)


def main_window():
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Quorel $"],
                         capture_output=True, text=True).stdout.split()
    return out[0] if out else None


class Shot:
    """The window's pixels as xwd gives them (32 bits a pixel)."""

    def __init__(self, wid):
        data = subprocess.run(["xwd", "-silent", "-id", wid], check=True,
                              capture_output=True).stdout
        h = struct.unpack(">25I", data[:100])
        self.width, self.height = h[4], h[5]
        self.bpl, self.lsb = h[12], h[7] == 0
        self.data = data[h[0] + h[19] * 12:]

    def pixel(self, x, y):
        p = y * self.bpl + 4 * x
        return int.from_bytes(self.data[p:p + 4], "little" if self.lsb else "big") & 0xFFFFFF

    def region(self, x1, y1, x2, y2):
        return b"".join(self.data[y * self.bpl + 4 * x1:y * self.bpl + 4 * x2]
                        for y in range(y1, y2))


def main():
    wid = poll("the main window", main_window)
    poll("the main window drawn", lambda: Shot(wid).pixel(100, 400) != 0)

    # Child windows in twips from the frame's client area: the table at
    # (0, 3350) 6030 wide, the graph from 5300; their overlap is the strip
    # between, here near the bottom of the table's rows.
    strip = (int(5300 / TWIP) + 4, int((3350 + 5580) / TWIP) - 40,
             int(5415 / TWIP), int((3350 + 5580) / TWIP) - 12)
    graph = (int(5300 / TWIP) + 60, 40, int((5300 + 7845) / TWIP) - 20,
             int(9000 / TWIP) - 20)

    def table_above(shot):
        x1, y1, x2, y2 = strip
        pixels = [shot.pixel(x, y) for x in range(x1, x2) for y in range(y1, y2)]
        return sum(p == ROWS_BLUE for p in pixels) > len(pixels) // 2

    def act(what, *xdotool):
        before = Shot(wid).region(*graph)
        run("xdotool", *xdotool)
        poll(f"the graph to change after {what}",
             lambda: Shot(wid).region(*graph) != before)
        last = [None]

        def settled():
            now = Shot(wid).region(*graph)
            same = now == last[0]
            last[0] = now
            return same

        poll(f"the window to settle after {what}", settled)
        if not table_above(Shot(wid)):
            sys.exit(f"the graph covers the table after {what}")
        print(f"ok: the table above the graph after {what}")

    if not table_above(Shot(wid)):
        sys.exit("the graph covers the table at start-up")
    # X^3-3X-10: a root from anywhere on the graph, so no message box.
    run("xdotool", "mousemove", "--window", wid, "160", "76", "click", "--repeat", "3", "1",
        "key", "ctrl+a", "type", "X^3-3X-10")
    right = int((5300 + 7845) / TWIP) - 12
    middle_y = int(4500 / TWIP)
    act("a click far right on the graph", "mousemove", "--window", wid, str(right),
        str(middle_y), "click", "1")
    act("a second click far right", "mousemove", "--window", wid, str(right - 40),
        str(middle_y), "click", "1")
    act("a right click", "mousemove", "--window", wid, str(right - 200), str(middle_y),
        "click", "3")
    act("a wheel turn", "click", "4")
    act("a key", "key", "minus")
    act("an arrow key", "key", "Left")


main()
