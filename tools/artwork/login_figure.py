"""The left half of the login artwork: a swordswoman in court robes with a
silk shawl, standing on clouds before a full moon."""

import math

import cairo

from common import catmull, hexc, lin_grad, mix, rad_grad

SKIN_HI = hexc("#fff0e4")
SKIN = hexc("#f6d7c3")
SKIN_LO = hexc("#d9a58c")
HAIR = hexc("#15100f")
HAIR_HI = hexc("#4a4a66")
CRIMSON = hexc("#b3231b")
CRIMSON_LO = hexc("#5c0c0a")
CRIMSON_HI = hexc("#e0503a")
SILK = hexc("#f4f1ea")
SILK_LO = hexc("#b9c3c8")
TEAL = hexc("#2f7c80")
TEAL_LO = hexc("#163c44")
GOLD_HI = hexc("#fff0b8")
GOLD = hexc("#dca645")
GOLD_LO = hexc("#6e4714")
INK = hexc("#2a0e08")


def shape(ctx, pts, closed=True):
    """Smooth path through pts. A point with a third item 'c' is a sharp
    corner: the curve is split there so tips stay pointed."""
    corners = [i for i, p in enumerate(pts) if len(p) > 2]
    ctx.new_path()
    if not corners:
        out = catmull([p[:2] for p in pts], 10, closed)
    else:
        n = len(pts)
        if closed:
            order = [pts[(corners[0] + k) % n][:2] for k in range(n + 1)]
            flags = [len(pts[(corners[0] + k) % n]) > 2 for k in range(n + 1)]
        else:
            order = [p[:2] for p in pts]
            flags = [len(p) > 2 for p in pts]
            flags[0] = flags[-1] = True
        out = []
        chain = [order[0]]
        for p, f in zip(order[1:], flags[1:]):
            chain.append(p)
            if f:
                seg = catmull(chain, 10, False) if len(chain) > 2 else chain
                out.extend(seg if not out else seg[1:])
                chain = [p]
        if len(chain) > 1:
            seg = catmull(chain, 10, False) if len(chain) > 2 else chain
            out.extend(seg[1:])
    ctx.move_to(*out[0])
    for q in out[1:]:
        ctx.line_to(*q)
    if closed:
        ctx.close_path()


def fill(ctx, src, outline=None, lw=1.2):
    if isinstance(src, tuple):
        ctx.set_source_rgba(*src)
    else:
        ctx.set_source(src)
    if outline is None:
        ctx.fill()
        return
    ctx.fill_preserve()
    ctx.set_source_rgba(*outline)
    ctx.set_line_width(lw)
    ctx.stroke()


def strokes(ctx, lines, colour, lw, clip_pts=None):
    """Fold and strand lines, optionally clipped to a shape."""
    ctx.save()
    if clip_pts is not None:
        shape(ctx, clip_pts)
        ctx.clip()
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_source_rgba(*colour)
    ctx.set_line_width(lw)
    for ln in lines:
        pts = catmull(ln, 10, False)
        ctx.new_path()
        ctx.move_to(*pts[0])
        for q in pts[1:]:
            ctx.line_to(*q)
        ctx.stroke()
    ctx.restore()


def tapered(ctx, spine, w0, w1, wmid=None):
    """A tapering band along spine (a strand of hair, a tassel, a ribbon end)."""
    pts = catmull(spine, 10, False)
    n = len(pts)
    left, right = [], []
    for i, p in enumerate(pts):
        a = pts[max(i - 1, 0)]
        b = pts[min(i + 1, n - 1)]
        dx, dy = b[0] - a[0], b[1] - a[1]
        ln = math.hypot(dx, dy) or 1
        nx, ny = -dy / ln, dx / ln
        u = i / (n - 1)
        w = w0 + (w1 - w0) * u
        if wmid is not None:
            w += (wmid - (w0 + w1) / 2) * math.sin(u * math.pi)
        left.append((p[0] + nx * w / 2, p[1] + ny * w / 2))
        right.append((p[0] - nx * w / 2, p[1] - ny * w / 2))
    ctx.new_path()
    ctx.move_to(*left[0])
    for q in left[1:]:
        ctx.line_to(*q)
    for q in reversed(right):
        ctx.line_to(*q)
    ctx.close_path()


# ---------------------------------------------------------------------------


MOON = (250, 292, 226)


