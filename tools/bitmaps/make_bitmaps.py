#!/usr/bin/env python3
"""Draws the tool-bar pictures of resources/bitmaps as XPM files (20 x 20, drawn here)."""
import os
import sys

W = H = 20
COLORS = {'.': 'None', 'k': '#000000', 'w': '#FFFFFF', 'g': '#808080', 'y': '#F0D060',
          'b': '#2050C0', 'r': '#C02020', 'c': '#40A0A0'}


def canvas():
    return [['.'] * W for _ in range(H)]


def rect(c, x0, y0, x1, y1, fill=None, edge='k'):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            on_edge = x in (x0, x1) or y in (y0, y1)
            if on_edge and edge:
                c[y][x] = edge
            elif fill:
                c[y][x] = fill


def line(c, x0, y0, x1, y1, col='k'):
    n = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(n + 1):
        c[round(y0 + (y1 - y0) * i / n)][round(x0 + (x1 - x0) * i / n)] = col


def arrow(c, x, y0, y1, col):
    line(c, x, y0, x, y1, col)
    line(c, x - 1, y0, x - 1, y1, col)
    d = 1 if y1 > y0 else -1
    for i in range(4):
        line(c, x - 1 - i, y1 - d * i, x + i, y1 - d * i, col)


def new_page():
    c = canvas()
    rect(c, 4, 2, 15, 17, 'w')
    line(c, 12, 2, 15, 5)
    for y in (7, 10, 13):
        line(c, 6, y, 13, y, 'g')
    return c


def open_folder():
    c = canvas()
    rect(c, 2, 6, 17, 16, 'y')
    rect(c, 2, 4, 8, 6, 'y')
    line(c, 13, 2, 17, 2, 'b')
    line(c, 17, 2, 17, 5, 'b')
    return c


def carrier(eject):
    c = canvas()
    rect(c, 2, 13, 17, 17, 'g')
    for x in range(4, 16, 3):
        c[15][x] = 'w'
    if eject:
        arrow(c, 10, 11, 2, 'r')
    else:
        arrow(c, 10, 1, 10, 'b')
    return c


DIGITS = {
    '?': ["0110", "1001", "0001", "0010", "0100", "0000", "0100"],
}


def mode(n):
    c = canvas()
    rect(c, 1, 1, 18, 18, 'w', 'g')
    if n == 0:
        glyph = DIGITS['?']
        for j, row in enumerate(glyph):
            for i, bit in enumerate(row):
                if bit == '1':
                    rect(c, 6 + 2 * i, 3 + 2 * j, 7 + 2 * i, 4 + 2 * j, 'b', 'b')
        return c
    # One small plate grid per mode, with the mode's cells marked.
    marks = {1: 'r', 2: 'y', 3: 'r', 4: 'y', 5: 'c', 6: 'b'}[n]
    for j in range(3):
        for i in range(4):
            x, y = 3 + 4 * i, 4 + 4 * j
            rect(c, x, y, x + 2, y + 2, marks if (i + j + n) % 3 == 0 else 'w', 'k')
    return c


def write(path, c):
    used = sorted({ch for row in c for ch in row})
    name = os.path.splitext(os.path.basename(path))[0]
    with open(path, 'w') as f:
        f.write('/* XPM */\nstatic const char *pic_%s[] = {\n' % name)
        f.write('"%d %d %d 1",\n' % (W, H, len(used)))
        for ch in used:
            f.write('"%s c %s",\n' % (ch, COLORS[ch]))
        f.write(',\n'.join('"%s"' % ''.join(row) for row in c))
        f.write('};\n')


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else 'resources/bitmaps'
    write(os.path.join(out, '24331.xpm'), new_page())
    write(os.path.join(out, '24332.xpm'), open_folder())
    write(os.path.join(out, '2230.xpm'), carrier(False))
    write(os.path.join(out, '2231.xpm'), carrier(True))
    for n in range(7):
        write(os.path.join(out, '%d.xpm' % (1029 + n)), mode(n))


if __name__ == '__main__':
    main()
