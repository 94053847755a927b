#include "platform/app.h"

#include <cstdio>

#include "platform/trace.h"
#include "platform/window_system.h"

namespace {
CWinApp* g_app = nullptr;
}  // namespace

const AFX_MSGMAP* CWinApp::GetThisMessageMap() {
    return CCmdTarget::GetThisMessageMap();
}
const AFX_MSGMAP* CWinApp::GetMessageMap() const {
    return GetThisMessageMap();
}

CWinApp::CWinApp(LPCTSTR appName) : m_pszAppName(appName) {
    g_app = this;
    m_hInstance = AfxGetInstanceHandle();
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

CWinApp* AfxGetApp() {
    return g_app;
}
CWnd* AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : nullptr;
}

BOOL CWinApp::InitInstance() {
    platform::Trace::Record("CWinApp::InitInstance");
    if (m_pszAppName == nullptr)
        m_pszAppName = "brelvo-launcher";
    return TRUE;
}

int CWinApp::ExitInstance() {
    // The code of the last quit message, as the message loop saw it; 0 without one.
    auto& ws = platform::WindowSystem::Get();
    return ws.QuitPending() ? ws.QuitCode() : 0;
}

int CWinApp::Run() {
    platform::WindowSystem::Get().RunLoop([] { return false; });
    return ExitInstance();
}

void CWinApp::SetRegistryKey(LPCTSTR key) {
    // There is no registry here: the key names where settings would go, and nothing is written.
    m_pszRegistryKey = key;
    platform::Trace::Record(std::string("SetRegistryKey ") + (key ? key : ""));
}

void CWinApp::OnHelp() {}

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        std::fprintf(stderr, "no application object\n");
        return 1;
    }
    if (!platform::HasBackend()) {
        std::fprintf(stderr, "no desktop backend installed\n");
        return 1;
    }
    if (app->InitInstance())
        return app->Run();
    return app->ExitInstance();
}