def draw_moon(ctx):
    cx, cy, r = MOON
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.set_source(rad_grad(cx, cy, 0, r, [(0, hexc("#fffaf0")), (0.55, hexc("#f6e7c6")), (0.9, hexc("#e2c48c")), (1, hexc("#c99c58"))],
                            fx=cx + 40, fy=cy - 50))
    ctx.fill()
    # soft grey maria
    ctx.save()
    ctx.arc(cx, cy, r - 2, 0, 2 * math.pi)
    ctx.clip()
    for mx, my, mr, a in ((170, 190, 70, 0.07), (120, 330, 60, 0.06), (330, 400, 80, 0.05),
                          (210, 430, 45, 0.06), (90, 230, 35, 0.05), (360, 200, 40, 0.04)):
        ctx.arc(mx, my, mr, 0, 2 * math.pi)
        ctx.set_source(rad_grad(mx, my, 0, mr, [(0, (0.55, 0.45, 0.35, a)), (1, (0.55, 0.45, 0.35, 0))]))
        ctx.fill()
    # a thin band of cloud drifting over the moon
    for y, h, a in ((380, 16, 0.35), (404, 10, 0.25), (150, 10, 0.2)):
        ctx.move_to(cx - r, y)
        ctx.curve_to(cx - 80, y - h, cx + 60, y + h, cx + r, y - 4)
        ctx.curve_to(cx + 60, y + h + 6, cx - 80, y + 6, cx - r, y + h * 0.6)
        ctx.close_path()
        ctx.set_source_rgba(0.62, 0.72, 0.74, a)
        ctx.fill()
    ctx.restore()
    ctx.arc(cx, cy, r - 1.5, 0, 2 * math.pi)
    ctx.set_source_rgba(1, 0.98, 0.9, 0.9)
    ctx.set_line_width(2)
    ctx.stroke()


# --- hair ---------------------------------------------------------------------

HAIR_LOCKS = [
    # spine of each lock from the nape outwards, start width, end width
    ([(300, 160), (262, 210), (222, 262), (160, 300), (92, 318), (30, 352)], 54, 2),
    ([(296, 190), (258, 250), (210, 300), (150, 350), (96, 400), (56, 452)], 50, 2),
    ([(300, 210), (280, 270), (240, 330), (196, 392), (150, 450), (128, 500)], 44, 2),
    ([(305, 150), (270, 180), (220, 200), (170, 222), (118, 232), (70, 250)], 34, 1),
    ([(306, 222), (294, 290), (270, 352), (246, 410), (232, 470)], 30, 1),
]


def draw_hair_back(ctx):
    for spine, w0, w1 in HAIR_LOCKS:
        tapered(ctx, spine, w0, w1, wmid=w0 * 0.9)
        fill(ctx, lin_grad(spine[0][0], spine[0][1], spine[-1][0], spine[-1][1],
                           [(0, HAIR), (0.6, hexc("#1d1820")), (1, hexc("#2a2636"))]), (0.03, 0.02, 0.02, 1), 1.0)
    # sheen strands
    lines = []
    for spine, w0, _ in HAIR_LOCKS:
        for k in (-0.25, 0.05, 0.3):
            ln = []
            pts = catmull(spine, 4, False)
            for i, p in enumerate(pts[:-3]):
                a = pts[max(i - 1, 0)]
                b = pts[min(i + 1, len(pts) - 1)]
                dx, dy = b[0] - a[0], b[1] - a[1]
                d = math.hypot(dx, dy) or 1
                w = w0 * (1 - i / len(pts))
                ln.append((p[0] - dy / d * w * k, p[1] + dx / d * w * k))
            lines.append(ln)
    strokes(ctx, lines, mix(HAIR_HI, (0, 0, 0, 0), 0.35), 1.1)


# --- body -------------------------------------------------------------------

LEFT_SLEEVE = [(278, 236), (250, 262), (214, 318), (170, 380), (124, 432, "c"), (150, 452), (186, 470),
               (226, 474, "c"), (232, 420), (262, 360), (290, 300)]
SKIRT = [(272, 340), (350, 338), (372, 420), (402, 520), (442, 612), (470, 690, "c"), (400, 700),
         (320, 706), (240, 700), (176, 690, "c"), (196, 600), (226, 500), (252, 420)]
TORSO = [(278, 236), (312, 226), (340, 226), (364, 238), (370, 290), (358, 344), (330, 352),
         (290, 350), (270, 340), (268, 290)]


