"""The small pictures: title-bar strips, dialog buttons, round panel
buttons, bitmaps, the application icon and the busy animation."""

import math

import cairo
import numpy as np

from common import (hexc, lin_grad, mix, rad_grad, rounded_rect, set_font, surface,
                    text_centre, to_rgba)

BAR_H = 30
BEIGE = hexc("#eadcb8")
BEIGE_HI = hexc("#fff5dc")
GOLD_LIGHT = hexc("#fbe7a1")
GOLD = hexc("#d9a441")
GOLD_DARK = hexc("#7a4e16")

TITLE = "布雷沃"

# Bar looks: (top line, gradient top, gradient bottom, bottom line)
BAR_NORMAL = ("#b39469", "#5b3c21", "#26160a", "#140b05")
BAR_HOVER = ("#d8bd8f", "#7d5633", "#3f2713", "#23150a")
BAR_PRESSED = ("#7e6444", "#3e2814", "#1a0f06", "#0e0803")


def draw_bar(ctx, w, look, left_edge=False, y0=0):
    top, g0, g1, bottom = look
    ctx.set_source(lin_grad(0, y0 + 1, 0, y0 + BAR_H - 1, [(0, hexc(g0)), (0.55, mix(hexc(g0), hexc(g1), 0.7)), (1, hexc(g1))]))
    ctx.rectangle(0, y0, w, BAR_H)
    ctx.fill()
    # a faint sheen under the top line gives the bar some depth
    ctx.set_source(lin_grad(0, y0 + 1, 0, y0 + 9, [(0, (1, 0.92, 0.75, 0.16)), (1, (1, 0.92, 0.75, 0))]))
    ctx.rectangle(0, y0 + 1, w, 8)
    ctx.fill()
    ctx.set_source_rgba(*hexc(top))
    ctx.rectangle(0, y0, w, 1)
    ctx.fill()
    ctx.set_source_rgba(*hexc(bottom))
    ctx.rectangle(0, y0 + BAR_H - 1, w, 1)
    ctx.fill()
    if left_edge:
        ctx.set_source(lin_grad(0, y0, 0, y0 + BAR_H, [(0, hexc("#f2dfb6")), (1, hexc("#b8986a"))]))
        ctx.rectangle(0, y0, 1, BAR_H)
        ctx.fill()
        ctx.set_source_rgba(1, 0.9, 0.7, 0.25)
        ctx.rectangle(1, y0, 1, BAR_H)
        ctx.fill()


def bar_background(w):
    s, ctx = surface(w, BAR_H)
    draw_bar(ctx, w, BAR_NORMAL)
    return to_rgba(s)


# --- title-bar symbols, each drawn centred on (cx, cy) in a ~14 px box ------

def sym_cross(ctx, cx, cy, s=4.5):
    ctx.set_line_width(1.8)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.move_to(cx - s, cy - s)
    ctx.line_to(cx + s, cy + s)
    ctx.move_to(cx + s, cy - s)
    ctx.line_to(cx - s, cy + s)
    ctx.stroke()


def sym_bar(ctx, cx, cy):
    ctx.rectangle(cx - 5.5, cy + 3, 11, 2)
    ctx.fill()


def sym_window(ctx, cx, cy):
    ctx.set_line_width(1)
    ctx.rectangle(cx - 5.5, cy - 4.5, 11, 10)
    ctx.stroke()
    ctx.rectangle(cx - 6, cy - 5, 12, 2.5)
    ctx.fill()


def sym_restore(ctx, cx, cy):
    ctx.set_line_width(1)
    # back window: only the parts the front one does not hide
    ctx.move_to(cx - 2.5, cy - 3)
    ctx.line_to(cx - 2.5, cy - 5.5)
    ctx.line_to(cx + 6.5, cy - 5.5)
    ctx.line_to(cx + 6.5, cy + 2.5)
    ctx.line_to(cx + 3.5, cy + 2.5)
    ctx.stroke()
    ctx.rectangle(cx - 6.5, cy - 2.5, 10, 8)
    ctx.stroke()
    ctx.rectangle(cx - 7, cy - 3, 11, 2)
    ctx.fill()


def sym_fullscreen(ctx, cx, cy):
    ctx.set_line_width(1.3)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for sx, sy in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
        tx, ty = cx + sx * 6, cy + sy * 6
        ctx.move_to(cx + sx * 1.8, cy + sy * 1.8)
        ctx.line_to(tx, ty)
        ctx.stroke()
        ctx.move_to(tx, ty)
        ctx.line_to(tx - sx * 3.6, ty)
        ctx.line_to(tx, ty - sy * 3.6)
        ctx.close_path()
        ctx.fill()


