#!/usr/bin/env python3
"""Draws the program's icons and the About picture into res/.

Every picture is a stack of filled shapes given by signed distance functions
in unit coordinates (0..1, y down), sampled on a sub-pixel grid, so each
icon size is drawn from the same description and the output is the same on
every run. Standard library only.

    scripts/make-art.py            writes res/icons/*.ico and res/about.bmp
"""
import math
import os
import struct
import sys

SUBSAMPLES = 4  # per pixel and axis


# ---------------------------------------------------------------------------
# Shapes: sdf(x, y) < 0 inside. bbox = (x0, y0, x1, y1) bounds the inside.

class Shape:
    def __init__(self, sdf, bbox):
        self.sdf = sdf
        self.bbox = bbox

    def grown(self, d):
        sdf = self.sdf
        x0, y0, x1, y1 = self.bbox
        return Shape(lambda x, y: sdf(x, y) - d, (x0 - d, y0 - d, x1 + d, y1 + d))

    def __or__(self, other):
        a, b = self.sdf, other.sdf
        return Shape(lambda x, y: min(a(x, y), b(x, y)), union_box(self.bbox, other.bbox))

    def __and__(self, other):
        a, b = self.sdf, other.sdf
        return Shape(lambda x, y: max(a(x, y), b(x, y)), self.bbox)

    def __sub__(self, other):
        a, b = self.sdf, other.sdf
        return Shape(lambda x, y: max(a(x, y), -b(x, y)), self.bbox)


