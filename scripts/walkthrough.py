"""The walk-through of scripts/walkthrough, run inside its X server and session bus."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi

PROGRAM, SHOTS = sys.argv[1], sys.argv[2]
ROOT = os.getcwd()
results = []


def check(what, ok, detail=""):
    results.append(ok)
    print(("PASS " if ok else "FAIL ") + what + ("" if ok else f": {detail}"), flush=True)


def wait_for(find, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            found = find()
        except Exception:
            found = None
        if found:
            return found
        time.sleep(0.2)
    return None


def named(accessible, name, depth=0):
    if accessible is None or depth > 12:
        return None
    try:
        if accessible.name == name:
            return accessible
        for i in range(accessible.childCount):
            found = named(accessible.getChildAtIndex(i), name, depth + 1)
            if found:
                return found
    except Exception:
        return None
    return None


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        child = desktop.getChildAtIndex(i)
        if child is not None and child.name == "Reelwright":
            return child
    return None


def column(table_accessible, col=0):
    table = table_accessible.queryTable()
    return [table.getAccessibleAt(r, col).name for r in range(table.nRows)]


def centre(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)
    time.sleep(0.3)


def shot(name):
    subprocess.run(["import", "-window", "root", os.path.join(SHOTS, name)], check=False)


def start(home):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
               REELWRIGHT_HOME="")
    process = subprocess.Popen([PROGRAM, "nosplash", "--home", home], env=env)
    app = wait_for(application)
    frame = wait_for(lambda: named(app, "Reelwright 1.32")) if app else None
    return process, app, frame


def stop(process):
    process.send_signal(signal.SIGTERM)
    try:
        return process.wait(timeout=15)
    except subprocess.TimeoutExpired:
        process.kill()
        return None


def main():
    subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1)
    work = tempfile.mkdtemp()
    home, game = os.path.join(work, "home"), os.path.join(work, "game")
    demos = os.path.join(game, "baseq3", "demos")
    os.makedirs(demos)
    os.makedirs(home)
    open(os.path.join(game, "quake3.exe"), "wb").write(b"MZ")
    for name in ("tdm.dm3", "duel.dm_48"):
        shutil.copy(os.path.join(ROOT, "tests/data/demos", name), demos)
    for name in ("sample_tdm.dm3", "sample_ffa.dm_48", "demo_pack.zip"):
        shutil.copy(os.path.join(ROOT, "samples/demos", name), demos)
    with open(os.path.join(home, "Reelwright.cfg"), "wb") as config:
        config.write(f"[Global]\r\nq3a_dir={game}\r\nwork_readonly=0\r\n".encode())

    process, app, frame = start(home)
    check("the main window appears", frame is not None)
    if frame is None:
        return
    tip = wait_for(lambda: named(app, "Tip of the Day"))
    check("a first start shows the tip of the day", tip is not None)
    if tip is not None:
        shot("tip-of-the-day.png")
        named(tip, "Show tips at start-up").queryAction().doAction(0)
        named(tip, "Close").queryAction().doAction(0)
        check("the tip closes", wait_for(lambda: named(app, "Tip of the Day") is None
                                         and True), "still open")
    tree = named(frame, "Folder Tree")
    demo_list = named(frame, "Demo List")
    play_list = named(frame, "Play List")
    check("the three views are there by name", None not in (tree, demo_list, play_list))
    check("a first start shows the game folder's branch",
          column(tree) == [game, "baseq3", "demos"], column(tree))

    xdo("mousemove", *centre(tree.queryTable().getAccessibleAt(2, 0)))
    xdo("click", "1")
    listed = wait_for(lambda: len(column(demo_list)) == 6 and column(demo_list))
    expected = ["tdm.dm3", "sample_tdm.dm3", "sample_ffa.dm_48", "duel.dm_48",
                "archived_tdm.dm3", "archived_ffa.dm_48"]
    check("selecting demos lists its demos and its archive's", listed == expected, listed)

    # The header sits right above the first row.
    first = demo_list.queryTable().getAccessibleAt(0, 0).queryComponent()
    box = first.getExtents(pyatspi.DESKTOP_COORDS)
    xdo("mousemove", box.x + box.width // 2, box.y - box.height // 2 - 2)
    xdo("click", "1")
    check("a click on Demoname's header reverses the order",
          wait_for(lambda: column(demo_list) == expected[::-1]), column(demo_list))

    names = column(demo_list)
    row = names.index("duel.dm_48")
    xdo("mousemove", *centre(demo_list.queryTable().getAccessibleAt(row, 0)))
    xdo("click", "1")
    xdo("mousedown", "1")
    target = centre(play_list)
    for step in range(1, 11):
        start_x, start_y = centre(demo_list.queryTable().getAccessibleAt(row, 0))
        xdo("mousemove", start_x + (target[0] - start_x) * step // 10,
            start_y + (target[1] - start_y) * step // 10)
    xdo("mouseup", "1")
    check("a demo dragged to the play list is in it",
          wait_for(lambda: column(play_list) == ["duel.dm_48"]), column(play_list))

    row = column(demo_list).index("tdm.dm3")
    xdo("mousemove", *centre(demo_list.queryTable().getAccessibleAt(row, 0)))
    xdo("click", "1")
    xdo("key", "F2")
    xdo("key", "ctrl+a")
    xdo("type", "final")
    xdo("key", "Return")
    check("F2 renames a demo, adding its generation's extension",
          wait_for(lambda: "final.dm3" in column(demo_list)) and
          os.path.exists(os.path.join(demos, "final.dm3")), column(demo_list))
    shot("main-window.png")

    # One demo's properties, opened with Enter, and a note saved through the editor.
    row = column(demo_list).index("sample_tdm.dm3")
    xdo("mousemove", *centre(demo_list.queryTable().getAccessibleAt(row, 0)))
    xdo("click", "1")
    xdo("key", "Return")
    properties = wait_for(lambda: named(app, "Properties of sample_tdm.dm3"))
    check("Enter opens the properties of the selected demo", properties is not None)
    if properties is not None:
        tabs = [named(properties, tab) for tab in ("General", "Server Detail", "Course", "User")]
        check("the properties have their four tabs", None not in tabs, tabs)
        players = named(properties, "Players")
        check("the General tab lists the players",
              players is not None and len(column(players)) > 0)
        check("the Course tab holds the match log",
              len(column(named(properties, "Match Log"))) > 0)
        xdo("key", "alt+u")
        editor = wait_for(lambda: named(app, "Edit User Data of sample_tdm.dm3"))
        check("Userdata opens the editor for the demo", editor is not None)
        if editor is not None:
            xdo("mousemove", *centre(named(editor, "Rating")))
            xdo("click", "1")
            xdo("key", "ctrl+a")
            xdo("type", "5")
            xdo("key", "alt+a")
            rating = 23
            check("a saved rating shows in the demo's row",
                  wait_for(lambda: column(demo_list, rating)[row] == "5"),
                  column(demo_list, rating))
            xdo("key", "Escape")
        named(properties, "Close").queryAction().doAction(0)
    check("the program ends on SIGTERM as on a close", stop(process) == 0)

    process, app, frame = start(home)
    check("the main window comes back", frame is not None)
    if frame is None:
        return
    time.sleep(1)
    check("no tip once the box was cleared", named(app, "Tip of the Day") is None)
    tree = named(frame, "Folder Tree")
    demo_list = named(frame, "Demo List")
    check("the tree comes back", column(tree) == [game, "baseq3", "demos"], column(tree))
    back = wait_for(lambda: len(column(demo_list)) == 6 and column(demo_list))
    check("the last folder is listed again in the order left",
          back == sorted(back) and "final.dm3" in (back or []), back)
    stop(process)


try:
    main()
except Exception as error:  # a window that is not there fails the walk, not the script
    check("the walk-through runs to its end", False, repr(error))
failed = results.count(False)
print(f"walkthrough: {len(results) - failed} passed, {failed} failed")
sys.exit(1 if failed or not results else 0)
