#include "platform/gtk/pango_text_renderer.h"

#include "platform/gtk/gtk_pixels.h"

namespace platform::gtk {

namespace {

// Chinese text must find a face whatever family the program asks for.
constexpr const char* kFallbackFamily = "Noto Sans CJK SC";

}  // namespace

PangoTextRenderer::PangoTextRenderer() {
    fontMap_ = pango_cairo_font_map_new();
    context_ = pango_font_map_create_context(fontMap_);
    // Grey antialiasing: sub-pixel colour fringes look wrong on transparent backgrounds.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    pango_cairo_context_set_font_options(context_, options);
    cairo_font_options_destroy(options);
}

PangoTextRenderer::~PangoTextRenderer() {
    g_object_unref(context_);
    g_object_unref(fontMap_);
}

void PangoTextRenderer::Draw(PixelBuffer& target, const CRect& clip, const CRect& layout,
                             const std::string& utf8, const FontSpec& font, COLORREF color,
                             UINT format) {
    const CRect area = clip.Intersect(CRect(0, 0, target.Width(), target.Height()));
    if (area.IsRectEmpty() || utf8.empty())
        return;

    cairo_surface_t* surface = WrapInSurface(target);
    cairo_t* cr = cairo_create(surface);
    cairo_rectangle(cr, area.left, area.top, area.Width(), area.Height());
    cairo_clip(cr);
    pango_cairo_update_context(cr, context_);

    PangoLayout* text = pango_layout_new(context_);
    const std::string family =
        (font.face.empty() ? std::string() : font.face + ",") + kFallbackFamily;
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, family.c_str());
    pango_font_description_set_absolute_size(desc, font.pixelHeight * PANGO_SCALE);
    pango_font_description_set_weight(desc, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(text, desc);
    pango_font_description_free(desc);

    const bool singleLine = (format & kTextSingleLine) != 0;
    const bool wordBreak = !singleLine && (format & kTextWordBreak) != 0;
    pango_layout_set_single_paragraph_mode(text, singleLine ? TRUE : FALSE);
    pango_layout_set_text(text, utf8.c_str(), static_cast<int>(utf8.size()));
    if (wordBreak) {
        pango_layout_set_width(text, layout.Width() * PANGO_SCALE);
        pango_layout_set_wrap(text, PANGO_WRAP_WORD_CHAR);
    }
    PangoAlignment align = PANGO_ALIGN_LEFT;
    if (format & kTextCenter)
        align = PANGO_ALIGN_CENTER;
    else if (format & kTextRight)
        align = PANGO_ALIGN_RIGHT;
    pango_layout_set_alignment(text, align);

    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(text, &width, &height);
    double x = layout.left;
    if (!wordBreak) {
        // Unwrapped text is as wide as its longest line; place that block in the rectangle.
        if (align == PANGO_ALIGN_CENTER)
            x += (layout.Width() - width) / 2.0;
        else if (align == PANGO_ALIGN_RIGHT)
            x += layout.Width() - width;
    }
    double y = layout.top;
    if (format & kTextVCenter)
        y += (layout.Height() - height) / 2.0;

    cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                         GetBValue(color) / 255.0);
    cairo_move_to(cr, static_cast<int>(x), static_cast<int>(y));
    pango_cairo_show_layout(cr, text);

    g_object_unref(text);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
}

}  // namespace platform::gtk
