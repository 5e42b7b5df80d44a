#!/usr/bin/env python3
"""Writes the demo's sample documents, the same bytes on every run.

    make_demo_documents.py OUTPUT_DIR

  demo.pdf      5 pages; each shows a large "Page N" and a line "Folivex demo document, page N of 5"
  download.pdf  3 pages, "Downloaded page N"; about 2 MB (an unreferenced stream of filler), so
                that a download lasts long enough for the progress bar to be seen

Standard library only.
"""

import os
import random
import sys


def _escape(text):
    return text.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")


def _page_content(label, line):
    return (
        "BT /F1 96 Tf 72 560 Td (%s) Tj ET\n"
        "BT /F1 18 Tf 72 500 Td (%s) Tj ET\n" % (_escape(label), _escape(line))
    ).encode("latin-1")


def build_pdf(pages, filler_bytes=0):
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
    if filler_bytes:
        # Incompressible and unreferenced: only its size matters.
        filler = random.Random(20240601).randbytes(filler_bytes)
        add(b"<< /Length %d >>\nstream\n" % len(filler) + filler + b"\nendstream")
    bodies[catalog - 1] = b"<< /Type /Catalog /Pages %d 0 R >>" % pages_node
    bodies[pages_node - 1] = (b"<< /Type /Pages /Kids [%s] /Count %d >>"
                              % (b" ".join(b"%d 0 R" % k for k in kids), len(kids)))

    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for number, body in enumerate(bodies, start=1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(bodies) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += (b"trailer\n<< /Size %d /Root %d 0 R >>\nstartxref\n%d\n%%%%EOF\n"
            % (len(bodies) + 1, catalog, xref))
    return bytes(out)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_demo_documents.py OUTPUT_DIR")
    target = sys.argv[1]
    os.makedirs(target, exist_ok=True)
    documents = {
        "demo.pdf": build_pdf(
            [("Page %d" % n, "Folivex demo document, page %d of 5" % n) for n in range(1, 6)]),
        "download.pdf": build_pdf(
            [("Downloaded page %d" % n, "Folivex downloaded document, page %d of 3" % n)
             for n in range(1, 4)], filler_bytes=2 * 1024 * 1024),
    }
    for name, data in documents.items():
        path = os.path.join(target, name)
        temporary = path + ".tmp"
        with open(temporary, "wb") as out:
            out.write(data)
        os.replace(temporary, path)


if __name__ == "__main__":
    main()