def draw_body(ctx):
    # far (left) sleeve, blown back by the wind
    shape(ctx, LEFT_SLEEVE)
    fill(ctx, lin_grad(280, 240, 140, 470, [(0, CRIMSON), (0.6, hexc("#8e1712")), (1, CRIMSON_LO)]), INK, 1.3)
    strokes(ctx, [[(270, 270), (230, 330), (190, 400), (160, 445)],
                  [(284, 300), (250, 360), (214, 430), (200, 465)],
                  [(262, 250), (226, 300), (180, 360)]],
            (0.3, 0.02, 0.02, 0.5), 2.0, LEFT_SLEEVE)
    # sleeve lining and gold hem at the opening
    shape(ctx, [(124, 432), (150, 452), (186, 470), (226, 474), (214, 482), (180, 480), (140, 466), (118, 446)])
    fill(ctx, lin_grad(120, 440, 226, 480, [(0, SILK), (1, SILK_LO)]), INK, 1.0)
    ctx.set_source_rgba(*GOLD)
    ctx.set_line_width(3)
    ctx.move_to(124, 432)
    ctx.curve_to(150, 452, 190, 470, 226, 474)
    ctx.stroke()

    # skirt: crimson outer robe open over a silk under-robe and teal hem
    shape(ctx, SKIRT)
    fill(ctx, lin_grad(200, 340, 470, 700, [(0, CRIMSON_HI), (0.35, CRIMSON), (1, CRIMSON_LO)]), INK, 1.4)
    under = [(306, 346), (334, 346), (352, 440), (382, 560), (400, 700, "c"), (330, 706), (262, 700, "c"),
             (276, 560), (292, 440)]
    shape(ctx, under)
    fill(ctx, lin_grad(300, 350, 330, 700, [(0, SILK), (0.7, hexc("#dfe6e6")), (1, SILK_LO)]), INK, 1.0)
    hem = [(276, 620), (330, 626), (392, 620), (400, 700, "c"), (330, 706), (262, 700, "c")]
    shape(ctx, hem)
    fill(ctx, lin_grad(0, 620, 0, 706, [(0, TEAL), (1, TEAL_LO)]))
    strokes(ctx, [[(300, 380), (296, 480), (286, 600)], [(326, 380), (334, 500), (346, 640)],
                  [(312, 420), (314, 540), (316, 660)]], (0.45, 0.5, 0.55, 0.45), 1.6, under)
    # gold trim down both edges of the outer robe
    for edge in ([(306, 346), (292, 440), (276, 560), (262, 700)], [(334, 346), (352, 440), (382, 560), (400, 700)]):
        strokes(ctx, [edge], GOLD_LO, 7)
        strokes(ctx, [edge], GOLD, 5)
        strokes(ctx, [edge], GOLD_HI, 1.2)
    strokes(ctx, [[(262, 420), (240, 520), (212, 630)], [(360, 420), (396, 540), (436, 660)],
                  [(372, 380), (420, 520), (456, 640)], [(240, 470), (220, 560), (198, 660)]],
            (0.3, 0.02, 0.02, 0.55), 2.2, SKIRT)
    strokes(ctx, [[(252, 440), (232, 540), (208, 640)], [(378, 440), (414, 560), (444, 650)]],
            (1, 0.55, 0.45, 0.35), 1.6, SKIRT)

    # torso
    shape(ctx, TORSO)
    fill(ctx, lin_grad(270, 230, 370, 350, [(0, CRIMSON_HI), (0.5, CRIMSON), (1, CRIMSON_LO)]), INK, 1.3)
    # crossed collar: silk inner collar with a gold edge
    collar_l = [(306, 226), (322, 232), (342, 300, "c"), (334, 300), (300, 240)]
    collar_r = [(340, 226), (350, 234), (344, 300, "c"), (338, 296), (332, 250)]
    for col in (collar_r, collar_l):
        shape(ctx, col)
        fill(ctx, lin_grad(300, 226, 344, 300, [(0, SILK), (1, SILK_LO)]), GOLD_LO, 1.2)
    strokes(ctx, [[(322, 232), (332, 266), (342, 300)], [(350, 234), (346, 268), (344, 300)]], GOLD, 2.4)
    # embroidered shoulder cloud
    ctx.save()
    ctx.translate(292, 262)
    for r, a in ((11, 0), (8, 1.8), (6, 3.4)):
        ctx.new_sub_path()
        ctx.arc(0, 0, r, a, a + 4.2)
    ctx.set_source_rgba(*GOLD)
    ctx.set_line_width(1.6)
    ctx.stroke()
    ctx.restore()

    # sash with a jade pendant and tassels
    sash = [(268, 330), (362, 326), (364, 356), (270, 362)]
    shape(ctx, sash)
    fill(ctx, lin_grad(0, 326, 0, 362, [(0, hexc("#3a1a32")), (0.5, hexc("#22101e")), (1, hexc("#120810"))]), INK, 1.2)
    strokes(ctx, [[(270, 334), (316, 331), (362, 329)], [(271, 358), (316, 357), (363, 353)]], GOLD, 2.2)
    for spine, w0, w1, colr in (([(338, 356), (346, 400), (340, 450), (350, 500)], 12, 4, hexc("#3a1a32")),
                                ([(326, 356), (324, 410), (316, 460), (320, 520)], 10, 3, hexc("#4a2240"))):
        tapered(ctx, spine, w0, w1)
        fill(ctx, colr, INK, 1.0)
    ctx.arc(332, 380, 9, 0, 2 * math.pi)
    ctx.set_source(rad_grad(332, 380, 0, 9, [(0, hexc("#d8fff0")), (0.5, hexc("#5fbf9a")), (1, hexc("#1e6a52"))], fx=329, fy=376))
    ctx.fill_preserve()
    ctx.set_source_rgba(*GOLD_LO)
    ctx.set_line_width(1.5)
    ctx.stroke()
    ctx.arc(332, 380, 3, 0, 2 * math.pi)
    ctx.set_source_rgba(*hexc("#1e4a3a"))
    ctx.fill()
    tapered(ctx, [(332, 390), (334, 420), (330, 452)], 5, 9)
    fill(ctx, lin_grad(0, 390, 0, 452, [(0, hexc("#e8b040")), (1, hexc("#b8221a"))]))


