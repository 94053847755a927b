// Default processing of every window, and the built-in classes: dialogs, buttons, statics.

#include <algorithm>

#include "platform/backend.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/window_system.h"
#include "platform/wnd.h"

namespace platform {

const char* const kDialogClass = "#32770";
const char* const kButtonClass = "BUTTON";
const char* const kStaticClass = "STATIC";

namespace {

COLORREF kFaceColor = RGB(240, 240, 240);

HBRUSH FaceBrush() {
    static HBRUSH brush = ::CreateSolidBrush(kFaceColor);
    return brush;
}

WindowSystem& WS() {
    return WindowSystem::Get();
}

CRect ClientRectOf(const WindowRecord& w) {
    return CRect(0, 0, w.rect.Width(), w.rect.Height());
}

void FillWithBrush(HDC hdc, const CRect& r, HBRUSH brush) {
    COLORREF c;
    if (BrushColor(brush, c))
        CDC::FromHandle(hdc)->FillSolidRect(r, c);
}

FontSpec FontFor(HWND hwnd) {
    for (WindowRecord* w = WS().Find(hwnd); w != nullptr; w = WS().Find(w->parent))
        if (w->font)
            return FontOf(w->font);
    return FontSpec{};
}

// The control colour message a child sends its parent, answered with a brush.
HBRUSH CtlColorFromParent(HWND hwnd, HDC hdc, UINT message) {
    WindowRecord* w = WS().Find(hwnd);
    if (w == nullptr || w->parent == nullptr)
        return FaceBrush();
    return reinterpret_cast<HBRUSH>(WS().Send(w->parent, message, reinterpret_cast<WPARAM>(hdc),
                                              reinterpret_cast<LPARAM>(hwnd)));
}

LRESULT DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            // A dialog turns a close request into the cancel command.
            WS().Send(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return 0;
        case WM_ERASEBKGND: {
            WindowRecord* w = WS().Find(hwnd);
            if (w == nullptr)
                return 1;
            const HDC hdc = reinterpret_cast<HDC>(wParam);
            const HBRUSH brush = reinterpret_cast<HBRUSH>(
                WS().Send(hwnd, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hwnd)));
            FillWithBrush(hdc, ClientRectOf(*w), brush ? brush : FaceBrush());
            return 1;
        }
        default:
            return WS().DefaultProc(hwnd, message, wParam, lParam);
    }
}

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* w = WS().Find(hwnd);
    if (w == nullptr)
        return 0;
    const bool ownerDraw = (w->style & BS_TYPEMASK) == BS_OWNERDRAW;
    auto setPushed = [&](bool pushed) {
        if (w->buttonPushed != pushed) {
            w->buttonPushed = pushed;
            WS().Invalidate(hwnd);
        }
    };
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            w->buttonTracking = true;
            // An owner-drawn button reports a double click as such, not as a second click.
            w->buttonPushed = true;
            WS().SetFocusTo(hwnd);
            WS().SetCapture(hwnd);
            WS().Invalidate(hwnd);
            if (message == WM_LBUTTONDBLCLK && ownerDraw) {
                w->buttonTracking = false;
                WS().SetCapture(nullptr);
                setPushed(false);
                if (w->parent)
                    WS().Send(w->parent, WM_COMMAND, MAKEWPARAM(w->id, 5 /* BN_DOUBLECLICKED */),
                              reinterpret_cast<LPARAM>(hwnd));
            }
            return 0;
        case WM_MOUSEMOVE:
            if (w->buttonTracking) {
                const CPoint p(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
                setPushed(ClientRectOf(*w).PtInRect(p));
            }
            return 0;
        case WM_LBUTTONUP: {
            if (!w->buttonTracking)
                return 0;
            w->buttonTracking = false;
            const bool inside =
                ClientRectOf(*w).PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
            setPushed(false);
            WS().SetCapture(nullptr);
            if (inside && w->parent && WS().Find(hwnd))
                WS().Send(w->parent, WM_COMMAND, MAKEWPARAM(w->id, BN_CLICKED),
                          reinterpret_cast<LPARAM>(hwnd));
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (w->buttonTracking && reinterpret_cast<HWND>(lParam) != hwnd) {
                w->buttonTracking = false;
                setPushed(false);
            }
            return 0;
        case BM_GETSTATE:
            return w->buttonPushed ? BST_PUSHED : 0;
        case BM_SETSTATE:
            setPushed(wParam != 0);
            return 0;
        case WM_ERASEBKGND:
            if (!ownerDraw) {
                const HBRUSH brush =
                    CtlColorFromParent(hwnd, reinterpret_cast<HDC>(wParam), WM_CTLCOLORBTN);
                FillWithBrush(reinterpret_cast<HDC>(wParam), ClientRectOf(*w),
                              brush ? brush : FaceBrush());
            }
            return 1;
        case WM_PAINT: {
            const CRect rc = ClientRectOf(*w);
            HDC hdc = ::GetDC(hwnd);
            if (ownerDraw) {
                DRAWITEMSTRUCT dis{ODT_BUTTON,
                                   static_cast<UINT>(w->id),
                                   0,
                                   ODA_DRAWENTIRE,
                                   (w->buttonPushed ? ODS_SELECTED : 0u) |
                                       ((w->style & WS_DISABLED) ? ODS_DISABLED : 0u),
                                   hwnd,
                                   hdc,
                                   rc,
                                   0};
                if (w->parent)
                    WS().Send(w->parent, WM_DRAWITEM, static_cast<WPARAM>(w->id),
                              reinterpret_cast<LPARAM>(&dis));
            } else {
                CDC* dc = CDC::FromHandle(hdc);
                dc->FillSolidRect(rc, w->buttonPushed ? RGB(204, 228, 247) : RGB(225, 225, 225));
                dc->FillSolidRect(CRect(rc.left, rc.top, rc.right, rc.top + 1), RGB(173, 173, 173));
                dc->FillSolidRect(CRect(rc.left, rc.bottom - 1, rc.right, rc.bottom),
                                  RGB(173, 173, 173));
                dc->FillSolidRect(CRect(rc.left, rc.top, rc.left + 1, rc.bottom),
                                  RGB(173, 173, 173));
                dc->FillSolidRect(CRect(rc.right - 1, rc.top, rc.right, rc.bottom),
                                  RGB(173, 173, 173));
                if (HasBackend()) {
                    const DcTarget t = ResolveDc(hdc);
                    if (t.pixels) {
                        CRect layout = rc;
                        layout.OffsetRect(t.origin.x, t.origin.y);
                        CurrentBackend().DrawText(*t.pixels, t.clip, layout, w->text, FontFor(hwnd),
                                                  RGB(0, 0, 0),
                                                  kTextCenter | kTextVCenter | kTextSingleLine);
                    }
                }
            }
            ::ReleaseDC(hwnd, hdc);
            return 0;
        }
        default:
            return WS().DefaultProc(hwnd, message, wParam, lParam);
    }
}

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* w = WS().Find(hwnd);
    if (w == nullptr)
        return 0;
    const DWORD type = w->style & SS_TYPEMASK;
    switch (message) {
        case WM_NCHITTEST:
            // A static without SS_NOTIFY lets the mouse through to its parent.
            return (w->style & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
        case STM_SETIMAGE: {
            if (wParam != IMAGE_BITMAP)
                return 0;
            const HBITMAP previous = w->staticImage;
            w->staticImage = reinterpret_cast<HBITMAP>(lParam);
            WS().Invalidate(hwnd);
            return reinterpret_cast<LRESULT>(previous);
        }
        case WM_ERASEBKGND:
            return 1;  // painted in WM_PAINT with the parent's brush
        case WM_PAINT: {
            const CRect rc = ClientRectOf(*w);
            HDC hdc = ::GetDC(hwnd);
            CDC* dc = CDC::FromHandle(hdc);
            const HBRUSH brush = CtlColorFromParent(hwnd, hdc, WM_CTLCOLORSTATIC);
            if (type == SS_BLACKFRAME) {
                dc->FillSolidRect(CRect(rc.left, rc.top, rc.right, rc.top + 1), RGB(0, 0, 0));
                dc->FillSolidRect(CRect(rc.left, rc.bottom - 1, rc.right, rc.bottom), RGB(0, 0, 0));
                dc->FillSolidRect(CRect(rc.left, rc.top, rc.left + 1, rc.bottom), RGB(0, 0, 0));
                dc->FillSolidRect(CRect(rc.right - 1, rc.top, rc.right, rc.bottom), RGB(0, 0, 0));
            } else if (type == SS_BITMAP) {
                FillWithBrush(hdc, rc, brush);
                if (const PixelBuffer* bmp = BitmapPixels(w->staticImage)) {
                    int x = 0, y = 0;
                    if (w->style & SS_CENTERIMAGE) {
                        x = (rc.Width() - bmp->Width()) / 2;
                        y = (rc.Height() - bmp->Height()) / 2;
                    }
                    const DcTarget t = ResolveDc(hdc);
                    if (t.pixels)
                        t.pixels->Blend(*bmp, CRect(0, 0, bmp->Width(), bmp->Height()),
                                        t.origin.x + x, t.origin.y + y, t.clip);
                }
            } else {
                FillWithBrush(hdc, rc, brush);
                UINT format = kTextWordBreak;
                if (type == SS_CENTER)
                    format |= kTextCenter;
                if (w->style & SS_CENTERIMAGE)
                    format = (format & ~kTextWordBreak) | kTextVCenter | kTextSingleLine;
                dc->DrawText(w->text, rc, format);
            }
            ::ReleaseDC(hwnd, hdc);
            return 0;
        }
        default:
            return WS().DefaultProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace

LRESULT WindowSystem::DefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr)
        return 0;
    switch (message) {
        case WM_NCHITTEST:
            return ScreenRectOf(hwnd).PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
                       ? HTCLIENT
                       : HTNOWHERE;
        case WM_SETCURSOR:
            // The parent gets the first say, then the arrow.
            if (w->parent && Send(w->parent, WM_SETCURSOR, wParam, lParam))
                return TRUE;
            if (LOWORD(static_cast<std::uintptr_t>(lParam)) == HTCLIENT && HasBackend()) {
                CurrentBackend().SetCursor(TopLevelOf(hwnd), StandardCursor::Arrow);
                return TRUE;
            }
            return FALSE;
        case WM_NCLBUTTONDOWN:
            if (wParam == static_cast<WPARAM>(HTCAPTION) && w->parent == nullptr && HasBackend()) {
                CurrentBackend().BeginMoveDrag(hwnd, CurrentBackend().CursorPos());
            }
            return 0;
        case WM_SETTEXT:
            SetText(hwnd, lParam ? reinterpret_cast<const char*>(lParam) : "");
            return TRUE;
        case WM_SETFONT:
            w->font = reinterpret_cast<HFONT>(wParam);
            if (lParam)
                Invalidate(hwnd);
            return 0;
        case WM_SETICON: {
            const HICON icon = reinterpret_cast<HICON>(lParam);
            HICON& slot = wParam == ICON_BIG ? w->iconBig : w->iconSmall;
            const HICON previous = slot;
            slot = icon;
            if (w->parent == nullptr && w->nativeCreated && HasBackend()) {
                const HICON shown = w->iconBig ? w->iconBig : w->iconSmall;
                if (const PixelBuffer* pixels = IconPixels(shown))
                    CurrentBackend().SetIcon(hwnd, *pixels);
            }
            return reinterpret_cast<LRESULT>(previous);
        }
        case WM_CLOSE:
            Destroy(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 0;
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(FaceBrush());
        case WM_QUERYDRAGICON:
            return 0;
        case WM_PAINT:
            return 0;
        default:
            return 0;
    }
}

void RegisterBuiltInClasses() {
    RegisterWindowClass(WindowClass{kDialogClass, &DialogProc, true});
    RegisterWindowClass(WindowClass{kButtonClass, &ButtonProc, true});
    RegisterWindowClass(WindowClass{kStaticClass, &StaticProc, false});
}

}  // namespace platform
