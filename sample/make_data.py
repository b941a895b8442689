#!/usr/bin/env python3
"""Makes the data files of the sample product tree: fonts, the help file,
label templates, premade labels, clip art and the files of the main group.
Random bytes come from fixed seeds, so a rerun makes the same files. The
outputs are committed; run this only to remake them.

Clip art 2000 is 24 pictures of random pixels, about 390 KB that do not
compress: its archive spans two 360 KB diskettes."""

import random
import struct
from pathlib import Path

TREE = Path(__file__).resolve().parent / "tree"


def write(path, data):
    target = TREE / path
    target.parent.mkdir(parents=True, exist_ok=True)
    if isinstance(data, str):
        data = data.replace("\n", "\r\n").encode("ascii")
    target.write_bytes(data)


def bmp(width, height, pixels, palette):
    """An 8-bit Windows bitmap; rows are stored bottom-up, padded to 4 bytes."""
    stride = (width + 3) & ~3
    rows = b"".join(bytes(pixels[y * width:(y + 1) * width]) + bytes(stride - width)
                    for y in reversed(range(height)))
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    return header + info + colours + rows


def grey_palette():
    return [(i, i, i) for i in range(256)]


def fonts():
    for index, name in enumerate(["QMSANS", "QMSERIF", "QMSCRIPT"]):
        rng = random.Random(100 + index)
        body = bytes(rng.randrange(256) for _ in range(2048))
        write(f"fonts/{name}.TTF", struct.pack(">IHHHH", 0x00010000, 4, 64, 2, 0) + body)


def help_file():
    topics = ["Designing a label", "Choosing a template", "Adding text", "Adding clip art",
              "Printing labels", "Mail merge", "Premade labels", "Keyboard shortcuts"]
    text = "Quillmark 2.0 Help\n\n"
    for number, topic in enumerate(topics, 1):
        text += f"Topic {number}: {topic}\n"
        text += f"This topic explains {topic.lower()} in Quillmark 2.0.\n" * 8 + "\n"
    write("program/QMW.HLP", text)


def templates():
    us = [("LTR30", "Address", 2.625, 1.0, 3, 10), ("LTR10", "Shipping", 4.0, 2.0, 2, 5),
          ("LTR80", "Return address", 1.75, 0.5, 4, 20)]
    for code, kind, w, h, across, down in us:
        write(f"templates/us/{code}.QMT",
              f"[Template]\nName={kind} label {code}\nPaper=Letter\nUnits=inch\n"
              f"Width={w}\nHeight={h}\nAcross={across}\nDown={down}\n")
    intl = [("A4X21", "Address", 63.5, 38.1, 3, 7), ("A4X14", "Parcel", 99.1, 38.1, 2, 7),
            ("A4X65", "Mini", 38.1, 21.2, 5, 13)]
    for code, kind, w, h, across, down in intl:
        write(f"templates/intl/{code}.QMT",
              f"[Template]\nName={kind} label {code}\nPaper=A4\nUnits=mm\n"
              f"Width={w}\nHeight={h}\nAcross={across}\nDown={down}\n")


def premade():
    for name, text in [("BIRTHDAY", "Happy Birthday!"), ("MOVING", "We have moved"),
                       ("FRAGILE", "Fragile - handle with care"), ("XMAS", "Season's Greetings")]:
        write(f"premade/{name}.QML",
              f"[Label]\nTemplate=LTR10\nText={text}\nFont=QMSCRIPT\nSize=24\nAlign=centre\n")


def clip_art():
    # Clip art 600: line drawings, which compress well.
    for index, name in enumerate(["STAR", "HEART", "ARROW", "HOUSE", "TREE", "CAKE"]):
        size = 64
        pixels = [255 if (x * (index + 1) + y) % 9 and abs(x - y) > index else 0
                  for y in range(size) for x in range(size)]
        write(f"clipart/art600/{name}.BMP", bmp(size, size, pixels, grey_palette()))
    # Clip art 2000: photographs, whose noise does not compress.
    rng = random.Random(2000)
    palette = [(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(256)]
    for index in range(1, 25):
        size = 128
        pixels = [rng.randrange(256) for _ in range(size * size)]
        write(f"clipart/art2000/PHOTO{index:02d}.BMP", bmp(size, size, pixels, palette))


def main_group():
    write("main/README.TXT",
          "Quillmark 2.0\n\nThank you for choosing Quillmark 2.0.\n\n"
          "To remove Quillmark 2.0, use \"Remove Quillmark 2.0\" in the program folder.\n")
    # The removal hand-over: a program information file naming the removal program.
    pif = bytearray(545)
    pif[2:2 + 30] = b"Remove Quillmark 2.0".ljust(30)
    pif[36:36 + 63] = b"UNSETUP.EXE".ljust(63, b"\0")
    write("main/REMOVE.PIF", bytes(pif))


fonts()
help_file()
templates()
premade()
clip_art()
main_group()
