#!/usr/bin/env python3
"""Draws the tool-bar pictures of resources/bitmaps as XPM files (20 x 20, drawn here).

Run from the top of the tree: python3 tools/bitmaps/make_bitmaps.py [resources/bitmaps]
Each picture is named after the command whose button shows it, or after the bitmap resource
that a picture button's strip starts with."""
import os
import sys

W = H = 20
COLORS = {'.': 'None', 'k': '#000000', 'w': '#FFFFFF', 'g': '#808080', 'y': '#F0D060',
          'b': '#2050C0', 'r': '#C02020', 'c': '#40A0A0', 'd': '#404040', 's': '#A8A8A8',
          'Y': '#FFFF40', 'B': '#90B0F0', 'G': '#209020', 'o': '#E08020', 'm': '#B040B0',
          'n': '#A06830', 'L': '#E8E8E8', 'p': '#F8D8A8'}


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
    """The side bar's mode button: each picture shows the command the button is bound to
    with it (0 help, 1 list modifications, 2 back to the normal view from an edit mode,
    3 the pointer, 4 calibrate, 5 calculate the sample, 6 the plate's layout)."""
    if n == 0:
        c = canvas()
        rect(c, 1, 1, 18, 18, 'w', 'g')
        glyph = DIGITS['?']
        for j, row in enumerate(glyph):
            for i, bit in enumerate(row):
                if bit == '1':
                    rect(c, 6 + 2 * i, 3 + 2 * j, 7 + 2 * i, 4 + 2 * j, 'b', 'b')
        return c
    return {1: mode_list_edit, 2: mode_edit, 3: pointer, 4: curve, 5: sample_graph, 6: mode_layout}[n]()


def layout_grid(c):
    """A small plate whose wells show the layout's colours."""
    marks = ['G', 'b', 'o']
    for j in range(3):
        for i in range(4):
            x, y = 1 + 4 * i, 5 + 4 * j
            rect(c, x, y, x + 2, y + 2, marks[j] if i < 3 - j + 1 else 'w', 'k')


def small_pencil(c):
    poly(c, [(15, 1), (19, 5), (12, 12), (9, 12), (9, 9)], 'y')
    line(c, 15, 1, 9, 8)
    line(c, 19, 5, 13, 11)
    dot(c, 9, 11, 'k')
    dot(c, 10, 11, 'k')
    dot(c, 9, 10, 'k')


def mode_layout():
    c = canvas()
    layout_grid(c)
    return c


def mode_edit():
    """An edit mode that the button ends: the layout with the pencil on it."""
    c = canvas()
    layout_grid(c)
    small_pencil(c)
    return c


def mode_list_edit():
    """The sample list with the pencil that changes it."""
    c = canvas()
    rect(c, 0, 4, 13, 18, 'w', 'k')
    for y in (7, 10, 13, 16):
        rect(c, 2, y - 1, 3, y, 'r', 'r')
        line(c, 5, y, 11, y, 'd')
    small_pencil(c)
    return c


def pointer():
    """The mouse pointer: an arrow pointing up and left."""
    c = canvas()
    pts = [(4, 1), (4, 16), (8, 12), (11, 18), (13, 17), (10, 11), (15, 11)]
    poly(c, pts, 'w')
    for a, b in zip(pts, pts[1:] + pts[:1]):
        line(c, a[0], a[1], b[0], b[1], 'k')
    return c


# --- shapes of the command pictures ---------------------------------------------------------

def dot(c, x, y, col):
    if 0 <= x < W and 0 <= y < H:
        c[y][x] = col


def disc(c, cx, cy, r, fill, edge='k'):
    """A filled circle of radius r around (cx, cy), its rim in the edge colour."""
    for y in range(H):
        for x in range(W):
            d = (x - cx) ** 2 + (y - cy) ** 2
            if d <= r * r + r * 0.8:
                inner = d <= (r - 1) ** 2 + (r - 1) + 0.5
                c[y][x] = fill if (inner or not edge) else edge


def poly(c, pts, col):
    """Fills a polygon given by its corners (even-odd rule at pixel centres)."""
    for y in range(H):
        for x in range(W):
            px, py = x + 0.5, y + 0.5
            inside = False
            for i in range(len(pts)):
                (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % len(pts)]
                if (y0 > py) != (y1 > py) and px < x0 + (py - y0) * (x1 - x0) / (y1 - y0):
                    inside = not inside
            if inside:
                c[y][x] = col


