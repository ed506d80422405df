"""What hostile documents in the program's folder cost: for each case, the real program starts on its own
Xvfb display in a folder holding that Licence.rtf and Resume.rtf, under /usr/bin/time -v. Once its main
window is up, three tab clicks are sent at once (information, about, list); the list page sets the title
to "Les KORVELAN", which tells that all three were answered. Then the information page is shown for a
moment and the list page chosen again with a display option, whose count in the title tells that the visit,
the drawing of the document included, is over. Prints, per case, when the window appeared, how long after
that the clicks were answered, how long the visit of the information page took, and the peak resident
memory of the whole run.

usage: python3 tools/measure_documents.py [--timeout SECONDS] [--keep FOLDER] PROGRAM [CASE ...]
Not a test: it prints figures. Cases are made in a temporary folder (or FOLDER with --keep).
"""
import argparse
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib

sys.path.insert(0, os.path.dirname(__file__))
from session import MAIN_TITLE, OPTIONS, TABS, Session  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SHIPPED = os.path.join(ROOT, "resources", "docs")
MB = 1024 * 1024


def png(width, height):
    """A flat grey RGB picture: small once compressed, large once decoded."""
    row = b"\0" + b"\x80" * (width * 3)
    data = zlib.compress(row * height, 9)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", data) + chunk(b"IEND", b""))


def rtf(body):
    return b"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 " + body + b"}"


