#!/usr/bin/env python3
"""Writes the corpus that make_fixtures.sh compresses, the same bytes every run.

Usage: make_corpus.py DIRECTORY
The generator is a fixed 64-bit xorshift, so the content does not depend on the
Python version.
"""
import os
import struct
import sys


class Rng:
    def __init__(self, seed: int):
        self.state = seed & 0xFFFFFFFFFFFFFFFF or 1

    def next(self) -> int:
        x = self.state
        x ^= (x << 13) & 0xFFFFFFFFFFFFFFFF
        x ^= x >> 7
        x ^= (x << 17) & 0xFFFFFFFFFFFFFFFF
        self.state = x
        return x

    def below(self, n: int) -> int:
        return self.next() % n

    def bytes(self, n: int) -> bytes:
        return bytes(self.next() & 0xFF for _ in range(n))


WORDS = ("the of and to in is that for it as with was on be by this are from at or an have not "
         "label design print page layout text frame barcode font size margin column row sheet "
         "template printer paper inch width height colour border shadow field record database "
         "merge serial number counter date time image picture graphic scale rotate align centre "
         "left right top bottom preview export import setup install directory file option group").split()


def prose(rng: Rng, size: int) -> bytes:
    out = []
    length = 0
    while length < size:
        sentence = " ".join(WORDS[rng.below(len(WORDS))] for _ in range(4 + rng.below(14)))
        sentence = sentence[0].upper() + sentence[1:] + (". " if rng.below(8) else ".\r\n\r\n")
        out.append(sentence)
        length += len(sentence)
    return "".join(out).encode("ascii")[:size]


def source_code(rng: Rng, size: int) -> bytes:
    kinds = ("int", "long", "unsigned", "double", "char*", "const Label&", "Frame*")
    out = ["// Generated source text for the compressor fixtures.\n#include <stdio.h>\n\n"]
    n = 0
    while sum(map(len, out)) < size:
        name = WORDS[rng.below(len(WORDS))] + "_" + WORDS[rng.below(len(WORDS))] + str(n)
        args = ", ".join(f"{kinds[rng.below(len(kinds))]} a{i}" for i in range(rng.below(4)))
        body = []
        for line in range(2 + rng.below(8)):
            var = "v" + str(rng.below(6))
            if rng.below(3) == 0:
                body.append(f"    if ({var} > {rng.below(1000)}) {{\n        return {var} * {rng.below(97)};\n    }}\n")
            else:
                body.append(f"    {var} += a0 + {rng.below(4096)}; /* {WORDS[rng.below(len(WORDS))]} */\n")
        out.append(f"static int {name}({args})\n{{\n    int v0 = 0, v1 = 1, v2 = 2, v3 = 3, v4 = 4, v5 = 5;\n"
                   + "".join(body) + "    return v0;\n}\n\n")
        n += 1
    return "".join(out).encode("ascii")[:size]


def records(rng: Rng, size: int) -> bytes:
    """A table of fixed-size little-endian records: ids, floats, padded names."""
    out = bytearray()
    i = 0
    while len(out) < size:
        name = WORDS[rng.below(len(WORDS))].encode().ljust(16, b"\0")
        out += struct.pack("<IIf", i, 1000 + 3 * i, i * 0.25 + rng.below(100) / 7.0)
        out += name + struct.pack("<HH", rng.below(4), 0xFFFF if i % 5 == 0 else 0)
        i += 1
    return bytes(out[:size])


def gradient_image(size: int) -> bytes:
    """An 8-bit picture: smooth gradients with a repeating pattern."""
    width = 128
    return bytes(((x * 2 + (y // 3)) ^ (16 if (x // 8 + y // 8) % 2 else 0)) & 0xFF
                 for y in range(size // width) for x in range(width))


def runs(rng: Rng, size: int) -> bytes:
    out = bytearray()
    while len(out) < size:
        out += bytes([rng.below(6) * 40]) * (1 + rng.below(700))
    return bytes(out[:size])


def repeated_block(rng: Rng, block: int, copies: int) -> bytes:
    """An incompressible block repeated with a few changed bytes: long matches far back."""
    base = bytearray(rng.bytes(block))
    out = bytearray()
    for _ in range(copies):
        out += base
        for _ in range(4):
            base[rng.below(block)] = rng.below(256)
    return bytes(out)


def mixed(rng: Rng) -> bytes:
    return (prose(rng, 9000) + records(rng, 6000) + runs(rng, 3000) + rng.bytes(2500)
            + source_code(rng, 8000) + gradient_image(6144) + rng.bytes(1500) + prose(rng, 5000))


def main() -> None:
    directory = sys.argv[1]
    rng = Rng(0x5EED1E5)
    corpus = {
        "prose.txt": prose(rng, 24000),
        "source.c": source_code(rng, 16000),
        "records.bin": records(rng, 12000),
        "gradient.bmp": gradient_image(16384),
        "runs.bin": runs(rng, 20000),
        "exact_8192.txt": prose(rng, 8192),
        "exact_8193.txt": prose(rng, 8193),
        "repeat_6000.bin": repeated_block(rng, 6000, 3),
        "repeat_8190.bin": repeated_block(rng, 8190, 2),
        "zeros.bin": bytes(20000),
        "letter_a.txt": b"a" * 3000,
        "multiblock.txt": prose(rng, 64000) + source_code(rng, 16000),
        "mixed.bin": mixed(rng),
        # jlha stores these two instead of compressing them: they show the skip.
        "tiny.txt": b"label\n",
        "random.bin": rng.bytes(3000),
    }
    for name, data in corpus.items():
        with open(os.path.join(directory, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