def page(c, x0, y0, x1, y1, lines='g', fold=True):
    rect(c, x0, y0, x1, y1, 'w')
    if fold:
        line(c, x1 - 3, y0, x1, y0 + 3)
        for i in range(3):
            for j in range(3 - i):
                c[y0 + i][x1 - j] = '.'
        line(c, x1 - 3, y0, x1 - 3, y0 + 3)
        line(c, x1 - 3, y0 + 3, x1, y0 + 3)
    if lines:
        for y in range(y0 + 3, y1 - 1, 2):
            line(c, x0 + 2, y, x1 - (4 if fold and y < y0 + 4 else 2), y, lines)


def arrowhead(c, x, y, direction, col, size=3):
    """A filled triangle whose tip is at (x, y), pointing 'l', 'r', 'u' or 'd'."""
    for i in range(size + 1):
        for j in range(-i, i + 1):
            if direction == 'r':
                dot(c, x - i, y + j, col)
            elif direction == 'l':
                dot(c, x + i, y + j, col)
            elif direction == 'd':
                dot(c, x + j, y - i, col)
            else:
                dot(c, x + j, y + i, col)


def thick(c, x0, y0, x1, y1, col):
    line(c, x0, y0, x1, y1, col)
    line(c, x0 + 1, y0, x1 + 1, y1, col)


def magnifier(c, cx, cy):
    disc(c, cx, cy, 3, 'B')
    for i in range(4):
        dot(c, cx + 3 + i, cy + 3 + i, 'd')
        dot(c, cx + 4 + i, cy + 3 + i, 'd')
        dot(c, cx + 3 + i, cy + 4 + i, 'd')


def well_grid(c, x0, y0, cols, rows, pitch, fills):
    """Small wells of a plate; fills(i, j) gives the colour of well i, j."""
    for j in range(rows):
        for i in range(cols):
            x, y = x0 + pitch * i, y0 + pitch * j
            f = fills(i, j)
            # An empty well is outlined; a filled one is its colour throughout, to be seen.
            rect(c, x, y, x + pitch - 2, y + pitch - 2, f, 'g' if f == 'w' else f)


# The pictures of the commands.

def save():
    """A floppy disc."""
    c = canvas()
    rect(c, 2, 2, 17, 17, 'b', 'k')
    rect(c, 5, 2, 14, 7, 's', 'k')
    rect(c, 11, 3, 12, 6, 'd', 'd')
    rect(c, 4, 10, 15, 17, 'w', 'k')
    for y in (12, 14):
        line(c, 6, y, 13, y, 'g')
    dot(c, 2, 2, '.')
    return c


def cut():
    """Scissors: two blades crossing, the handles below."""
    c = canvas()
    line(c, 6, 1, 12, 12, 'd')
    line(c, 7, 1, 13, 12, 's')
    line(c, 13, 1, 7, 12, 'd')
    line(c, 12, 1, 6, 12, 's')
    disc(c, 5, 15, 3, 'w', 'r')
    disc(c, 14, 15, 3, 'w', 'r')
    dot(c, 9, 7, 'k')
    dot(c, 10, 7, 'k')
    return c


def copy():
    """Two pages, one over the other."""
    c = canvas()
    page(c, 2, 1, 11, 13)
    page(c, 7, 6, 17, 18, 'b')
    return c


def paste():
    """A clip board with a page on it."""
    c = canvas()
    rect(c, 2, 3, 13, 18, 'n', 'k')
    rect(c, 5, 1, 10, 4, 's', 'k')
    page(c, 8, 7, 17, 18, 'b')
    return c


def undo():
    """An arrow that bends back to the left."""
    c = canvas()
    for x in range(6, 14):
        dot(c, x, 6, 'b')
        dot(c, x, 7, 'b')
    for (x, y) in ((14, 7), (15, 8), (16, 9), (16, 10), (16, 11), (15, 12), (14, 13)):
        dot(c, x, y, 'b')
        dot(c, x - 1, y, 'b')
    for x in range(8, 14):
        dot(c, x, 13, 'b')
        dot(c, x, 14, 'b')
    arrowhead(c, 2, 6, 'l', 'b', 4)
    rect(c, 6, 6, 6, 7, 'b', 'b')
    return c


