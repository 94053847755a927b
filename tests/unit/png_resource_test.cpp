// PNG resources as GDI+ images: the resource lookup, the two loaders and their failure paths,
// global memory and its stream, drawing through a graphics surface, and the compiled-in catalogue.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/gdiplus.h"
#include "platform/global_memory.h"
#include "platform/image_codecs.h"
#include "test_fixtures.h"
#include "platform/resources.h"
#include "ui/gdiplus_png.h"

using platform::Argb;
using platform::MakeArgb;
using platform::PixelBuffer;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Identifiers no catalogue entry uses.
constexpr UINT kPicture = 60001;    // a 9 x 7 RGBA PNG
constexpr UINT kOther = 60002;      // the 9 x 7 grey PNG
constexpr UINT kStrangers = 60100;  // failure cases count up from here

HINSTANCE Module() {
    return AfxGetResourceHandle();
}

// A resource to load and what each loader makes of it.
struct FailureCase {
    const char* what;
    const char* registeredType;  // null: nothing registered
    UINT registeredId;
    Bytes bytes;
    UINT requestedId;
    bool freeFunctionGivesImage;  // true: a 0 x 0 image; false: null
};

std::vector<FailureCase> FailureCases() {
    const Bytes png = ReadFixture("rgba_adam7_iccp.png");
    Bytes truncated(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(png.size() / 2));
    Bytes garbage(300, 0xAB);
    return {
        {"no resource of that number", nullptr, 0, {}, kStrangers + 1, false},
        {"right number, other type", "GIF", kStrangers + 2, png, kStrangers + 2, false},
        {"type differing in case", "png", kStrangers + 3, png, kStrangers + 3, false},
        {"bitmap type with that number", nullptr, 0, {}, 136, false},
        {"empty resource", "PNG", kStrangers + 4, {}, kStrangers + 4, true},
        {"bytes that are no picture", "PNG", kStrangers + 5, garbage, kStrangers + 5, true},
        {"truncated PNG", "PNG", kStrangers + 6, truncated, kStrangers + 6, true},
    };
}

class PngResourceTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(ReadFixture("rgba_adam7_iccp.png").empty());
        picture_.emplace("PNG", kPicture, ReadFixture("rgba_adam7_iccp.png"));
        other_.emplace("PNG", kOther, ReadFixture("grey.png"));
    }
    std::optional<platform::ScopedTestResource> picture_;
    std::optional<platform::ScopedTestResource> other_;
};

}  // namespace

// ---- lookup ------------------------------------------------------------------------------------

TEST_F(PngResourceTest, IdentifiersCountOnlyTheirLow16Bits) {
    EXPECT_EQ(MAKEINTRESOURCE(kPicture + 0x10000), MAKEINTRESOURCE(kPicture));
    EXPECT_EQ(MAKEINTRESOURCE(0xFFFFFFFFu), MAKEINTRESOURCE(0xFFFF));
    EXPECT_TRUE(IS_INTRESOURCE(MAKEINTRESOURCE(0xFFFF)));
    EXPECT_TRUE(IS_INTRESOURCE(RT_BITMAP));
    EXPECT_FALSE(IS_INTRESOURCE("PNG"));
    EXPECT_EQ(FindResourceW(Module(), MAKEINTRESOURCE(kPicture + 0x30000), "PNG"),
              FindResourceW(Module(), MAKEINTRESOURCE(kPicture), "PNG"));

    CGdiPlusPngResource holder;
    ASSERT_TRUE(holder.LoadFromResource(kPicture + 0x10000, Module()));
    EXPECT_EQ(holder.m_pImage->GetWidth(), 9u);
    std::unique_ptr<Gdiplus::Image> image(LoadPngFromResource(Module(), kPicture + 0x20000));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), 9u);
}

TEST_F(PngResourceTest, OnlyTheProgramsOwnModuleHasResources) {
    ASSERT_NE(Module(), nullptr);
    EXPECT_EQ(AfxGetInstanceHandle(), Module());
    EXPECT_NE(FindResourceW(nullptr, MAKEINTRESOURCE(kPicture), "PNG"), nullptr);
    HINSTANCE stranger =
        reinterpret_cast<HINSTANCE>(reinterpret_cast<std::uintptr_t>(Module()) + 16);
    EXPECT_EQ(FindResourceW(stranger, MAKEINTRESOURCE(kPicture), "PNG"), nullptr);
    EXPECT_EQ(SizeofResource(stranger, FindResourceW(nullptr, MAKEINTRESOURCE(kPicture), "PNG")),
              0u);
    EXPECT_FALSE(CGdiPlusPngResource().LoadFromResource(kPicture, stranger));
    EXPECT_EQ(LoadPngFromResource(stranger, kPicture), nullptr);
}

