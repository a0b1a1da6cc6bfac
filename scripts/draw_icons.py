#!/usr/bin/env python3
"""Draws the program's icons as PNG files into resources/icons (run once after changing a drawing)."""
import math
import os
import struct
import zlib

SS = 4  # supersampling factor for smooth edges


def rgba(hexcol, alpha=255):
    h = hexcol.lstrip('#')
    return (int(h[0:2], 16), int(h[2:4], 16), int(h[4:6], 16), alpha)


class Canvas:
    def __init__(self, size):
        self.size = size
        self.n = size * SS
        self.px = [[(0, 0, 0, 0)] * self.n for _ in range(self.n)]

    def _blend(self, x, y, col):
        r, g, b, a = col
        pr, pg, pb, pa = self.px[y][x]
        fa = a / 255.0
        na = a + pa * (1 - fa)
        if na == 0:
            return
        mix = lambda c, pc: int((c * a + pc * pa * (1 - fa)) / na)
        self.px[y][x] = (mix(r, pr), mix(g, pg), mix(b, pb), int(na))

    def fill(self, inside, col, box=None):
        x0, y0, x1, y1 = box if box else (0, 0, self.size, self.size)
        for y in range(max(0, int(y0 * SS) - 1), min(self.n, int(y1 * SS) + 2)):
            for x in range(max(0, int(x0 * SS) - 1), min(self.n, int(x1 * SS) + 2)):
                if inside((x + 0.5) / SS, (y + 0.5) / SS):
                    self._blend(x, y, col)

    def rect(self, x, y, w, h, col, r=0):
        def inside(px, py):
            if not (x <= px <= x + w and y <= py <= y + h):
                return False
            cx = min(max(px, x + r), x + w - r)
            cy = min(max(py, y + r), y + h - r)
            return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
        self.fill(inside, col, (x, y, x + w, y + h))

    def circle(self, cx, cy, rad, col, inner=0):
        def inside(px, py):
            d = (px - cx) ** 2 + (py - cy) ** 2
            return inner * inner <= d <= rad * rad
        self.fill(inside, col, (cx - rad, cy - rad, cx + rad, cy + rad))

    def poly(self, pts, col):
        def inside(px, py):
            c = False
            j = len(pts) - 1
            for i in range(len(pts)):
                xi, yi = pts[i]
                xj, yj = pts[j]
                if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
                    c = not c
                j = i
            return c
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        self.fill(inside, col, (min(xs), min(ys), max(xs), max(ys)))

    def line(self, x0, y0, x1, y1, width, col):
        dx, dy = x1 - x0, y1 - y0
        ln = math.hypot(dx, dy) or 1
        def inside(px, py):
            t = max(0, min(1, ((px - x0) * dx + (py - y0) * dy) / (ln * ln)))
            qx, qy = x0 + t * dx, y0 + t * dy
            return (px - qx) ** 2 + (py - qy) ** 2 <= (width / 2) ** 2
        w = width
        self.fill(inside, col, (min(x0, x1) - w, min(y0, y1) - w, max(x0, x1) + w, max(y0, y1) + w))

    def save(self, path):
        rows = []
        for y in range(self.size):
            row = bytearray(b'\x00')
            for x in range(self.size):
                acc = [0, 0, 0, 0]
                for sy in range(SS):
                    for sx in range(SS):
                        r, g, b, a = self.px[y * SS + sy][x * SS + sx]
                        acc[0] += r * a
                        acc[1] += g * a
                        acc[2] += b * a
                        acc[3] += a
                if acc[3]:
                    row += bytes([acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], acc[3] // (SS * SS)])
                else:
                    row += b'\x00\x00\x00\x00'
            rows.append(bytes(row))
        def chunk(tag, data):
            c = struct.pack('>I', len(data)) + tag + data
            return c + struct.pack('>I', zlib.crc32(tag + data) & 0xffffffff)
        png = b'\x89PNG\r\n\x1a\n'
        png += chunk(b'IHDR', struct.pack('>IIBBBBB', self.size, self.size, 8, 6, 0, 0, 0))
        png += chunk(b'IDAT', zlib.compress(b''.join(rows), 9))
        png += chunk(b'IEND', b'')
        with open(path, 'wb') as f:
            f.write(png)


NAVY, BLUE, WHITE, GREY = rgba('#1d3a6e'), rgba('#3b78d8'), rgba('#ffffff'), rgba('#8a8f98')
GREEN, RED, YELLOW, DARK = rgba('#2e9a48'), rgba('#d23c32'), rgba('#f2c230'), rgba('#333840')


def box_icon(c, s, tint):
    """An archive box: the program's mark."""
    k = s / 32
    c.rect(4 * k, 9 * k, 24 * k, 19 * k, NAVY, 3 * k)
    c.rect(5.5 * k, 10.5 * k, 21 * k, 16 * k, tint, 2 * k)
    c.rect(3 * k, 5 * k, 26 * k, 6 * k, NAVY, 2 * k)
    c.rect(4.5 * k, 6.5 * k, 23 * k, 3 * k, tint, 1 * k)
    for i in range(4):  # the zipper
        c.rect(15 * k, (11 + 3.5 * i) * k, 2 * k, 2 * k, WHITE)


def clock(c, s, cx, cy, r, face=WHITE):
    c.circle(cx, cy, r, NAVY)
    c.circle(cx, cy, r * 0.78, face)
    c.line(cx, cy, cx, cy - r * 0.6, max(1.2, r * 0.18), NAVY)
    c.line(cx, cy, cx + r * 0.45, cy + r * 0.1, max(1.2, r * 0.18), NAVY)


def document(c, s):
    k = s / 16
    c.poly([(3 * k, 1 * k), (10 * k, 1 * k), (13 * k, 4 * k), (13 * k, 15 * k), (3 * k, 15 * k)], DARK)
    c.poly([(4 * k, 2 * k), (9.5 * k, 2 * k), (12 * k, 4.5 * k), (12 * k, 14 * k), (4 * k, 14 * k)], WHITE)
    for y in (6, 8.5, 11):
        c.rect(5.5 * k, y * k, 5 * k, 1 * k, GREY)


def folder(c, s):
    k = s / 16
    c.rect(1 * k, 3 * k, 6 * k, 3 * k, rgba('#b8860b'), 1 * k)
    c.rect(1 * k, 4.5 * k, 14 * k, 10 * k, rgba('#b8860b'), 1 * k)
    c.rect(2 * k, 6 * k, 12 * k, 7.5 * k, YELLOW, 0.6 * k)


def draw(name, size, fn):
    c = Canvas(size)
    fn(c, size)
    c.save(os.path.join(OUT, name + '.png'))


def plus(c, s, col=GREEN):
    c.line(s * 0.72, s * 0.52, s * 0.72, s * 0.92, s * 0.14, col)
    c.line(s * 0.52, s * 0.72, s * 0.92, s * 0.72, s * 0.14, col)


OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'resources', 'icons')
os.makedirs(OUT, exist_ok=True)

