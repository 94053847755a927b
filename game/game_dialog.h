#pragma once
// The game window: the game page under a drawn 30-pixel title bar, in one of three window modes.

#include "browser/web_browser2.h"
#include "platform/dialog.h"
#include "platform/occ.h"
#include "platform/shell.h"
#include "ui/png_button.h"

constexpr int WINDOW_MODE_FULLSCREEN = 0;
constexpr int WINDOW_MODE_MAXIMIZED = 1;
constexpr int WINDOW_MODE_NORMAL = 2;

constexpr UINT WM_TRAYICON_NOTIFY = WM_USER + 0x65;

class CGameDialog : public CDialogEx {
    DECLARE_DYNAMIC(CGameDialog)
public:
    explicit CGameDialog(CWnd* parent = nullptr);
    ~CGameDialog() override;

    void OnClose();
    void ApplyWindowMode();
    void ShowTitleBar(int nCmdShow);
    void LayoutNormal();
    void LayoutMaximized();
    void LayoutFullScreen();
    void LayoutTitleBar();

    int m_nHotKeyBoss = 1001;
    int m_nHotKeyFullScreen = 1002;
    int m_nWindowMode = WINDOW_MODE_MAXIMIZED;
    NOTIFYICONDATAW m_nid{};
    CBitmap m_bmpTitleBar;
    HICON m_hIcon = nullptr;
    CWebBrowser2 m_browser;
    CPngButton m_btnClose;
    CPngButton m_btnRestore;
    CPngButton m_btnMinimize;
    CPngButton m_btnFullScreen;
    CPngButton m_btnBossKey;
    CPngButton m_btnRefresh;
    CPngButton m_btnSelectServer;
    CPngButton m_btnCleanCache;
    CPngButton m_btnMaximize;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void InitTitleBar();
    void LoadButtonImages();
    void AddTrayIcon();

    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnNavigateComplete2Browser(LPDISPATCH pDisp, VARIANT* URL);

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()
};
