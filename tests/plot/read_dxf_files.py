"""Reads DXF files with ezdxf and prints, per file, the audit errors and the entity counts.

Exits non-zero (with the reader's traceback) when a file cannot be read.
"""
import collections
import sys

import ezdxf

for path in sys.argv[1:]:
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    counts = collections.Counter(e.dxftype() for e in doc.modelspace())
    vertices = sum(len(e.vertices) for e in doc.modelspace() if e.dxftype() == "POLYLINE")
    texts = "|".join(e.dxf.text for e in doc.modelspace() if e.dxftype() == "TEXT")
    fields = "".join(f" {k}={v}" for k, v in sorted(counts.items()))
    print(f"{path} errors={len(auditor.errors)}{fields} VERTEX={vertices} texts={texts}")
