#!/usr/bin/python3
"""Checks dxfdump against ezdxf on real DXF files.

For every file of the samples folder: dxfdump must not crash. The file's raw lines and ezdxf's low-level tag loader
predict what a reader of the ENTITIES section must give: either the first failure (a code line that is no plain
integer, a value of a read group that is no number, a polyline with more than 1000 vertices), which dxfdump must
report with the same message and line and exit 1; or the lines and polylines (count, order, x/y to 1e-9, layer),
which dxfdump's JSON must hold, with exactly the JSON keys the tool documents. Then ezdxf's own reading of the
file (ezdxf.readfile, entities found by their handle) gives each polyline's closed flag, bulges and widths, its
constant width and elevation, and each line's and polyline's colour, linetype, lineweight, linetype scale and
thickness, and the header's current-object settings; dxfdump's must be the same.

usage: dxf_oracle.py DXFDUMP SAMPLES_FOLDER [MORE_FOLDERS...]
The first folder (the repository's own samples) must hold DXF files; a further folder is used when it is there and
skipped with a note when not. A file whose bytes were already checked from an earlier folder is not checked again.
The output says which sets ran.
"""
import hashlib
import json
import math
import re
import subprocess
import sys
from pathlib import Path

from ezdxf.lldxf.tagger import ascii_tags_loader

INT_RE = re.compile(r"^ *[+-]?[0-9]+$")
REAL_RE = re.compile(r"^ *[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)? *$")
INT_MSG = "'{}' は整数ではありません."
REAL_MSG = "'{}' は浮動小数点数ではありません."
TOO_MANY = "ポリラインの頂点が 1000 を超えています."
MAX_VERTICES = 1000

# Groups each entity kind converts, as integer or real. PER_VERTEX groups are converted only once the polyline
# has a vertex for them (the polyline being the last one started, for a VERTEX).
PROPS_REAL, PROPS_INT = {48, 39}, {62, 370}
REAL_GROUPS = {
    "LINE": {10, 20, 30, 11, 21, 31} | PROPS_REAL,
    "TEXT": {10, 20, 30, 11, 21, 31, 40},
    "ARC": {10, 20, 30, 40, 50, 51},
    "CIRCLE": {10, 20, 30, 40},
    "POLYLINE": {30, 40, 41, 210, 220, 230} | PROPS_REAL,
    "VERTEX": {10},
    "LWPOLYLINE": {10, 38, 43, 210, 220, 230} | PROPS_REAL,
}
REAL_GROUPS["MTEXT"] = REAL_GROUPS["TEXT"]
INT_GROUPS = {"TEXT": {72, 73}, "MTEXT": {72, 73}, "POLYLINE": {70} | PROPS_INT, "LINE": PROPS_INT,
              "LWPOLYLINE": {70} | PROPS_INT}
PER_VERTEX_REAL = {"VERTEX": {20, 30, 42, 40, 41}, "LWPOLYLINE": {20, 42, 40, 41}}
PER_VERTEX_INT = {"VERTEX": {70}}

KEYS = {
    "top": {"lines", "polylines", "texts", "arcs", "circles", "styles", "header"},
    "lines": {"start", "end", "layer", "props"},
    "polylines": {"layer", "flags", "vertices", "vertex_flags", "bulges", "start_widths", "end_widths",
                  "constant_width", "elevation", "props"},
    "texts": {"insert", "align", "text", "hjust", "vjust", "height"},
    "arcs": {"center", "radius", "start_angle", "end_angle", "layer"},
    "circles": {"center", "radius", "layer"},
    "styles": {"name", "height"},
    "header": {"clayer", "cecolor", "celtype", "celweight", "celtscale", "thickness", "plinewid", "elevation",
               "ucsorg", "ucsxdir", "ucsydir"},
}


def raw_lines(data):
    """Lines split at CR LF, lone CR and lone LF; no empty last line from a final break."""
    text = data.decode("latin-1")
    lines = re.split(r"\r\n|\r|\n", text)
    if lines and lines[-1] == "" and text:
        lines.pop()
    return lines


def first_code_error(lines):
    """(line, message) of the first code line that is no int32, up to the end of the ENTITIES section."""
    in_entities = section = False
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i], lines[i + 1]
        if not INT_RE.match(code) or not -2**31 <= int(code) < 2**31:
            return i + 1, INT_MSG.format(decode_like_tool(code))
        code = int(code)
        if in_entities and code == 0 and value == "ENDSEC":
            return None
        if code == 2 and value == "ENTITIES" and section:
            in_entities = True
        section = code == 0 and value == "SECTION"
    return None


