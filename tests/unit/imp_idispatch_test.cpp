#include "browser/imp_idispatch.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr IID kIID_IDispatchEx = {
    0xA6EF9860, 0xC720, 0x11D0, {0x93, 0x37, 0x00, 0xA0, 0xC9, 0x0D, 0xCA, 0xA9}};
constexpr LCID kLocale = LOCALE_USER_DEFAULT;

// Heap copy of exactly the name and its NUL, so any read past the name trips the sanitizer.
std::unique_ptr<OLECHAR[]> ExactCopy(std::u16string_view name) {
    auto copy = std::make_unique<OLECHAR[]>(name.size() + 1);
    name.copy(copy.get(), name.size());
    copy[name.size()] = u'\0';
    return copy;
}

class ExternalObjectTest : public ::testing::Test {
protected:
    // On the heap, so a Release that destroyed the object would show as a use after free.
    std::unique_ptr<CImpIDispatch> object_ = std::make_unique<CImpIDispatch>();
    IDispatch* dispatch_ = object_.get();

    HRESULT IdsOf(std::vector<LPOLESTR> names, std::vector<DISPID>& ids) {
        ids.assign(names.size(), 777);  // sentinel: every entry must be written
        return dispatch_->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()),
                                        kLocale, ids.data());
    }
};

struct NameCase {
    const char* label;
    std::u16string_view name;
    bool matches;
};

const NameCase kNames[] = {
    {"full_name", u"xxyyzz", true},
    {"first_three_letters", u"xxy", true},
    {"longer_name_with_the_prefix", u"xxyabc", true},
    {"capitals", u"XXY", false},
    {"first_letter_capital", u"Xxyyzz", false},
    {"xxz_prefix", u"xxzyzz", false},
    {"two_letters", u"xx", false},
    {"one_letter", u"x", false},
    {"empty", u"", false},
    {"nul_inside_the_prefix", std::u16string_view(u"xx\0yzz", 6), false},
    {"full_width", u"\uFF58\uFF58\uFF59", true},
    {"mixed_widths", u"\uFF58x\uFF59yzz", true},
    {"full_width_capitals", u"\uFF38\uFF38\uFF39", false},
    {"ideographic_space", u"xx\u3000", false},
    {"unrelated", u"location", false},
};

class NameMatchTest : public ExternalObjectTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(NameMatchTest, MatchesOnFirstThreeCharactersRespectingCase) {
    const NameCase& c = GetParam();
    auto name = ExactCopy(c.name);
    std::vector<DISPID> ids;
    const HRESULT hr = IdsOf({name.get()}, ids);
    if (c.matches) {
        EXPECT_EQ(hr, S_OK);
        EXPECT_EQ(ids[0], 12345);
    } else {
        EXPECT_EQ(hr, DISP_E_UNKNOWNNAME);
        EXPECT_EQ(ids[0], DISPID_UNKNOWN);
    }
}

INSTANTIATE_TEST_SUITE_P(Names, NameMatchTest, ::testing::ValuesIn(kNames),
                         [](const ::testing::TestParamInfo<NameCase>& test_info) {
                             return std::string(test_info.param.label);
                         });

