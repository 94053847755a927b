#pragma once
// An in-memory picture: 32-bit premultiplied ARGB (0xAARRGGBB in native byte order), rows top to
// bottom, no padding. Windows are painted into one, images decode into one, and backends show one.

#include <cstdint>
#include <vector>

#include "platform/win_types.h"

namespace platform {

using Argb = std::uint32_t;

constexpr Argb MakeArgb(int a, int r, int g, int b) {
    return (static_cast<Argb>(a & 0xFF) << 24) | (static_cast<Argb>(r & 0xFF) << 16) |
           (static_cast<Argb>(g & 0xFF) << 8) | static_cast<Argb>(b & 0xFF);
}
constexpr int AlphaOf(Argb p) {
    return static_cast<int>(p >> 24);
}
constexpr int RedOf(Argb p) {
    return static_cast<int>((p >> 16) & 0xFF);
}
constexpr int GreenOf(Argb p) {
    return static_cast<int>((p >> 8) & 0xFF);
}
constexpr int BlueOf(Argb p) {
    return static_cast<int>(p & 0xFF);
}
// An opaque pixel of a COLORREF.
constexpr Argb OpaqueArgb(COLORREF c) {
    return MakeArgb(255, GetRValue(c), GetGValue(c), GetBValue(c));
}

class PixelBuffer {
public:
    PixelBuffer() = default;
    PixelBuffer(int width, int height, Argb fill = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    void Resize(int width, int height, Argb fill = 0);

    Argb* Row(int y) {
        return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }
    const Argb* Row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }
    Argb At(int x, int y) const { return Row(y)[x]; }
    Argb& At(int x, int y) { return Row(y)[x]; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    std::vector<Argb>& Pixels() { return pixels_; }
    const std::vector<Argb>& Pixels() const { return pixels_; }

    void Fill(const CRect& area, Argb color);  // replaces pixels, clipped to the buffer
    // Source-over composition of src's rectangle srcArea onto this buffer at (dx, dy), clipped to
    // clip (in this buffer's coordinates) and to the buffer itself.
    void Blend(const PixelBuffer& src, const CRect& srcArea, int dx, int dy, const CRect& clip);
    // Plain copy (no blending) with the same clipping rules.
    void Copy(const PixelBuffer& src, const CRect& srcArea, int dx, int dy, const CRect& clip);
    // Nearest-neighbour scaling of srcArea onto dstArea, copying (no blending).
    void StretchCopy(const PixelBuffer& src, const CRect& srcArea, const CRect& dstArea,
                     const CRect& clip);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Argb> pixels_;
};

// src over dst, both premultiplied.
inline Argb BlendOver(Argb dst, Argb src) {
    const unsigned sa = src >> 24;
    if (sa == 255)
        return src;
    if (sa == 0)
        return dst;
    const unsigned inv = 255 - sa;
    auto ch = [&](int shift) {
        const unsigned s = (src >> shift) & 0xFF;
        const unsigned d = (dst >> shift) & 0xFF;
        const unsigned v = s + (d * inv + 127) / 255;
        return (v > 255 ? 255u : v) << shift;
    };
    return ch(24) | ch(16) | ch(8) | ch(0);
}

}  // namespace platform
