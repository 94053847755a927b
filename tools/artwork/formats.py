"""Byte-exact writers for the image formats the launcher embeds.

The resource loader and the image buttons care about details that general
imaging libraries do not let us pin down (Adam7 interlacing plus an embedded
colour profile, classic DIB icons, a two-entry GIF colour table), so every
file is assembled here by hand. All writers are deterministic.
"""

import struct
import zlib

import numpy as np

# ---------------------------------------------------------------------------
# ICC profile


def _s15f16(v):
    return struct.pack(">i", int(round(v * 65536)))


def _xyz_tag(x, y, z):
    return b"XYZ " + b"\0" * 4 + _s15f16(x) + _s15f16(y) + _s15f16(z)


def _pad4(b):
    return b + b"\0" * (-len(b) % 4)


def srgb_icc_profile():
    """A small ICC v2 display profile describing sRGB (D50-adapted colorants,
    a 256-entry tone curve shared by the three channels)."""
    desc_text = b"sRGB IEC61966-2.1 (compact)\0"
    desc = (b"desc" + b"\0" * 4 + struct.pack(">I", len(desc_text)) + desc_text
            + struct.pack(">II", 0, 0)  # no Unicode description
            + struct.pack(">HB", 0, 0) + b"\0" * 67)  # no ScriptCode description
    cprt = b"text" + b"\0" * 4 + b"No copyright, use freely\0"
    curve = []
    for i in range(256):
        c = i / 255.0
        lin = c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
        curve.append(int(round(lin * 65535)))
    trc = b"curv" + b"\0" * 4 + struct.pack(">I", 256) + struct.pack(">256H", *curve)

    tags = [
        (b"desc", desc),
        (b"cprt", cprt),
        (b"wtpt", _xyz_tag(0.9642, 1.0, 0.8249)),
        (b"rXYZ", _xyz_tag(0.4360747, 0.2225045, 0.0139322)),
        (b"gXYZ", _xyz_tag(0.3850649, 0.7168786, 0.0971045)),
        (b"bXYZ", _xyz_tag(0.1430804, 0.0606169, 0.7141733)),
        (b"rTRC", trc),
    ]
    shared = {b"gTRC": b"rTRC", b"bTRC": b"rTRC"}
    count = len(tags) + len(shared)
    offset = 128 + 4 + 12 * count
    table = []
    data = b""
    where = {}
    for sig, body in tags:
        where[sig] = (offset + len(data), len(body))
        table.append((sig, offset + len(data), len(body)))
        data += _pad4(body)
    for sig, src in shared.items():
        table.append((sig,) + where[src])
    size = offset + len(data)

    header = struct.pack(">I", size)
    header += b"\0\0\0\0"  # preferred CMM: none
    header += struct.pack(">I", 0x02100000)  # version 2.1
    header += b"mntr" + b"RGB " + b"XYZ "
    header += struct.pack(">6H", 2000, 1, 1, 0, 0, 0)  # fixed date: deterministic
    header += b"acsp" + b"\0\0\0\0"  # platform: none
    header += struct.pack(">I", 0)  # flags
    header += b"\0\0\0\0" + b"\0\0\0\0"  # manufacturer, model
    header += struct.pack(">Q", 0)  # attributes
    header += struct.pack(">I", 0)  # perceptual intent
    header += _s15f16(0.9642) + _s15f16(1.0) + _s15f16(0.8249)
    header += b"\0\0\0\0"  # creator
    header += b"\0" * (128 - len(header))
    assert len(header) == 128
    tagtable = struct.pack(">I", count) + b"".join(
        sig + struct.pack(">II", off, ln) for sig, off, ln in table)
    profile = header + tagtable + data
    assert len(profile) == size
    return profile


# ---------------------------------------------------------------------------
# PNG

ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4),
         (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def _chunk(kind, body):
    return (struct.pack(">I", len(body)) + kind + body
            + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))


def _paeth(a, b, c):
    a = a.astype(np.int16)
    b = b.astype(np.int16)
    c = c.astype(np.int16)
    p = a + b - c
    pa = np.abs(p - a)
    pb = np.abs(p - b)
    pc = np.abs(p - c)
    out = np.where((pa <= pb) & (pa <= pc), a, np.where(pb <= pc, b, c))
    return out.astype(np.uint8)