def sym_portrait(ctx, cx, cy):
    ctx.arc(cx, cy - 2.6, 3.2, 0, 2 * math.pi)
    ctx.fill()
    ctx.move_to(cx - 6.2, cy + 6.5)
    ctx.curve_to(cx - 6, cy + 1.2, cx - 3.4, cy + 0.6, cx, cy + 0.6)
    ctx.curve_to(cx + 3.4, cy + 0.6, cx + 6, cy + 1.2, cx + 6.2, cy + 6.5)
    ctx.close_path()
    ctx.fill()


def sym_refresh(ctx, cx, cy):
    ctx.set_line_width(1.5)
    r = 5.2
    for start in (math.radians(200), math.radians(20)):
        end = start + math.radians(140)
        ctx.new_path()
        ctx.arc(cx, cy, r, start, end)
        ctx.stroke()
        ex, ey = cx + r * math.cos(end), cy + r * math.sin(end)
        tx, ty = -math.sin(end), math.cos(end)  # tangent direction of travel
        nx, ny = math.cos(end), math.sin(end)
        ctx.move_to(ex + tx * 3.2, ey + ty * 3.2)
        ctx.line_to(ex + nx * 2.8, ey + ny * 2.8)
        ctx.line_to(ex - nx * 2.8, ey - ny * 2.8)
        ctx.close_path()
        ctx.fill()


def sym_book(ctx, cx, cy):
    ctx.set_line_width(1.1)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    for side in (-1, 1):
        ctx.move_to(cx, cy - 3.5)
        ctx.curve_to(cx + side * 2.5, cy - 5.5, cx + side * 5, cy - 5.5, cx + side * 7, cy - 4.5)
        ctx.line_to(cx + side * 7, cy + 4.5)
        ctx.curve_to(cx + side * 5, cy + 3.5, cx + side * 2.5, cy + 3.5, cx, cy + 5.5)
        ctx.close_path()
        ctx.stroke()
        for k in range(3):
            yy = cy - 1.8 + k * 2.4
            ctx.move_to(cx + side * 1.8, yy)
            ctx.line_to(cx + side * 5.2, yy - 0.6)
            ctx.stroke()
    ctx.move_to(cx, cy - 3.5)
    ctx.line_to(cx, cy + 5.5)
    ctx.stroke()


def sym_brush(ctx, cx, cy):
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(math.radians(40))
    ctx.rectangle(-1.2, -8, 2.4, 7)  # handle
    ctx.fill()
    ctx.rectangle(-3.2, -1.5, 6.4, 2.2)  # ferrule
    ctx.fill()
    ctx.move_to(-3.2, 1.3)  # bristles
    ctx.line_to(3.2, 1.3)
    ctx.curve_to(3.5, 4.5, 2.5, 6.5, 3.6, 8.2)
    ctx.line_to(-3.6, 8.2)
    ctx.curve_to(-2.5, 6.5, -3.5, 4.5, -3.2, 1.3)
    ctx.fill()
    ctx.restore()
    ctx.set_line_width(0.9)
    for dx in (-7, -5):  # a few swept specks
        ctx.arc(cx + dx, cy + 6.5 + (dx + 7) * 0.4, 0.7, 0, 2 * math.pi)
        ctx.fill()


def title_strip(w, symbol, label=None, pressed="same"):
    """Four 30-px frames: normal, hover (lighter + light left edge),
    pressed (same as normal or darker), frame 3 equal to normal."""
    s, ctx = surface(w, BAR_H * 4)
    looks = [(BAR_NORMAL, False, BEIGE), (BAR_HOVER, True, BEIGE_HI),
             (BAR_NORMAL if pressed == "same" else BAR_PRESSED, False,
              BEIGE if pressed == "same" else hexc("#c9b995")),
             (BAR_NORMAL, False, BEIGE)]
    set_font(ctx, "sans", 12.5)
    if label:
        xb, _, tw, _, _, _ = ctx.text_extents(label)
        total = 14 + 4 + tw
        sx = (w - total) / 2 + 7
        tx = sx + 7 + 4 - xb
    else:
        sx = w / 2
    for i, (look, edge, ink) in enumerate(looks):
        y0 = i * BAR_H
        draw_bar(ctx, w, look, edge, y0)
        shift = 1 if (i == 2 and pressed != "same") else 0
        cy = y0 + BAR_H / 2 + 0.5 + shift
        # soft dark shadow under the ink lifts it off the bar
        for off, col in ((1, (0.05, 0.02, 0, 0.55)), (0, ink)):
            ctx.save()
            ctx.translate(0, off)
            ctx.set_source_rgba(*col)
            symbol(ctx, sx, cy)
            if label:
                ctx.move_to(tx, cy + 4.6)
                ctx.show_text(label)
            ctx.restore()
    return to_rgba(s)


