#!/usr/bin/python3
"""The turned copies as ezdxf makes them, against the copies the stand-in host drew.

turn_oracle.py CASE-FOLDER

The folder holds export.dxf (the tool's export of the picked objects), drawing.json (the host's
drawing after 作成) and case.json ({"degrees": new direction in the UCS, "length": the typed 距}). ezdxf turns each
original with its own transform about the pivot the tool uses (each polyline about its first vertex, all lines about
the start of the first line), about the z axis of the UCS in the export's header (the capture's), and sets the
polyline's first vertex-to-vertex chord to the typed length and direction, measured in that UCS. Everything is
compared in world coordinates, bulges as seen from the world z axis: a polyline's points come out of its OCS, a
spline-fit POLYLINE draws its fitted vertices only, a 3D POLYLINE keeps its heights; meshes and planes across the UCS
are not copied. The copies are the drawing's new objects, polylines first, in file order. When 作成 was pressed
more than once, every round's copies must be the same. Writes result.txt: "ok N" or one line per mismatch (under
Wine the exit code of a Linux process does not reach the caller).
"""
import json
import math
import sys
from pathlib import Path

import ezdxf
from ezdxf.math import Matrix44, Vec3

VERTEX_TOL = 1e-6
BULGE_TOL = 1e-9


def ucs_of(header):
    """The capture's UCS from the export's header: origin and unit axes, z = x cross y."""
    origin = Vec3(header.get("$UCSORG", (0, 0, 0)))
    x = Vec3(header.get("$UCSXDIR", (1, 0, 0))).normalize()
    y = Vec3(header.get("$UCSYDIR", (0, 1, 0))).normalize()
    return origin, x, y, x.cross(y).normalize()


def turn_about(pivot, axis, tau):
    return Matrix44.chain(Matrix44.translate(-pivot.x, -pivot.y, -pivot.z), Matrix44.axis_rotate(axis, tau),
                          Matrix44.translate(pivot.x, pivot.y, pivot.z))


def props(e):
    return {"layer": e.dxf.layer, "color": e.dxf.get("color", 256), "linetype": e.dxf.get("linetype", "BYLAYER"),
            "lineweight": e.dxf.get("lineweight", -1), "ltscale": e.dxf.get("ltscale", 1.0),
            "thickness": e.dxf.get("thickness", 0.0)}


def segment_widths(points, const_width):
    # What each segment is drawn with: a constant width, or the vertex's own start and end width.
    return [(const_width, const_width) if const_width and not (s or e) else (s, e) for s, e in points]


def drawn_path(e):
    """(world vertices, bulges seen from the world z axis, (start, end) widths, closed, 3D) of what a polyline
    draws: a spline-fit POLYLINE's frame vertices (flag 16) are left out; None for meshes and tilted planes."""
    if e.dxftype() == "LWPOLYLINE":
        sense = math.copysign(1, e.dxf.extrusion.z) if abs(abs(e.dxf.extrusion.z) - 1) < 1e-9 else 0
        rows = list(e.get_points("xyseb"))
        widths = segment_widths([(r[2], r[3]) for r in rows], e.dxf.get("const_width", 0.0))
        return list(e.vertices_in_wcs()), [sense * r[4] for r in rows], widths, e.closed, False, sense
    if e.get_mode() not in ("AcDb2dPolyline", "AcDb3dPolyline"):
        return None
    three_d = e.is_3d_polyline
    kept = [v for v in e.vertices if not v.dxf.flags & 16]
    if three_d:
        points, sense = [Vec3(v.dxf.location) for v in kept], 1
    else:
        ocs = e.ocs()
        elevation = e.dxf.get("elevation", (0, 0, 0))[2]
        points = [ocs.to_wcs(Vec3(v.dxf.location.x, v.dxf.location.y, elevation)) for v in kept]
        z = e.dxf.get("extrusion", (0, 0, 1))[2]
        sense = math.copysign(1, z) if abs(abs(z) - 1) < 1e-9 else 0
    bulges = [sense * v.dxf.get("bulge", 0.0) for v in kept]
    widths = [(v.dxf.get("start_width", 0.0), v.dxf.get("end_width", 0.0)) for v in kept]
    return points, bulges, widths, e.is_closed, three_d, sense


