#pragma once
// The application: start-up, the modal run of the login window, the single game window's
// hand-off and lifetime, and the tear-down.

#include "platform/app.h"

class CImpIDispatch;
class CGameDialog;

class CLoginApp : public CWinApp {
public:
    CLoginApp();
    ~CLoginApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // The single game window, made on first use.
    CGameDialog* GetGameWindow();
    // Opens the game window on url and hides the login window.
    void OpenGameWindow(LPCTSTR url);
    // Removes the game window, if there is one.
    void DestroyGameWindow();

    ULONG_PTR m_gdiplusToken = 0;
    CImpIDispatch* m_pExternalDispatch = nullptr;
    CGameDialog* m_pGameWnd = nullptr;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;
};

extern CLoginApp theApp;
