#!/usr/bin/env python3
"""Writes the small documents the Windows-side tests load, byte for byte the same on every run.

    make_test_documents.py OUTPUT_DIR

Files written:
  three_pages.pdf        3 pages, plain content streams, text "Folivex test page N of 3"
  five_pages_flate.pdf   5 pages, Flate-compressed content streams, text "Folivex flate page N of 5";
                         its page tree is nested (2 + 3 pages below the root) and the catalog
                         comes after the page objects, so only the root's /Count gives 5
  one_page.pdf           1 page, plain, text "Folivex single page"
  not_a_pdf.txt          plain text that does not begin with %PDF-
  not_a_pdf.pdf          the same text under a .pdf name

Standard library only.
"""

import os
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from minimal_pdf import escape, serialize  # noqa: E402


def _content(text):
    return ("BT /F1 24 Tf 72 720 Td (%s) Tj ET\n" % escape(text)).encode("latin-1")


def build_pdf(page_texts, flate=False, nested=False):
    """Returns the bytes of a PDF with one page per text. Objects are numbered in the order
    they are written; the catalog is written last when the page tree is nested."""
    objects = []  # (number, bytes)

    def reserve():
        objects.append(None)
        return len(objects)

    def put(number, body):
        objects[number - 1] = body

    font = reserve()
    put(font, b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>")
    if nested:
        # The inner nodes come first in the file, so the first /Count met is not the root's.
        split = 2
        groups = [page_texts[:split], page_texts[split:]]
        nodes = [reserve() for _ in groups]
        root_pages = reserve()
    else:
        root_pages = reserve()
        groups = [page_texts]
        nodes = [root_pages]
    for node, texts in zip(nodes, groups):
        kids = []
        for text in texts:
            data = _content(text)
            stream = reserve()
            if flate:
                data = zlib.compress(data, 9)
                header = b"<< /Length %d /Filter /FlateDecode >>" % len(data)
            else:
                header = b"<< /Length %d >>" % len(data)
            put(stream, header + b"\nstream\n" + data + b"\nendstream")
            page = reserve()
            put(page, (b"<< /Type /Page /Parent %d 0 R /MediaBox [0 0 612 792] "
                       b"/Resources << /Font << /F1 %d 0 R >> >> /Contents %d 0 R >>")
                % (node, font, stream))
            kids.append(page)
        kid_refs = b" ".join(b"%d 0 R" % k for k in kids)
        parent = b"" if node == root_pages else b" /Parent %d 0 R" % root_pages
        put(node, b"<< /Type /Pages%s /Kids [%s] /Count %d >>" % (parent, kid_refs, len(kids)))
    if nested:
        node_refs = b" ".join(b"%d 0 R" % n for n in nodes)
        put(root_pages, b"<< /Type /Pages /Kids [%s] /Count %d >>" % (node_refs, len(page_texts)))
    catalog = reserve()
    put(catalog, b"<< /Type /Catalog /Pages %d 0 R >>" % root_pages)

    return serialize(objects, catalog)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_test_documents.py OUTPUT_DIR\n")
        return 2
    out_dir = argv[1]
    os.makedirs(out_dir, exist_ok=True)
    files = {
        "three_pages.pdf": build_pdf(["Folivex test page %d of 3" % n for n in range(1, 4)]),
        "five_pages_flate.pdf": build_pdf(
            ["Folivex flate page %d of 5" % n for n in range(1, 6)], flate=True, nested=True),
        "one_page.pdf": build_pdf(["Folivex single page"]),
        "not_a_pdf.txt": b"This is a plain text file, not a PDF document.\r\n",
        "not_a_pdf.pdf": b"This is a plain text file, not a PDF document.\r\n",
    }
    for name, data in files.items():
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
