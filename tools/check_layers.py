#!/usr/bin/env python3
"""Checks that the source folders stand in layers: a file includes only from its own layer or
the layers below it, and no code below the user interface includes a Qt header.

    check_layers.py [SOURCE_ROOT]      (default: the src folder beside this script)

Prints each wrong include as file:line and exits 1 when there is one."""
import os
import re
import sys

# Lower number, lower layer: each folder includes only from itself and the folders below it.
RANK = {"base": 0, "dxf": 1, "products": 2, "tables": 3, "model": 4, "calc": 5, "report": 6, "app": 7, "ui": 8}
ORDER = "ui -> app -> report -> calc -> model -> tables -> products -> dxf -> base"
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^Q[A-Za-z0-9]*(/|$)|^qt[a-z]*/")


def layer_of(path, root):
    rel = os.path.relpath(path, root).replace(os.sep, "/")
    first = rel.split("/", 1)[0]
    if first in RANK:
        return first
    return None  # main.cpp and anything at the top may use every layer


def check(root):
    faults = []
    for folder, _, files in os.walk(root):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp", ".hpp", ".cc")):
                continue
            path = os.path.join(folder, name)
            layer = layer_of(path, root)
            if layer is None:
                continue
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    target = m.group(2)
                    rel = os.path.relpath(path, root)
                    if m.group(1) == '"':
                        used = target.split("/", 1)[0]
                        if used in RANK and RANK[used] > RANK[layer]:
                            faults.append(f"{rel}:{number}: {layer}/ includes {target} from the layer above "
                                          f"({ORDER})")
                    elif layer != "ui" and QT_HEADER.match(target):
                        faults.append(f"{rel}:{number}: {layer}/ includes the Qt header <{target}>")
    return faults


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
    if not os.path.isdir(root):
        print(f"check_layers: no folder {root}", file=sys.stderr)
        return 2
    faults = check(root)
    for fault in faults:
        print(fault)
    if faults:
        print(f"check_layers: {len(faults)} include(s) against the layers")
        return 1
    print("check_layers: every include follows the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
