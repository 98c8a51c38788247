#!/usr/bin/env python3
"""Writes the source pictures of the BMP fixtures as binary PPM files (P6).

Each picture mixes long runs of one colour (run-length encoding uses repeat runs there) with
rows of changing colours (literal runs), has an odd width (rows need padding in a BMP) and holds
no more distinct colours than its fixtures' palettes, so that the quantizer keeps every colour.
"""

import sys


def write_ppm(name, width, height, pixel):
    with open(name, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height))
        for y in range(height):
            for x in range(width):
                f.write(bytes(pixel(x, y)))


def colors(count):
    """`count` distinct colours, spread over the RGB cube."""
    out = []
    for i in range(count):
        out.append(((i * 37) % 256, (i * 91 + 17) % 256, (i * 53 + 101) % 256))
    assert len(set(out)) == count
    return out


def picture(palette, width):
    n = len(palette)

    def pixel(x, y):
        if y % 4 == 0:
            return palette[(y // 4) % n]  # one colour across the whole row
        if y % 4 == 1:
            return palette[(x // 7 + y) % n]  # runs of 7
        if y % 4 == 2:
            return palette[(x * 5 + y) % n]  # a new colour every pixel
        return palette[(x * x + y) % n] if x < width // 2 else palette[(y * 3) % n]

    return pixel


def main():
    write_ppm("src256.ppm", 301, 19, picture(colors(200), 301))
    write_ppm("src16.ppm", 37, 23, picture(colors(16), 37))
    write_ppm("src2.ppm", 29, 11, picture([(0, 0, 0), (255, 255, 255)], 29))
    return 0


if __name__ == "__main__":
    sys.exit(main())
