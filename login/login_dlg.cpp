#include "login/login_dlg.h"

#include "login/login_active_dlg.h"
#include "platform/occ.h"
#include "platform/resources.h"
#include "res/resource_ids.h"

IMPLEMENT_DYNAMIC(CLoginDlg, CDialogEx)

BEGIN_MESSAGE_MAP(CLoginDlg, CDialogEx)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_CREATE()
ON_WM_NCHITTEST()
ON_WM_MOVE()
ON_WM_SHOWWINDOW()
ON_WM_CLOSE()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CLoginDlg, CDialogEx)
END_EVENTSINK_MAP()

CLoginDlg::CLoginDlg(CWnd* parent) : CDialogEx(IDD_LOGIN_DIALOG, parent) {
    m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_APP));
}

CLoginDlg::~CLoginDlg() {
    m_layered.m_png.Reset();
}

BOOL CLoginDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    SetWindowText("BrelvoOstrand");
    m_layered.m_hTargetWnd = m_hWnd;
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_pLoginActiveDlg = new CLoginActiveDlg(this);
    m_pLoginActiveDlg->Create(IDD_LOGIN_ACTIVE_DIALOG, this);
    m_pLoginActiveDlg->ShowWindow(SW_SHOWNORMAL);

    ModifyStyle(WS_CAPTION, 0, 0);

    // Without the artwork the window keeps its template size, unlayered.
    if (!m_layered.m_png.LoadFromResource(IDP_LOGIN_ARTWORK, AfxGetResourceHandle()))
        return TRUE;
    const int width = static_cast<int>(m_layered.m_png.m_pImage->GetWidth());
    const int height = static_cast<int>(m_layered.m_png.m_pImage->GetHeight());
    MoveWindow(0, 0, width, height, TRUE);
    CenterWindow();

    CRect rect;
    GetWindowRect(&rect);
    m_pLoginActiveDlg->MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), TRUE);

    m_layered.UpdateFromPng();
    return TRUE;
}

void CLoginDlg::OnPaint() {
    // The artwork is the window's whole look; only the minimised window draws its icon.
    if (!IsIconic())
        return;
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rect.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CLoginDlg::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(m_hIcon);
}

int CLoginDlg::OnCreate(LPCREATESTRUCT cs) {
    return CDialogEx::OnCreate(cs);
}

LRESULT CLoginDlg::OnNcHitTest(CPoint point) {
    m_bMainLeads = TRUE;
    const LRESULT hit = CDialogEx::OnNcHitTest(point);
    // Any visible pixel of the artwork drags the window.
    return hit == HTCLIENT ? HTCAPTION : hit;
}

void CLoginDlg::OnMove(int x, int y) {
    CDialogEx::OnMove(x, y);
    if (!::IsWindow(m_hWnd) || !m_bMainLeads || m_pLoginActiveDlg == nullptr ||
        m_pLoginActiveDlg->m_hWnd == nullptr)
        return;
    CRect mainRect;
    CRect panelRect;
    GetWindowRect(&mainRect);
    m_pLoginActiveDlg->GetWindowRect(&panelRect);
    m_pLoginActiveDlg->MoveWindow(mainRect.left, mainRect.top, panelRect.Width(),
                                  panelRect.Height(), TRUE);
}

void CLoginDlg::OnShowWindow(BOOL show, UINT status) {
    CDialogEx::OnShowWindow(show, status);
    if (m_pLoginActiveDlg != nullptr && m_pLoginActiveDlg->m_hWnd != nullptr)
        m_pLoginActiveDlg->ShowWindow(show ? SW_SHOWNORMAL : SW_HIDE);
}

void CLoginDlg::OnClose() {
    EndDialog(IDOK);
}