def expected_store(path):
    """Lines and polylines of the first ENTITIES section, or the first failure as (line, message)."""
    with open(path, encoding="latin-1", newline=None) as stream:  # values keep their bytes
        tags = list(ascii_tags_loader(stream, skip_comments=False))
    lines, polylines, header_names = [], [], set()
    kind = None  # the entity the current tags belong to
    entity = None
    in_entities = section = False
    style_open = in_style_table = False
    for index, (code, value) in enumerate(tags):
        code_line = 2 * index + 1
        if in_entities and code == 0 and value == "ENDSEC":
            break
        if code == 0:
            kind = value if in_entities else None
            style_open = in_style_table and value == "STYLE"
            entity = None
            if kind == "LINE":
                entity = {"start": [0.0, 0.0], "end": [0.0, 0.0], "layer": "", "handle": None}
                lines.append(entity)
            elif kind in ("POLYLINE", "LWPOLYLINE"):
                entity = {"vertices": [], "layer": "", "handle": None}
                polylines.append(entity)
            elif kind == "VERTEX" and polylines:
                entity = polylines[-1]
        elif style_open and code == 40 and not REAL_RE.match(value):
            return (code_line + 1, REAL_MSG.format(decode_like_tool(value)))
        elif kind is not None:
            if code in REAL_GROUPS.get(kind, ()) and not REAL_RE.match(value):
                return (code_line + 1, REAL_MSG.format(decode_like_tool(value)))
            if code in INT_GROUPS.get(kind, ()) and not INT_RE.match(value):
                return (code_line + 1, INT_MSG.format(decode_like_tool(value)))
            has_vertex = bool(polylines and polylines[-1]["vertices"]) and (kind != "VERTEX" or entity is not None)
            if code in PER_VERTEX_REAL.get(kind, ()) and has_vertex and not REAL_RE.match(value):
                return (code_line + 1, REAL_MSG.format(decode_like_tool(value)))
            if code in PER_VERTEX_INT.get(kind, ()) and has_vertex and not INT_RE.match(value):
                return (code_line + 1, INT_MSG.format(decode_like_tool(value)))
            if entity is not None and code == 5 and kind != "VERTEX":
                entity["handle"] = value
            if entity is not None:
                if kind == "LINE":
                    target = {10: ("start", 0), 20: ("start", 1), 11: ("end", 0), 21: ("end", 1)}.get(code)
                    if target:
                        entity[target[0]][target[1]] = float(value)
                    elif code == 8:
                        entity["layer"] = decode_like_tool(value)
                elif code == 8 and kind in ("POLYLINE", "LWPOLYLINE"):
                    entity["layer"] = decode_like_tool(value)
                elif code == 10 and kind in ("VERTEX", "LWPOLYLINE"):
                    if len(entity["vertices"]) == MAX_VERTICES:
                        return (code_line, TOO_MANY)
                    entity["vertices"].append([float(value), 0.0])
                elif code == 20 and kind in ("VERTEX", "LWPOLYLINE") and entity["vertices"]:
                    entity["vertices"][-1][1] = float(value)
        if code == 9 and not in_entities:
            header_names.add(value)
        if code == 2 and value == "ENTITIES" and section:
            in_entities, in_style_table = True, False
        section = code == 0 and value == "SECTION"
        if code == 2 and value == "STYLE":
            in_style_table = True
    return {"lines": lines, "polylines": polylines, "header_names": header_names}


def close(a, b):
    return math.isclose(a, b, rel_tol=1e-9, abs_tol=1e-9)


def decode_like_tool(raw):
    """Shift-JIS bytes (the value read as latin-1) to text: CP932 characters, U+FFFD for each byte that starts
    none. Python maps the single bytes 0x80, 0xA0 and 0xFD-0xFF to characters; glibc's CP932 does not, and the
    tool's strings come from glibc, so they count as undecodable here too."""
    data = raw.encode("latin-1")
    out, i = [], 0
    while i < len(data):
        lead = data[i]
        size = 2 if 0x81 <= lead <= 0x9F or 0xE0 <= lead <= 0xFC else 1
        try:
            if lead in (0x80, 0xA0, 0xFD, 0xFE, 0xFF) or i + size > len(data):
                raise ValueError
            out.append(data[i:i + size].decode("cp932"))
            i += size
        except ValueError:
            out.append("\ufffd")
            i += 1
    return "".join(out)