def plate_strip(label):
    """Dialog buttons 175/176: a reddish-brown plate with a thin border."""
    w, fh = 74, 26
    s, ctx = surface(w, fh * 4)
    looks = [
        ("#8d3a22", "#5a1f10", "#d7a86a", BEIGE),
        ("#b2512f", "#74301a", "#f4cf8d", BEIGE_HI),
        ("#6a2a17", "#3f150a", "#a98250", hexc("#d8c7a0")),
        ("#8d3a22", "#5a1f10", "#d7a86a", BEIGE),
    ]
    for i, (top, bottom, border, ink) in enumerate(looks):
        y0 = i * fh
        ctx.set_source_rgba(*hexc("#2a170b"))  # dialog field behind the corners
        ctx.rectangle(0, y0, w, fh)
        ctx.fill()
        rounded_rect(ctx, 0.5, y0 + 0.5, w - 1, fh - 1, 3)
        ctx.set_source(lin_grad(0, y0, 0, y0 + fh, [(0, hexc(top)), (1, hexc(bottom))]))
        ctx.fill_preserve()
        ctx.set_source_rgba(*hexc(border))
        ctx.set_line_width(1)
        ctx.stroke()
        rounded_rect(ctx, 2.5, y0 + 2.5, w - 5, fh - 5, 2)
        ctx.set_source_rgba(0, 0, 0, 0.35)
        ctx.stroke()
        ctx.set_source(lin_grad(0, y0 + 2, 0, y0 + fh / 2, [(0, (1, 0.85, 0.6, 0.22)), (1, (1, 0.85, 0.6, 0))]))
        ctx.rectangle(3, y0 + 3, w - 6, fh / 2 - 3)
        ctx.fill()
        set_font(ctx, "sans_bold", 13)
        shift = 1 if i == 2 else 0
        ctx.set_source_rgba(0.1, 0.02, 0, 0.6)
        text_centre(ctx, label, w / 2, y0 + fh / 2 + 1 + shift)
        ctx.show_text(label)
        ctx.set_source_rgba(*ink)
        text_centre(ctx, label, w / 2, y0 + fh / 2 + shift)
        ctx.show_text(label)
    return to_rgba(s)


