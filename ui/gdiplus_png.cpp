#include "ui/gdiplus_png.h"

#include <cstring>

#include "platform/resources.h"

CGdiPlusPng::~CGdiPlusPng() {
    delete m_pImage;
    m_pImage = nullptr;
}

CGdiPlusPngResource::~CGdiPlusPngResource() {
    Reset();
}

void CGdiPlusPngResource::Reset() {
    // The image may still read from the memory: it goes first.
    if (m_pImage) {
        delete m_pImage;
        m_pImage = nullptr;
    }
    if (m_hPngData) {
        GlobalUnlock(m_hPngData);
        GlobalFree(m_hPngData);
        m_hPngData = nullptr;
    }
}

bool CGdiPlusPngResource::LoadFromResource(UINT nID, HINSTANCE hInst) {
    Reset();
    HRSRC resource = FindResourceW(hInst, MAKEINTRESOURCE(nID), "PNG");
    if (!resource)
        return false;
    const DWORD size = SizeofResource(hInst, resource);
    if (size == 0)
        return false;
    const void* bytes = LockResource(LoadResource(hInst, resource));
    if (!bytes)
        return false;

    m_hPngData = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!m_hPngData)
        return false;
    void* copy = GlobalLock(m_hPngData);
    if (!copy) {
        GlobalFree(m_hPngData);
        m_hPngData = nullptr;
        return false;
    }
    std::memcpy(copy, bytes, size);

    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(m_hPngData, FALSE, &stream) != S_OK) {
        Reset();
        return false;
    }
    m_pImage = Gdiplus::Image::FromStream(stream);
    stream->Release();  // the image keeps its own reference
    if (!m_pImage) {
        Reset();
        return false;
    }
    if (m_pImage->GetLastStatus() == Gdiplus::Ok)
        return true;
    Reset();
    return false;
}

Gdiplus::Image* LoadPngFromResource(HINSTANCE hInst, UINT nID) {
    HRSRC resource = FindResourceW(hInst, MAKEINTRESOURCE(nID), "PNG");
    if (!resource)
        return nullptr;
    const DWORD size = SizeofResource(hInst, resource);
    HGLOBAL data = LoadResource(hInst, resource);
    if (!data)
        return nullptr;
    const void* bytes = LockResource(data);
    if (!bytes)
        return nullptr;

    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory)
        return nullptr;
    if (size > 0) {
        // A block that cannot be locked cannot be filled: the picture would be garbage.
        void* copy = GlobalLock(memory);
        if (!copy) {
            GlobalFree(memory);
            return nullptr;
        }
        std::memcpy(copy, bytes, size);
        GlobalUnlock(memory);
    }

    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    Gdiplus::Image* image = Gdiplus::Image::FromStream(stream);
    stream->Release();  // the image holds the last reference, and with it the memory
    return image;
}
