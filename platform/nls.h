#pragma once
// String comparison with the flags of the Windows national language support call.

#include "platform/automation.h"

constexpr DWORD NORM_IGNORECASE = 0x00000001;
constexpr DWORD NORM_IGNOREWIDTH = 0x00020000;

constexpr int CSTR_LESS_THAN = 1;
constexpr int CSTR_EQUAL = 2;
constexpr int CSTR_GREATER_THAN = 3;

// Compares up to cch1 characters of s1 with up to cch2 characters of s2; a negative count
// means the string is NUL-terminated. Reading always stops at a NUL, so a count longer than
// the string never reads past its end. Returns 0 for a null string or an unsupported flag.
//
// Flags: NORM_IGNOREWIDTH treats full-width ASCII, the ideographic space and half-width
// katakana, hangul and signs as their usual-width forms; NORM_IGNORECASE folds A-Z (also in
// full width). The order is that of the folded UTF-16 code units, not a linguistic sort:
// equality is what callers rely on. The locale is accepted and not consulted.
int CompareStringW(LCID locale, DWORD flags, const OLECHAR* s1, int cch1, const OLECHAR* s2,
                   int cch2);