def words(size):
    text = b"additif alimentaire colorant conservateur "
    return (text * (size // len(text) + 1))[:size]


def picture_paragraphs(count, side=4096, limit=None):
    hexed = png(side, side).hex().encode()
    picture = b"{\\pict\\pngblip\\picw%d\\pich%d " % (side, side) + hexed + b"}\\par "
    return picture * (count if limit is None else min(count, limit // len(picture)))


def table_rows(cells, columns=5):
    row = b"\\trowd" + b"".join(b"\\cellx%d" % (1500 * (c + 1)) for c in range(columns))
    row += b"".join(b"\\pard\\intbl E%d\\cell " % c for c in range(columns)) + b"\\row\n"
    return row * (cells // columns) + b"\\pard\\par "


def run_paragraphs(count, per_paragraph):
    paragraph = b"{\\b a}{\\i b}" * (per_paragraph // 2) + b"\\par\n"
    return paragraph * (count // per_paragraph)


def everything():
    """Pictures, runs, a table just short of the reader's limit on cells (which would stop the reading)
    and then letters without a space: as much of each as a document may hold."""
    body = picture_paragraphs(4, 2048) + run_paragraphs(40000, 100) + table_rows(450)
    return rtf(body + b"x" * (8 * MB - len(body) - 100))


def shipped(name):
    with open(os.path.join(SHIPPED, name), "rb") as f:
        return f.read()


def cell_paragraphs(cells, paragraphs):
    """A table of `cells` cells of one row each, holding `paragraphs` paragraphs each."""
    row = b"\\trowd\\cellx5000\\pard\\intbl " + b"x\\par " * (paragraphs - 1) + b"x\\cell\\row\n"
    return row * cells + b"\\pard\\par "


def combining(paragraphs, marks):
    """Paragraphs of one letter followed by `marks` combining accents."""
    return (b"a" + b"\\u769?" * marks + b"\\par\n") * paragraphs


# Each case: what Licence.rtf and Resume.rtf are. bytes: a file; "fifo", "zero": a FIFO, a link to
# /dev/zero; None: the shipped document.
def cases():
    return {
        "shipped": (None, None),
        "fifo": ("fifo", None),
        "dev-zero": ("zero", None),
        "fs3276-32KB": (rtf(b"\\fs3276 " + words(32 * 1024)), None),
        "paragraph-8MB": (rtf(words(8 * MB - 100)), None),
        "runs-300000-one-paragraph": (rtf(run_paragraphs(300000, 300000)), None),
        "runs-300000-in-paragraphs-of-100": (rtf(run_paragraphs(300000, 100)), None),
        "table-20000-cells": (rtf(table_rows(20000)), None),
        "png-16x4096": (rtf(picture_paragraphs(16)), None),
        "png-40x4096": (rtf(picture_paragraphs(40)), None),
        "two-8MB-png": (rtf(picture_paragraphs(1000, 4096, 8 * MB)), rtf(picture_paragraphs(1000, 4096, 8 * MB))),
        "two-8MB-paragraphs": (rtf(words(8 * MB - 100)), rtf(words(8 * MB - 100))),
        "two-8MB-letters-without-space": (rtf(b"a" * (8 * MB - 100)), rtf(b"b" * (8 * MB - 100))),
        "png-40x2048": (rtf(picture_paragraphs(40, 2048)), None),
        "two-of-everything": (everything(), everything()),
        "spacing-sb-sa-sl-2000-72KB": (rtf(b"\\pard\\sb31680\\sa31680\\sl31680 x\\par\n" * 2000), None),
        "spacing-sb-6500": (rtf(b"\\pard\\sb31680 x\\par\n" * 6500), None),
        "spacing-sa-6500": (rtf(b"\\pard\\sa31680 x\\par\n" * 6500), None),
        "spacing-sl-6500": (rtf(b"\\pard\\sl31680 x\\par\n" * 6500), None),
        "spacing-sa3000-99000": (rtf(b"\\pard\\sa3000 x\\par\n" * 99000), None),
        "one-cell-49000-paragraphs": (rtf(cell_paragraphs(1, 49000)), None),
        "499-cells-of-100-paragraphs": (rtf(cell_paragraphs(499, 100)), None),
        "combining-4998-a-letter": (rtf(combining(20, 4998)), rtf(combining(20, 4998))),
        "par-2000000": (rtf(b"\\par" * 2000000), None),
    }


def place(folder, name, what):
    path = os.path.join(folder, name)
    if what is None:
        shutil.copy(os.path.join(SHIPPED, name), path)
    elif what == "fifo":
        os.mkfifo(path)
    elif what == "zero":
        os.symlink("/dev/zero", path)
    else:
        with open(path, "wb") as f:
            f.write(what)


def child_of(pid):
    try:
        with open(f"/proc/{pid}/task/{pid}/children") as f:
            children = f.read().split()
        return int(children[0]) if children else None
    except OSError:
        return None


def measure(program, name, licence, resume, work, timeout):
    folder = os.path.join(work, name)
    os.makedirs(folder)
    place(folder, "Licence.rtf", licence)
    place(folder, "Resume.rtf", resume)
    report = os.path.join(work, name + ".time")
    s = Session(1.0)
    process = None
    try:
        started = time.monotonic()
        process = subprocess.Popen(["/usr/bin/time", "-v", "-o", report, program], cwd=folder, env=s.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        window = None
        while window is None and time.monotonic() - started < timeout:
            found = s.xdotool("search", "--onlyvisible", "--name", f"^{MAIN_TITLE}$")
            window = found[0] if found else None
            if window is None:
                time.sleep(0.02)
        visible = time.monotonic() - started
        answered = None
        if window is not None:
            seen = time.monotonic()
            for tab in (3, 4, 1):
                s.xdotool("mousemove", "--window", window, str(TABS[tab][0]), str(TABS[tab][1]), "click", "1")
            while time.monotonic() - seen < timeout:
                if s.xdotool("getwindowname", window) == ["Les", "KORVELAN"]:
                    answered = time.monotonic() - seen
                    break
                time.sleep(0.01)
        shown = None
        if answered is not None:
            # A visit that lets the information page be drawn: its tab, a moment, the list tab and a display
            # option, whose count in the title tells that the visit is over.
            time.sleep(1)
            seen = time.monotonic()
            s.xdotool("mousemove", "--window", window, str(TABS[3][0]), str(TABS[3][1]), "click", "1")
            time.sleep(0.2)
            for point in (TABS[1], OPTIONS[2]):
                s.xdotool("mousemove", "--window", window, str(point[0]), str(point[1]), "click", "1")
            while time.monotonic() - seen < timeout:
                if s.xdotool("getwindowname", window) != ["Les", "KORVELAN"]:
                    shown = time.monotonic() - seen
                    break
                time.sleep(0.01)
        time.sleep(1)  # the rest of a lazy layout, and the pages painted
        pid = child_of(process.pid)
        if pid:
            os.kill(pid, signal.SIGTERM)
        process.wait(30)
        peak = 0
        with open(report) as f:
            for line in f:
                if "Maximum resident set size" in line:
                    peak = int(line.split(":")[1]) // 1024
        return visible if window else None, answered, shown, peak
    finally:
        if process and process.poll() is None:
            pid = child_of(process.pid)
            if pid:
                os.kill(pid, signal.SIGKILL)
            process.wait()
        s.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--timeout", type=float, default=30)
    parser.add_argument("--keep")
    parser.add_argument("program")
    parser.add_argument("case", nargs="*")
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    work = args.keep or tempfile.mkdtemp(prefix="korvelan-documents-")
    os.makedirs(work, exist_ok=True)
    try:
        print(f"{'case':36} {'window up':>10} {'3 tabs answered':>16} {'information shown':>18} {'peak RSS':>9}")
        for name, (licence, resume) in cases().items():
            if args.case and name not in args.case:
                continue
            visible, answered, shown, peak = measure(program, name, licence, resume, work, args.timeout)
            up = f"{visible:.2f} s" if visible is not None else "never"
            after = f"{answered:.2f} s" if answered is not None else f"> {args.timeout:g} s"
            drawn = f"{shown:.2f} s" if shown is not None else f"> {args.timeout:g} s"
            print(f"{name:36} {up:>10} {after:>16} {drawn:>18} {peak:>6} MB", flush=True)
    finally:
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
