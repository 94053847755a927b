#pragma once
// Text rasterised with Pango into the framework's pixel buffers.

#include <pango/pangocairo.h>

#include <string>

#include "platform/backend.h"

namespace platform::gtk {

class PangoTextRenderer {
public:
    PangoTextRenderer();
    ~PangoTextRenderer();
    PangoTextRenderer(const PangoTextRenderer&) = delete;
    PangoTextRenderer& operator=(const PangoTextRenderer&) = delete;

    void Draw(PixelBuffer& target, const CRect& clip, const CRect& layout, const std::string& utf8,
              const FontSpec& font, COLORREF color, UINT format);

private:
    PangoFontMap* fontMap_ = nullptr;
    PangoContext* context_ = nullptr;
};

}  // namespace platform::gtk
