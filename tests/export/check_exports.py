#!/usr/bin/env python3
"""Reads corvan's exports back with readers that are not ours (meshio, the
standard XML parser, tools/mesh_quality.py) and compares them with the node
and element files of the same run.

usage: check_exports.py CORVAN SOURCE_DIR {readback|svg|report}"""
import json
import math
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

EXAMPLES = ("square", "hole", "slot")


def run(corvan, src, tmp, *args):
    for f in (src / "examples").iterdir():
        shutil.copy(f, tmp)
    r = subprocess.run([corvan, *args], cwd=tmp, stdin=subprocess.DEVNULL, capture_output=True, text=True)
    assert r.returncode == 0, r.stdout[-2000:] + r.stderr
    return r.stdout


def mesh_files(tmp, name):
    """Nodes (x, y), triangles and boundary segments (domain nodes from 1), and each segment's edge."""
    g = [l.split() for l in open(tmp / f"grid.{name}") if not l.startswith("#")]
    n = [l.split() for l in open(tmp / f"nodes.{name}") if not l.startswith("#")]
    ns_d, ns_b = map(int, g[0])
    np_d = int(n[0][1])
    xy = [tuple(map(float, n[2 + 2 * p])) for p in range(np_d)]
    tris = [tuple(map(int, g[2 + 3 * e])) for e in range(ns_d)]
    rows = range(1 + 3 * ns_d, 1 + 3 * (ns_d + ns_b), 3)
    domain_node = {int(r[0]): int(r[1]) for r in n[1 + 2 * np_d:]}
    segs = [tuple(domain_node[int(b)] for b in g[r + 1]) for r in rows]
    return xy, tris, segs, [int(g[r][2]) for r in rows]


def sides(tris):
    return {tuple(sorted((t[k], t[(k + 1) % 3]))) for t in tris for k in range(3)}


def smallest_angle(a, b, c):
    la, lb, lc = math.dist(b, c), math.dist(a, c), math.dist(a, b)
    cos = ((lb * lb + lc * lc - la * la) / (2 * lb * lc), (la * la + lc * lc - lb * lb) / (2 * la * lc),
           (la * la + lb * lb - lc * lc) / (2 * la * lb))
    return min(math.degrees(math.acos(max(-1.0, min(1.0, x)))) for x in cos)


def check_readback(corvan, src, tmp):
    """The .msh and .vtu read by meshio hold the grid of the node and element files."""
    import meshio
    import numpy as np
    for name in EXAMPLES:
        plain = run(corvan, src, tmp, name)
        saved = [(tmp / f"{f}.{name}").read_bytes() for f in ("grid", "nodes")]
        assert run(corvan, src, tmp, "--export", "msh,vtu", name) == plain, "exports changed standard output"
        assert [(tmp / f"{f}.{name}").read_bytes() for f in ("grid", "nodes")] == saved, "exports changed the mesh files"
        xy, tris, segs, seg_edge = mesh_files(tmp, name)
        n_edge = max(seg_edge)
        msh, vtu = meshio.read(tmp / f"{name}.msh"), meshio.read(tmp / f"{name}.vtu")
        for m in (msh, vtu):
            assert np.allclose(m.points[:, :2], xy, rtol=1e-8, atol=1e-12), name  # the node file keeps 9 digits
            tri = m.get_cells_type("triangle")
            assert (tri + 1 == np.array(tris)).all(), name
            a, b, c = (m.points[tri[:, k], :2] for k in range(3))
            assert (np.cross(b - a, c - a) > 0).all(), f"{name}: a triangle is not counter-clockwise"
        assert (msh.points == vtu.points).all(), "17 digits read back the same doubles"

        assert (msh.get_cells_type("line") + 1 == np.array(segs)).all(), name
        phys = msh.cell_data_dict["gmsh:physical"]
        assert list(phys["line"]) == seg_edge, f"{name}: a boundary segment is in the wrong group"
        assert set(phys["triangle"]) == {n_edge + 1}, name
        groups = {k: list(v) for k, v in msh.field_data.items()}
        assert groups == {**{f"edge{e}": [e, 1] for e in range(1, n_edge + 1)}, "domain": [n_edge + 1, 2]}, groups

        min_angle, ratio = vtu.cell_data["min_angle"][0], vtu.cell_data["radius_ratio"][0]
        assert 0 < min_angle.min() and min_angle.max() <= 60 + 1e-9, name
        assert 0 < ratio.min() and ratio.max() <= 1 + 1e-12, name
        spacing, edge = vtu.point_data["spacing"], vtu.point_data["edge"]
        assert np.isfinite(spacing).all() and (spacing > 0).all(), f"{name}: a node without target spacing"
        expected = [0] * len(xy)
        for (p, q), e in zip(segs, seg_edge):
            for v in (p, q):
                expected[v - 1] = min(expected[v - 1] or e, e)
        assert list(edge) == expected, f"{name}: wrong boundary edge at a node"


