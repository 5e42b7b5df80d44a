#!/usr/bin/env python3
"""Writes the demo's sample documents, the same bytes on every run.

    make_demo_documents.py OUTPUT_DIR

  demo.pdf      5 pages; each shows a large "Page N" and a line "Folivex demo document, page N of 5"

The tour's download comes from the loopback servers of the download tests (tools/demo).

Standard library only.
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from minimal_pdf import escape, serialize  # noqa: E402


def _page_content(label, line):
    return (
        "BT /F1 96 Tf 72 560 Td (%s) Tj ET\n"
        "BT /F1 18 Tf 72 500 Td (%s) Tj ET\n" % (escape(label), escape(line))
    ).encode("latin-1")


def build_pdf(pages):
    """pages: list of (label, line). Returns the bytes of a PDF with one page per entry."""
    bodies = []

    def add(body):
        bodies.append(body)
        return len(bodies)

    catalog = add(None)
    pages_node = add(None)
    font = add(b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold >>")
    kids = []
    for label, line in pages:
        data = _page_content(label, line)
        stream = add(b"<< /Length %d >>\nstream\n" % len(data) + data + b"endstream")
        kids.append(add(
            b"<< /Type /Page /Parent %d 0 R /MediaBox [0 0 612 792] "
            b"/Resources << /Font << /F1 %d 0 R >> >> /Contents %d 0 R >>"
            % (pages_node, font, stream)))
    bodies[catalog - 1] = b"<< /Type /Catalog /Pages %d 0 R >>" % pages_node
    bodies[pages_node - 1] = (b"<< /Type /Pages /Kids [%s] /Count %d >>"
                              % (b" ".join(b"%d 0 R" % k for k in kids), len(kids)))

    return serialize(bodies, catalog)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_demo_documents.py OUTPUT_DIR")
    target = sys.argv[1]
    os.makedirs(target, exist_ok=True)
    documents = {
        "demo.pdf": build_pdf(
            [("Page %d" % n, "Folivex demo document, page %d of 5" % n) for n in range(1, 6)]),
    }
    for name, data in documents.items():
        path = os.path.join(target, name)
        temporary = path + ".tmp"
        with open(temporary, "wb") as out:
            out.write(data)
        os.replace(temporary, path)


if __name__ == "__main__":
    main()
