#pragma once
// The site every browser control of the program gets: it presents pages without borders, scroll
// bars, context menu or the engine's own menus, lets the engine handle every key, and gives pages
// the application's external object as window.external.

#include "platform/doc_host_ui.h"
#include "platform/occ.h"

class CCustomControlSite : public COleControlSite {
public:
    explicit CCustomControlSite(COleControlContainer* container) : COleControlSite(container) {}
    ~CCustomControlSite() override = default;

    // IDocHostUIHandler, embedded in the site; it reaches the site by its position in it.
    class XDocHostUIHandler final : public IDocHostUIHandler {
    public:
        HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
        ULONG AddRef() override;
        ULONG Release() override;
        HRESULT ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved,
                                IDispatch* pdispReserved) override;
        HRESULT GetHostInfo(DOCHOSTUIINFO* pInfo) override;
        HRESULT ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                       IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                       IOleInPlaceUIWindow* pDoc) override;
        HRESULT HideUI() override;
        HRESULT UpdateUI() override;
        HRESULT EnableModeless(BOOL fEnable) override;
        HRESULT OnDocWindowActivate(BOOL fActivate) override;
        HRESULT OnFrameWindowActivate(BOOL fActivate) override;
        HRESULT ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow,
                             BOOL fFrameWindow) override;
        HRESULT TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
        HRESULT GetOptionKeyPath(LPOLESTR* pchKey, DWORD dw) override;
        HRESULT GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
        HRESULT GetExternal(IDispatch** ppDispatch) override;
        HRESULT TranslateUrl(DWORD dwTranslate, LPOLESTR pchURLIn, LPOLESTR* ppchURLOut) override;
        HRESULT FilterDataObject(IDataObject* pDO, IDataObject** ppDORet) override;
    } m_xDocHostUIHandler;
    friend class XDocHostUIHandler;

    DECLARE_INTERFACE_MAP()
};
