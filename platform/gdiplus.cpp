#include "platform/gdiplus.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <vector>

#include "platform/image_codecs.h"

namespace Gdiplus {

namespace {

std::atomic<ULONG_PTR> g_nextToken{1};

// Reads the stream from its current position to its end.
bool ReadAll(IStream* stream, std::vector<std::uint8_t>& bytes) {
    constexpr ULONG kChunk = 64 * 1024;
    STATSTG status;
    if (stream->Stat(&status, STATFLAG_NONAME) == S_OK && status.cbSize.QuadPart <= (1ull << 31))
        bytes.reserve(static_cast<std::size_t>(status.cbSize.QuadPart));
    for (;;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + kChunk);
        ULONG got = 0;
        const HRESULT hr = stream->Read(bytes.data() + used, kChunk, &got);
        bytes.resize(used + std::min(got, kChunk));
        if (FAILED(hr))
            return false;
        if (got < kChunk)
            return true;
    }
}

Status Decode(const std::vector<std::uint8_t>& bytes, platform::PixelBuffer& pixels) {
    static constexpr std::uint8_t kPng[4] = {0x89, 'P', 'N', 'G'};
    static constexpr std::uint8_t kIco[4] = {0, 0, 1, 0};
    const auto startsWith = [&](const std::uint8_t* magic, std::size_t n) {
        return bytes.size() >= n && std::memcmp(bytes.data(), magic, n) == 0;
    };
    bool decoded = false;
    if (startsWith(kPng, sizeof(kPng))) {
        decoded = platform::DecodePng(bytes.data(), bytes.size(), pixels);
    } else if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        decoded = platform::DecodeBmp(bytes.data(), bytes.size(), pixels);
    } else if (startsWith(kIco, sizeof(kIco))) {
        decoded = platform::DecodeIco(bytes.data(), bytes.size(), pixels);
    } else {
        return UnknownImageFormat;
    }
    return decoded ? Ok : GenericError;
}

// A source or destination span as a start, a length and whether it runs backwards.
struct Span {
    long long start;
    long long length;
    bool reversed;
};

Span MakeSpan(long long start, long long extent) {
    return extent < 0 ? Span{start + extent, -extent, true} : Span{start, extent, false};
}

}  // namespace

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, void* /*output*/) {
    if (!token || !input || input->GdiplusVersion != 1)
        return InvalidParameter;
    *token = g_nextToken++;
    return Ok;
}

void GdiplusShutdown(ULONG_PTR /*token*/) {}

// ---- Image
// ---------------------------------------------------------------------------------------

Image::Image(IStream* stream, Status status, platform::PixelBuffer pixels)
    : stream_(stream), lastStatus_(status), pixels_(std::move(pixels)) {
    if (stream_)
        stream_->AddRef();
}

Image::~Image() {
    if (stream_)
        stream_->Release();
}

Image* Image::FromStream(IStream* stream,
                         BOOL /*useEmbeddedColorManagement: profiles are never applied*/) {
    if (!stream)
        return new (std::nothrow) Image(nullptr, InvalidParameter, {});
    platform::PixelBuffer pixels;
    Status status = Ok;
    try {
        std::vector<std::uint8_t> bytes;
        status = ReadAll(stream, bytes) ? Decode(bytes, pixels) : Win32Error;
    } catch (const std::bad_alloc&) {
        status = OutOfMemory;
    }
    if (status != Ok)
        pixels = platform::PixelBuffer();
    return new (std::nothrow) Image(stream, status, std::move(pixels));
}

UINT Image::GetWidth() {
    if (pixels_.Empty()) {
        lastStatus_ = InvalidParameter;
        return 0;
    }
    return static_cast<UINT>(pixels_.Width());
}

UINT Image::GetHeight() {
    if (pixels_.Empty()) {
        lastStatus_ = InvalidParameter;
        return 0;
    }
    return static_cast<UINT>(pixels_.Height());
}

Status Image::GetLastStatus() {
    const Status status = lastStatus_;
    lastStatus_ = Ok;
    return status;
}

// ---- Graphics
// ------------------------------------------------------------------------------------

Graphics::Graphics(HDC hdc) : hdc_(hdc), lastStatus_(hdc ? Ok : InvalidParameter) {}

Graphics* Graphics::FromHDC(HDC hdc) {
    return new (std::nothrow) Graphics(hdc);
}

Status Graphics::SetStatus(Status status) {
    if (status != Ok)
        lastStatus_ = status;
    return status;
}

Status Graphics::GetLastStatus() {
    const Status status = lastStatus_;
    lastStatus_ = Ok;
    return status;
}

