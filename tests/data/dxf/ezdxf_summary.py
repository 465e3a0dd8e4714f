"""Prints what ezdxf reads from a DXF file, in the terms of the program's reader.

Output lines: "COUNT <type> <n>" per entity type the reader keeps, then "EXTENTS minx miny maxx maxy"
over the kinds both readers measure alike (no texts, ellipses, dimensions or hatches), or
"EXTENTS none". Exit code 2 when ezdxf cannot read the file.
"""
import math
import sys
from collections import Counter

import ezdxf
from ezdxf import path as ezpath

FULL = 6.28318530718
MEASURED = {"LINE", "ARC", "CIRCLE", "LWPOLYLINE", "POLYLINE", "POINT", "3DFACE", "SOLID"}
IN_BLOCKS = {"LINE", "ARC", "CIRCLE", "LWPOLYLINE", "POLYLINE", "POINT", "3DFACE", "INSERT"}


def clean_mtext(text):
    if text.endswith("}"):
        text = text[:-1]
    if ";" in text:
        text = text[text.rfind(";") + 1:]
    return text.replace("\\P", "")


def reader_type(e):
    t = e.dxftype()
    if t in ("LINE", "POINT", "CIRCLE", "ARC", "3DFACE", "SOLID", "INSERT"):
        return t
    if t in ("LWPOLYLINE",):
        return "POLYLINE"
    if t == "POLYLINE":
        if e.is_poly_face_mesh:
            return "MESH"
        if e.is_polygon_mesh:
            m, n = e.dxf.m_count, e.dxf.n_count
            return "PGON-MESH" if len(e.vertices) == m * n else None
        return "POLYLINE"
    if t == "ELLIPSE":
        ex = e.dxf.extrusion
        ok = ex.x == 0 and ex.y == 0 and ex.z != 0
        ok = ok and e.dxf.start_param == 0 and abs(e.dxf.end_param - FULL) <= 1e-5
        return "ELLIPSE" if ok else None
    if t == "TEXT":
        return "TEXT" if e.dxf.text.strip() else None
    if t == "MTEXT":
        return "TEXT" if clean_mtext(e.text).strip() else None
    return None


def visible(e):
    return not e.dxf.get("invisible", 0)


def block_content(insert, depth=0):
    """Entities of an insert's block, in world coordinates, that the reader keeps in blocks."""
    if depth > 16:
        return
    try:
        block = insert.doc.blocks.get(insert.dxf.name)
        if block is None:
            return
        for v in insert.virtual_entities():
            t = v.dxftype()
            if t == "INSERT":
                yield from block_content(v, depth + 1)
            elif t in IN_BLOCKS and visible(v) and not v.dxf.get("paperspace", 0):
                yield v
    except Exception:
        return


def outline_points(e):
    """The entity's outline in world coordinates: widths and thickness are not part of it."""
    t = e.dxftype()
    if t == "POINT":
        return [e.dxf.location]
    if t == "POLYLINE" and (e.is_poly_face_mesh or e.is_polygon_mesh):
        return [v.dxf.location for v in e.vertices if (v.dxf.flags & 64) or not e.is_poly_face_mesh]
    try:
        return list(ezpath.make_path(e).flattening(0.001))
    except Exception:
        return []


def main(path):
    try:
        doc = ezdxf.readfile(path)
    except Exception as exc:  # noqa
        print("UNREADABLE", exc)
        return 2
    msp = doc.modelspace()
    counts = Counter()
    measured = []
    for e in msp:
        if not visible(e):
            continue
        t = reader_type(e)
        if t:
            counts[t] += 1
        if e.dxftype() == "INSERT":
            for a in e.attribs:
                if not (a.dxf.get("flags", 0) & 1) and a.dxf.tag and a.dxf.text:
                    counts["TEXT"] += 1
        layer = doc.layers.get(e.dxf.layer) if doc.layers.has_entry(e.dxf.layer) else None
        if layer is not None and (layer.is_off() or layer.is_frozen()):
            continue
        if e.dxftype() in MEASURED:
            measured.append(e)
        elif e.dxftype() == "INSERT":
            measured.extend(block_content(e))
    for t in sorted(counts):
        print("COUNT", t, counts[t])
    pts = [p for e in measured for p in outline_points(e)]
    if not pts:
        print("EXTENTS none")
    else:
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        print("EXTENTS %.9g %.9g %.9g %.9g" % (min(xs), min(ys), max(xs), max(ys)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
