#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# The program as a screen reader meets it: started on an X server of its own with the accessibility
# bus always on, its windows are walked through AT-SPI (the main window with a show and a listed
# folder, every dialog it opens, Qt's file, font and colour dialogs among them, the help and the
# viewer), and every control a person can reach must have a role and a name. Run under a private session bus (dbus-run-session); exits 77 (skipped)
# naming what is missing when the bus, the registry, pyatspi or the X server is not there.
import ctypes
import ctypes.util
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

SKIP = 77
# Roles of containers and decorations, which a screen reader passes over when they have no name; a
# scroll bar belongs to the area it scrolls (out of the Tab order: the area's own keys scroll it) and
# is read by its value.
UNNAMED_ROLES = {"filler", "panel", "frame", "separator", "popup menu", "menu bar", "scroll pane",
                 "viewport", "image", "application", "redundant object", "section", "scroll bar"}
# Pictures the test makes itself: name and colour.
PICTURES = [("flower.bmp", (200, 40, 60)), ("ladybird.bmp", (30, 30, 30)), ("leaf.bmp", (40, 160, 60))]


def skip(what):
    print(f"SKIPPED: {what}")
    sys.exit(SKIP)


def write_bmp(path, colour, width=64, height=48):
    """A plain 24-bit BMP of one colour."""
    row = bytes(colour[::-1]) * width
    row += b"\0" * (-len(row) % 4)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + pixels)


def wait_for(what, condition, limit=60.0):
    end = time.monotonic() + limit
    while time.monotonic() < end:
        try:
            result = condition()
        except Exception:  # the tree changes while it is read
            result = None
        if result:
            return result
        time.sleep(0.2)
    raise AssertionError(f"gave up waiting for {what}")


def start_x_server():
    if not shutil.which("Xvfb"):
        skip("Xvfb (package xvfb) is not installed")
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x800x24",
                               "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as displays:
        number = displays.readline().strip()
    if not number:
        skip("Xvfb did not start")
    return server, ":" + number


def give_focus(display, title):
    """The X focus to the top-level window of that title, as a window manager would give it."""
    x = ctypes.CDLL(ctypes.util.find_library("X11"))
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)), ctypes.POINTER(ctypes.c_uint)]
    x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
    x.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    dpy = x.XOpenDisplay(display.encode())
    root, parent = ctypes.c_ulong(), ctypes.c_ulong()
    children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    x.XQueryTree(dpy, x.XDefaultRootWindow(dpy), ctypes.byref(root), ctypes.byref(parent), ctypes.byref(children), ctypes.byref(count))
    found = False
    for i in range(count.value):
        name = ctypes.c_char_p()
        if x.XFetchName(dpy, children[i], ctypes.byref(name)) and name.value == title.encode():
            x.XSetInputFocus(dpy, children[i], 2, 0)  # RevertToParent, CurrentTime
            found = True
    x.XCloseDisplay(dpy)
    return found


def role_of(node):
    try:
        return node.getRoleName()
    except Exception:
        return ""


def showing(node, pyatspi):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def walk(node, pyatspi, path, faults, in_menu=False):
    """Every reachable control under node gets a role and a name; tables are read a few cells in."""
    role = role_of(node)
    menu = in_menu or role in ("menu bar", "menu item", "popup menu")
    if not menu and not showing(node, pyatspi):
        return 0
    here = f"{path}/{role or '?'}:{node.name!r}"
    # What takes the focus is a control, whatever its role; a splitter's handle has no role of its
    # own on the bus, but a name.
    focusable = node.getState().contains(pyatspi.STATE_FOCUSABLE)
    if not role or (role == "unknown" and focusable):
        faults.append(f"no role: {here}")
    elif not node.name and (focusable or role not in UNNAMED_ROLES):
        faults.append(f"no name: {here}")
    count = 1
    children = list(node)[:8] if role == "table" else list(node)
    for child in children:
        if child is not None:
            count += walk(child, pyatspi, here, faults, menu)
    return count


