"""Writes an RGBA picture as a PNG file, for the scripts that draw the plug-in's small images."""
import struct
import zlib


def write_png(path, size, rows):
    """rows: the filtered scan lines of a size x size RGBA picture (a 0 byte before each row)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)
