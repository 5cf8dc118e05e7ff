#!/usr/bin/python3
"""Draws the page pictures (24-bit BMP) and the program icon (16 colours and monochrome).

Everything is drawn from code so that every build has the same bytes.
Usage: make_pictures.py OUTPUT_FOLDER
"""
import os
import struct
import sys

PAGE_COLOR = (0, 127, 190)
BLACK, WHITE = (0, 0, 0), (255, 255, 255)

# A 5x7 block font for the letters the pictures need.
FONT = {
    "Z": ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    "X": ["10001", "01010", "00100", "00100", "00100", "01010", "10001"],
}


class Canvas:
    def __init__(self, width, height, color):
        self.width, self.height = width, height
        self.pixels = [[color] * width for _ in range(height)]

    def rect(self, x0, y0, x1, y1, color):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.pixels[y][x] = color

    def text(self, x, y, word, scale, color, shadow=None):
        for i, letter in enumerate(word):
            for row, bits in enumerate(FONT[letter]):
                for col, bit in enumerate(bits):
                    if bit == "1":
                        px, py = x + (i * 6 + col) * scale, y + row * scale
                        if shadow:
                            self.rect(px + 2, py + 2, px + scale + 2, py + scale + 2, shadow)
                        self.rect(px, py, px + scale, py + scale, color)

    def bmp(self):
        stride = (self.width * 3 + 3) & ~3
        rows = b""
        for y in reversed(range(self.height)):  # bottom-up
            row = b"".join(bytes((b, g, r)) for r, g, b in self.pixels[y])
            rows += row + b"\0" * (stride - len(row))
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
        header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
        return header + info + rows


def banner():
    c = Canvas(300, 100, PAGE_COLOR)
    c.text(16, 22, "ZENTROBEL", 5, (255, 214, 0), shadow=(0, 60, 100))
    c.rect(16, 70, 284, 74, WHITE)
    return c


def logo():
    c = Canvas(140, 75, PAGE_COLOR)
    c.rect(8, 10, 132, 65, (0, 60, 100))
    c.rect(12, 14, 128, 61, WHITE)
    c.text(17, 27, "MURVEX", 3, (0, 60, 100))
    return c


def picture():
    c = Canvas(150, 200, PAGE_COLOR)
    for y in range(200):  # a night sky fading into the horizon
        shade = min(255, 30 + y)
        c.rect(0, y, 150, y + 1, (10, shade // 3, shade))
    c.rect(0, 150, 150, 200, (30, 110, 40))                       # ground
    c.rect(60, 60, 90, 150, (200, 200, 210))                      # a tower
    c.rect(55, 50, 95, 60, (160, 160, 170))
    for y in range(70, 145, 15):
        c.rect(70, y, 80, y + 8, (255, 214, 0))                   # lit windows
    c.rect(20, 20, 24, 24, WHITE)
    c.rect(120, 35, 123, 38, WHITE)
    return c


def icon_image(bits, palette, pattern):
    """One ICO image of 32x32: a header with doubled height, palette, colour bits, AND mask."""
    per_byte = 8 // bits
    xor = b""
    for y in reversed(range(32)):
        row = 0
        for x in range(32):
            row = (row << bits) | pattern(x, y)
        xor += row.to_bytes(32 // per_byte, "big")
    mask = b"\0" * (4 * 32)  # fully opaque
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, bits, 0, len(xor) + len(mask), 0, 0, len(palette), 0)
    colors = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + colors + xor + mask


def icon():
    palette16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
                 (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
                 (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    zed = FONT["Z"]

    def in_zed(x, y):
        col, row = (x - 3) // 5, (y - 1) // 4 - 0
        return 0 <= row < 7 and 0 <= col < 5 and zed[row][col] == "1" and 3 <= x < 28

    color = icon_image(4, palette16, lambda x, y: 11 if in_zed(x, y) else 4)
    mono = icon_image(1, [BLACK, WHITE], lambda x, y: 1 if in_zed(x, y) else 0)
    images = [color, mono]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for image, count, bits in zip(images, (16, 2), (4, 1)):
        entries += struct.pack("<BBBBHHII", 32, 32, count % 256, 0, 1, bits, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, canvas in (("picture.bmp", picture()), ("logo.bmp", logo()), ("banner.bmp", banner())):
        with open(os.path.join(out, name), "wb") as f:
            f.write(canvas.bmp())
    with open(os.path.join(out, "setup.ico"), "wb") as f:
        f.write(icon())


if __name__ == "__main__":
    main()
