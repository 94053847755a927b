"""The right half of the login artwork: the dark frame around the login page,
its two dragons, the title plaque with the flaming pearl, and the sockets
under the panel's round close and minimise buttons."""

import math

import cairo

from common import catmull, hexc, lin_grad, mix, rad_grad, rounded_rect, set_font, text_centre

# The login page is shown exactly over this rectangle.
INNER = (560, 177, 1191, 623)
# Outer edge of the frame body.
OUTER = (518, 134, 1232, 664)
CENTRE_X = (INNER[0] + INNER[2]) / 2  # 875.5
# Round panel buttons that sit over the top-right corner (centre, radius).
CLOSE_BTN = (1208 + 27, 115 + 27, 27)
MIN_BTN = (1173 + 19.5, 137 + 19.5, 19.5)

GOLD_HI = hexc("#fff0b8")
GOLD = hexc("#e0a94a")
GOLD_MID = hexc("#a8742c")
GOLD_LO = hexc("#5a3a12")
IRON = hexc("#1a130e")
IRON_LO = hexc("#0b0806")
LACQUER = hexc("#7d1410")


def gold_v(y0, y1):
    return lin_grad(0, y0, 0, y1, [(0, GOLD_HI), (0.35, GOLD), (0.7, GOLD_MID), (1, GOLD_LO)])


def gold_diag(x0, y0, x1, y1):
    return lin_grad(x0, y0, x1, y1, [(0, GOLD_HI), (0.3, GOLD), (0.65, GOLD_MID), (1, GOLD_LO)])


# ---------------------------------------------------------------------------
# frame body


def _fret_unit(ctx, x, y, s):
    """One squared spiral of the key-fret border pattern, s px tall."""
    u = s / 5.0
    pts = [(0, 5), (0, 0), (4, 0), (4, 4), (1, 4), (1, 1), (3, 1), (3, 3), (2, 3)]
    ctx.move_to(x + pts[0][0] * u, y + pts[0][1] * u)
    for px, py in pts[1:]:
        ctx.line_to(x + px * u, y + py * u)


