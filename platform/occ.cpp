#include "platform/occ.h"

#include <map>
#include <memory>

#include "platform/backend.h"
#include "platform/trace.h"
#include "platform/window_system.h"

using platform::WindowSystem;

const char* const kWebBrowserClassName = "{8856F961-340A-11D0-A96B-00C04FD705A2}";

// --- Sites ----------------------------------------------------------------------------------

COleControlSite::COleControlSite(COleControlContainer* container) : m_pCtrlCont(container) {}
COleControlSite::~COleControlSite() = default;

ULONG COleControlSite::ExternalAddRef() {
    return static_cast<ULONG>(++m_dwRef);
}
ULONG COleControlSite::ExternalRelease() {
    // The container owns the site; the count never ends its life.
    if (m_dwRef > 0)
        --m_dwRef;
    return static_cast<ULONG>(m_dwRef);
}

HRESULT COleControlSite::ExternalQueryInterface(const IID* iid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (iid == nullptr)
        return E_NOINTERFACE;
    for (const AFX_INTERFACEMAP* map = GetInterfaceMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_INTERFACEMAP_ENTRY* e = map->pEntry; e->piid != nullptr; ++e) {
            if (IsEqualGUID(*e->piid, *iid)) {
                IUnknown* part = e->pfnGetPart(this);
                part->AddRef();
                *object = part;
                return S_OK;
            }
        }
    }
    return E_NOINTERFACE;
}

const AFX_INTERFACEMAP* COleControlSite::GetThisInterfaceMap() {
    static const AFX_INTERFACEMAP_ENTRY entries[] = {{nullptr, nullptr}};
    static const AFX_INTERFACEMAP map = {nullptr, &entries[0]};
    return &map;
}
const AFX_INTERFACEMAP* COleControlSite::GetInterfaceMap() const {
    return GetThisInterfaceMap();
}

COleControlSite* COccManager::CreateSite(COleControlContainer* container) {
    return new COleControlSite(container);
}

// --- The browser control --------------------------------------------------------------------

namespace {

std::unique_ptr<COccManager> g_occManager;

std::map<HWND, std::unique_ptr<COleControlContainer>>& Containers() {
    static auto* containers = new std::map<HWND, std::unique_ptr<COleControlContainer>>();
    return *containers;
}

// What the site's document host handler asks for, read when the view is made.
platform::BrowserOptions OptionsFromSite(COleControlSite* site) {
    platform::BrowserOptions options;
    if (site == nullptr)
        return options;
    IDocHostUIHandler* handler = nullptr;
    if (site->ExternalQueryInterface(&IID_IDocHostUIHandler, reinterpret_cast<void**>(&handler)) !=
            S_OK ||
        handler == nullptr)
        return options;
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof(info);
    if (handler->GetHostInfo(&info) == S_OK) {
        options.scrollBars = (info.dwFlags & DOCHOSTUIFLAG_SCROLL_NO) == 0;
        options.border3D = (info.dwFlags & DOCHOSTUIFLAG_NO3DBORDER) == 0;
    }
    // A host that says it showed its own menu means the engine shows none.
    POINT origin{};
    options.contextMenu = handler->ShowContextMenu(0, &origin, nullptr, nullptr) != S_OK;
    IDispatch* external = nullptr;
    if (handler->GetExternal(&external) == S_OK)
        options.external = external;
    handler->Release();
    return options;
}

LRESULT BrowserControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& ws = WindowSystem::Get();
    platform::WindowRecord* w = ws.Find(hwnd);
    if (w == nullptr)
        return 0;
    switch (message) {
        case WM_CREATE: {
            auto& container = Containers()[w->parent];
            if (!container)
                container = std::make_unique<COleControlContainer>(CWnd::FromHandle(w->parent));
            COleControlSite* site =
                g_occManager ? g_occManager->CreateSite(container.get()) : nullptr;
            if (site == nullptr)
                return -1;  // no site, no control
            site->m_hWnd = hwnd;
            w->controlSite = site;
            const platform::BrowserOptions options = OptionsFromSite(site);
            const HWND top = ws.TopLevelOf(hwnd);
            const CRect topRect = ws.ScreenRectOf(top);
            CRect r = ws.ScreenRectOf(hwnd);
            r.OffsetRect(-topRect.left, -topRect.top);
            if (platform::HasBackend()) {
                w->browser = platform::CurrentBackend().CreateBrowserView(top, r, options);
                if (w->browser) {
                    w->browser->owner = hwnd;
                    w->browser->SetVisible(false);
                }
            }
            platform::Trace::Record("browser control created");
            return 0;
        }
        case WM_DESTROY: {
            w->browser.reset();
            auto* site = static_cast<COleControlSite*>(w->controlSite);
            w->controlSite = nullptr;
            delete site;
            return 0;
        }
        case WM_NCHITTEST:
            return ws.DefaultProc(hwnd, message, wParam, lParam);
        case WM_ERASEBKGND:
            return 1;  // the view draws itself
        default:
            return ws.DefaultProc(hwnd, message, wParam, lParam);
    }
}

