#pragma once
// Decoders for the picture formats compiled into the program: PNG (the strips and the login
// artwork), Windows bitmaps and icons. Each returns false, leaving out untouched, for anything
// it cannot decode completely; none writes to the terminal. Decoded pixels are premultiplied
// ARGB with the stored colour values: embedded colour profiles and gamma are not applied.

#include <cstddef>

#include "platform/pixel_buffer.h"

namespace platform {

// Pictures larger than this on either side, or than kMaxImagePixels in all, are refused.
constexpr int kMaxImageDimension = 16384;
constexpr long long kMaxImagePixels = 1LL << 26;

// 8- and 16-bit PNGs of every colour type, interlaced or not.
bool DecodePng(const void* data, std::size_t size, PixelBuffer& out);
// An uncompressed device-independent bitmap (1, 4, 8, 24 or 32 bits per pixel, bottom-up or
// top-down), with or without the 14-byte file header. Every pixel is opaque.
bool DecodeBmp(const void* data, std::size_t size, PixelBuffer& out);
// An icon file: the largest of its images (ties go to the deeper colour). Bitmap images take
// their transparency from the mask, or from the alpha of a 32-bit image; PNG images are allowed.
bool DecodeIco(const void* data, std::size_t size, PixelBuffer& out);

}  // namespace platform