def union_box(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def box(x0, y0, x1, y1, radius=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return Shape(sdf, (x0, y0, x1, y1))


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    # Good enough near the edge, which is all the sampling needs.
    k = min(rx, ry)
    return Shape(lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * k,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def segment(x0, y0, x1, y1, width):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    w = width / 2

    def sdf(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) - w
    return Shape(sdf, (min(x0, x1) - w, min(y0, y1) - w, max(x0, x1) + w, max(y0, y1) + w))


def polygon(points):
    n = len(points)

    def sdf(x, y):
        d = float("inf")
        inside = False
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            ex, ey = xj - xi, yj - yi
            wx, wy = x - xi, y - yi
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            d = min(d, math.hypot(wx - t * ex, wy - t * ey))
            if (yi > y) != (yj > y) and x < xi + (y - yi) * ex / ey:
                inside = not inside
            j = i
        return -d if inside else d
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(sdf, (min(xs), min(ys), max(xs), max(ys)))


def arc(cx, cy, r, width, start, end):
    """A band of radius r from angle start to end (degrees, counter-clockwise
    on screen), with round ends."""
    w = width / 2
    a0, a1 = math.radians(start), math.radians(end)
    ends = [(cx + r * math.cos(a), cy - r * math.sin(a)) for a in (a0, a1)]

    def sdf(x, y):
        a = math.atan2(cy - y, x - cx)
        while a < a0:
            a += 2 * math.pi
        if a <= a1:
            return abs(math.hypot(x - cx, y - cy) - r) - w
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - w
    return Shape(sdf, (cx - r - w, cy - r - w, cx + r + w, cy + r + w))


def arrow_head(cx, cy, r, angle, half_width, length):
    """A triangle at the point of a circle of radius r at angle (degrees),
    pointing counter-clockwise along it."""
    a = math.radians(angle)
    px, py = cx + r * math.cos(a), cy - r * math.sin(a)
    tx, ty = -math.sin(a), -math.cos(a)
    nx, ny = math.cos(a), -math.sin(a)
    bx, by = px - tx * length * 0.15, py - ty * length * 0.15
    return polygon([(bx + nx * half_width, by + ny * half_width),
                    (px + tx * length * 0.85, py + ty * length * 0.85),
                    (bx - nx * half_width, by - ny * half_width)])


def rotated(shape, cx, cy, degrees):
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    sdf = shape.sdf

    def moved(x, y):
        dx, dy = x - cx, y - cy
        return sdf(cx + c * dx + s * dy, cy - s * dx + c * dy)
    x0, y0, x1, y1 = shape.bbox
    reach = max(math.hypot(px - cx, py - cy) for px in (x0, x1) for py in (y0, y1))
    return Shape(moved, (cx - reach, cy - reach, cx + reach, cy + reach))


# ---------------------------------------------------------------------------
# Colours: a fixed RGBA tuple or a function of (x, y).

def rgb(r, g, b, a=255):
    return (r, g, b, a)


def vertical(top, bottom, y0, y1):
    def colour(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(round(p + (q - p) * t) for p, q in zip(top, bottom))
    return colour


def diagonal(light, dark, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def colour(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        return tuple(round(p + (q - p) * t) for p, q in zip(light, dark))
    return colour


def radial(centre, edge, cx, cy, rx, ry):
    def colour(x, y):
        t = min(1.0, math.hypot((x - cx) / rx, (y - cy) / ry))
        return tuple(round(p + (q - p) * t * t) for p, q in zip(centre, edge))
    return colour


# ---------------------------------------------------------------------------
# Rendering

def render(layers, width, height, scale, background=(0, 0, 0, 0)):
    """Rows of (r, g, b, a), top row first; layers are (shape, colour), the
    last one on top; scale = pixels per unit."""
    n = SUBSAMPLES
    offsets = [(k + 0.5) / n for k in range(n)]
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            x0, y0 = px / scale, py / scale
            x1, y1 = (px + 1) / scale, (py + 1) / scale
            active = [(s, c) for s, c in layers
                      if s.bbox[0] <= x1 and s.bbox[2] >= x0 and s.bbox[1] <= y1 and s.bbox[3] >= y0]
            acc = [0.0, 0.0, 0.0, 0.0]
            for oy in offsets:
                y = (py + oy) / scale
                for ox in offsets:
                    x = (px + ox) / scale
                    r, g, b, a = (c / 255.0 for c in background)
                    for shape, colour in active:
                        if shape.sdf(x, y) < 0:
                            cr, cg, cb, ca = colour(x, y) if callable(colour) else colour
                            ca /= 255.0
                            # Non-premultiplied "over".
                            out_a = ca + a * (1 - ca)
                            if out_a > 0:
                                r = (cr / 255.0 * ca + r * a * (1 - ca)) / out_a
                                g = (cg / 255.0 * ca + g * a * (1 - ca)) / out_a
                                b = (cb / 255.0 * ca + b * a * (1 - ca)) / out_a
                            a = out_a
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            total = n * n
            alpha = acc[3] / total
            if alpha <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(acc[0] / total / alpha * 255), round(acc[1] / total / alpha * 255),
                            round(acc[2] / total / alpha * 255), round(alpha * 255)))
        rows.append(row)
    return rows


# ---------------------------------------------------------------------------
# File formats

def ico_image(rows):
    """One icon image: 32-bit colour with alpha, plus the AND mask (opaque
    where alpha is at least half) for drawing without alpha."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a)) if a else bytes(4)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + colour + mask


def write_ico(path, images):
    """images: list of row grids, each square."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    data = b""
    for rows in images:
        blob = ico_image(rows)
        size = len(rows)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset + len(data))
        data += blob
    with open(path, "wb") as f:
        f.write(directory + entries + data)


def write_bmp(path, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + pixels)


# ---------------------------------------------------------------------------
# The pictures. Each takes the pixel size and returns its layers; outlines
# are one pixel wide at every size.

def outlined(shape, fill, edge, size, pixels=1.0):
    return [(shape.grown(pixels / size), edge), (shape, fill)]


def floppy_layers(size, x0=0.1, y0=0.1, x1=0.9, y1=0.9):
    w, h = x1 - x0, y1 - y0
    cut = 0.16 * w
    body = polygon([(x0, y0), (x1 - cut, y0), (x1, y0 + cut), (x1, y1), (x0, y1)])
    layers = outlined(body, diagonal(rgb(70, 125, 215), rgb(25, 60, 150), x0, y0, x1, y1), rgb(15, 35, 90), size)
    shutter = box(x0 + 0.2 * w, y0, x0 + 0.72 * w, y0 + 0.34 * h)
    layers += [(shutter, rgb(205, 210, 220)),
               (box(x0 + 0.5 * w, y0 + 0.06 * h, x0 + 0.63 * w, y0 + 0.28 * h), rgb(40, 50, 70))]
    label = box(x0 + 0.14 * w, y0 + 0.5 * h, x0 + 0.86 * w, y1)
    layers += [(label, rgb(250, 250, 245))]
    if size >= 20:
        for k in range(2):
            ly = y0 + (0.64 + 0.14 * k) * h
            layers.append((box(x0 + 0.24 * w, ly, x0 + 0.76 * w, ly + 1.0 / size), rgb(150, 160, 180)))
    return layers


def save_icon(size):
    return floppy_layers(size)


def exit_icon(size):
    disc = circle(0.5, 0.5, 0.42)
    layers = outlined(disc, diagonal(rgb(240, 90, 80), rgb(175, 20, 20), 0.2, 0.1, 0.8, 0.9), rgb(110, 10, 10), size)
    stroke = max(0.14, 2.2 / size)
    cross = segment(0.33, 0.33, 0.67, 0.67, stroke) | segment(0.67, 0.33, 0.33, 0.67, stroke)
    layers.append((cross, rgb(255, 255, 255)))
    return layers


def settings_icon(size):
    gear = circle(0.5, 0.5, 0.3)
    for k in range(8):
        tooth = box(0.5 + 0.2, 0.5 - 0.085, 0.5 + 0.45, 0.5 + 0.085, 0.02)
        gear = gear | rotated(tooth, 0.5, 0.5, 22.5 + 45 * k)
    gear = gear - circle(0.5, 0.5, 0.12)
    return outlined(gear, diagonal(rgb(175, 185, 200), rgb(85, 95, 115), 0.15, 0.1, 0.85, 0.9), rgb(40, 45, 60), size)


def show_log_icon(size):
    x0, y0, x1, y1 = 0.18, 0.06, 0.82, 0.94
    fold = 0.22
    page = polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
    layers = outlined(page, rgb(255, 255, 255), rgb(90, 100, 120), size)
    corner = polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)])
    layers += outlined(corner, rgb(215, 220, 230), rgb(90, 100, 120), size, 0.5)
    # Text lines on whole pixel rows, every second row.
    first = math.ceil((y0 + fold + 0.06) * size)
    last = math.floor((y1 - 0.08) * size)
    left, right = (x0 + 0.12) * size, (x1 - 0.12) * size
    for k, row in enumerate(range(first, last, 2 if size < 24 else 3)):
        end = right if k % 3 != 2 else left + (right - left) * 0.6
        layers.append((box(round(left) / size, row / size, round(end) / size, (row + 1) / size),
                       rgb(60, 85, 140)))
    return layers


