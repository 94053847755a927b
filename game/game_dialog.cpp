#include "game/game_dialog.h"

#include "platform/resources.h"
#include "res/resource_ids.h"

IMPLEMENT_DYNAMIC(CGameDialog, CDialogEx)

BEGIN_MESSAGE_MAP(CGameDialog, CDialogEx)
ON_WM_CLOSE()
ON_WM_PAINT()
ON_WM_SIZE()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CGameDialog, CDialogEx)
ON_EVENT(CGameDialog, IDC_BROWSER, DISPID_NAVIGATECOMPLETE2, OnNavigateComplete2Browser,
         VTS_DISPATCH VTS_PVARIANT)
END_EVENTSINK_MAP()

CGameDialog::CGameDialog(CWnd* parent) : CDialogEx(IDD_GAME_DIALOG, parent) {
    m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_APP));
}

CGameDialog::~CGameDialog() = default;

void CGameDialog::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, IDC_BROWSER, m_browser);
    DDX_Control(dx, IDC_BTN_CLOSE, m_btnClose);
    DDX_Control(dx, IDC_BTN_MAXIMIZE, m_btnMaximize);
    DDX_Control(dx, IDC_BTN_MINIMIZE, m_btnMinimize);
    DDX_Control(dx, IDC_BTN_FULLSCREEN, m_btnFullScreen);
    DDX_Control(dx, IDC_BTN_BOSSKEY, m_btnBossKey);
    DDX_Control(dx, IDC_BTN_REFRESH, m_btnRefresh);
    DDX_Control(dx, IDC_BTN_SELECTSERVER, m_btnSelectServer);
    DDX_Control(dx, IDC_BTN_CLEANCACHE, m_btnCleanCache);
    DDX_Control(dx, IDC_BTN_RESTORE, m_btnRestore);
}

BOOL CGameDialog::OnInitDialog() {
    CDialogEx::OnInitDialog();
    SetWindowText("BrelvoOstrand");
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
    m_bmpTitleBar.LoadBitmap(IDB_TITLEBAR);
    LayoutMaximized();
    InitTitleBar();
    ::RegisterHotKey(m_hWnd, m_nHotKeyBoss, 0, VK_F10);
    ::RegisterHotKey(m_hWnd, m_nHotKeyFullScreen, 0, VK_F11);
    ModifyStyleEx(WS_EX_TOOLWINDOW, WS_EX_APPWINDOW);
    AddTrayIcon();
    m_btnMaximize.ShowWindow(SW_HIDE);
    return TRUE;
}

void CGameDialog::InitTitleBar() {
    LoadButtonImages();
    LayoutTitleBar();
    if (CWnd* logo = GetDlgItem(IDC_LOGO)) {
        logo->ModifyStyle(0, SS_BITMAP | SS_CENTERIMAGE);
        logo->SendMessage(STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(
                              ::LoadBitmapW(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDB_LOGO))));
        logo->MoveWindow(0, 0, 83, 30, TRUE);
    }
}

void CGameDialog::LoadButtonImages() {
    struct Strip {
        CPngButton* button;
        UINT png;
    };
    const Strip strips[] = {
        {&m_btnClose, IDP_CLOSE},           {&m_btnRestore, IDP_RESTORE},
        {&m_btnMaximize, IDP_MAXIMIZE},     {&m_btnMinimize, IDP_MINIMIZE},
        {&m_btnFullScreen, IDP_FULLSCREEN}, {&m_btnBossKey, IDP_BOSSKEY},
        {&m_btnRefresh, IDP_REFRESH},       {&m_btnSelectServer, IDP_SELECTSERVER},
        {&m_btnCleanCache, IDP_CLEANCACHE}};
    for (const Strip& s : strips) {
        s.button->InitGdiPlus();
        s.button->LoadPngImage(s.png);
    }
}

void CGameDialog::LayoutTitleBar() {
    CRect client;
    GetClientRect(&client);
    auto width = [](const CPngButton& b) { return static_cast<int>(b.m_nImageWidth); };
    int x = client.Width() - 2;
    x -= width(m_btnClose);
    m_btnClose.MoveWindow(x, 0, width(m_btnClose), 30, TRUE);
    x -= width(m_btnRestore);
    m_btnRestore.MoveWindow(x, 0, width(m_btnRestore), 30, TRUE);
    m_btnMaximize.MoveWindow(x, 0, width(m_btnRestore), 30, TRUE);
    x -= width(m_btnMinimize);
    m_btnMinimize.MoveWindow(x, 0, width(m_btnMinimize), 30, TRUE);
    x -= 40 + width(m_btnFullScreen);
    m_btnFullScreen.MoveWindow(x, 0, width(m_btnFullScreen), 30, TRUE);
    x -= width(m_btnBossKey) - 2;
    m_btnBossKey.MoveWindow(x, 0, width(m_btnBossKey) - 2, 30, TRUE);
    x -= width(m_btnCleanCache) - 2;
    m_btnCleanCache.MoveWindow(x, 0, width(m_btnCleanCache) - 2, 30, TRUE);
    x -= width(m_btnRefresh) - 2;
    m_btnRefresh.MoveWindow(x, 0, width(m_btnRefresh) - 2, 30, TRUE);
    x -= width(m_btnSelectServer) + 2;
    m_btnSelectServer.MoveWindow(x, 0, width(m_btnSelectServer), 30, TRUE);
    Invalidate(TRUE);
}