# --- raised arm, sleeve and sword -------------------------------------------

RIGHT_SLEEVE = [(352, 236), (380, 246), (404, 270), (426, 262, "c"), (440, 300), (456, 360), (470, 420, "c"),
                (436, 430), (396, 426, "c"), (390, 370), (378, 320), (360, 300)]


def draw_sword(ctx):
    hx, hy = 424, 246  # the hand grips here
    tx, ty = 506, 18
    ang = math.atan2(ty - hy, tx - hx)
    ln = math.hypot(tx - hx, ty - hy)
    ctx.save()
    ctx.translate(hx, hy)
    ctx.rotate(ang)
    # blade: steel with a bright ridge
    ctx.move_to(20, -4.2)
    ctx.line_to(ln - 22, -3.2)
    ctx.line_to(ln, 0)
    ctx.line_to(ln - 22, 3.2)
    ctx.line_to(20, 4.2)
    ctx.close_path()
    ctx.set_source(lin_grad(0, -4, 0, 4, [(0, hexc("#f4fbff")), (0.45, hexc("#c8d6e0")), (0.55, hexc("#7e93a4")), (1, hexc("#4a5a68"))]))
    ctx.fill_preserve()
    ctx.set_source_rgba(0.12, 0.16, 0.2, 1)
    ctx.set_line_width(0.9)
    ctx.stroke()
    ctx.move_to(24, 0)
    ctx.line_to(ln - 6, 0)
    ctx.set_source_rgba(1, 1, 1, 0.85)
    ctx.set_line_width(0.8)
    ctx.stroke()
    # grip and pommel (the fist covers the grip's middle)
    ctx.rectangle(-15, -3, 30, 6)
    ctx.set_source(lin_grad(0, -3, 0, 3, [(0, hexc("#6a2a20")), (1, hexc("#2a0c08"))]))
    ctx.fill()
    ctx.set_source_rgba(*GOLD)
    ctx.set_line_width(1)
    for k in range(5):
        ctx.move_to(-14 + k * 5.5, -3)
        ctx.line_to(-11 + k * 5.5, 3)
    ctx.stroke()
    ctx.new_sub_path()
    ctx.arc(-18, 0, 4.5, 0, 2 * math.pi)
    ctx.set_source(rad_grad(-18, 0, 0, 4.5, [(0, GOLD_HI), (1, GOLD_LO)], fx=-19, fy=-1.5))
    ctx.fill()
    # guard: gold with a curled cloud shape, just above the fist
    ctx.move_to(14, -11)
    ctx.curve_to(22, -12, 24, -6, 21, 0)
    ctx.curve_to(24, 6, 22, 12, 14, 11)
    ctx.curve_to(17, 4, 17, -4, 14, -11)
    ctx.close_path()
    ctx.set_source(lin_grad(14, -12, 24, 12, [(0, GOLD_HI), (0.5, GOLD), (1, GOLD_LO)]))
    ctx.fill_preserve()
    ctx.set_source_rgba(*INK)
    ctx.set_line_width(0.9)
    ctx.stroke()
    ctx.restore()
    # red tassel hanging from the pommel
    px, py = hx - 18 * math.cos(ang), hy - 18 * math.sin(ang)
    ctx.set_source_rgba(*hexc("#c4201a"))
    ctx.set_line_width(1.3)
    ctx.move_to(px, py)
    ctx.curve_to(px - 6, py + 14, px - 16, py + 22, px - 20, py + 34)
    ctx.stroke()
    tapered(ctx, [(px - 20, py + 32), (px - 24, py + 48), (px - 30, py + 66)], 4, 1, wmid=7)
    fill(ctx, lin_grad(0, py + 32, 0, py + 66, [(0, hexc("#e83a28")), (1, hexc("#7a0a08"))]))


