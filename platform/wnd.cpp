#include "platform/wnd.h"

#include <algorithm>
#include <map>
#include <memory>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/window_system.h"

using platform::WindowSystem;

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), nullptr,
                                             nullptr};
const CRuntimeClass CCmdTarget::classCCmdTarget = {
    "CCmdTarget", static_cast<int>(sizeof(CCmdTarget)), &CObject::classCObject, nullptr};

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

namespace {

// Wrappers for windows that have no object of their own, handed out by FromHandle.
std::map<HWND, std::unique_ptr<CWnd>>& Temporaries() {
    static auto* map = new std::map<HWND, std::unique_ptr<CWnd>>();
    return *map;
}

}  // namespace

CWnd::~CWnd() {
    if (windowDc_) {
        ReleaseDC(windowDc_);
        windowDc_ = nullptr;
    }
    if (m_hWnd == nullptr)
        return;
    platform::WindowRecord* w = WindowSystem::Get().Find(m_hWnd);
    if (w && w->object == this) {
        WindowSystem::Get().Destroy(m_hWnd);
        if (w = WindowSystem::Get().Find(m_hWnd); w && w->object == this)
            w->object = nullptr;
    }
    m_hWnd = nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    platform::WindowRecord* w = WindowSystem::Get().Find(hwnd);
    return w ? w->object : nullptr;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (hwnd == nullptr)
        return nullptr;
    if (CWnd* permanent = FromHandlePermanent(hwnd))
        return permanent;
    auto& temps = Temporaries();
    // Drop wrappers of windows that are gone.
    for (auto it = temps.begin(); it != temps.end();) {
        if (!::IsWindow(it->first)) {
            it->second->m_hWnd = nullptr;
            it = temps.erase(it);
        } else {
            ++it;
        }
    }
    auto& slot = temps[hwnd];
    if (!slot) {
        slot = std::make_unique<CWnd>();
        slot->m_hWnd = hwnd;
    }
    return slot.get();
}

BOOL CWnd::Attach(HWND hwnd) {
    platform::WindowRecord* w = WindowSystem::Get().Find(hwnd);
    if (w == nullptr || m_hWnd != nullptr)
        return FALSE;
    w->object = this;
    m_hWnd = hwnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (platform::WindowRecord* w = WindowSystem::Get().Find(h); w && w->object == this)
        w->object = nullptr;
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    platform::WindowRecord* w = WindowSystem::Get().Find(hwnd);
    if (w == nullptr || m_hWnd != nullptr)
        return FALSE;
    m_hWnd = hwnd;  // PreSubclassWindow may already use the handle
    PreSubclassWindow();
    w = WindowSystem::Get().Find(hwnd);
    if (w == nullptr) {
        m_hWnd = nullptr;
        return FALSE;
    }
    w->object = this;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    HWND item = ::GetDlgItem(parent ? parent->m_hWnd : nullptr, static_cast<int>(id));
    return item ? SubclassWindow(item) : FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

bool CWnd::DispatchThroughMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn != nullptr; ++e) {
            if (e->nMessage == message && message != WM_COMMAND) {
                *result = e->pfn(this, wParam, lParam);
                return true;
            }
        }
    }
    return false;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    *result = 0;
    switch (message) {
        case WM_COMMAND:
            return OnCommand(wParam, lParam);
        case WM_DRAWITEM: {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            CWnd* child = dis ? FromHandlePermanent(dis->hwndItem) : nullptr;
            return child != nullptr && child->OnChildNotify(message, wParam, lParam, result);
        }
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC: {
            const UINT kind = message == WM_CTLCOLORDLG   ? CTLCOLOR_DLG
                              : message == WM_CTLCOLORBTN ? CTLCOLOR_BTN
                                                          : CTLCOLOR_STATIC;
            CtlColorArgs args{CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                              FromHandle(reinterpret_cast<HWND>(lParam)), kind};
            return DispatchThroughMap(WM_CTLCOLOR, wParam, reinterpret_cast<LPARAM>(&args), result);
        }
        default:
            return DispatchThroughMap(message, wParam, lParam, result);
    }
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn != nullptr; ++e) {
            if (e->nMessage == WM_COMMAND && e->nID == id && e->nCode == code) {
                e->pfn(this, wParam, 0);
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    platform::WindowRecord* w = WindowSystem::Get().Find(m_hWnd);
    if (w == nullptr)
        return 0;
    return w->windowClass->proc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG* m = WindowSystem::Get().CurrentMessage();
    if (m == nullptr)
        return 0;
    const MSG copy = *m;
    return DefWindowProc(copy.message, copy.wParam, copy.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    WindowSystem::Get().Destroy(m_hWnd);
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return WindowSystem::Get().Send(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::ShowWindow(int cmdShow) {
    return ::ShowWindow(m_hWnd, cmdShow);
}
BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}
BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}
BOOL CWnd::IsWindowEnabled() const {
    platform::WindowRecord* w = WindowSystem::Get().Find(m_hWnd);
    return w && !(w->style & WS_DISABLED);
}
BOOL CWnd::EnableWindow(BOOL enable) {
    return ::EnableWindow(m_hWnd, enable);
}
void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}
void CWnd::MoveWindow(const RECT* rect, BOOL repaint) {
    if (rect)
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                   repaint);
}
BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : HWND_TOP, x, y, cx, cy,
                          flags);
}
void CWnd::GetWindowRect(RECT* rect) const {
    ::GetWindowRect(m_hWnd, rect);
}
void CWnd::GetClientRect(RECT* rect) const {
    ::GetClientRect(m_hWnd, rect);
}

