#include "platform/gtk/gtk_pixels.h"

#include <gdk/gdk.h>

#include <cstring>

namespace platform::gtk {

cairo_surface_t* WrapInSurface(PixelBuffer& buffer) {
    return WrapInSurface(buffer, CAIRO_FORMAT_ARGB32);
}

cairo_surface_t* WrapInSurface(const PixelBuffer& buffer, cairo_format_t format) {
    // PixelBuffer rows are packed 0xAARRGGBB words in native order, which is exactly cairo's
    // ARGB32 (and RGB24, which ignores the top byte) with a stride of width * 4.
    auto* data = reinterpret_cast<unsigned char*>(const_cast<Argb*>(buffer.Pixels().data()));
    return cairo_image_surface_create_for_data(data, format, buffer.Width(), buffer.Height(),
                                               buffer.Width() * 4);
}

GdkPixbuf* ToPixbuf(const PixelBuffer& buffer) {
    if (buffer.Empty())
        return nullptr;
    GdkPixbuf* pixbuf =
        gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, buffer.Width(), buffer.Height());
    if (pixbuf == nullptr)
        return nullptr;
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    for (int y = 0; y < buffer.Height(); ++y) {
        const Argb* src = buffer.Row(y);
        guchar* dst = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < buffer.Width(); ++x, dst += 4) {
            const Argb p = src[x];
            const int a = AlphaOf(p);
            // Undo the premultiplication, rounding to nearest.
            auto straight = [a](int c) { return a == 0 ? 0 : (c * 255 + a / 2) / a; };
            dst[0] = static_cast<guchar>(straight(RedOf(p)));
            dst[1] = static_cast<guchar>(straight(GreenOf(p)));
            dst[2] = static_cast<guchar>(straight(BlueOf(p)));
            dst[3] = static_cast<guchar>(a);
        }
    }
    return pixbuf;
}

cairo_region_t* OpaqueRegion(const PixelBuffer& buffer) {
    if (buffer.Empty())
        return cairo_region_create();
    // GDK's own conversion of an ARGB surface keeps only pixels above half alpha; a one-bit mask
    // built here keeps every pixel that shows at all.
    cairo_surface_t* mask =
        cairo_image_surface_create(CAIRO_FORMAT_A1, buffer.Width(), buffer.Height());
    cairo_surface_flush(mask);
    unsigned char* bits = cairo_image_surface_get_data(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    for (int y = 0; y < buffer.Height(); ++y) {
        const Argb* src = buffer.Row(y);
        auto* row =
            reinterpret_cast<std::uint32_t*>(bits + static_cast<std::ptrdiff_t>(y) * stride);
        std::memset(row, 0, static_cast<std::size_t>(stride));
        for (int x = 0; x < buffer.Width(); ++x) {
            if (AlphaOf(src[x]) == 0)
                continue;
                // A1 pixels are bits of native-endian 32-bit words, least significant bit first on
                // little-endian machines.
#if G_BYTE_ORDER == G_LITTLE_ENDIAN
            row[x >> 5] |= 1u << (x & 31);
#else
            row[x >> 5] |= 0x80000000u >> (x & 31);
#endif
        }
    }
    cairo_surface_mark_dirty(mask);
    cairo_region_t* region = gdk_cairo_region_create_from_surface(mask);
    cairo_surface_destroy(mask);
    return region;
}

}  // namespace platform::gtk