def restore_icon(size):
    width = max(0.14, 2.2 / size)
    ring = arc(0.52, 0.57, 0.32, width, 170, 450)
    arrow = ring | arrow_head(0.52, 0.57, 0.32, 450, 0.18, 0.34)
    return outlined(arrow, diagonal(rgb(90, 200, 95), rgb(20, 120, 40), 0.2, 0.1, 0.8, 0.9), rgb(10, 70, 20), size)


def recovery_disk_icon(size):
    disc = circle(0.46, 0.46, 0.42) - circle(0.46, 0.46, 0.07)
    layers = outlined(disc, diagonal(rgb(235, 238, 245), rgb(150, 160, 185), 0.1, 0.1, 0.85, 0.85),
                      rgb(85, 90, 110), size)
    layers.append((circle(0.46, 0.46, 0.17) - circle(0.46, 0.46, 0.07), rgb(195, 215, 240)))
    if size >= 20:
        layers.append((arc(0.46, 0.46, 0.3, 1.0 / size, 20, 70), rgb(255, 255, 255)))
    # A red cross: the disk that repairs the system.
    bar = max(0.13, 2.4 / size)
    cross = box(0.74 - bar / 2, 0.55, 0.74 + bar / 2, 0.93) | box(0.55, 0.74 - bar / 2, 0.93, 0.74 + bar / 2)
    layers += outlined(cross, rgb(220, 30, 30), rgb(255, 255, 255), size, 1.2)
    return layers


