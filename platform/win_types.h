#pragma once
// Basic types, constants and geometry of the window framework. The names follow the
// Windows API the program was first written against, so the program's own code reads
// the same on every backend.

#include <cstdint>
#include <string>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using ULONG_PTR = std::uintptr_t;
using UINT_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = DWORD;
using LPCTSTR = const char*;  // UTF-8 text throughout the framework
using CString = std::string;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

// Handles are opaque numbers; a stale handle is harmless (IsWindow says no).
struct HWND__;
using HWND = HWND__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
struct HICON__;
using HICON = HICON__*;
struct HCURSOR__;
using HCURSOR = HCURSOR__*;
struct HBRUSH__;
using HBRUSH = HBRUSH__*;
struct HBITMAP__;
using HBITMAP = HBITMAP__*;
struct HFONT__;
using HFONT = HFONT__*;
struct HMENU__;
using HMENU = HMENU__*;
using HGDIOBJ = void*;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c) {
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) {
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) {
    return static_cast<BYTE>((c >> 16) & 0xFF);
}

constexpr WORD LOWORD(std::uintptr_t v) {
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t v) {
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return static_cast<LPARAM>((static_cast<std::uint32_t>(lo) & 0xFFFF) |
                               ((static_cast<std::uint32_t>(hi) & 0xFFFF) << 16));
}
constexpr WPARAM MAKEWPARAM(int lo, int hi) {
    return static_cast<WPARAM>(MAKELPARAM(lo, hi));
}
// Signed coordinates packed in an LPARAM.
constexpr int GET_X_LPARAM(LPARAM lp) {
    return static_cast<std::int16_t>(lp & 0xFFFF);
}
constexpr int GET_Y_LPARAM(LPARAM lp) {
    return static_cast<std::int16_t>((lp >> 16) & 0xFFFF);
}

struct POINT {
    LONG x = 0;
    LONG y = 0;
};
struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
};
struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};

class CPoint : public POINT {
public:
    CPoint() = default;
    CPoint(int px, int py) : POINT{px, py} {}
    CPoint(POINT p) : POINT(p) {}  // NOLINT: implicit like the original
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
};

class CSize : public SIZE {
public:
    CSize() = default;
    CSize(int w, int h) : SIZE{w, h} {}
    bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
};

class CRect : public RECT {
public:
    CRect() = default;
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(RECT r) : RECT(r) {}  // NOLINT
    CRect(CPoint topLeft, CSize size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CPoint TopLeft() const { return {left, top}; }
    CSize Size() const { return {Width(), Height()}; }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool PtInRect(POINT p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    void OffsetRect(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    CRect Intersect(const CRect& o) const;
    bool operator==(const CRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

inline CRect CRect::Intersect(const CRect& o) const {
    CRect r(left > o.left ? left : o.left, top > o.top ? top : o.top,
            right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom);
    if (r.IsRectEmpty())
        return CRect();
    return r;
}

// The module whose resources the program reads. There is one: the executable.
HINSTANCE AfxGetResourceHandle();
HINSTANCE AfxGetInstanceHandle();
