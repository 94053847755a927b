#include "platform/sim/sim_text.h"

#include <algorithm>

namespace platform {

namespace {

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6);
}

bool IsSpace(char32_t c) {
    return c == U' ' || c == U'\t' || c == 0x3000 || c == 0xA0;
}

int Advance(char32_t c, const SimGlyphMetrics& m) {
    return IsWide(c) ? m.wideAdvance : m.advance;
}

int LineWidth(const std::u32string& line, const SimGlyphMetrics& m) {
    int w = 0;
    for (char32_t c : line)
        w += Advance(c, m);
    return w;
}

// Breaks text into lines: at line feeds unless single-line, and between words when a line would
// grow wider than maxWidth (word-break).
std::vector<std::u32string> LayoutLines(const std::vector<char32_t>& text, UINT format,
                                        int maxWidth, const SimGlyphMetrics& m) {
    std::vector<std::u32string> paragraphs(1);
    for (char32_t c : text) {
        if (c == U'\r')
            continue;
        if (c == U'\n') {
            if (format & kTextSingleLine) {
                paragraphs.back().push_back(U' ');
            } else {
                paragraphs.emplace_back();
            }
            continue;
        }
        paragraphs.back().push_back(c);
    }
    if ((format & kTextWordBreak) == 0 || (format & kTextSingleLine))
        return paragraphs;

    std::vector<std::u32string> lines;
    for (const auto& para : paragraphs) {
        std::u32string line;
        std::size_t i = 0;
        while (i < para.size()) {
            std::size_t end = i;
            while (end < para.size() && IsSpace(para[end]))
                ++end;
            while (end < para.size() && !IsSpace(para[end]))
                ++end;
            std::u32string word = para.substr(i, end - i);
            if (!line.empty() && LineWidth(line + word, m) > maxWidth) {
                lines.push_back(line);
                // A wrapped line does not start with the spaces that separated the words.
                std::size_t first = 0;
                while (first < word.size() && IsSpace(word[first]))
                    ++first;
                line = word.substr(first);
            } else {
                line += word;
            }
            i = end;
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

SimGlyphMetrics SimMetricsFor(const FontSpec& font) {
    const int h = std::max(4, font.pixelHeight);
    SimGlyphMetrics m;
    m.advance = std::max(2, (h * 3 + 4) / 5) + (font.bold ? 1 : 0);
    m.wideAdvance = h + (font.bold ? 1 : 0);
    m.lineHeight = h + std::max(1, h / 6);
    m.boxTop = h / 4;
    m.boxBottom = h - std::max(1, h / 8);
    return m;
}

std::vector<char32_t> DecodeUtf8(const std::string& utf8) {
    std::vector<char32_t> out;
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = s[i];
        int extra = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (i + static_cast<std::size_t>(extra) >= n) {  // truncated sequence
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char c = s[i + static_cast<std::size_t>(k)];
            if ((c & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

CSize MeasureSimText(const std::string& utf8, const FontSpec& font) {
    const SimGlyphMetrics m = SimMetricsFor(font);
    int w = 0;
    for (char32_t c : DecodeUtf8(utf8)) {
        if (c != U'\n' && c != U'\r')
            w += Advance(c, m);
    }
    return {w, m.lineHeight};
}

void DrawSimText(PixelBuffer& target, const CRect& clip, const CRect& layout,
                 const std::string& utf8, const FontSpec& font, COLORREF color, UINT format) {
    const SimGlyphMetrics m = SimMetricsFor(font);
    const CRect bounds =
        layout.Intersect(clip).Intersect(CRect(0, 0, target.Width(), target.Height()));
    if (bounds.IsRectEmpty())
        return;
    const auto lines = LayoutLines(DecodeUtf8(utf8), format, layout.Width(), m);
    const int blockHeight = static_cast<int>(lines.size()) * m.lineHeight;
    int y = layout.top;
    if (format & kTextVCenter)
        y = layout.top + (layout.Height() - blockHeight) / 2;
    const Argb pixel = OpaqueArgb(color);
    for (const auto& line : lines) {
        const int width = LineWidth(line, m);
        int x = layout.left;
        if (format & kTextCenter) {
            x = layout.left + (layout.Width() - width) / 2;
        } else if (format & kTextRight) {
            x = layout.right - width;
        }
        for (char32_t c : line) {
            const int adv = Advance(c, m);
            if (!IsSpace(c)) {
                const CRect box(x, y + m.boxTop, x + adv - 1, y + m.boxBottom);
                target.Fill(box.Intersect(bounds), pixel);
            }
            x += adv;
        }
        y += m.lineHeight;
    }
}

}  // namespace platform
