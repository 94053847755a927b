#pragma once
// Automation types the browser glue trades with pages: BSTR strings, VARIANT values and
// the IDispatch interface, laid out and named as in OLE Automation.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com.h"

using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;

// Length-prefixed UTF-16 string: a 32-bit byte count sits just before the first
// character, and a NUL follows the last. A null BSTR is the empty string.
using BSTR = OLECHAR*;

// Allocates a copy of a NUL-terminated string; null for a null source or when out of memory.
BSTR SysAllocString(const OLECHAR* psz);
// Allocates len characters copied from pch, or zero-filled when pch is null.
// Null when out of memory or when len cannot be represented.
BSTR SysAllocStringLen(const OLECHAR* pch, UINT len);
void SysFreeString(BSTR bstr);  // null is fine
UINT SysStringLen(BSTR bstr);   // characters, embedded NULs included; 0 for null
// Strings allocated and not yet freed in this process; lets callers check ownership hand-offs.
std::size_t SysStringsOutstanding();

// UTF-8 <-> UTF-16. Malformed input (stray bytes, unpaired surrogates) becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
// A new BSTR the caller frees with SysFreeString; null only when out of memory.
BSTR Utf8ToBstr(std::string_view utf8);
std::string BstrToUtf8(BSTR bstr);

using VARTYPE = std::uint16_t;
enum : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_BYREF = 0x4000,
};

using VARIANT_BOOL = std::int16_t;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

using DISPID = LONG;
using LCID = DWORD;
using SCODE = LONG;
constexpr DISPID DISPID_UNKNOWN = -1;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;

constexpr WORD DISPATCH_METHOD = 0x1;
constexpr WORD DISPATCH_PROPERTYGET = 0x2;
constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

constexpr HRESULT DISP_E_UNKNOWNINTERFACE = static_cast<HRESULT>(0x80020001u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006u);
constexpr HRESULT DISP_E_BADVARTYPE = static_cast<HRESULT>(0x80020008u);

struct IDispatch;
struct ITypeInfo;  // type information is never offered

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;
        std::int16_t iVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        LONG* plVal;
        VARIANT_BOOL* pboolVal;
        BSTR* pbstrVal;
        IDispatch** ppdispVal;
        VARIANT* pvarVal;
        void* byref;
    };
};
using VARIANTARG = VARIANT;

// Marks the variant empty without looking at what it held.
void VariantInit(VARIANT* pvarg);
// Frees what the variant owns (its BSTR, its reference on an interface) and marks it empty.
// A VT_BYREF variant owns nothing. E_INVALIDARG for a null pointer.
HRESULT VariantClear(VARIANT* pvarg);

struct DISPPARAMS {
    VARIANTARG* rgvarg;
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    void* pvReserved;
    HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
    SCODE scode;
};

inline constexpr IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Late-bound automation interface, with the COM slot order.
struct IDispatch : IUnknown {
    virtual HRESULT GetTypeInfoCount(UINT* pctinfo) = 0;
    virtual HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) = 0;
    virtual HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                  DISPID* rgDispId) = 0;
    virtual HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                           DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                           UINT* puArgErr) = 0;

protected:
    ~IDispatch() = default;
};
using LPDISPATCH = IDispatch*;
