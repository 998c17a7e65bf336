#!/usr/bin/env python3
"""Draws the installer's skin images into skin/res/ and its window icon into skin/icon/.

Every picture is built from a few anti-aliased shapes (signed distance fields) in one calm
palette: white surfaces, blue-grey lines and one blue accent. Run it after changing a shape;
the PNGs it writes are committed beside it.

    python3 skin/art/render_images.py [OUTPUT_DIR]
"""
import math
import os
import struct
import sys
import zlib

ACCENT = (0x16, 0x75, 0xFE)
ACCENT_HOT = (0x5A, 0x9D, 0xFD)
ACCENT_PUSHED = (0x13, 0x65, 0xDB)
INK = (0x28, 0x2A, 0x43)
MUTED = (0x89, 0x91, 0xAF)
LINE = (0xD5, 0xDB, 0xE8)
GREEN = (0x27, 0xB3, 0x7A)
AMBER = (0xFA, 0xAD, 0x14)


def hex_rgb(value):
    return ((value >> 16) & 255, (value >> 8) & 255, value & 255)


class Canvas:
    """Straight-alpha RGBA pixels composited with the source-over rule."""

    def __init__(self, width, height):
        self.w, self.h = width, height
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def blend(self, x, y, rgb, alpha):
        if alpha <= 0.0:
            return
        p = self.px[y * self.w + x]
        out_a = alpha + p[3] * (1.0 - alpha)
        for i in range(3):
            p[i] = (rgb[i] * alpha + p[i] * p[3] * (1.0 - alpha)) / out_a
        p[3] = out_a

    def fill(self, sdf, color, bbox=None, opacity=1.0, feather=0.5):
        """Paints where sdf(x, y) < 0; color is an (r, g, b) or a function of (x, y)."""
        x0, y0, x1, y1 = bbox or (0, 0, self.w, self.h)
        x0, y0 = max(0, int(x0) - 1), max(0, int(y0) - 1)
        x1, y1 = min(self.w, int(x1) + 2), min(self.h, int(y1) + 2)
        for y in range(y0, y1):
            cy = y + 0.5
            for x in range(x0, x1):
                cx = x + 0.5
                d = sdf(cx, cy)
                coverage = min(1.0, max(0.0, 0.5 - d / (2 * feather)))
                if coverage > 0.0:
                    rgb = color(cx, cy) if callable(color) else color
                    self.blend(x, y, rgb, coverage * opacity)

    def png(self, path):
        pixels = [bytes((round(r), round(g), round(b), round(a * 255))) for r, g, b, a in self.px]
        colors = sorted(set(pixels))
        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
        if len(colors) <= 256:
            # A palette keeps these pictures exact at a quarter of the bytes to inflate.
            index = {c: i for i, c in enumerate(colors)}
            rows = bytearray()
            for y in range(self.h):
                rows.append(0)
                rows += bytes(index[p] for p in pixels[y * self.w:(y + 1) * self.w])
            extra = chunk(b"PLTE", b"".join(c[:3] for c in colors))
            if any(c[3] < 255 for c in colors):
                extra += chunk(b"tRNS", bytes(c[3] for c in colors))
            header = struct.pack(">IIBBBBB", self.w, self.h, 8, 3, 0, 0, 0)
        else:
            rows = bytearray()
            for y in range(self.h):
                rows.append(0)
                rows += b"".join(pixels[y * self.w:(y + 1) * self.w])
            extra = b""
            header = struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)
        # Stored (uncompressed) deflate blocks: the skin's solid LZMA2 archive compresses the
        # raw rows far better than it compresses deflate output, and the decoder then copies
        # the rows instead of decoding Huffman codes pixel by pixel.
        blob = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra +
                chunk(b"IDAT", zlib.compress(bytes(rows), 0)) + chunk(b"IEND", b""))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(blob)


# ---- Shapes -------------------------------------------------------------------------------

def rounded_rect(x0, y0, x1, y1, r):
    cx, cy, hw, hh = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2
    def sdf(x, y):
        qx, qy = abs(x - cx) - hw + r, abs(y - cy) - hh + r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return sdf


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2


