#pragma once
// Layered windows: a picture with per-pixel alpha as a window's whole look, or a colour key with
// a constant opacity. The two entry points are looked up once per process.

#include "platform/layered.h"
#include "ui/gdiplus_png.h"

class UpdateLayeredTool {
public:
    using PFN_UpdateLayeredWindow = BOOL (*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                             BLENDFUNCTION*, DWORD);
    using PFN_SetLayeredWindowAttributes = BOOL (*)(HWND, COLORREF, BYTE, DWORD);

    virtual ~UpdateLayeredTool();
    // The single instance, made on first use and kept for the life of the process.
    static UpdateLayeredTool* GetInstance();

    HMODULE m_hUser32 = nullptr;
    PFN_UpdateLayeredWindow m_pfnUpdateLayeredWindow = nullptr;
    PFN_SetLayeredWindowAttributes m_pfnSetLayeredWindowAttributes = nullptr;

private:
    UpdateLayeredTool() = default;
};

extern UpdateLayeredTool* g_pUpdateLayeredTool;

class CLayeredWindowHelper {
public:
    // Makes the window colour-keyed: crKey vanishes, everything else shows at bAlpha / 255.
    void ApplyColorKey(COLORREF crKey, BYTE bAlpha);
    // Makes the window show m_png with its alpha, unscaled, at the window's top-left corner.
    void UpdateFromPng();

    CGdiPlusPngResource m_png;
    HWND m_hTargetWnd = nullptr;

private:
    void EnsureLayeredStyle();
};
