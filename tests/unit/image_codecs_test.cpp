// PNG, bitmap and icon decoding: stored colours, transparency, and refusal of malformed input.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/image_codecs.h"
#include "test_fixtures.h"

using platform::Argb;
using platform::MakeArgb;
using platform::PixelBuffer;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Rgba {
    int r, g, b, a;
};

// The pattern every PNG fixture stores (see make_fixtures.py).
Rgba FixturePixel(int x, int y) {
    int a = (29 * x + 71 * y + 13) & 255;
    if (x == 0 && y == 0)
        a = 0;
    if (x == 1 && y == 0)
        a = 255;
    return {(37 * x + 11 * y) & 255, (5 * x + 53 * y + 17) & 255, (x * x + 3 * y + 200) & 255, a};
}

Argb Premultiplied(Rgba p) {
    auto mul = [&](int c) { return (c * p.a + 127) / 255; };
    return MakeArgb(p.a, mul(p.r), mul(p.g), mul(p.b));
}

bool ContainsChunk(const Bytes& png, const char* type) {
    return std::search(png.begin(), png.end(), type, type + 4) != png.end();
}

void Put16(Bytes& b, std::size_t at, unsigned v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Append(Bytes& to, const Bytes& from) {
    to.insert(to.end(), from.begin(), from.end());
}

// A BITMAPINFOHEADER with the given fields.
Bytes InfoHeader(std::int32_t width, std::int32_t height, int bitCount,
                 std::uint32_t colorsUsed = 0) {
    Bytes h(40, 0);
    Put32(h, 0, 40);
    Put32(h, 4, static_cast<std::uint32_t>(width));
    Put32(h, 8, static_cast<std::uint32_t>(height));
    Put16(h, 12, 1);
    Put16(h, 14, static_cast<unsigned>(bitCount));
    Put32(h, 32, colorsUsed);
    return h;
}

std::size_t Stride(int width, int bitCount) {
    return static_cast<std::size_t>(((width * bitCount + 31) / 32) * 4);
}

// Colour of pixel (x, y) in the bitmap builders: opaque, distinct per pixel.
Rgba BmpColor(int x, int y) {
    return {(x * 40 + 5) & 255, (y * 60 + 7) & 255, (x * y * 13 + 90) & 255, 255};
}

// A bitmap of width x |height| (negative: top-down) at 24 or 8 bits; 8 bits use a palette entry
// per pixel. fileHeader adds the 14-byte "BM" header.
Bytes MakeBmp(int width, int height, int bitCount, bool fileHeader) {
    const int rows = height < 0 ? -height : height;
    Bytes palette;
    if (bitCount == 8) {
        for (int i = 0; i < width * rows; ++i) {
            const Rgba c = BmpColor(i % width, i / width);
            palette.insert(palette.end(),
                           {static_cast<std::uint8_t>(c.b), static_cast<std::uint8_t>(c.g),
                            static_cast<std::uint8_t>(c.r), 0});
        }
    }
    const std::size_t stride = Stride(width, bitCount);
    Bytes pixels(stride * static_cast<std::size_t>(rows),
                 0xEE);  // padding bytes are junk on purpose
    for (int y = 0; y < rows; ++y) {
        const std::size_t stored = static_cast<std::size_t>(height < 0 ? y : rows - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = pixels.data() + stored * stride;
            if (bitCount == 8) {
                p[x] = static_cast<std::uint8_t>(y * width + x);
            } else {
                const Rgba c = BmpColor(x, y);
                p[x * 3] = static_cast<std::uint8_t>(c.b);
                p[x * 3 + 1] = static_cast<std::uint8_t>(c.g);
                p[x * 3 + 2] = static_cast<std::uint8_t>(c.r);
            }
        }
    }
    Bytes dib = InfoHeader(width, height, bitCount, static_cast<std::uint32_t>(palette.size() / 4));
    Append(dib, palette);
    Append(dib, pixels);
    if (!fileHeader)
        return dib;
    Bytes file(14, 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<std::uint32_t>(14 + dib.size()));
    Put32(file, 10, static_cast<std::uint32_t>(14 + 40 + palette.size()));
    Append(file, dib);
    return file;
}

// An icon image's DIB: colour bits and a 1-bit mask whose bit is set where maskSet says.
template <typename MaskSet>
Bytes IconDib(int size, int bitCount, std::uint8_t alpha, MaskSet maskSet) {
    Bytes dib = InfoHeader(size, size * 2, bitCount);
    const std::size_t stride = Stride(size, bitCount);
    const std::size_t maskStride = Stride(size, 1);
    Bytes pixels(stride * static_cast<std::size_t>(size), 0);
    Bytes mask(maskStride * static_cast<std::size_t>(size), 0);
    const int bpp = bitCount / 8;
    for (int y = 0; y < size; ++y) {
        const std::size_t stored = static_cast<std::size_t>(size - 1 - y);
        for (int x = 0; x < size; ++x) {
            const Rgba c = BmpColor(x, y);
            std::uint8_t* p = pixels.data() + stored * stride + static_cast<std::size_t>(x * bpp);
            p[0] = static_cast<std::uint8_t>(c.b);
            p[1] = static_cast<std::uint8_t>(c.g);
            p[2] = static_cast<std::uint8_t>(c.r);
            if (bpp == 4)
                p[3] = alpha;
            if (maskSet(x, y))
                mask[stored * maskStride + static_cast<std::size_t>(x / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    Append(dib, pixels);
    Append(dib, mask);
    return dib;
}

// An icon file holding the given images (each a DIB or a PNG) with the given entry sizes.
Bytes MakeIco(const std::vector<std::pair<int, Bytes>>& images) {
    Bytes ico(6 + 16 * images.size(), 0);
    Put16(ico, 2, 1);
    Put16(ico, 4, static_cast<unsigned>(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::size_t e = 6 + 16 * i;
        ico[e] = static_cast<std::uint8_t>(images[i].first);
        ico[e + 1] = static_cast<std::uint8_t>(images[i].first);
        Put16(ico, e + 4, 1);
        Put32(ico, e + 8, static_cast<std::uint32_t>(images[i].second.size()));
        Put32(ico, e + 12, static_cast<std::uint32_t>(ico.size()));
        Append(ico, images[i].second);
    }
    return ico;
}

bool Checker(int x, int y) {
    return (x + y) % 3 == 0;
}

}  // namespace

// ---- PNG ---------------------------------------------------------------------------------------

struct PngFixtureCase {
    const char* file;
    bool alpha;  // false: every pixel opaque
    bool grey;   // true: grey = the pattern's red
};

class PngFixtureTest : public testing::TestWithParam<PngFixtureCase> {};

// Colour profiles, gamma and chromaticities are not applied; palettes, tRNS, grey and Adam7 are
// expanded to the stored values.
TEST_P(PngFixtureTest, DecodesStoredValues) {
    const PngFixtureCase c = GetParam();
    const Bytes png = ReadFixture(c.file);
    ASSERT_FALSE(png.empty()) << c.file;
    PixelBuffer out;
    ASSERT_TRUE(platform::DecodePng(png.data(), png.size(), out));
    ASSERT_EQ(out.Width(), 9);
    ASSERT_EQ(out.Height(), 7);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x) {
            Rgba p = FixturePixel(x, y);
            if (!c.alpha)
                p.a = 255;
            if (c.grey)
                p.g = p.b = p.r;
            ASSERT_EQ(out.At(x, y), Premultiplied(p)) << c.file << " at " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, PngFixtureTest,
                         testing::Values(PngFixtureCase{"rgba_adam7_iccp.png", true, false},
                                         PngFixtureCase{"rgb_adam7_iccp.png", false, false},
                                         PngFixtureCase{"palette_trns.png", true, false},
                                         PngFixtureCase{"grey.png", false, true}));

TEST(PngDecode, ProfileFixturesReallyCarryProfileAndInterlace) {
    for (const char* file : {"rgba_adam7_iccp.png", "rgb_adam7_iccp.png"}) {
        const Bytes png = ReadFixture(file);
        ASSERT_GT(png.size(), 29u);
        EXPECT_TRUE(ContainsChunk(png, "iCCP")) << file;
        EXPECT_TRUE(ContainsChunk(png, "gAMA")) << file;
        EXPECT_EQ(png[28], 1) << file << ": not Adam7";
    }
}

TEST(PngDecode, EveryTruncationIsRefusedAndLeavesOutputAlone) {
    const Bytes png = ReadFixture("rgba_adam7_iccp.png");
    ASSERT_FALSE(png.empty());
    for (std::size_t n = 0; n < png.size(); ++n) {
        PixelBuffer out(2, 2, 0x12345678);
        ASSERT_FALSE(platform::DecodePng(png.data(), n, out)) << "prefix of " << n << " bytes";
        ASSERT_EQ(out.Width(), 2);
        ASSERT_EQ(out.At(1, 1), 0x12345678u);
    }
}

TEST(PngDecode, CorruptBytesNeverCrash) {
    const Bytes png = ReadFixture("rgb_adam7_iccp.png");
    ASSERT_FALSE(png.empty());
    for (std::size_t i = 8; i < png.size(); ++i) {
        Bytes bad = png;
        bad[i] ^= 0x5A;
        PixelBuffer out;
        if (platform::DecodePng(bad.data(), bad.size(), out)) {
            // Only a byte libpng does not check (an ancillary chunk) may change and still decode.
            EXPECT_EQ(out.Width(), 9);
            EXPECT_EQ(out.Height(), 7);
        }
    }
    PixelBuffer out;
    EXPECT_FALSE(platform::DecodePng(nullptr, 100, out));
    const char notPng[] = "GIF89a not a png at all";
    EXPECT_FALSE(platform::DecodePng(notPng, sizeof(notPng), out));
}

namespace {

// The fixture with its IHDR size replaced (CRC recomputed), so only the size is wrong.
Bytes PngWithSize(std::uint32_t width, std::uint32_t height) {
    Bytes png = ReadFixture("grey.png");
    for (int i = 0; i < 4; ++i) {
        png[16 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
        png[20 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
    }
    // CRC-32 over type and data of IHDR (bytes 12..28).
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 12; i < 29; ++i) {
        crc ^= png[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc ^= 0xFFFFFFFFu;
    for (int i = 0; i < 4; ++i)
        png[29 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    return png;
}

}  // namespace

TEST(PngDecode, HugeOrInconsistentSizesAreRefused) {
    for (auto [w, h] : {std::pair<std::uint32_t, std::uint32_t>{20000, 1},
                        {1, 20000},
                        {16000, 16000},
                        {0x7FFFFFFF, 0x7FFFFFFF},
                        {9, 8},
                        {10, 7}}) {
        const Bytes png = PngWithSize(w, h);
        PixelBuffer out;
        EXPECT_FALSE(platform::DecodePng(png.data(), png.size(), out)) << w << "x" << h;
    }
    const Bytes same = PngWithSize(9, 7);  // the rewrite itself is sound
    PixelBuffer out;
    EXPECT_TRUE(platform::DecodePng(same.data(), same.size(), out));
}

// ---- BMP ---------------------------------------------------------------------------------------

struct BmpCase {
    int width;
    int height;  // negative: top-down
    int bitCount;
    bool fileHeader;
};

class BmpDecodeTest : public testing::TestWithParam<BmpCase> {};

TEST_P(BmpDecodeTest, DecodesEveryPixelOpaque) {
    const BmpCase c = GetParam();
    const Bytes bmp = MakeBmp(c.width, c.height, c.bitCount, c.fileHeader);
    PixelBuffer out;
    ASSERT_TRUE(platform::DecodeBmp(bmp.data(), bmp.size(), out));
    const int rows = c.height < 0 ? -c.height : c.height;
    ASSERT_EQ(out.Width(), c.width);
    ASSERT_EQ(out.Height(), rows);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < c.width; ++x)
            ASSERT_EQ(out.At(x, y), Premultiplied(BmpColor(x, y))) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Layouts, BmpDecodeTest,
                         testing::Values(BmpCase{5, 3, 24, true}, BmpCase{5, -3, 24, true},
                                         BmpCase{4, 2, 24, false}, BmpCase{7, 3, 8, true},
                                         BmpCase{7, -3, 8, false}, BmpCase{1, 1, 8, true}));

TEST(BmpDecode, MalformedHeadersAreRefused) {
    const Bytes good = MakeBmp(5, 3, 24, true);
    const Bytes good8 = MakeBmp(7, 3, 8, false);
    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<Case> cases;
    auto with = [](Bytes b, std::size_t at, std::uint32_t v, bool wide = true) {
        if (wide)
            Put32(b, at, v);
        else
            Put16(b, at, v);
        return b;
    };
    cases.push_back({"pixels cut short", Bytes(good.begin(), good.end() - 1)});
    cases.push_back({"header only", Bytes(good.begin(), good.begin() + 54)});
    cases.push_back({"pixel offset past the end", with(good, 10, 0xFFFFFFF0u)});
    cases.push_back({"pixel offset inside the header", with(good, 10, 20)});
    cases.push_back({"huge width", with(good, 14 + 4, 100000)});
    cases.push_back({"width overflowing the stride", with(good, 14 + 4, 0x7FFFFFFF)});
    cases.push_back({"negative width", with(good, 14 + 4, static_cast<std::uint32_t>(-5))});
    cases.push_back({"zero height", with(good, 14 + 8, 0)});
    cases.push_back({"most negative height", with(good, 14 + 8, 0x80000000u)});
    cases.push_back({"16 bits per pixel", with(good, 14 + 14, 16, false)});
    cases.push_back({"run-length compressed", with(good, 14 + 16, 1)});
    cases.push_back({"header size past the end", with(good, 14, 0x10000)});
    cases.push_back({"old core header", with(good, 14, 12)});
    cases.push_back({"palette larger than 8 bits allow", with(good8, 32, 257)});
    cases.push_back({"palette past the end", with(good8, 32, 256)});
    cases.push_back({"empty", Bytes()});
    cases.push_back({"file header alone", Bytes(good.begin(), good.begin() + 14)});
    for (const Case& c : cases) {
        PixelBuffer out(1, 1, 7);
        EXPECT_FALSE(platform::DecodeBmp(c.bytes.data(), c.bytes.size(), out)) << c.what;
        EXPECT_EQ(out.At(0, 0), 7u) << c.what;
    }
}

TEST(BmpDecode, PaletteIndexPastTheTableIsBlackNotARead) {
    Bytes bmp = MakeBmp(7, 3, 8, false);
    Put32(bmp, 32, 2);                                           // only two colours in the table...
    bmp.erase(bmp.begin() + 40 + 8, bmp.begin() + 40 + 21 * 4);  // ...and only two stored
    PixelBuffer out;
    ASSERT_TRUE(platform::DecodeBmp(bmp.data(), bmp.size(), out));
    EXPECT_EQ(out.At(6, 2), MakeArgb(255, 0, 0, 0));
    EXPECT_EQ(out.At(1, 0), Premultiplied(BmpColor(1, 0)));
}

// ---- ICO ---------------------------------------------------------------------------------------

TEST(IcoDecode, TwentyFourBitImageTakesTransparencyFromTheMask) {
    const Bytes ico = MakeIco({{8, IconDib(8, 24, 0, Checker)}});
    PixelBuffer out;
    ASSERT_TRUE(platform::DecodeIco(ico.data(), ico.size(), out));
    ASSERT_EQ(out.Width(), 8);
    ASSERT_EQ(out.Height(), 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(out.At(x, y), Checker(x, y) ? 0u : Premultiplied(BmpColor(x, y)))
                << x << "," << y;
}

TEST(IcoDecode, ThirtyTwoBitImageUsesItsAlphaAndAnAllZeroAlphaFallsBackToTheMask) {
    const Bytes withAlpha = MakeIco({{4, IconDib(4, 32, 128, Checker)}});
    PixelBuffer out;
    ASSERT_TRUE(platform::DecodeIco(withAlpha.data(), withAlpha.size(), out));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            Rgba c = BmpColor(x, y);
            c.a = 128;
            ASSERT_EQ(out.At(x, y), Premultiplied(c));
        }
    const Bytes noAlpha = MakeIco({{4, IconDib(4, 32, 0, Checker)}});
    ASSERT_TRUE(platform::DecodeIco(noAlpha.data(), noAlpha.size(), out));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(out.At(x, y), Checker(x, y) ? 0u : Premultiplied(BmpColor(x, y)));
}

TEST(IcoDecode, PicksTheLargestImageAndAcceptsPngImages) {
    const Bytes png = ReadFixture("rgba_adam7_iccp.png");  // 9 x 7
    PixelBuffer out;
    const Bytes mixed =
        MakeIco({{4, IconDib(4, 24, 0, Checker)}, {9, png}, {6, IconDib(6, 24, 0, Checker)}});
    ASSERT_TRUE(platform::DecodeIco(mixed.data(), mixed.size(), out));
    EXPECT_EQ(out.Width(), 9);
    EXPECT_EQ(out.At(2, 3), Premultiplied(FixturePixel(2, 3)));
    const Bytes dibs =
        MakeIco({{4, IconDib(4, 24, 0, Checker)}, {16, IconDib(16, 24, 0, Checker)}});
    ASSERT_TRUE(platform::DecodeIco(dibs.data(), dibs.size(), out));
    EXPECT_EQ(out.Width(), 16);
}

TEST(IcoDecode, MalformedFilesAreRefusedAndBadEntriesSkipped) {
    const Bytes good = MakeIco({{8, IconDib(8, 24, 0, Checker)}});
    auto with = [](Bytes b, std::size_t at, std::uint32_t v) {
        Put32(b, at, v);
        return b;
    };
    Bytes oddHeight = good;
    Put32(oddHeight, 22 + 8, 15);
    Bytes zeroCount = good;
    Put16(zeroCount, 4, 0);
    Bytes manyEntries = good;
    Put16(manyEntries, 4, 5000);
    Bytes cursor = good;
    Put16(cursor, 2, 2);
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"mask cut off", Bytes(good.begin(), good.end() - 1)},
        {"offset past the end", with(good, 6 + 12, 0xFFFFFFF0u)},
        {"length past the end", with(good, 6 + 8, 0xFFFFFFF0u)},
        {"odd DIB height", oddHeight},
        {"no entries", zeroCount},
        {"more entries than bytes", manyEntries},
        {"not an icon", cursor},
        {"directory only", Bytes(good.begin(), good.begin() + 6)},
        {"huge DIB", with(good, 22 + 4, 0x40000000)},
    };
    for (const auto& [what, bytes] : cases) {
        PixelBuffer out;
        EXPECT_FALSE(platform::DecodeIco(bytes.data(), bytes.size(), out)) << what;
    }
    // A broken entry next to a good one: the good one is used.
    Bytes two = MakeIco({{16, IconDib(16, 24, 0, Checker)}, {8, IconDib(8, 24, 0, Checker)}});
    Put32(two, 6 + 8, 0xFFFFu);  // first entry's length runs past the end
    PixelBuffer out;
    ASSERT_TRUE(platform::DecodeIco(two.data(), two.size(), out));
    EXPECT_EQ(out.Width(), 8);
}