def round_strip(d, kind):
    """Login panel buttons 160/162: a dark bronze ring around a dark disc with
    a light cross or bar; transparent outside the ring."""
    s, ctx = surface(d, d * 4)
    r = d / 2 - 0.8
    states = [(1.0, BEIGE), (1.3, BEIGE_HI), (0.7, hexc("#bfae8a")), (0.7, hexc("#bfae8a"))]
    for i, (k, ink) in enumerate(states):
        cx, cy = d / 2, i * d + d / 2
        ctx.save()
        ctx.rectangle(0, i * d, d, d)
        ctx.clip()

        def sc(c, k=k):
            return tuple(min(1, v * k) for v in c[:3]) + (c[3],)

        # outer ring: bronze with a light upper-left and a dark lower-right
        ctx.arc(cx, cy, r, 0, 2 * math.pi)
        ctx.set_source(lin_grad(cx - r, cy - r, cx + r, cy + r, [
            (0, sc(hexc("#d9a866"))), (0.45, sc(hexc("#8a5a2b"))), (1, sc(hexc("#3b220e")))]))
        ctx.fill()
        rw = max(3.0, d * 0.11)
        ctx.arc(cx, cy, r - 1.2, 0, 2 * math.pi)
        ctx.set_source(lin_grad(cx, cy - r, cx, cy + r, [
            (0, sc(hexc("#6b4320"))), (0.5, sc(hexc("#4a2c13"))), (1, sc(hexc("#a2733d")))]))
        ctx.fill()
        # inner disc, recessed
        ctx.arc(cx, cy, r - rw, 0, 2 * math.pi)
        ctx.set_source(lin_grad(cx, cy - r, cx, cy + r, [(0, sc(hexc("#d0a060"))), (1, sc(hexc("#3a200c")))]))
        ctx.fill()
        ctx.arc(cx, cy, r - rw - 1, 0, 2 * math.pi)
        ctx.set_source(rad_grad(cx, cy, 0, r - rw, [(0, sc(hexc("#3b2414"))), (0.8, sc(hexc("#1f120a"))), (1, sc(hexc("#120a05")))],
                                fx=cx - r * 0.2, fy=cy - r * 0.3))
        ctx.fill()
        # rivets on the ring
        for a in range(8):
            ang = a * math.pi / 4 + math.pi / 8
            rx, ry = cx + (r - rw / 2 - 0.6) * math.cos(ang), cy + (r - rw / 2 - 0.6) * math.sin(ang)
            ctx.arc(rx, ry, max(0.9, d * 0.022), 0, 2 * math.pi)
            ctx.set_source_rgba(*sc(hexc("#f0cf8f")))
            ctx.fill()
        # glyph with a dark drop shadow
        size = (r - rw) * 0.5
        for dy, col in ((1.2, (0, 0, 0, 0.7)), (0, ink)):
            ctx.set_source_rgba(*col)
            if kind == "cross":
                ctx.set_line_cap(cairo.LINE_CAP_ROUND)
                ctx.set_line_width(max(2.2, d * 0.07))
                ctx.move_to(cx - size, cy - size + dy)
                ctx.line_to(cx + size, cy + size + dy)
                ctx.move_to(cx + size, cy - size + dy)
                ctx.line_to(cx - size, cy + size + dy)
                ctx.stroke()
            else:
                ctx.set_line_cap(cairo.LINE_CAP_ROUND)
                ctx.set_line_width(max(2.2, d * 0.075))
                ctx.move_to(cx - size * 1.05, cy + dy + 0.5)
                ctx.line_to(cx + size * 1.05, cy + dy + 0.5)
                ctx.stroke()
        # glossy highlight on the upper rim
        ctx.arc(cx, cy, r - 0.6, math.radians(200), math.radians(320))
        ctx.set_source_rgba(1, 0.95, 0.8, 0.35 * k)
        ctx.set_line_width(1)
        ctx.stroke()
        ctx.restore()
    return to_rgba(s)


def title_logo():
    """Bitmap 141: the title in gold brush script between angle brackets."""
    w = 83
    s, ctx = surface(w, BAR_H)
    draw_bar(ctx, w, BAR_NORMAL)
    set_font(ctx, "kai", 20)
    xb, yb, tw, th, _, _ = ctx.text_extents(TITLE)
    cx, cy = w / 2, BAR_H / 2 + 0.5
    # angle brackets as tapered brush strokes
    for side in (-1, 1):
        bx = cx + side * (tw / 2 + 5.5)
        ctx.move_to(bx + side * -2.8, cy - 9)
        ctx.line_to(bx + side * 2.6, cy)
        ctx.line_to(bx + side * -2.8, cy + 9)
        ctx.line_to(bx + side * -1.6, cy + 9)
        ctx.line_to(bx + side * 1.2, cy)
        ctx.line_to(bx + side * -1.8, cy - 9)
        ctx.close_path()
    ctx.set_source(lin_grad(0, cy - 9, 0, cy + 9, [(0, GOLD_LIGHT), (0.5, GOLD), (1, GOLD_DARK)]))
    ctx.fill()
    ctx.move_to(cx - tw / 2 - xb, cy - th / 2 - yb)
    ctx.text_path(TITLE)
    path = ctx.copy_path()
    ctx.save()
    ctx.translate(0.8, 1.2)
    ctx.new_path()
    ctx.append_path(path)
    ctx.set_source_rgba(0.05, 0.02, 0, 0.8)
    ctx.fill()
    ctx.restore()
    ctx.new_path()
    ctx.append_path(path)
    ctx.set_source(lin_grad(0, cy - th / 2, 0, cy + th / 2, [(0, GOLD_LIGHT), (0.45, hexc("#e8b450")), (1, hexc("#9c6420"))]))
    ctx.fill_preserve()
    ctx.set_source_rgba(1, 0.95, 0.75, 0.25)
    ctx.set_line_width(0.4)
    ctx.stroke()
    return to_rgba(s)


