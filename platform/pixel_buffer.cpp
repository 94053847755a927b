#include "platform/pixel_buffer.h"

#include <algorithm>

namespace platform {

PixelBuffer::PixelBuffer(int width, int height, Argb fill) {
    Resize(width, height, fill);
}

void PixelBuffer::Resize(int width, int height, Argb fill) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill);
}

void PixelBuffer::Fill(const CRect& area, Argb color) {
    const CRect r = area.Intersect(CRect(0, 0, width_, height_));
    for (int y = r.top; y < r.bottom; ++y)
        std::fill(Row(y) + r.left, Row(y) + r.right, color);
}

namespace {

// Clips a copy of srcArea (in src) to (dx, dy) in dst, returning the destination rectangle and
// the matching source origin.
bool ClipTransfer(const PixelBuffer& src, const CRect& srcArea, int dx, int dy, const CRect& clip,
                  int dstW, int dstH, CRect& dstOut, CPoint& srcOrigin) {
    CRect s = srcArea.Intersect(CRect(0, 0, src.Width(), src.Height()));
    if (s.IsRectEmpty())
        return false;
    const int offX = dx - srcArea.left;
    const int offY = dy - srcArea.top;
    CRect d(s.left + offX, s.top + offY, s.right + offX, s.bottom + offY);
    d = d.Intersect(clip).Intersect(CRect(0, 0, dstW, dstH));
    if (d.IsRectEmpty())
        return false;
    dstOut = d;
    srcOrigin = CPoint(d.left - offX, d.top - offY);
    return true;
}

}  // namespace

void PixelBuffer::Blend(const PixelBuffer& src, const CRect& srcArea, int dx, int dy,
                        const CRect& clip) {
    CRect d;
    CPoint so;
    if (!ClipTransfer(src, srcArea, dx, dy, clip, width_, height_, d, so))
        return;
    for (int y = d.top; y < d.bottom; ++y) {
        const Argb* s = src.Row(so.y + (y - d.top)) + so.x;
        Argb* t = Row(y) + d.left;
        for (int x = 0; x < d.Width(); ++x)
            t[x] = BlendOver(t[x], s[x]);
    }
}

void PixelBuffer::Copy(const PixelBuffer& src, const CRect& srcArea, int dx, int dy,
                       const CRect& clip) {
    CRect d;
    CPoint so;
    if (!ClipTransfer(src, srcArea, dx, dy, clip, width_, height_, d, so))
        return;
    for (int y = d.top; y < d.bottom; ++y) {
        const Argb* s = src.Row(so.y + (y - d.top)) + so.x;
        std::copy(s, s + d.Width(), Row(y) + d.left);
    }
}

void PixelBuffer::StretchCopy(const PixelBuffer& src, const CRect& srcArea, const CRect& dstArea,
                              const CRect& clip) {
    if (srcArea.IsRectEmpty() || dstArea.IsRectEmpty())
        return;
    const CRect d = dstArea.Intersect(clip).Intersect(CRect(0, 0, width_, height_));
    for (int y = d.top; y < d.bottom; ++y) {
        const long long sy =
            srcArea.top +
            (static_cast<long long>(y - dstArea.top) * srcArea.Height()) / dstArea.Height();
        if (sy < 0 || sy >= src.Height())
            continue;
        for (int x = d.left; x < d.right; ++x) {
            const long long sx =
                srcArea.left +
                (static_cast<long long>(x - dstArea.left) * srcArea.Width()) / dstArea.Width();
            if (sx < 0 || sx >= src.Width())
                continue;
            At(x, y) = src.At(static_cast<int>(sx), static_cast<int>(sy));
        }
    }
}

}  // namespace platform