def printer(report=False):
    """A printer with a page coming out of it."""
    c = canvas()
    page(c, 5, 1, 14, 9, 'o' if report else 'g', fold=False)
    rect(c, 1, 8, 18, 15, 's', 'k')
    rect(c, 4, 12, 15, 12, 'd', 'd')
    dot(c, 16, 10, 'G')
    rect(c, 5, 14, 14, 18, 'w', 'k')
    if report:
        line(c, 7, 16, 12, 16, 'o')
    return c


def preview(report=False):
    """A page seen through a magnifier."""
    c = canvas()
    page(c, 2, 1, 14, 18, 'o' if report else 'g')
    magnifier(c, 10, 10)
    return c


def measure():
    """The reader: light shines down through a well of the plate."""
    c = canvas()
    rect(c, 6, 0, 13, 3, 'd', 'k')
    poly(c, [(8, 4), (12, 4), (14, 11), (6, 11)], 'Y')
    rect(c, 1, 11, 18, 17, 's', 'k')
    for x in (3, 7, 11, 15):
        disc(c, x + 1, 14, 1, 'B' if x == 7 or x == 11 else 'w', 'g')
    return c


def calculate():
    """A pocket calculator."""
    c = canvas()
    rect(c, 3, 1, 16, 18, 's', 'k')
    rect(c, 5, 3, 14, 6, 'G', 'k')
    for j in range(3):
        for i in range(3):
            x, y = 5 + 3 * i, 8 + 3 * j
            rect(c, x, y, x + 1, y + 1, 'w', 'w')
    rect(c, 14, 8, 14, 16, 'r', 'r')
    return c


def delete():
    """A waste bin."""
    c = canvas()
    rect(c, 3, 3, 16, 5, 's', 'k')
    rect(c, 8, 1, 11, 3, 's', 'k')
    poly(c, [(4, 6), (16, 6), (15, 19), (5, 19)], 's')
    line(c, 4, 6, 5, 18)
    line(c, 15, 6, 14, 18)
    line(c, 5, 18, 14, 18)
    for x in (7, 10, 12):
        line(c, x, 8, x, 16, 'd')
    return c


def dilution(step):
    """A well for the dilution letter, with an arrow to the next (or the previous) one."""
    c = canvas()
    if step > 0:
        disc(c, 8, 10, 6, 'w', 'b')
        arrowhead(c, 19, 10, 'r', 'b', 3)
        line(c, 15, 10, 16, 10, 'b')
    else:
        disc(c, 11, 10, 6, 'B', 'b')
        disc(c, 11, 10, 2, 'w', 'b')
        arrowhead(c, 0, 10, 'l', 'b', 3)
        line(c, 3, 10, 4, 10, 'b')
    return c


def replication():
    """A dilution series and the same series again below it."""
    c = canvas()
    for row, y in ((0, 4), (1, 14)):
        for i, col in enumerate(('b', 'B', 'w')):
            disc(c, 4 + 6 * i, y, 2, col, 'b')
    line(c, 10, 7, 10, 9, 'r')
    arrowhead(c, 10, 11, 'd', 'r', 2)
    return c


def arrangement(kind):
    """Wells of a plate, with the samples placed singly, in pairs across, in pairs down, or freely."""
    c = canvas()
    marks = {
        0: {(0, 0), (2, 0), (1, 1), (3, 1), (0, 2), (2, 2), (1, 3), (3, 3)},
        1: {(0, 0), (1, 0), (2, 2), (3, 2)},
        2: {(0, 0), (0, 1), (2, 2), (2, 3)},
        3: {(1, 1), (2, 1), (1, 2), (2, 2), (3, 2)},
    }[kind]
    colours = {0: 'o', 1: 'o', 2: 'o', 3: 'B'}
    well_grid(c, 2, 2, 4, 4, 4, lambda i, j: colours[kind] if (i, j) in marks else 'w')
    if kind in (1, 2):
        # The second pair in another colour, so the pairs read as pairs.
        for (i, j) in sorted(marks)[2:]:
            rect(c, 2 + 4 * i, 2 + 4 * j, 4 + 4 * i, 4 + 4 * j, 'b', 'b')
    if kind == 3:
        for x in range(5, 18, 2):
            dot(c, x, 5, 'r')
            dot(c, x, 13, 'r')
        for y in range(5, 14, 2):
            dot(c, 5, y, 'r')
            dot(c, 17, y, 'r')
    return c


