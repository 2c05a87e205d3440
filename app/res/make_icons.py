#!/usr/bin/env python3
"""Draws the program's two icons as 16-colour .ico files.

folvane.ico: the application icon, a padlock in front of a folder (32x32 and 16x16).
main.ico:    the main window's own icon, also shown in the notification area: a padlock (16x16).

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
    write_ico('folvane.ico', [app_icon_32(), app_icon_16()])
    write_ico('main.ico', [main_icon_16()])
