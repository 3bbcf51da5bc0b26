#!/usr/bin/env python3
"""The layering check finds each kind of fault in a small tree made here."""

import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_layers  # noqa: E402

CASES = [
    # (files of the tree, a text every reported fault must contain, or None for a clean tree)
    ({"runtime/a.h": "#include <vector>\n#include \"base/b.h\"\n", "base/b.h": ""}, None),
    ({"runtime/a.cpp": "#include \"platform/linux/proc_cpu.h\"\n",
      "platform/linux/proc_cpu.h": ""}, "outside it: platform/linux/proc_cpu.h"),
    ({"schedule/a.cpp": "#include \"ui/qt/look.h\"\n", "ui/qt/look.h": ""}, "outside it: ui/qt/look.h"),
    ({"app/a.cpp": "#include \"main/qt_main.cpp\"\n", "main/qt_main.cpp": ""}, "outside it: main/qt_main.cpp"),
    ({"display/a.cpp": "#include <QString>\n"}, "not a standard header: <QString>"),
    ({"app/a.h": "#include \"display/b.h\"\n", "display/b.h": "#include \"app/a.h\"\n"},
     "folders include each other: app -> display -> app"),
    ({"tools/a.cpp": "#include \"tools/missing.h\"\n"}, "project header not found"),
    ({"schedule/a.cpp": "void f(Platform& p) { p.power.suspend(); }\n"}, "only app/commands.cpp"),
    ({"tools/a.cpp": "x.platform().process.run(\"calc\", 2);\n"}, "only app/commands.cpp"),
    ({"app/commands.cpp": "p.power.powerOff();\n"}, None),
    # System code may include what it needs.
    ({"platform/linux/a.cpp": "#include <QString>\n#include \"ui/qt/look.h\"\n"}, None),
]


def main():
    failures = 0
    for files, expected in CASES:
        with tempfile.TemporaryDirectory() as src:
            for name, text in files.items():
                path = os.path.join(src, name)
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, "w") as f:
                    f.write(text)
            found = check_layers.check(src)
        ok = (not found) if expected is None else (found and all(expected in x for x in found))
        if not ok:
            failures += 1
            print("FAIL: %s: expected %r, found %r" % (sorted(files), expected, found))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
