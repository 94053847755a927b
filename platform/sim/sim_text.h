#pragma once
// Text on the simulated desktop: every glyph is a filled box in the text colour, so a test can
// find text by its pixels without depending on any font. Deterministic and cheap.

#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/pixel_buffer.h"

namespace platform {

// Glyph cell geometry for a font: full-width characters (CJK, kana, hangul) take a square cell.
struct SimGlyphMetrics {
    int advance = 0;      // narrow cell width, including a one-pixel gap
    int wideAdvance = 0;  // full-width cell width
    int lineHeight = 0;
    int boxTop = 0;  // box rows within a line: [boxTop, boxBottom)
    int boxBottom = 0;
};
SimGlyphMetrics SimMetricsFor(const FontSpec& font);

// Splits UTF-8 text into code points; an invalid byte becomes U+FFFD.
std::vector<char32_t> DecodeUtf8(const std::string& utf8);

// Size of the text laid out on one line.
CSize MeasureSimText(const std::string& utf8, const FontSpec& font);

// Draws the text's glyph boxes into target, laid out in layout (kText* format bits), clipped to
// layout, clip and the target.
void DrawSimText(PixelBuffer& target, const CRect& clip, const CRect& layout,
                 const std::string& utf8, const FontSpec& font, COLORREF color, UINT format);

}  // namespace platform
