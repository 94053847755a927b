#pragma once
// The web browser control as the dialogs hold it: bound to their control 1000, it navigates and
// refreshes; its events reach the dialog through the dialog's event sink map.

#include "platform/automation.h"
#include "platform/wnd.h"

class CWebBrowser2 : public CWnd {
    DECLARE_DYNCREATE(CWebBrowser2)
public:
    CWebBrowser2() = default;
    ~CWebBrowser2() override = default;

    // Creates a browser control without a template (no persisted state).
    virtual BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, void* context = nullptr);

    // Loads url in the control's own frame. The optional arguments stand for navigation flags,
    // target frame, post data and headers; empty ones mean none, the own frame, GET and no headers.
    void Navigate(LPCTSTR url, VARIANT* flags, VARIANT* targetFrameName, VARIANT* postData,
                  VARIANT* headers);
    void Refresh();
};
