#!/usr/bin/env python3
"""Writes the raw compressed data of the single entry of an LZH archive.

Usage: lzh_raw_stream.py ARCHIVE OUTPUT
Reads header levels 0, 1 and 2. Exit status 0 when an -lh5- stream was written,
3 when the entry holds another method (jlha stores tiny and incompressible files
as -lh0-), 1 on a malformed archive.
"""
import struct
import sys


def entry_data(archive: bytes):
    """Returns (method, data) of the archive's first entry."""
    if len(archive) < 22:
        raise ValueError("archive shorter than a header")
    level = archive[20]
    method = archive[2:7].decode("ascii")
    packed, = struct.unpack_from("<I", archive, 7)
    if level in (0, 1):
        # Byte 0 counts the header from byte 2 on. Level 1 then chains extended
        # headers, and its packed size counts them as well as the data.
        start = archive[0] + 2
        if level == 1:
            next_size, = struct.unpack_from("<H", archive, start - 2)
            while next_size:
                packed -= next_size
                start += next_size
                next_size, = struct.unpack_from("<H", archive, start - 2)
    elif level == 2:
        # Bytes 0-1 give the size of the whole header, extended headers included.
        start, = struct.unpack_from("<H", archive, 0)
    else:
        raise ValueError(f"header level {level} is not known")
    if packed < 0 or start + packed > len(archive):
        raise ValueError("data runs past the end of the archive")
    return method, archive[start:start + packed]


def main() -> int:
    archive_path, output_path = sys.argv[1], sys.argv[2]
    with open(archive_path, "rb") as f:
        archive = f.read()
    try:
        method, data = entry_data(archive)
    except (ValueError, struct.error) as error:
        print(f"{archive_path}: {error}", file=sys.stderr)
        return 1
    if method != "-lh5-":
        print(f"{archive_path}: stored as {method}, no stream", file=sys.stderr)
        return 3
    with open(output_path, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
