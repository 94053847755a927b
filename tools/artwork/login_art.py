"""The login window's artwork (1334 x 725, per-pixel alpha)."""

import login_figure
import login_frame
from common import surface, to_rgba
from small import TITLE

W, H = 1334, 725


def draw():
    s, ctx = surface(W, H)
    login_frame.draw_frame(ctx, TITLE)
    ctx.save()
    login_frame.clip_outside_page(ctx)
    login_figure.draw_figure(ctx)
    ctx.restore()
    return to_rgba(s)
