#!/usr/bin/env python3
"""Draws the program's two icons as 16-colour .ico files.

folvane.ico: the application icon, a padlock in front of a folder.
main.ico:    the main window's own icon, also shown in the notification area: a padlock.

Each holds an image for every size the system asks for at the usual scales (100 % to 200 %):
the small icons of 16, 20, 24 and 32 pixels and the large ones of 32, 40, 48 and 64, so that
no icon is stretched on any monitor. The 32x32 and 16x16 images are drawn by hand; the others
are the same drawing scaled.

Run from this folder: python3 make_icons.py
"""
import struct

# The standard 16-colour palette.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, OLIVE, SILVER, GRAY, YELLOW, WHITE, NAVY, BLUE = 0, 3, 7, 8, 11, 15, 4, 12
CLEAR = None


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[CLEAR] * size for _ in range(size)]

    def set(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def box(self, left, top, right, bottom, fill, edge):
        """A filled rectangle, corners inclusive, with a one-pixel edge."""
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                border = x in (left, right) or y in (top, bottom)
                self.set(x, y, edge if border else fill)

    def shackle(self, left, right, top, bottom, thickness, fill, edge):
        """The bow of a padlock: a half ring over two legs, from top down to bottom."""
        cx = (left + right) / 2
        outer = (right - left) / 2 + 0.5
        inner = outer - thickness
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                dx = x - cx
                dy = max(0.0, (top + outer - 0.5) - y)
                d = (dx * dx + dy * dy) ** 0.5
                if inner - 0.5 <= d <= outer + 0.1:
                    self.set(x, y, edge if d < inner + 0.5 or d > outer - 0.9 else fill)


def folder(c, left, top, right, bottom, tab):
    c.box(left, top, left + tab, top + 2, YELLOW, OLIVE)
    c.box(left, top + 2, right, bottom, YELLOW, OLIVE)
    for x in range(left + 1, right):
        c.set(x, top + 3, WHITE)


def padlock(c, left, top, right, bottom, bow_top, thickness, body):
    c.shackle(left + 2, right - 2, bow_top, top, thickness, SILVER, GRAY if body != GRAY else BLACK)
    c.box(left, top, right, bottom, body, BLACK)
    mid = (left + right) // 2
    height = bottom - top
    for y in range(top + height // 3, bottom - height // 4):
        c.set(mid, y, BLACK)
        if (right - left) >= 10:
            c.set(mid + 1, y, BLACK)
    for x in range(left + 1, right):
        c.set(x, top + 1, WHITE if body != YELLOW else WHITE)


def app_icon_32():
    c = Canvas(32)
    folder(c, 1, 4, 26, 24, 10)
    padlock(c, 14, 17, 30, 30, 8, 3, NAVY)
    return c


def app_icon_16():
    c = Canvas(16)
    folder(c, 0, 2, 13, 12, 5)
    padlock(c, 7, 9, 15, 15, 4, 2, NAVY)
    return c


def main_icon_16():
    c = Canvas(16)
    padlock(c, 2, 7, 13, 15, 0, 2, YELLOW)
    return c


def scaled(value, scale):
    return int(round(value * scale))


def app_icon(size):
    if size == 32:
        return app_icon_32()
    if size == 16:
        return app_icon_16()
    c = Canvas(size)
    s = size / 32
    folder(c, scaled(1, s), scaled(4, s), scaled(26, s), scaled(24, s), scaled(10, s))
    padlock(c, scaled(14, s), scaled(17, s), scaled(30, s), scaled(30, s), scaled(8, s),
            max(2, scaled(3, s)), NAVY)
    return c


def main_icon(size):
    if size == 16:
        return main_icon_16()
    c = Canvas(size)
    s = size / 16
    padlock(c, scaled(2, s), scaled(7, s), scaled(13, s), scaled(15, s), 0, max(2, scaled(2, s)),
            YELLOW)
    return c


SIZES = [64, 48, 40, 32, 24, 20, 16]


def image_bytes(canvas):
    size = canvas.size
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):  # bottom-up
        row = canvas.pixels[y]
        nibbles = [(p if p is not None else 0) for p in row]
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(data + b'\0' * (-len(data) % 4))
        bits = 0
        mask = bytearray()
        for i, p in enumerate(row):
            bits = (bits << 1) | (1 if p is None else 0)
            if i % 8 == 7:
                mask.append(bits)
                bits = 0
        if size % 8:  # a row whose width is no multiple of 8 ends in part of a byte
            mask.append(bits << (8 - size % 8))
        and_rows.append(bytes(mask) + b'\0' * (-len(mask) % 4))
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def write_ico(path, canvases):
    images = [image_bytes(c) for c in canvases]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, data in zip(canvases, images):
        out += struct.pack('<BBBBHHII', canvas.size, canvas.size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    write_ico('folvane.ico', [app_icon(size) for size in SIZES])
    write_ico('main.ico', [main_icon(size) for size in SIZES])
