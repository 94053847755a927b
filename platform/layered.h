#pragma once
// Layered windows and the module lookup through which programs find the layered-window entry
// points at run time. A layered window either shows a picture with per-pixel alpha, or paints
// itself normally with one colour made see-through and a constant opacity for the rest.

#include "platform/gdi.h"
#include "platform/win_types.h"

constexpr BYTE AC_SRC_OVER = 0x00;
constexpr BYTE AC_SRC_ALPHA = 0x01;
constexpr DWORD ULW_COLORKEY = 0x00000001;
constexpr DWORD ULW_ALPHA = 0x00000002;
constexpr DWORD LWA_COLORKEY = 0x00000001;
constexpr DWORD LWA_ALPHA = 0x00000002;

struct BLENDFUNCTION {
    BYTE BlendOp;
    BYTE BlendFlags;
    BYTE SourceConstantAlpha;
    BYTE AlphaFormat;
};

BOOL UpdateLayeredWindow(HWND hwnd, HDC hdcDst, POINT* pptDst, SIZE* psize, HDC hdcSrc,
                         POINT* pptSrc, COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags);
BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags);

using FARPROC = void (*)();

// The system modules are built into the framework. "User32.DLL" offers the layered-window entry
// points only where the desktop can show such windows.
HMODULE LoadLibraryW(const char16_t* name);
FARPROC GetProcAddress(HMODULE module, const char* name);
BOOL FreeLibrary(HMODULE module);
