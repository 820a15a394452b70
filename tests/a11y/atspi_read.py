"""Reads the running program through AT-SPI as a screen reader would: the
panel's controls, then the typical run (X^3-3X-10 from 3) started with the
"Calculate" button's action, then the table's rows 0 and 4 and the graph.
Prints what it read; exits non-zero on the first thing that is missing."""
import sys
import time

import pyatspi

DEADLINE = time.monotonic() + 60


def fail(what):
    print("FAIL:", what)
    sys.exit(1)


def wait_for(what, probe):
    while time.monotonic() < DEADLINE:
        found = probe()
        if found:
            return found
        time.sleep(0.05)
    fail(what)


def walk(acc):
    yield acc
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find(root, role, name=None):
    for acc in walk(root):
        if acc.getRoleName() == role and (name is None or acc.name == name):
            return acc
    return None


def program():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "quorel" and find(app, "push button", "Calculate"):
            return app
    return None


def labelled_by(acc):
    for rel in acc.getRelationSet():
        if rel.getRelationType() == pyatspi.RELATION_LABELLED_BY and rel.getNTargets():
            return rel.getTarget(0).name
    return None


def show(acc, indent="  "):
    label = labelled_by(acc)
    by = f" (labelled by {label!r})" if label else ""
    print(f"{indent}[{acc.getRoleName()}] {acc.name!r}{by}: {acc.description!r}")


app = wait_for("the program on the accessibility bus", program)

panel = find(app, "frame", "Input initial value and express")
print("panel:")
for acc in walk(panel):
    if acc is not panel and acc.getRoleName() not in ("filler", "list", "list item"):
        show(acc)
        if acc.getRoleName() in ("label", "push button") and not acc.description:
            fail(f"no description for {acc.name!r}")
        if acc.getRoleName() in ("text", "combo box", "check box") and not acc.name:
            fail(f"no name for a {acc.getRoleName()}")

combo = find(panel, "combo box")
if labelled_by(combo) != "Input f(x)=":
    fail("the f(x) box is not labelled by its caption")
fx = find(combo, "text")
fx.queryEditableText().setTextContents("X^3-3X-10")
find(panel, "text", "initial value=").queryEditableText().setTextContents("3")
calculate = find(panel, "push button", "Calculate")
if calculate is None:
    fail('no "Calculate" button by that name')
actions = calculate.queryAction()
actions.doAction([actions.getName(i) for i in range(actions.nActions)].index("Press"))

table = find(app, "table", "Iterations")
if table is None:
    fail("no table")
cells = table.queryTable()
wait_for("five rows", lambda: cells.nRows == 5 and cells.getAccessibleAt(4, 3).name)

print("table:", repr(table.name), repr(table.description), f"{cells.nRows} rows")
print("  columns:", [cells.getColumnDescription(c) for c in range(cells.nColumns)])
rows = {}
for r in range(cells.nRows):
    rows[r] = [cells.getAccessibleAt(r, c).name for c in range(cells.nColumns)]
    print(f"  row {r}:", rows[r], [cells.getAccessibleAt(r, c).getRoleName() for c in range(1)])

# Each row as f = x^3-3x-10 and f' = 3x^2-3 give it; row 0 at 3, row 4 at the root.
for r in (0, 4):
    number, x, f, d = rows[r][0], *map(float, rows[r][1:])
    if number != f"{r}." or abs(f - (x**3 - 3 * x - 10)) > 1e-6 or abs(d - (3 * x * x - 3)) > 1e-3:
        fail(f"row {r} reads {rows[r]}")
if float(rows[0][1]) != 3 or abs(float(rows[4][2])) > 1e-6:
    fail("the run did not go from 3 to the root")

print("graph:")
surface = find(app, "filler", "graph")
if surface is None:
    fail("no graph surface")
show(surface)
for part in ("f(x)=X^3-3X-10", "centre (3,0)", "Root X = " + rows[4][1][:8]):
    if part not in surface.description:
        fail(f"the graph's description lacks {part!r}")
print("read through AT-SPI: the panel, the Calculate action, rows 0 and 4, the graph")