def data_entry():
    """A pencil writing into a cell."""
    c = canvas()
    rect(c, 1, 9, 14, 18, 'w', 'g')
    line(c, 3, 15, 8, 15, 'k')
    poly(c, [(12, 1), (18, 7), (10, 15), (4, 16), (5, 10)], 'y')
    line(c, 12, 1, 5, 9)
    line(c, 18, 7, 11, 14)
    poly(c, [(5, 11), (9, 15), (4, 16)], 'p')
    dot(c, 4, 15, 'k')
    dot(c, 5, 15, 'k')
    dot(c, 4, 14, 'k')
    return c


def plate_matrix():
    """The plate: rows of wells."""
    c = canvas()
    rect(c, 0, 3, 19, 16, 's', 'k')
    for j in range(3):
        for i in range(5):
            disc(c, 3 + 3.5 * i, 6 + 3.5 * j, 1, 'w', 'd')
    return c


def sample_list():
    """A list: rows with a mark and a line each."""
    c = canvas()
    rect(c, 1, 1, 18, 18, 'w', 'k')
    rect(c, 1, 1, 18, 4, 's', 'k')
    for y in (7, 10, 13, 16):
        rect(c, 3, y - 1, 4, y, 'b', 'b')
        line(c, 6, y, 16, y, 'd')
    return c


def axes(c):
    line(c, 2, 1, 2, 17)
    line(c, 2, 17, 18, 17)


def curve():
    """The calibration curve through its standards."""
    c = canvas()
    axes(c)
    pts = [(3, 16), (5, 15), (7, 13), (9, 10), (11, 7), (13, 5), (15, 4), (17, 3)]
    for a, b in zip(pts, pts[1:]):
        line(c, a[0], a[1], b[0], b[1], 'b')
    for (x, y) in ((5, 15), (9, 10), (13, 5)):
        rect(c, x - 1, y - 1, x + 1, y + 1, 'r', 'r')
    return c


def sample_graph():
    """A sample's points against its dilutions."""
    c = canvas()
    axes(c)
    for x, h in ((5, 12), (9, 9), (13, 6), (17, 4)):
        line(c, x, 16, x, 16 - h + 3, 's')
        disc(c, x, 16 - h, 1, 'o', 'o')
    line(c, 5, 4, 17, 12, 'g')
    return c


def sample_status():
    """A sample's report card: one result passed, one failed."""
    c = canvas()
    page(c, 2, 1, 16, 18, None)
    line(c, 4, 7, 6, 9, 'G')
    line(c, 6, 9, 10, 4, 'G')
    line(c, 4, 8, 6, 10, 'G')
    line(c, 6, 10, 10, 5, 'G')
    line(c, 4, 12, 8, 16, 'r')
    line(c, 8, 12, 4, 16, 'r')
    line(c, 11, 8, 14, 8, 'g')
    line(c, 11, 14, 14, 14, 'g')
    return c


def calibration_info():
    """The curve with an information mark."""
    c = curve()
    disc(c, 14, 13, 5, 'b', 'b')
    rect(c, 14, 10, 14, 10, 'w', 'w')
    line(c, 14, 12, 14, 16, 'w')
    return c


def calibration_definition():
    """A dialog window holding the curve: where the calibration is defined."""
    c = canvas()
    rect(c, 0, 1, 19, 18, 'w', 'k')
    rect(c, 0, 1, 19, 4, 'b', 'k')
    line(c, 3, 6, 3, 16)
    line(c, 3, 16, 17, 16)
    for a, b in zip([(4, 15), (8, 13), (12, 9), (16, 7)], [(8, 13), (12, 9), (16, 7), (17, 7)]):
        line(c, a[0], a[1], b[0], b[1], 'r')
    for (x, y) in ((8, 13), (12, 9)):
        dot(c, x, y - 1, 'k')
        dot(c, x, y + 1, 'k')
    return c