def draw_arm(ctx):
    # hanging sleeve of the raised arm
    shape(ctx, RIGHT_SLEEVE)
    fill(ctx, lin_grad(360, 240, 470, 430, [(0, CRIMSON_HI), (0.4, CRIMSON), (1, CRIMSON_LO)]), INK, 1.3)
    strokes(ctx, [[(410, 290), (426, 350), (440, 420)], [(394, 300), (404, 360), (414, 424)],
                  [(430, 300), (450, 370), (460, 420)]], (0.3, 0.02, 0.02, 0.5), 2.0, RIGHT_SLEEVE)
    # lining peeking at the bottom of the sleeve
    shape(ctx, [(396, 426), (436, 430), (470, 420), (462, 436), (430, 442), (400, 438)])
    fill(ctx, lin_grad(396, 420, 470, 440, [(0, SILK), (1, SILK_LO)]), INK, 1.0)
    strokes(ctx, [[(396, 426), (436, 430), (470, 420)]], GOLD, 3)
    # forearm rising from the sleeve to the hand
    forearm = [(400, 272), (412, 252), (422, 236), (434, 240), (430, 258), (418, 282)]
    shape(ctx, forearm)
    fill(ctx, lin_grad(400, 240, 434, 280, [(0, SKIN_HI), (1, SKIN_LO)]), INK, 1.0)
    # wrist cuff
    shape(ctx, [(398, 268), (420, 284), (426, 270), (404, 256)])
    fill(ctx, lin_grad(398, 256, 426, 284, [(0, GOLD_HI), (1, GOLD_LO)]), INK, 0.9)
    draw_sword(ctx)
    # fist round the grip
    fist = [(414, 236), (426, 230), (436, 236), (436, 250), (426, 256), (414, 250)]
    shape(ctx, fist)
    fill(ctx, rad_grad(424, 240, 0, 14, [(0, SKIN_HI), (1, SKIN)]), INK, 1.0)
    strokes(ctx, [[(426, 236), (434, 240)], [(425, 242), (434, 246)], [(424, 248), (432, 252)]],
            (0.55, 0.3, 0.22, 0.8), 0.9)


# --- head -------------------------------------------------------------------

FACE = [(298, 124), (332, 118), (350, 134), (354, 152), (360, 166), (356, 172), (354, 180),
        (350, 190), (340, 200), (326, 204), (310, 196), (298, 178), (292, 152)]


