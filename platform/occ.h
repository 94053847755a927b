#pragma once
// Control containment: dialogs host controls through sites made by the process's control
// container manager, and controls report events to their dialog through event sink maps.
//
// The one control kind here is the web browser control (class "{8856F961-340A-11D0-A96B-
// 00C04FD705A2}"), which shows a backend browser view. Its site decides how pages are presented:
// the browser asks the site's IDocHostUIHandler for host flags, the context menu and
// window.external when the view is created.

#include <cstddef>
#include <string>

#include "platform/automation.h"
#include "platform/com.h"
#include "platform/doc_host_ui.h"
#include "platform/wnd.h"

class COleControlSite;

class COleControlContainer {
public:
    explicit COleControlContainer(CWnd* wnd) : m_pWnd(wnd) {}
    CWnd* m_pWnd;
};

// Interface maps: a site answers a query for an interface with one of its nested parts.
struct AFX_INTERFACEMAP_ENTRY {
    const IID* piid;                       // null ends the table
    IUnknown* (*pfnGetPart)(CCmdTarget*);  // the nested part that implements it
};
struct AFX_INTERFACEMAP {
    const AFX_INTERFACEMAP* (*pfnGetBaseMap)();
    const AFX_INTERFACEMAP_ENTRY* pEntry;
};

class COleControlSite : public CCmdTarget {
public:
    explicit COleControlSite(COleControlContainer* container);
    ~COleControlSite() override;

    // The site's reference count and interface lookup, which nested parts delegate to.
    ULONG ExternalAddRef();
    ULONG ExternalRelease();
    HRESULT ExternalQueryInterface(const IID* iid, void** object);

    COleControlContainer* m_pCtrlCont;
    HWND m_hWnd = nullptr;  // the control's window
    long m_dwRef = 1;

    static const AFX_INTERFACEMAP* GetThisInterfaceMap();
    virtual const AFX_INTERFACEMAP* GetInterfaceMap() const;
};

// clang-format off
#define DECLARE_INTERFACE_MAP()                                   \
public:                                                           \
    static const AFX_INTERFACEMAP* GetThisInterfaceMap();         \
    const AFX_INTERFACEMAP* GetInterfaceMap() const override;

