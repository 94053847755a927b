#pragma once
// An image button: a push button that draws itself from a strip of four stacked frames (normal,
// pointer resting on it, pressed, and a fourth that is never shown).

#include "platform/controls.h"
#include "platform/gdiplus.h"

class CPngButton : public CButton {
    DECLARE_DYNAMIC(CPngButton)
public:
    CPngButton() = default;
    ~CPngButton() override;

    void InitGdiPlus();
    // Loads strip nID, sizes the button to one frame and raises it above its siblings.
    void LoadPngImage(UINT nID);
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    UINT m_nImageWidth = 0;

protected:
    void PreSubclassWindow() override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnMouseMove(UINT flags, CPoint point);
    void OnMouseHover(UINT flags, CPoint point);
    void OnMouseLeave();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    BOOL OnEraseBkgnd(CDC* dc);

    ULONG_PTR m_gdiplusToken = 0;
    Gdiplus::Image* m_pImage = nullptr;
    Gdiplus::Graphics* m_pGraphics = nullptr;
    BOOL m_bTracking = FALSE;
    BOOL m_bHover = FALSE;
    int m_nFrameHeight = 0;

    DECLARE_MESSAGE_MAP()
};