def check_svg(corvan, src, tmp):
    """The picture is well-formed XML, about 1000 px, with one drawn side per grid side."""
    ns = "{http://www.w3.org/2000/svg}"
    for name in EXAMPLES:
        run(corvan, src, tmp, "--export", "svg", name)
        root = ET.parse(tmp / f"{name}.svg").getroot()
        assert root.tag == ns + "svg", root.tag
        assert 990 <= max(int(root.get("width")), int(root.get("height"))) <= 1040, name
        xy, tris, segs, seg_edge = mesh_files(tmp, name)
        drawn = {p.get("class"): p.get("d").count("M") for p in root.iter(ns + "path") if p.get("class")}
        boundary = [p.get("d").count("M") for p in root.find(ns + "g").iter(ns + "path")]
        assert sum(boundary) == len(segs) and len(boundary) == max(seg_edge), name
        assert drawn["sides"] + sum(boundary) == len(sides(tris)), name
        small = sum(1 for t in tris if smallest_angle(*(xy[v - 1] for v in t)) < 20)
        assert drawn.get("warning", 0) == small, f"{name}: {drawn.get('warning', 0)} filled, {small} below 20 degrees"


def check_report(corvan, src, tmp):
    """The report agrees with an independent computation on the square."""
    import meshio
    out = run(corvan, src, tmp, "--report", "--export", "vtu", "square")
    rep = json.loads((tmp / "report.square.json").read_text())
    tool = subprocess.run([sys.executable, src / "tools" / "mesh_quality.py", tmp, "square"],
                          capture_output=True, text=True, check=True).stdout
    pattern = (r"(\d+) triangles, (\d+) nodes; smallest angle min (\S+) p1 (\S+) median (\S+); largest angle max (\S+);"
               r" 2r/R min (\S+) mean (\S+); below 10/20/30 deg: (\S+)/(\S+)/(\S+) %")
    tri, nodes, amin, p1, median, amax, rmin, rmean, below10, below20, below30 = map(float, re.search(pattern, tool).groups())
    assert (rep["triangles"], rep["nodes"]) == (tri, nodes), tool
    a, r = rep["smallest_angle"], rep["radius_ratio"]
    for ours, theirs, tol in ((a["min"], amin, 6e-3), (a["p1"], p1, 6e-3), (a["median"], median, 6e-3),
                              (rep["largest_angle"]["max"], amax, 6e-3), (r["min"], rmin, 6e-5),
                              (r["mean"], rmean, 6e-5)):
        assert abs(ours - theirs) < tol, (ours, theirs, tool)
    bins = rep["smallest_angle_histogram"]["counts"]
    for k, share in ((1, below10), (2, below20), (3, below30)):
        assert abs(100 * sum(bins[:k]) / tri - share) < 6e-3, (bins, tool)
    assert sum(bins) == tri

    vtu = meshio.read(tmp / "square.vtu")
    pts, h = vtu.points[:, :2], vtu.point_data["spacing"]
    ratios = [math.dist(pts[p], pts[q]) * 2 / (h[p] + h[q]) for p, q in sides(vtu.get_cells_type("triangle").tolist())]
    mean = sum(ratios) / len(ratios)
    std = math.sqrt(sum((x - mean) ** 2 for x in ratios) / len(ratios))
    los = rep["length_over_spacing"]
    assert los["sides"] == len(ratios)
    for key, value in (("mean", mean), ("std", std), ("min", min(ratios)), ("max", max(ratios))):
        assert abs(los[key] - value) < 1e-9, (key, los[key], value)

    stages = ["problem input", "boundary grid", "background", "front", "smoothing", "checks", "save", "plots",
              "exports"]
    assert list(rep["stage_seconds"]) == stages, rep["stage_seconds"]
    assert "Quality report: square" in out and f"{rep['triangles']:10d}" in out, out
    assert f"{a['median']:9.2f}" in out and f"{los['max']:8.4f}" in out, out


if __name__ == "__main__":
    corvan, src, check = pathlib.Path(sys.argv[1]).resolve(), pathlib.Path(sys.argv[2]).resolve(), sys.argv[3]
    with tempfile.TemporaryDirectory() as d:
        globals()["check_" + check](corvan, src, pathlib.Path(d))
