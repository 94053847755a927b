#pragma once
// The part of GDI+ the program uses: start-up, images decoded from a stream, and a graphics
// surface on a device context that composes images with their alpha. There is no separate
// library to start on this framework; start-up only checks its input.

#include <cstdint>

#include "platform/gdi.h"
#include "platform/global_memory.h"
#include "platform/pixel_buffer.h"
#include "platform/win_types.h"

namespace Gdiplus {

using REAL = float;
using UINT32 = std::uint32_t;

enum Status {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    ObjectBusy = 4,
    InsufficientBuffer = 5,
    NotImplemented = 6,
    Win32Error = 7,
    WrongState = 8,
    Aborted = 9,
    FileNotFound = 10,
    ValueOverflow = 11,
    AccessDenied = 12,
    UnknownImageFormat = 13,
    FontFamilyNotFound = 14,
    FontStyleNotFound = 15,
    NotTrueTypeFont = 16,
    UnsupportedGdiplusVersion = 17,
    GdiplusNotInitialized = 18,
    PropertyNotFound = 19,
    PropertyNotSupported = 20,
    ProfileNotFound = 21,
};

enum Unit {
    UnitWorld = 0,
    UnitDisplay = 1,
    UnitPixel = 2,
    UnitPoint = 3,
    UnitInch = 4,
    UnitDocument = 5,
    UnitMillimeter = 6,
};

using DebugEventProc = void (*)(int level, char* message);

struct GdiplusStartupInput {
    UINT32 GdiplusVersion = 1;
    DebugEventProc DebugEventCallback = nullptr;
    BOOL SuppressBackgroundThread = FALSE;
    BOOL SuppressExternalCodecs = FALSE;
};

// Ok with a new token, or InvalidParameter for a null token or input, or a version other than 1.
Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, void* output);
void GdiplusShutdown(ULONG_PTR token);

struct Point {
    INT X = 0;
    INT Y = 0;
    Point() = default;
    Point(INT x, INT y) : X(x), Y(y) {}
};

struct Rect {
    INT X = 0;
    INT Y = 0;
    INT Width = 0;
    INT Height = 0;
    Rect() = default;
    Rect(INT x, INT y, INT width, INT height) : X(x), Y(y), Width(width), Height(height) {}
};

// A decoded picture (PNG, BMP or ICO). It holds a reference to the stream it came from for its
// whole life, as GDI+ does, so the stream's memory lives exactly as long as the image.
class Image {
public:
    // Never null unless memory runs out; bytes that do not decode give an image of 0 by 0
    // whose GetLastStatus is not Ok.
    static Image* FromStream(IStream* stream, BOOL useEmbeddedColorManagement = FALSE);

    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    virtual ~Image();

    UINT GetWidth();
    UINT GetHeight();
    // The status of the last operation, reset to Ok by reading it.
    Status GetLastStatus();
    // The decoded pixels; empty when nothing decoded.
    const platform::PixelBuffer& Pixels() const { return pixels_; }

private:
    Image(IStream* stream, Status status, platform::PixelBuffer pixels);

    IStream* stream_;
    Status lastStatus_;
    platform::PixelBuffer pixels_;
};

// A drawing surface on a device context. The context is resolved at each draw, so a surface
// made once keeps drawing into whatever the context shows.
class Graphics {
public:
    explicit Graphics(HDC hdc);
    static Graphics* FromHDC(HDC hdc);
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;
    virtual ~Graphics() = default;

    // Three points: the destination of the image's top-left, top-right and bottom-left corners.
    // Axis-aligned destinations (scaled or mirrored) are drawn; rotation and shear are not.
    Status DrawImage(Image* image, const Point* destPoints, INT count);
    // The source rectangle in pixels, scaled to the destination rectangle.
    Status DrawImage(Image* image, const Rect& destRect, INT srcx, INT srcy, INT srcwidth,
                     INT srcheight, Unit srcUnit);
    Status DrawImage(Image* image, INT x, INT y);
    Status GetLastStatus();

private:
    Status Draw(Image* image, const Rect& dest, const Rect& src);
    Status SetStatus(Status status);

    HDC hdc_;
    Status lastStatus_;
};

}  // namespace Gdiplus
