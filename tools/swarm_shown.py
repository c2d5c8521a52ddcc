#!/usr/bin/env python3
"""swarm_shown.py IMAGE.ppm: exit status 0 when the picture shows the saver's
swarm: orange-red particles and a blue-green glow on black, counted as the
test drivers count them (tests/kit/swarm_colours.h). Otherwise prints the
counts and exits with 1."""
import sys


def read_ppm(path):
    """The pixels of a binary PPM with 8-bit samples, as one bytes object."""
    with open(path, "rb") as f:
        data = f.read()
    fields, at = [], 0
    while len(fields) < 4:  # magic, width, height, largest sample
        while data[at:at + 1].isspace() or data[at:at + 1] == b"#":
            if data[at:at + 1] == b"#":
                at = data.index(b"\n", at)
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError(f"{path}: not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    return width * height, data[at + 1:at + 1 + 3 * width * height]


def main():
    area, rgb = read_ppm(sys.argv[1])
    black = orange_red = blue_green = 0
    for i in range(0, len(rgb), 3):
        r, g, b = rgb[i], rgb[i + 1], rgb[i + 2]
        black += r == g == b == 0
        orange_red += r > 40 and r > 2 * g and g >= b
        blue_green += b > 30 and b > r and g > r
    few = area // 40000 + 1
    if black > area // 2 and orange_red > few and blue_green > few:
        return 0
    print(f"{black} black, {orange_red} orange-red and {blue_green} blue-green pixels of {area}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
