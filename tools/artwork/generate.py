#!/usr/bin/python3
"""Draws every picture the launcher embeds and writes them to res/images/.

Run from anywhere: /usr/bin/python3 tools/artwork/generate.py [--only NAME ...]
The output is deterministic; the build uses the committed files and never
runs this script.
"""

import argparse
import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import formats  # noqa: E402
import small  # noqa: E402
from common import check_fonts  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
OUT = os.path.join(ROOT, "res", "images")

TITLE_STRIPS = {
    164: (106, small.sym_portrait, "老板键(F10)", "same"),
    166: (30, small.sym_cross, None, "same"),
    167: (64, small.sym_fullscreen, "全屏", "same"),
    168: (29, small.sym_window, None, "darker"),
    169: (29, small.sym_bar, None, "same"),
    170: (82, small.sym_refresh, "刷新(F5)", "same"),
    171: (61, small.sym_book, "选服", "same"),
    189: (29, small.sym_restore, None, "same"),
    1000: (87, small.sym_brush, "清除缓存", "same"),
}


def build():
    """name -> (bytes producer) for every output file."""
    icc = formats.srgb_icc_profile()

    jobs = {}

    def login():
        import login_art
        return formats.encode_png(login_art.draw(), 6, False, None)

    jobs["png_155.png"] = login
    jobs["png_160.png"] = lambda: formats.encode_png(small.round_strip(54, "cross"), 6, True, icc)
    jobs["png_162.png"] = lambda: formats.encode_png(small.round_strip(39, "bar"), 6, True, icc)
    for num, (w, sym, label, pressed) in TITLE_STRIPS.items():
        jobs[f"png_{num}.png"] = (lambda w=w, sym=sym, label=label, pressed=pressed:
                                  formats.encode_png(small.title_strip(w, sym, label, pressed), 2, True, icc))
    jobs["png_175.png"] = lambda: formats.encode_png(small.plate_strip("确定"), 2, True, icc)
    jobs["png_176.png"] = lambda: formats.encode_png(small.plate_strip("取消"), 2, True, icc)
    jobs["bmp_136.bmp"] = lambda: formats.encode_bmp24(small.bar_background(66))
    jobs["bmp_141.bmp"] = lambda: formats.encode_bmp24(small.title_logo())
    jobs["bmp_177.bmp"] = lambda: formats.encode_bmp24(small.dialog_background())
    jobs["bmp_187.bmp"] = lambda: formats.encode_bmp8(np.zeros((40, 57), np.uint8),
                                                     [(i, i, i) for i in range(256)])
    jobs["icon_128.ico"] = lambda: formats.encode_ico24(small.app_icon(), np.ones((64, 64), bool))
    jobs["gif_185.gif"] = lambda: formats.encode_gif(small.busy_frames(), [30, 200] + [230] * 6,
                                                     (0, 117, 169), 120, 120)
    return jobs


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--only", nargs="*", help="file names to regenerate (default: all)")
    ap.add_argument("--out", default=OUT, help="output folder")
    args = ap.parse_args()
    check_fonts()
    os.makedirs(args.out, exist_ok=True)
    for name, make in build().items():
        if args.only and name not in args.only:
            continue
        data = make()
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(data)
        print(f"{name:14} {len(data):8} bytes")


if __name__ == "__main__":
    main()
