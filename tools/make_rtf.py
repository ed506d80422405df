#!/usr/bin/env python3
"""Turns one of the program's documents, written in a small plain-text markup, into RTF.

The RTF uses only the common subset that any rich-text viewer reads: one font table, one colour
table, paragraphs with \\pard, \\b \\i \\fs \\cf in groups, \\qc, \\li \\fi \\sb \\sa, \\bullet and
simple \\trowd tables. The output is 7-bit: letters outside ASCII are written \\'xx in Windows-1252.

Markup, one element per block of lines (blocks are separated by blank lines):

    = Title                 centred title
    ~ Subtitle              centred line in grey italics
    ## Heading              section heading
    ### Subheading          smaller heading
    - item                  bullet item; an indented line continues the item
    | a | b |               table row; the first row of a table is its heading row
    table: 1500 8300        widths in twips of the columns of the table that follows
    > text                  note, indented and in grey
    ;; comment             ignored
    anything else           ordinary paragraph; its lines are joined by spaces

Inline: **bold**, *italic*, [[colour:text]] with a colour name of COLOURS.
A space before : ; ! ? and inside guillemets becomes a no-break space, as French typesetting wants.

Usage: make_rtf.py SOURCE.txt OUTPUT.rtf
"""
import re
import sys

COLOURS = [  # name, (red, green, blue); index in the table is position + 1
    ("black", (0, 0, 0)),
    ("navy", (31, 63, 107)),
    ("green", (0, 128, 0)),
    ("orange", (255, 128, 0)),
    ("magenta", (255, 0, 255)),
    ("red", (255, 0, 0)),
    ("grey", (96, 96, 96)),
    ("darkred", (128, 0, 0)),
]
COLOUR_INDEX = {name: i + 1 for i, (name, _) in enumerate(COLOURS)}

BODY = r"\f0\fs20\cf1 "  # Arial 10 pt, black
BORDER = r"\clbrdrt\brdrs\brdrw10\clbrdrl\brdrs\brdrw10\clbrdrb\brdrs\brdrw10\clbrdrr\brdrs\brdrw10"


def escape(text):
    """Plain text to RTF text: specials escaped, non-ASCII as Windows-1252 or \\u escapes."""
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ord(ch) < 0x80:
            out.append(ch)
        else:
            try:
                out.append("\\'%02x" % ch.encode("cp1252")[0])
            except UnicodeEncodeError:
                out.append("\\u%d?" % (ord(ch) if ord(ch) < 0x8000 else ord(ch) - 0x10000))
    return "".join(out)


def french_spacing(text):
    text = re.sub(r" ([:;!?»])", "\u00a0\\1", text)
    return re.sub(r"« ", "«\u00a0", text)


INLINE = re.compile(r"\*\*(.+?)\*\*|\*(.+?)\*|\[\[(\w+):(.+?)\]\]")


def inline(text):
    """Inline markup to RTF; bold, italics and colours become groups."""
    out, pos = [], 0
    for m in INLINE.finditer(text):
        out.append(escape(text[pos:m.start()]))
        if m.group(1) is not None:
            out.append(r"{\b " + inline(m.group(1)) + "}")
        elif m.group(2) is not None:
            out.append(r"{\i " + inline(m.group(2)) + "}")
        else:
            if m.group(3) not in COLOUR_INDEX:
                sys.exit("unknown colour: " + m.group(3))
            out.append(r"{\cf%d " % COLOUR_INDEX[m.group(3)] + inline(m.group(4)) + "}")
        pos = m.end()
    out.append(escape(text[pos:]))
    return "".join(out)


def para(text, fmt=""):
    return r"\pard" + fmt + BODY + inline(french_spacing(text)) + r"\par"


def table(rows, widths):
    lines = []
    for r, cells in enumerate(rows):
        if len(cells) != len(widths):
            sys.exit("table row with %d cells for %d widths: %s" % (len(cells), len(widths), cells))
        row = [r"\trowd\trgaph80\trleft0"]
        edge = 0
        for w in widths:
            edge += w
            row.append(BORDER + r"\cellx%d" % edge)
        lines.append("".join(row))
        for cell in cells:
            body = inline(french_spacing(cell))
            if r == 0:
                body = r"{\b " + body + "}"
            lines.append(r"\pard\intbl\sa40" + BODY + body + r"\cell")
        lines.append(r"\row")
    lines.append(r"\pard\sa120\par")
    return lines


def blocks(source):
    block = []
    for line in source.splitlines():
        if line.startswith(";;"):
            continue
        if line.strip():
            block.append(line.rstrip())
        elif block:
            yield block
            block = []
    if block:
        yield block


def convert(source):
    out = [
        r"{\rtf1\ansi\ansicpg1252\deff0\deflang1036",
        r"{\fonttbl{\f0\fswiss\fcharset0 Arial;}}",
        "{\\colortbl;" + "".join(r"\red%d\green%d\blue%d;" % rgb for _, rgb in COLOURS) + "}",
    ]
    for block in blocks(source):
        first = block[0]
        if first.startswith("table:") or first.startswith("|"):
            widths = [2000] * 2
            if first.startswith("table:"):
                widths = [int(w) for w in first[6:].split()]
                block = block[1:]
            rows = [[c.strip() for c in line.strip().strip("|").split("|")] for line in block]
            out.extend(table(rows, widths))
        elif first.startswith("- "):
            items = []
            for line in block:
                if line.startswith("- "):
                    items.append(line[2:])
                else:
                    items[-1] += " " + line.strip()
            for item in items:
                out.append(r"\pard\li360\fi-240\sa60" + BODY + r"\bullet\tab "
                           + inline(french_spacing(item)) + r"\par")
            out.append(r"\pard\sa60\fs12\par")
        else:
            text = " ".join(line.strip() for line in block)
            if text.startswith("= "):
                out.append(r"\pard\qc\sa60" + BODY + r"{\b\fs32\cf2 " + inline(text[2:]) + r"}\par")
            elif text.startswith("~ "):
                out.append(r"\pard\qc\sa240" + BODY + r"{\i\cf7 " + inline(french_spacing(text[2:])) + r"}\par")
            elif text.startswith("### "):
                out.append(r"\pard\sb120\sa60" + BODY + r"{\b " + inline(french_spacing(text[4:])) + r"}\par")
            elif text.startswith("## "):
                out.append(r"\pard\sb240\sa100" + BODY + r"{\b\fs24\cf2 " + inline(french_spacing(text[3:])) + r"}\par")
            elif text.startswith("> "):
                out.append(para(r"[[grey:" + text[2:] + "]]", r"\li360\sa120"))
            else:
                out.append(para(text, r"\sa120"))
    out.append("}")
    return "\r\n".join(out) + "\r\n"


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_rtf.py SOURCE.txt OUTPUT.rtf")
    with open(sys.argv[1], encoding="utf-8") as f:
        rtf = convert(f.read())
    rtf.encode("ascii")  # the escapes above leave nothing else
    with open(sys.argv[2], "w", encoding="ascii", newline="") as f:
        f.write(rtf)


if __name__ == "__main__":
    main()
