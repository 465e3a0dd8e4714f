#!/usr/bin/env python3
"""The layer check fails on an include from a layer above and on a Qt header below the user
interface, and passes on includes that go down or stay level."""
import os
import subprocess
import sys
import tempfile

SCRIPT = sys.argv[1]
CASES = [
    # (file, its text, fault expected)
    ("base/Log.h", '#include "app/LENIBDoc.h"\n', "base/ includes app/LENIBDoc.h"),
    ("dxf/Draw.cpp", "#include <QPainter>\n", "dxf/ includes the Qt header <QPainter>"),
    ("calc/Energy.cpp", '#include "model/LENIRoom.h"\n#include "dxf/Geometry.h"\n', None),
    ("ui/Dialog.cpp", '#include <QDialog>\n#include "app/LENIBDoc.h"\n', None),
    ("model/Room.cpp", '  #  include "ui/shell/MainFrame.h"\n', "model/ includes ui/shell/MainFrame.h"),
]

failures = 0
for name, text, fault in CASES:
    with tempfile.TemporaryDirectory() as root:
        os.makedirs(os.path.join(root, os.path.dirname(name)))
        with open(os.path.join(root, name), "w") as f:
            f.write(text)
        run = subprocess.run([sys.executable, SCRIPT, root], capture_output=True, text=True)
        ok = (run.returncode == 1 and fault in run.stdout) if fault else run.returncode == 0
        if not ok:
            failures += 1
            print(f"FAIL {name}: exit {run.returncode}\n{run.stdout}")
print(f"{len(CASES) - failures} passed, {failures} failed")
sys.exit(1 if failures else 0)