def segment(ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9
    def sdf(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - width / 2
    return sdf


def polyline(points, width):
    parts = [segment(*points[i], *points[i + 1], width) for i in range(len(points) - 1)]
    return lambda x, y: min(p(x, y) for p in parts)


def arc(cx, cy, r, width, start, sweep):
    """A stroke along the circle from angle start (radians, clockwise from 12 o'clock)."""
    def sdf(x, y):
        angle = math.atan2(x - cx, -(y - cy)) % (2 * math.pi)
        offset = (angle - start) % (2 * math.pi)
        if offset <= sweep:
            return abs(math.hypot(x - cx, y - cy) - r) - width / 2
        ends = [start, start + sweep]
        return min(math.hypot(x - cx - r * math.sin(a), y - cy + r * math.cos(a))
                   for a in ends) - width / 2
    return sdf


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def vertical(top, bottom, y0, y1):
    def color(x, y):
        t = min(1.0, max(0.0, (y - y0) / ((y1 - y0) or 1)))
        return tuple(top[i] + (bottom[i] - top[i]) * t for i in range(3))
    return color


def lighten(rgb, amount):
    return tuple(c + (255 - c) * amount for c in rgb)


def darken(rgb, amount):
    return tuple(c * (1 - amount) for c in rgb)


# ---- Pictures -----------------------------------------------------------------------------

def background(tint, glow):
    c = Canvas(600, 400)
    c.fill(lambda x, y: -1.0, vertical((255, 255, 255), tint, 0, 400))
    # Two soft light discs at the top right give depth without drawing attention.
    c.fill(circle(560, 10, 170), glow, (390, 0, 600, 180), opacity=0.10, feather=40)
    c.fill(circle(470, -40, 120), glow, (350, 0, 590, 80), opacity=0.07, feather=30)
    c.fill(rounded_rect(0, 0, 600, 1, 0), LINE, (0, 0, 600, 1), opacity=0.6)
    return c


def emblem(c, x, y, size):
    c.fill(rounded_rect(x, y, x + size, y + size, size * 0.26),
           vertical(lighten(ACCENT, 0.2), ACCENT_PUSHED, y, y + size), (x, y, x + size, y + size))
    cx, cy, r = x + size / 2, y + size / 2, size * 0.24
    c.fill(ring(cx, cy, r, size * 0.09), (255, 255, 255), (x, y, x + size, y + size))
    c.fill(segment(cx + r * 0.45, cy + r * 0.45, cx + r * 1.15, cy + r * 1.15, size * 0.09),
           (255, 255, 255), (x, y, x + size, y + size))


# Stroke letters on a 10 x 14 grid, as polylines and arcs.
LETTERS = {
    "Q": lambda ox, s, w: union(ring(ox + 5 * s, 7 * s, 5 * s, w),
                                segment(ox + 7 * s, 10 * s, ox + 10.5 * s, 13.5 * s, w)),
    "U": lambda ox, s, w: union(segment(ox + 0.5 * s, 2 * s, ox + 0.5 * s, 8.5 * s, w),
                                segment(ox + 9.5 * s, 2 * s, ox + 9.5 * s, 8.5 * s, w),
                                arc(ox + 5 * s, 8.5 * s, 4.5 * s, w, math.pi / 2, math.pi)),
    "I": lambda ox, s, w: segment(ox + 1 * s, 2 * s, ox + 1 * s, 12 * s, w),
    "L": lambda ox, s, w: polyline([(ox + 0.5 * s, 2 * s), (ox + 0.5 * s, 12 * s),
                                    (ox + 7.5 * s, 12 * s)], w),
    "O": lambda ox, s, w: ring(ox + 5 * s, 7 * s, 5 * s, w),
    "N": lambda ox, s, w: polyline([(ox + 0.5 * s, 12 * s), (ox + 0.5 * s, 2 * s),
                                    (ox + 8.5 * s, 12 * s), (ox + 8.5 * s, 2 * s)], w),
}
ADVANCE = {"Q": 13, "U": 12.5, "I": 4, "L": 9.5, "O": 12.5, "N": 11.5}


def logo():
    c = Canvas(348, 62)
    emblem(c, 8, 4, 54)
    s, w, x = 3.0, 3.2, 84.0
    for letter in "QUILLON":
        shape = LETTERS[letter](x, s, w)
        c.fill(lambda px, py, f=shape: f(px, py - 10), INK, (x - 4, 10, x + 12 * s, 58))
        x += ADVANCE[letter] * s
    return c


def pill_button(width, height, base, shade):
    c = Canvas(width, height)
    c.fill(rounded_rect(1, 2, width - 1, height, height / 2 - 1), darken(base, 0.3),
           opacity=0.18, feather=1.5)
    c.fill(rounded_rect(1, 1, width - 1, height - 2, height / 2 - 1.5),
           vertical(lighten(base, shade), base, 1, height - 2))
    return c


def glyph_button(size, shape, color, backdrop=None):
    c = Canvas(size, size)
    if backdrop:
        c.fill(circle(size / 2, size / 2, size / 2 - 1), backdrop)
    c.fill(shape, color)
    return c


def close_shape(size, half, width):
    m = size / 2
    return union(segment(m - half, m - half, m + half, m + half, width),
                 segment(m - half, m + half, m + half, m - half, width))


def check_box(checked):
    c = Canvas(15, 14)
    box = rounded_rect(1, 0.5, 14, 13.5, 3)
    if checked:
        c.fill(box, ACCENT)
        c.fill(polyline([(4.2, 7.2), (6.6, 9.6), (10.8, 4.6)], 1.6), (255, 255, 255))
    else:
        c.fill(box, (0xB8, 0xC0, 0xD6))
        c.fill(rounded_rect(2, 1.5, 13, 12.5, 2.2), (255, 255, 255))
    return c


def chevron(size, points, color, width=1.6):
    c = Canvas(size, size)
    c.fill(polyline(points, width), color)
    return c


def field():
    c = Canvas(340, 36)
    c.fill(rounded_rect(0.5, 0.5, 339.5, 35.5, 4), LINE)
    c.fill(rounded_rect(1.5, 1.5, 338.5, 34.5, 3.2), (255, 255, 255))
    return c


def small_button(color):
    c = Canvas(80, 36)
    c.fill(rounded_rect(0.5, 0.5, 79.5, 35.5, 4), vertical(lighten(color, 0.12), color, 0, 36))
    return c


def bar(color_top, color_bottom):
    c = Canvas(520, 8)
    c.fill(rounded_rect(0, 0, 520, 8, 2), vertical(color_top, color_bottom, 0, 8))
    return c


def tip():
    c = Canvas(120, 36)
    fill, edge = (0xFF, 0xF7, 0xE8), (0xF5, 0xC0, 0x6A)
    bubble = union(rounded_rect(0.5, 0.5, 119.5, 29.5, 4),
                   polyline([(14, 29), (20, 35), (26, 29)], 0.1),
                   lambda x, y: -1.0 if 29 <= y <= 35 - abs(x - 20) and y < 35 else 1.0)
    c.fill(lambda x, y: bubble(x, y) - 0.0, edge)
    inner = union(rounded_rect(1.5, 1.5, 118.5, 28.5, 3.2),
                  lambda x, y: -1.0 if 28 <= y <= 33.5 - abs(x - 20) else 1.0)
    c.fill(inner, fill)
    return c


def finished():
    c = Canvas(80, 80)
    c.fill(circle(40, 40, 38), lighten(GREEN, 0.85))
    c.fill(circle(40, 40, 30), vertical(lighten(GREEN, 0.15), GREEN, 10, 70))
    c.fill(polyline([(27, 41), (36, 50), (54, 31)], 5.5), (255, 255, 255))
    return c


def dialog_icon(base, mark):
    c = Canvas(40, 40)
    c.fill(circle(20, 20, 19), lighten(base, 0.82))
    c.fill(circle(20, 20, 15), base)
    c.fill(mark, (255, 255, 255))
    return c


def question_mark():
    return union(arc(20, 16.5, 4.5, 3, 5.2, 4.0),
                 segment(20, 21, 20, 22.5, 3), circle(20, 27.5, 1.8))


def warning_mark():
    return union(segment(20, 12, 20, 22, 3.2), circle(20, 27.5, 1.9))


def network_mark():
    return union(arc(20, 27, 11, 2.6, -0.75, 1.5), arc(20, 27, 6.5, 2.6, -0.75, 1.5),
                 circle(20, 27, 2.2))


def spinner_frame(index, count):
    """One frame of the progress animation: a head sweeping around a quiet track, with a
    download arrow in the middle; frame count wraps onto frame 0 without a jump."""
    c = Canvas(156, 154)
    cx, cy, r = 78, 77, 58
    c.fill(circle(cx, cy, 70), lighten(ACCENT, 0.94))
    c.fill(ring(cx, cy, r, 8), lighten(ACCENT, 0.82), (cx - 66, cy - 66, cx + 66, cy + 66))
    head = 2 * math.pi * index / count
    trail = 2 * math.pi * 0.28
    def color(x, y):
        angle = math.atan2(x - cx, -(y - cy)) % (2 * math.pi)
        t = ((angle - (head - trail)) % (2 * math.pi)) / trail
        return tuple(lighten(ACCENT, 0.7)[i] + (ACCENT[i] - lighten(ACCENT, 0.7)[i]) * min(1, t)
                     for i in range(3))
    c.fill(arc(cx, cy, r, 8, (head - trail) % (2 * math.pi), trail), color,
           (cx - 66, cy - 66, cx + 66, cy + 66))
    bob = 3 * math.sin(2 * math.pi * index / count)
    c.fill(segment(cx, cy - 20 + bob, cx, cy + 12 + bob, 7), ACCENT, (cx - 20, cy - 30, cx + 20, cy + 30))
    c.fill(polyline([(cx - 14, cy - 1 + bob), (cx, cy + 13 + bob), (cx + 14, cy - 1 + bob)], 7),
           ACCENT, (cx - 22, cy - 12, cx + 22, cy + 26))
    c.fill(segment(cx - 22, cy + 26, cx + 22, cy + 26, 5), lighten(ACCENT, 0.35),
           (cx - 26, cy + 20, cx + 26, cy + 32))
    return c


def pictures():
    grey_hot = (0xE9, 0xED, 0xF5)
    grey_pushed = (0xDA, 0xDF, 0xEA)
    back = [(37, 9), (31, 15), (37, 21)]
    out = {
        "res/mainWnd/bg1.png": lambda: background((0xF1, 0xF5, 0xFC), ACCENT),
        "res/mainWnd/bg2.png": lambda: background((0xF3, 0xF6, 0xFB), ACCENT),
        "res/mainWnd/bg3.png": lambda: background((0xF0, 0xF5, 0xFD), ACCENT_HOT),
        "res/mainWnd/bg4.png": lambda: background((0xF0, 0xF8, 0xF5), GREEN),
        "res/mainWnd/logo.png": logo,
        "res/mainWnd/installBtn1.png": lambda: pill_button(200, 46, ACCENT, 0.18),
        "res/mainWnd/installBtn2.png": lambda: pill_button(200, 46, ACCENT_HOT, 0.15),
        "res/mainWnd/installBtn3.png": lambda: pill_button(200, 46, ACCENT_PUSHED, 0.05),
        "res/mainWnd/backBtn1.png": lambda: chevron_button(None, back),
        "res/mainWnd/backBtn2.png": lambda: chevron_button(grey_hot, back),
        "res/mainWnd/backBtn3.png": lambda: chevron_button(grey_pushed, back),
        "res/mainWnd/Cb1.png": lambda: check_box(False),
        "res/mainWnd/Cb2.png": lambda: check_box(True),
        "res/mainWnd/customeBtn1.png": lambda: chevron(16, [(6, 4), (10, 8), (6, 12)], MUTED),
        "res/mainWnd/customeBtn2.png": lambda: chevron(16, [(6, 4), (10, 8), (6, 12)], INK),
        "res/mainWnd/chDirBtn1.png": lambda: small_button(ACCENT),
        "res/mainWnd/chDirBt2.png": lambda: small_button(ACCENT_HOT),
        "res/mainWnd/chDirBt3.png": lambda: small_button(ACCENT_PUSHED),
        "res/mainWnd/installDirEdit.png": field,
        "res/mainWnd/installPrg1.png": lambda: bar((0xE1, 0xE7, 0xF2), (0xE8, 0xED, 0xF6)),
        "res/mainWnd/installPrg2.png": lambda: bar(lighten(ACCENT, 0.25), ACCENT),
        "res/mainWnd/tipLbl.png": tip,
        "res/mainWnd/finished.png": finished,
        "res/MessageBoxWnd/icoQuest.png": lambda: dialog_icon(ACCENT, question_mark()),
        "res/MessageBoxWnd/icoNetwork.png": lambda: dialog_icon(AMBER, network_mark()),
        "res/MessageBoxWnd/icoWarn.png": lambda: dialog_icon(AMBER, warning_mark()),
    }
    for prefix, color, hot, pushed in (("closebtn", MUTED, INK, INK),
                                       ("closebtnM_", (0x99, 0x99, 0x99), INK, INK)):
        shape = close_shape(24, 4.5, 1.6)
        out[f"res/common/{prefix}1.png"] = lambda s=shape, c=color: glyph_button(24, s, c)
        out[f"res/common/{prefix}2.png"] = lambda s=shape, c=hot: glyph_button(24, s, c, grey_hot)
        out[f"res/common/{prefix}3.png"] = lambda s=shape, c=pushed: glyph_button(24, s, c,
                                                                                  grey_pushed)
    minus = segment(7.5, 12, 16.5, 12, 1.6)
    out["res/common/minbtn1.png"] = lambda: glyph_button(24, minus, MUTED)
    out["res/common/minbtn2.png"] = lambda: glyph_button(24, minus, INK, grey_hot)
    out["res/common/minbtn3.png"] = lambda: glyph_button(24, minus, INK, grey_pushed)
    out["icon/quillon.png"] = window_icon
    for i in range(24):
        out[f"res/mainWnd/installBtnAnimate/{i:03d}.png"] = lambda i=i: spinner_frame(i, 24)
    return out


def window_icon():
    c = Canvas(48, 48)
    emblem(c, 0, 0, 48)
    return c


def chevron_button(backdrop, points):
    c = Canvas(64, 30)
    if backdrop:
        c.fill(rounded_rect(0.5, 0.5, 63.5, 29.5, 15), backdrop)
    c.fill(polyline(points, 1.8), INK)
    return c


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    for name, draw in sorted(pictures().items()):
        draw().png(os.path.join(root, name))
        print(name)


if __name__ == "__main__":
    main()
