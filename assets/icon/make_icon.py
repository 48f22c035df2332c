#!/usr/bin/env python3
"""Draws the QiroUlvane icon and writes it as one .ico file.

The icon is a rounded-square badge with a diagonal teal-to-indigo gradient
and a white speed gauge on it: a thick arc, open at the bottom, filled from
its left end up to a yellow needle that points high into the upper right.

Every image is rendered from the same vector geometry, scaled to its size;
16 and 24 px use hand-snapped geometry, with the arc's edges on whole
pixels and the needle at 45 degrees, so that they stay crisp. Edges are anti-aliased by supersampling: pixels near an
edge are sampled on an 8 x 8 grid, the others take their centre's value.

Images up to 64 px are stored as 32-bit BMPs (the form every Windows
version reads), larger ones as PNGs to keep the file small. Nothing in
the output comes from the clock or the machine, and the geometry uses only
arithmetic and square roots, which IEEE doubles give alike everywhere; so
running it again gives the same bytes, as long as zlib deflates the same
(another deflate implementation, such as zlib-ng, may pack the PNGs
differently).

Usage: python3 assets/icon/make_icon.py [OUTPUT.ico]
The default output is app/resources/QiroUlvane.ico in the repository.
"""

import math
import os
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 64, 96, 128, 192, 256)
LARGEST_BMP = 64

# Badge gradient, from its top-left corner to its bottom-right corner.
GRADIENT_START = (0x1F, 0xC8, 0xB4)
GRADIENT_END = (0x35, 0x4C, 0xE0)
WHITE = (0xFF, 0xFF, 0xFF)
NEEDLE = (0xFF, 0xC9, 0x3C)

# Directions in image coordinates (y grows downwards), kept to exact
# rational or square-root values so that no platform's sin/cos can change a
# single output byte. The arc runs clockwise from its bottom-left end over
# the top to its bottom-right end; it is filled up to the needle.
ROOT_HALF = math.sqrt(0.5)
ARC_START = (-ROOT_HALF, ROOT_HALF)
ARC_END = (ROOT_HALF, ROOT_HALF)
NEEDLE_DIRECTION = (0.6, -0.8)

SUBSAMPLES = 8


class Geometry:
    """Sizes of one image's shapes, in pixels."""

    def __init__(self, size, margin, corner, centre_y, radius, stroke,
                 needle_length, needle_base, needle_tip, hub, hub_hole,
                 track_alpha, shadow, needle_direction=NEEDLE_DIRECTION):
        self.size = size
        self.margin = margin
        self.corner = corner
        self.centre = (size / 2.0, centre_y)
        self.radius = radius
        self.stroke = stroke
        self.needle_length = needle_length
        self.needle_base = needle_base
        self.needle_tip = needle_tip
        self.hub = hub
        self.hub_hole = hub_hole
        self.track_alpha = track_alpha
        self.shadow = shadow
        self.needle_direction = needle_direction


def scaled_geometry(size):
    """The design at sizes of 32 px and up, in proportion to the size."""
    margin = {32: 1.0, 48: 2.0, 64: 3.0}.get(size, size * 0.055)
    badge = size - 2.0 * margin
    radius = badge * 0.31
    stroke = badge * 0.10
    return Geometry(
        size=size, margin=margin, corner=badge * 0.23,
        centre_y=size / 2.0 + radius * 0.17, radius=radius,
        stroke=stroke, needle_length=radius - stroke / 2.0 - badge * 0.035,
        needle_base=badge * 0.085, needle_tip=badge * 0.032,
        hub=badge * 0.085, hub_hole=badge * 0.030 if size >= 64 else 0.0,
        track_alpha=0.32, shadow=size >= 48)


def small_geometry(size):
    """16 and 24 px by hand: the centre on a pixel corner, the arc's outer
    edge on whole pixels, a shorter needle at 45 degrees clear of the arc."""
    if size == 16:
        return Geometry(
            size=16, margin=0.0, corner=3.5, centre_y=9.0, radius=5.0,
            stroke=2.0, needle_length=3.1, needle_base=1.8, needle_tip=1.3,
            hub=1.3, hub_hole=0.0, track_alpha=0.38, shadow=False,
            needle_direction=(ROOT_HALF, -ROOT_HALF))
    return Geometry(
        size=24, margin=1.0, corner=5.0, centre_y=13.0, radius=6.5,
        stroke=3.0, needle_length=3.8, needle_base=2.4, needle_tip=1.6,
        hub=2.0, hub_hole=0.0, track_alpha=0.35, shadow=False,
        needle_direction=(ROOT_HALF, -ROOT_HALF))


def geometry_for(size):
    return small_geometry(size) if size <= 24 else scaled_geometry(size)


# Signed distances: negative inside a shape, positive outside, in pixels.

