#!/usr/bin/env python3
"""Makes the game's pictures from their sources.

    character.svg  -> character.bmp     273 x 242, 8-bit palette, pure blue is transparent
    character.svg  -> character@2x.bmp  546 x 484, the same for screens of ratio above 1
    (drawn below)  -> tile.bmp            8 x 8,   4-bit palette
    (drawn below)  -> icon.png           32 x 32,  16 colours, for the window's title bar
    program_icon.svg -> program_icon.bmp 32 x 32,  8-bit palette, for the About box
    program_icon.svg -> program_icon@2x.bmp 64 x 64, the same for screens of ratio above 1
    program_icon.svg -> desktop/renkomi-N.png  N x N for N = 48, 64, 128, full colour,
                                         the icon of the desktop's application menu

Needs python3 (standard library only) and rsvg-convert (Debian: librsvg2-bin).
The results are committed, so the game's build never runs this; run it again
after changing a source:  python3 resources/make-artwork.py
"""

import os
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# The game paints the character over its tiled background and lets every pixel
# of exactly this colour show the tile; no other pixel may have it.
TRANSPARENT = (0, 0, 255)

# The sixteen colours of the classic 4-bit palette, in their usual order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


# ---------------------------------------------------------------- reading PNG

def read_png_rgba(path):
    """Decodes the 8-bit RGB or RGBA, non-interlaced PNG that rsvg-convert writes."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    width, height, depth, colour_type, _, _, interlace = header
    if depth != 8 or colour_type not in (2, 6) or interlace != 0:
        raise ValueError(f"{path}: expected 8-bit RGB or RGBA without interlace")
    raw = zlib.decompress(idat)
    bpp = 4 if colour_type == 6 else 3
    stride = width * bpp
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        line = bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up = previous[i]
            up_left = previous[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - up_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else up_left)
                line[i] = (line[i] + pred) & 0xFF
        if bpp == 4:
            rows.append([tuple(line[x * 4:x * 4 + 4]) for x in range(width)])
        else:
            rows.append([tuple(line[x * 3:x * 3 + 3]) + (255,) for x in range(width)])
        previous = line
    return width, height, rows


def render_svg(name, width, height):
    """Renders an SVG with a transparent background and returns RGBA rows."""
    source = os.path.join(HERE, name)
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "out.png")
        subprocess.run(["rsvg-convert", "-w", str(width), "-h", str(height),
                        "-o", out, source], check=True)
        w, h, rows = read_png_rgba(out)
    if (w, h) != (width, height):
        raise ValueError(f"{name}: rendered {w} x {h}, expected {width} x {height}")
    return rows


# ------------------------------------------------------------- colour choice

def median_cut(histogram, count):
    """Chooses up to `count` colours for a {colour: pixels} histogram.

    Splits the box of colours with the widest spread at its weighted median until
    there are enough boxes; each box gives the pixel-weighted mean of its colours.
    Ties are broken by colour value, so the same input always gives the same
    palette."""
    boxes = [sorted(histogram.items())]

    def spread(box):
        if len(box) < 2:
            return -1, 0
        best = (-1, 0)
        for channel in range(3):
            values = [c[channel] for c, _ in box]
            best = max(best, (max(values) - min(values), channel))
        return best

    while len(boxes) < count:
        ranked = sorted(range(len(boxes)), key=lambda i: (spread(boxes[i])[0], -i))
        index = ranked[-1]
        width, channel = spread(boxes[index])
        if width <= 0:
            break
        box = sorted(boxes[index], key=lambda item: (item[0][channel], item[0]))
        total = sum(n for _, n in box)
        running, cut = 0, 1
        for i, (_, n) in enumerate(box):
            running += n
            if running * 2 >= total:
                cut = min(max(i + 1, 1), len(box) - 1)
                break
        boxes[index:index + 1] = [box[:cut], box[cut:]]

    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        mean = tuple(round(sum(c[k] * n for c, n in box) / total) for k in range(3))
        palette.append(mean)
    return palette


def nearest(colour, palette):
    best, best_distance = 0, None
    for i, p in enumerate(palette):
        d = (2 * (colour[0] - p[0]) ** 2 + 4 * (colour[1] - p[1]) ** 2
             + 3 * (colour[2] - p[2]) ** 2)
        if best_distance is None or d < best_distance:
            best, best_distance = i, d
    return best


def not_pure_blue(colour):
    # A shade that would round onto the transparent colour is moved off it, so
    # that it never lets the tile through by accident.
    return (0, 0, 247) if colour == TRANSPARENT else colour


def keyed_picture(rows, colours):
    """Cuts a rendered picture into opaque pixels and pure-blue background.

    A pixel at least half covered by the drawing keeps the drawing's own colour
    at full strength; the rest becomes the transparent colour. Edges therefore
    never mix with the blue, which would show as a blue fringe over the tile."""
    opaque = {}
    for row in rows:
        for r, g, b, a in row:
            if a >= 128:
                c = not_pure_blue((r, g, b))
                opaque[c] = opaque.get(c, 0) + 1
    palette = [TRANSPARENT] + [not_pure_blue(c) for c in median_cut(opaque, colours - 1)]
    lookup = {c: 1 + nearest(c, palette[1:]) for c in opaque}
    indices = []
    for row in rows:
        indices.append([lookup[not_pure_blue((r, g, b))] if a >= 128 else 0
                        for r, g, b, a in row])
    return palette, indices


def solid_picture(rows, colours):
    """Quantizes a fully opaque picture."""
    histogram = {}
    for row in rows:
        for r, g, b, _ in row:
            histogram[(r, g, b)] = histogram.get((r, g, b), 0) + 1
    palette = median_cut(histogram, colours)
    lookup = {c: nearest(c, palette) for c in histogram}
    return palette, [[lookup[(r, g, b)] for r, g, b, _ in row] for row in rows]


# ------------------------------------------------------------------ writing

def write_bmp(path, indices, palette, bits):
    """Writes an uncompressed BMP (BITMAPINFOHEADER) with a full palette."""
    height, width = len(indices), len(indices[0])
    entries = 1 << bits
    if len(palette) > entries:
        raise ValueError("palette too large")
    palette = list(palette) + [(0, 0, 0)] * (entries - len(palette))
    stride = ((width * bits + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(indices):  # bottom-up
        line = bytearray()
        if bits == 8:
            line.extend(row)
        elif bits == 4:
            for x in range(0, width, 2):
                high = row[x]
                low = row[x + 1] if x + 1 < width else 0
                line.append((high << 4) | low)
        else:
            raise ValueError("unsupported depth")
        line.extend(b"\0" * (stride - len(line)))
        pixels.extend(line)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels),
                       2835, 2835, entries, 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(head + info + table + pixels)


def write_png_palette(path, indices, palette, transparent_index=None, bits=4):
    """Writes a palette PNG; one palette entry may be fully transparent."""
    height, width = len(indices), len(indices[0])
    raw = bytearray()
    for row in indices:
        raw.append(0)
        if bits == 4:
            for x in range(0, width, 2):
                raw.append((row[x] << 4) | (row[x + 1] if x + 1 < width else 0))
        else:
            raw.extend(row)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bits, 3, 0, 0, 0))
    out += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    if transparent_index is not None:
        out += chunk(b"tRNS", bytes(255 if i != transparent_index else 0
                                    for i in range(transparent_index + 1)))
    out += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    out += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(out)


# -------------------------------------------------------------- the pictures

# Both drawings are vector art: a screen with more device pixels per window pixel
# gets them rendered anew at twice the size (the game scales that down for ratios
# between 1 and 2), never the small bitmap enlarged.
def make_character():
    for scale, suffix in ((1, ""), (2, "@2x")):
        rows = render_svg("character.svg", 273 * scale, 242 * scale)
        palette, indices = keyed_picture(rows, 256)
        write_bmp(os.path.join(HERE, f"character{suffix}.bmp"), indices, palette, 8)


def make_tile():
    # Blue, crossed by one cyan and one black diagonal in each 8 x 8 cell; the
    # two run in opposite directions, so a lattice of small diamonds covers the
    # window and tiles without a seam.
    blue, cyan, black = VGA16.index((0, 0, 255)), VGA16.index((0, 255, 255)), 0
    indices = []
    for y in range(8):
        row = []
        for x in range(8):
            if (x + y) % 8 == 0:
                row.append(cyan)
            elif (x - y) % 8 == 4:
                row.append(black)
            else:
                row.append(blue)
        indices.append(row)
    write_bmp(os.path.join(HERE, "tile.bmp"), indices, VGA16, 4)


# The window icon: the character's face on its monitor, drawn pixel by pixel so
# that it stays sharp at 32 x 32. One letter per pixel, colours below.
ICON_COLOURS = {
    ".": None,              # transparent
    "k": (27, 27, 43),      # outline
    "c": (255, 248, 228),   # case, light
    "d": (214, 196, 152),   # case, shade
    "s": (200, 242, 250),   # screen
    "t": (143, 220, 236),   # screen, lower part
    "w": (255, 255, 255),   # highlights
    "m": (138, 31, 44),     # mouth
    "p": (255, 111, 134),   # tongue
    "r": (255, 157, 180),   # cheeks
    "g": (58, 209, 58),     # power light
}
ICON = """
................................
...kkkkkkkkkkkkkkkkkkkkkkkkkk...
..kkcccccccccccccccccccccccckk..
..kcccccccccccccccccccccccccdk..
..kccckkkkkkkkkkkkkkkkkkkkccdk..
..kcckksssssssssssssssssskkcdk..
..kccksswwwssssssssssssssskcdk..
..kcckswsssssssssssssssssskcdk..
..kcckswssskksssssskkssssskcdk..
..kccksssskwkksssskwkksssskcdk..
..kccksssskwkksssskwkksssskcdk..
..kccksssskkkksssskkkksssskcdk..
..kcckssssskksssssskkssssskcdk..
..kcckttttttttttttttttttttkcdk..
..kccktrrtkkkkkkkkkkkktrrtkcdk..
..kcckttttkmmmmmmmmmmkttttkcdk..
..kccktttttkmmmmmmmmktttttkcdk..
..kcckttttttkmppppmkttttttkcdk..
..kccktttttttkppppktttttttkcdk..
..kcckktttttttkkkktttttttkkcdk..
..kccckkkkkkkkkkkkkkkkkkkkccdk..
..kcccccccccccccccccccccccccdk..
..kccccccccccccccccccccccgccdk..
..kkddddddddddddddddddddddddkk..
...kkkkkkkkkkkkkkkkkkkkkkkkkk...
............kddddddk............
............kddddddk............
........kkkkkkkkkkkkkkkk........
.......kcccccccccccccccck.......
.......kddddddddddddddddk.......
........kkkkkkkkkkkkkkkk........
................................
"""


def make_icon():
    lines = [line for line in ICON.strip("\n").split("\n")]
    if len(lines) != 32 or any(len(line) != 32 for line in lines):
        raise ValueError("the icon must be 32 lines of 32 pixels: "
                         + ", ".join(str(len(line)) for line in lines))
    keys = ["."] + sorted(k for k in ICON_COLOURS if k != ".")
    palette = [(0, 0, 0)] + [ICON_COLOURS[k] for k in keys[1:]]
    if len(palette) > 16:
        raise ValueError("the icon has more than 16 colours")
    palette += [(0, 0, 0)] * (16 - len(palette))
    indices = [[keys.index(ch) for ch in line] for line in lines]
    write_png_palette(os.path.join(HERE, "icon.png"), indices, palette, transparent_index=0)


def make_program_icon():
    for scale, suffix in ((1, ""), (2, "@2x")):
        rows = render_svg("program_icon.svg", 32 * scale, 32 * scale)
        palette, indices = solid_picture(rows, 256)
        write_bmp(os.path.join(HERE, f"program_icon{suffix}.bmp"), indices, palette, 8)


def make_desktop_icons():
    # The drawing is vector art: each size is rendered anew rather than scaled.
    os.makedirs(os.path.join(HERE, "desktop"), exist_ok=True)
    for size in (48, 64, 128):
        subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "-o",
                        os.path.join(HERE, "desktop", f"renkomi-{size}.png"),
                        os.path.join(HERE, "program_icon.svg")], check=True)


def main(argv):
    makers = {"character": make_character, "tile": make_tile, "icon": make_icon,
              "program_icon": make_program_icon, "desktop_icons": make_desktop_icons}
    names = argv[1:] or list(makers)
    for name in names:
        if name not in makers:
            sys.exit(f"unknown picture {name!r}; choose from {', '.join(makers)}")
        makers[name]()
        print(f"made {name}")


if __name__ == "__main__":
    main(sys.argv)
