#include "platform/automation.h"
#include "platform/nls.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

// ---- BSTR and UTF-8 ----

struct TextCase {
    const char* label;
    std::string utf8;
    std::u16string utf16;
};

const TextCase kTexts[] = {
    {"empty", "", u""},
    {"ascii", "Wibble", u"Wibble"},
    {"cjk", "\xE9\x80\x80\xE5\x87\xBA", u"\u9000\u51FA"},  // 退出
    {"two_byte", "caf\xC3\xA9", u"caf\u00E9"},
    {"non_bmp", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},  // U+1F600 as a surrogate pair
    {"mixed", "a\xE2\x82\xAC\xF0\x9D\x84\x9E\xE4\xB8\xAD", u"a\u20AC\xD834\xDD1E\u4E2D"},
    {"embedded_nul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    {"highest_code_point", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
};

class TextRoundTripTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextRoundTripTest, Utf8AndBstrConvertBothWaysExactly) {
    const TextCase& c = GetParam();
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);

    const std::size_t before = SysStringsOutstanding();
    BSTR bstr = Utf8ToBstr(c.utf8);
    ASSERT_NE(bstr, nullptr);  // even the empty text is a real string
    EXPECT_EQ(SysStringLen(bstr), c.utf16.size());
    EXPECT_EQ(std::u16string(bstr, SysStringLen(bstr)), c.utf16);
    EXPECT_EQ(bstr[SysStringLen(bstr)], u'\0');
    EXPECT_EQ(BstrToUtf8(bstr), c.utf8);
    SysFreeString(bstr);
    EXPECT_EQ(SysStringsOutstanding(), before);
}

INSTANTIATE_TEST_SUITE_P(Texts, TextRoundTripTest, ::testing::ValuesIn(kTexts),
                         [](const ::testing::TestParamInfo<TextCase>& test_info) {
                             return std::string(test_info.param.label);
                         });

TEST(TextConversion, MalformedUtf8BecomesReplacementCharacters) {
    struct Case {
        std::string utf8;
        std::u16string expected;
    };
    const Case cases[] = {
        {"x\xC3", u"x\uFFFD"},                              // truncated sequence
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong '/'
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},            // overlong three-byte form
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
        {"\x80x", u"\uFFFDx"},                              // stray continuation byte
        {"\xE4\xB8x", u"\uFFFDx"},                          // cut short by an ASCII byte
    };
    for (const Case& c : cases) {
        std::u16string got = Utf8ToUtf16(c.utf8);
        // Compare as UTF-8 so a failure prints readably.
        EXPECT_EQ(Utf16ToUtf8(got), Utf16ToUtf8(c.expected)) << "input bytes: " << c.utf8.size();
        EXPECT_EQ(got, c.expected);
    }
}

TEST(TextConversion, UnpairedSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf16ToUtf8(u"a\xD800"), "a\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xDC00') + u"b"),
              "\xEF\xBF\xBD"
              "b");
    // A low surrogate before a high one is two strays, not a pair.
    EXPECT_EQ(Utf16ToUtf8(u"\xDE00\xD83D"), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Bstr, LengthPrefixCountsBytesAndNullMeansEmpty) {
    const char16_t text[] = u"ab\0cd";
    BSTR bstr = SysAllocStringLen(text, 5);
    ASSERT_NE(bstr, nullptr);
    std::uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<const char*>(bstr) - sizeof(prefix), sizeof(prefix));
    EXPECT_EQ(prefix, 10u);
    EXPECT_EQ(SysStringLen(bstr), 5u);
    EXPECT_EQ(bstr[5], u'\0');
    SysFreeString(bstr);

    BSTR zeroed = SysAllocStringLen(nullptr, 3);
    ASSERT_NE(zeroed, nullptr);
    EXPECT_EQ(std::u16string(zeroed, 4), std::u16string(4, u'\0'));
    SysFreeString(zeroed);

    BSTR copy = SysAllocString(u"stops here\0not copied");
    EXPECT_EQ(SysStringLen(copy), 10u);
    SysFreeString(copy);

    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(BstrToUtf8(nullptr), "");
    SysFreeString(nullptr);
    EXPECT_EQ(SysAllocStringLen(u"x", 0xFFFFFFFFu), nullptr);  // too long for the prefix
}

// ---- VARIANT ----

// Counts references so a test can see what VariantClear released.
class CountingDispatch final : public IDispatch {
public:
    int refs = 1;
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG Release() override { return static_cast<ULONG>(--refs); }
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
};

