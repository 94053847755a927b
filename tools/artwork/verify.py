#!/usr/bin/python3
"""Checks every embedded picture against the properties the launcher relies
on and prints a table. Exits non-zero on any mismatch.

Usage: /usr/bin/python3 tools/artwork/verify.py [folder]   (default res/images)
Reads the files with its own parsers (plus zlib), so it needs no imaging
library.
"""

import os
import struct
import sys
import zlib

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))

# number: (width, height, colour type, frame rule)
# frame rules: "one" single picture; "same" hover brighter, pressed == frame 0,
# frame 3 == frame 0; "darker" hover brighter, pressed darker, frame 3 == 0;
# "dark23" hover brighter, pressed and frame 3 darker; "dark23eq" as dark23 and
# frame 3 identical to pressed.
PNGS = {
    155: (1334, 725, 6, "one"),
    160: (54, 216, 6, "dark23"),
    162: (39, 156, 6, "dark23eq"),
    164: (106, 120, 2, "same"),
    166: (30, 120, 2, "same"),
    167: (64, 120, 2, "same"),
    168: (29, 120, 2, "darker"),
    169: (29, 120, 2, "same"),
    170: (82, 120, 2, "same"),
    171: (61, 120, 2, "same"),
    175: (74, 104, 2, "darker"),
    176: (74, 104, 2, "darker"),
    189: (29, 120, 2, "same"),
    1000: (87, 120, 2, "same"),
}
BMPS = {136: (66, 30, 24), 141: (83, 30, 24), 177: (256, 110, 24), 187: (57, 40, 8)}

ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4),
         (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]

failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
    return cond


# ---------------------------------------------------------------------------
# PNG decoding (8-bit RGB / RGBA, interlaced or not)


