#!/usr/bin/env python3
"""Code blocks in the notes that name a file must be a verbatim run of lines of that file.

A block opens with a fence whose info string is a language and a path relative to the
source tree (for example ```cpp examples/minimal_page/minimal_form.cpp). Usage:
doc_excerpts_test.py SOURCE_DIR NOTES.md...
"""

import pathlib
import re
import sys

FENCE = re.compile(r"^```(\S+) (\S+)\s*$")


def excerpts(notes):
    """Yields (line number, path, body lines) for every block that names a file."""
    lines = notes.read_text(encoding="utf-8").split("\n")
    i = 0
    while i < len(lines):
        match = FENCE.match(lines[i])
        if not match:
            i += 1
            continue
        start = i
        i += 1
        body = []
        while i < len(lines) and lines[i] != "```":
            body.append(lines[i])
            i += 1
        yield start + 1, match.group(2), body
        i += 1


def contains_run(haystack, needle):
    return any(haystack[k:k + len(needle)] == needle for k in range(len(haystack) - len(needle) + 1))


def main():
    source = pathlib.Path(sys.argv[1])
    failures = []
    checked = 0
    for notes in sys.argv[2:]:
        for line, path, body in excerpts(source / notes):
            checked += 1
            target = source / path
            if not target.is_file():
                failures.append(f"{notes}:{line}: {path} does not exist")
            elif not body or not contains_run(target.read_text(encoding="utf-8").split("\n"), body):
                failures.append(f"{notes}:{line}: the block is not a run of lines of {path}")
    if checked == 0:
        failures.append("no code block names a file; the notes lost their excerpts")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