Status Graphics::DrawImage(Image* image, const Point* destPoints, INT count) {
    if (!image || !destPoints || count != 3)
        return SetStatus(InvalidParameter);
    const Point& topLeft = destPoints[0];
    const Point& topRight = destPoints[1];
    const Point& bottomLeft = destPoints[2];
    if (topRight.Y != topLeft.Y || bottomLeft.X != topLeft.X)
        return SetStatus(NotImplemented);
    const long long width = static_cast<long long>(topRight.X) - topLeft.X;
    const long long height = static_cast<long long>(bottomLeft.Y) - topLeft.Y;
    if (width < INT32_MIN || width > INT32_MAX || height < INT32_MIN || height > INT32_MAX)
        return SetStatus(ValueOverflow);
    const auto& pixels = image->Pixels();
    return SetStatus(
        Draw(image, Rect(topLeft.X, topLeft.Y, static_cast<INT>(width), static_cast<INT>(height)),
             Rect(0, 0, pixels.Width(), pixels.Height())));
}

Status Graphics::DrawImage(Image* image, const Rect& destRect, INT srcx, INT srcy, INT srcwidth,
                           INT srcheight, Unit srcUnit) {
    if (srcUnit != UnitPixel)
        return SetStatus(NotImplemented);
    return SetStatus(Draw(image, destRect, Rect(srcx, srcy, srcwidth, srcheight)));
}

Status Graphics::DrawImage(Image* image, INT x, INT y) {
    if (!image)
        return SetStatus(InvalidParameter);
    const auto& pixels = image->Pixels();
    return SetStatus(Draw(image, Rect(x, y, pixels.Width(), pixels.Height()),
                          Rect(0, 0, pixels.Width(), pixels.Height())));
}

Status Graphics::Draw(Image* image, const Rect& dest, const Rect& src) {
    if (!image || image->Pixels().Empty() || src.Width == 0 || src.Height == 0)
        return InvalidParameter;
    if (!hdc_)
        return InvalidParameter;
    const platform::DcTarget target = platform::ResolveDc(hdc_);
    if (!target.pixels)
        return Win32Error;
    if (dest.Width == 0 || dest.Height == 0)
        return Ok;

    const platform::PixelBuffer& from = image->Pixels();
    platform::PixelBuffer& to = *target.pixels;
    const Span dx = MakeSpan(static_cast<long long>(dest.X) + target.origin.x, dest.Width);
    const Span dy = MakeSpan(static_cast<long long>(dest.Y) + target.origin.y, dest.Height);
    const Span sx = MakeSpan(src.X, src.Width);
    const Span sy = MakeSpan(src.Y, src.Height);

    // Destination pixels that can change: the destination, the clip and the buffer.
    const long long left = std::max({dx.start, static_cast<long long>(target.clip.left), 0LL});
    const long long top = std::max({dy.start, static_cast<long long>(target.clip.top), 0LL});
    const long long right =
        std::min({dx.start + dx.length, static_cast<long long>(target.clip.right),
                  static_cast<long long>(to.Width())});
    const long long bottom =
        std::min({dy.start + dy.length, static_cast<long long>(target.clip.bottom),
                  static_cast<long long>(to.Height())});

    if (left < right && top < bottom) {
        // Nearest source pixel for each destination pixel; exact one-to-one when unscaled. A
        // source pixel outside the image leaves the destination as it was.
        const bool flipX = dx.reversed != sx.reversed;
        const bool flipY = dy.reversed != sy.reversed;
        std::vector<int> columns(static_cast<std::size_t>(right - left));
        for (long long x = left; x < right; ++x) {
            const long long i = x - dx.start;
            const long long j = flipX ? dx.length - 1 - i : i;
            const long long s = sx.start + ((2 * j + 1) * sx.length) / (2 * dx.length);
            columns[static_cast<std::size_t>(x - left)] =
                s >= 0 && s < from.Width() ? static_cast<int>(s) : -1;
        }
        for (long long y = top; y < bottom; ++y) {
            const long long i = y - dy.start;
            const long long j = flipY ? dy.length - 1 - i : i;
            const long long s = sy.start + ((2 * j + 1) * sy.length) / (2 * dy.length);
            if (s < 0 || s >= from.Height())
                continue;
            const platform::Argb* srcRow = from.Row(static_cast<int>(s));
            platform::Argb* dstRow = to.Row(static_cast<int>(y));
            for (long long x = left; x < right; ++x) {
                const int c = columns[static_cast<std::size_t>(x - left)];
                if (c >= 0)
                    dstRow[x] = platform::BlendOver(dstRow[x], srcRow[c]);
            }
        }
    }
    platform::DcContentChanged(hdc_);
    return Ok;
}

}  // namespace Gdiplus
