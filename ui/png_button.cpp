#include "ui/png_button.h"

#include "ui/gdiplus_png.h"

IMPLEMENT_DYNAMIC(CPngButton, CButton)

BEGIN_MESSAGE_MAP(CPngButton, CButton)
ON_WM_MOUSEMOVE()
ON_WM_MOUSEHOVER()
ON_WM_MOUSELEAVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_SETCURSOR()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CPngButton::~CPngButton() {
    delete m_pImage;
    m_pImage = nullptr;
    delete m_pGraphics;
    m_pGraphics = nullptr;
}

void CPngButton::InitGdiPlus() {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr) != Gdiplus::Ok)
        MessageBoxW(nullptr, "Initialize GDI+ library failed", "Error", MB_ICONERROR);
}

void CPngButton::LoadPngImage(UINT nID) {
    delete m_pImage;  // a second load replaces the first strip
    m_pImage = LoadPngFromResource(AfxGetResourceHandle(), nID);
    m_nImageWidth = m_pImage ? m_pImage->GetWidth() : 0;
    m_nFrameHeight = m_pImage ? static_cast<int>(m_pImage->GetHeight() / 4) : 0;
    CRect rect;
    GetWindowRect(&rect);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&rect);
    // No SWP_NOZORDER: the button also goes above its siblings.
    SetWindowPos(nullptr, 0, 0, static_cast<int>(m_nImageWidth), m_nFrameHeight, SWP_NOMOVE);
    if (m_pGraphics == nullptr)
        m_pGraphics = Gdiplus::Graphics::FromHDC(GetWindowDC()->GetSafeHdc());
}

void CPngButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (m_pGraphics == nullptr || m_pImage == nullptr || lpDrawItemStruct == nullptr)
        return;
    int frame = 0;
    if (lpDrawItemStruct->itemState & ODS_SELECTED)
        frame = 2;
    else if (m_bHover)
        frame = 1;
    const INT width = static_cast<INT>(m_nImageWidth);
    m_pGraphics->DrawImage(m_pImage, Gdiplus::Rect(0, 0, width, m_nFrameHeight), 0,
                           frame * m_nFrameHeight, width, m_nFrameHeight, Gdiplus::UnitPixel);
}

void CPngButton::PreSubclassWindow() {
    ModifyStyle(0, BS_OWNERDRAW, 0);
    CButton::PreSubclassWindow();
}

LRESULT CPngButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A quick second click is an ordinary press, with a click of its own.
    if (message == WM_LBUTTONDBLCLK)
        message = WM_LBUTTONDOWN;
    return CButton::DefWindowProc(message, wParam, lParam);
}

void CPngButton::OnMouseMove(UINT, CPoint) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, m_hWnd, 1};
        m_bTracking = _TrackMouseEvent(&track);
    }
    Default();
}

void CPngButton::OnMouseHover(UINT, CPoint) {
    m_bHover = TRUE;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CPngButton::OnMouseLeave() {
    m_bTracking = FALSE;
    m_bHover = FALSE;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CPngButton::OnLButtonDown(UINT, CPoint) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    Default();
}

void CPngButton::OnLButtonUp(UINT, CPoint) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    Default();
}

BOOL CPngButton::OnSetCursor(CWnd*, UINT, UINT) {
    ::SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
}

BOOL CPngButton::OnEraseBkgnd(CDC*) {
    return TRUE;
}