def check_keys(store):
    problems = []
    if set(store) != KEYS["top"]:
        problems.append(f"top-level keys {sorted(store)}")
    if set(store.get("header", {})) != KEYS["header"]:
        problems.append(f"header keys {sorted(store.get('header', {}))}")
    for key in KEYS["top"] & set(store) - {"header"}:
        for entry in store[key]:
            if set(entry) != KEYS[key]:
                problems.append(f"{key} entry keys {sorted(entry)}")
                break
    for p in store.get("polylines", []):
        if any(len(p[k]) != len(p["vertices"]) for k in ("vertex_flags", "bulges", "start_widths", "end_widths")):
            problems.append("per-vertex lists differ in length")
    return problems


def compare(expected, store):
    problems = check_keys(store)
    if len(store["lines"]) != len(expected["lines"]):
        return problems + [f"{len(store['lines'])} lines, ezdxf {len(expected['lines'])}"]
    if len(store["polylines"]) != len(expected["polylines"]):
        return problems + [f"{len(store['polylines'])} polylines, ezdxf {len(expected['polylines'])}"]
    for i, (got, want) in enumerate(zip(store["lines"], expected["lines"])):
        values = got["start"][:2] + got["end"][:2]
        wanted = want["start"] + want["end"]
        if not all(close(a, b) for a, b in zip(values, wanted)) or got["layer"] != want["layer"]:
            problems.append(f"line {i}: {got} != {want}")
    for i, (got, want) in enumerate(zip(store["polylines"], expected["polylines"])):
        if got["layer"] != want["layer"] or len(got["vertices"]) != len(want["vertices"]):
            problems.append(f"polyline {i}: layer {got['layer']!r}/{want['layer']!r}, "
                            f"{len(got['vertices'])}/{len(want['vertices'])} vertices")
            continue
        for k, (a, b) in enumerate(zip(got["vertices"], want["vertices"])):
            if not (close(a[0], b[0]) and close(a[1], b[1])):
                problems.append(f"polyline {i} vertex {k}: {a} != {b}")
                break
    return problems


def props_of(e):
    """What ezdxf reads of an entity's colour, linetype, lineweight, linetype scale and thickness, with the
    defaults of a file that gives none."""
    return {"color": e.dxf.get("color", 256), "linetype": e.dxf.get("linetype", ""),
            "lineweight": e.dxf.get("lineweight", -1), "linetype_scale": e.dxf.get("ltscale", 1.0),
            "thickness": e.dxf.get("thickness", 0.0)}


def same_props(got, want):
    return (got["color"] == want["color"] and got["lineweight"] == want["lineweight"]
            and close(got["linetype_scale"], want["linetype_scale"]) and close(got["thickness"], want["thickness"])
            and (got["linetype"] == want["linetype"] or not (got["linetype"] + want["linetype"]).isascii()))


def polyline_of(e):
    """What ezdxf reads of a polyline: flags, bulges, widths, constant width, elevation. A POLYLINE's vertices
    without widths of their own take the header's default widths."""
    if e.dxftype() == "LWPOLYLINE":
        points = e.get_points("seb")
        return {"flags": e.dxf.get("flags", 0), "bulges": [p[2] for p in points],
                "start_widths": [p[0] for p in points], "end_widths": [p[1] for p in points],
                "constant_width": e.dxf.get("const_width", 0.0), "elevation": e.dxf.get("elevation", 0.0)}
    start, end = e.dxf.get("default_start_width", 0.0), e.dxf.get("default_end_width", 0.0)
    vertices = list(e.vertices)
    return {"flags": e.dxf.get("flags", 0), "bulges": [v.dxf.get("bulge", 0.0) for v in vertices],
            "start_widths": [v.dxf.get("start_width", start) for v in vertices],
            "end_widths": [v.dxf.get("end_width", end) for v in vertices],
            "constant_width": 0.0, "elevation": e.dxf.get("elevation", (0, 0, 0))[2]}


def header_of(doc):
    h = doc.header

    def point(name):
        value = h.get(name)
        return None if value is None else [float(c) for c in value][:3]
    return {"clayer": h.get("$CLAYER"), "cecolor": h.get("$CECOLOR", 256), "celtype": h.get("$CELTYPE", ""),
            "celweight": h.get("$CELWEIGHT", -1), "celtscale": h.get("$CELTSCALE", 1.0),
            "thickness": h.get("$THICKNESS", 0.0), "plinewid": h.get("$PLINEWID", 0.0),
            "elevation": h.get("$ELEVATION", 0.0), "ucsorg": point("$UCSORG"), "ucsxdir": point("$UCSXDIR"),
            "ucsydir": point("$UCSYDIR")}


