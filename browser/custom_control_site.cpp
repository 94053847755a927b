#include "browser/custom_control_site.h"

#include "app/login_app.h"
#include "browser/imp_idispatch.h"

BEGIN_INTERFACE_MAP(CCustomControlSite, COleControlSite)
INTERFACE_PART(CCustomControlSite, IID_IDocHostUIHandler, DocHostUIHandler)
END_INTERFACE_MAP()

using XHandler = CCustomControlSite::XDocHostUIHandler;

HRESULT XHandler::QueryInterface(REFIID riid, void** ppvObject) {
    METHOD_PROLOGUE(CCustomControlSite, DocHostUIHandler)
    return pThis->ExternalQueryInterface(&riid, ppvObject);
}

ULONG XHandler::AddRef() {
    METHOD_PROLOGUE(CCustomControlSite, DocHostUIHandler)
    return pThis->ExternalAddRef();
}

ULONG XHandler::Release() {
    METHOD_PROLOGUE(CCustomControlSite, DocHostUIHandler)
    return pThis->ExternalRelease();
}

// Saying the host showed its menu keeps the engine from showing one.
HRESULT XHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
    return S_OK;
}

HRESULT XHandler::GetHostInfo(DOCHOSTUIINFO* pInfo) {
    if (pInfo == nullptr)
        return E_POINTER;
    pInfo->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO;
    pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

HRESULT XHandler::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                         IOleInPlaceUIWindow*) {
    return S_OK;
}
HRESULT XHandler::HideUI() {
    return S_OK;
}
HRESULT XHandler::UpdateUI() {
    return S_OK;
}
HRESULT XHandler::EnableModeless(BOOL) {
    return E_NOTIMPL;
}
HRESULT XHandler::OnDocWindowActivate(BOOL) {
    return E_NOTIMPL;
}
HRESULT XHandler::OnFrameWindowActivate(BOOL) {
    return E_NOTIMPL;
}
HRESULT XHandler::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
    return E_NOTIMPL;
}
// Declining every key lets the engine handle it itself.
HRESULT XHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD) {
    return S_FALSE;
}
HRESULT XHandler::GetOptionKeyPath(LPOLESTR*, DWORD) {
    return E_NOTIMPL;
}
HRESULT XHandler::GetDropTarget(IDropTarget*, IDropTarget**) {
    return E_NOTIMPL;
}

HRESULT XHandler::GetExternal(IDispatch** ppDispatch) {
    if (ppDispatch == nullptr)
        return E_POINTER;
    IDispatch* external = theApp.m_pExternalDispatch;
    if (external != nullptr)
        external->AddRef();
    *ppDispatch = external;
    return S_OK;
}

HRESULT XHandler::TranslateUrl(DWORD, LPOLESTR, LPOLESTR*) {
    return E_NOTIMPL;
}
HRESULT XHandler::FilterDataObject(IDataObject*, IDataObject**) {
    return E_NOTIMPL;
}
