#include "platform/dialog.h"

#include <algorithm>

#include "platform/app.h"
#include "platform/controls.h"
#include "platform/dialog_template.h"
#include "platform/trace.h"
#include "platform/window_system.h"

using platform::WindowSystem;

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CDialogEx, CDialog)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CDialogEx, CDialog)
END_MESSAGE_MAP()

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd != nullptr || dx == nullptr || dx->m_pDlgWnd == nullptr)
        return;
    if (HWND item = ::GetDlgItem(dx->m_pDlgWnd->m_hWnd, id))
        control.SubclassWindow(item);
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDHelp(templateId), m_pParentWnd(parent) {}

namespace {

// The window a dialog without a parent belongs to: for a modeless one the application's main
// window; for a modal one the window the user is working in, else the main window.
HWND DefaultOwner(const CWnd* self, bool modal) {
    auto& ws = WindowSystem::Get();
    if (modal) {
        const HWND active = ws.ActiveWindow();
        if (active && active != self->m_hWnd && ws.Find(active))
            return active;
    }
    CWnd* main = AfxGetMainWnd();
    if (main && main != self && main->m_hWnd && ws.Find(main->m_hWnd))
        return main->m_hWnd;
    return nullptr;
}

HFONT TemplateFont(const platform::DialogTemplate& t) {
    // Template fonts live for the process, like the system's dialog fonts.
    static std::vector<std::pair<std::string, HFONT>> cache;
    const std::string key =
        t.fontFace + "/" + std::to_string(t.pointSize) + "/" + std::to_string(t.weight);
    for (auto& [k, f] : cache)
        if (k == key)
            return f;
    CFont font;
    font.CreatePointFont(t.pointSize * 10, t.fontFace.c_str());
    const HFONT handle = static_cast<HFONT>(font.Detach());
    cache.emplace_back(key, handle);
    return handle;
}

}  // namespace

BOOL CDialog::CreateFromTemplate(UINT templateId, HWND owner, bool modal) {
    const platform::DialogTemplate* t = platform::FindDialogTemplate(templateId);
    if (t == nullptr) {
        platform::Trace::Record("no dialog template " + std::to_string(templateId));
        return FALSE;
    }
    auto& ws = WindowSystem::Get();
    const CRect rect = platform::DialogUnitsToPixels(t->pointSize, t->x, t->y, t->cx, t->cy);
    const DWORD style = t->style & ~WS_VISIBLE;
    if (!ws.Create("#32770", "", style, t->exStyle, rect, owner, 0, this, modal))
        return FALSE;
    const HWND self = m_hWnd;
    if (platform::WindowRecord* w = ws.Find(self))
        w->font = TemplateFont(*t);
    for (const platform::DialogControlTemplate& c : t->controls) {
        const CRect r = platform::DialogUnitsToPixels(t->pointSize, c.x, c.y, c.cx, c.cy);
        if (!platform::FindWindowClass(c.className)) {
            // Controls whose class is not available (a control container that was never
            // switched on) are left out, as a failed control creation is.
            platform::Trace::Record("control class unavailable " + c.className);
            continue;
        }
        ws.Create(c.className, c.text, c.style | WS_CHILD, c.exStyle, r, self, c.id, nullptr);
        if (ws.Find(self) == nullptr)
            return FALSE;
    }
    const LRESULT focusDefault = ws.Send(self, WM_INITDIALOG, 0, 0);
    if (ws.Find(self) == nullptr)
        return FALSE;
    if (focusDefault) {
        for (HWND child : ws.Find(self)->children) {
            platform::WindowRecord* c = ws.Find(child);
            if (c && (c->style & WS_TABSTOP) && (c->style & WS_VISIBLE) &&
                !(c->style & WS_DISABLED)) {
                ws.SetFocusTo(child);
                break;
            }
        }
    }
    if ((t->style & WS_VISIBLE) && !IsWindowVisible())
        ShowWindow(modal ? SW_SHOWNORMAL : SW_SHOWNA);
    return TRUE;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDHelp = templateId;
    m_pParentWnd = parent;
    const HWND owner = parent ? parent->m_hWnd : DefaultOwner(this, false);
    return CreateFromTemplate(templateId, owner, false);
}

INT_PTR CDialog::DoModal() {
    auto& ws = WindowSystem::Get();
    const HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : DefaultOwner(this, true);
    // The owner and the windows it belongs to take no input while the dialog runs.
    std::vector<HWND> disabled;
    for (HWND h = owner; h != nullptr; h = ws.Find(h) ? ws.Find(h)->owner : nullptr) {
        platform::WindowRecord* w = ws.Find(h);
        if (w == nullptr)
            break;
        if (!(w->style & WS_DISABLED)) {
            ws.SetEnabled(h, false);
            disabled.push_back(h);
        }
    }
    auto reenable = [&] {
        for (auto it = disabled.rbegin(); it != disabled.rend(); ++it)
            ws.SetEnabled(*it, true);
    };
    m_nModalResult = -1;
    m_bModalEnded = false;
    if (!CreateFromTemplate(m_nIDHelp, owner, true)) {
        reenable();
        if (m_hWnd)
            DestroyWindow();
        return -1;
    }
    platform::Trace::Record(std::string("modal begin ") + GetRuntimeClass()->m_lpszClassName);
    m_bInModalLoop = true;
    ws.EnterModal();
    ws.RunLoop([this] { return m_bModalEnded || m_hWnd == nullptr; });
    ws.LeaveModal();
    m_bInModalLoop = false;
    reenable();
    const bool wasActive = ws.ActiveWindow() == m_hWnd;
    if (m_hWnd)
        DestroyWindow();
    if (wasActive && owner && ws.Find(owner) && ::IsWindowVisible(owner))
        ws.Activate(owner);
    platform::Trace::Record(std::string("modal end ") + GetRuntimeClass()->m_lpszClassName + " " +
                            std::to_string(m_nModalResult));
    return m_nModalResult;
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_bModalEnded = true;
    if (!m_bInModalLoop && m_hWnd)
        DestroyWindow();  // a modeless dialog just goes away
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_INITDIALOG) {
        *result = OnInitDialog();
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (msg->message != WM_KEYDOWN)
        return FALSE;
    auto& ws = WindowSystem::Get();
    if (msg->wParam == VK_RETURN) {
        // Enter presses the focused push button, else gives the OK command. Owner-drawn buttons,
        // check boxes and the like are not push buttons: Enter never presses them.
        const HWND focus = msg->hwnd;
        platform::WindowRecord* f = ws.Find(focus);
        const DWORD buttonType = f ? (f->style & BS_TYPEMASK) : BS_OWNERDRAW;
        const bool pushButton = buttonType == BS_PUSHBUTTON || buttonType == BS_DEFPUSHBUTTON;
        if (f && f->parent == m_hWnd && f->windowClass->name == "BUTTON" && pushButton &&
            !(f->style & WS_DISABLED)) {
            SendMessage(WM_COMMAND, MAKEWPARAM(f->id, BN_CLICKED), reinterpret_cast<LPARAM>(focus));
        } else {
            SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        return TRUE;
    }
    if (msg->wParam == VK_ESCAPE) {
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return TRUE;
    }
    return FALSE;
}
