#pragma once
// Conversions between the framework's premultiplied ARGB pictures and cairo / GDK objects.

#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include "platform/pixel_buffer.h"

namespace platform::gtk {

// A cairo surface over the buffer's own memory (no copy). The buffer must outlive the surface and
// must not be resized meanwhile. The caller destroys the surface.
cairo_surface_t* WrapInSurface(PixelBuffer& buffer);
cairo_surface_t* WrapInSurface(const PixelBuffer& buffer, cairo_format_t format);

// A straight-alpha RGBA pixbuf, as window and tray icons want. The caller unrefs it.
GdkPixbuf* ToPixbuf(const PixelBuffer& buffer);

// The pixels whose alpha is above zero. The caller destroys the region.
cairo_region_t* OpaqueRegion(const PixelBuffer& buffer);

}  // namespace platform::gtk