#define BEGIN_INTERFACE_MAP(theClass, baseClass)                                            \
    const AFX_INTERFACEMAP* theClass::GetInterfaceMap() const { return GetThisInterfaceMap(); } \
    const AFX_INTERFACEMAP* theClass::GetThisInterfaceMap() {                               \
        using ThisClass [[maybe_unused]] = theClass; \
        using TheBaseClass = baseClass;                                                     \
        static const AFX_INTERFACEMAP_ENTRY _interfaceEntries[] = {

#define INTERFACE_PART(theClass, iid, localClass)                                             \
    {&(iid), [](CCmdTarget* target) -> IUnknown* {                                            \
         return static_cast<IUnknown*>(&static_cast<theClass*>(target)->m_x##localClass);     \
     }},
// clang-format on

// Inside a nested part's method: pThis is the object the part is embedded in.
// clang-format off
#define METHOD_PROLOGUE(theClass, localClass)                                                     \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Winvalid-offsetof\"")      \
    theClass* pThis = reinterpret_cast<theClass*>(reinterpret_cast<char*>(this) -                 \
                                                  offsetof(theClass, m_x##localClass));           \
    _Pragma("GCC diagnostic pop")

#define END_INTERFACE_MAP()                                                                    \
    {nullptr, nullptr}                                                                         \
    }                                                                                          \
    ;                                                                                          \
    static const AFX_INTERFACEMAP map = {&TheBaseClass::GetThisInterfaceMap, &_interfaceEntries[0]}; \
    return &map;                                                                               \
    }
// clang-format on

// The factory of sites, installed once for the process.
class COccManager {
public:
    virtual ~COccManager() = default;
    virtual COleControlSite* CreateSite(COleControlContainer* container);
};

// Every browser control created from a dialog template from now on gets its site from manager.
// The manager belongs to the framework from then on.
void AfxEnableControlContainer(COccManager* manager = nullptr);
COccManager* AfxGetOccManager();

// The class id string of the browser control in templates.
extern const char* const kWebBrowserClassName;

// Control operations used by the browser control's wrapper.
namespace platform {
bool BrowserNavigate(HWND control, const std::string& url);
bool BrowserRefresh(HWND control);
bool HasBrowser(HWND control);
COleControlSite* ControlSiteOf(HWND control);
}  // namespace platform

// --- Event sink maps ----------------------------------------------------------------------

constexpr DISPID DISPID_BEFORENAVIGATE2 = 250;
constexpr DISPID DISPID_NAVIGATECOMPLETE2 = 252;
constexpr DISPID DISPID_DOCUMENTCOMPLETE = 259;

// The arguments of a browser event, in the order the events declare them.
struct BrowserEventArgs {
    LPDISPATCH pDisp = nullptr;
    VARIANT url{};
    VARIANT flags{};
    VARIANT targetFrameName{};
    VARIANT postData{};
    VARIANT headers{};
    BOOL cancel = FALSE;
};

using AFX_PEVENT = void (*)(CCmdTarget* target, BrowserEventArgs& args);

struct AFX_EVENTSINKMAP_ENTRY {
    UINT nCtlID;
    DISPID dispid;
    AFX_PEVENT pfn;  // null ends the table
};
struct AFX_EVENTSINKMAP {
    const AFX_EVENTSINKMAP* (*pfnGetBaseMap)();
    const AFX_EVENTSINKMAP_ENTRY* lpEntries;
};

namespace platform {
template <class T>
void InvokeEvent(T* target,
                 void (T::*handler)(LPDISPATCH, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                    BOOL*),
                 BrowserEventArgs& a) {
    (target->*handler)(a.pDisp, &a.url, &a.flags, &a.targetFrameName, &a.postData, &a.headers,
                       &a.cancel);
}
template <class T>
void InvokeEvent(T* target, void (T::*handler)(LPDISPATCH, VARIANT*), BrowserEventArgs& a) {
    (target->*handler)(a.pDisp, &a.url);
}
// Fires an event of a dialog's control through the dialog's event sink map. Returns whether a
// handler took it.
bool FireControlEvent(CWnd* dialog, UINT controlId, DISPID dispid, BrowserEventArgs& args);
}  // namespace platform

// clang-format off
#define VTS_DISPATCH "\x09"
#define VTS_PVARIANT "\x4C"
#define VTS_PBOOL "\x4B"

#define DECLARE_EVENTSINK_MAP()                                   \
protected:                                                        \
    static const AFX_EVENTSINKMAP* GetThisEventSinkMap();         \
    const AFX_EVENTSINKMAP* GetEventSinkMap() const override;

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                                              \
    const AFX_EVENTSINKMAP* theClass::GetEventSinkMap() const { return GetThisEventSinkMap(); } \
    const AFX_EVENTSINKMAP* theClass::GetThisEventSinkMap() {                                 \
        using TheBaseClass = baseClass;                                                       \
        static const AFX_EVENTSINKMAP_ENTRY _eventEntries[] = {

#define ON_EVENT(theClass, id, dispid, pfnHandler, vtsParams)                                  \
    {static_cast<UINT>(id), static_cast<DISPID>(dispid),                                       \
     [](CCmdTarget* target, BrowserEventArgs& args) {                                          \
         platform::InvokeEvent(static_cast<theClass*>(target), &theClass::pfnHandler, args);   \
     }},

#define END_EVENTSINK_MAP()                                                                       \
    {0, 0, nullptr}                                                                               \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_EVENTSINKMAP map = {&TheBaseClass::GetThisEventSinkMap, &_eventEntries[0]};  \
    return &map;                                                                                  \
    }
// clang-format on