def _filter_rows(img):
    """Filter every scanline with whichever of the five PNG filters gives the
    smallest sum of absolute differences (the usual libpng heuristic)."""
    h, w, bpp = img.shape
    rows = img.reshape(h, w * bpp)
    out = bytearray()
    prev = np.zeros(w * bpp, dtype=np.uint8)
    for y in range(h):
        cur = rows[y]
        left = np.concatenate([np.zeros(bpp, np.uint8), cur[:-bpp]])
        upleft = np.concatenate([np.zeros(bpp, np.uint8), prev[:-bpp]])
        cands = [
            cur,
            cur - left,
            cur - prev,
            cur - ((left.astype(np.uint16) + prev) // 2).astype(np.uint8),
            cur - _paeth(left, prev, upleft),
        ]
        scores = [int(np.abs(c.astype(np.int8).astype(np.int16)).sum()) for c in cands]
        best = scores.index(min(scores))
        out.append(best)
        out += cands[best].astype(np.uint8).tobytes()
        prev = cur
    return bytes(out)


def encode_png(rgba, colour_type, interlace, icc=None):
    """rgba: HxWx4 uint8 array. colour_type 6 keeps alpha, 2 drops it (the
    caller guarantees the picture is opaque)."""
    img = np.ascontiguousarray(rgba, dtype=np.uint8)
    h, w = img.shape[:2]
    if colour_type == 2:
        if (img[:, :, 3] != 255).any():
            raise ValueError("RGB strip has transparent pixels")
        img = np.ascontiguousarray(img[:, :, :3])
    elif colour_type != 6:
        raise ValueError("unsupported colour type")
    if interlace:
        raw = b""
        for x0, y0, dx, dy in ADAM7:
            sub = img[y0::dy, x0::dx]
            if sub.shape[0] and sub.shape[1]:
                raw += _filter_rows(np.ascontiguousarray(sub))
    else:
        raw = _filter_rows(img)
    out = b"\x89PNG\r\n\x1a\n"
    out += _chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, colour_type, 0, 0,
                                        1 if interlace else 0))
    if icc is not None:
        out += _chunk(b"iCCP", b"sRGB\0\0" + zlib.compress(icc, 9))
    out += _chunk(b"IDAT", zlib.compress(raw, 9))
    out += _chunk(b"IEND", b"")
    return out


# ---------------------------------------------------------------------------
# BMP / ICO


def _dib_rows_24(rgb):
    """Bottom-up BGR rows padded to four bytes."""
    h, w = rgb.shape[:2]
    pad = (-w * 3) % 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        out += rgb[y, :, 2::-1].astype(np.uint8).tobytes() + b"\0" * pad
    return bytes(out)


def encode_bmp24(rgb):
    h, w = rgb.shape[:2]
    pixels = _dib_rows_24(rgb)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + pixels


def encode_bmp8(indices, palette):
    """indices: HxW uint8; palette: list of (r, g, b)."""
    h, w = indices.shape
    pad = (-w) % 4
    pixels = b"".join(indices[y].astype(np.uint8).tobytes() + b"\0" * pad
                      for y in range(h - 1, -1, -1))
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(pixels), 2835, 2835,
                       len(palette), len(palette))
    off = 14 + len(info) + len(pal)
    head = struct.pack("<2sIHHI", b"BM", off + len(pixels), 0, 0, off)
    return head + info + pal + pixels


def encode_ico24(rgb, opaque):
    """One classic DIB icon image: 24-bit colour plus a 1-bit AND mask (set
    bits are transparent)."""
    h, w = rgb.shape[:2]
    xor = _dib_rows_24(rgb)
    stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if not opaque[y, x]:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 24, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + bytes(mask)
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w & 255, h & 255, 0, 0, 1, 24, len(image), 6 + 16)
    return head + entry + image


# ---------------------------------------------------------------------------
# GIF


def _lzw(indices, min_code_size):
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bitbuf = 0
    nbits = 0

    def emit(code, size):
        nonlocal bitbuf, nbits
        bitbuf |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(bitbuf & 255)
            bitbuf >>= 8
            nbits -= 8

    size = min_code_size + 1
    table = {(i,): i for i in range(clear)}
    nxt = end + 1
    emit(clear, size)
    cur = ()
    for px in indices:
        cand = cur + (px,)
        if cand in table:
            cur = cand
            continue
        emit(table[cur], size)
        if nxt < 4096:
            table[cand] = nxt
            nxt += 1
            if nxt > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table = {(i,): i for i in range(clear)}
            nxt = end + 1
            size = min_code_size + 1
        cur = (px,)
    if cur:
        emit(table[cur], size)
    emit(end, size)
    if nbits:
        out.append(bitbuf & 255)
    blocks = bytearray()
    for i in range(0, len(out), 255):
        part = out[i:i + 255]
        blocks.append(len(part))
        blocks += part
    blocks.append(0)
    return bytes(blocks)


def encode_gif(frames, delays_ms, colour, width, height):
    """frames: list of HxW bool arrays (True = dot). Index 0 is transparent,
    index 1 the dot colour; the animation loops forever."""
    out = b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80, 0, 0)  # 2-entry table
    out += bytes([0, 0, 0]) + bytes(colour)
    out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01" + struct.pack("<H", 0) + b"\0"
    for mask, delay in zip(frames, delays_ms):
        # disposal 2 (restore to background) so each frame replaces the last
        out += b"\x21\xf9\x04" + struct.pack("<BHB", (2 << 2) | 1, delay // 10, 0) + b"\0"
        out += b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
        out += bytes([2]) + _lzw([1 if v else 0 for v in mask.reshape(-1)], 2)
    out += b"\x3b"
    return out