draw('app', 48, lambda c, s: box_icon(c, s, BLUE))
draw('forauto', 32, lambda c, s: (box_icon(c, s, BLUE), clock(c, s, 23, 23, 8.5, rgba('#c8f0c8'))))
draw('fornormal', 32, lambda c, s: box_icon(c, s, GREY))
draw('clock', 16, lambda c, s: clock(c, s, 8, 8, 7.5))
draw('document', 16, document)
draw('folder', 16, folder)
draw('add', 24, lambda c, s: (document(c, s), plus(c, s)))
draw('edit', 24, lambda c, s: (document(c, s), c.line(s * 0.35, s * 0.95, s * 0.95, s * 0.35, s * 0.16, rgba('#d08a1c'))))
draw('save', 24, lambda c, s: (c.rect(2, 2, 20, 20, NAVY, 2), c.rect(6, 3, 12, 7, WHITE), c.rect(5, 13, 14, 8, rgba('#d0d8e8'))))
draw('cancel', 24, lambda c, s: (c.line(5, 5, 19, 19, 3.5, RED), c.line(19, 5, 5, 19, 3.5, RED)))
draw('rename', 24, lambda c, s: (c.rect(2, 7, 20, 10, DARK, 2), c.rect(3.5, 8.5, 17, 7, WHITE, 1), c.rect(6, 10, 1.5, 4, NAVY), c.rect(9, 11, 8, 2, GREY)))
draw('copy', 24, lambda c, s: (c.rect(2, 2, 13, 15, DARK, 1), c.rect(3, 3, 11, 13, WHITE), c.rect(9, 7, 13, 15, DARK, 1), c.rect(10, 8, 11, 13, WHITE)))
draw('delete', 24, lambda c, s: (c.rect(6, 7, 12, 15, DARK, 2), c.rect(7.5, 8.5, 9, 12, rgba('#e6e6e6'), 1), c.rect(4, 4, 16, 2.5, DARK, 1), c.rect(10, 2, 4, 2.5, DARK),
                                  c.rect(9.5, 10, 1.5, 9, GREY), c.rect(13, 10, 1.5, 9, GREY)))
draw('menu', 24, lambda c, s: [c.rect(4, y, 16, 2.6, DARK, 1) for y in (5, 11, 17)])
draw('schedule', 24, lambda c, s: clock(c, s, 12, 12, 10, rgba('#c8f0c8')))
draw('backup', 24, lambda c, s: (box_icon(c, s, BLUE), c.poly([(12, 0), (20, 0), (16, 5)], GREEN)))
draw('restore', 24, lambda c, s: (box_icon(c, s, BLUE), c.poly([(16, 0), (12, 5), (20, 5)], rgba('#d08a1c'))))
draw('exit', 24, lambda c, s: (c.rect(3, 2, 11, 20, DARK, 1), c.rect(4.5, 3.5, 8, 17, rgba('#e6e6e6')), c.line(10, 12, 21, 12, 3, RED), c.poly([(22.5, 12), (17, 7), (17, 17)], RED)))
draw('browse', 16, folder)