def expected_copies(doc, degrees, length):
    origin, ux, uy, uz = ucs_of(doc.header)
    theta = math.radians(degrees)
    direction = ux * math.cos(theta) + uy * math.sin(theta)
    msp = doc.modelspace()
    copies = []
    for p in msp.query("LWPOLYLINE POLYLINE"):
        path = drawn_path(p)
        if path is None or path[5] == 0:
            continue  # not turned: a mesh, or a plane across the UCS
        points, bulges, widths, closed, three_d, _ = path
        pivot, first = points[0], points[1] - points[0]
        tau = theta - math.atan2(first.dot(uy), first.dot(ux))
        turned = [Vec3(v) for v in turn_about(pivot, uz, tau).transform_vertices(points)]
        turned[1] = pivot + direction * length + uz * first.dot(uz)
        copy = {"type": "POLYLINE" if three_d else "LWPOLYLINE", "points": [list(v) for v in turned],
                "closed": closed, **props(p)}
        if not three_d:
            copy.update(bulges=bulges, widths=widths)
        copies.append(copy)
    lines = list(msp.query("LINE"))
    if lines:
        s, e = Vec3(lines[0].dxf.start), Vec3(lines[0].dxf.end)
        m = turn_about(s, uz, theta - math.atan2((e - s).dot(uy), (e - s).dot(ux)))
        for line in lines:
            copies.append({"type": "LINE", "start": list(m.transform(line.dxf.start)),
                           "end": list(m.transform(line.dxf.end)), **props(line)})
    return copies


def drawn_copies(drawing):
    copies = []
    for e in drawing["entities"]:
        if not e.get("new"):
            continue
        c = {k: e.get(k) for k in ("type", "layer", "color", "linetype", "lineweight", "ltscale", "thickness")}
        if e["type"] == "LWPOLYLINE":
            n = len(e["vertices"])
            starts = e.get("start_widths") or [0.0] * n
            ends = e.get("end_widths") or [0.0] * n
            sense = math.copysign(1, e.get("normal", [0, 0, 1])[2])
            c.update(points=e["points"], bulges=[sense * b for b in e.get("bulges") or [0.0] * n],
                     closed=e["closed"], widths=segment_widths(list(zip(starts, ends)), e.get("constant_width", 0.0)))
        elif e["type"] == "POLYLINE":
            c.update(points=e["points"], closed=e["closed"])
        else:
            c.update(start=e["start"], end=e["end"])
        copies.append(c)
    return [c for c in copies if c["type"] != "LINE"] + [c for c in copies if c["type"] == "LINE"]


def flat(value, name):
    """A copy as (name, value) pairs: nested lists by index, a list of lists with its length, names upper case."""
    if isinstance(value, dict):
        return [kv for k, v in value.items() for kv in flat(v, k)]
    if isinstance(value, (list, tuple)):
        pairs = [kv for i, v in enumerate(value) for kv in flat(v, "%s[%d]" % (name, i))]
        return pairs + [(name + " count", len(value))] if value and isinstance(value[0], (list, tuple)) else pairs
    return [(name, value.upper() if isinstance(value, str) else value)]


def compare(want, got):
    rounds = len(got) // len(want) if want and len(got) % len(want) == 0 else 1
    want = [w for w in want if w["type"] != "LINE"] * rounds + [w for w in want if w["type"] == "LINE"] * rounds
    if len(want) != len(got):
        return ["%d copies expected, %d drawn" % (len(want), len(got))]
    faults = []
    for i, (w, g) in enumerate(zip(want, got)):
        drawn = dict(flat(g, ""))
        for key, a in flat(w, ""):
            b = drawn.get(key)
            tol = BULGE_TOL if key.startswith("bulges") else VERTEX_TOL
            numbers = all(isinstance(v, (int, float)) and not isinstance(v, bool) for v in (a, b))
            if not (abs(a - b) <= tol if numbers else a == b):
                faults.append("copy %d (%s): %s %r, expected %r" % (i, w["type"], key, b, a))
    return faults


def main(folder):
    folder = Path(folder)
    case = json.loads((folder / "case.json").read_text())
    want = expected_copies(ezdxf.readfile(str(folder / "export.dxf")), case["degrees"], case["length"])
    got = drawn_copies(json.loads((folder / "drawing.json").read_text(encoding="utf-8")))
    faults = compare(want, got)
    (folder / "result.txt").write_text("\n".join(faults) + "\n" if faults else "ok %d\n" % len(got))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
