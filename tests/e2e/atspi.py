#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# atspi.py PROGRAM (the observed build): reads its main window, 选项 and
# 文本管理界面设置 over AT-SPI as a screen reader does, on DISPLAY, with buses
# of its own. Fails on every control a user can reach (focusable or with an
# action; scroll bars aside) that has no name, or a box named by its value.
# Exits 77 (skipped) without DISPLAY or the AT-SPI bus.
import os, shutil, signal, subprocess, sys, tempfile, time

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
if not os.environ.get("DISPLAY") or not os.path.exists(LAUNCHER):
    sys.exit(77)
home = tempfile.TemporaryDirectory()
# Each in a process group of its own, killed with what it started.
start = lambda *args, **options: subprocess.Popen(*args, **options, start_new_session=True)
bus = start(["dbus-daemon", "--session", "--nofork", "--print-address"], stdout=subprocess.PIPE,
            text=True)
os.environ.update(DBUS_SESSION_BUS_ADDRESS=bus.stdout.readline().strip(), HOME=home.name,
                  XDG_RUNTIME_DIR=home.name, LANG="C.UTF-8", QT_QPA_PLATFORM="xcb",
                  QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                  ORLO_TEST_REPORT=os.path.join(home.name, "report"))
started = [bus, start([LAUNCHER, "--launch-immediately"])]
import pyatspi  # noqa: E402 (reads the bus named above)


def wait(find, seconds=15):
    for _ in range(seconds * 10):
        if found := find():
            return found
        time.sleep(0.1)
    raise SystemExit("not found in time")


def tree(node):
    yield node
    for i in range(node.childCount):
        if (child := node.getChildAtIndex(i)) is not None:
            yield from tree(child)


def unnamed(window):
    """Lines for the reachable controls of `window` that have no name."""
    for node in tree(window):
        reachable = node.getState().contains(pyatspi.STATE_FOCUSABLE) or (
            "Action" in pyatspi.listInterfaces(node) and node.queryAction().nActions > 0)
        if reachable and node.getRole() != pyatspi.ROLE_SCROLL_BAR:
            if not node.name.strip():
                yield f"{window.name}: a {node.getRoleName()} has no name"
            # A box is named by its label, not by its value.
            if node.getRole() == pyatspi.ROLE_COMBO_BOX and any(
                    field.getRole() == pyatspi.ROLE_TEXT and
                    field.queryText().getText(0, -1) == node.name for field in node):
                yield f"{window.name}: a combo box is named {node.name!r}, its value"


try:
    program = start([shutil.copy(sys.argv[1], home.name)], stdin=subprocess.PIPE, bufsize=0)
    started.append(program)
    app = wait(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                             if a is not None and a.get_process_id() == program.pid), None))
    window = lambda title: next((w for w in app if w is not None and w.name == title and
                                 w.getState().contains(pyatspi.STATE_SHOWING)), None)
    faults = list(unnamed(wait(lambda: window("Orlo粘贴板2.0版"))))
    for item, title in (("menuOption", "选项"), ("menuSkin", "文本管理界面设置")):
        program.stdin.write(item.encode() + b"\n")
        dialog = wait(lambda: window(title))
        faults += unnamed(dialog)
        next(n for n in tree(dialog) if n.name == "取消").queryAction().doAction(0)
        wait(lambda: not window(title))
    print("\n".join(faults) or "every control has a name")
    sys.exit(1 if faults else 0)
finally:
    for process in reversed(started):
        os.killpg(process.pid, signal.SIGKILL)
