#include "platform/gtk/gtk_tray.h"

#include "platform/gtk/gtk_backend_impl.h"
#include "platform/gtk/gtk_pixels.h"
#include "platform/messages.h"

// GtkStatusIcon is deprecated, but it is what speaks the X tray protocol, including the double
// clicks that the newer indicator protocols cannot report.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace platform::gtk {

struct GtkTrayIcons::Icon {
    GtkTrayIcons* owner;
    UINT id;
    GtkStatusIcon* status;
};

GtkTrayIcons::~GtkTrayIcons() {
    while (!icons_.empty())
        Remove(icons_.begin()->first);
}

bool GtkTrayIcons::Add(UINT id, const PixelBuffer& icon, const std::string& tip) {
    Remove(id);
    GdkPixbuf* pixbuf = ToPixbuf(icon);
    if (pixbuf == nullptr)
        return false;
    GtkStatusIcon* status = gtk_status_icon_new_from_pixbuf(pixbuf);
    g_object_unref(pixbuf);
    gtk_status_icon_set_tooltip_text(status, tip.c_str());
    gtk_status_icon_set_title(status, tip.c_str());
    auto* entry = new Icon{this, id, status};
    icons_[id] = entry;
    // `activate` fires on both presses of a double click, so the raw button events are read.
    g_signal_connect(status, "button-press-event", G_CALLBACK(OnPress), entry);
    g_signal_connect(status, "button-release-event", G_CALLBACK(OnRelease), entry);
    gtk_status_icon_set_visible(status, TRUE);
    return true;
}

void GtkTrayIcons::Remove(UINT id) {
    auto it = icons_.find(id);
    if (it == icons_.end())
        return;
    Icon* entry = it->second;
    icons_.erase(it);
    g_signal_handlers_disconnect_by_data(entry->status, entry);
    gtk_status_icon_set_visible(entry->status, FALSE);
    g_object_unref(entry->status);
    delete entry;
}

gboolean GtkTrayIcons::OnPress(GtkStatusIcon* /*status*/, GdkEventButton* event, gpointer icon) {
    auto* entry = static_cast<Icon*>(icon);
    if (event->type == GDK_2BUTTON_PRESS && event->button == 1) {
        if (BackendSink* sink = entry->owner->backend_.Sink())
            sink->OnTrayMouse(entry->id, WM_LBUTTONDBLCLK);
    }
    return TRUE;
}

gboolean GtkTrayIcons::OnRelease(GtkStatusIcon* /*status*/, GdkEventButton* event, gpointer icon) {
    auto* entry = static_cast<Icon*>(icon);
    if (event->button == 3) {
        if (BackendSink* sink = entry->owner->backend_.Sink())
            sink->OnTrayMouse(entry->id, WM_RBUTTONUP);
    }
    return TRUE;
}

}  // namespace platform::gtk

#pragma GCC diagnostic pop
