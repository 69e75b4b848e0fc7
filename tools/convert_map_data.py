#!/usr/bin/env python3
"""Converts Natural Earth coast lines and country borders into the map files of the overlay.

Source: the npm package world-atlas (Natural Earth 4.1.0 as TopoJSON). Run

    tools/convert_map_data.py [world-atlas-2.0.2.tgz | unpacked package folder] [out folder]

Without a source the package is fetched with `npm pack world-atlas@2.0.2` into a temporary
folder (the only step that needs the network; the build itself never does). The default out
folder is data/map of this repository. Each resolution gives two files:

    coastZor.dat / GrenzenZor.dat           1:50 million   (the files the overlay reads first)
    coastZor_110m.dat / GrenzenZor_110m.dat 1:110 million  (for dials that show a large part of the globe)

A map file is plain text: one point per line as "longitude latitude" in degrees (east and
north positive), a line "#" between map lines. The coast is the outline of the merged land,
the borders are the arcs that two countries share, so both meet exactly at the shore.
The output is deterministic: running the script again on the same package gives the same bytes.
"""

import json
import os
import subprocess
import sys
import tarfile
import tempfile

PACKAGE = "world-atlas@2.0.2"
RESOLUTIONS = (("50m", ""), ("110m", "_110m"))


def decode_arcs(topology):
    """The arcs as lists of (longitude, latitude): delta-decoded, then un-quantized."""
    transform = topology.get("transform")
    arcs = []
    for arc in topology["arcs"]:
        points = []
        x = y = 0
        for position in arc:
            if transform:
                x += position[0]
                y += position[1]
                sx, sy = transform["scale"]
                tx, ty = transform["translate"]
                points.append((x * sx + tx, y * sy + ty))
            else:
                points.append((position[0], position[1]))
        arcs.append(points)
    return arcs


def arc_points(arcs, index):
    # A negative index ~i walks arc i backwards.
    return arcs[index] if index >= 0 else list(reversed(arcs[~index]))


def rings_of(geometry):
    if geometry["type"] == "Polygon":
        return list(geometry["arcs"])
    if geometry["type"] == "MultiPolygon":
        return [ring for polygon in geometry["arcs"] for ring in polygon]
    return []


def geometries_of(obj):
    return obj["geometries"] if obj["type"] == "GeometryCollection" else [obj]


def join_ring(arcs, ring):
    points = []
    for index in ring:
        part = arc_points(arcs, index)
        # Consecutive arcs share their end and start point.
        points.extend(part[1:] if points else part)
    return points


def artificial(a, b):
    """Edges that close polygons along the date line or the south pole are no coast."""
    on_date_line = abs(a[0]) >= 179.999 and abs(b[0]) >= 179.999
    at_south_pole = a[1] <= -89.99 and b[1] <= -89.99
    return on_date_line or at_south_pole


def rounded(points):
    out = []
    for lon, lat in points:
        p = (round(lon, 3) + 0.0, round(lat, 3) + 0.0)  # + 0.0 turns -0.0 into 0.0
        if not out or out[-1] != p:
            out.append(p)
    return out


def densified(points):
    """Long straight runs (the 49th parallel, meridian borders) get points every half degree:
    the overlay joins points by straight lines on the dial, which follow great circles."""
    out = points[:1]
    for a, b in zip(points, points[1:]):
        span = max(abs(b[0] - a[0]), abs(b[1] - a[1]))
        if 0.5 < span and abs(b[0] - a[0]) < 180:  # not across the date line
            steps = int(span / 0.5) + 1
            for k in range(1, steps):
                t = k / steps
                out.append((round(a[0] + (b[0] - a[0]) * t, 3) + 0.0, round(a[1] + (b[1] - a[1]) * t, 3) + 0.0))
        out.append(b)
    return out


def split_artificial(points):
    lines, current = [], []
    for p in points:
        if current and artificial(current[-1], p):
            lines.append(current)
            current = []
        current.append(p)
    lines.append(current)
    return [densified(line) for line in lines if len(line) >= 2]


def coast_lines(topology, arcs):
    lines = []
    for geometry in geometries_of(topology["objects"]["land"]):
        for ring in rings_of(geometry):
            lines.extend(split_artificial(rounded(join_ring(arcs, ring))))
    return lines


def border_lines(topology, arcs):
    # An arc that two different countries use is a border; one used once is a shore.
    users = {}
    for number, geometry in enumerate(geometries_of(topology["objects"]["countries"])):
        for ring in rings_of(geometry):
            for index in ring:
                users.setdefault(index if index >= 0 else ~index, set()).add(number)
    lines = []
    for arc in sorted(i for i, who in users.items() if len(who) >= 2):
        lines.extend(split_artificial(rounded(arcs[arc])))
    return lines


def write_map(path, lines):
    # Fixed width keeps every point line longer than the 8 characters below which a line
    # counts as a separator.
    with open(path, "w", encoding="ascii", newline="\n") as f:
        for line in lines:
            f.write("#\n")
            for lon, lat in line:
                f.write("%9.3f %8.3f\n" % (lon, lat))
        f.write("#\n")
    return sum(len(line) for line in lines)


def package_folder(source, scratch):
    if source is None:
        subprocess.run(["npm", "pack", PACKAGE], cwd=scratch, check=True, stdout=subprocess.DEVNULL)
        source = os.path.join(scratch, [n for n in os.listdir(scratch) if n.endswith(".tgz")][0])
    if os.path.isdir(source):
        return source
    with tarfile.open(source) as tar:
        tar.extractall(scratch, filter="data") if hasattr(tarfile, "data_filter") else tar.extractall(scratch)
    return os.path.join(scratch, "package")


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    source = argv[1] if len(argv) > 1 else None
    out = argv[2] if len(argv) > 2 else os.path.join(here, "..", "data", "map")
    os.makedirs(out, exist_ok=True)
    with tempfile.TemporaryDirectory() as scratch:
        folder = package_folder(source, scratch)
        for resolution, suffix in RESOLUTIONS:
            with open(os.path.join(folder, "countries-%s.json" % resolution), encoding="utf-8") as f:
                topology = json.load(f)
            arcs = decode_arcs(topology)
            for name, lines in (("coastZor", coast_lines(topology, arcs)), ("GrenzenZor", border_lines(topology, arcs))):
                path = os.path.join(out, name + suffix + ".dat")
                count = write_map(path, lines)
                print("%s: %d lines, %d points" % (os.path.normpath(path), len(lines), count))


if __name__ == "__main__":
    main(sys.argv)