TEST_F(ExternalObjectTest, EveryNameIsResolvedEvenAfterAFailure) {
    auto good = ExactCopy(u"xxyyzz");
    auto bad = ExactCopy(u"abc");
    std::vector<DISPID> ids;

    EXPECT_EQ(IdsOf({good.get(), bad.get()}, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids, (std::vector<DISPID>{12345, DISPID_UNKNOWN}));

    EXPECT_EQ(IdsOf({bad.get(), good.get(), nullptr, good.get()}, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids, (std::vector<DISPID>{DISPID_UNKNOWN, 12345, DISPID_UNKNOWN, 12345}));

    EXPECT_EQ(IdsOf({good.get(), good.get()}, ids), S_OK);
    EXPECT_EQ(ids, (std::vector<DISPID>{12345, 12345}));
}

TEST_F(ExternalObjectTest, MissingArraysAreRefusedAndNoNamesIsFine) {
    LPOLESTR names[] = {nullptr};
    DISPID id = 777;
    EXPECT_EQ(dispatch_->GetIDsOfNames(IID_NULL, nullptr, 1, kLocale, &id), E_POINTER);
    EXPECT_EQ(dispatch_->GetIDsOfNames(IID_NULL, names, 1, kLocale, nullptr), E_POINTER);
    EXPECT_EQ(id, 777);
    EXPECT_EQ(dispatch_->GetIDsOfNames(IID_NULL, nullptr, 0, kLocale, nullptr), S_OK);
}

struct InvokeCase {
    const char* label;
    DISPID id;
    WORD flags;
    bool yieldsValue;
};

const InvokeCase kInvokes[] = {
    {"property_get", 12345, DISPATCH_PROPERTYGET, true},
    {"call_with_get_flag", 12345, DISPATCH_METHOD | DISPATCH_PROPERTYGET, true},
    {"plain_call", 12345, DISPATCH_METHOD, false},
    {"put", 12345, DISPATCH_PROPERTYPUT, false},
    {"put_ref", 12345, DISPATCH_PROPERTYPUTREF, false},
    {"unknown_id_get", DISPID_UNKNOWN, DISPATCH_PROPERTYGET, false},
    {"neighbour_id_get", 12346, DISPATCH_PROPERTYGET, false},
    {"zero_id_get", 0, DISPATCH_PROPERTYGET, false},
};

class InvokeTest : public ExternalObjectTest, public ::testing::WithParamInterface<InvokeCase> {};

TEST_P(InvokeTest, OnlyAPropertyGetOfTheOneIdYieldsWibble) {
    const InvokeCase& c = GetParam();
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = 5;
    DISPID named = -3;  // DISPID_PROPERTYPUT, as engines pass it for puts
    DISPPARAMS params{&argument, &named, 1, 1};
    VARIANT result;
    VariantInit(&result);
    result.vt = VT_I4;
    result.lVal = 42;  // the callee must leave this alone unless it answers
    const std::size_t before = SysStringsOutstanding();

    EXPECT_EQ(
        dispatch_->Invoke(c.id, IID_NULL, kLocale, c.flags, &params, &result, nullptr, nullptr),
        S_OK);

    if (c.yieldsValue) {
        ASSERT_EQ(result.vt, VT_BSTR);
        EXPECT_EQ(BstrToUtf8(result.bstrVal), "Wibble");
        EXPECT_EQ(SysStringLen(result.bstrVal), 6u);
        EXPECT_EQ(SysStringsOutstanding(), before + 1);  // the caller owns the string
        VariantClear(&result);
    } else {
        EXPECT_EQ(result.vt, VT_I4);
        EXPECT_EQ(result.lVal, 42);
    }
    EXPECT_EQ(SysStringsOutstanding(), before);
    EXPECT_EQ(argument.vt, VT_I4);
    EXPECT_EQ(argument.lVal, 5);
}

INSTANTIATE_TEST_SUITE_P(Calls, InvokeTest, ::testing::ValuesIn(kInvokes),
                         [](const ::testing::TestParamInfo<InvokeCase>& test_info) {
                             return std::string(test_info.param.label);
                         });

TEST_F(ExternalObjectTest, GetWithoutResultVariableSucceedsAndAllocatesNothing) {
    const std::size_t before = SysStringsOutstanding();
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(dispatch_->Invoke(12345, IID_NULL, kLocale, DISPATCH_PROPERTYGET, &none, nullptr,
                                nullptr, nullptr),
              S_OK);
    EXPECT_EQ(dispatch_->Invoke(12345, IID_NULL, kLocale, DISPATCH_PROPERTYGET, nullptr, nullptr,
                                nullptr, nullptr),
              S_OK);
    EXPECT_EQ(SysStringsOutstanding(), before);
}

TEST_F(ExternalObjectTest, OffersNoTypeInformation) {
    UINT count = 99;
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(&count);
    ITypeInfo* const untouched = info;
    EXPECT_EQ(dispatch_->GetTypeInfoCount(&count), E_NOTIMPL);
    EXPECT_EQ(dispatch_->GetTypeInfo(0, kLocale, &info), E_NOTIMPL);
    EXPECT_EQ(count, 99u);
    EXPECT_EQ(info, untouched);
}

TEST_F(ExternalObjectTest, QueryInterfaceYieldsOneObjectForUnknownAndDispatchOnly) {
    void* asUnknown = nullptr;
    void* asDispatch = nullptr;
    ASSERT_EQ(dispatch_->QueryInterface(IID_IUnknown, &asUnknown), S_OK);
    ASSERT_EQ(dispatch_->QueryInterface(IID_IDispatch, &asDispatch), S_OK);
    EXPECT_EQ(asUnknown, static_cast<void*>(dispatch_));
    EXPECT_EQ(asDispatch, static_cast<void*>(dispatch_));
    EXPECT_EQ(dispatch_->AddRef(), 3u);  // one reference per successful query

    for (const IID& other : {kIID_IDispatchEx, IID_NULL}) {
        void* out = &asUnknown;  // must be cleared, not left pointing somewhere
        EXPECT_EQ(dispatch_->QueryInterface(other, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(dispatch_->AddRef(), 4u);  // failed queries took no reference
    EXPECT_EQ(dispatch_->QueryInterface(IID_IDispatch, nullptr), E_POINTER);
}

TEST_F(ExternalObjectTest, ReleasingToZeroLeavesTheObjectUsable) {
    EXPECT_EQ(dispatch_->AddRef(), 1u);
    EXPECT_EQ(dispatch_->AddRef(), 2u);
    EXPECT_EQ(dispatch_->Release(), 1u);
    EXPECT_EQ(dispatch_->Release(), 0u);

    auto name = ExactCopy(u"xxyyzz");
    std::vector<DISPID> ids;
    EXPECT_EQ(IdsOf({name.get()}, ids), S_OK);
    EXPECT_EQ(ids[0], 12345);
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(dispatch_->Invoke(12345, IID_NULL, kLocale, DISPATCH_PROPERTYGET, nullptr, &result,
                                nullptr, nullptr),
              S_OK);
    EXPECT_EQ(BstrToUtf8(result.bstrVal), "Wibble");
    VariantClear(&result);
    EXPECT_EQ(dispatch_->AddRef(), 1u);
}

}  // namespace
