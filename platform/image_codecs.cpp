#include "platform/image_codecs.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace platform {
namespace {

using Byte = std::uint8_t;

bool DimensionsAllowed(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxImageDimension && height <= kMaxImageDimension &&
           width * height <= kMaxImagePixels;
}

constexpr Argb Premultiply(unsigned a, unsigned r, unsigned g, unsigned b) {
    if (a == 255)
        return MakeArgb(255, static_cast<int>(r), static_cast<int>(g), static_cast<int>(b));
    auto mul = [a](unsigned c) { return static_cast<int>((c * a + 127) / 255); };
    return MakeArgb(static_cast<int>(a), mul(r), mul(g), mul(b));
}

// ---- PNG -------------------------------------------------------------------------------------

// libpng reports errors by longjmp. The two functions that call setjmp hold nothing with a
// destructor, so jumping out of libpng skips no cleanup; buffers belong to the caller.

struct PngSource {
    const Byte* data;
    std::size_t size;
    std::size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep dest, png_size_t length) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > src->size - src->pos)
        png_error(png, "truncated");
    std::memcpy(dest, src->data + src->pos, length);
    src->pos += length;
}

[[noreturn]] void OnPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}  // the program stays quiet about pictures

// Reads the header and sets up 8-bit RGBA output; false for anything libpng refuses.
bool ReadPngHeader(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_user_limits(png, kMaxImageDimension, kMaxImageDimension);
    png_read_info(png, info);
    *width = png_get_image_width(png, info);
    *height = png_get_image_height(png, info);
    const int colorType = png_get_color_type(png, info);
    png_set_expand(png);  // palette and low-bit grey to 8 bits, tRNS to alpha
    png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);  // no-op when alpha is already there
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_rowbytes(png, info) == static_cast<png_size_t>(*width) * 4;
}

bool ReadPngRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    png_read_end(png, nullptr);  // a file cut after its pixels is still cut
    return true;
}

