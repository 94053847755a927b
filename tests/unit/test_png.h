#pragma once
// Small PNG files made in memory, for tests that need pictures of exact colours and alpha.

#include <png.h>

#include <cstdint>
#include <vector>

namespace test_png {

struct Rgba {
    std::uint8_t r, g, b, a;
};

// An 8-bit RGBA PNG of width x height pixels, rows top to bottom.
inline std::vector<std::uint8_t> Encode(int width, int height, const std::vector<Rgba>& pixels) {
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) *
                                  4);  // made before the jump point
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t size) {
            auto* bytes = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
            bytes->insert(bytes->end(), data, data + size);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgba& p = pixels[static_cast<std::size_t>(y * width + x)];
            std::uint8_t* d = &row[static_cast<std::size_t>(x) * 4];
            d[0] = p.r;
            d[1] = p.g;
            d[2] = p.b;
            d[3] = p.a;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A strip of frames stacked top to bottom, each frame one solid opaque colour.
inline std::vector<std::uint8_t> SolidStrip(int width, int frameHeight,
                                            const std::vector<Rgba>& frameColours) {
    std::vector<Rgba> pixels;
    for (const Rgba& c : frameColours)
        for (int i = 0; i < width * frameHeight; ++i)
            pixels.push_back(c);
    return Encode(width, frameHeight * static_cast<int>(frameColours.size()), pixels);
}

}  // namespace test_png