def as_list(value):
    return value if isinstance(value, list) else [value]


def compare_with_ezdxf(path, expected, store):
    """Problems of the fields ezdxf's own reading gives, and how many entities were compared; None when ezdxf
    cannot read the file."""
    import ezdxf
    try:
        doc = ezdxf.readfile(str(path))
    except Exception:  # ezdxf refuses some damaged samples that the tool reads
        return None, 0
    problems, compared = [], 0
    got_header, want_header = store["header"], header_of(doc)
    for key, want in want_header.items():
        if "$" + key.upper() not in expected["header_names"]:
            continue  # ezdxf makes up what the file does not give
        got = got_header[key]
        if isinstance(want, float) or key.startswith("ucs"):
            equal = (got is None) == (want is None) and (got is None or all(map(close, as_list(got), as_list(want))))
        elif isinstance(want, str) and not (want + (got or "")).isascii():
            equal = True  # the file's code page and Shift-JIS may decode it differently
        else:
            equal = got == want
        if not equal:
            problems.append(f"header {key}: {got!r} != ezdxf {want!r}")
    for key in ("lines", "polylines"):
        for i, (got, mine) in enumerate(zip(store[key], expected[key])):
            e = doc.entitydb.get(mine["handle"]) if mine["handle"] else None
            if e is None or e.dxftype() not in ("LINE", "POLYLINE", "LWPOLYLINE"):
                continue
            compared += 1
            if not same_props(got["props"], props_of(e)):
                problems.append(f"{key[:-1]} {i} props {got['props']} != ezdxf {props_of(e)}")
            if key == "lines":
                continue
            want = polyline_of(e)
            if len(want["bulges"]) != len(got["bulges"]):
                continue  # a vertex count ezdxf reads otherwise (faces of a mesh): compared above, not here
            for field, value in want.items():
                if not all(map(close, as_list(got[field]), as_list(value))):
                    problems.append(f"polyline {i} {field}: {got[field]} != ezdxf {value}")
    return problems, compared


def check_file(dxfdump, path):
    data = path.read_bytes()
    expected = first_code_error(raw_lines(data)) or expected_store(path)
    run = subprocess.run([dxfdump, str(path)], capture_output=True, timeout=120)
    if run.returncode not in (0, 1):
        return f"dxfdump ended with {run.returncode} (crash?): {run.stderr.decode(errors='replace')[-400:]}", None
    stderr = run.stderr.decode("utf-8", errors="replace").strip()
    if isinstance(expected, tuple):
        line, message = expected
        want = f"{path}:{line}: {message}"
        if run.returncode != 1 or stderr != want:
            return f"expected failure {want!r}, got exit {run.returncode} {stderr!r}", None
        return None, f"fails as expected at line {line}: {message}"
    if run.returncode != 0:
        return f"dxfdump failed: {stderr}", None
    store = json.loads(run.stdout.decode("utf-8"))
    problems = compare(expected, store)
    if problems:
        return "; ".join(problems[:5]), None
    problems, compared = compare_with_ezdxf(path, expected, store)
    if problems:
        return "; ".join(problems[:5]), None
    fields = "ezdxf cannot read it" if problems is None else f"{compared} with their properties as ezdxf reads them"
    return None, f"{len(expected['lines'])} lines, {len(expected['polylines'])} polylines match; {fields}"


def sample_files(folder):
    return sorted(p for p in folder.iterdir() if p.suffix.lower() == ".dxf") if folder.is_dir() else []


def main():
    dxfdump, folders = sys.argv[1], [Path(f) for f in sys.argv[2:]]
    if not folders or not sample_files(folders[0]):
        print(f"no DXF samples in {folders[0] if folders else '(no folder given)'}")
        return 1
    seen, files, sets = set(), [], []
    for folder in folders:
        found = sample_files(folder)
        if not found:
            sets.append(f"{folder}: not there, skipped")
            continue
        fresh = []
        for path in found:
            digest = hashlib.sha256(path.read_bytes()).hexdigest()
            if digest not in seen:
                seen.add(digest)
                fresh.append(path)
        files += fresh
        sets.append(f"{folder}: {len(fresh)} files" + (f" ({len(found) - len(fresh)} already checked)"
                                                      if len(found) > len(fresh) else ""))
    failures = 0
    for path in files:
        problem, note = check_file(dxfdump, path)
        print(f"{'FAIL' if problem else 'ok  '} {path.name}: {problem or note}")
        failures += bool(problem)
    print(f"{len(files) - failures} of {len(files)} files as expected")
    print("sample sets: " + "; ".join(sets))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
