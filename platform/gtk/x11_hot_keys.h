#pragma once
// Global hot keys: passive key grabs on the X root window.

#include <gdk/gdk.h>

#include <map>

#include "platform/backend.h"

namespace platform::gtk {

class GtkBackend;

class X11HotKeys {
public:
    explicit X11HotKeys(GtkBackend& backend);
    ~X11HotKeys();
    X11HotKeys(const X11HotKeys&) = delete;
    X11HotKeys& operator=(const X11HotKeys&) = delete;

    // False when the key has no key code here or another client holds it already.
    bool Register(int id, UINT modifiers, UINT vk);
    void Unregister(int id);

private:
    struct Grab {
        int keycode;
        unsigned modifiers;  // X modifier mask
    };
    void Ungrab(const Grab& grab);
    static GdkFilterReturn Filter(GdkXEvent* xevent, GdkEvent* event, gpointer self);

    GtkBackend& backend_;
    GdkWindow* root_ = nullptr;
    std::map<int, Grab> grabs_;
};

}  // namespace platform::gtk