def _unfilter(data, pos, w, h, bpp):
    stride = w * bpp
    rows = []
    prev = bytearray(stride)
    for _ in range(h):
        ft = data[pos]
        pos += 1
        cur = bytearray(data[pos:pos + stride])
        pos += stride
        for i in range(stride):
            a = cur[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ft == 1:
                cur[i] = (cur[i] + a) & 255
            elif ft == 2:
                cur[i] = (cur[i] + b) & 255
            elif ft == 3:
                cur[i] = (cur[i] + ((a + b) >> 1)) & 255
            elif ft == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                cur[i] = (cur[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
            elif ft != 0:
                raise ValueError("bad filter type")
        rows.append(cur)
        prev = cur
    return rows, pos


def read_png(path):
    with open(path, "rb") as f:
        raw = f.read()
    if raw[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos = 8
    chunks = []
    idat = b""
    while pos < len(raw):
        ln, kind = struct.unpack(">I4s", raw[pos:pos + 8])
        body = raw[pos + 8:pos + 8 + ln]
        crc = struct.unpack(">I", raw[pos + 8 + ln:pos + 12 + ln])[0]
        if zlib.crc32(kind + body) & 0xFFFFFFFF != crc:
            raise ValueError(f"bad CRC in {kind!r}")
        chunks.append(kind)
        if kind == b"IHDR":
            w, h, depth, ctype, _, _, inter = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"iCCP":
            name, rest = body.split(b"\0", 1)
            icc = zlib.decompress(rest[1:])
        pos += 12 + ln
    bpp = {6: 4, 2: 3}.get(ctype)
    if bpp is None or depth != 8:
        return dict(w=w, h=h, depth=depth, ctype=ctype, inter=inter, chunks=chunks, px=None)
    data = zlib.decompress(idat)
    px = [[None] * w for _ in range(h)]
    if inter:
        p = 0
        for x0, y0, dx, dy in ADAM7:
            sw = (w - x0 + dx - 1) // dx
            sh = (h - y0 + dy - 1) // dy
            if sw <= 0 or sh <= 0:
                continue
            rows, p = _unfilter(data, p, sw, sh, bpp)
            for j, row in enumerate(rows):
                for i in range(sw):
                    px[y0 + j * dy][x0 + i * dx] = tuple(row[i * bpp:(i + 1) * bpp])
    else:
        rows, _ = _unfilter(data, 0, w, h, bpp)
        for j, row in enumerate(rows):
            px[j] = [tuple(row[i * bpp:(i + 1) * bpp]) for i in range(w)]
    info = dict(w=w, h=h, depth=depth, ctype=ctype, inter=inter, chunks=chunks, px=px)
    if b"iCCP" in chunks:
        info["icc"] = icc
    return info


def frame_stats(px, w, fh, i):
    """Mean luminance (alpha-weighted) and raw pixels of frame i."""
    total = 0.0
    weight = 0.0
    raw = []
    for y in range(i * fh, (i + 1) * fh):
        for x in range(w):
            p = px[y][x]
            a = p[3] / 255 if len(p) == 4 else 1.0
            total += (0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]) * a
            weight += a
            raw.append(p)
    return total / max(weight, 1e-9), raw


def check_png(num, folder, rows):
    w, h, ctype, rule = PNGS[num]
    name = f"png_{num}.png"
    path = os.path.join(folder, name)
    if not check(os.path.exists(path), f"{name}: missing"):
        rows.append((name, "missing", "", "", "", "", "FAIL"))
        return
    info = read_png(path)
    before = len(failures)
    check((info["w"], info["h"]) == (w, h), f"{name}: size {info['w']}x{info['h']}, want {w}x{h}")
    check(info["ctype"] == ctype, f"{name}: colour type {info['ctype']}, want {ctype}")
    check(info["depth"] == 8, f"{name}: bit depth {info['depth']}")
    want_inter = 0 if num == 155 else 1
    check(info["inter"] == want_inter, f"{name}: interlace {info['inter']}, want {want_inter}")
    has_icc = b"iCCP" in info["chunks"]
    check(has_icc == (num != 155), f"{name}: iCCP {'present' if has_icc else 'absent'}")
    if has_icc:
        icc = info["icc"]
        check(len(icc) >= 132 and struct.unpack(">I", icc[:4])[0] == len(icc)
              and icc[36:40] == b"acsp" and icc[16:20] == b"RGB ",
              f"{name}: embedded profile is not a valid RGB ICC profile")
    if num == 155:
        extra = [c.decode() for c in info["chunks"] if c in (b"sRGB", b"gAMA", b"cHRM")]
        check(not extra, f"{name}: colour chunks {extra} present")
    notes = ""
    px = info["px"]
    if px is not None and (info["w"], info["h"]) == (w, h):
        if rule == "one":
            n = w * h
            zero = sum(1 for row in px for p in row if p[3] == 0)
            part = sum(1 for row in px for p in row if 0 < p[3] < 255)
            zp, pp = 100 * zero / n, 100 * part / n
            notes = f"alpha 0: {zp:.1f}%, partial: {pp:.2f}%"
            check(18 <= zp <= 33, f"{name}: {zp:.1f}% fully transparent, want about 25%")
            check(0.4 <= pp <= 2.0, f"{name}: {pp:.2f}% partly transparent, want about 1%")
            inner = [px[y][x][3] for y in range(177, 623, 7) for x in range(560, 1191, 7)]
            dark = [max(px[y][x][:3]) for y in range(177, 623, 7) for x in range(560, 1191, 7)]
            check(min(inner) == 255, f"{name}: page rectangle not opaque")
            check(max(dark) <= 40, f"{name}: page rectangle not near-black")
            for (x, y) in ((1235, 142), (1192, 156)):
                check(px[y][x][3] == 255, f"{name}: artwork not opaque under the button at {x},{y}")
        else:
            fh = h // 4
            lum = []
            raw = []
            for i in range(4):
                m, r = frame_stats(px, w, fh, i)
                lum.append(m)
                raw.append(r)
            notes = "lum " + "/".join(f"{v:.0f}" for v in lum)
            check(lum[1] > lum[0] + 3, f"{name}: hover frame not brighter")
            if rule == "same":
                check(raw[2] == raw[0], f"{name}: pressed frame differs from frame 0")
                check(raw[3] == raw[0], f"{name}: frame 3 differs from frame 0")
            elif rule == "darker":
                check(lum[2] < lum[0] - 3, f"{name}: pressed frame not darker")
                check(raw[3] == raw[0], f"{name}: frame 3 differs from frame 0")
            else:
                check(lum[2] < lum[0] - 3, f"{name}: pressed frame not darker")
                check(lum[3] < lum[0] - 3, f"{name}: frame 3 not darker")
                if rule == "dark23eq":
                    check(raw[3] == raw[2], f"{name}: frame 3 differs from the pressed frame")
            if ctype == 6:
                # round buttons: the square's corners lie outside the ring
                for i in range(4):
                    for (x, y) in ((0, 0), (w - 1, 0), (0, fh - 1), (w - 1, fh - 1), (3, 3)):
                        check(px[i * fh + y][x][3] == 0, f"{name}: frame {i} not transparent outside the ring")
                    check(px[i * fh + fh // 2][w // 2][3] == 255, f"{name}: frame {i} centre not opaque")
    rows.append((name, f"{info['w']}x{info['h']}", str(info["ctype"]),
                 "Adam7" if info["inter"] else "none", "yes" if has_icc else "no", notes,
                 "ok" if len(failures) == before else "FAIL"))


def check_bmp(num, folder, rows):
    w, h, bits = BMPS[num]
    name = f"bmp_{num}.bmp"
    path = os.path.join(folder, name)
    if not check(os.path.exists(path), f"{name}: missing"):
        rows.append((name, "missing", "", "", "", "", "FAIL"))
        return
    before = len(failures)
    with open(path, "rb") as f:
        raw = f.read()
    sig, size, _, _, off = struct.unpack("<2sIHHI", raw[:14])
    hsize, bw, bh, planes, bpp, comp, isize, _, _, used, _ = struct.unpack("<IiiHHIIiiII", raw[14:54])
    check(sig == b"BM" and size == len(raw), f"{name}: bad file header")
    check(hsize == 40, f"{name}: header size {hsize}, want BITMAPINFOHEADER (40)")
    check((bw, bh) == (w, h), f"{name}: size {bw}x{bh}, want {w}x{h} (bottom-up)")
    check(planes == 1 and bpp == bits and comp == 0, f"{name}: {bpp} bpp / compression {comp}")
    stride = ((bw * bpp + 31) // 32) * 4
    check(off + stride * abs(bh) <= len(raw), f"{name}: pixel data truncated")
    notes = ""
    if num == 187 and bpp == 8:
        ncol = used or 256
        pal = raw[54:54 + 4 * ncol]
        idx = [raw[off + y * stride + x] for y in range(bh) for x in range(bw)]
        black = all(pal[i * 4:i * 4 + 3] == b"\0\0\0" for i in set(idx))
        check(black and max(idx) < ncol, f"{name}: not every pixel black")
        notes = f"palette {ncol}, all black" if black else "not black"
    rows.append((name, f"{bw}x{bh}", f"{bpp} bpp", "", "", notes,
                 "ok" if len(failures) == before else "FAIL"))


def check_ico(folder, rows):
    name = "icon_128.ico"
    path = os.path.join(folder, name)
    if not check(os.path.exists(path), f"{name}: missing"):
        rows.append((name, "missing", "", "", "", "", "FAIL"))
        return
    before = len(failures)
    with open(path, "rb") as f:
        raw = f.read()
    reserved, kind, count = struct.unpack("<HHH", raw[:6])
    check(reserved == 0 and kind == 1 and count == 1, f"{name}: want one icon image")
    bw, bh, colours, _, planes, bits, size, off = struct.unpack("<BBBBHHII", raw[6:22])
    check((bw, bh) == (64, 64) and bits == 24, f"{name}: directory says {bw}x{bh} {bits} bpp")
    img = raw[off:off + size]
    check(len(img) == size == 12840, f"{name}: image is {size} bytes, want 12840")
    hsize, w, h2, pl, bpp, comp = struct.unpack("<IiiHHI", img[:20])
    check(hsize == 40 and w == 64 and h2 == 128 and bpp == 24 and comp == 0,
          f"{name}: DIB header {w}x{h2} {bpp} bpp")
    check(40 + 64 * 64 * 3 + 64 * 8 == size, f"{name}: no room for the 1-bit mask")
    rows.append((name, f"{w}x{h2 // 2}", "24 bpp + mask", "", "", f"{size} bytes",
                 "ok" if len(failures) == before else "FAIL"))


def check_gif(folder, rows):
    name = "gif_185.gif"
    path = os.path.join(folder, name)
    if not check(os.path.exists(path), f"{name}: missing"):
        rows.append((name, "missing", "", "", "", "", "FAIL"))
        return
    before = len(failures)
    with open(path, "rb") as f:
        raw = f.read()
    check(raw[:6] == b"GIF89a", f"{name}: not GIF89a")
    w, h, flags = struct.unpack("<HHB", raw[6:11])
    check((w, h) == (120, 120), f"{name}: size {w}x{h}")
    gct = 2 << (flags & 7) if flags & 0x80 else 0
    check(gct == 2, f"{name}: colour table has {gct} entries, want 2")
    table = raw[13:13 + 3 * gct]
    check(table[3:6] == bytes((0, 117, 169)), f"{name}: dot colour {tuple(table[3:6])}")
    pos = 13 + 3 * gct
    delays, loop, transparent = [], None, True
    while pos < len(raw):
        b = raw[pos]
        if b == 0x3B:
            break
        if b == 0x21:
            label = raw[pos + 1]
            pos += 2
            blocks = []
            while raw[pos]:
                blocks.append(raw[pos + 1:pos + 1 + raw[pos]])
                pos += 1 + raw[pos]
            pos += 1
            if label == 0xF9:
                pf, d, ti = struct.unpack("<BHB", blocks[0])
                delays.append(d * 10)
                transparent &= bool(pf & 1) and ti == 0
            elif label == 0xFF and blocks[0] == b"NETSCAPE2.0":
                loop = struct.unpack("<H", blocks[1][1:3])[0]
        elif b == 0x2C:
            lflags = raw[pos + 9]
            pos += 10
            if lflags & 0x80:
                pos += 3 * (2 << (lflags & 7))
            pos += 1
            while raw[pos]:
                pos += 1 + raw[pos]
            pos += 1
        else:
            check(False, f"{name}: unexpected block {b:#x}")
            break
    check(delays == [30, 200] + [230] * 6, f"{name}: delays {delays}")
    check(loop == 0, f"{name}: loop count {loop}, want 0 (forever)")
    check(transparent, f"{name}: background index 0 not transparent in every frame")
    rows.append((name, f"{w}x{h}", f"{gct} colours", "", "", f"{len(delays)} frames, loop {loop}",
                 "ok" if len(failures) == before else "FAIL"))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "res", "images")
    rows = []
    for num in PNGS:
        check_png(num, folder, rows)
    for num in BMPS:
        check_bmp(num, folder, rows)
    check_ico(folder, rows)
    check_gif(folder, rows)
    head = ("file", "size", "type", "interlace", "iCCP", "notes", "result")
    widths = [max(len(str(r[i])) for r in rows + [head]) for i in range(len(head))]
    for r in [head] + rows:
        print("  ".join(str(v).ljust(wd) for v, wd in zip(r, widths)))
    if failures:
        print("\nMISMATCHES:")
        for f in failures:
            print("  " + f)
        sys.exit(1)
    print("\nall pictures match")


if __name__ == "__main__":
    main()