TEST_F(PngResourceTest, ATestResourceHidesAnEarlierOneUntilItGoes) {
    const Bytes bytes = ReadFixture("grey.png");
    {
        platform::ScopedTestResource shadow("PNG", kPicture,
                                            Bytes(bytes.begin(), bytes.begin() + 20));
        HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCE(kPicture), "PNG");
        EXPECT_EQ(SizeofResource(nullptr, found), 20u);
        EXPECT_EQ(std::memcmp(LockResource(LoadResource(nullptr, found)), bytes.data(), 20), 0);
    }
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCE(kPicture), "PNG");
    EXPECT_EQ(SizeofResource(nullptr, found), ReadFixture("rgba_adam7_iccp.png").size());
}

// ---- the holder and the free function
// ------------------------------------------------------------

TEST_F(PngResourceTest, HolderLoadsAndKeepsItsLockedCopy) {
    CGdiPlusPngResource holder;
    EXPECT_EQ(holder.m_pImage, nullptr);
    EXPECT_EQ(holder.m_hPngData, nullptr);
    ASSERT_TRUE(holder.LoadFromResource(kPicture, Module()));
    ASSERT_NE(holder.m_pImage, nullptr);
    EXPECT_EQ(holder.m_pImage->GetWidth(), 9u);
    EXPECT_EQ(holder.m_pImage->GetHeight(), 7u);
    ASSERT_NE(holder.m_hPngData, nullptr);
    const Bytes expected = ReadFixture("rgba_adam7_iccp.png");
    EXPECT_EQ(GlobalSize(holder.m_hPngData), expected.size());
    // Still locked: a further lock nests and gives the same copy of the bytes.
    void* bytes = GlobalLock(holder.m_hPngData);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::memcmp(bytes, expected.data(), expected.size()), 0);
    EXPECT_TRUE(GlobalUnlock(holder.m_hPngData)) << "the holder's own lock was lost";

    holder.Reset();
    EXPECT_EQ(holder.m_pImage, nullptr);
    EXPECT_EQ(holder.m_hPngData, nullptr);
    holder.Reset();  // on an empty holder: nothing
}

TEST_F(PngResourceTest, ASecondLoadReplacesTheFirst) {
    CGdiPlusPngResource holder;
    ASSERT_TRUE(holder.LoadFromResource(kPicture, Module()));
    ASSERT_TRUE(holder.LoadFromResource(kOther, Module()));
    EXPECT_EQ(GlobalSize(holder.m_hPngData), ReadFixture("grey.png").size());
    PixelBuffer grey;
    const Bytes greyPng = ReadFixture("grey.png");
    ASSERT_TRUE(platform::DecodePng(greyPng.data(), greyPng.size(), grey));
    EXPECT_EQ(holder.m_pImage->Pixels().Pixels(), grey.Pixels());
}

TEST_F(PngResourceTest, EveryFailureLeavesTheHolderEmptyEvenAfterASuccess) {
    for (FailureCase& c : FailureCases()) {
        std::optional<platform::ScopedTestResource> registered;
        if (c.registeredType)
            registered.emplace(c.registeredType, c.registeredId, c.bytes);
        CGdiPlusPngResource holder;
        ASSERT_TRUE(holder.LoadFromResource(kPicture, Module())) << c.what;
        EXPECT_FALSE(holder.LoadFromResource(c.requestedId, Module())) << c.what;
        EXPECT_EQ(holder.m_pImage, nullptr) << c.what;
        EXPECT_EQ(holder.m_hPngData, nullptr) << c.what;
        CGdiPlusPngResource fresh;
        EXPECT_FALSE(fresh.LoadFromResource(c.requestedId, Module())) << c.what;
        EXPECT_EQ(fresh.m_pImage, nullptr) << c.what;
    }
}