TEST(Variant, ClearFreesWhatTheVariantOwnsAndNothingElse) {
    const std::size_t before = SysStringsOutstanding();
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(v.vt, VT_EMPTY);

    v.vt = VT_BSTR;
    v.bstrVal = Utf8ToBstr("\xE9\x80\x80\xE5\x87\xBA");
    EXPECT_EQ(SysStringsOutstanding(), before + 1);
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(SysStringsOutstanding(), before);

    CountingDispatch object;
    v.vt = VT_DISPATCH;
    v.pdispVal = &object;
    object.AddRef();
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(object.refs, 1);
    EXPECT_EQ(VariantClear(&v), S_OK);  // already empty: nothing more released
    EXPECT_EQ(object.refs, 1);

    v.vt = VT_DISPATCH;
    v.pdispVal = nullptr;
    EXPECT_EQ(VariantClear(&v), S_OK);

    // A reference variant points at someone else's string; clearing it must not free it.
    BSTR borrowed = SysAllocString(u"kept");
    v.vt = VT_BYREF | VT_BSTR;
    v.pbstrVal = &borrowed;
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(BstrToUtf8(borrowed), "kept");
    SysFreeString(borrowed);
    EXPECT_EQ(SysStringsOutstanding(), before);

    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

// ---- CompareStringW ----

struct CompareCase {
    const char* label;
    std::u16string_view a;
    int na;
    std::u16string_view b;
    int nb;
    DWORD flags;
    int expected;
};

const CompareCase kCompares[] = {
    {"equal", u"abc", -1, u"abc", -1, 0, CSTR_EQUAL},
    {"less", u"abc", -1, u"abd", -1, 0, CSTR_LESS_THAN},
    {"greater", u"abd", -1, u"abc", -1, 0, CSTR_GREATER_THAN},
    {"prefix_is_less", u"ab", -1, u"abc", -1, 0, CSTR_LESS_THAN},
    {"counts_limit", u"abcX", 3, u"abcY", 3, 0, CSTR_EQUAL},
    {"zero_counts", u"a", 0, u"b", 0, 0, CSTR_EQUAL},
    {"count_past_nul_stops", u"ab", 5, u"ab", -1, 0, CSTR_EQUAL},
    {"case_sensitive", u"ABC", -1, u"abc", -1, 0, CSTR_LESS_THAN},
    {"ignore_case", u"ABC", -1, u"abc", -1, NORM_IGNORECASE, CSTR_EQUAL},
    {"ignore_case_full_width", u"\uFF21", -1, u"\uFF41", -1, NORM_IGNORECASE, CSTR_EQUAL},
    {"width_kept", u"\uFF41", -1, u"a", -1, 0, CSTR_GREATER_THAN},
    {"width_ascii_range_ends", u"\uFF01\uFF5E", -1, u"!~", -1, NORM_IGNOREWIDTH, CSTR_EQUAL},
    {"width_keeps_case", u"\uFF21", -1, u"a", -1, NORM_IGNOREWIDTH, CSTR_LESS_THAN},
    {"width_and_case", u"\uFF21", -1, u"a", -1, NORM_IGNOREWIDTH | NORM_IGNORECASE, CSTR_EQUAL},
    {"ideographic_space", u"a\u3000b", -1, u"a b", -1, NORM_IGNOREWIDTH, CSTR_EQUAL},
    {"half_width_katakana", u"\uFF76\uFF85", -1, u"\u30AB\u30CA", -1, NORM_IGNOREWIDTH, CSTR_EQUAL},
    {"voiced_katakana", u"\uFF76\uFF9E", -1, u"\u30AC", -1, NORM_IGNOREWIDTH, CSTR_EQUAL},
    {"semi_voiced_katakana", u"\u30D1", -1, u"\uFF8A\uFF9F", -1, NORM_IGNOREWIDTH, CSTR_EQUAL},
    {"voiced_is_not_plain", u"\uFF76", -1, u"\u30AC", -1, NORM_IGNOREWIDTH, CSTR_LESS_THAN},
    {"half_width_hangul", u"\uFFA1\uFFC2", -1, u"\u3131\u314F", -1, NORM_IGNOREWIDTH, CSTR_EQUAL},
    {"full_width_yen", u"\uFFE5", -1, u"\u00A5", -1, NORM_IGNOREWIDTH, CSTR_EQUAL},
};

class CompareTest : public ::testing::TestWithParam<CompareCase> {};

TEST_P(CompareTest, ComparesFoldedText) {
    const CompareCase& c = GetParam();
    // Exact-size heap copies: a read past the NUL would be caught by the sanitizer.
    auto copy = [](std::u16string_view s) {
        auto p = std::make_unique<OLECHAR[]>(s.size() + 1);
        s.copy(p.get(), s.size());
        p[s.size()] = u'\0';
        return p;
    };
    auto a = copy(c.a);
    auto b = copy(c.b);
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, c.flags, a.get(), c.na, b.get(), c.nb),
              c.expected);
    // Swapping the sides mirrors the answer.
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, c.flags, b.get(), c.nb, a.get(), c.na),
              CSTR_LESS_THAN + CSTR_GREATER_THAN - c.expected);
}

INSTANTIATE_TEST_SUITE_P(Strings, CompareTest, ::testing::ValuesIn(kCompares),
                         [](const ::testing::TestParamInfo<CompareCase>& test_info) {
                             return std::string(test_info.param.label);
                         });

TEST(CompareStringW, InvalidArgumentsGiveZero) {
    EXPECT_EQ(CompareStringW(0, 0, nullptr, -1, u"a", -1), 0);
    EXPECT_EQ(CompareStringW(0, 0, u"a", -1, nullptr, 0), 0);
    EXPECT_EQ(CompareStringW(0, 0x10000000, u"a", -1, u"a", -1), 0);  // unsupported flag
}

}  // namespace
