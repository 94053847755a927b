#pragma once
// The application object and the framework's entry point.

#include "platform/wnd.h"

constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_RESTART = 0x01;
constexpr UINT ID_HELP = 0xE146;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();  // the code the process ends with
    virtual int Run();           // the framework's own message loop

    void SetRegistryKey(LPCTSTR key);
    void OnHelp();

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszRegistryKey = nullptr;
    DWORD m_dwRestartManagerSupportFlags = 0;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// Runs the application object: InitInstance, the message loop if it returned TRUE, ExitInstance.
int AfxWinMain();