def layer(kind):
    """A cell of the plate with the line of one layer standing out."""
    c = canvas()
    rect(c, 1, 1, 18, 18, 'L', 'g')
    if kind == 0:      # the sample layout: samples of three kinds in colour
        for x, col in ((3, 'G'), (8, 'b'), (13, 'o')):
            rect(c, x, 4, x + 3, 15, col, col)
    elif kind == 1:    # identifications: a name label
        poly(c, [(3, 6), (14, 6), (18, 10), (14, 14), (3, 14)], 'y')
        disc(c, 14, 10, 1, 'w', 'd')
        line(c, 5, 9, 11, 9, 'd')
        line(c, 5, 11, 10, 11, 'd')
    elif kind == 2:    # transformed data: a measured bar made smaller by the blank
        rect(c, 3, 3, 7, 16, 's', 'd')
        rect(c, 12, 9, 16, 16, 'b', 'd')
        line(c, 8, 7, 10, 9, 'r')
        arrowhead(c, 11, 10, 'r', 'r', 2)
    elif kind == 3:    # measured data: light through a well
        poly(c, [(8, 2), (12, 2), (14, 9), (6, 9)], 'Y')
        disc(c, 10, 13, 4, 'B', 'd')
    else:              # results: a flask holding the concentration found
        poly(c, [(8, 3), (12, 3), (12, 8), (17, 17), (3, 17), (8, 8)], 'w')
        poly(c, [(6, 12), (14, 12), (17, 17), (3, 17)], 'G')
        line(c, 8, 3, 8, 8)
        line(c, 12, 3, 12, 8)
        line(c, 8, 8, 3, 17)
        line(c, 12, 8, 17, 17)
        line(c, 3, 17, 17, 17)
        line(c, 7, 3, 13, 3)
    return c


def sample_tool(kind):
    """Wells in the colour the plate shows for controls, qualitative samples, standards or
    quantitative samples (standards as a dilution series)."""
    c = canvas()
    if kind == 'controls':
        for x in (5, 14):
            disc(c, x, 10, 4, 'G', 'k')
        return c
    if kind == 'standards':
        for i, col in enumerate(('b', 'B', 'w')):
            disc(c, 4 + 6 * i, 10, 3, col, 'k')
        return c
    colour = 'm' if kind == 'qualitative' else 'o'
    disc(c, 10, 10, 7, colour, 'k')
    if kind == 'qualitative':
        # Positive or negative.
        line(c, 5, 10, 9, 10, 'w')
        line(c, 7, 8, 7, 12, 'w')
        line(c, 11, 10, 15, 10, 'w')
    else:
        # A quantity: a scale of three steps.
        for i, h in enumerate((3, 5, 7)):
            x = 7 + 3 * i
            line(c, x, 13, x, 13 - h, 'w')
    return c


def repeat(picked):
    """A sample's well copied into another; coloured once a sample is picked."""
    c = canvas()
    disc(c, 5, 5, 4, 'o' if picked else 'w', 'k' if picked else 'g')
    disc(c, 14, 14, 4, 'p' if picked else 'w', 'g')
    line(c, 8, 9, 10, 11, 'r')
    arrowhead(c, 11, 12, 'r', 'r', 2)
    return c


def edit_sample():
    """A pencil on a sample's well."""
    c = canvas()
    disc(c, 7, 12, 6, 'o', 'k')
    poly(c, [(15, 1), (19, 5), (11, 13), (8, 13), (8, 10)], 'y')
    line(c, 15, 1, 8, 9)
    line(c, 19, 5, 12, 12)
    dot(c, 8, 12, 'k')
    dot(c, 9, 12, 'k')
    dot(c, 8, 11, 'k')
    return c


def renumber(active):
    """A number tag; the red number of the next sample is drawn over it while renumbering,
    and at rest it shows the numbers 1 2 3 in a row."""
    c = canvas()
    rect(c, 2, 3, 17, 16, 'Y' if active else 'w', 'k')
    disc(c, 4, 5, 0, 'k', 'k')
    line(c, 2, 17, 17, 17, 'g')
    line(c, 18, 4, 18, 17, 'g')
    if not active:
        # 1, 2 and 3 in small strokes, the order they give.
        line(c, 6, 7, 6, 12, 'b')
        line(c, 5, 8, 6, 7, 'b')
        for (x0, y0, x1, y1) in ((9, 7, 11, 7), (11, 7, 11, 9), (11, 9, 9, 11), (9, 12, 11, 12)):
            line(c, x0, y0, x1, y1, 'b')
        for (x0, y0, x1, y1) in ((13, 7, 15, 7), (15, 7, 15, 12), (13, 9, 15, 9), (13, 12, 15, 12)):
            line(c, x0, y0, x1, y1, 'b')
    return c


