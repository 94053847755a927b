#pragma once
// Device contexts, brushes, bitmaps and fonts. A device context draws into a pixel buffer: a
// window's content (painted by the framework's paint cycle), or a bitmap selected into a memory
// context.

#include <memory>
#include <string>

#include "platform/backend.h"
#include "platform/pixel_buffer.h"
#include "platform/win_types.h"

struct HDC__;
using HDC = HDC__*;

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;

namespace platform {

// What a device context draws into, resolved at the moment of drawing.
struct DcTarget {
    PixelBuffer* pixels = nullptr;  // null: nothing to draw into
    CPoint origin;                  // where the context's (0,0) lies in pixels
    CRect clip;                     // in pixels' coordinates
};

// Resolves a device context; an unknown handle gives an empty target.
DcTarget ResolveDc(HDC hdc);
// Tells the framework that pixels behind a device context changed outside a paint cycle.
void DcContentChanged(HDC hdc);

// Decoded pixels of a bitmap handle (null for an unknown handle).
PixelBuffer* BitmapPixels(HBITMAP bitmap);
HBITMAP CreateBitmapFromPixels(PixelBuffer pixels);
// Solid colour of a brush handle; false for the hollow brush or an unknown handle.
bool BrushColor(HBRUSH brush, COLORREF& color);
FontSpec FontOf(HFONT font);

}  // namespace platform

// Windows-style free functions.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
HGDIOBJ GetStockObject(int which);
HBRUSH CreateSolidBrush(COLORREF color);
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
HBITMAP LoadBitmapW(HINSTANCE instance, LPCTSTR name);
HICON LoadIconW(HINSTANCE instance, LPCTSTR name);
HCURSOR LoadCursorW(HINSTANCE instance, LPCTSTR name);
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);
int GetSystemMetrics(int index);
BOOL DrawIcon(HDC hdc, int x, int y, HICON icon);
const platform::PixelBuffer* IconPixels(HICON icon);

class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject();
    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    BOOL DeleteObject();
};

class CBrush : public CGdiObject {
public:
    BOOL CreateSolidBrush(COLORREF color);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CBitmap : public CGdiObject {
public:
    BOOL LoadBitmap(UINT id);
    BOOL CreateCompatibleBitmap(class CDC* dc, int width, int height);
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    CSize GetSize() const;  // 0x0 when empty
};

class CFont : public CGdiObject {
public:
    BOOL CreatePointFont(int pointSizeTenths, LPCTSTR faceName, class CDC* dc = nullptr);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CWnd;

class CDC {
public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    static CDC* FromHandle(HDC hdc);  // a temporary wrapper owned by the framework

    BOOL CreateCompatibleDC(CDC* dc);
    BOOL Attach(HDC hdc);
    HDC Detach();
    BOOL DeleteDC();

    CBitmap* SelectObject(CBitmap* bitmap);
    CFont* SelectObject(CFont* font);
    HGDIOBJ SelectObject(HGDIOBJ object);

    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int mode);

    void FillSolidRect(const CRect& rect, COLORREF color);
    BOOL FillRect(const CRect& rect, HBRUSH brush);
    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, DWORD rop);
    int DrawText(const CString& text, CRect rect, UINT format);
    BOOL TextOut(int x, int y, const CString& text);
    BOOL DrawIcon(int x, int y, HICON icon);

private:
    CBitmap* selectedBitmap_ = nullptr;
    CFont* selectedFont_ = nullptr;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

private:
    HWND hwnd_;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    HWND hwnd_;
};
