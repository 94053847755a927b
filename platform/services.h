#pragma once
// Process-wide services the program switches on at start-up. On this framework most have no work
// to do; each records that it was switched on, so the start-up order can be checked.

#include "platform/runtime_class.h"
#include "platform/win_types.h"

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
constexpr DWORD ICC_WIN95_CLASSES = 0x000000FF;

// Common controls are built into the framework; this validates the request.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

class CShellManager {
public:
    CShellManager();
    ~CShellManager();
};

class CMFCVisualManager : public CObject {
public:
    static const CRuntimeClass classCMFCVisualManager;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCMFCVisualManager; }
    static void SetDefaultManager(const CRuntimeClass* managerClass);
};

class CMFCVisualManagerWindows : public CMFCVisualManager {
public:
    static const CRuntimeClass classCMFCVisualManagerWindows;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCMFCVisualManagerWindows; }
};

void ControlBarCleanUp();