TEST_F(PngResourceTest, FreeFunctionGivesNullOrAnEmptyImage) {
    for (FailureCase& c : FailureCases()) {
        std::optional<platform::ScopedTestResource> registered;
        if (c.registeredType)
            registered.emplace(c.registeredType, c.registeredId, c.bytes);
        std::unique_ptr<Gdiplus::Image> image(LoadPngFromResource(Module(), c.requestedId));
        if (!c.freeFunctionGivesImage) {
            EXPECT_EQ(image, nullptr) << c.what;
            continue;
        }
        ASSERT_NE(image, nullptr) << c.what;
        EXPECT_EQ(image->GetWidth(), 0u) << c.what;
        EXPECT_EQ(image->GetHeight(), 0u) << c.what;
    }
    std::unique_ptr<Gdiplus::Image> image(LoadPngFromResource(Module(), kPicture));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetLastStatus(), Gdiplus::Ok);
    EXPECT_EQ(image->GetHeight(), 7u);
}

// ---- global memory and its stream
// ----------------------------------------------------------------

TEST(GlobalMemory, MovableBlocksLockNestAndStaleHandlesAreRefused) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 16);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 16u);
    auto* first = static_cast<std::uint8_t*>(GlobalLock(block));
    ASSERT_NE(first, nullptr);
    EXPECT_NE(static_cast<void*>(first), block) << "a movable block's handle is not its address";
    EXPECT_EQ(first[15], 0);
    EXPECT_EQ(GlobalLock(block), first);
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block));  // not locked any more
    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalSize(block), 0u);
    EXPECT_EQ(GlobalLock(block), nullptr);
    EXPECT_EQ(GlobalFree(block), block) << "a freed handle names nothing";

    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GlobalLock(empty), nullptr);
    EXPECT_EQ(GlobalFree(empty), nullptr);
}

TEST(GlobalMemory, StreamReadsSeeksAndReportsItsSize) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 10);
    std::memcpy(GlobalLock(block), "0123456789", 10);
    GlobalUnlock(block);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(block, FALSE, &stream), S_OK);
    char buffer[8] = {};
    ULONG got = 0;
    EXPECT_EQ(stream->Read(buffer, 4, &got), S_OK);
    EXPECT_EQ(std::string(buffer, got), "0123");
    ULARGE_INTEGER pos;
    EXPECT_EQ(stream->Seek(LARGE_INTEGER{-2}, STREAM_SEEK_END, &pos), S_OK);
    EXPECT_EQ(pos.QuadPart, 8u);
    EXPECT_EQ(stream->Read(buffer, 8, &got), S_FALSE);
    EXPECT_EQ(std::string(buffer, got), "89");
    EXPECT_NE(stream->Seek(LARGE_INTEGER{-11}, STREAM_SEEK_END, &pos), S_OK);
    STATSTG stat;
    EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, 10u);
    EXPECT_EQ(stream->Release(), 0u);
    EXPECT_EQ(GlobalSize(block), 10u) << "a stream without deleteOnRelease must not free";
    GlobalFree(block);
}

// The image holds its stream; with deleteOnRelease the memory goes with the image, not before.
TEST(GlobalMemory, ImageKeepsItsStreamAndItsMemoryAlive) {
    const Bytes png = ReadFixture("grey.png");
    ASSERT_FALSE(png.empty());
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, png.size());
    std::memcpy(GlobalLock(block), png.data(), png.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
    Gdiplus::Image* image = Gdiplus::Image::FromStream(stream);
    EXPECT_EQ(stream->Release(), 1u);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(GlobalSize(block), png.size());
    delete image;
    EXPECT_EQ(GlobalSize(block), 0u) << "the memory outlived its image";
}

// ---- start-up and drawing ----------------------------------------------------------------------

TEST(Gdiplus, StartupChecksItsInputAndGivesDistinctTokens) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR first = 0, second = 0;
    EXPECT_EQ(Gdiplus::GdiplusStartup(&first, &input, nullptr), Gdiplus::Ok);
    EXPECT_EQ(Gdiplus::GdiplusStartup(&second, &input, nullptr), Gdiplus::Ok);
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    EXPECT_EQ(Gdiplus::GdiplusStartup(nullptr, &input, nullptr), Gdiplus::InvalidParameter);
    EXPECT_EQ(Gdiplus::GdiplusStartup(&first, nullptr, nullptr), Gdiplus::InvalidParameter);
    input.GdiplusVersion = 2;
    EXPECT_EQ(Gdiplus::GdiplusStartup(&first, &input, nullptr), Gdiplus::InvalidParameter);
    Gdiplus::GdiplusShutdown(second);
}

namespace {

// A memory device context showing a bitmap filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, Argb fill) {
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = platform::CreateBitmapFromPixels(PixelBuffer(width, height, fill));
        old_ = SelectObject(dc_, bitmap_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    const PixelBuffer& pixels() const { return *platform::BitmapPixels(bitmap_); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

std::unique_ptr<Gdiplus::Image> ImageOf(const Bytes& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(block, TRUE, &stream) != S_OK)
        return nullptr;
    std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromStream(stream));
    stream->Release();
    return image;
}

constexpr Argb kBackground = MakeArgb(255, 10, 200, 30);

}  // namespace

