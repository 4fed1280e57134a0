"""The real program under valgrind's memcheck: it opens, the help window is closed as a user
closes it, File, Exit ends it with exit code 0, and no definitely lost block was allocated on
a path through our code. Leaks purely inside Qt or the system libraries are printed, not
failed; the totals are printed either way."""

import os
import re
import shutil
import sys
import tempfile
import xml.etree.ElementTree as ET

from harness import Failure, check, run

HELP = "Instructions for Settings utility"
# ctest reads this exit code as "skipped".
SKIP = 77
# Everything is many times slower under memcheck.
SLOW = 240

SOURCE_ROOT = os.path.realpath(os.path.join(os.path.dirname(__file__), "..", ".."))
OUR_FOLDERS = ("app", "platform", "setupctrls", "driver")
# Our classes are T-prefixed; the layers' free functions live in setup namespaces.
OUR_SYMBOL = re.compile(r"(^|[\s:(<,*&])(T[A-Z]\w*::|setup::)")


def our_file_names():
    names = set()
    for folder in OUR_FOLDERS:
        for name in os.listdir(os.path.join(SOURCE_ROOT, folder)):
            if name.endswith((".cpp", ".h")):
                names.add(name)
                names.add("moc_" + name.rsplit(".", 1)[0] + ".cpp")
    return names


OUR_FILES = our_file_names()


def is_sanitized(program):
    """True when the program carries AddressSanitizer's runtime, which valgrind cannot host."""
    with open(program, "rb") as f:
        return b"__asan_init" in f.read()


class Frame:
    def __init__(self, node):
        self.fn = node.findtext("fn") or ""
        self.obj = node.findtext("obj") or ""
        self.dir = node.findtext("dir") or ""
        self.file = node.findtext("file") or ""
        self.line = node.findtext("line") or ""

    def ours(self):
        if self.file:
            path = os.path.realpath(os.path.join(self.dir, self.file))
            inside = any(path.startswith(os.path.join(SOURCE_ROOT, f) + os.sep) for f in OUR_FOLDERS)
            if inside or os.path.basename(self.file) in OUR_FILES:
                return True
        if self.fn == "main" and self.file == "main.cpp":
            return True
        return bool(OUR_SYMBOL.search(self.fn))

    def __str__(self):
        where = f"{self.file}:{self.line}" if self.file else os.path.basename(self.obj)
        return f"{self.fn or '???'} ({where})"


class Report:
    """One error record of valgrind's XML output."""

    def __init__(self, node):
        self.kind = node.findtext("kind") or ""
        self.what = node.findtext("xwhat/text") or node.findtext("what") or ""
        self.bytes = int(node.findtext("xwhat/leakedbytes") or 0)
        self.blocks = int(node.findtext("xwhat/leakedblocks") or 0)
        stack = node.find("stack")
        self.frames = [Frame(f) for f in stack.findall("frame")] if stack is not None else []

    def ours(self):
        return any(f.ours() for f in self.frames)

    def describe(self):
        lines = [f"  {self.kind}: {self.what}"]
        lines += [f"      {'*' if f.ours() else ' '} {f}" for f in self.frames]
        return "\n".join(lines)


def parse(xml_path):
    check(os.path.exists(xml_path), "valgrind wrote no XML report")
    try:
        root = ET.parse(xml_path).getroot()
    except ET.ParseError as e:
        raise Failure(f"valgrind's XML report is incomplete ({e}): did the program crash?")
    return [Report(e) for e in root.findall("error")]


def print_totals(reports):
    totals = {}
    for r in reports:
        if r.kind.startswith("Leak_"):
            b, n = totals.get(r.kind, (0, 0))
            totals[r.kind] = (b + r.bytes, n + r.blocks)
    for kind, label in (("Leak_DefinitelyLost", "definitely lost"), ("Leak_IndirectlyLost", "indirectly lost"),
                        ("Leak_PossiblyLost", "possibly lost")):
        b, n = totals.get(kind, (0, 0))
        print(f"{label}: {b} bytes in {n} blocks")


def menu_open(s):
    """True when one of the program's windows on the screen is a drop-down menu."""
    for wid in s._out(["xdotool", "search", "--onlyvisible", "--pid", str(s.app.pid)]).split():
        if "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU" in s._out(["xprop", "-id", wid, "_NET_WM_WINDOW_TYPE"]):
            return True
    return False


def scenario(s):
    valgrind = shutil.which("valgrind")
    check(valgrind is not None, "valgrind is not installed")
    work = tempfile.mkdtemp(prefix="leaks-")
    xml_path = os.path.join(work, "memcheck.xml")
    program = s.program
    # The harness starts s.program; under valgrind the program becomes its argument.
    s.program = valgrind
    s.start("--tool=memcheck", "--leak-check=full", "--errors-for-leak-kinds=definite",
            "--show-leak-kinds=definite,indirect,possible", "--num-callers=40", "--child-silent-after-fork=yes",
            "--xml=yes",
            f"--xml-file={xml_path}", program)

    main = s.wait_window("Setup", timeout=SLOW)
    # The help window opens by itself at the first idle moment and stays on top; a user closes
    # it with the window manager's close command before going to the menu.
    help_window = s.wait_window(HELP, timeout=SLOW)
    s.activate(help_window)
    s.key("alt+F4")
    s.wait_no_window(HELP, timeout=SLOW)

    s.activate(main)
    s.key("alt+f")
    # Slowed down this much, a key typed before the menu is up would go to the main window.
    s.settle(lambda: menu_open(s), timeout=SLOW, message="the File menu did not open")
    s.key("e")
    code = s.wait_exit(timeout=SLOW)
    output = s.app.stdout.read()
    if output.strip():
        print("program and valgrind output:\n" + output)

    reports = parse(xml_path)
    print_totals(reports)
    definite = [r for r in reports if r.kind == "Leak_DefinitelyLost"]
    ours = [r for r in definite if r.ours()]
    theirs = [r for r in definite if not r.ours()]
    if theirs:
        print(f"{len(theirs)} definite leak(s) inside Qt or system libraries, tolerated:")
        for r in theirs:
            print(r.describe())
    others = [r for r in reports if not r.kind.startswith("Leak_")]
    if others:
        print(f"{len(others)} other memcheck report(s):")
        for r in others:
            print(r.describe())
    if ours:
        print(f"{len(ours)} definite leak(s) through our code (* marks our frames):")
        for r in ours:
            print(r.describe())
    check(code == 0, f"File, Exit ended the program under valgrind with exit code {code}, not 0")
    check(not ours, f"{len(ours)} definitely lost block record(s) were allocated through our code")
    shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if is_sanitized(sys.argv[1]):
        print("SKIPPED: the program is an AddressSanitizer build, which valgrind cannot run")
        sys.exit(SKIP)
    if shutil.which("valgrind") is None:
        print("FAILED: valgrind is not installed (tools/install_deps.sh installs it)")
        sys.exit(1)
    run(scenario)
