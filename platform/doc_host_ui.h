#pragma once
// The interface through which a hosted page's document engine asks its host how to present
// the page (borders, scroll bars, menus, window.external).

#include "platform/automation.h"

// Types the host never looks into; they only appear in the interface's signatures.
struct IOleInPlaceActiveObject;
struct IOleCommandTarget;
struct IOleInPlaceFrame;
struct IOleInPlaceUIWindow;
struct IDropTarget;
struct IDataObject;
struct tagMSG;
using LPMSG = tagMSG*;
using LPCRECT = const RECT*;

constexpr DWORD DOCHOSTUIFLAG_NO3DBORDER = 0x4;
constexpr DWORD DOCHOSTUIFLAG_SCROLL_NO = 0x8;
constexpr DWORD DOCHOSTUIDBLCLK_DEFAULT = 0;

struct DOCHOSTUIINFO {
    ULONG cbSize;
    DWORD dwFlags;
    DWORD dwDoubleClick;
    OLECHAR* pchHostCss;
    OLECHAR* pchHostNS;
};

inline constexpr IID IID_IDocHostUIHandler = {
    0xBD3F23C0, 0xD43E, 0x11CF, {0x89, 0x3B, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x1A}};

// Slot order follows the interface's declaration order after IUnknown's three methods.
struct IDocHostUIHandler : IUnknown {
    virtual HRESULT ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved,
                                    IDispatch* pdispReserved) = 0;
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* pInfo) = 0;
    virtual HRESULT ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                           IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                           IOleInPlaceUIWindow* pDoc) = 0;
    virtual HRESULT HideUI() = 0;
    virtual HRESULT UpdateUI() = 0;
    virtual HRESULT EnableModeless(BOOL fEnable) = 0;
    virtual HRESULT OnDocWindowActivate(BOOL fActivate) = 0;
    virtual HRESULT OnFrameWindowActivate(BOOL fActivate) = 0;
    virtual HRESULT ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow,
                                 BOOL fFrameWindow) = 0;
    virtual HRESULT TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) = 0;
    virtual HRESULT GetOptionKeyPath(LPOLESTR* pchKey, DWORD dw) = 0;
    virtual HRESULT GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) = 0;
    virtual HRESULT GetExternal(IDispatch** ppDispatch) = 0;
    virtual HRESULT TranslateUrl(DWORD dwTranslate, LPOLESTR pchURLIn, LPOLESTR* ppchURLOut) = 0;
    virtual HRESULT FilterDataObject(IDataObject* pDO, IDataObject** ppDORet) = 0;

protected:
    ~IDocHostUIHandler() = default;
};
