"""What the document generators share: writing a PDF file from its numbered objects.

Standard library only.
"""


def escape(text):
    """Text as a PDF literal string's content."""
    return text.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")


def serialize(objects, root):
    """The bytes of a PDF whose object n is objects[n - 1] (the body between "obj" and
    "endobj"), with a cross-reference table and object `root` as the catalog."""
    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root %d 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (
        len(objects) + 1, root, xref)
    return bytes(out)
