#pragma once
// PNG resources as GDI+ images. The holder keeps the image together with its own copy of the
// resource's bytes; the free function hands the bytes to the image's stream.

#include "platform/gdiplus.h"
#include "platform/global_memory.h"
#include "platform/win_types.h"

class CGdiPlusPng {
public:
    CGdiPlusPng() = default;
    CGdiPlusPng(const CGdiPlusPng&) = delete;
    CGdiPlusPng& operator=(const CGdiPlusPng&) = delete;
    virtual ~CGdiPlusPng();

    Gdiplus::Image* m_pImage = nullptr;  // null while empty
};

class CGdiPlusPngResource : public CGdiPlusPng {
public:
    CGdiPlusPngResource() = default;
    ~CGdiPlusPngResource() override;

    // Loads "PNG" resource nID of hInst, releasing any previous picture first. True when loaded;
    // false leaves the holder empty.
    bool LoadFromResource(UINT nID, HINSTANCE hInst);
    // Releases the image, then the bytes it reads from.
    void Reset();

    HGLOBAL m_hPngData = nullptr;  // locked copy of the resource while loaded
};

// A new image of "PNG" resource nID, owned by the caller (delete frees its bytes too); null when
// the resource is missing or memory or the stream cannot be had. Bytes that do not decode give
// an image of 0 by 0.
Gdiplus::Image* LoadPngFromResource(HINSTANCE hInst, UINT nID);