void CWnd::ClientToScreen(POINT* point) const {
    const CPoint o = WindowSystem::Get().ClientOriginOnScreen(m_hWnd);
    point->x += o.x;
    point->y += o.y;
}
void CWnd::ClientToScreen(RECT* rect) const {
    const CPoint o = WindowSystem::Get().ClientOriginOnScreen(m_hWnd);
    static_cast<CRect*>(rect)->OffsetRect(o.x, o.y);
}
void CWnd::ScreenToClient(POINT* point) const {
    const CPoint o = WindowSystem::Get().ClientOriginOnScreen(m_hWnd);
    point->x -= o.x;
    point->y -= o.y;
}
void CWnd::ScreenToClient(RECT* rect) const {
    const CPoint o = WindowSystem::Get().ClientOriginOnScreen(m_hWnd);
    static_cast<CRect*>(rect)->OffsetRect(-o.x, -o.y);
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
    auto& ws = WindowSystem::Get();
    platform::WindowRecord* w = ws.Find(m_hWnd);
    if (w == nullptr)
        return;
    const CRect self = ws.ScreenRectOf(m_hWnd);
    CRect area;    // what the window is centred in
    CRect bounds;  // what it must stay inside
    if (w->parent != nullptr) {
        area = CRect(0, 0, ws.Find(w->parent)->rect.Width(), ws.Find(w->parent)->rect.Height());
        bounds = area;
    } else {
        bounds = platform::CurrentBackend().WorkArea();
        HWND center = alternateOwner ? alternateOwner->m_hWnd : w->owner;
        platform::WindowRecord* c = ws.Find(center);
        // A hidden or minimised owner is no reference: centre in the work area instead.
        if (c != nullptr && (c->style & WS_VISIBLE) && !c->iconic)
            area = ws.ScreenRectOf(center);
        else
            area = bounds;
    }
    int left = (area.left + area.right) / 2 - self.Width() / 2;
    int top = (area.top + area.bottom) / 2 - self.Height() / 2;
    // Keep it inside; a window larger than the bounds keeps its left or top edge on theirs.
    if (left + self.Width() > bounds.right)
        left = bounds.right - self.Width();
    if (left < bounds.left)
        left = bounds.left;
    if (top + self.Height() > bounds.bottom)
        top = bounds.bottom - self.Height();
    if (top < bounds.top)
        top = bounds.top;
    SetWindowPos(nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::SetWindowText(LPCTSTR text) {
    WindowSystem::Get().SetText(m_hWnd, text ? text : "");
}
CString CWnd::GetWindowText() const {
    platform::WindowRecord* w = WindowSystem::Get().Find(m_hWnd);
    return w ? w->text : CString();
}
DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
}
DWORD CWnd::GetExStyle() const {
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
}
BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT /*flags*/) {
    platform::WindowRecord* w = WindowSystem::Get().Find(m_hWnd);
    if (w == nullptr)
        return FALSE;
    const DWORD style = (w->style & ~remove) | add;
    if (style == w->style)
        return FALSE;
    WindowSystem::Get().SetStyle(m_hWnd, style);
    return TRUE;
}
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT /*flags*/) {
    platform::WindowRecord* w = WindowSystem::Get().Find(m_hWnd);
    if (w == nullptr)
        return FALSE;
    const DWORD style = (w->exStyle & ~remove) | add;
    if (style == w->exStyle)
        return FALSE;
    WindowSystem::Get().SetExStyle(m_hWnd, style);
    return TRUE;
}
CWnd* CWnd::GetDlgItem(int id) const {
    return FromHandle(::GetDlgItem(m_hWnd, id));
}
int CWnd::GetDlgCtrlID() const {
    platform::WindowRecord* w = WindowSystem::Get().Find(m_hWnd);
    return w ? w->id : 0;
}
CWnd* CWnd::GetParent() const {
    platform::WindowRecord* w = WindowSystem::Get().Find(m_hWnd);
    return w ? FromHandle(w->parent ? w->parent : w->owner) : nullptr;
}
CWnd* CWnd::GetOwner() const {
    platform::WindowRecord* w = WindowSystem::Get().Find(m_hWnd);
    return w ? FromHandle(w->owner) : nullptr;
}
CWnd* CWnd::SetActiveWindow() {
    return FromHandle(::SetActiveWindow(m_hWnd));
}
CWnd* CWnd::SetFocus() {
    return FromHandle(WindowSystem::Get().SetFocusTo(m_hWnd));
}
void CWnd::Invalidate(BOOL) {
    WindowSystem::Get().Invalidate(m_hWnd);
}
void CWnd::InvalidateRect(const RECT*, BOOL) {
    WindowSystem::Get().Invalidate(m_hWnd);
}
void CWnd::UpdateWindow() {
    WindowSystem::Get().PaintNow(WindowSystem::Get().TopLevelOf(m_hWnd));
}
HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}
void CWnd::SetFont(CFont* font, BOOL redraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? static_cast<HFONT>(*font) : nullptr),
                redraw);
}
CDC* CWnd::GetDC() {
    return CDC::FromHandle(::GetDC(m_hWnd));
}
CDC* CWnd::GetWindowDC() {
    if (windowDc_ == nullptr)
        windowDc_ = CDC::FromHandle(::GetWindowDC(m_hWnd));
    return windowDc_;
}
int CWnd::ReleaseDC(CDC* dc) {
    if (dc == nullptr)
        return 0;
    if (dc == windowDc_)
        windowDc_ = nullptr;
    return ::ReleaseDC(m_hWnd, dc->Detach());
}
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, void*) {
    WindowSystem::Get().SetTimer(m_hWnd, id, elapseMs);
    return id;
}
BOOL CWnd::KillTimer(UINT_PTR id) {
    return WindowSystem::Get().KillTimer(m_hWnd, id);
}

int CWnd::OnCreate(LPCREATESTRUCT) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnMove(int, int) {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
LRESULT CWnd::OnNcHitTest(CPoint) {
    return Default();
}
HCURSOR CWnd::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(Default());
}
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseHover(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseLeave() {
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnHotKey(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