def dialog_background():
    """Bitmap 177: dark brown field, thin light frame, small corner ornaments."""
    w, h = 256, 110
    s, ctx = surface(w, h)
    ctx.set_source(rad_grad(w / 2, h * 0.35, 10, w * 0.7, [(0, hexc("#3e2614")), (1, hexc("#1e1108"))]))
    ctx.paint()
    # faint grain so the field is not a flat fill
    rng = np.random.default_rng(177)
    for _ in range(260):
        x, y = rng.uniform(4, w - 4), rng.uniform(4, h - 4)
        ctx.rectangle(x, y, rng.uniform(3, 14), 1)
        ctx.set_source_rgba(0.9, 0.7, 0.45, rng.uniform(0.015, 0.04))
        ctx.fill()
    ctx.set_line_width(1)
    ctx.rectangle(0.5, 0.5, w - 1, h - 1)
    ctx.set_source_rgba(*hexc("#0e0703"))
    ctx.stroke()
    ctx.rectangle(2.5, 2.5, w - 5, h - 5)
    ctx.set_source_rgba(*hexc("#c9aa78"))
    ctx.stroke()
    ctx.rectangle(4.5, 4.5, w - 9, h - 9)
    ctx.set_source_rgba(0.79, 0.67, 0.47, 0.3)
    ctx.stroke()
    for cx, cy, sx, sy in ((3, 3, 1, 1), (w - 3, 3, -1, 1), (3, h - 3, 1, -1), (w - 3, h - 3, -1, -1)):
        ctx.save()
        ctx.translate(cx, cy)
        ctx.scale(sx, sy)
        # an L-shaped bracket with a curl and a diamond stud
        ctx.move_to(0, 0)
        ctx.line_to(15, 0)
        ctx.curve_to(15, 3, 12, 4.5, 9, 4.5)
        ctx.line_to(4.5, 4.5)
        ctx.line_to(4.5, 9)
        ctx.curve_to(4.5, 12, 3, 15, 0, 15)
        ctx.close_path()
        ctx.set_source(lin_grad(0, 0, 12, 12, [(0, GOLD_LIGHT), (1, GOLD_DARK)]))
        ctx.fill()
        ctx.move_to(9, 6.5)
        ctx.line_to(11.5, 9)
        ctx.line_to(9, 11.5)
        ctx.line_to(6.5, 9)
        ctx.close_path()
        ctx.set_source_rgba(*hexc("#e0b25c"))
        ctx.fill()
        ctx.new_sub_path()
        ctx.arc(17.5, 1.5, 1.3, 0, 2 * math.pi)
        ctx.new_sub_path()
        ctx.arc(1.5, 17.5, 1.3, 0, 2 * math.pi)
        ctx.fill()
        ctx.restore()
    # a slim divider under the title line
    ctx.set_source(lin_grad(40, 0, w - 40, 0, [(0, (0.8, 0.66, 0.45, 0)), (0.5, (0.8, 0.66, 0.45, 0.55)), (1, (0.8, 0.66, 0.45, 0))]))
    ctx.rectangle(40, 30, w - 80, 1)
    ctx.fill()
    return to_rgba(s)


def app_icon():
    """Icon 128: the title emblem, a red brush-script 雷 in a red seal ring,
    on black."""
    d = 64
    s, ctx = surface(d, d)
    ctx.set_source_rgb(0, 0, 0)
    ctx.paint()
    c = d / 2
    ctx.arc(c, c, 29.5, 0, 2 * math.pi)
    ctx.set_line_width(2.2)
    ctx.set_source(lin_grad(0, 0, 0, d, [(0, hexc("#ff4a2e")), (1, hexc("#a3100a"))]))
    ctx.stroke()
    ctx.arc(c, c, 26.3, 0, 2 * math.pi)
    ctx.set_line_width(0.8)
    ctx.stroke()
    set_font(ctx, "kai", 46)
    text_centre(ctx, "雷", c, c + 0.5)
    ctx.text_path("雷")
    ctx.set_source(lin_grad(0, 8, 0, 56, [(0, hexc("#ff5a3a")), (0.5, hexc("#e3221a")), (1, hexc("#98100b"))]))
    ctx.fill()
    return to_rgba(s)[:, :, :3]


def busy_frames():
    """GIF 185: eight dots on a ring; the big dot steps round, trailed by
    shrinking ones. Two colours only, so the dots are hard-edged."""
    n, size = 8, 120
    yy, xx = np.mgrid[0:size, 0:size] + 0.5
    frames = []
    for f in range(8):
        mask = np.zeros((size, size), bool)
        for k in range(n):
            ang = -math.pi / 2 + k * 2 * math.pi / n
            px, py = 60 + 42 * math.cos(ang), 60 + 42 * math.sin(ang)
            age = (f - k) % n
            rad = [11, 9.5, 8.2, 7, 6, 5.2, 4.6, 4.2][age]
            mask |= (xx - px) ** 2 + (yy - py) ** 2 <= rad * rad
        frames.append(mask)
    return frames