def rounded_square_distance(x, y, low, high, corner):
    half = (high - low) / 2.0
    centre = (low + high) / 2.0
    qx = abs(x - centre) - half + corner
    qy = abs(y - centre) - half + corner
    outside = math.sqrt(max(qx, 0.0) ** 2 + max(qy, 0.0) ** 2)
    return outside + min(max(qx, qy), 0.0) - corner


def cross(a, b):
    return a[0] * b[1] - a[1] * b[0]


def in_clockwise_sector(start, end, point):
    """True if point's direction lies on the clockwise way start -> end."""
    if cross(start, end) >= 0.0:
        return cross(start, point) >= 0.0 and cross(point, end) >= 0.0
    return not (cross(end, point) > 0.0 and cross(point, start) > 0.0)


def arc_distance(x, y, centre, radius, stroke, start, end):
    """A stroked arc with round caps."""
    px = x - centre[0]
    py = y - centre[1]
    if in_clockwise_sector(start, end, (px, py)):
        return abs(math.sqrt(px * px + py * py) - radius) - stroke / 2.0
    cap = min(
        math.sqrt((px - radius * d[0]) ** 2 + (py - radius * d[1]) ** 2)
        for d in (start, end))
    return cap - stroke / 2.0


def tapered_bar_distance(x, y, origin, direction, length, base, tip):
    """A bar from origin along direction, base wide there, tip wide at the
    end, both ends round. Exact where the sides are straight, a close
    bound at the caps: enough to find the pixels that need sampling."""
    px = x - origin[0]
    py = y - origin[1]
    along = px * direction[0] + py * direction[1]
    across = abs(cross(direction, (px, py)))
    t = min(max(along / length, 0.0), 1.0)
    half_width = (base + (tip - base) * t) / 2.0
    dx = along - t * length
    return math.sqrt(dx * dx + across * across) - half_width


def circle_distance(x, y, centre, radius):
    return math.sqrt((x - centre[0]) ** 2 + (y - centre[1]) ** 2) - radius


def coverage(distance):
    """For a shape's distance function, a function giving the fraction of
    the pixel at (x, y) that the shape covers."""
    def measure(x, y):
        centre = distance(x + 0.5, y + 0.5)
        if centre >= 1.0:
            return 0.0
        if centre <= -1.0:
            return 1.0
        inside = 0
        for i in range(SUBSAMPLES):
            sy = y + (i + 0.5) / SUBSAMPLES
            for j in range(SUBSAMPLES):
                if distance(x + (j + 0.5) / SUBSAMPLES, sy) < 0.0:
                    inside += 1
        return inside / float(SUBSAMPLES * SUBSAMPLES)
    return measure


def smoothstep(edge0, edge1, value):
    t = min(max((value - edge0) / (edge1 - edge0), 0.0), 1.0)
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    return tuple(a[k] + (b[k] - a[k]) * t for k in range(3))


class Layer:
    """A shape with a colour function, painted over the layers below it."""

    def __init__(self, alpha_at, colour_at):
        self.alpha_at = alpha_at
        self.colour_at = colour_at


def constant(colour):
    return lambda x, y: colour


def badge_layers(g):
    low = g.margin
    high = g.size - g.margin
    span = high - low

    def gradient(x, y):
        # Diagonal gradient, a touch lighter towards the top edge.
        t = ((x + 0.5 - low) + (y + 0.5 - low)) / (2.0 * span)
        t = min(max(t, 0.0), 1.0)
        base = mix(GRADIENT_START, GRADIENT_END, t)
        sheen = 0.10 * (1.0 - smoothstep(0.0, 0.5, (y + 0.5 - low) / span))
        return mix(base, WHITE, sheen)

    layers = []
    if g.shadow:
        offset = g.size * 0.018
        blur = g.size * 0.035

        def shadow(x, y):
            d = rounded_square_distance(x + 0.5, y + 0.5 - offset, low, high,
                                        g.corner)
            return 0.30 * (1.0 - smoothstep(-blur, blur, d))
        layers.append(Layer(shadow, constant((0x10, 0x20, 0x40))))
    badge = coverage(
        lambda x, y: rounded_square_distance(x, y, low, high, g.corner))
    layers.append(Layer(badge, gradient))
    return layers


