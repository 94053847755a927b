#pragma once
// The object pages reach as window.external. It offers one read-only property, "xxyyzz",
// whose value is "Wibble"; nothing on it calls back into the launcher.

#include <cstdint>

#include "platform/automation.h"

class CImpIDispatch final : public IDispatch {
public:
    // Identifier of the one property; names match on their first three characters.
    static constexpr DISPID kPropertyId = 12345;

    CImpIDispatch() = default;
    ~CImpIDispatch() = default;  // the application owns the object and deletes it directly
    CImpIDispatch(const CImpIDispatch&) = delete;
    CImpIDispatch& operator=(const CImpIDispatch&) = delete;

    HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
    // The count only counts: the application, not the references, decides the lifetime.
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                          DISPID* rgDispId) override;
    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                   DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                   UINT* puArgErr) override;

private:
    std::int32_t m_nRefCount = 0;
};