def identifications():
    """An edit field with a name typed into it."""
    c = canvas()
    rect(c, 1, 5, 18, 14, 'w', 'k')
    line(c, 3, 10, 11, 10, 'b')
    line(c, 3, 11, 11, 11, 'b')
    line(c, 13, 7, 13, 12, 'k')
    line(c, 12, 7, 14, 7, 'k')
    line(c, 12, 12, 14, 12, 'k')
    return c


def fix_it(fixed):
    """A drawing pin: a sample fixed in its place."""
    c = canvas()
    col = 'r' if fixed else 's'
    disc(c, 10, 6, 5, col, 'k')
    rect(c, 8, 10, 12, 12, col, 'k')
    line(c, 10, 13, 10, 19, 'd')
    return c


def sample_definition(active):
    """A sample's page of definitions: a well and its formula lines."""
    c = canvas()
    page(c, 2, 1, 17, 18, None)
    disc(c, 7, 7, 3, 'o' if active else 'B', 'k')
    for y in (12, 14, 16):
        line(c, 5, y, 14, y, 'b')
    line(c, 12, 5, 14, 5, 'd')
    line(c, 12, 8, 14, 8, 'd')
    return c


COMMAND_PICTURES = {
    24333: save, 24322: cut, 24323: copy, 24324: paste, 24321: undo,
    24337: printer, 24340: preview,
    2601: lambda: printer(True), 2602: lambda: preview(True),
    2210: measure, 2211: calculate, 2490: delete,
    2493: lambda: dilution(1), 2494: lambda: dilution(-1), 2495: replication,
    2496: lambda: arrangement(0), 2497: lambda: arrangement(1),
    2498: lambda: arrangement(2), 2499: lambda: arrangement(3),
    2472: data_entry,
    2224: plate_matrix, 2225: sample_list, 2226: curve, 2227: sample_graph, 2228: sample_status,
    2208: calibration_info, 2218: calibration_definition,
    2483: lambda: layer(0), 2484: lambda: layer(1), 2485: lambda: layer(2),
    2486: lambda: layer(3), 2487: lambda: layer(4),
    2476: lambda: sample_tool('controls'), 2477: lambda: sample_tool('qualitative'),
    2478: lambda: sample_tool('standards'), 2479: lambda: sample_tool('quantitative'),
    12480: lambda: repeat(False), 12481: lambda: repeat(True),
    2481: edit_sample,
    12487: lambda: renumber(False), 12488: lambda: renumber(True),
    1572: identifications,
    12507: lambda: fix_it(False), 12508: lambda: fix_it(True),
    3218: lambda: sample_definition(False), 3219: lambda: sample_definition(True),
}


# --- the page setup's pictures of the printout kinds (48 x 32) ----------------------------------

def sized(w, h, draw):
    """Draws a picture of another size than the buttons' 20 x 20."""
    global W, H
    old = (W, H)
    W, H = w, h
    try:
        return draw()
    finally:
        W, H = old


def kind_plate():
    """A plate of wells, some filled."""
    c = canvas()
    rect(c, 1, 3, 46, 28, 's', 'k')
    for j in range(5):
        for i in range(10):
            fill = 'b' if j == 1 else ('o' if j == 2 and i < 8 else ('G' if j == 0 and i < 2 else 'w'))
            x, y = 6 + 4 * i, 8 + 4 * j
            rect(c, x - 1, y - 1, x + 1, y + 1, fill, 'g' if fill == 'w' else fill)
    return c


def kind_results():
    """A page of results: number, identification and result on each line."""
    c = canvas()
    page(c, 9, 1, 38, 30, None)
    for y in range(6, 28, 4):
        line(c, 12, y, 13, y, 'r')
        line(c, 16, y, 26, y, 'd')
        line(c, 29, y, 34, y, 'k')
    return c


def kind_graph():
    """A calibration curve through its standards, with its axes."""
    c = canvas()
    line(c, 6, 2, 6, 28)
    line(c, 6, 28, 44, 28)
    for x in range(6, 45, 6):
        dot(c, x, 29, 'k')
    pts = [(7, 26), (12, 24), (17, 20), (22, 15), (27, 10), (32, 7), (37, 5), (43, 4)]
    for a, b in zip(pts, pts[1:]):
        line(c, a[0], a[1], b[0], b[1], 'b')
    for (x, y) in ((12, 24), (22, 15), (32, 7)):
        rect(c, x - 1, y - 1, x + 1, y + 1, 'r', 'r')
    return c


