#include "platform/nls.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

constexpr DWORD kSupportedFlags = NORM_IGNORECASE | NORM_IGNOREWIDTH;

// Full-width counterparts of U+FF61..U+FF9F (half-width katakana and CJK punctuation).
constexpr std::array<char16_t, 0x3F> kHalfwidthKatakana = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x3099, 0x309A};

// Compatibility jamo for U+FFA0..U+FFDC; 0 marks unassigned code points.
constexpr std::array<char16_t, 0x3D> kHalfwidthHangul = {
    0x3164, 0x3131, 0x3132, 0x3133, 0x3134, 0x3135, 0x3136, 0x3137, 0x3138, 0x3139, 0x313A,
    0x313B, 0x313C, 0x313D, 0x313E, 0x313F, 0x3140, 0x3141, 0x3142, 0x3143, 0x3144, 0x3145,
    0x3146, 0x3147, 0x3148, 0x3149, 0x314A, 0x314B, 0x314C, 0x314D, 0x314E, 0,      0,
    0,      0x314F, 0x3150, 0x3151, 0x3152, 0x3153, 0x3154, 0,      0,      0x3155, 0x3156,
    0x3157, 0x3158, 0x3159, 0x315A, 0,      0,      0x315B, 0x315C, 0x315D, 0x315E, 0x315F,
    0x3160, 0,      0,      0x3161, 0x3162, 0x3163};

// U+FFE0..U+FFEE: full-width currency signs and half-width arrows and shapes.
constexpr std::array<char16_t, 0x0F> kWidthSigns = {0x00A2, 0x00A3, 0x00AC, 0x00AF, 0x00A6,
                                                    0x00A5, 0x20A9, 0,      0x2502, 0x2190,
                                                    0x2191, 0x2192, 0x2193, 0x25A0, 0x25CB};

// Voiced full-width katakana split into base and combining mark, because their
// half-width spelling is two characters (base, then U+FF9E or U+FF9F).
struct VoicedKana {
    char16_t composed;
    char16_t base;
    char16_t mark;
};
constexpr VoicedKana kVoicedKatakana[] = {
    {0x30AC, 0x30AB, 0x3099}, {0x30AE, 0x30AD, 0x3099}, {0x30B0, 0x30AF, 0x3099},
    {0x30B2, 0x30B1, 0x3099}, {0x30B4, 0x30B3, 0x3099}, {0x30B6, 0x30B5, 0x3099},
    {0x30B8, 0x30B7, 0x3099}, {0x30BA, 0x30B9, 0x3099}, {0x30BC, 0x30BB, 0x3099},
    {0x30BE, 0x30BD, 0x3099}, {0x30C0, 0x30BF, 0x3099}, {0x30C2, 0x30C1, 0x3099},
    {0x30C5, 0x30C4, 0x3099}, {0x30C7, 0x30C6, 0x3099}, {0x30C9, 0x30C8, 0x3099},
    {0x30D0, 0x30CF, 0x3099}, {0x30D1, 0x30CF, 0x309A}, {0x30D3, 0x30D2, 0x3099},
    {0x30D4, 0x30D2, 0x309A}, {0x30D6, 0x30D5, 0x3099}, {0x30D7, 0x30D5, 0x309A},
    {0x30D9, 0x30D8, 0x3099}, {0x30DA, 0x30D8, 0x309A}, {0x30DC, 0x30DB, 0x3099},
    {0x30DD, 0x30DB, 0x309A}, {0x30F4, 0x30A6, 0x3099}, {0x30F7, 0x30EF, 0x3099},
    {0x30F8, 0x30F0, 0x3099}, {0x30F9, 0x30F1, 0x3099}, {0x30FA, 0x30F2, 0x3099},
    {0x30FE, 0x30FD, 0x3099}};

char16_t FoldWidth(char16_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E)
        return static_cast<char16_t>(c - 0xFEE0);
    if (c == 0x3000)
        return u' ';
    if (c == 0xFF5F)
        return 0x2985;
    if (c == 0xFF60)
        return 0x2986;
    if (c >= 0xFF61 && c <= 0xFF9F)
        return kHalfwidthKatakana[c - 0xFF61];
    if (c >= 0xFFA0 && c <= 0xFFDC && kHalfwidthHangul[c - 0xFFA0] != 0) {
        return kHalfwidthHangul[c - 0xFFA0];
    }
    if (c >= 0xFFE0 && c <= 0xFFEE && kWidthSigns[c - 0xFFE0] != 0)
        return kWidthSigns[c - 0xFFE0];
    return c;
}

char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + (u'a' - u'A'));
    if (c >= 0xFF21 && c <= 0xFF3A)
        return static_cast<char16_t>(c + 0x20);  // full-width A-Z
    return c;
}

// Yields the folded code units of one string, stopping at its count or its NUL.
class FoldedReader {
public:
    FoldedReader(const OLECHAR* s, int cch, DWORD flags) : s_(s), left_(cch), flags_(flags) {}

    bool Next(char16_t& out) {
        if (pending_ != 0) {
            out = pending_;
            pending_ = 0;
            return true;
        }
        if (left_ == 0 || *s_ == u'\0')
            return false;
        char16_t c = *s_++;
        if (left_ > 0)
            --left_;
        if (flags_ & NORM_IGNOREWIDTH) {
            c = FoldWidth(c);
            const auto* voiced =
                std::find_if(std::begin(kVoicedKatakana), std::end(kVoicedKatakana),
                             [c](const VoicedKana& v) { return v.composed == c; });
            if (voiced != std::end(kVoicedKatakana)) {
                c = voiced->base;
                pending_ = voiced->mark;
            }
        }
        if (flags_ & NORM_IGNORECASE)
            c = FoldCase(c);
        out = c;
        return true;
    }

private:
    const OLECHAR* s_;
    int left_;  // negative: until the NUL
    DWORD flags_;
    char16_t pending_ = 0;
};

}  // namespace

int CompareStringW(LCID /*locale*/, DWORD flags, const OLECHAR* s1, int cch1, const OLECHAR* s2,
                   int cch2) {
    if (s1 == nullptr || s2 == nullptr || (flags & ~kSupportedFlags) != 0)
        return 0;
    FoldedReader a(s1, cch1, flags);
    FoldedReader b(s2, cch2, flags);
    for (;;) {
        char16_t ca = 0;
        char16_t cb = 0;
        const bool hasA = a.Next(ca);
        const bool hasB = b.Next(cb);
        if (!hasA && !hasB)
            return CSTR_EQUAL;
        if (!hasA)
            return CSTR_LESS_THAN;
        if (!hasB)
            return CSTR_GREATER_THAN;
        if (ca != cb)
            return ca < cb ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
    }
}