def main():
    try:
        import pyatspi
    except ImportError:
        skip("pyatspi (package python3-pyatspi) is not installed")
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        skip("no session bus: run under dbus-run-session (package dbus)")
    if not any(os.path.exists(p) for p in ("/usr/libexec/at-spi-bus-launcher",
                                           "/usr/lib/at-spi2-core/at-spi-bus-launcher")):
        skip("the AT-SPI bus launcher (package at-spi2-core) is not installed")
    program = sys.argv[1]
    home = tempfile.mkdtemp(prefix="verasco-a11y-")
    pictures = os.path.join(home, "Pictures")
    os.makedirs(pictures)
    for name, colour in PICTURES:
        write_bmp(os.path.join(pictures, name), colour)
    server, display = start_x_server()
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_RUNTIME_DIR=home, DISPLAY=display, QT_QPA_PLATFORM="xcb",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    slides = [os.path.join(pictures, name) for name, _ in PICTURES]
    verasco = subprocess.Popen([program] + slides, env=env)
    helpers = []
    try:
        faults = check_windows(pyatspi, verasco, display, helpers)
    finally:
        for process in helpers + [verasco, server]:
            process.kill()
            process.wait()
        shutil.rmtree(home, ignore_errors=True)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


def find(node, role, name):
    if role_of(node) == role and node.name == name:
        return node
    for child in node:
        if child is not None:
            found = find(child, role, name)
            if found:
                return found
    return None


def press(app_name, window, role, name, helpers, action=None):
    """Does the action of the control (its first, or the one named) in that window, or in any window
    of the program when window is None, from another process: a modal window answers only once it
    closes."""
    script = ("import pyatspi\n"
              "def f(n):\n"
              f"  if n.getRoleName()=={role!r} and n.name=={name!r}: return n\n"
              "  for c in n:\n"
              "    r=c is not None and f(c)\n"
              "    if r: return r\n"
              "for a in pyatspi.Registry.getDesktop(0):\n"
              f"  if a is not None and a.name=={app_name!r}:\n"
              f"    c=[f(w) for w in a if {window!r} in (None, w.name)]\n"
              "    act=[x for x in c if x][0].queryAction()\n"
              f"    names=[act.getName(i) for i in range(act.nActions)]\n"
              f"    act.doAction(names.index({action!r}) if {action!r} in names else 0)\n")
    helpers.append(subprocess.Popen([sys.executable, "-c", script], stderr=subprocess.DEVNULL))


MAIN = "Morvant Verasco"
# Each window the program has, reached as a person reaches it: in the window named first (None: in
# whichever window shows it, as a popup menu), the control of that role and name is pressed (by its
# action of that name, else its first), and the window it opens, named last, is walked; a step that
# opens none (None) closes the window it was pressed in. Keys go to the window named first (None: to
# the popup menu, which holds the keyboard and is no window on the bus).
STEPS = [
    (MAIN, ("menu item", "Verasco Preferences..."), "Verasco Preferences"),
    ("Verasco Preferences", ("push button", "Cancel"), None),
    (MAIN, ("menu item", "About Verasco..."), "About"),
    ("About", ("push button", "OK"), None),
    (MAIN, ("push button", "Choose the pictures folder"), "Select Images"),
    ("Select Images", ("push button", "Cancel"), None),
    (MAIN, ("menu item", "Image Properties..."), "Image Properties"),
    ("Image Properties", ("push button", "Text Properties"), "Font"),
    ("Font", ("push button", "OK"), "Font Colour"),
    ("Font Colour", ("push button", "Cancel"), None),
    ("Image Properties", ("push button", "Cancel"), None),
    (MAIN, ("menu item", "Print Verasco..."), "Print Verasco"),
    ("Print Verasco", ("push button", "Cancel"), None),
    (MAIN, ("menu item", "Save as Video..."), "Save as Video"),
    ("Save as Video", ("push button", "Save"), "Video Settings"),
    ("Video Settings", ("push button", "Cancel"), None),
    (MAIN, ("menu item", "Save as Web Page..."), "Save as Web Page"),
    ("Save as Web Page", ("push button", "Cancel"), None),
    (MAIN, ("menu item", "Save Stand-alone Verasco..."), "Save Stand-alone Verasco"),
    ("Save Stand-alone Verasco", ("push button", "Save"), "Stand-alone Verasco Settings"),
    ("Stand-alone Verasco Settings", ("push button", "Cancel"), None),
    (MAIN, ("table", "Pictures of the folder", "ShowMenu"), ""),
    (None, ("key", "Down", "Return"), "Find Image"),
    ("Find Image", ("key", "Escape"), None),
    (MAIN, ("menu item", "Help Topics"), "Verasco Help"),
    (MAIN, ("push button", "Play Verasco"), "Verasco Viewer"),
]


