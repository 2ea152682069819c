#!/usr/bin/python3
"""The turned copies as ezdxf makes them, against the copies the stand-in host drew.

turn_oracle.py CASE-FOLDER

The folder holds export.dxf (the tool's export of the picked objects, world coordinates), drawing.json (the host's
drawing after 作成) and case.json ({"degrees": new direction in the UCS, "length": the typed 距}). ezdxf turns each
original with its own transform about the pivot the tool uses (each polyline about its first vertex, all lines about
the start of the first line) and sets the polyline's first vertex-to-vertex chord to the typed length; the copies
are the drawing's new objects, polylines first, in file order. When 作成 was pressed more than once, every round's
copies must be the same. Writes result.txt: "ok N" or one line per mismatch
(under Wine the exit code of a Linux process does not reach the caller).
"""
import json
import math
import sys
from pathlib import Path

import ezdxf
from ezdxf.math import Matrix44

VERTEX_TOL = 1e-6
BULGE_TOL = 1e-9


def turn_about(pivot, tau):
    return Matrix44.chain(Matrix44.translate(-pivot[0], -pivot[1], 0), Matrix44.z_rotate(tau),
                          Matrix44.translate(pivot[0], pivot[1], 0))


def props(e):
    return {"layer": e.dxf.layer, "color": e.dxf.get("color", 256), "linetype": e.dxf.get("linetype", "BYLAYER"),
            "lineweight": e.dxf.get("lineweight", -1), "ltscale": e.dxf.get("ltscale", 1.0),
            "thickness": e.dxf.get("thickness", 0.0)}


def segment_widths(points, const_width):
    # What each segment is drawn with: a constant width, or the vertex's own start and end width.
    return [(const_width, const_width) if const_width and not (s or e) else (s, e) for s, e in points]


def expected_copies(doc, degrees, length):
    header = doc.header
    xdir = header.get("$UCSXDIR", (1, 0, 0))
    theta = math.radians(degrees) + math.atan2(xdir[1], xdir[0])  # the UCS turns about the world z axis
    msp = doc.modelspace()
    copies = []
    for lw in msp.query("LWPOLYLINE"):
        pts = lw.get_points("xy")
        pivot = pts[0]
        tau = theta - math.atan2(pts[1][1] - pivot[1], pts[1][0] - pivot[0])
        turned = lw.copy()
        turned.transform(turn_about(pivot, tau))
        rows = [list(p) for p in turned.get_points("xyseb")]
        rows[1][0] = pivot[0] + length * math.cos(theta)
        rows[1][1] = pivot[1] + length * math.sin(theta)
        copies.append({"type": "LWPOLYLINE", "vertices": [r[:2] for r in rows], "bulges": [r[4] for r in rows],
                       "widths": segment_widths([(r[2], r[3]) for r in rows], turned.dxf.get("const_width", 0.0)),
                       "closed": turned.closed, "elevation": turned.dxf.get("elevation", 0.0), **props(lw)})
    lines = list(msp.query("LINE"))
    if lines:
        s, e = lines[0].dxf.start, lines[0].dxf.end
        m = turn_about(s, theta - math.atan2(e.y - s.y, e.x - s.x))
        for line in lines:
            turned = line.copy()
            turned.transform(m)
            copies.append({"type": "LINE", "start": list(turned.dxf.start), "end": list(turned.dxf.end),
                           **props(line)})
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
            c.update(vertices=e["vertices"], bulges=e.get("bulges") or [0.0] * n, closed=e["closed"],
                     elevation=e.get("elevation", 0.0),
                     widths=segment_widths(list(zip(starts, ends)), e.get("constant_width", 0.0)))
        else:
            c.update(start=e["start"], end=e["end"])
        copies.append(c)
    return [c for c in copies if c["type"] == "LWPOLYLINE"] + [c for c in copies if c["type"] == "LINE"]


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
    want = [w for w in want if w["type"] == "LWPOLYLINE"] * rounds + [w for w in want if w["type"] == "LINE"] * rounds
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
