#include "browser/web_browser2.h"

#include "platform/occ.h"
#include "platform/window_system.h"

IMPLEMENT_DYNCREATE(CWebBrowser2, CWnd)

BOOL CWebBrowser2::Create(LPCTSTR, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                          UINT id, void*) {
    if (parent == nullptr || m_hWnd != nullptr)
        return FALSE;
    HWND h = platform::WindowSystem::Get().Create(kWebBrowserClassName,
                                                  windowName ? windowName : "", style | WS_CHILD, 0,
                                                  rect, parent->m_hWnd, static_cast<int>(id), this);
    return h != nullptr;
}

namespace {
bool IsEmptyOrMissing(const VARIANT* v) {
    return v == nullptr || v->vt == VT_EMPTY;
}
}  // namespace

void CWebBrowser2::Navigate(LPCTSTR url, VARIANT* flags, VARIANT* targetFrameName,
                            VARIANT* postData, VARIANT* headers) {
    // Without a control behind the wrapper there is nothing to navigate.
    if (m_hWnd == nullptr || !platform::HasBrowser(m_hWnd) || url == nullptr)
        return;
    // The program only ever passes empty optional arguments; anything else is not supported by
    // the views and is refused rather than half-honoured.
    if (!IsEmptyOrMissing(flags) || !IsEmptyOrMissing(targetFrameName) ||
        !IsEmptyOrMissing(postData) || !IsEmptyOrMissing(headers))
        return;
    platform::BrowserNavigate(m_hWnd, url);
}

void CWebBrowser2::Refresh() {
    if (m_hWnd == nullptr)
        return;
    platform::BrowserRefresh(m_hWnd);
}
