#!/usr/bin/env python3
"""Prints the text a PDF shows, page by page in page order: each text-showing
operator of a page's content on a line of its own, a form feed after every
page. The print tests read lines this way rather than through a layout
analysis, which Wine's PostScript output (tiny, mirrored text after a page
break) leads astray.

Usage: pdf_lines.py FILE.pdf
"""
import re
import sys
import zlib

data = open(sys.argv[1], "rb").read()
objects = {int(m.group(1)): m.group(2) for m in
           re.finditer(rb"(?s)(\d+) 0 obj\s*(.*?)endobj", data)}


def refs(text):
    return [int(n) for n in re.findall(rb"(\d+) 0 R", text)]


def stream(number):
    body = objects.get(number, b"")
    m = re.search(rb"(?s)stream\r?\n(.*?)endstream", body)
    if not m:
        return b""
    raw = m.group(1)
    # Whatever follows the compressed data (an end of line) is left over.
    return zlib.decompressobj().decompress(raw) if b"/FlateDecode" in body[:m.start()] else raw


def page_numbers(number, seen=()):
    body = objects.get(number, b"")
    if re.search(rb"/Type\s*/Pages\b", body):
        kids = re.search(rb"/Kids\s*\[(.*?)\]", body, re.S)
        return [p for kid in refs(kids.group(1)) if kid not in seen
                for p in page_numbers(kid, seen + (number,))] if kids else []
    return [number] if re.search(rb"/Type\s*/Page\b", body) else []


def literal(text, at):
    """A PDF literal string starting after its "(": (bytes, end offset)."""
    out, depth = bytearray(), 1
    escapes = {ord("n"): b"\n", ord("r"): b"\r", ord("t"): b"\t", ord("b"): b"\b", ord("f"): b"\f"}
    while at < len(text):
        c = text[at]
        at += 1
        if c == ord("\\"):
            e = text[at]
            at += 1
            if e in escapes:
                out += escapes[e]
            elif ord("0") <= e <= ord("7"):
                digits = re.match(rb"[0-7]{1,3}", text[at - 1:at + 2]).group(0)
                out.append(int(digits, 8) & 0xFF)
                at += len(digits) - 1
            elif e not in b"\r\n":
                out.append(e)
        elif c == ord("("):
            depth += 1
            out.append(c)
        elif c == ord(")"):
            depth -= 1
            if depth == 0:
                return bytes(out), at
            out.append(c)
        else:
            out.append(c)
    return bytes(out), at


def shown_lines(content):
    """Strings of Tj, ', " and TJ operators, one entry per operator."""
    lines, pending, at = [], [], 0
    while at < len(content):
        c = content[at:at + 1]
        if c == b"(":
            s, at = literal(content, at + 1)
            pending.append(s)
            continue
        m = re.match(rb"<([0-9A-Fa-f\s]*)>", content[at:])
        if m and content[at:at + 2] != b"<<":
            pending.append(bytes.fromhex(m.group(1).decode()))
            at += m.end()
            continue
        m = re.match(rb"(TJ|Tj|'|\")(?![A-Za-z])", content[at:])
        if m and pending:
            lines.append(b"".join(pending))
            pending = []
            at += m.end()
            continue
        if content[at:at + 2] == b"ET":
            pending = []
        at += 1
    return lines


root = re.search(rb"/Root\s+(\d+) 0 R", data)
catalog = objects.get(int(root.group(1)), b"") if root else b""
pages_ref = re.search(rb"/Pages\s+(\d+) 0 R", catalog)
out = sys.stdout.buffer
for page in page_numbers(int(pages_ref.group(1))) if pages_ref else []:
    contents = re.search(rb"/Contents\s*(\[[^\]]*\]|\d+ 0 R)", objects[page])
    content = b"".join(stream(n) for n in refs(contents.group(1))) if contents else b""
    for line in shown_lines(content):
        out.write(line.decode("latin-1").encode("utf-8") + b"\n")
    out.write(b"\f")
