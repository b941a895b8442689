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


def table_checksum(data):
    data += bytes(-len(data) % 4)
    return sum(struct.unpack(f">{len(data) // 4}I", data)) & 0xFFFFFFFF


def sfnt(tables):
    """A TrueType file from its tables: the directory sorted by tag, each table
    on a 4-byte boundary, and the head table's whole-file checksum adjustment."""
    tags = sorted(tables)
    count = len(tags)
    power = 1 << (count.bit_length() - 1)
    directory = struct.pack(">IHHHH", 0x00010000, count, power * 16, power.bit_length() - 1, count * 16 - power * 16)
    offset = 12 + 16 * count
    body = b""
    for tag in tags:
        data = tables[tag]
        directory += struct.pack(">4sIII", tag.encode("ascii"), table_checksum(data), offset + len(body), len(data))
        body += data + bytes(-len(data) % 4)
    font = bytearray(directory + body)
    head = 12 + 16 * count + sum(len(tables[t]) + (-len(tables[t]) % 4) for t in tags[:tags.index("head")])
    struct.pack_into(">I", font, head + 8, (0xB1B0AFBA - table_checksum(bytes(font))) & 0xFFFFFFFF)
    return bytes(font)


def glyph(contours):
    """A simple glyph of straight on-curve contours, coordinates as 16-bit deltas."""
    points = [p for contour in contours for p in contour]
    xs, ys = [x for x, _ in points], [y for _, y in points]
    data = struct.pack(">hhhhh", len(contours), min(xs), min(ys), max(xs), max(ys))
    end = -1
    for contour in contours:
        end += len(contour)
        data += struct.pack(">H", end)
    data += struct.pack(">H", 0) + bytes([1] * len(points))
    for values in (xs, ys):
        last = 0
        for value in values:
            data += struct.pack(">h", value - last)
            last = value
    return data + bytes(len(data) % 2)


def box(x0, y0, x1, y1):
    # Clockwise: TrueType fills to the right of the path.
    return [(x0, y0), (x0, y1), (x1, y1), (x1, y0)]


def letter_glyph(code, width, stroke, slant):
    """A block letter: a frame, and for every other letter a bar across it."""
    x0, x1 = 60, width - 60
    frame = [box(x0, 0, x1, 700), list(reversed(box(x0 + stroke, stroke, x1 - stroke, 700 - stroke)))]
    if code % 2:
        frame.append(box(x0 + stroke, 330, x1 - stroke, 330 + stroke))
    return [[(x + y * slant // 1000, y) for x, y in contour] for contour in frame]


def name_table(family, style, version):
    records = {1: family, 2: style, 3: f"Corvane:{family} {style}:2.0", 4: f"{family} {style}",
               5: f"Version {version}", 6: f"{family.replace(' ', '')}-{style}"}
    strings, entries = b"", b""
    for name_id, text in records.items():
        data = text.encode("utf-16-be")
        entries += struct.pack(">HHHHHH", 3, 1, 0x409, name_id, len(data), len(strings))
        strings += data
    return struct.pack(">HHH", 0, len(records), 6 + 12 * len(records)) + entries + strings


def cmap_table(first, last, first_glyph):
    """Format 4 for Windows Unicode: space, the letters first..last, and the end segment."""
    segments = [(0x20, 0x20, 1 - 0x20), (first, last, first_glyph - first), (0xFFFF, 0xFFFF, 1)]
    count = len(segments)
    power = 1 << (count.bit_length() - 1)
    data = struct.pack(">HHHH", count * 2, power * 2, power.bit_length() - 1, count * 2 - power * 2)
    data += b"".join(struct.pack(">H", end) for _, end, _ in segments) + struct.pack(">H", 0)
    data += b"".join(struct.pack(">H", start) for start, _, _ in segments)
    data += b"".join(struct.pack(">h", (delta + 0x8000) % 0x10000 - 0x8000) for _, _, delta in segments)
    data += bytes(2 * count)
    subtable = struct.pack(">HHH", 4, 6 + len(data), 0) + data
    return struct.pack(">HHHHI", 0, 1, 3, 1, 12) + subtable


def truetype(family, style, width, stroke, slant, weight):
    """A small working TrueType font: .notdef, space and block capitals A-Z."""
    first, last = ord("A"), ord("Z")
    outlines = [[box(50, 0, 450, 700), list(reversed(box(100, 50, 400, 650)))], []]
    outlines += [letter_glyph(code, width, stroke, slant) for code in range(first, last + 1)]
    advances = [500, 250] + [width + max(0, 700 * slant // 1000)] * (last - first + 1)
    glyphs = [glyph(contours) if contours else b"" for contours in outlines]
    offsets = [0]
    for data in glyphs:
        offsets.append(offsets[-1] + len(data))
    points = [(x, y) for contours in outlines for contour in contours for x, y in contour]
    x_min, x_max = min(x for x, _ in points), max(x for x, _ in points)
    lsbs = [min((x for c in contours for x, _ in c), default=0) for contours in outlines]
    rsbs = [adv - max(x for c in contours for x, _ in c) for adv, contours in zip(advances, outlines) if contours]
    bold, italic = style == "Bold", style == "Italic"
    created = 3_000_000_000  # seconds since 1904: a fixed time keeps the file the same
    tables = {
        "head": struct.pack(">IIIIHHqqhhhhHHhhh", 0x00010000, 0x00020000, 0, 0x5F0F3CF5, 0x000B, 1000,
                            created, created, x_min, 0, x_max, 700, bold | italic << 1, 8, 2, 0, 0),
        "hhea": struct.pack(">IhhhHhhhhhhhhhhhH", 0x00010000, 800, -200, 100, max(advances), min(lsbs), min(rsbs),
                            x_max, 1, 0, 0, 0, 0, 0, 0, 0, len(glyphs)),
        "maxp": struct.pack(">IHHHHHHHHHHHHHH", 0x00010000, len(glyphs), max(len(c) * 4 for c in outlines),
                            max(len(c) for c in outlines), 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0),
        "OS/2": struct.pack(">HhHHH" + "h" * 11 + "10sIIII4sHHHhhhHHIIhhHHH", 3, width, weight, 5, 0,
                            650, 600, 0, 75, 650, 600, 0, 350, 50, 300, 0, bytes(10), 1, 0, 0, 0, b"CRVN",
                            0x20 if bold else 0x01 if italic else 0x40, 0x20, last, 800, -200, 100, 800, 200, 1, 0,
                            500, 700, 0, 0x20, 1),
        "hmtx": b"".join(struct.pack(">Hh", adv, lsb) for adv, lsb in zip(advances, lsbs)),
        "loca": b"".join(struct.pack(">H", offset // 2) for offset in offsets),
        "glyf": b"".join(glyphs),
        "cmap": cmap_table(first, last, 2),
        "name": name_table(family, style, "2.000"),
        "post": struct.pack(">IIhhIIIII", 0x00030000, (-slant * 65536 // 1000) & 0xFFFFFFFF if slant else 0,
                            -100, 50, 0, 0, 0, 0, 0),
    }
    return sfnt(tables)


def fonts():
    # Three faces of block capitals: a plain one, a heavy one, a slanted one.
    write("fonts/QMSANS.TTF", truetype("Quillmark Sans", "Regular", 600, 90, 0, 400))
    write("fonts/QMSERIF.TTF", truetype("Quillmark Serif", "Bold", 640, 150, 0, 700))
    write("fonts/QMSCRIPT.TTF", truetype("Quillmark Script", "Italic", 560, 70, 250, 400))


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
