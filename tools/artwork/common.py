"""Drawing helpers shared by every picture: cairo surfaces, colours, fonts."""

import math
import subprocess

import cairo
import numpy as np

# Fonts are chosen by fontconfig family; each must resolve to the file we
# expect, otherwise a silent fallback would change the pictures.
FONTS = {
    "sans": ("Noto Sans CJK SC", "NotoSansCJK-Regular.ttc"),
    "sans_bold": ("Noto Sans CJK SC:bold", "NotoSansCJK-Bold.ttc"),
    "serif_bold": ("Noto Serif CJK SC:bold", "NotoSerifCJK-Bold.ttc"),
    "kai": ("AR PL UKai CN", "ukai.ttc"),
}


def check_fonts():
    missing = []
    for key, (pattern, filename) in FONTS.items():
        got = subprocess.run(["fc-match", "-f", "%{file}", pattern],
                             capture_output=True, text=True).stdout
        if not got.endswith(filename):
            missing.append(f"{pattern} -> {got or 'nothing'} (want {filename})")
    if missing:
        raise SystemExit("fonts missing (install fonts-noto-cjk and fonts-arphic-ukai):\n  "
                         + "\n  ".join(missing))


def set_font(ctx, key, size):
    family = FONTS[key][0].split(":")[0]
    weight = cairo.FONT_WEIGHT_BOLD if key.endswith("bold") else cairo.FONT_WEIGHT_NORMAL
    ctx.select_font_face(family, cairo.FONT_SLANT_NORMAL, weight)
    ctx.set_font_size(size)
    opts = cairo.FontOptions()
    opts.set_antialias(cairo.ANTIALIAS_GRAY)
    opts.set_hint_style(cairo.HINT_STYLE_SLIGHT)
    opts.set_hint_metrics(cairo.HINT_METRICS_OFF)
    ctx.set_font_options(opts)


def surface(w, h):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    return s, cairo.Context(s)


def to_rgba(surf):
    """Cairo's premultiplied BGRA -> straight RGBA uint8 array."""
    surf.flush()
    w, h, stride = surf.get_width(), surf.get_height(), surf.get_stride()
    buf = np.ndarray((h, stride // 4, 4), np.uint8, buffer=surf.get_data())[:, :w]
    a = buf[:, :, 3].astype(np.float64)
    rgb = buf[:, :, 2::-1].astype(np.float64)
    safe = np.where(a > 0, a, 1)[:, :, None]
    rgb = np.where(a[:, :, None] > 0, np.clip(np.round(rgb * 255.0 / safe), 0, 255), 0)
    out = np.zeros((h, w, 4), np.uint8)
    out[:, :, :3] = rgb.astype(np.uint8)
    out[:, :, 3] = buf[:, :, 3]
    return out


def hexc(h, a=1.0):
    h = h.lstrip("#")
    return (int(h[0:2], 16) / 255, int(h[2:4], 16) / 255, int(h[4:6], 16) / 255, a)


def mix(c1, c2, t):
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def lin_grad(x0, y0, x1, y1, stops):
    g = cairo.LinearGradient(x0, y0, x1, y1)
    for off, col in stops:
        g.add_color_stop_rgba(off, *col)
    return g


def rad_grad(cx, cy, r0, r1, stops, fx=None, fy=None):
    g = cairo.RadialGradient(cx if fx is None else fx, cy if fy is None else fy, r0, cx, cy, r1)
    for off, col in stops:
        g.add_color_stop_rgba(off, *col)
    return g


def rounded_rect(ctx, x, y, w, h, r):
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def text_centre(ctx, text, cx, cy):
    """Place the current point so that text's ink box is centred on (cx, cy)."""
    xb, yb, w, h, _, _ = ctx.text_extents(text)
    ctx.move_to(cx - w / 2 - xb, cy - h / 2 - yb)


def catmull(points, samples=12, closed=False):
    """Smooth curve through points (Catmull-Rom), returned as a point list."""
    pts = list(points)
    n = len(pts)
    out = []
    rng = range(n) if closed else range(n - 1)
    for i in rng:
        p0 = pts[(i - 1) % n] if closed else pts[max(i - 1, 0)]
        p1 = pts[i]
        p2 = pts[(i + 1) % n]
        p3 = pts[(i + 2) % n] if closed else pts[min(i + 2, n - 1)]
        for s in range(samples):
            t = s / samples
            t2, t3 = t * t, t * t * t
            out.append(tuple(
                0.5 * ((2 * b) + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2
                       + (-a + 3 * b - 3 * c + d) * t3)
                for a, b, c, d in zip(p0, p1, p2, p3)))
    if not closed:
        out.append(pts[-1])
    return out