def program_icon(size):
    # A database cylinder with a green arrow going round it: the data kept safe.
    cx, rx, ry = 0.42, 0.3, 0.1
    top, bottom = 0.2, 0.78
    body = box(cx - rx, top, cx + rx, bottom) | ellipse(cx, top, rx, ry) | ellipse(cx, bottom, rx, ry)
    layers = outlined(body, diagonal(rgb(120, 165, 230), rgb(35, 75, 160), cx - rx, 0, cx + rx, 0.1),
                      rgb(20, 40, 95), size)
    layers += outlined(ellipse(cx, top, rx, ry), rgb(175, 205, 245), rgb(20, 40, 95), size, 0.8)
    if size >= 24:
        for band in (0.4, 0.59):
            lower = ellipse(cx, band, rx, ry) - ellipse(cx, band - 1.5 / size, rx, ry)
            layers.append((lower & box(cx - rx, band, cx + rx, band + ry + 0.05), rgb(20, 40, 95)))
    width = max(0.1, 2.0 / size)
    ring = arc(0.74, 0.73, 0.16, width, 170, 450)
    head = arrow_head(0.74, 0.73, 0.16, 450, 0.11, 0.2)
    layers += outlined(ring | head, rgb(40, 170, 60), rgb(10, 70, 20), size)
    return layers


def about_picture(width, height):
    """The About picture: a server, an arrow and a disk on a pale blue
    ground. Its edge is one flat colour: the About box fills the rest of the
    picture's frame with the colour of the top left pixel."""
    aspect = width / height
    layers = [(box(0, 0, aspect, 1),
               radial(rgb(250, 252, 255), rgb(214, 228, 248), aspect / 2, 0.55, aspect * 0.48, 0.45))]
    px = 1.0 / height
    # Server tower.
    tower = box(0.1, 0.18, 0.42, 0.86, 0.03)
    layers += [(tower.grown(px), rgb(40, 45, 60)),
               (tower, diagonal(rgb(215, 220, 230), rgb(120, 128, 145), 0.1, 0.18, 0.42, 0.86))]
    for k in range(4):
        y = 0.26 + 0.1 * k
        slot = box(0.15, y, 0.37, y + 0.06, 0.01)
        layers += [(slot.grown(px), rgb(60, 65, 80)), (slot, rgb(90, 96, 112)),
                   (circle(0.33, y + 0.03, 0.012), rgb(70, 230, 90) if k < 3 else rgb(240, 190, 40))]
    layers.append((box(0.15, 0.7, 0.37, 0.72), rgb(90, 96, 112)))
    layers.append((box(0.15, 0.75, 0.37, 0.77), rgb(90, 96, 112)))
    # Loudspeaker on top: the voice-alarm system it serves.
    cone = polygon([(0.2, 0.09), (0.25, 0.09), (0.31, 0.03), (0.31, 0.2), (0.25, 0.14), (0.2, 0.14)])
    layers += [(cone.grown(px), rgb(40, 45, 60)), (cone, rgb(245, 170, 40))]
    for r in (0.05, 0.09):
        layers.append((arc(0.31, 0.115, r, 1.6 * px, -40, 40), rgb(40, 45, 60)))
    # Arrow to the backup.
    shaft = box(0.5, 0.47, 0.78, 0.57)
    head = polygon([(0.76, 0.38), (0.92, 0.52), (0.76, 0.66)])
    arrow = shaft | head
    layers += [(arrow.grown(px), rgb(10, 70, 20)),
               (arrow, vertical(rgb(100, 210, 105), rgb(25, 130, 45), 0.38, 0.66))]
    # The keepset: a floppy disk at the right.
    fx0 = 0.98
    for shape, colour in floppy_layers(height, fx0, 0.3, fx0 + 0.32, 0.78):
        layers.append((shape, colour))
    return render(layers, width, height, height)


ICONS = [
    # file name, drawing, sizes (the button size first)
    ("program.ico", program_icon, (16, 32, 48)),
    ("settings.ico", settings_icon, (16, 20, 32)),
    ("exit.ico", exit_icon, (16, 20, 32)),
    ("recovery-disk.ico", recovery_disk_icon, (16, 18, 32)),
    ("save.ico", save_icon, (16, 20, 32)),
    ("show-log.ico", show_log_icon, (16, 20, 32)),
    ("restore.ico", restore_icon, (16, 20, 32)),
]

ABOUT_SIZE = (240, 180)


def main():
    top = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
    icons = os.path.join(top, "icons")
    os.makedirs(icons, exist_ok=True)
    for name, drawing, sizes in ICONS:
        images = [render(drawing(size), size, size, size) for size in sorted(sizes, reverse=True)]
        write_ico(os.path.join(icons, name), images)
        print("wrote", os.path.join("res", "icons", name))
    write_bmp(os.path.join(top, "about.bmp"), about_picture(*ABOUT_SIZE))
    print("wrote res/about.bmp")
    return 0


if __name__ == "__main__":
    sys.exit(main())
