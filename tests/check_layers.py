#!/usr/bin/env python3
"""Checks the layering of the portable core.

1. A core source includes only the C++ standard library and core headers:
   no Qt, no operating-system header, nothing of platform/linux/,
   platform/win32/ or ui/.
2. The core's folders include each other without a cycle, so each folder
   can be read (and built) on top of the ones below it.
3. Only app/commands.cpp starts programs or acts on the machine's power:
   no other core source calls the power service or the process service's
   run(), so what can turn the machine off is read in one file.

Usage: check_layers.py SRC_DIR   (exit 1 and a line per fault otherwise)
"""

import os
import re
import sys

CORE = ["base", "platform", "runtime", "forms", "app", "settings", "sensing", "display",
        "alarms", "schedule", "tools", "main"]
# Folders below a core folder that belong to a system or a view.
NOT_CORE = ("platform/linux/", "platform/win32/", "ui/")
# main/ holds the composition root (core) beside the main()s (not core).
MAIN_CORE = ("main/features.h", "main/features.cpp")

STANDARD = set("""algorithm any array atomic bit bitset cassert cctype cerrno cfenv charconv chrono
cinttypes climits cmath compare concepts cstddef cstdint cstdio cstdlib cstring ctime deque exception
functional initializer_list iomanip iterator limits list map memory numeric optional ostream queue
random ranges set span sstream stdexcept string string_view tuple type_traits typeindex typeinfo
unordered_map unordered_set utility variant vector""".split())

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
POWER = re.compile(r'\bpower\s*(\.|->)\s*(powerOff|restart|restartNow|suspend)\s*\(|'
                   r'\bprocess\s*(\.|->)\s*run\s*\(')
COMMANDS = "app/commands.cpp"


def core_files(src):
    for folder in CORE:
        root = os.path.join(src, folder)
        for dirpath, _, names in os.walk(root):
            for name in sorted(names):
                path = os.path.join(dirpath, name)
                rel = os.path.relpath(path, src).replace(os.sep, "/")
                if not rel.endswith((".h", ".cpp")) or rel.startswith(NOT_CORE):
                    continue
                if folder == "main" and rel not in MAIN_CORE:
                    continue
                yield rel


def check(src):
    faults = []
    edges = {}
    for rel in core_files(src):
        here = rel.split("/")[0]
        with open(os.path.join(src, rel), encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                if rel != COMMANDS and POWER.search(line):
                    faults.append("%s:%d: only %s acts on power or starts programs" %
                                  (rel, number, COMMANDS))
                m = INCLUDE.match(line)
                if not m:
                    continue
                kind, name = m.groups()
                where = "%s:%d" % (rel, number)
                if kind == "<":
                    if name not in STANDARD:
                        faults.append("%s: not a standard header: <%s>" % (where, name))
                    continue
                if name.startswith(NOT_CORE) or name.split("/")[0] not in CORE or \
                        (name.startswith("main/") and name not in MAIN_CORE):
                    faults.append("%s: the core includes a header outside it: %s" % (where, name))
                    continue
                if not os.path.isfile(os.path.join(src, name)):
                    faults.append("%s: project header not found: %s" % (where, name))
                    continue
                there = name.split("/")[0]
                if there != here:
                    edges.setdefault(here, {}).setdefault(there, where)
    faults += cycles(edges)
    return faults


def cycles(edges):
    """One line per folder cycle, naming an include that closes it."""
    faults, state, path = [], {}, []

    def visit(node):
        state[node] = "open"
        path.append(node)
        for nxt, where in sorted(edges.get(node, {}).items()):
            if state.get(nxt) == "open":
                loop = path[path.index(nxt):] + [nxt]
                faults.append("folders include each other: %s (%s)" % (" -> ".join(loop), where))
            elif nxt not in state:
                visit(nxt)
        path.pop()
        state[node] = "done"

    for node in sorted(edges):
        if node not in state:
            visit(node)
    return faults


if __name__ == "__main__":
    found = check(sys.argv[1])
    for fault in found:
        print(fault)
    sys.exit(1 if found else 0)
