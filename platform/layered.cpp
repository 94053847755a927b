#include "platform/layered.h"

#include <cstring>
#include <string>

#include "platform/trace.h"
#include "platform/window_system.h"

BOOL UpdateLayeredWindow(HWND hwnd, HDC, POINT* pptDst, SIZE* psize, HDC hdcSrc, POINT* pptSrc,
                         COLORREF, BLENDFUNCTION* pblend, DWORD dwFlags) {
    auto& ws = platform::WindowSystem::Get();
    platform::WindowRecord* w = ws.Find(hwnd);
    if (w == nullptr || w->parent != nullptr || !(w->exStyle & WS_EX_LAYERED))
        return FALSE;
    if (!(dwFlags & ULW_ALPHA) || psize == nullptr || hdcSrc == nullptr)
        return FALSE;
    const platform::DcTarget src = platform::ResolveDc(hdcSrc);
    if (src.pixels == nullptr)
        return FALSE;
    const POINT srcOrigin = pptSrc ? *pptSrc : POINT{};
    platform::PixelBuffer image(psize->cx, psize->cy, 0);
    image.Copy(*src.pixels, CRect(CPoint(srcOrigin.x, srcOrigin.y), CSize(psize->cx, psize->cy)), 0,
               0, CRect(0, 0, psize->cx, psize->cy));
    // A constant alpha below full scales every pixel on top of its own alpha.
    const unsigned constant = pblend ? pblend->SourceConstantAlpha : 255;
    if (constant != 255) {
        for (platform::Argb& p : image.Pixels()) {
            auto ch = [&](int shift) {
                return ((((p >> shift) & 0xFF) * constant + 127) / 255) << shift;
            };
            p = ch(24) | ch(16) | ch(8) | ch(0);
        }
    }
    const CPoint topLeft = pptDst ? CPoint(*pptDst) : w->rect.TopLeft();
    ws.SetLayeredImage(hwnd, image, topLeft);
    return TRUE;
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags) {
    auto& ws = platform::WindowSystem::Get();
    platform::WindowRecord* w = ws.Find(hwnd);
    if (w == nullptr || w->parent != nullptr || !(w->exStyle & WS_EX_LAYERED))
        return FALSE;
    ws.SetColorKey(hwnd, crKey, bAlpha, dwFlags);
    return TRUE;
}

namespace {

struct BuiltInModule {
    int references = 0;
};
BuiltInModule g_user32;

bool SameNameIgnoringCase(const char16_t* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        const char16_t ca = (*a >= u'A' && *a <= u'Z') ? static_cast<char16_t>(*a + 32) : *a;
        const char cb = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b + 32) : *b;
        if (ca != static_cast<char16_t>(cb))
            return false;
    }
    return *a == 0 && *b == 0;
}

}  // namespace

HMODULE LoadLibraryW(const char16_t* name) {
    if (name == nullptr || !SameNameIgnoringCase(name, "user32.dll"))
        return nullptr;
    ++g_user32.references;
    platform::Trace::Record("LoadLibraryW User32.DLL");
    return reinterpret_cast<HMODULE>(&g_user32);
}

FARPROC GetProcAddress(HMODULE module, const char* name) {
    if (module != reinterpret_cast<HMODULE>(&g_user32) || name == nullptr ||
        !platform::HasBackend())
        return nullptr;
    // The entry points exist where the desktop can show what they promise.
    const platform::BackendCapabilities caps = platform::CurrentBackend().Capabilities();
    const bool layeredPossible = caps.perPixelAlpha || caps.windowShapes;
    if (std::strcmp(name, "UpdateLayeredWindow") == 0 && layeredPossible)
        return reinterpret_cast<FARPROC>(&UpdateLayeredWindow);
    if (std::strcmp(name, "SetLayeredWindowAttributes") == 0 && layeredPossible)
        return reinterpret_cast<FARPROC>(&SetLayeredWindowAttributes);
    return nullptr;
}

BOOL FreeLibrary(HMODULE module) {
    if (module != reinterpret_cast<HMODULE>(&g_user32) || g_user32.references == 0)
        return FALSE;
    --g_user32.references;
    return TRUE;
}
