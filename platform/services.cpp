#include "platform/services.h"

#include "platform/trace.h"

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    if (init == nullptr || init->dwSize != sizeof(INITCOMMONCONTROLSEX))
        return FALSE;
    platform::Trace::Record("InitCommonControlsEx");
    return TRUE;
}

CShellManager::CShellManager() {
    platform::Trace::Record("CShellManager created");
}
CShellManager::~CShellManager() {
    platform::Trace::Record("CShellManager deleted");
}

const CRuntimeClass CMFCVisualManager::classCMFCVisualManager = {
    "CMFCVisualManager", static_cast<int>(sizeof(CMFCVisualManager)), &CObject::classCObject,
    nullptr};
const CRuntimeClass CMFCVisualManagerWindows::classCMFCVisualManagerWindows = {
    "CMFCVisualManagerWindows", static_cast<int>(sizeof(CMFCVisualManagerWindows)),
    &CMFCVisualManager::classCMFCVisualManager, nullptr};

void CMFCVisualManager::SetDefaultManager(const CRuntimeClass* managerClass) {
    // The desktop's own theme draws everything here; the choice is only noted.
    platform::Trace::Record(std::string("SetDefaultManager ") +
                            (managerClass ? managerClass->m_lpszClassName : "none"));
}

void ControlBarCleanUp() {
    platform::Trace::Record("ControlBarCleanUp");
}
