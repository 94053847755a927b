#include "ui/layered_window_helper.h"

#include "platform/wnd.h"

UpdateLayeredTool* g_pUpdateLayeredTool = nullptr;

UpdateLayeredTool::~UpdateLayeredTool() {
    if (m_hUser32 != nullptr)
        FreeLibrary(m_hUser32);
}

UpdateLayeredTool* UpdateLayeredTool::GetInstance() {
    if (g_pUpdateLayeredTool != nullptr)
        return g_pUpdateLayeredTool;
    auto* tool = new UpdateLayeredTool();
    tool->m_hUser32 = LoadLibraryW(u"User32.DLL");
    if (tool->m_hUser32 != nullptr) {
        tool->m_pfnUpdateLayeredWindow = reinterpret_cast<PFN_UpdateLayeredWindow>(
            GetProcAddress(tool->m_hUser32, "UpdateLayeredWindow"));
        tool->m_pfnSetLayeredWindowAttributes = reinterpret_cast<PFN_SetLayeredWindowAttributes>(
            GetProcAddress(tool->m_hUser32, "SetLayeredWindowAttributes"));
    }
    g_pUpdateLayeredTool = tool;
    return tool;
}

void CLayeredWindowHelper::EnsureLayeredStyle() {
    const LONG exStyle = GetWindowLongW(m_hTargetWnd, GWL_EXSTYLE);
    if ((static_cast<DWORD>(exStyle) & WS_EX_LAYERED) == 0)
        SetWindowLongW(m_hTargetWnd, GWL_EXSTYLE,
                       static_cast<LONG>(static_cast<DWORD>(exStyle) | WS_EX_LAYERED));
}

void CLayeredWindowHelper::ApplyColorKey(COLORREF crKey, BYTE bAlpha) {
    EnsureLayeredStyle();
    UpdateLayeredTool* tool = UpdateLayeredTool::GetInstance();
    if (tool->m_pfnSetLayeredWindowAttributes != nullptr)
        tool->m_pfnSetLayeredWindowAttributes(m_hTargetWnd, crKey, bAlpha,
                                              LWA_COLORKEY | LWA_ALPHA);
}

void CLayeredWindowHelper::UpdateFromPng() {
    if (m_png.m_pImage == nullptr || !IsWindow(m_hTargetWnd))
        return;
    HDC screenDc = GetDC(m_hTargetWnd);
    RECT windowRect;
    GetWindowRect(m_hTargetWnd, &windowRect);
    POINT destination{windowRect.left, windowRect.top};
    HDC memDc = CreateCompatibleDC(screenDc);
    const INT width = static_cast<INT>(m_png.m_pImage->GetWidth());
    const INT height = static_cast<INT>(m_png.m_pImage->GetHeight());
    HBITMAP bitmap = CreateCompatibleBitmap(screenDc, width, height);
    HGDIOBJ previous = SelectObject(memDc, bitmap);
    {
        Gdiplus::Graphics graphics(memDc);
        const Gdiplus::Point corners[3] = {Gdiplus::Point(0, 0), Gdiplus::Point(width, 0),
                                           Gdiplus::Point(0, height)};
        graphics.DrawImage(m_png.m_pImage, corners, 3);
    }
    EnsureLayeredStyle();
    UpdateLayeredTool* tool = UpdateLayeredTool::GetInstance();
    if (tool->m_pfnUpdateLayeredWindow != nullptr) {
        SIZE size{width, height};
        POINT source{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        tool->m_pfnUpdateLayeredWindow(m_hTargetWnd, screenDc, &destination, &size, memDc, &source,
                                       0, &blend, ULW_ALPHA);
    }
    SelectObject(memDc, previous);
    DeleteObject(bitmap);
    DeleteDC(memDc);
    ReleaseDC(m_hTargetWnd, screenDc);
}