KEYSYMS = {"Escape": 0xff1b, "Return": 0xff0d, "Down": 0xff54}


def press_keys(display, window, keys):
    """The keys pressed in that window, given the X focus first as a window manager would, through
    the X server's test extension, as a keyboard presses them."""
    if window is not None and not give_focus(display, window):
        raise AssertionError(f"no X window {window!r}")
    x = ctypes.CDLL(ctypes.util.find_library("X11"))
    xtst = ctypes.CDLL(ctypes.util.find_library("Xtst"))
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
    dpy = x.XOpenDisplay(display.encode())
    for key in keys:
        code = x.XKeysymToKeycode(dpy, KEYSYMS[key])
        xtst.XTestFakeKeyEvent(dpy, code, 1, 0)
        xtst.XTestFakeKeyEvent(dpy, code, 0, 0)
    x.XFlush(dpy)
    x.XCloseDisplay(dpy)


def check_windows(pyatspi, verasco, display, helpers):
    def application():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "verasco" and app.childCount:
                return app
        return None

    app = wait_for("the program on the accessibility bus", application)
    main = wait_for("the main window", lambda: find(app, "frame", "Morvant Verasco"))
    # There is no window manager to activate the window, which then lists its folder.
    if not give_focus(display, "Morvant Verasco"):
        raise AssertionError("no X window of the main window")
    wait_for("the folder's pictures", lambda: find(main, "table cell", PICTURES[0][0]))
    wait_for("the show's slides", lambda: find(main, "table", "Slides of the show").childCount >= 5)
    faults = []
    walked = walk(main, pyatspi, "", faults)
    def window_named(title):
        return next((w for w in app if w is not None and w.name == title and showing(w, pyatspi)), None)

    for where, control, opens in STEPS:
        scope = (lambda: app) if where is None else (lambda: window_named(where))
        if control[0] == "key":
            # Keys pressed before their window shows are lost: they are pressed again until the
            # window they open shows (or the one they close is gone).
            def pressed():
                press_keys(display, where, control[1:])
                done = (lambda: window_named(opens)) if opens else (lambda: window_named(where) is None)
                try:
                    return wait_for(f"{control[1:]} to act", done, 2)
                except AssertionError:
                    return None
            wait_for(f"{control[1:]} in {where!r}", pressed)
        else:
            wait_for(f"{control} in {where!r}", lambda: find(scope(), *control[:2]))
            give_focus(display, where)  # where a popup menu it opens takes the keys from
            press(app.name, where, *control[:2], helpers, *control[2:])
        if opens:
            window = wait_for(f"the window {opens!r}", lambda: window_named(opens))
            walked += walk(window, pyatspi, "", faults)
        elif opens is None:
            wait_for(f"the window {where!r} to close", lambda: window_named(where) is None)
    if verasco.poll() is not None:
        faults.append(f"the program ended with {verasco.returncode}")
    print(f"{walked} reachable objects walked, {len(faults)} without a name or role")
    return faults


if __name__ == "__main__":
    sys.exit(main())
