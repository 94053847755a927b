#include "platform/automation.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

using Prefix = std::uint32_t;

std::atomic<std::size_t> g_outstanding{0};

constexpr char32_t kReplacement = 0xFFFD;

Prefix* PrefixOf(BSTR bstr) {
    return reinterpret_cast<Prefix*>(bstr) - 1;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* pch, UINT len) {
    // The prefix counts bytes in 32 bits; the block also holds the prefix and a NUL.
    constexpr std::size_t kMaxChars =
        (std::numeric_limits<Prefix>::max() - sizeof(Prefix) - sizeof(OLECHAR)) / sizeof(OLECHAR);
    if (len > kMaxChars)
        return nullptr;
    const std::size_t bytes = static_cast<std::size_t>(len) * sizeof(OLECHAR);
    void* block = std::malloc(sizeof(Prefix) + bytes + sizeof(OLECHAR));
    if (block == nullptr)
        return nullptr;
    auto* prefix = static_cast<Prefix*>(block);
    *prefix = static_cast<Prefix>(bytes);
    auto* chars = reinterpret_cast<OLECHAR*>(prefix + 1);
    if (pch != nullptr) {
        std::memcpy(chars, pch, bytes);
    } else {
        std::memset(chars, 0, bytes);
    }
    chars[len] = u'\0';
    g_outstanding.fetch_add(1, std::memory_order_relaxed);
    return chars;
}

BSTR SysAllocString(const OLECHAR* psz) {
    if (psz == nullptr)
        return nullptr;
    return SysAllocStringLen(psz, static_cast<UINT>(std::char_traits<char16_t>::length(psz)));
}

void SysFreeString(BSTR bstr) {
    if (bstr == nullptr)
        return;
    std::free(PrefixOf(bstr));
    g_outstanding.fetch_sub(1, std::memory_order_relaxed);
}

UINT SysStringLen(BSTR bstr) {
    if (bstr == nullptr)
        return 0;
    return static_cast<UINT>(*PrefixOf(bstr) / sizeof(OLECHAR));
}

std::size_t SysStringsOutstanding() {
    return g_outstanding.load(std::memory_order_relaxed);
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        // The second byte's range excludes overlong forms, surrogates and values past
        // U+10FFFF, so a sequence that completes is always a valid scalar value.
        std::size_t need = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        char32_t cp = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            need = 1;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            need = 2;
            cp = lead & 0x0F;
            if (lead == 0xE0)
                low = 0xA0;
            if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            need = 3;
            cp = lead & 0x07;
            if (lead == 0xF0)
                low = 0x90;
            if (lead == 0xF4)
                high = 0x8F;
        }
        std::size_t taken = 1;
        while (taken <= need && i + taken < utf8.size()) {
            const auto next = static_cast<unsigned char>(utf8[i + taken]);
            if (next < low || next > high)
                break;
            cp = (cp << 6) | (next & 0x3F);
            low = 0x80;
            high = 0xBF;
            ++taken;
        }
        // A malformed sequence becomes one U+FFFD for its longest valid beginning.
        AppendUtf16(out, need > 0 && taken == need + 1 ? cp : kReplacement);
        i += taken;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

BSTR Utf8ToBstr(std::string_view utf8) {
    const std::u16string wide = Utf8ToUtf16(utf8);
    if (wide.size() > std::numeric_limits<UINT>::max())
        return nullptr;
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string BstrToUtf8(BSTR bstr) {
    if (bstr == nullptr)
        return {};
    return Utf16ToUtf8(std::u16string_view(bstr, SysStringLen(bstr)));
}

void VariantInit(VARIANT* pvarg) {
    if (pvarg == nullptr)
        return;
    pvarg->vt = VT_EMPTY;
    pvarg->wReserved1 = pvarg->wReserved2 = pvarg->wReserved3 = 0;
    pvarg->byref = nullptr;
}

HRESULT VariantClear(VARIANT* pvarg) {
    if (pvarg == nullptr)
        return E_INVALIDARG;
    switch (pvarg->vt) {
        case VT_BSTR:
            SysFreeString(pvarg->bstrVal);
            break;
        case VT_DISPATCH:
            if (pvarg->pdispVal != nullptr)
                pvarg->pdispVal->Release();
            break;
        case VT_UNKNOWN:
            if (pvarg->punkVal != nullptr)
                pvarg->punkVal->Release();
            break;
        default:
            break;  // plain values and VT_BYREF references own nothing
    }
    VariantInit(pvarg);
    return S_OK;
}