def _fret_band(ctx, x0, y0, x1, y1, vertical):
    """Carved key-fret relief along one side of the frame."""
    ctx.save()
    ctx.rectangle(x0, y0, x1 - x0, y1 - y0)
    ctx.clip()
    s = (x1 - x0 if vertical else y1 - y0) - 10
    step = s + 2
    length = (y1 - y0) if vertical else (x1 - x0)
    n = int(length // step)
    start = ((y0 if vertical else x0) + (length - n * step) / 2)
    ctx.set_line_cap(cairo.LINE_CAP_SQUARE)
    ctx.set_line_join(cairo.LINE_JOIN_MITER)
    for layer, (dx, dy, col, lw) in enumerate(((0.8, 0.8, (0, 0, 0, 0.85), 1.6),
                                               (0, 0, mix(GOLD_MID, IRON, 0.35), 1.3))):
        ctx.new_path()
        for i in range(n):
            a = start + i * step
            if vertical:
                ctx.save()
                ctx.translate(x0 + 5 + dx, a + dy)
                ctx.translate(s / 2, s / 2)
                ctx.rotate(math.pi / 2 if i % 2 else -math.pi / 2)
                ctx.translate(-s / 2, -s / 2)
                _fret_unit(ctx, 0, 0, s)
                ctx.restore()
            else:
                ctx.save()
                ctx.translate(a + dx, y0 + 5 + dy)
                if i % 2:
                    ctx.translate(s, s)
                    ctx.rotate(math.pi)
                _fret_unit(ctx, 0, 0, s)
                ctx.restore()
        ctx.set_source_rgba(*col)
        ctx.set_line_width(lw)
        ctx.stroke()
    ctx.restore()


def _gem(ctx, cx, cy, r, colour=hexc("#c0201a")):
    ctx.arc(cx, cy, r + 2.2, 0, 2 * math.pi)
    ctx.set_source(gold_diag(cx - r, cy - r, cx + r, cy + r))
    ctx.fill()
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.set_source(rad_grad(cx, cy, 0, r, [(0, mix(colour, (1, 1, 1, 1), 0.45)), (0.55, colour), (1, mix(colour, (0, 0, 0, 1), 0.6))],
                            fx=cx - r * 0.35, fy=cy - r * 0.4))
    ctx.fill()
    ctx.arc(cx - r * 0.35, cy - r * 0.38, r * 0.25, 0, 2 * math.pi)
    ctx.set_source_rgba(1, 1, 1, 0.7)
    ctx.fill()


def _ruyi(ctx, s):
    """A ruyi cloud head (three lobes, point downwards) around the origin."""
    ctx.move_to(0, s * 1.0)
    ctx.curve_to(-s * 0.35, s * 0.6, -s * 1.15, s * 0.55, -s * 1.05, -s * 0.05)
    ctx.curve_to(-s * 1.0, -s * 0.6, -s * 0.35, -s * 0.75, -s * 0.2, -s * 0.45)
    ctx.curve_to(-s * 0.3, -s * 1.05, s * 0.3, -s * 1.05, s * 0.2, -s * 0.45)
    ctx.curve_to(s * 0.35, -s * 0.75, s * 1.0, -s * 0.6, s * 1.05, -s * 0.05)
    ctx.curve_to(s * 1.15, s * 0.55, s * 0.35, s * 0.6, 0, s * 1.0)
    ctx.close_path()


def _corner_piece(ctx, cx, cy, rot):
    """Gilded cloud bracket over a frame corner; rot turns it outwards."""
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(rot)
    ctx.save()
    ctx.translate(-3, -3)
    _ruyi(ctx, 34)
    ctx.restore()
    ctx.set_source_rgba(*IRON_LO)
    ctx.fill()
    _ruyi(ctx, 31)
    ctx.set_source(gold_diag(-30, -30, 30, 30))
    ctx.fill()
    _ruyi(ctx, 25)
    ctx.set_source(lin_grad(-25, -25, 25, 25, [(0, hexc("#3a2614")), (1, IRON_LO)]))
    ctx.fill()
    # curls inside the lobes
    ctx.set_line_width(2)
    ctx.set_source(gold_diag(-25, -25, 25, 25))
    for sx in (-1, 1):
        ctx.new_path()
        ctx.arc(sx * 14, -3, 6, 0, 2 * math.pi * 0.8)
        ctx.stroke()
    ctx.new_path()
    ctx.arc(0, -16, 5, math.pi, math.pi * 2.7)
    ctx.stroke()
    ctx.restore()
    _gem(ctx, cx, cy, 7)


def draw_frame_body(ctx):
    x0, y0, x1, y1 = OUTER
    ix0, iy0, ix1, iy1 = INNER
    # body: near-black iron with a faint warm sheen towards the top
    rounded_rect(ctx, x0, y0, x1 - x0, y1 - y0, 8)
    ctx.set_source(lin_grad(0, y0, 0, y1, [(0, hexc("#2c1f15")), (0.5, IRON), (1, IRON_LO)]))
    ctx.fill()
    # outer gold rim with bevel
    rounded_rect(ctx, x0 + 2.5, y0 + 2.5, x1 - x0 - 5, y1 - y0 - 5, 6)
    ctx.set_line_width(3)
    ctx.set_source(gold_diag(x0, y0, x1, y1))
    ctx.stroke()
    rounded_rect(ctx, x0 + 1, y0 + 1, x1 - x0 - 2, y1 - y0 - 2, 7)
    ctx.set_line_width(1)
    ctx.set_source_rgba(0, 0, 0, 0.8)
    ctx.stroke()
    # carved band
    bx0, by0, bx1, by1 = x0 + 6, y0 + 6, x1 - 6, y1 - 6
    ctx.rectangle(bx0, by0, bx1 - bx0, by1 - by0)
    ctx.rectangle(ix1 + 7, iy0 - 7, -(ix1 - ix0 + 14), iy1 - iy0 + 14)
    ctx.set_source(lin_grad(bx0, by0, bx1, by1, [(0, hexc("#33241a")), (0.5, hexc("#21170f")), (1, hexc("#140d08"))]))
    ctx.fill()
    # key-fret relief on all four sides
    _fret_band(ctx, ix0 + 40, by0, ix1 - 40, iy0 - 7, False)
    _fret_band(ctx, ix0 + 40, iy1 + 7, ix1 - 40, by1, False)
    _fret_band(ctx, bx0, iy0 + 40, ix0 - 7, iy1 - 40, True)
    _fret_band(ctx, ix1 + 7, iy0 + 40, bx1, iy1 - 40, True)
    # inner gold rim around the page
    for inset, lw, src in ((5.5, 3, gold_diag(ix0, iy0, ix1, iy1)), (3, 1, (0, 0, 0, 0.9))):
        ctx.rectangle(ix0 - inset, iy0 - inset, ix1 - ix0 + 2 * inset, iy1 - iy0 + 2 * inset)
        ctx.set_line_width(lw)
        if isinstance(src, tuple):
            ctx.set_source_rgba(*src)
        else:
            ctx.set_source(src)
        ctx.stroke()
    # the page area itself: near-black with a soft inner shadow
    ctx.rectangle(ix0 - 2, iy0 - 2, ix1 - ix0 + 4, iy1 - iy0 + 4)
    ctx.set_source_rgba(*hexc("#050302"))
    ctx.fill()
    ctx.rectangle(ix0, iy0, ix1 - ix0, iy1 - iy0)
    ctx.set_source(rad_grad(CENTRE_X, (iy0 + iy1) / 2, 60, 420, [(0, hexc("#0f0b08")), (1, hexc("#060403"))]))
    ctx.fill()
    # medallions half way down the sides and on the bottom edge
    for cx, cy in ((x0 + 21, (iy0 + iy1) / 2), (x1 - 21, (iy0 + iy1) / 2)):
        ctx.arc(cx, cy, 17, 0, 2 * math.pi)
        ctx.set_source_rgba(*IRON_LO)
        ctx.fill()
        ctx.arc(cx, cy, 15, 0, 2 * math.pi)
        ctx.set_source(gold_diag(cx - 15, cy - 15, cx + 15, cy + 15))
        ctx.fill()
        ctx.arc(cx, cy, 11.5, 0, 2 * math.pi)
        ctx.set_source_rgba(*hexc("#1c130c"))
        ctx.fill()
        _gem(ctx, cx, cy, 7)
    # corner brackets (the top-right corner carries the button sockets)
    _corner_piece(ctx, x0 + 8, y0 + 8, -math.pi * 0.75)
    _corner_piece(ctx, x0 + 8, y1 - 8, -math.pi * 0.25)
    _corner_piece(ctx, x1 - 8, y1 - 8, math.pi * 0.25)


def draw_bottom_ornament(ctx):
    cx = CENTRE_X
    y = OUTER[3]
    ctx.save()
    ctx.translate(cx, y + 4)
    # gilded hanging cloud under the bottom edge
    for s, src in ((46, IRON_LO), (43, None), (36, hexc("#24170e"))):
        ctx.save()
        ctx.scale(1.6, 0.62)
        _ruyi(ctx, s)
        ctx.restore()
        if src is None:
            ctx.set_source(gold_v(-28, 28))
        else:
            ctx.set_source_rgba(*src)
        ctx.fill()
    ctx.restore()
    _gem(ctx, cx, y + 4, 8)
    # small scrolls either side
    ctx.set_line_width(2)
    ctx.set_source(gold_v(y - 8, y + 16))
    for sx in (-1, 1):
        ctx.new_path()
        ctx.arc(cx + sx * 34, y + 4, 6, 0, 2 * math.pi * 0.85)
        ctx.stroke()


def draw_sockets(ctx):
    """Dark bronze mounts under the round close and minimise buttons, joined
    to the frame's top-right corner by a gilded cloud plate."""
    ccx, ccy, cr = CLOSE_BTN
    mcx, mcy, mr = MIN_BTN
    # joining plate: a cloud-lobed bronze mount bridging corner and buttons
    def plate(grow):
        g = grow
        ctx.new_path()
        ctx.move_to(1148 - g, 134)
        ctx.curve_to(1160 - g, 116 - g, 1184, 104 - g, 1204, 106 - g)
        ctx.curve_to(1214, 90 - g, 1250, 84 - g, 1266 + g * 0.5, 100 - g * 0.5)
        ctx.curve_to(1284 + g, 116, 1284 + g, 146, 1276 + g, 162)
        ctx.curve_to(1292 + g, 176, 1280 + g, 204 + g, 1258, 202 + g)
        ctx.curve_to(1246, 212 + g, 1236, 214 + g, 1232 - g * 0.3, 226 + g)
        ctx.line_to(1232 - g * 0.3, 134)
        ctx.close_path()

    plate(2.5)
    ctx.set_source_rgba(*IRON_LO)
    ctx.fill()
    plate(0)
    ctx.set_source(gold_diag(1150, 86, 1286, 226))
    ctx.fill()
    ctx.save()
    ctx.translate(1220, 150)
    ctx.scale(0.93, 0.91)
    ctx.translate(-1220, -150)
    plate(0)
    ctx.restore()
    ctx.set_source(lin_grad(1150, 90, 1280, 220, [(0, hexc("#3a2818")), (0.5, hexc("#1c130c")), (1, IRON_LO)]))
    ctx.fill()
    # engraved curls in the plate's lobes and a gem in the lower lobe
    ctx.set_line_width(1.6)
    ctx.set_source(gold_diag(1200, 90, 1280, 210))
    for cx, cy, r, a0 in ((1262, 106, 6, 2.2), (1271, 178, 6, 4.0), (1212, 116, 5, 1.2)):
        ctx.new_path()
        ctx.arc(cx, cy, r, a0, a0 + 5.0)
        ctx.stroke()
    _gem(ctx, 1254, 192, 5)
    for cx, cy, r in ((ccx, ccy, cr), (mcx, mcy, mr)):
        ctx.arc(cx, cy, r + 6, 0, 2 * math.pi)
        ctx.set_source_rgba(*IRON_LO)
        ctx.fill()
        ctx.arc(cx, cy, r + 4.5, 0, 2 * math.pi)
        ctx.set_source(gold_diag(cx - r, cy - r, cx + r, cy + r))
        ctx.fill()
        ctx.arc(cx, cy, r + 2, 0, 2 * math.pi)
        ctx.set_source(lin_grad(cx, cy - r, cx, cy + r, [(0, hexc("#0b0705")), (1, hexc("#2a1c10"))]))
        ctx.fill()
        # studs around the mount
        n = 12 if r > 25 else 9
        for k in range(n):
            a = k * 2 * math.pi / n
            ctx.new_sub_path()
            ctx.arc(cx + (r + 3.3) * math.cos(a), cy + (r + 3.3) * math.sin(a), 1.1, 0, 2 * math.pi)
        ctx.set_source_rgba(*GOLD_HI)
        ctx.fill()


# ---------------------------------------------------------------------------
# dragons


def _frame_along(pts):
    """Points, unit tangents and normals along a polyline."""
    out = []
    n = len(pts)
    for i in range(n):
        a = pts[max(i - 1, 0)]
        b = pts[min(i + 1, n - 1)]
        dx, dy = b[0] - a[0], b[1] - a[1]
        ln = math.hypot(dx, dy) or 1
        tx, ty = dx / ln, dy / ln
        out.append((pts[i], (tx, ty), (-ty, tx)))
    return out


def _lengths(pts):
    acc = [0.0]
    for a, b in zip(pts, pts[1:]):
        acc.append(acc[-1] + math.hypot(b[0] - a[0], b[1] - a[1]))
    return acc


def _offset_poly(frames, widths, k, shift=0.0):
    left = [(p[0] + n[0] * (w * k / 2 + shift * w), p[1] + n[1] * (w * k / 2 + shift * w))
            for (p, t, n), w in zip(frames, widths)]
    right = [(p[0] - n[0] * (w * k / 2 - shift * w), p[1] - n[1] * (w * k / 2 - shift * w))
             for (p, t, n), w in zip(frames, widths)]
    return left + right[::-1]


def _poly(ctx, pts):
    ctx.move_to(*pts[0])
    for p in pts[1:]:
        ctx.line_to(*p)
    ctx.close_path()


def _dragon_head(ctx, scale):
    """Head facing +x with the neck joining at the origin."""
    s = scale
    ctx.save()
    ctx.scale(s, s)
    # mane: flame tufts streaming back from the skull
    ctx.new_path()
    tufts = [(-6, -14, -44, -30), (-2, -6, -48, -8), (-4, 4, -44, 16), (2, 10, -30, 30)]
    for bx, by, tx, ty in tufts:
        ctx.move_to(bx + 8, by - 6)
        ctx.curve_to(bx - 6, by - 10, tx + 16, ty - 4, tx, ty)
        ctx.curve_to(tx + 18, ty + 6, bx - 4, by + 8, bx + 8, by + 6)
        ctx.close_path()
    ctx.set_source(lin_grad(-48, 0, 8, 0, [(0, hexc("#ffcf6a")), (0.5, hexc("#d9541c")), (1, hexc("#7a160c"))]))
    ctx.fill_preserve()
    ctx.set_source_rgba(0.2, 0.05, 0, 0.8)
    ctx.set_line_width(0.9)
    ctx.stroke()
    # antlers
    for dy, sc in ((0, 1.0), (5, 0.8)):
        ctx.new_path()
        ctx.move_to(14, -14 + dy)
        ctx.curve_to(4, -22 + dy, -14, -30 * sc + dy, -34 * sc, -34 * sc + dy)
        ctx.curve_to(-20 * sc, -28 * sc + dy, -22 * sc, -40 * sc + dy, -14 * sc, -44 * sc + dy)
        ctx.curve_to(-12 * sc, -34 * sc + dy, 0, -26 + dy, 20, -12 + dy)
        ctx.close_path()
        ctx.set_source(lin_grad(-34, -44, 20, -12, [(0, hexc("#fff3c4")), (0.5, hexc("#e3b35a")), (1, hexc("#7b4d17"))]))
        ctx.fill_preserve()
        ctx.set_source_rgba(0.18, 0.08, 0, 0.9)
        ctx.set_line_width(1)
        ctx.stroke()
    # lower jaw, open
    ctx.new_path()
    ctx.move_to(6, 6)
    ctx.curve_to(18, 8, 34, 10, 46, 16)
    ctx.curve_to(44, 20, 40, 22, 34, 21)
    ctx.curve_to(24, 22, 12, 20, 2, 14)
    ctx.close_path()
    ctx.set_source(gold_v(6, 22))
    ctx.fill_preserve()
    ctx.set_source_rgba(0.18, 0.06, 0, 1)
    ctx.set_line_width(1.1)
    ctx.stroke()
    # mouth cavity and tongue
    ctx.move_to(14, 3)
    ctx.curve_to(26, 4, 38, 6, 46, 8)
    ctx.curve_to(38, 12, 26, 11, 14, 8)
    ctx.close_path()
    ctx.set_source_rgba(*hexc("#5a0a08"))
    ctx.fill()
    ctx.move_to(22, 7)
    ctx.curve_to(36, 6, 50, 10, 58, 4)
    ctx.curve_to(56, 9, 50, 14, 40, 11)
    ctx.curve_to(32, 10, 26, 10, 22, 9)
    ctx.close_path()
    ctx.set_source_rgba(*hexc("#d23a2a"))
    ctx.fill()
    # skull and upper jaw
    ctx.move_to(-6, -10)
    ctx.curve_to(2, -20, 18, -22, 26, -16)
    ctx.curve_to(34, -12, 42, -12, 50, -10)
    ctx.curve_to(56, -9, 58, -4, 54, 0)
    ctx.curve_to(48, 4, 30, 4, 14, 4)
    ctx.curve_to(6, 8, -2, 10, -8, 8)
    ctx.close_path()
    ctx.set_source(lin_grad(0, -22, 0, 8, [(0, hexc("#fff0b0")), (0.4, hexc("#e4ae4c")), (1, hexc("#83521a"))]))
    ctx.fill_preserve()
    ctx.set_source_rgba(0.18, 0.06, 0, 1)
    ctx.set_line_width(1.2)
    ctx.stroke()
    # teeth
    ctx.set_source_rgba(1, 0.98, 0.9, 1)
    for tx in (20, 28, 36, 44):
        ctx.move_to(tx - 2, 3.5)
        ctx.line_to(tx + 2, 3.5)
        ctx.line_to(tx, 8)
        ctx.close_path()
        ctx.fill()
    ctx.move_to(47, 4)
    ctx.line_to(51, 3)
    ctx.line_to(48, 12)
    ctx.close_path()
    ctx.fill()
    # nostril curl and brow ridge
    ctx.set_source_rgba(0.25, 0.08, 0, 1)
    ctx.set_line_width(1.2)
    ctx.new_path()
    ctx.arc(50, -6, 2.6, math.pi * 0.2, math.pi * 1.8)
    ctx.stroke()
    ctx.move_to(12, -14)
    ctx.curve_to(18, -20, 26, -18, 30, -13)
    ctx.stroke()
    # eye
    ctx.save()
    ctx.translate(21, -10)
    ctx.scale(1.5, 1)
    ctx.arc(0, 0, 3.6, 0, 2 * math.pi)
    ctx.restore()
    ctx.set_source_rgba(*hexc("#fff6a0"))
    ctx.fill_preserve()
    ctx.set_source_rgba(0.15, 0.03, 0, 1)
    ctx.set_line_width(1)
    ctx.stroke()
    ctx.arc(22.5, -10, 1.9, 0, 2 * math.pi)
    ctx.set_source_rgba(*hexc("#c01208"))
    ctx.fill()
    ctx.arc(22.5, -10, 0.9, 0, 2 * math.pi)
    ctx.set_source_rgba(0, 0, 0, 1)
    ctx.fill()
    # whiskers: long tapering strands from the snout and jaw
    strands = [((52, -3), (72, 4), (60, 32), (84, 38)),
               ((44, 14), (40, 34), (18, 30), (6, 46)),
               ((28, -16), (20, -34), (-6, -30), (-24, -40))]
    for (ax, ay), (b1x, b1y), (b2x, b2y), (ex, ey) in strands:
        for lw, col in ((2.2, (0.2, 0.06, 0, 0.9)), (1.2, hexc("#ffd98a"))):
            ctx.move_to(ax, ay)
            ctx.curve_to(b1x, b1y, b2x, b2y, ex, ey)
            ctx.set_line_width(lw)
            ctx.set_line_cap(cairo.LINE_CAP_ROUND)
            ctx.set_source_rgba(*col)
            ctx.stroke()
    # chin beard
    ctx.move_to(10, 18)
    ctx.curve_to(14, 30, 6, 36, -4, 40)
    ctx.curve_to(4, 32, 0, 26, -2, 16)
    ctx.close_path()
    ctx.set_source(lin_grad(0, 16, 0, 40, [(0, hexc("#e2862c")), (1, hexc("#ffd27a"))]))
    ctx.fill()
    ctx.restore()


def _claw(ctx, base, tangent, normal, reach, scale):
    """A short foreleg with a four-taloned foot, pushing outwards."""
    bx, by = base
    tx, ty = tangent
    nx, ny = normal
    fx, fy = bx + nx * reach + tx * 8 * scale, by + ny * reach + ty * 8 * scale
    ctx.move_to(bx - tx * 8 * scale, by - ty * 8 * scale)
    ctx.curve_to(bx + nx * reach * 0.7 - tx * 10 * scale, by + ny * reach * 0.7 - ty * 10 * scale,
                 fx - tx * 6 * scale, fy - ty * 6 * scale, fx, fy)
    ctx.line_to(fx + tx * 7 * scale + nx * 2, fy + ty * 7 * scale + ny * 2)
    ctx.curve_to(bx + nx * reach * 0.5, by + ny * reach * 0.5,
                 bx + tx * 10 * scale, by + ty * 10 * scale, bx + tx * 8 * scale, by + ty * 8 * scale)
    ctx.close_path()
    ctx.set_source(lin_grad(bx, by, fx, fy, [(0, hexc("#8a5a20")), (1, hexc("#f0c466"))]))
    ctx.fill_preserve()
    ctx.set_source_rgba(0.18, 0.06, 0, 0.95)
    ctx.set_line_width(1)
    ctx.stroke()
    # talons fanned round the foot
    for k in range(4):
        a = math.atan2(ny, nx) + (k - 1.5) * 0.5
        cx_, cy_ = fx + 3 * math.cos(a), fy + 3 * math.sin(a)
        ex, ey = cx_ + 8 * scale * math.cos(a), cy_ + 8 * scale * math.sin(a)
        px, py = -math.sin(a), math.cos(a)
        ctx.move_to(cx_ + px * 2, cy_ + py * 2)
        ctx.curve_to(ex, ey, ex + px * 3, ey + py * 3, ex + px * 4, ey + py * 4)
        ctx.line_to(cx_ - px * 2, cy_ - py * 2)
        ctx.close_path()
        ctx.set_source_rgba(*hexc("#fff3d0"))
        ctx.fill_preserve()
        ctx.set_source_rgba(0.2, 0.08, 0, 1)
        ctx.set_line_width(0.8)
        ctx.stroke()


def draw_dragon(ctx, spine, head_scale=1.0):
    """A scaly serpentine dragon along spine (tail first, head last).
    The back (dorsal fin) is on the left-hand normal."""
    pts = catmull(spine, 16)
    acc = _lengths(pts)
    total = acc[-1]
    frames = _frame_along(pts)

    def width(s):
        u = s / total
        if u < 0.12:
            return 4 + 80 * u  # thin tail
        if u > 0.9:
            return 26 - (u - 0.9) * 40
        return 14 + 14 * math.sin(min(1, (u - 0.12) / 0.5) * math.pi / 2)

    widths = [width(s) for s in acc]

    # dorsal fin: swept-back spikes along the back
    ctx.new_path()
    step = 9
    i = 0
    while i < len(pts) - 6:
        s = acc[i]
        if 0.06 * total < s < 0.9 * total:
            (p, t, n), w = frames[i], widths[i]
            j = min(i + 4, len(pts) - 1)
            (p2, _, n2), w2 = frames[j], widths[j]
            h = 9 + 5 * math.sin(s * 0.05)
            ctx.move_to(p[0] + n[0] * w * 0.4, p[1] + n[1] * w * 0.4)
            ctx.curve_to(p[0] + n[0] * (w / 2 + h * 0.6), p[1] + n[1] * (w / 2 + h * 0.6),
                         p[0] + n[0] * (w / 2 + h) - t[0] * 6, p[1] + n[1] * (w / 2 + h) - t[1] * 6,
                         p[0] + n[0] * (w / 2 + h) - t[0] * 9, p[1] + n[1] * (w / 2 + h) - t[1] * 9)
            ctx.curve_to(p2[0] + n2[0] * (w2 / 2 + 2), p2[1] + n2[1] * (w2 / 2 + 2),
                         p2[0] + n2[0] * w2 * 0.4, p2[1] + n2[1] * w2 * 0.4,
                         p2[0] + n2[0] * w2 * 0.4, p2[1] + n2[1] * w2 * 0.4)
            ctx.close_path()
        i += step // 2 + 2
    ctx.set_source_rgba(*hexc("#c2381a"))
    ctx.fill_preserve()
    ctx.set_source_rgba(0.25, 0.04, 0, 0.95)
    ctx.set_line_width(0.9)
    ctx.stroke()

    # legs behind the body
    for u, side in ((0.3, 1), (0.6, 1)):
        k = min(range(len(acc)), key=lambda q: abs(acc[q] - u * total))
        (p, t, n), w = frames[k], widths[k]
        _claw(ctx, p, t, (n[0] * side, n[1] * side), w / 2 + 12, 1.0)

    # body silhouette with a dark outline
    body = _offset_poly(frames, widths, 1.0)
    _poly(ctx, body)
    ctx.set_source_rgba(*hexc("#25160a"))
    ctx.set_line_width(2.2)
    ctx.stroke_preserve()
    ctx.set_source_rgba(*hexc("#6a4316"))
    ctx.fill()
    ctx.save()
    _poly(ctx, body)
    ctx.clip()
    # tube shading: lighter ribbons toward the back, slightly off centre
    for k, col in ((0.8, "#8a5a22"), (0.62, "#a87430"), (0.46, "#c8913e"), (0.3, "#e2b15a"), (0.14, "#f6d58a")):
        _poly(ctx, _offset_poly(frames, widths, k, shift=0.12))
        ctx.set_source_rgba(*hexc(col))
        ctx.fill()
    # belly plates on the right-hand side
    belly = _offset_poly(frames, widths, 0.34, shift=-0.3)
    _poly(ctx, belly)
    ctx.set_source_rgba(*hexc("#f0d9a0"))
    ctx.fill()
    ctx.set_line_width(0.9)
    ctx.set_source_rgba(0.45, 0.25, 0.05, 1)
    for q in range(0, len(pts), 4):
        (p, t, n), w = frames[q], widths[q]
        a = (p[0] - n[0] * w * 0.13, p[1] - n[1] * w * 0.13)
        b = (p[0] - n[0] * w * 0.5, p[1] - n[1] * w * 0.5)
        ctx.move_to(*a)
        ctx.line_to(*b)
        ctx.stroke()
    # scales: staggered rows of small arcs opening towards the head
    row = 0
    q = 0
    while q < len(pts):
        (p, t, n), w = frames[q], widths[q]
        if acc[q] > total * 0.94:
            break
        sz = max(2.0, w * 0.17)
        for j in range(-1, 4):
            off = (j + (0.5 if row % 2 else 0)) * sz * 1.6 - w * 0.05
            if off > w * 0.5 - sz * 0.5:
                continue
            cx, cy = p[0] + n[0] * off, p[1] + n[1] * off
            ang = math.atan2(t[1], t[0])
            ctx.new_path()
            ctx.arc(cx, cy, sz, ang + math.pi / 2, ang + 3 * math.pi / 2)
            ctx.set_source_rgba(0.22, 0.1, 0.0, 0.85)
            ctx.set_line_width(1.1)
            ctx.stroke()
            ctx.new_path()
            ctx.arc(cx + t[0] * 0.9, cy + t[1] * 0.9, sz - 0.8, ang + math.pi * 0.7, ang + math.pi * 1.15)
            ctx.set_source_rgba(1, 0.93, 0.7, 0.55)
            ctx.set_line_width(0.8)
            ctx.stroke()
        row += 1
        adv = max(2, int(sz * 1.3 / max(1e-6, (acc[min(q + 1, len(acc) - 1)] - acc[q]) or 1)))
        q += adv
    ctx.restore()

    # tail tuft
    (p, t, n) = frames[0]
    ctx.save()
    ctx.translate(*p)
    ctx.rotate(math.atan2(t[1], t[0]))
    for sy in (-1, 1):
        ctx.move_to(4, 0)
        ctx.curve_to(-6, sy * 4, -16, sy * 14, -26, sy * 10)
        ctx.curve_to(-16, sy * 6, -10, sy * 2, 4, 0)
        ctx.close_path()
    ctx.move_to(4, 0)
    ctx.curve_to(-8, -2, -18, 2, -30, -1)
    ctx.curve_to(-18, 4, -8, 3, 4, 1)
    ctx.close_path()
    ctx.set_source(lin_grad(-30, 0, 4, 0, [(0, hexc("#ffd070")), (1, hexc("#c2381a"))]))
    ctx.fill()
    ctx.restore()

    # head at the end of the neck
    (p, t, n) = frames[-1]
    ctx.save()
    ctx.translate(*p)
    ang = math.atan2(t[1], t[0])
    ctx.rotate(ang)
    # keep the head upright whichever way it faces
    if n[1] < 0:
        ctx.scale(1, -1)
    _dragon_head(ctx, head_scale)
    ctx.restore()


# ---------------------------------------------------------------------------
# title plaque and pearl


def _plaque_path(ctx, cx, y0, y1, half, notch):
    ctx.move_to(cx - half + notch, y0)
    ctx.line_to(cx + half - notch, y0)
    ctx.curve_to(cx + half - notch * 0.3, y0, cx + half, y0 + notch * 0.3, cx + half, y0 + notch)
    ctx.line_to(cx + half, y1 - notch)
    ctx.curve_to(cx + half, y1 - notch * 0.3, cx + half - notch * 0.3, y1, cx + half - notch, y1)
    ctx.line_to(cx - half + notch, y1)
    ctx.curve_to(cx - half + notch * 0.3, y1, cx - half, y1 - notch * 0.3, cx - half, y1 - notch)
    ctx.line_to(cx - half, y0 + notch)
    ctx.curve_to(cx - half, y0 + notch * 0.3, cx - half + notch * 0.3, y0, cx - half + notch, y0)
    ctx.close_path()


def draw_plaque(ctx, title):
    cx = CENTRE_X
    y0, y1, half = 58, 172, 128
    # scrolled wings either side of the plaque
    for sx in (-1, 1):
        ctx.save()
        ctx.translate(cx + sx * (half + 4), (y0 + y1) / 2)
        ctx.scale(sx, 1)
        ctx.move_to(-10, -40)
        ctx.curve_to(20, -48, 44, -30, 40, -6)
        ctx.curve_to(38, 12, 20, 16, 14, 4)
        ctx.curve_to(10, -6, 24, -12, 26, -2)
        ctx.curve_to(22, -22, 6, -26, -10, -18)
        ctx.close_path()
        ctx.move_to(-10, 40)
        ctx.curve_to(16, 46, 34, 36, 32, 20)
        ctx.curve_to(30, 8, 16, 8, 16, 18)
        ctx.curve_to(18, 26, 10, 30, -10, 22)
        ctx.close_path()
        ctx.set_source_rgba(*IRON_LO)
        ctx.set_line_width(5)
        ctx.stroke_preserve()
        ctx.set_source(gold_diag(-10, -48, 44, 46))
        ctx.fill()
        ctx.restore()
    _plaque_path(ctx, cx, y0 - 4, y1 + 3, half + 5, 18)
    ctx.set_source_rgba(*IRON_LO)
    ctx.fill()
    _plaque_path(ctx, cx, y0, y1, half, 16)
    ctx.set_source(gold_v(y0, y1))
    ctx.fill()
    _plaque_path(ctx, cx, y0 + 5, y1 - 5, half - 5, 12)
    ctx.set_source_rgba(*hexc("#2a0a06"))
    ctx.fill()
    _plaque_path(ctx, cx, y0 + 7, y1 - 7, half - 7, 11)
    ctx.set_source(rad_grad(cx, (y0 + y1) / 2 - 10, 8, half, [(0, hexc("#a51f16")), (0.6, LACQUER), (1, hexc("#3c0805"))]))
    ctx.fill_preserve()
    ctx.save()
    ctx.clip()
    # faint cloud scrolls in the lacquer
    ctx.set_line_width(1.4)
    ctx.set_source_rgba(1, 0.6, 0.4, 0.12)
    for k in range(7):
        x = cx - half + 18 + k * 38
        y = y0 + 22 + (k % 2) * 60
        ctx.new_path()
        ctx.arc(x, y, 9, 0, math.pi * 1.6)
        ctx.stroke()
        ctx.new_path()
        ctx.arc(x + 16, y + 4, 6, math.pi, math.pi * 2.6)
        ctx.stroke()
    ctx.restore()
    _plaque_path(ctx, cx, y0 + 10.5, y1 - 10.5, half - 10.5, 9)
    ctx.set_source_rgba(0.98, 0.8, 0.45, 0.55)
    ctx.set_line_width(1)
    ctx.stroke()
    # the title in brush script: dark outline, gold body, light rim
    set_font(ctx, "kai", 74)
    text_centre(ctx, title, cx, (y0 + y1) / 2 - 7)
    ctx.text_path(title)
    path = ctx.copy_path()
    ctx.new_path()
    ctx.save()
    ctx.translate(2, 3)
    ctx.append_path(path)
    ctx.set_source_rgba(0.1, 0, 0, 0.75)
    ctx.set_line_width(5)
    ctx.stroke_preserve()
    ctx.fill()
    ctx.restore()
    ctx.append_path(path)
    ctx.set_source_rgba(*hexc("#2c1204"))
    ctx.set_line_width(4)
    ctx.stroke_preserve()
    ctx.set_source(lin_grad(0, y0 + 14, 0, y1 - 22, [(0, hexc("#fffbe0")), (0.3, hexc("#ffd66b")), (0.55, hexc("#e59a2a")), (0.62, hexc("#fff0a8")), (1, hexc("#b86a18"))]))
    ctx.fill_preserve()
    ctx.set_source_rgba(1, 1, 0.85, 0.5)
    ctx.set_line_width(0.7)
    ctx.stroke()
    # latin subtitle under the title
    set_font(ctx, "serif_bold", 11)
    sub = "B R E L V O   ·   O S T R A N D"
    text_centre(ctx, sub, cx, y1 - 17)
    ctx.set_source_rgba(*hexc("#f6d58a"))
    ctx.show_text(sub)


def draw_pearl(ctx):
    cx, cy, r = CENTRE_X, 34, 17
    # flames licking upwards around the pearl
    ctx.new_path()
    n = 11
    for k in range(n):
        a = -math.pi / 2 + (k - (n - 1) / 2) * 0.42
        ln = 34 - abs(k - (n - 1) / 2) * 2.6
        bx, by = cx + r * 0.8 * math.cos(a - 0.18), cy + r * 0.8 * math.sin(a - 0.18)
        ex, ey = cx + ln * math.cos(a + 0.25), cy + ln * math.sin(a + 0.25) - 4
        b2x, b2y = cx + r * 0.8 * math.cos(a + 0.22), cy + r * 0.8 * math.sin(a + 0.22)
        ctx.move_to(bx, by)
        ctx.curve_to(bx + (ex - bx) * 0.5 - 4, by + (ey - by) * 0.5, ex - 3, ey + 4, ex, ey)
        ctx.curve_to(ex - 2, ey + 8, b2x + 2, b2y - 6, b2x, b2y)
        ctx.close_path()
    ctx.set_source(rad_grad(cx, cy, r, r + 22, [(0, hexc("#ffe08a")), (0.5, hexc("#ff8a2a")), (1, hexc("#c8241a"))]))
    ctx.fill_preserve()
    ctx.set_source_rgba(0.35, 0.05, 0, 0.8)
    ctx.set_line_width(0.8)
    ctx.stroke()
    ctx.arc(cx, cy, r + 1.5, 0, 2 * math.pi)
    ctx.set_source_rgba(*hexc("#3a0a04"))
    ctx.fill()
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.set_source(rad_grad(cx, cy, 0, r, [(0, hexc("#fffdf0")), (0.35, hexc("#ffe9a6")), (0.8, hexc("#f08a2c")), (1, hexc("#a0300e"))],
                            fx=cx - 5, fy=cy - 6))
    ctx.fill()
    # the pearl's swirl
    ctx.set_line_width(1.3)
    ctx.set_source_rgba(0.75, 0.25, 0.05, 0.6)
    ctx.new_path()
    ctx.arc(cx + 2, cy + 2, 8, math.pi * 0.1, math.pi * 1.3)
    ctx.stroke()
    ctx.new_path()
    ctx.arc(cx - 3, cy - 1, 4, math.pi * 1.1, math.pi * 2.3)
    ctx.stroke()


RIGHT_DRAGON = [(1213, 470), (1218, 430), (1205, 385), (1222, 335), (1204, 285), (1222, 235),
                (1214, 185), (1190, 128), (1150, 102), (1112, 122), (1080, 100), (1058, 76),
                (1034, 64)]


def clip_outside_page(ctx):
    """Ornaments never reach into the page rectangle."""
    ix0, iy0, ix1, iy1 = INNER
    ctx.rectangle(-10, -10, 2000, 1000)
    ctx.rectangle(ix0, iy0, ix1 - ix0, iy1 - iy0)
    ctx.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    ctx.clip()
    ctx.set_fill_rule(cairo.FILL_RULE_WINDING)


def draw_frame(ctx, title):
    draw_frame_body(ctx)
    ctx.save()
    clip_outside_page(ctx)
    draw_bottom_ornament(ctx)
    draw_plaque(ctx, title)
    for mirror in (False, True):
        ctx.save()
        if mirror:
            ctx.translate(2 * CENTRE_X, 0)
            ctx.scale(-1, 1)
        draw_dragon(ctx, RIGHT_DRAGON, 1.05)
        ctx.restore()
    draw_pearl(ctx)
    draw_sockets(ctx)
    ctx.restore()