def draw_head(ctx):
    # neck
    shape(ctx, [(316, 190), (334, 194), (336, 232), (320, 234), (316, 212)])
    fill(ctx, lin_grad(310, 190, 340, 236, [(0, SKIN_LO), (0.5, SKIN), (1, SKIN_LO)]), INK, 1.0)
    # bun and crown behind the face
    ctx.save()
    ctx.translate(306, 96)
    ctx.rotate(-0.2)
    ctx.scale(1.25, 1)
    ctx.arc(0, 0, 24, 0, 2 * math.pi)
    ctx.restore()
    fill(ctx, rad_grad(300, 88, 2, 30, [(0, hexc("#3a3646")), (1, HAIR)]), (0.03, 0.02, 0.02, 1), 1.0)
    strokes(ctx, [[(288, 100), (302, 84), (324, 86)], [(290, 108), (308, 94), (330, 98)]],
            mix(HAIR_HI, (0, 0, 0, 0), 0.3), 1.2)
    # hairpin with dangling beads, pushed through the bun
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.move_to(252, 112)
    ctx.line_to(350, 80)
    ctx.set_source_rgba(*GOLD_LO)
    ctx.set_line_width(4)
    ctx.stroke()
    ctx.move_to(252, 112)
    ctx.line_to(350, 80)
    ctx.set_source_rgba(*GOLD)
    ctx.set_line_width(2)
    ctx.stroke()
    for k, (bx, by) in enumerate(((262, 110), (272, 106), (282, 103))):
        ctx.move_to(bx, by)
        ctx.line_to(bx - 2, by + 22 + k * 6)
        ctx.set_source_rgba(*GOLD)
        ctx.set_line_width(0.9)
        ctx.stroke()
        ctx.arc(bx - 2, by + 24 + k * 6, 2.6, 0, 2 * math.pi)
        ctx.set_source(rad_grad(bx - 2, by + 24 + k * 6, 0, 2.6, [(0, hexc("#ff9a8a")), (1, hexc("#9a0e0a"))]))
        ctx.fill()
    # gold crown on the front of the bun
    crown = [(292, 100, "c"), (298, 82), (306, 72, "c"), (312, 84), (320, 70, "c"), (326, 86), (334, 78, "c"),
             (334, 96), (326, 106), (300, 108, "c")]
    shape(ctx, crown)
    fill(ctx, lin_grad(292, 70, 334, 108, [(0, GOLD_HI), (0.5, GOLD), (1, GOLD_LO)]), INK, 1.0)
    ctx.arc(314, 94, 4, 0, 2 * math.pi)
    ctx.set_source(rad_grad(314, 94, 0, 4, [(0, hexc("#ff8a70")), (1, hexc("#8a0a08"))], fx=313, fy=92))
    ctx.fill()

    # face
    shape(ctx, FACE)
    fill(ctx, rad_grad(334, 156, 4, 52, [(0, SKIN_HI), (0.6, SKIN), (1, SKIN_LO)], fx=340, fy=150), INK, 1.2)
    # blush
    ctx.arc(340, 178, 9, 0, 2 * math.pi)
    ctx.set_source(rad_grad(340, 178, 0, 9, [(0, (0.95, 0.5, 0.5, 0.35)), (1, (0.95, 0.5, 0.5, 0))]))
    ctx.fill()
    # eyes looking towards the frame
    for ex, ey, sx in ((330, 158, 1.0), (350, 156, 0.6)):
        ctx.save()
        ctx.translate(ex, ey)
        ctx.scale(sx, 1)
        ctx.move_to(-8, 0)
        ctx.curve_to(-4, -5, 4, -5, 8, -1)
        ctx.curve_to(4, 3, -4, 3, -8, 0)
        ctx.close_path()
        ctx.set_source_rgba(1, 0.99, 0.97, 1)
        ctx.fill_preserve()
        ctx.save()
        ctx.clip()
        ctx.arc(2.5, -0.6, 3.6, 0, 2 * math.pi)
        ctx.set_source(rad_grad(2.5, -0.6, 0, 3.6, [(0, hexc("#5a2a1a")), (1, hexc("#1a0a06"))]))
        ctx.fill()
        ctx.arc(3.4, -1.8, 1.1, 0, 2 * math.pi)
        ctx.set_source_rgba(1, 1, 1, 0.95)
        ctx.fill()
        ctx.restore()
        # lashes and upper lid
        ctx.move_to(-9, 0.5)
        ctx.curve_to(-4, -5.5, 4, -5.8, 9.5, -1.5)
        ctx.set_source_rgba(0.08, 0.03, 0.03, 1)
        ctx.set_line_width(1.8)
        ctx.stroke()
        ctx.move_to(9.5, -1.5)
        ctx.line_to(11.5, -3)
        ctx.set_line_width(1.2)
        ctx.stroke()
        # brow
        ctx.move_to(-8, -10)
        ctx.curve_to(-2, -14, 6, -13, 10, -9)
        ctx.set_line_width(1.4)
        ctx.set_source_rgba(0.12, 0.06, 0.05, 0.9)
        ctx.stroke()
        ctx.restore()
    # red phoenix mark between the brows
    ctx.move_to(342, 140)
    ctx.curve_to(344, 144, 344, 148, 342, 150)
    ctx.curve_to(340, 148, 340, 144, 342, 140)
    ctx.set_source_rgba(*hexc("#d8241a"))
    ctx.fill()
    # nose and lips
    ctx.move_to(356, 162)
    ctx.curve_to(360, 168, 358, 172, 353, 173)
    ctx.set_source_rgba(0.6, 0.35, 0.28, 0.8)
    ctx.set_line_width(1.0)
    ctx.stroke()
    ctx.move_to(340, 185)
    ctx.curve_to(344, 182, 348, 182, 352, 184)
    ctx.curve_to(348, 190, 343, 190, 340, 185)
    ctx.set_source_rgba(*hexc("#c8302a"))
    ctx.fill()
    ctx.move_to(340, 185)
    ctx.line_to(352, 184)
    ctx.set_source_rgba(0.45, 0.08, 0.06, 1)
    ctx.set_line_width(0.8)
    ctx.stroke()

    # hair over the head: crown of the hair, bangs and a side lock
    top = [(290, 176), (284, 140), (292, 112), (316, 100), (344, 108), (356, 128), (358, 146, "c"),
           (346, 130), (330, 122), (340, 142, "c"), (318, 126), (306, 134), (300, 160)]
    shape(ctx, top)
    fill(ctx, lin_grad(290, 100, 350, 170, [(0, hexc("#2e2a3a")), (0.5, HAIR), (1, HAIR)]), (0.03, 0.02, 0.02, 1), 1.0)
    strokes(ctx, [[(296, 126), (316, 108), (342, 114)], [(292, 140), (306, 118), (330, 116)]],
            mix(HAIR_HI, (0, 0, 0, 0), 0.2), 1.3)
    for spine, w0, w1 in (([(300, 148), (297, 186), (305, 222), (296, 258), (303, 292)], 9, 1),
                          ([(293, 150), (285, 192), (291, 232), (281, 270), (286, 300)], 8, 1)):
        tapered(ctx, spine, w0, w1, wmid=w0 * 1.2)
        fill(ctx, HAIR, (0.03, 0.02, 0.02, 1), 0.8)
        strokes(ctx, [[(x + 1.5, y) for x, y in spine[:-1]]], mix(HAIR_HI, (0, 0, 0, 0), 0.3), 0.9)


