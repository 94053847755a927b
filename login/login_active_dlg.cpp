#include "login/login_active_dlg.h"

#include "app/login_app.h"
#include "app/login_url.h"
#include "game/confirm_dlg.h"
#include "login/login_dlg.h"
#include "res/resource_ids.h"

IMPLEMENT_DYNAMIC(CLoginActiveDlg, CDialogEx)

BEGIN_MESSAGE_MAP(CLoginActiveDlg, CDialogEx)
ON_WM_MOVE()
ON_WM_NCHITTEST()
ON_WM_CTLCOLOR()
ON_BN_CLICKED(IDC_PANEL_MINIMIZE, &CLoginActiveDlg::OnBnClickedMinimize)
ON_BN_CLICKED(IDC_PANEL_CLOSE, &CLoginActiveDlg::OnBnClickedClose)
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CLoginActiveDlg, CDialogEx)
ON_EVENT(CLoginActiveDlg, IDC_BROWSER, DISPID_BEFORENAVIGATE2, OnBeforeNavigate2,
         VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PBOOL)
ON_EVENT(CLoginActiveDlg, IDC_BROWSER, DISPID_NAVIGATECOMPLETE2, OnNavigateComplete2,
         VTS_DISPATCH VTS_PVARIANT)
ON_EVENT(CLoginActiveDlg, IDC_BROWSER, DISPID_DOCUMENTCOMPLETE, OnDocumentComplete,
         VTS_DISPATCH VTS_PVARIANT)
END_EVENTSINK_MAP()

bool IsGameUrl(const std::string& url) {
    return url.find("client=1") != std::string::npos ||
           url.find("gameClient=pc") != std::string::npos;
}

CLoginActiveDlg::CLoginActiveDlg(CLoginDlg* loginDlg)
    : m_crKey(RGB(255, 255, 0)), m_pLoginDlg(loginDlg) {}

CLoginActiveDlg::~CLoginActiveDlg() {
    m_brKey.DeleteObject();
}

void CLoginActiveDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, IDC_BROWSER, m_browser);
    DDX_Control(dx, IDC_PANEL_MINIMIZE, m_btnMinimize);
    DDX_Control(dx, IDC_PANEL_CLOSE, m_btnClose);
}

BOOL CLoginActiveDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_layered.m_hTargetWnd = m_hWnd;
    m_brKey.Attach(::CreateSolidBrush(m_crKey));
    // Whatever the panel paints in the key colour is see-through and lets the mouse through.
    m_layered.ApplyColorKey(m_crKey, 255);

    // The artwork's dark inner frame.
    m_browser.MoveWindow(560, 177, 631, 446, TRUE);
    VARIANT v;
    VariantInit(&v);
    m_browser.Navigate(kLoginPageUrl, &v, &v, &v, &v);
    // Shown once the first navigation has completed.
    m_browser.ShowWindow(SW_HIDE);
    InitButtons();
    VariantClear(&v);
    return TRUE;
}

void CLoginActiveDlg::InitButtons() {
    m_btnMinimize.InitGdiPlus();
    m_btnClose.InitGdiPlus();
    m_btnMinimize.LoadPngImage(IDP_PANEL_MINIMIZE);
    m_btnClose.LoadPngImage(IDP_PANEL_CLOSE);
    m_btnMinimize.MoveWindow(1173, 137, 39, 75, TRUE);
    m_btnClose.MoveWindow(1208, 115, 54, 54, TRUE);
}

void CLoginActiveDlg::OnBeforeNavigate2(LPDISPATCH, VARIANT* URL, VARIANT*, VARIANT*, VARIANT*,
                                        VARIANT*, BOOL* Cancel) {
    // Frames are examined exactly like the page itself.
    const std::string url =
        (URL != nullptr && URL->vt == VT_BSTR) ? BstrToUtf8(URL->bstrVal) : std::string();
    if (!IsGameUrl(url))
        return;
    if (Cancel != nullptr)
        *Cancel = TRUE;
    theApp.OpenGameWindow(url.c_str());
}

void CLoginActiveDlg::OnNavigateComplete2(LPDISPATCH, VARIANT*) {
    if (!m_browser.IsWindowVisible())
        m_browser.ShowWindow(SW_SHOW);
}

void CLoginActiveDlg::OnDocumentComplete(LPDISPATCH, VARIANT*) {}

HBRUSH CLoginActiveDlg::OnCtlColor(CDC*, CWnd*, UINT) {
    return static_cast<HBRUSH>(m_brKey);
}

LRESULT CLoginActiveDlg::OnNcHitTest(CPoint point) {
    if (m_pLoginDlg != nullptr)
        m_pLoginDlg->m_bMainLeads = FALSE;
    const LRESULT hit = CDialogEx::OnNcHitTest(point);
    return hit == HTCLIENT ? HTCAPTION : HTNOWHERE;
}

void CLoginActiveDlg::OnMove(int x, int y) {
    CDialogEx::OnMove(x, y);
    if (!::IsWindow(m_hWnd) || m_pLoginDlg == nullptr || m_pLoginDlg->m_bMainLeads ||
        m_pLoginDlg->m_hWnd == nullptr)
        return;
    CRect mainRect;
    CRect panelRect;
    m_pLoginDlg->GetWindowRect(&mainRect);
    GetWindowRect(&panelRect);
    m_pLoginDlg->MoveWindow(panelRect.left, panelRect.top, mainRect.Width(), mainRect.Height(),
                            TRUE);
}

void CLoginActiveDlg::OnBnClickedMinimize() {
    if (m_pLoginDlg != nullptr)
        m_pLoginDlg->ShowWindow(SW_MINIMIZE);
}

void CLoginActiveDlg::OnBnClickedClose() {
    CConfirmDlg dlg;
    dlg.m_nMode = CONFIRM_EXIT_GAME;
    if (dlg.DoModal() == IDOK)
        PostQuitMessage(16);
}
