#!/usr/bin/env python3
"""Draws the suite's program icons: one 32 x 32 image in 256 colours each.

    make_icon.py package OUT.ico    sepria's package box with its install arrow
    make_icon.py chip OUT.ico       vantor's graphics chip with a shaded triangle
    make_icon.py swarm OUT.ico      astr's orange-red swarm about its blue-green glow
"""
import math
import struct
import sys

SIZE = 32


def package():
    """A cardboard box, seen from the front and above, and a green arrow into it."""
    colours = {
        ".": None,               # transparent
        "k": (40, 26, 12),       # outline
        "f": (181, 131, 74),     # front face
        "s": (138, 90, 43),      # side face
        "t": (217, 168, 108),    # top face
        "p": (236, 220, 180),    # packing tape
        "g": (40, 170, 60),      # arrow
        "G": (20, 110, 35),      # arrow edge
    }
    pixels = [["."] * SIZE for _ in range(SIZE)]

    def fill(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                pixels[y][x] = c

    # Top face: a parallelogram from rows 12 to 17, leaning right.
    for row, y in enumerate(range(12, 18)):
        fill(4 + (5 - row), y, 22 + (5 - row), y, "t")
    fill(10, 12, 28, 12, "k")
    # Front face and side face.
    fill(4, 18, 22, 29, "f")
    for row, y in enumerate(range(13, 30)):
        depth = min(row, 5)
        fill(23, y, 23 + (5 - depth) if row < 5 else 27, y, "s")
    fill(23, 18, 27, 24, "s")
    for y in range(25, 30):
        fill(23, y, 27 - (y - 25), y, "s")
    # Tape down the middle of the top and the front.
    fill(12, 12, 14, 17, "p")
    fill(12, 18, 14, 21, "p")
    # Outlines.
    fill(4, 18, 22, 18, "k")
    fill(4, 18, 4, 29, "k")
    fill(4, 29, 22, 29, "k")
    fill(22, 18, 22, 29, "k")
    for i in range(6):
        pixels[17 - i][4 + i] = "k"
        pixels[17 - i][22 + i] = "k"
    fill(28, 12, 28, 24, "k")
    for i in range(5):
        pixels[25 + i][27 - i] = "k"
    # The arrow, pointing down into the box.
    fill(11, 1, 15, 7, "g")
    for i in range(6):
        fill(7 + i, 8 + i, 19 - i, 8 + i, "g")
    fill(10, 1, 10, 7, "G")
    fill(16, 1, 16, 7, "G")
    for i in range(6):
        pixels[8 + i][6 + i] = "G"
        pixels[8 + i][20 - i] = "G"
    return colours, pixels


def chip():
    """A graphics chip on its pins, a shaded triangle on its face."""
    colours = {
        ".": None,
        "k": (20, 20, 24),       # outline
        "b": (52, 56, 66),       # chip body
        "B": (78, 84, 98),       # body highlight
        "m": (200, 200, 190),    # pins
        "r": (230, 60, 40),      # triangle corners
        "g": (60, 200, 80),
        "u": (50, 110, 240),
        "w": (235, 235, 235),    # the blend between them
    }
    pixels = [["."] * SIZE for _ in range(SIZE)]

    def fill(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                pixels[y][x] = c

    for i in range(6, 26, 3):  # pins on all four sides
        fill(i, 1, i + 1, 4, "m")
        fill(i, 27, i + 1, 30, "m")
        fill(1, i, 4, i + 1, "m")
        fill(27, i, 30, i + 1, "m")
    fill(4, 4, 27, 27, "k")
    fill(5, 5, 26, 26, "b")
    fill(5, 5, 26, 6, "B")
    fill(5, 5, 6, 26, "B")
    # The triangle: apex at the top, base at the bottom, corners coloured.
    for row in range(15):
        y = 9 + row
        half = row * 8 // 14
        for x in range(16 - half, 16 + half + 1):
            if row < 5:
                c = "r"
            elif x < 16 - half // 3:
                c = "g"
            elif x > 16 + half // 3:
                c = "u"
            else:
                c = "w"
            pixels[y][x] = c
    return colours, pixels


def swarm():
    """A blue-green glow in the middle of a black square, an orange-red swarm
    winding about it."""
    colours = {
        "k": (0, 0, 0),          # night
        "1": (210, 255, 245),    # the glow, brightest at its heart
        "2": (90, 235, 215),
        "3": (30, 170, 165),
        "4": (15, 100, 105),
        "5": (5, 45, 50),
        "r": (255, 70, 20),      # particles
        "o": (255, 140, 50),
        "d": (150, 35, 10),
    }
    centre = (SIZE - 1) / 2
    pixels = [["k"] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            distance = math.hypot(x - centre, y - centre)
            for limit, c in ((1.6, "1"), (3.0, "2"), (4.4, "3"), (5.8, "4"), (7.4, "5")):
                if distance < limit:
                    pixels[y][x] = c
                    break
    # The swarm: points along a golden-angle spiral, squashed into an ellipse
    # as the turning cube shows it, three shades by depth.
    for i in range(90):
        angle = i * 2.39996
        radius = 6.0 + 9.0 * math.sqrt(i / 90)
        x = round(centre + radius * math.cos(angle))
        y = round(centre + 0.72 * radius * math.sin(angle))
        if 0 <= x < SIZE and 0 <= y < SIZE and pixels[y][x] not in "123":
            pixels[y][x] = "rod"[i % 3]
    return colours, pixels


DESIGNS = {"package": package, "chip": chip, "swarm": swarm}


def write_icon(path, colours, pixels):
    names = [n for n in colours if colours[n] is not None]
    index = {n: i + 1 for i, n in enumerate(names)}  # entry 0: black, under the mask
    palette = [(0, 0, 0)] + [colours[n] for n in names]
    palette += [(0, 0, 0)] * (256 - len(palette))

    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 8, 0, 0, 0, 0, 256, 0)
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    rows = reversed(pixels)  # bottom-up, as bitmaps are
    xor = b""
    mask = b""
    for row in rows:
        xor += bytes(index.get(c, 0) for c in row)
        bits = "".join("1" if c == "." else "0" for c in row)
        mask += int(bits, 2).to_bytes(4, "big")
    image = header + colour_table + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    with open(path, "wb") as out:
        out.write(directory + entry + image)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in DESIGNS:
        sys.exit(__doc__)
    colours, pixels = DESIGNS[sys.argv[1]]()
    write_icon(sys.argv[2], colours, pixels)


if __name__ == "__main__":
    main()