TEST(Gdiplus, ThreePointDrawComposesTheImageOverTheTarget) {
    const Bytes png = ReadFixture("rgba_adam7_iccp.png");
    auto image = ImageOf(png);
    ASSERT_TRUE(image);
    PixelBuffer decoded;
    ASSERT_TRUE(platform::DecodePng(png.data(), png.size(), decoded));
    Canvas canvas(12, 10, kBackground);
    Gdiplus::Graphics graphics(canvas.dc());
    const Gdiplus::Point points[3] = {{0, 0}, {9, 0}, {0, 7}};
    ASSERT_EQ(graphics.DrawImage(image.get(), points, 3), Gdiplus::Ok);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            const Argb want =
                x < 9 && y < 7 ? platform::BlendOver(kBackground, decoded.At(x, y)) : kBackground;
            ASSERT_EQ(canvas.pixels().At(x, y), want) << x << "," << y;
        }
    EXPECT_EQ(canvas.pixels().At(0, 0), kBackground) << "alpha 0 leaves the target";
}

TEST(Gdiplus, ThreePointDrawScalesAndRefusesRotation) {
    auto image = ImageOf(ReadFixture("grey.png"));
    ASSERT_TRUE(image);
    const PixelBuffer& src = image->Pixels();
    Canvas canvas(18, 14, 0);
    Gdiplus::Graphics graphics(canvas.dc());
    const Gdiplus::Point rotated[3] = {{0, 0}, {0, 9}, {-7, 0}};
    EXPECT_EQ(graphics.DrawImage(image.get(), rotated, 3), Gdiplus::NotImplemented);
    EXPECT_EQ(canvas.pixels().At(0, 0), 0u);
    EXPECT_EQ(graphics.DrawImage(image.get(), rotated, 4), Gdiplus::InvalidParameter);
    const Gdiplus::Point doubled[3] = {{0, 0}, {18, 0}, {0, 14}};
    ASSERT_EQ(graphics.DrawImage(image.get(), doubled, 3), Gdiplus::Ok);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 18; ++x)
            ASSERT_EQ(canvas.pixels().At(x, y), src.At(x / 2, y / 2)) << x << "," << y;
}

// An image button draws one frame of a strip: a source rectangle in pixels, clipped to the target.
TEST(Gdiplus, SourceRectangleDrawsOneFrameClippedToTheTarget) {
    auto image = ImageOf(ReadFixture("grey.png"));  // 9 x 7: frames of 9 x 2 here
    ASSERT_TRUE(image);
    const PixelBuffer& src = image->Pixels();
    Canvas canvas(6, 3, kBackground);
    Gdiplus::Graphics* graphics = Gdiplus::Graphics::FromHDC(canvas.dc());
    ASSERT_NE(graphics, nullptr);
    EXPECT_EQ(graphics->DrawImage(image.get(), Gdiplus::Rect(-1, 0, 9, 2), 0, 4, 9, 2,
                                  Gdiplus::UnitPixel),
              Gdiplus::Ok);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(canvas.pixels().At(x, y), y < 2 ? src.At(x + 1, 4 + y) : kBackground)
                << x << "," << y;
    EXPECT_EQ(
        graphics->DrawImage(image.get(), Gdiplus::Rect(0, 0, 9, 2), 0, 0, 9, 2, Gdiplus::UnitInch),
        Gdiplus::NotImplemented);
    EXPECT_EQ(
        graphics->DrawImage(nullptr, Gdiplus::Rect(0, 0, 9, 2), 0, 0, 9, 2, Gdiplus::UnitPixel),
        Gdiplus::InvalidParameter);
    EXPECT_EQ(graphics->GetLastStatus(), Gdiplus::InvalidParameter);
    EXPECT_EQ(graphics->GetLastStatus(), Gdiplus::Ok);
    delete graphics;

    auto empty = ImageOf(Bytes(50, 1));
    ASSERT_TRUE(empty);
    Gdiplus::Graphics again(canvas.dc());
    EXPECT_NE(
        again.DrawImage(empty.get(), Gdiplus::Rect(0, 0, 9, 2), 0, 0, 9, 2, Gdiplus::UnitPixel),
        Gdiplus::Ok);
}

