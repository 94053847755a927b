#include "browser/imp_idispatch.h"

#include "platform/nls.h"

namespace {

constexpr OLECHAR kPropertyName[] = u"xxyyzz";
constexpr int kMatchedChars = 3;
constexpr OLECHAR kPropertyValue[] = u"Wibble";

// Wraps like the unsigned count the interface reports instead of overflowing.
std::int32_t Step(std::int32_t count, std::uint32_t delta) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(count) + delta);
}

}  // namespace

HRESULT CImpIDispatch::QueryInterface(REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *ppvObject = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG CImpIDispatch::AddRef() {
    m_nRefCount = Step(m_nRefCount, 1u);
    return static_cast<ULONG>(m_nRefCount);
}

ULONG CImpIDispatch::Release() {
    m_nRefCount = Step(m_nRefCount, 0xFFFFFFFFu);
    return static_cast<ULONG>(m_nRefCount);
}

HRESULT CImpIDispatch::GetTypeInfoCount(UINT* /*pctinfo*/) {
    return E_NOTIMPL;
}

HRESULT CImpIDispatch::GetTypeInfo(UINT /*iTInfo*/, LCID /*lcid*/, ITypeInfo** /*ppTInfo*/) {
    return E_NOTIMPL;
}

HRESULT CImpIDispatch::GetIDsOfNames(REFIID /*riid*/, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                     DISPID* rgDispId) {
    if (cNames > 0 && (rgszNames == nullptr || rgDispId == nullptr))
        return E_POINTER;
    HRESULT result = S_OK;
    for (UINT i = 0; i < cNames; ++i) {
        // A missing name is simply not ours. The comparison never reads past a name's NUL,
        // so names shorter than three characters cannot match.
        const bool match = rgszNames[i] != nullptr &&
                           CompareStringW(lcid, NORM_IGNOREWIDTH, rgszNames[i], kMatchedChars,
                                          kPropertyName, kMatchedChars) == CSTR_EQUAL;
        if (match) {
            rgDispId[i] = kPropertyId;
        } else {
            rgDispId[i] = DISPID_UNKNOWN;
            result = DISP_E_UNKNOWNNAME;
        }
    }
    return result;
}

HRESULT CImpIDispatch::Invoke(DISPID dispIdMember, REFIID /*riid*/, LCID /*lcid*/, WORD wFlags,
                              DISPPARAMS* /*pDispParams*/, VARIANT* pVarResult,
                              EXCEPINFO* /*pExcepInfo*/, UINT* /*puArgErr*/) {
    if (dispIdMember == kPropertyId && (wFlags & DISPATCH_PROPERTYGET) != 0 &&
        pVarResult != nullptr) {
        BSTR value = SysAllocString(kPropertyValue);
        // Out of memory: say so rather than hand the page an empty string as the value.
        if (value == nullptr)
            return E_OUTOFMEMORY;
        VariantInit(pVarResult);
        pVarResult->vt = VT_BSTR;
        pVarResult->bstrVal = value;
    }
    return S_OK;
}