void CGameDialog::ShowTitleBar(int nCmdShow) {
    if (CWnd* logo = GetDlgItem(IDC_LOGO))
        logo->ShowWindow(nCmdShow);
    for (CPngButton* b : {&m_btnClose, &m_btnMinimize, &m_btnFullScreen, &m_btnBossKey,
                          &m_btnRefresh, &m_btnSelectServer, &m_btnCleanCache})
        b->ShowWindow(nCmdShow);
    if (nCmdShow == SW_SHOW && m_nWindowMode == WINDOW_MODE_NORMAL) {
        m_btnMaximize.ShowWindow(SW_SHOW);
        m_btnRestore.ShowWindow(SW_HIDE);
    } else if (nCmdShow == SW_SHOW) {
        m_btnMaximize.ShowWindow(SW_HIDE);
        m_btnRestore.ShowWindow(SW_SHOW);
    } else {
        m_btnRestore.ShowWindow(nCmdShow);
        m_btnMaximize.ShowWindow(nCmdShow);
    }
}

void CGameDialog::LayoutNormal() {
    MoveWindow(0, 0, 1000, 700, TRUE);
    CenterWindow();
    m_browser.MoveWindow(0, 30, 1000, 670, TRUE);
}

void CGameDialog::LayoutMaximized() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = work.right - work.left;
    const int height = work.bottom - work.top;
    MoveWindow(0, 0, width, height, TRUE);
    m_browser.MoveWindow(0, 30, width, height - 30, TRUE);
}

void CGameDialog::LayoutFullScreen() {
    CRect screen;
    ::GetClientRect(::GetDesktopWindow(), &screen);
    MoveWindow(&screen, TRUE);
    m_browser.MoveWindow(&screen, TRUE);
}

void CGameDialog::ApplyWindowMode() {
    switch (m_nWindowMode) {
        case WINDOW_MODE_FULLSCREEN:
            ShowTitleBar(SW_HIDE);
            LayoutFullScreen();
            break;
        case WINDOW_MODE_MAXIMIZED:
            ShowTitleBar(SW_SHOW);
            LayoutMaximized();
            LayoutTitleBar();
            break;
        case WINDOW_MODE_NORMAL:
            ShowTitleBar(SW_SHOW);
            LayoutNormal();
            LayoutTitleBar();
            break;
        default:
            break;
    }
}

void CGameDialog::OnSize(UINT type, int cx, int cy) {
    CDialogEx::OnSize(type, cx, cy);
    // Layouts of a minimised window wait until it is restored.
    if (IsWindowVisible() && !IsIconic())
        ApplyWindowMode();
}

void CGameDialog::OnPaint() {
    if (IsIconic() || m_nWindowMode == WINDOW_MODE_FULLSCREEN) {
        CDialogEx::OnPaint();
        return;
    }
    CPaintDC dc(this);
    // After OnClose has released the bitmap the bar stays as the dialog painted it.
    if (m_bmpTitleBar.GetSafeHandle() != nullptr) {
        CDC memDc;
        memDc.CreateCompatibleDC(&dc);
        CBitmap* old = memDc.SelectObject(&m_bmpTitleBar);
        CRect client;
        GetClientRect(&client);
        dc.StretchBlt(0, 0, client.Width(), 30, &memDc, 0, 0, m_bmpTitleBar.GetSize().cx, 30,
                      SRCCOPY);
        memDc.SelectObject(old);
    }
    CDialogEx::OnPaint();
}

void CGameDialog::AddTrayIcon() {
    m_nid = NOTIFYICONDATAW{};
    m_nid.cbSize = sizeof(NOTIFYICONDATAW);
    m_nid.hWnd = m_hWnd;
    m_nid.uID = IDI_APP;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nid.uCallbackMessage = WM_TRAYICON_NOTIFY;
    m_nid.hIcon = ::LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDI_APP));
    const std::u16string tip = u"BrelvoOstrand";
    tip.copy(m_nid.szTip, tip.size());
    Shell_NotifyIconW(NIM_ADD, &m_nid);
}

void CGameDialog::OnClose() {
    m_bmpTitleBar.DeleteObject();
    ::UnregisterHotKey(m_hWnd, m_nHotKeyBoss);
    ::UnregisterHotKey(m_hWnd, m_nHotKeyFullScreen);
    Shell_NotifyIconW(NIM_DELETE, &m_nid);
    Default();
}

void CGameDialog::OnNavigateComplete2Browser(LPDISPATCH, VARIANT*) {
    if (!m_browser.IsWindowVisible())
        m_browser.ShowWindow(SW_SHOW);
}
