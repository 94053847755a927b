#pragma once
// Child controls: buttons and statics.

#include "platform/wnd.h"

struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

constexpr UINT BN_DOUBLECLICKED = 5;

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    // Owner-drawn buttons draw themselves here; the parent's WM_DRAWITEM is reflected to it.
    virtual void DrawItem(LPDRAWITEMSTRUCT /*drawItem*/) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    UINT GetState() const;
};

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    HBITMAP SetBitmap(HBITMAP bitmap);
};