# --- silk shawl -------------------------------------------------------------


def _ribbon(ctx, spine, width, twist, phase, front_col, back_col):
    """A twisting silk band: its width follows |cos| of a turning angle and
    the visible face switches colour where it flips over."""
    pts = catmull(spine, 14, False)
    n = len(pts)
    quads = []
    for i, p in enumerate(pts):
        a = pts[max(i - 1, 0)]
        b = pts[min(i + 1, n - 1)]
        dx, dy = b[0] - a[0], b[1] - a[1]
        ln = math.hypot(dx, dy) or 1
        nx, ny = -dy / ln, dx / ln
        u = i / (n - 1)
        c = math.cos(phase + twist * u * math.pi)
        taper = 1 if u < 0.85 else max(0.15, (1 - u) / 0.15)
        w = width * (0.22 + 0.78 * abs(c)) * taper
        quads.append((p, nx, ny, w, c))
    # draw runs of equal facing as single polygons so no seams show
    run = [quads[0]]
    runs = []
    for q in quads[1:]:
        run.append(q)
        if (q[4] >= 0) != (run[0][4] >= 0):
            runs.append(run)
            run = [q]
    runs.append(run)
    for run in runs:
        if len(run) < 2:
            continue
        left = [(p[0] + nx * w / 2, p[1] + ny * w / 2) for p, nx, ny, w, _ in run]
        right = [(p[0] - nx * w / 2, p[1] - ny * w / 2) for p, nx, ny, w, _ in run]
        ctx.new_path()
        ctx.move_to(*left[0])
        for q in left[1:]:
            ctx.line_to(*q)
        for q in reversed(right):
            ctx.line_to(*q)
        ctx.close_path()
        face = front_col if run[len(run) // 2][4] >= 0 else back_col
        p0, p1 = run[0][0], run[-1][0]
        ctx.set_source(lin_grad(p0[0], p0[1], p1[0], p1[1], [(0, face[0]), (1, face[1])]))
        ctx.fill_preserve()
        ctx.set_source_rgba(0.12, 0.25, 0.3, 0.9)
        ctx.set_line_width(0.9)
        ctx.stroke()
        # a thin gold selvedge along one edge
        ctx.new_path()
        ctx.move_to(*left[0])
        for q in left[1:]:
            ctx.line_to(*q)
        ctx.set_source_rgba(*GOLD)
        ctx.set_line_width(1.2)
        ctx.stroke()


SHAWL_FRONT = (hexc("#f3fbfa"), hexc("#a9dcdc"))
SHAWL_BACK = (hexc("#6fb3b8"), hexc("#2f6f78"))

SHAWL_LEFT = [(300, 250), (260, 244), (210, 230), (150, 240), (100, 276), (60, 330), (30, 400),
              (36, 470), (70, 520), (60, 580), (20, 620)]
SHAWL_RIGHT = [(352, 250), (394, 300), (420, 360), (470, 430), (490, 500), (470, 560), (500, 610),
               (540, 640)]


def draw_shawl_back(ctx):
    _ribbon(ctx, SHAWL_LEFT, 30, 3.2, 0.3, SHAWL_FRONT, SHAWL_BACK)


def draw_shawl_front(ctx):
    _ribbon(ctx, SHAWL_RIGHT, 26, 2.6, 1.2, SHAWL_FRONT, SHAWL_BACK)
    # the shawl's middle draped over the shoulders
    drape = [(278, 238), (300, 248), (330, 254), (358, 246), (366, 256), (340, 268), (300, 264), (276, 252)]
    shape(ctx, drape)
    fill(ctx, lin_grad(276, 240, 366, 268, [(0, SHAWL_FRONT[0]), (1, SHAWL_FRONT[1])]), (0.12, 0.25, 0.3, 0.9), 0.9)


# --- clouds -----------------------------------------------------------------


def _cloud(ctx, cx, cy, s, flip=False, depth=0.0):
    """An auspicious cloud: a lobed body with spiral curls, gold edged."""
    ctx.save()
    ctx.translate(cx, cy)
    if flip:
        ctx.scale(-1, 1)
    ctx.scale(s, s)
    body = [(-60, 20), (-70, 0), (-56, -18), (-34, -20), (-26, -40), (-2, -48), (22, -38), (30, -22),
            (52, -28), (72, -14), (74, 8), (60, 22), (20, 26), (-20, 26)]
    for grow, src in ((4, None), (0, "fill")):
        pts = [(x * (1 + grow / 60), y * (1 + grow / 40)) for x, y in body]
        shape(ctx, pts)
        if src is None:
            ctx.set_source(lin_grad(0, -50, 0, 30, [(0, GOLD_HI), (1, GOLD_LO)]))
        else:
            dk = (0.1, 0.2, 0.24, 1)
            ctx.set_source(lin_grad(0, -48, 0, 26, [(0, mix(hexc("#e9f4f0"), dk, depth)), (0.45, mix(hexc("#8fbcc0"), dk, depth)),
                                                    (1, mix(hexc("#2c5e68"), dk, depth * 0.6))]))
        ctx.fill()
    # spiral curls
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for sx, sy, r in ((-40, -2, 12), (4, -20, 14), (48, -2, 11)):
        pts = []
        for k in range(40):
            t = k / 39 * 1.8 * math.pi
            rr = r * (1 - k / 46)
            pts.append((sx + rr * math.cos(t + 1.5), sy + rr * math.sin(t + 1.5)))
        ctx.new_path()
        ctx.move_to(*pts[0])
        for q in pts[1:]:
            ctx.line_to(*q)
        ctx.set_source_rgba(*hexc("#1d4650"))
        ctx.set_line_width(3.2)
        ctx.stroke_preserve()
        ctx.set_source_rgba(*GOLD)
        ctx.set_line_width(1.2)
        ctx.stroke()
    ctx.restore()


# back row first; the back row is drawn deeper in tone
CLOUDS = [(120, 640, 1.5, False, 0.35), (300, 668, 1.8, True, 0.3), (470, 650, 1.3, False, 0.35),
          (60, 700, 1.2, True, 0.0), (200, 705, 1.4, False, 0.0), (400, 712, 1.5, True, 0.0),
          (540, 700, 1.1, False, 0.05)]


def draw_clouds(ctx):
    for cx, cy, s, flip, depth in CLOUDS:
        _cloud(ctx, cx, cy, s, flip, depth)


def _blossom(ctx, cx, cy, r, rot):
    """A five-petal plum blossom drifting in the wind."""
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(rot)
    ctx.new_path()
    for k in range(5):
        a = k * 2 * math.pi / 5
        ctx.save()
        ctx.rotate(a)
        ctx.move_to(0, 0)
        ctx.curve_to(-r * 0.7, -r * 0.4, -r * 0.6, -r * 1.1, 0, -r * 0.95)
        ctx.curve_to(r * 0.6, -r * 1.1, r * 0.7, -r * 0.4, 0, 0)
        ctx.close_path()
        ctx.restore()
    ctx.set_source(rad_grad(0, 0, 0, r, [(0, hexc("#fff4f4")), (0.6, hexc("#f6a8b4")), (1, hexc("#d2566e"))]))
    ctx.fill()
    ctx.arc(0, 0, r * 0.22, 0, 2 * math.pi)
    ctx.set_source_rgba(*hexc("#f0b030"))
    ctx.fill()
    ctx.restore()


BLOSSOMS = [(66, 160, 10, 0.3), (112, 116, 7, 1.1), (40, 268, 8, 2.0), (462, 470, 9, 0.7),
            (492, 336, 7, 1.6), (150, 540, 8, 2.4), (474, 124, 7, 0.2), (20, 520, 7, 1.0)]


def draw_blossoms(ctx):
    for cx, cy, r, rot in BLOSSOMS:
        _blossom(ctx, cx, cy, r, rot)


def draw_embroidery(ctx):
    """Gold cloud curls stitched along the sleeve openings."""
    ctx.set_line_width(1.3)
    ctx.set_source_rgba(*GOLD)
    for cx, cy in ((150, 428), (176, 446), (202, 456), (410, 410), (436, 414), (460, 404)):
        ctx.new_path()
        ctx.arc(cx, cy, 4.5, 0.3, 0.3 + 4.6)
        ctx.stroke()
        ctx.new_path()
        ctx.arc(cx + 7, cy - 2, 3, 3.4, 3.4 + 4.4)
        ctx.stroke()


def draw_figure(ctx):
    draw_moon(ctx)
    draw_shawl_back(ctx)
    draw_hair_back(ctx)
    draw_body(ctx)
    draw_head(ctx)
    draw_shawl_front(ctx)
    draw_arm(ctx)
    draw_embroidery(ctx)
    draw_clouds(ctx)
    draw_blossoms(ctx)