def gauge_layers(g):
    def arc(start, end):
        return coverage(lambda x, y: arc_distance(
            x, y, g.centre, g.radius, g.stroke, start, end))

    track = arc(ARC_START, ARC_END)
    needle = coverage(lambda x, y: tapered_bar_distance(
        x, y, g.centre, g.needle_direction, g.needle_length, g.needle_base,
        g.needle_tip))
    layers = [
        Layer(lambda x, y: track(x, y) * g.track_alpha, constant(WHITE)),
        Layer(arc(ARC_START, g.needle_direction), constant(WHITE)),
        Layer(needle, constant(NEEDLE)),
        Layer(coverage(lambda x, y: circle_distance(x, y, g.centre, g.hub)),
              constant(NEEDLE)),
    ]
    if g.hub_hole > 0.0:
        layers.append(Layer(
            coverage(lambda x, y: circle_distance(x, y, g.centre,
                                                  g.hub_hole)),
            constant(WHITE)))
    return layers


def render(size):
    """Rows of straight (not premultiplied) RGBA bytes, top row first."""
    g = geometry_for(size)
    layers = badge_layers(g) + gauge_layers(g)
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            # Premultiplied "over" compositing, bottom layer first.
            r = gr = b = a = 0.0
            for layer in layers:
                alpha = layer.alpha_at(x, y)
                if alpha <= 0.0:
                    continue
                colour = layer.colour_at(x, y)
                keep = 1.0 - alpha
                r = colour[0] * alpha + r * keep
                gr = colour[1] * alpha + gr * keep
                b = colour[2] * alpha + b * keep
                a = alpha + a * keep
            row += straight_pixel(r, gr, b, a)
        rows.append(bytes(row))
    return rows


def straight_pixel(r, g, b, a):
    alpha = int(a * 255.0 + 0.5)
    if alpha == 0:
        return bytes((0, 0, 0, 0))
    return bytes((channel(r / a), channel(g / a), channel(b / a), alpha))


def channel(value):
    return min(max(int(value + 0.5), 0), 255)


# Storage formats.

def bmp_image(size, rows):
    """BITMAPINFOHEADER (height doubled for the mask), BGRA rows bottom-up,
    then the 1-bit AND mask: set where the image is mostly transparent, for
    the few painters that ignore the alpha channel."""
    mask_stride = ((size + 31) // 32) * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        mask_row = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = row[4 * x:4 * x + 4]
            colour += bytes((b, g, r, a))
            if a < 128:
                mask_row[x // 8] |= 0x80 >> (x % 8)
        mask += mask_row
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def png_chunk(kind, data):
    crc = zlib.crc32(kind + data) & 0xFFFFFFFF
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', crc)


def paeth(left, up, up_left):
    estimate = left + up - up_left
    to_left = abs(estimate - left)
    to_up = abs(estimate - up)
    to_up_left = abs(estimate - up_left)
    if to_left <= to_up and to_left <= to_up_left:
        return left
    return up if to_up <= to_up_left else up_left


def filtered_row(kind, row, previous):
    out = bytearray(len(row))
    for i, value in enumerate(row):
        left = row[i - 4] if i >= 4 else 0
        up = previous[i]
        up_left = previous[i - 4] if i >= 4 else 0
        predictor = (0, left, up, (left + up) // 2,
                     paeth(left, up, up_left))[kind]
        out[i] = (value - predictor) & 0xFF
    return bytes(out)


def png_image(size, rows):
    """RGBA, 8 bits a channel; each row takes the filter whose output has
    the smallest sum of absolute values, the usual heuristic."""
    previous = bytes(len(rows[0]))
    raw = bytearray()
    for row in rows:
        candidates = [filtered_row(kind, row, previous) for kind in range(5)]
        costs = [sum(v if v < 128 else 256 - v for v in c) for c in candidates]
        best = costs.index(min(costs))
        raw.append(best)
        raw += candidates[best]
        previous = row
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', header) +
            png_chunk(b'IDAT', zlib.compress(bytes(raw), 9)) +
            png_chunk(b'IEND', b''))


def icon_file(images):
    """ICONDIR, one ICONDIRENTRY per image, then the images in order."""
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b''
    for size, payload in images:
        side = 0 if size == 256 else size
        entries += struct.pack('<BBBBHHII', side, side, 0, 0, 1, 32,
                               len(payload), offset)
        offset += len(payload)
    return directory + entries + b''.join(payload for _, payload in images)


def main(argv):
    if len(argv) > 2:
        sys.stderr.write(__doc__)
        return 2
    root = os.path.dirname(os.path.dirname(os.path.dirname(
        os.path.abspath(__file__))))
    output = argv[1] if len(argv) == 2 else os.path.join(
        root, 'app', 'resources', 'QiroUlvane.ico')
    images = []
    for size in SIZES:
        rows = render(size)
        encode = bmp_image if size <= LARGEST_BMP else png_image
        images.append((size, encode(size, rows)))
    data = icon_file(images)
    directory = os.path.dirname(output)
    if directory:
        os.makedirs(directory, exist_ok=True)
    with open(output, 'wb') as stream:
        stream.write(data)
    print('%s: %d images, %d bytes' % (output, len(images), len(data)))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
