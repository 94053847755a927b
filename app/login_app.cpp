#include "app/login_app.h"

#include "browser/custom_occ_manager.h"
#include "browser/imp_idispatch.h"
#include "game/game_dialog.h"
#include "login/login_active_dlg.h"
#include "login/login_dlg.h"
#include "platform/gdiplus.h"
#include "platform/occ.h"
#include "platform/services.h"
#include "res/resource_ids.h"

CLoginApp theApp;

BEGIN_MESSAGE_MAP(CLoginApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CLoginApp::CLoginApp() : CWinApp(nullptr) {
    m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
    m_pGameWnd = nullptr;
}

CLoginApp::~CLoginApp() = default;

BOOL CLoginApp::InitInstance() {
    INITCOMMONCONTROLSEX initCtrls{};
    initCtrls.dwSize = sizeof(initCtrls);
    initCtrls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&initCtrls);

    CWinApp::InitInstance();

    // Every browser control gets the program's site, which hands pages the external object.
    auto* occManager = new CCustomOccManager();
    m_pExternalDispatch = new CImpIDispatch();
    AfxEnableControlContainer(occManager);

    Gdiplus::GdiplusStartupInput gdiplusInput;
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &gdiplusInput, nullptr);

    auto* shellManager = new CShellManager();
    CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerWindows));
    SetRegistryKey("应用程序向导生成的本地应用程序");

    {
        CLoginDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        // The login window and the windows it owns are gone by now.

        if (dlg.m_pLoginActiveDlg != nullptr) {
            delete dlg.m_pLoginActiveDlg;
            dlg.m_pLoginActiveDlg = nullptr;
        }
        DestroyGameWindow();
        delete shellManager;
        // Cleared as well: nothing may reach the object once it is gone.
        delete m_pExternalDispatch;
        m_pExternalDispatch = nullptr;
        ControlBarCleanUp();
        m_pMainWnd = nullptr;  // the dialog object ends with this scope
    }
    return FALSE;
}

int CLoginApp::ExitInstance() {
    return CWinApp::ExitInstance();
}

CGameDialog* CLoginApp::GetGameWindow() {
    if (m_pGameWnd != nullptr)
        return m_pGameWnd;
    m_pGameWnd = new CGameDialog();
    // With no parent, the login window becomes the owner.
    m_pGameWnd->Create(IDD_GAME_DIALOG, nullptr);
    m_pGameWnd->ShowWindow(SW_HIDE);
    return m_pGameWnd;
}

void CLoginApp::OpenGameWindow(LPCTSTR url) {
    CGameDialog* game = GetGameWindow();
    VARIANT v;
    VariantInit(&v);
    // The page starts loading while the window is still hidden.
    game->m_browser.Navigate(url, &v, &v, &v, &v);
    game->ShowWindow(SW_SHOWNORMAL);
    ::SetActiveWindow(game->m_hWnd);
    if (m_pMainWnd != nullptr)
        m_pMainWnd->ShowWindow(SW_HIDE);
}

void CLoginApp::DestroyGameWindow() {
    if (m_pGameWnd == nullptr)
        return;
    m_pGameWnd->OnClose();
    delete m_pGameWnd;
    m_pGameWnd = nullptr;
}