class PngReadStruct {
public:
    PngReadStruct() {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
        if (png_)
            info_ = png_create_info_struct(png_);
    }
    PngReadStruct(const PngReadStruct&) = delete;
    PngReadStruct& operator=(const PngReadStruct&) = delete;
    ~PngReadStruct() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// ---- little-endian fields ----------------------------------------------------------------------

std::uint16_t U16(const Byte* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const Byte* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t I32(const Byte* p) {
    return static_cast<std::int32_t>(U32(p));
}

// ---- device-independent bitmaps
// ------------------------------------------------------------------

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;

enum class DibKind { Bitmap, Icon };

std::size_t RowStride(long long width, int bitCount) {
    return static_cast<std::size_t>(((width * bitCount + 31) / 32) * 4);
}

// Decodes a DIB starting at dib (header, colour table, pixels). pixelOffset is where the pixels
// start relative to dib, or 0 for "right after the colour table". An icon's DIB is twice as
// high as its picture: the colour image and then the 1-bit transparency mask.
bool DecodeDib(const Byte* dib, std::size_t size, std::size_t pixelOffset, DibKind kind,
               PixelBuffer& out) {
    if (size < kInfoHeaderSize)
        return false;
    const std::uint32_t headerSize = U32(dib);
    // BITMAPINFOHEADER and its later extensions (V4, V5) share the first 40 bytes.
    if (headerSize < kInfoHeaderSize || headerSize > size)
        return false;
    const long long width = I32(dib + 4);
    long long height = I32(dib + 8);
    const int planes = U16(dib + 12);
    const int bitCount = U16(dib + 14);
    const std::uint32_t compression = U32(dib + 16);
    const std::uint32_t colorsUsed = U32(dib + 32);
    if (planes != 1 || compression != kBiRgb)
        return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return false;
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (kind == DibKind::Icon) {
        if (topDown || height % 2 != 0)
            return false;
        height /= 2;
    }
    if (!DimensionsAllowed(width, height))
        return false;

    // Colour table.
    std::size_t paletteCount = 0;
    if (bitCount <= 8) {
        const std::size_t maxColors = std::size_t{1} << bitCount;
        paletteCount = colorsUsed == 0 ? maxColors : colorsUsed;
        if (paletteCount > maxColors)
            return false;
    }
    const std::size_t paletteEnd = headerSize + paletteCount * 4;
    if (paletteEnd > size)
        return false;
    const Byte* palette = dib + headerSize;
    if (pixelOffset == 0)
        pixelOffset = paletteEnd;
    if (pixelOffset > size)
        return false;

    const std::size_t stride = RowStride(width, bitCount);
    const auto rows = static_cast<std::size_t>(height);
    const std::size_t maskStride = kind == DibKind::Icon ? RowStride(width, 1) : 0;
    const std::size_t needed = stride * rows + maskStride * rows;
    if (needed > size - pixelOffset)
        return false;
    const Byte* pixels = dib + pixelOffset;
    const Byte* mask = pixels + stride * rows;

    PixelBuffer image(static_cast<int>(width), static_cast<int>(height));
    const int w = image.Width();
    // Old 32-bit icons leave the alpha bytes zero and rely on the mask.
    bool useAlpha = false;
    if (bitCount == 32 && kind == DibKind::Icon) {
        for (std::size_t y = 0; y < rows && !useAlpha; ++y)
            for (int x = 0; x < w && !useAlpha; ++x)
                useAlpha = pixels[y * stride + static_cast<std::size_t>(x) * 4 + 3] != 0;
    }
    for (int y = 0; y < image.Height(); ++y) {
        const std::size_t stored =
            topDown ? static_cast<std::size_t>(y) : rows - 1 - static_cast<std::size_t>(y);
        const Byte* row = pixels + stored * stride;
        Argb* dest = image.Row(y);
        for (int x = 0; x < w; ++x) {
            unsigned r = 0, g = 0, b = 0, a = 255;
            if (bitCount <= 8) {
                const std::size_t bit =
                    static_cast<std::size_t>(x) * static_cast<std::size_t>(bitCount);
                const unsigned shift =
                    8 - static_cast<unsigned>(bitCount) - static_cast<unsigned>(bit % 8);
                const unsigned index = (row[bit / 8] >> shift) & ((1u << bitCount) - 1);
                if (index < paletteCount) {  // an index past the table draws black
                    b = palette[index * 4];
                    g = palette[index * 4 + 1];
                    r = palette[index * 4 + 2];
                }
            } else {
                const Byte* p =
                    row + static_cast<std::size_t>(x) * static_cast<std::size_t>(bitCount / 8);
                b = p[0];
                g = p[1];
                r = p[2];
                if (useAlpha)
                    a = p[3];
            }
            dest[x] = Premultiply(a, r, g, b);
        }
    }
    if (kind == DibKind::Icon && !useAlpha) {
        // Without usable alpha the mask decides: a set bit is transparent.
        for (int y = 0; y < image.Height(); ++y) {
            const Byte* row = mask + (rows - 1 - static_cast<std::size_t>(y)) * maskStride;
            Argb* dest = image.Row(y);
            for (int x = 0; x < w; ++x) {
                const bool transparent = (row[x / 8] >> (7 - x % 8)) & 1;
                if (transparent)
                    dest[x] = 0;
            }
        }
    }
    out = std::move(image);
    return true;
}

constexpr Byte kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

}  // namespace

bool DecodePng(const void* data, std::size_t size, PixelBuffer& out) {
    if (!data || size < sizeof(kPngSignature) ||
        std::memcmp(data, kPngSignature, sizeof(kPngSignature)) != 0)
        return false;
    try {
        PngReadStruct reader;
        if (!reader.png() || !reader.info())
            return false;
        PngSource source{static_cast<const Byte*>(data), size, 0};
        png_set_read_fn(reader.png(), &source, ReadFromMemory);
        png_uint_32 width = 0, height = 0;
        if (!ReadPngHeader(reader.png(), reader.info(), &width, &height))
            return false;
        if (!DimensionsAllowed(width, height))
            return false;

        const std::size_t stride = static_cast<std::size_t>(width) * 4;
        std::vector<Byte> rgba(stride * height);
        std::vector<png_bytep> rows(height);
        for (png_uint_32 y = 0; y < height; ++y)
            rows[y] = rgba.data() + y * stride;
        if (!ReadPngRows(reader.png(), rows.data()))
            return false;

        PixelBuffer image(static_cast<int>(width), static_cast<int>(height));
        const Byte* p = rgba.data();
        for (Argb& pixel : image.Pixels()) {
            pixel = Premultiply(p[3], p[0], p[1], p[2]);
            p += 4;
        }
        out = std::move(image);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool DecodeBmp(const void* data, std::size_t size, PixelBuffer& out) {
    if (!data)
        return false;
    const auto* bytes = static_cast<const Byte*>(data);
    try {
        if (size >= kFileHeaderSize && bytes[0] == 'B' && bytes[1] == 'M') {
            const std::uint32_t pixelOffset = U32(bytes + 10);
            // The pixels cannot start inside the headers.
            if (pixelOffset < kFileHeaderSize + kInfoHeaderSize)
                return false;
            return DecodeDib(bytes + kFileHeaderSize, size - kFileHeaderSize,
                             pixelOffset - kFileHeaderSize, DibKind::Bitmap, out);
        }
        return DecodeDib(bytes, size, 0, DibKind::Bitmap, out);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool DecodeIco(const void* data, std::size_t size, PixelBuffer& out) {
    constexpr std::size_t kDirSize = 6;
    constexpr std::size_t kEntrySize = 16;
    if (!data || size < kDirSize)
        return false;
    const auto* bytes = static_cast<const Byte*>(data);
    if (U16(bytes) != 0 || U16(bytes + 2) != 1)
        return false;
    const std::size_t count = U16(bytes + 4);
    if (count == 0 || count > (size - kDirSize) / kEntrySize)
        return false;

    PixelBuffer best;
    int bestDepth = -1;
    for (std::size_t i = 0; i < count; ++i) {
        const Byte* entry = bytes + kDirSize + i * kEntrySize;
        const std::uint32_t length = U32(entry + 8);
        const std::uint32_t offset = U32(entry + 12);
        if (offset > size || length > size - offset || length == 0)
            continue;
        const Byte* image = bytes + offset;
        PixelBuffer decoded;
        int depth = 0;
        if (length >= sizeof(kPngSignature) &&
            std::memcmp(image, kPngSignature, sizeof(kPngSignature)) == 0) {
            if (!DecodePng(image, length, decoded))
                continue;
            depth = 32;
        } else {
            try {
                if (!DecodeDib(image, length, 0, DibKind::Icon, decoded))
                    continue;
            } catch (const std::bad_alloc&) {
                continue;
            }
            depth = U16(image + 14);
        }
        const long long area = static_cast<long long>(decoded.Width()) * decoded.Height();
        const long long bestArea = static_cast<long long>(best.Width()) * best.Height();
        if (area > bestArea || (area == bestArea && depth > bestDepth)) {
            best = std::move(decoded);
            bestDepth = depth;
        }
    }
    if (best.Empty())
        return false;
    out = std::move(best);
    return true;
}

}  // namespace platform