// ---- the compiled-in catalogue -----------------------------------------------------------------

namespace {

struct StripCase {
    UINT id;
    UINT width;
    UINT height;
    bool alpha;  // colour type 6; otherwise type 2 and every pixel opaque
};

int PngColorType(HRSRC resource) {
    const auto* bytes =
        static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, resource)));
    return SizeofResource(nullptr, resource) > 25 ? bytes[25] : -1;
}

}  // namespace

class CatalogueStripTest : public testing::TestWithParam<StripCase> {};

TEST_P(CatalogueStripTest, StripHasItsSizeFramesAndTransparency) {
    const StripCase c = GetParam();
    HRSRC resource = FindResourceW(AfxGetResourceHandle(), MAKEINTRESOURCE(c.id), "PNG");
    ASSERT_NE(resource, nullptr) << "PNG " << c.id;
    EXPECT_EQ(PngColorType(resource), c.alpha ? 6 : 2) << "PNG " << c.id;
    std::unique_ptr<Gdiplus::Image> image(LoadPngFromResource(AfxGetResourceHandle(), c.id));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), c.width) << "PNG " << c.id;
    EXPECT_EQ(image->GetHeight(), c.height) << "PNG " << c.id;
    EXPECT_EQ(c.height % 4, 0u) << "four frames tile the strip";
    if (!c.alpha) {
        for (Argb p : image->Pixels().Pixels())
            ASSERT_EQ(platform::AlphaOf(p), 255) << "PNG " << c.id;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Strips, CatalogueStripTest,
    testing::Values(StripCase{160, 54, 216, true}, StripCase{162, 39, 156, true},
                    StripCase{164, 106, 120, false}, StripCase{166, 30, 120, false},
                    StripCase{167, 64, 120, false}, StripCase{168, 29, 120, false},
                    StripCase{169, 29, 120, false}, StripCase{170, 82, 120, false},
                    StripCase{171, 61, 120, false}, StripCase{175, 74, 104, false},
                    StripCase{176, 74, 104, false}, StripCase{189, 29, 120, false},
                    StripCase{1000, 87, 120, false}));

TEST(Catalogue, LoginArtworkLoadsIntoTheHolderAtItsNaturalSize) {
    CGdiPlusPngResource holder;
    ASSERT_TRUE(holder.LoadFromResource(155, AfxGetResourceHandle()));
    EXPECT_EQ(holder.m_pImage->GetWidth(), 1334u);
    EXPECT_EQ(holder.m_pImage->GetHeight(), 725u);
    EXPECT_EQ(PngColorType(FindResourceW(nullptr, MAKEINTRESOURCE(155), "PNG")), 6);
}

TEST(Catalogue, BitmapsIconGifAndVersion) {
    struct BitmapCase {
        UINT id;
        int width;
        int height;
    };
    for (const BitmapCase& b : {BitmapCase{136, 66, 30}, BitmapCase{141, 83, 30},
                                BitmapCase{177, 256, 110}, BitmapCase{187, 57, 40}}) {
        HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCE(b.id), RT_BITMAP);
        ASSERT_NE(resource, nullptr) << "bitmap " << b.id;
        PixelBuffer pixels;
        ASSERT_TRUE(platform::DecodeBmp(LockResource(LoadResource(nullptr, resource)),
                                        SizeofResource(nullptr, resource), pixels))
            << "bitmap " << b.id;
        EXPECT_EQ(pixels.Width(), b.width) << "bitmap " << b.id;
        EXPECT_EQ(pixels.Height(), b.height) << "bitmap " << b.id;
    }
    HRSRC icon = FindResourceW(nullptr, MAKEINTRESOURCE(128), RT_GROUP_ICON);
    ASSERT_NE(icon, nullptr);
    PixelBuffer pixels;
    ASSERT_TRUE(platform::DecodeIco(LockResource(LoadResource(nullptr, icon)),
                                    SizeofResource(nullptr, icon), pixels));
    EXPECT_EQ(pixels.Width(), 64);
    EXPECT_EQ(pixels.Height(), 64);

    HRSRC gif = FindResourceW(nullptr, MAKEINTRESOURCE(185), "GIF");
    ASSERT_NE(gif, nullptr);
    ASSERT_GT(SizeofResource(nullptr, gif), 6u);
    EXPECT_EQ(std::memcmp(LockResource(LoadResource(nullptr, gif)), "GIF89a", 6), 0);
    EXPECT_EQ(platform::GetFileVersion(), "1.0.0.1");
}
