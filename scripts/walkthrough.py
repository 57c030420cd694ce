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
started = []


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


def window(app, name):
    """A top-level window of the program by its title (menu entries may share the name)."""
    for i in range(app.childCount):
        child = app.getChildAtIndex(i)
        if child is not None and child.name == name:
            return child
    return None


def window_holding(app, name):
    """The top-level window of the program that holds an object named name."""
    for i in range(app.childCount):
        child = app.getChildAtIndex(i)
        if child is not None and named(child, name) is not None:
            return child
    return None


def focused(accessible):
    return accessible.getState().contains(pyatspi.STATE_FOCUSED)


def extents(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def column(table_accessible, col=0):
    table = table_accessible.queryTable()
    return [table.getAccessibleAt(r, col).name for r in range(table.nRows)]


def centre(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)
    time.sleep(0.3)


def shot(name, accessible=None, margin=8):
    """The whole screen, or only what accessible covers (a window, say)."""
    path = os.path.join(SHOTS, name)
    subprocess.run(["import", "-window", "root", path], check=False)
    if accessible is not None:
        box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        crop = f"{box.width + 2 * margin}x{box.height + 2 * margin}+" \
               f"{max(0, box.x - margin)}+{max(0, box.y - margin)}"
        subprocess.run(["convert", path, "-crop", crop, "+repage", path], check=False)


MAIN_MENU = {
    "Demo Play": ["Play current Playlist", "Play current Playlist & Exit Reelwright",
                  "Load Playlist..", "Save Playlist..", "Exit"],
    "Options": ["No Splash Screen", "No more Hints at my Cursor", "Play Demos as Mod Demos",
                "Show Playlist", "Hardware Stress Test (Timedemo)", "Loop Demos",
                "Sound Options.."],
    "Tools": ["Demo Playback Control Keys..", "Global Command Line Parameters..",
              "Find Demos..", "Work in Read Only Mode", "Active Q3A version", "Q3A version is now 1.27",
              "Q3A version is now 1.17", "Restore version 1.27 on Exit",
              "Restore version 1.17 on Exit"],
    "Help": ["Help", "Tip of the Day", "About"],
}
BUTTONS = ["More commands", "Load Play List", "Save Play List", "Play it", "Play Current List",
           "Play Current List & exit", "Sound Options", "Demo playback control keys",
           "Global command line parameters", "Help", "Tip of the day",
           "Choose demolist columns", "Choose playlist columns",
           'Change working mode to "readonly"', "enable timedemo", "enable loop demos",
           "Hide Play List"]


def walk_commands(app, frame, demo_list, play_list, tree, home, game):
    """The commands as a person finds them: menus, buttons, pop-up menus, toggles, dialogs."""
    menu_bar = next(frame.getChildAtIndex(i) for i in range(frame.childCount)
                    if frame.getChildAtIndex(i).getRole() == pyatspi.ROLE_MENU_BAR)
    missing = [entry for menu, entries in MAIN_MENU.items()
               for entry in [menu] + entries if named(menu_bar, entry) is None]
    check("every main menu entry is there by its caption", not missing, missing)
    bar = named(frame, "Reelwright Command Bar")
    hints = [bar.getChildAtIndex(i).name for i in range(bar.childCount)
             if bar.getChildAtIndex(i).name]
    check("every tool bar button is there by its hint, in order", hints == BUTTONS, hints)
    shot("command-bar-top.png", bar, 2)

    # Pop-up menus are not in the accessible tree while closed; their entries are checked by
    # what they do when chosen from the keyboard.
    first = column(demo_list)[0]
    xdo("mousemove", *centre(demo_list.queryTable().getAccessibleAt(0, 0)))
    xdo("click", "1")
    xdo("key", "Menu")
    time.sleep(0.5)
    shot("demo-list-menu.png", frame)
    xdo("key", "Down", "Down", "Return")  # "Play it", "Move to Playlist"
    check("the menu key opens the demo list's pop-up menu; its entry moves a demo",
          wait_for(lambda: first in column(play_list), 5), column(play_list))
    xdo("mousemove", *centre(tree.queryTable().getAccessibleAt(0, 0)))
    xdo("key", "Menu")
    time.sleep(0.5)
    shot("folder-tree-menu.png", frame)
    xdo("key", "Up", "Up", "Up", "Return")  # from the bottom: "Collapse all Folders"
    check("the menu key opens the tree's pop-up menu; its entry collapses the tree",
          wait_for(lambda: column(tree) == [column(tree)[0]], 5), column(tree))
    xdo("key", "Menu")
    xdo("key", "Up", "Up", "Return")  # "Expand all Folders"
    wait_for(lambda: len(column(tree)) == 3, 5)

    button = named(bar, "enable loop demos")
    button.queryAction().doAction(0)
    check("the loop button turns into its other state",
          wait_for(lambda: named(bar, "disable loop demos"), 5) is not None)

    # The play list saved to a file, emptied, and loaded back from the file.
    rows = column(play_list)
    xdo("mousemove", *centre(demo_list))
    xdo("key", "ctrl+s")
    dialog = wait_for(lambda: window(app, "Save Playlist"), 5)
    check("Ctrl+S opens the save dialog", dialog is not None)
    if dialog is not None:
        shot("save-play-list.png", dialog)
        xdo("mousemove", *centre(dialog))
        xdo("key", "ctrl+a")
        xdo("type", "walk")
        xdo("key", "Return")
    saved = os.path.join(home, "Playlists", "walk.rwt")
    check("the play list is saved as walk.rwt in the Playlists folder",
          wait_for(lambda: os.path.exists(saved), 5))
    xdo("mousemove", *centre(play_list.queryTable().getAccessibleAt(0, 0)))
    xdo("click", "1")
    xdo("key", "ctrl+a", "Delete")
    check("Del empties the play list", wait_for(lambda: column(play_list) == [], 5),
          column(play_list))
    xdo("key", "ctrl+l")
    dialog = wait_for(lambda: window(app, "Load Playlist"), 5)
    check("Ctrl+L opens the load dialog", dialog is not None)
    if dialog is not None:
        xdo("mousemove", *centre(dialog))
        xdo("key", "ctrl+a")
        xdo("type", "walk.rwt")
        xdo("key", "Return")
    check("the saved play list loads back", wait_for(lambda: column(play_list) == rows, 5),
          column(play_list))

    # "Play it" starts the game with the playback script.
    xdo("mousemove", *centre(demo_list.queryTable().getAccessibleAt(0, 0)))
    xdo("click", "1")
    xdo("mousemove", *centre(named(bar, "Play it")))
    xdo("click", "1")
    record = os.path.join(game, "record")
    check("Play it starts the game with the playback script",
          wait_for(lambda: os.path.exists(record) and
                   "[rwttmp.rwt]" in open(record).read(), 10))

    # The small windows of the tool bar and the help, each closed again with Escape.
    for hint, title, picture in (
            ("Demo playback control keys", "Playback Control Keys", "control-keys.png"),
            ("Global command line parameters", "Add global parameter(s) for executing Q3A",
             "global-parameters.png"),
            ("Help", "Reelwright Help", "help.png")):
        # A click, not an accessible action: the action would wait for the modal window.
        xdo("mousemove", *centre(named(bar, hint)))
        xdo("click", "1")
        opened = wait_for(lambda: window(app, title), 5)
        check(f"the {hint} button opens \"{title}\"", opened is not None)
        if opened is not None:
            time.sleep(0.5)
            shot(picture, opened)
            if hint == "Help":
                xdo("mousemove", *centre(opened))
                xdo("key", "F1")  # F1 in the help closes it, as its pages say
            else:
                xdo("key", "Escape")
            check(f"\"{title}\" closes", wait_for(lambda: window(app, title) is None, 5))

    # Dragged by its handle to the left edge, the tool bar docks there.
    box = bar.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    edge = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdo("mousemove", box.x + 4, box.y + box.height // 2)
    xdo("mousedown", "1")
    for step in range(1, 11):
        xdo("mousemove", box.x + 4 - (box.x - edge.x - 2) * step // 10,
            box.y + box.height // 2 + (edge.height // 2) * step // 10)
    xdo("mouseup", "1")
    docked = wait_for(lambda: (lambda b: b.height > b.width and b)(
        bar.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)), 5)
    check("the tool bar docks on the left edge", bool(docked))
    shot("command-bar-left.png", frame)


def walk_search(app, frame, demo_list):
    """The filter box over the demo list, and Find Demos over every folder of the tree."""
    names = column(demo_list)
    xdo("mousemove", *centre(demo_list.queryTable().getAccessibleAt(0, 0)))
    xdo("click", "1")
    xdo("key", "ctrl+f")
    xdo("type", "player:fatal1ty")
    check("Ctrl+F and a query typed into the filter box show the rows that match",
          wait_for(lambda: column(demo_list) == ["duel.dm_48"], 5), column(demo_list))
    check("the status bar counts the rows shown of all",
          named(frame, f"1 of {len(names)} item(s)") is not None)
    shot("filter.png", frame)
    xdo("key", "Escape")
    check("Escape empties the filter box and every row comes back",
          wait_for(lambda: column(demo_list) == names, 5), column(demo_list))

    xdo("key", "ctrl+shift+f")
    find = wait_for(lambda: window(app, "Find Demos"), 5)
    check("Ctrl+Shift+F opens Find Demos", find is not None)
    if find is None:
        return
    xdo("mousemove", *centre(named(find, "Query")))
    xdo("click", "1")
    xdo("type", "map:q3dm7")
    xdo("key", "Return")
    found = named(find, "Found Demos")
    expected = ["archived_tdm.dm3", "final.dm3", "sample_tdm.dm3"]
    check("Find Demos finds the demos of every folder of the tree, archives included",
          wait_for(lambda: sorted(column(found)) == expected, 10), column(found))
    shot("find-demos.png", find)
    xdo("mousemove", *centre(found.queryTable().getAccessibleAt(0, 0)))
    xdo("click", "1")
    xdo("key", "Return")
    name = column(found)[0]
    properties = wait_for(lambda: named(app, "Properties of " + name), 10)
    check("Enter on a result shows its properties", properties is not None)
    if properties is not None:
        close = named(properties, "Close")
        if close is not None:
            close.queryAction().doAction(0)
    xdo("mousemove", *centre(found.queryTable().getAccessibleAt(0, 0)))
    xdo("click", "1")
    xdo("key", "Escape")
    check("Escape closes Find Demos", wait_for(lambda: window(app, "Find Demos") is None, 5))


def start(home, work, path=None):
    # Sound goes to OpenAL Soft's silent output: the machine may have no sound card. HOME
    # is the walk's own, so the default game folder is nowhere.
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
               REELWRIGHT_HOME="", ALSOFT_DRIVERS="null", HOME=work,
               XDG_DATA_HOME=os.path.join(work, "data"))
    if path is not None:
        env["PATH"] = path + ":" + env.get("PATH", "/usr/bin:/bin")
    # A program that could not reach the display at all is started again, once, and said so:
    # that is the machine, not the program.
    for attempt in range(2):
        process = subprocess.Popen([PROGRAM, "--home", home], env=env)
        started.append(process)
        app = wait_for(lambda: application() or process.poll() is not None)
        if process.poll() is None or attempt == 1:
            break
        print(f"the program ended at once (exit code {process.returncode}); starting it again",
              flush=True)
    return process, (app if app is not True else None)


def main_window(app):
    return wait_for(lambda: window(app, "Reelwright 1.32")) if app else None


def stop(process):
    process.send_signal(signal.SIGTERM)
    try:
        return process.wait(timeout=15)
    except subprocess.TimeoutExpired:
        process.kill()
        return None


FAKE_ENGINE = r"""#!/bin/sh
{ pwd -P; for a in "$@"; do printf '[%s]\n' "$a"; done; echo --; } >> "$0.starts"
home="$HOME/.q3a"; game=baseq3; pipe=
while [ $# -gt 0 ]; do
  if [ "$1" = +set ] && [ $# -ge 3 ]; then
    case "$2" in fs_homepath) home=$3 ;; fs_game) game=$3 ;; com_pipefile) pipe=$3 ;; esac
    shift 2
  fi
  shift
done
[ -n "$pipe" ] || exit 0
fifo="$home/$game/$pipe"
mkdir -p "$home/$game" && rm -f "$fifo" && mkfifo "$fifo" || exit 1
exec 3<>"$fifo"
while read -r line <&3; do
  printf '%s\n' "$line" >> "$0.lines"
  [ "$line" = quit ] && break
done
rm -f "$fifo"
"""


def native_first_start(work):
    """A user with ioquake3 on PATH and the game in ~/.q3a starts the program for the first
    time: a wrong folder is explained, the offered installation is taken, and a 68 demo plays
    in the engine, the second time through its command pipe."""
    home, engines = os.path.join(work, "home-native"), os.path.join(work, "bin")
    q3a = os.path.join(work, ".q3a")
    demos = os.path.join(q3a, "baseq3", "demos")
    os.makedirs(home)
    os.makedirs(engines)
    os.makedirs(demos)
    engine = os.path.join(engines, "ioquake3")
    with open(engine, "w") as script:
        script.write(FAKE_ENGINE)
    os.chmod(engine, 0o755)
    shutil.copy(os.path.join(ROOT, "tests/data/demos/newer/czimnick_test.dm_68"), demos)

    process, app = start(home, work, engines)
    title = "Please search your Quake III Arena program path"
    chooser = wait_for(lambda: window(app, title))
    check("a first start without a game asks for its folder", chooser is not None)
    if chooser is None:
        return
    offers = named(chooser, "Installations found")
    offered = [offers.getChildAtIndex(i).name for i in range(offers.childCount)] if offers else []
    check("the chooser offers ~/.q3a with the engine on PATH",
          any(name.startswith(q3a) for name in offered), offered)
    shot("game-folder-chooser.png", chooser)
    xdo("mousemove", *centre(named(chooser, "Game folder")))
    xdo("click", "1")
    xdo("key", "ctrl+a")
    xdo("type", work)
    xdo("key", "Return")
    wrong = wait_for(lambda: window(app, "Quake III Arena not found"), 10)
    check("a folder without a program is explained", wrong is not None)
    if wrong is not None:
        shot("game-folder-wrong.png", wrong)
        xdo("key", "Return")
    chooser = wait_for(lambda: window(app, title) if window(app, "Quake III Arena not found")
                       is None else None)
    check("and the chooser comes again", chooser is not None)
    if chooser is None:
        return
    offers = named(chooser, "Installations found")
    xdo("mousemove", *centre(offers.getChildAtIndex(0)))
    xdo("click", "1")
    xdo("mousemove", *centre(named(chooser, "OK")))
    xdo("click", "1")
    frame = main_window(app)
    check("the offered installation opens the main window", frame is not None)
    if frame is None:
        return
    tip = wait_for(lambda: window(app, "Tip of the Day"), 10)
    if tip is not None:
        named(tip, "Close").queryAction().doAction(0)
        wait_for(lambda: window(app, "Tip of the Day") is None, 5)
    tree = named(frame, "Folder Tree")
    demo_list = named(frame, "Demo List")
    check("its branch is ~/.q3a",
          wait_for(lambda: column(tree) == [q3a, "baseq3", "demos"], 10) is not None,
          column(tree))
    xdo("mousemove", *centre(tree.queryTable().getAccessibleAt(2, 0)))
    xdo("click", "1")
    check("its demos folder lists the 68 demo",
          wait_for(lambda: column(demo_list) == ["czimnick_test.dm_68"]) is not None,
          column(demo_list))
    bar = named(frame, "Reelwright Command Bar")
    for attempt in (1, 2):
        xdo("mousemove", *centre(demo_list.queryTable().getAccessibleAt(0, 0)))
        xdo("click", "1")
        xdo("mousemove", *centre(named(bar, "Play it")))
        xdo("click", "1")
        if attempt == 1:
            pipe = os.path.join(q3a, "baseq3", "rwtpipe")
            started = wait_for(lambda: os.path.exists(pipe), 10) is not None
            record = open(engine + ".starts").read() if started else "not started"
            check("Play it starts the engine with its command pipe and the game's folder",
                  "[com_pipefile]\n[rwtpipe]\n[+set]\n[fs_basepath]\n[" + q3a + "]\n[+exec]"
                  in record, record)
            shot("main-window-native.png", frame)
    handed = wait_for(lambda: os.path.exists(engine + ".lines") and
                      open(engine + ".lines").read() == "exec rwttmp.rwt\n", 10) is not None
    starts = open(engine + ".starts").read().count("--") if os.path.exists(engine + ".starts") \
        else 0
    check("a second Play it hands the script to the running engine's pipe",
          handed and starts == 1, f"handed {handed}, {starts} starts")
    check("the program ends on SIGTERM", stop(process) == 0)
    # The engine goes as the program would make it go; a pipe nobody reads is left alone.
    try:
        pipe = os.open(os.path.join(q3a, "baseq3", "rwtpipe"), os.O_WRONLY | os.O_NONBLOCK)
        os.write(pipe, b"quit\n")
        os.close(pipe)
    except OSError:
        pass


def main():
    subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1)
    work = tempfile.mkdtemp()
    home, game = os.path.join(work, "home"), os.path.join(work, "game")
    demos = os.path.join(game, "baseq3", "demos")
    os.makedirs(demos)
    os.makedirs(home)
    # The game: a program that writes down how it was started.
    program = os.path.join(game, "quake3.exe")
    with open(program, "w") as script:
        script.write(f'#!/bin/sh\n{{ pwd; for a in "$@"; do echo "[$a]"; done; }} '
                     f'> {game}/record.tmp && mv {game}/record.tmp {game}/record\n')
    os.chmod(program, 0o755)
    for name in ("tdm.dm3", "duel.dm_48"):
        shutil.copy(os.path.join(ROOT, "tests/data/demos", name), demos)
    for name in ("sample_tdm.dm3", "sample_ffa.dm_48", "demo_pack.zip"):
        shutil.copy(os.path.join(ROOT, "samples/demos", name), demos)

    # A first start: no configuration yet.
    process, app = start(home, work)
    picture = wait_for(lambda: window(app, "Reelwright"), 10)
    check("a first start shows the start-up picture", picture is not None)
    if picture is not None:
        shot("start-up-picture.png", picture, 0)
    chooser = wait_for(lambda: window(app, "Please search your Quake III Arena program path"))
    check("it asks for the game folder", chooser is not None)
    if chooser is None:
        return
    xdo("mousemove", *centre(chooser))
    xdo("key", "ctrl+a")
    xdo("type", game)
    xdo("key", "Return")
    frame = main_window(app)
    check("the main window appears", frame is not None)
    if frame is None:
        return
    tip = wait_for(lambda: window(app, "Tip of the Day"))
    check("a first start shows the tip of the day", tip is not None)
    if tip is not None:
        shot("tip-of-the-day.png", tip)
        named(tip, "Show tips at start-up").queryAction().doAction(0)
        named(tip, "Close").queryAction().doAction(0)
        check("the tip closes", wait_for(lambda: window(app, "Tip of the Day") is None
                                         and True), "still open")
    tree = named(frame, "Folder Tree")
    demo_list = named(frame, "Demo List")
    play_list = named(frame, "Play List")
    check("the three views are there by name", None not in (tree, demo_list, play_list))
    check("a first start shows the game folder's branch",
          column(tree) == [game, "baseq3", "demos"], column(tree))
    listed = wait_for(lambda: len(column(demo_list)) == 6 and column(demo_list))
    expected = ["tdm.dm3", "sample_tdm.dm3", "sample_ffa.dm_48", "duel.dm_48",
                "archived_tdm.dm3", "archived_ffa.dm_48"]
    check("a first start lists the game's demo folder and its archive", listed == expected,
          listed)
    x, y, width, height = extents(frame)
    check("a first start sizes the window for the screen (two thirds of 1400x900), centred",
          abs(width - 933) <= 2 and abs(height - 600) <= 2 and abs(x - (1400 - width) // 2) <= 2
          and abs(y - (900 - height) // 2) <= 2, (x, y, width, height))
    shot("first-start.png", frame)

    # Tab goes from view to view and back; the arrows stay inside one.
    xdo("mousemove", *centre(tree.queryTable().getAccessibleAt(2, 0)))
    xdo("click", "1")
    views = (("tree", tree), ("filter box", named(frame, "Filter")), ("demo list", demo_list),
             ("play list", play_list))
    path = []
    for key in ("Tab", "Tab", "Down", "Tab", "shift+Tab", "shift+Tab", "shift+Tab"):
        xdo("key", key)
        path.append(next((name for name, view in views if focused(view)), None))
    check("Tab and Shift+Tab lead from view to view, by the filter box",
          path == ["filter box", "demo list", "demo list", "play list", "demo list",
                   "filter box", "tree"], path)

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

    # Read-only is the built-in mode; its button turns it off.
    bar = named(frame, "Reelwright Command Bar")
    xdo("mousemove", *centre(named(bar, 'Change working mode to "write enable"')))
    xdo("click", "1")
    check("the padlock button turns read-only mode off",
          wait_for(lambda: named(bar, 'Change working mode to "readonly"'), 5) is not None)
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
    shot("main-window.png", frame)

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
        shot("properties.png", window_holding(app, "Match Log"))
        xdo("key", "alt+u")
        editor = wait_for(lambda: named(app, "Edit User Data of sample_tdm.dm3"))
        check("Userdata opens the editor for the demo", editor is not None)
        if editor is not None:
            xdo("mousemove", *centre(named(editor, "Rating")))
            xdo("click", "1")
            xdo("key", "ctrl+a")
            xdo("type", "5")
            shot("user-data.png", window_holding(app, "Point of view"))
            xdo("key", "alt+a")
            rating = 23
            check("a saved rating shows in the demo's row",
                  wait_for(lambda: column(demo_list, rating)[row] == "5"),
                  column(demo_list, rating))
            xdo("key", "Escape")
        first_player = players.queryTable().getAccessibleAt(0, 0) if players else None
        if first_player is not None:
            xdo("mousemove", *centre(first_player))
            xdo("click", "1")
            player = wait_for(lambda: window_holding(app, "Team Picture"), 10)
            check("a click on a player opens his description", player is not None)
            if player is not None:
                time.sleep(1)  # the head picture fades in
                shot("player.png", player)
                xdo("mousemove", *centre(player))
                xdo("key", "Escape")
        close = named(properties, "Close")
        if close is not None:
            close.queryAction().doAction(0)
    walk_search(app, frame, demo_list)
    walk_commands(app, frame, demo_list, play_list, tree, home, game)

    # Del asks first, No being the default; Yes moves the demo to the desktop's trash.
    trash = os.path.join(work, "data", "Trash")
    row = column(demo_list).index("duel.dm_48")
    xdo("mousemove", *centre(demo_list.queryTable().getAccessibleAt(row, 0)))
    xdo("click", "1")
    xdo("key", "Delete")
    question = wait_for(lambda: window(app, "Really Delete Demo Files ?"), 5)
    check("Del asks before a demo goes", question is not None)
    if question is not None:
        shot("delete-question.png", question)
        xdo("mousemove", *centre(question))
        xdo("key", "Return")
    check("Enter answers No: the demo stays",
          wait_for(lambda: window(app, "Really Delete Demo Files ?") is None, 5) and
          os.path.exists(os.path.join(demos, "duel.dm_48")) and
          "duel.dm_48" in column(demo_list))
    xdo("mousemove", *centre(demo_list.queryTable().getAccessibleAt(row, 0)))
    xdo("click", "1")
    xdo("key", "Delete")
    question = wait_for(lambda: window(app, "Really Delete Demo Files ?"), 5)
    if question is not None:
        xdo("mousemove", *centre(question))
        xdo("key", "alt+y")
    check("Yes moves the demo to the trash, with where it came from",
          wait_for(lambda: os.path.exists(os.path.join(trash, "files", "duel.dm_48")), 5) and
          f"Path={demos}/duel.dm_48\n" in
          open(os.path.join(trash, "info", "duel.dm_48.trashinfo")).read() and
          not os.path.exists(os.path.join(demos, "duel.dm_48")) and
          "duel.dm_48" not in column(demo_list), column(demo_list))
    left = extents(frame)
    check("the program ends on SIGTERM as on a close", stop(process) == 0)

    process, app = start(home, work)
    frame = main_window(app)
    check("the main window comes back", frame is not None)
    check("the start-up picture shows on the first start only",
          window(app, "Reelwright") is None)
    if frame is None:
        return
    time.sleep(1)
    check("no tip once the box was cleared", window(app, "Tip of the Day") is None)
    tree = named(frame, "Folder Tree")
    demo_list = named(frame, "Demo List")
    check("the tree comes back", column(tree) == [game, "baseq3", "demos"], column(tree))
    bar = named(frame, "Reelwright Command Bar")
    box = bar.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    check("the tool bar is docked where it was left, loop still on",
          box.height > box.width and named(bar, "disable loop demos") is not None)
    check("the window comes back where and as large as it was left",
          extents(frame) == left, (extents(frame), left))
    back = wait_for(lambda: len(column(demo_list)) == 5 and column(demo_list))
    check("the last folder is listed again in the order left",
          back == sorted(back) and "final.dm3" in (back or []), back)
    stop(process)
    native_first_start(work)


try:
    main()
except Exception as error:  # a window that is not there fails the walk, not the script
    check("the walk-through runs to its end", False, repr(error))
finally:
    for leftover in started:
        leftover.kill()
failed = results.count(False)
print(f"walkthrough: {len(results) - failed} passed, {failed} failed")
sys.exit(1 if failed or not results else 0)
