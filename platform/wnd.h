#pragma once
// Windows as C++ objects. A CWnd is attached to a window handle; messages sent to the window go
// through the object's message map and, when unhandled, to the window's default processing.

#include <string>

#include "platform/gdi.h"
#include "platform/message_map.h"
#include "platform/messages.h"
#include "platform/runtime_class.h"
#include "platform/win_types.h"

struct AFX_EVENTSINKMAP;

class CCmdTarget : public CObject {
public:
    static const AFX_EVENTSINKMAP* GetThisEventSinkMap() { return nullptr; }
    virtual const AFX_EVENTSINKMAP* GetEventSinkMap() const { return nullptr; }

    static const CRuntimeClass classCCmdTarget;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCCmdTarget; }

    static const AFX_MSGMAP* GetThisMessageMap();

protected:
    virtual const AFX_MSGMAP* GetMessageMap() const;
    friend class CWnd;
};

class CDataExchange;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to a window, or a framework-owned wrapper when none is.
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    BOOL Attach(HWND hwnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);

    // Message processing.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual void PreSubclassWindow() {}
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void PostNcDestroy() {}
    virtual void DoDataExchange(CDataExchange* /*dx*/) {}
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    LRESULT Default();  // default processing of the message being handled

    // Operations.
    virtual BOOL DestroyWindow();
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL ShowWindow(int cmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const RECT* rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void GetWindowRect(RECT* rect) const;
    void GetClientRect(RECT* rect) const;
    void ClientToScreen(POINT* point) const;
    void ClientToScreen(RECT* rect) const;
    void ScreenToClient(POINT* point) const;
    void ScreenToClient(RECT* rect) const;
    void CenterWindow(CWnd* alternateOwner = nullptr);
    void SetWindowText(LPCTSTR text);
    CString GetWindowText() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* SetActiveWindow();
    CWnd* SetFocus();
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
    void UpdateWindow();
    HICON SetIcon(HICON icon, BOOL bigIcon);
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* dc);
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, void* unused = nullptr);
    BOOL KillTimer(UINT_PTR id);

    // Message handlers whose default is the window's default processing.
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnPaint();
    void OnClose();
    void OnMove(int x, int y);
    void OnSize(UINT type, int cx, int cy);
    void OnShowWindow(BOOL show, UINT status);
    LRESULT OnNcHitTest(CPoint point);
    HCURSOR OnQueryDragIcon();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnMouseHover(UINT flags, CPoint point);
    void OnMouseLeave();
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnKeyDown(UINT ch, UINT repeat, UINT flags);
    void OnHotKey(UINT hotKeyId, UINT key1, UINT key2);
    void OnTimer(UINT_PTR id);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

private:
    bool DispatchThroughMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    CDC* windowDc_ = nullptr;
};

// Windows-style free functions on handles.
BOOL IsWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int cmdShow);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL GetWindowRect(HWND hwnd, RECT* rect);
BOOL GetClientRect(HWND hwnd, RECT* rect);
LONG GetWindowLongW(HWND hwnd, int index);
LONG SetWindowLongW(HWND hwnd, int index, LONG value);
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);  // any thread
void PostQuitMessage(int exitCode);
BOOL DestroyWindow(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
HWND GetDesktopWindow();
HWND GetDlgItem(HWND dialog, int id);
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL GetCursorPos(POINT* point);
HCURSOR SetCursor(HCURSOR cursor);
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL SystemParametersInfoW(UINT action, UINT param, void* value, UINT winIni);
BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk);
BOOL UnregisterHotKey(HWND hwnd, int id);
int MessageBoxW(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type);

struct TRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};
BOOL _TrackMouseEvent(TRACKMOUSEEVENT* track);  // NOLINT: the name programs know

extern const LPCTSTR IDC_ARROW;
extern const LPCTSTR IDC_HAND;