VARIANT StringVariant(const std::string& text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = Utf8ToBstr(text);
    return v;
}

bool DispatchBrowserEvent(HWND control, int event, const std::string& url,
                          const platform::NavigationRequest* request) {
    auto& ws = WindowSystem::Get();
    platform::WindowRecord* w = ws.Find(control);
    if (w == nullptr || w->parent == nullptr)
        return false;
    CWnd* dialog = CWnd::FromHandlePermanent(w->parent);
    if (dialog == nullptr)
        return false;
    BrowserEventArgs args;
    args.url = StringVariant(url);
    VariantInit(&args.flags);
    VariantInit(&args.targetFrameName);
    if (request && !request->targetFrame.empty())
        args.targetFrameName = StringVariant(request->targetFrame);
    VariantInit(&args.postData);
    VariantInit(&args.headers);
    platform::FireControlEvent(dialog, static_cast<UINT>(w->id), event, args);
    const bool cancel = args.cancel != FALSE;
    VariantClear(&args.url);
    VariantClear(&args.targetFrameName);
    return cancel;
}

}  // namespace

void AfxEnableControlContainer(COccManager* manager) {
    // The framework owns the manager from here on; a later one replaces it.
    if (manager != nullptr)
        g_occManager.reset(manager);
    else if (g_occManager == nullptr)
        g_occManager = std::make_unique<COccManager>();
    platform::RegisterWindowClass(
        platform::WindowClass{kWebBrowserClassName, &BrowserControlProc, false});
    WindowSystem::Get().SetBrowserEventHandler(&DispatchBrowserEvent);
    platform::Trace::Record("AfxEnableControlContainer");
}

COccManager* AfxGetOccManager() {
    return g_occManager.get();
}

namespace platform {

bool FireControlEvent(CWnd* dialog, UINT controlId, DISPID dispid, BrowserEventArgs& args) {
    for (const AFX_EVENTSINKMAP* map = dialog->GetEventSinkMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_EVENTSINKMAP_ENTRY* e = map->lpEntries; e->pfn != nullptr; ++e) {
            if (e->nCtlID == controlId && e->dispid == dispid) {
                e->pfn(dialog, args);
                return true;
            }
        }
    }
    return false;
}

bool BrowserNavigate(HWND control, const std::string& url) {
    WindowRecord* w = WindowSystem::Get().Find(control);
    if (w == nullptr || !w->browser)
        return false;
    Trace::Record("navigate " + url);
    w->browser->Navigate(url);
    return true;
}

bool BrowserRefresh(HWND control) {
    WindowRecord* w = WindowSystem::Get().Find(control);
    if (w == nullptr || !w->browser)
        return false;
    w->browser->Reload();
    return true;
}

bool HasBrowser(HWND control) {
    WindowRecord* w = WindowSystem::Get().Find(control);
    return w != nullptr && w->browser != nullptr;
}

COleControlSite* ControlSiteOf(HWND control) {
    WindowRecord* w = WindowSystem::Get().Find(control);
    return w ? static_cast<COleControlSite*>(w->controlSite) : nullptr;
}

}  // namespace platform
