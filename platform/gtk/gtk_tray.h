#pragma once
// Tray icons in the X system tray.

#include <gtk/gtk.h>

#include <map>
#include <string>

#include "platform/backend.h"

namespace platform::gtk {

class GtkBackend;

class GtkTrayIcons {
public:
    explicit GtkTrayIcons(GtkBackend& backend) : backend_(backend) {}
    ~GtkTrayIcons();
    GtkTrayIcons(const GtkTrayIcons&) = delete;
    GtkTrayIcons& operator=(const GtkTrayIcons&) = delete;

    bool Add(UINT id, const PixelBuffer& icon, const std::string& tip);
    void Remove(UINT id);

private:
    struct Icon;
    static gboolean OnPress(GtkStatusIcon* status, GdkEventButton* event, gpointer icon);
    static gboolean OnRelease(GtkStatusIcon* status, GdkEventButton* event, gpointer icon);

    GtkBackend& backend_;
    std::map<UINT, Icon*> icons_;
};

}  // namespace platform::gtk