def kind_method():
    """The method's summary: a page of definitions, a well and formula lines."""
    c = canvas()
    page(c, 9, 1, 38, 30, None)
    disc(c, 15, 7, 3, 'B', 'k')
    for y in (5, 8):
        line(c, 21, y, 34, y, 'd')
    for y in (14, 18, 22, 26):
        line(c, 12, y, 14, y, 'm')
        line(c, 17, y, 34, y, 'b')
    return c


def kind_report():
    """A report page: a title bar, lines of text and a small graph."""
    c = canvas()
    page(c, 9, 1, 38, 30, None)
    rect(c, 11, 4, 34, 7, 'B', 'B')
    for y in (10, 12):
        line(c, 12, y, 34, y, 'd')
    line(c, 13, 16, 13, 27)
    line(c, 13, 27, 34, 27)
    for a, b in zip([(14, 26), (19, 24), (24, 20), (29, 18), (33, 17)],
                    [(19, 24), (24, 20), (29, 18), (33, 17), (34, 17)]):
        line(c, a[0], a[1], b[0], b[1], 'r')
    return c


KIND_PICTURES = {23601: kind_plate, 23602: kind_results, 23603: kind_graph, 23604: kind_method,
                 23605: kind_report}


# --- the installation wizard's pictures (96 x 160), one for each page ---------------------------

def wizard_panel():
    """The pages' common ground: a blue panel, darker towards the bottom, with a plate at the top."""
    c = canvas()
    rect(c, 0, 0, W - 1, H - 1, 'B', 'b')
    for y in range(H // 2, H - 1):
        for x in range(1, W - 1):
            if (x + y) % 2 == 0 or y > 3 * H // 4:
                c[y][x] = 'b'
    rect(c, 14, 10, 81, 45, 's', 'k')
    for j in range(4):
        for i in range(8):
            x, y = 20 + 8 * i, 16 + 8 * j
            fill = ['G', 'b', 'o', 'w'][j] if i < 8 - j else 'w'
            disc(c, x, y, 2, fill, 'd')
    return c


def wizard_welcome():
    c = wizard_panel()
    # A reader's carrier taking the plate in.
    rect(c, 24, 70, 71, 100, 's', 'k')
    rect(c, 30, 76, 65, 82, 'd', 'k')
    for i in range(5):
        line(c, 48 - i, 88 + i, 48 + i, 88 + i, 'Y')
    return c


def wizard_destination():
    c = wizard_panel()
    # A folder to put the program in.
    rect(c, 20, 78, 75, 112, 'y', 'k')
    rect(c, 20, 72, 42, 78, 'y', 'k')
    line(c, 22, 84, 73, 84, 'n')
    return c


def wizard_start_menu():
    c = wizard_panel()
    # A menu with the program's entry picked.
    rect(c, 22, 66, 73, 120, 'w', 'k')
    for k, y in enumerate(range(72, 118, 9)):
        if k == 2:
            rect(c, 23, y - 3, 72, y + 3, 'b', 'b')
            line(c, 28, y, 66, y, 'w')
        else:
            line(c, 28, y, 66, y, 'd')
    return c


def wizard_confirm():
    c = wizard_panel()
    # A check mark: all is ready.
    for t in range(4):
        line(c, 26, 88 + t, 42, 104 + t, 'G')
        line(c, 42, 104 + t, 72, 70 + t, 'G')
    return c


WIZARD_PICTURES = {601: wizard_confirm, 602: wizard_destination, 603: wizard_start_menu, 604: wizard_welcome}


def write(path, c):
    used = sorted({ch for row in c for ch in row})
    name = os.path.splitext(os.path.basename(path))[0]
    with open(path, 'w') as f:
        f.write('/* XPM */\nstatic const char *pic_%s[] = {\n' % name)
        f.write('"%d %d %d 1",\n' % (len(c[0]), len(c), len(used)))
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
    for res_id, draw in COMMAND_PICTURES.items():
        write(os.path.join(out, '%d.xpm' % res_id), draw())
    for res_id, draw in KIND_PICTURES.items():
        write(os.path.join(out, '%d.xpm' % res_id), sized(48, 32, draw))
    for res_id, draw in WIZARD_PICTURES.items():
        write(os.path.join(out, '%d.xpm' % res_id), sized(96, 160, draw))


if __name__ == '__main__':
    main()
