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
    # The order all the way down: base, dxf, products, tables, model, calc, report, app, ui.
    ("model/Window.cpp", '#include "calc/CalcLog.h"\n', "model/ includes calc/CalcLog.h"),
    ("products/Db.cpp", '#include "model/LENIProject.h"\n', "products/ includes model/LENIProject.h"),
    ("tables/Daylight.h", '#include "model/LENIRoom.h"\n', "tables/ includes model/LENIRoom.h"),
    ("calc/Energy.cpp", '#include "report/ResultsExport.h"\n', "calc/ includes report/ResultsExport.h"),
    ("base/Parallel.cpp", '#include "calc/CalcLog.h"\n', "base/ includes calc/CalcLog.h"),
    ("report/Export.cpp", '#include "calc/EnergyCalc.h"\n#include "tables/LENITables.h"\n', None),
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
