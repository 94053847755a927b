#include "platform/gtk/x11_hot_keys.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>

#include "platform/gtk/gtk_backend_impl.h"
#include "platform/gtk/gtk_keys.h"
#include "platform/messages.h"

namespace platform::gtk {

namespace {

// XGrabKey matches the modifier state exactly, so each key is grabbed once for every state of
// the lock keys that should not matter.
constexpr unsigned kLockVariants[] = {0, LockMask, Mod2Mask, LockMask | Mod2Mask};

Display* XDisplay() {
    return GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
}

}  // namespace

X11HotKeys::X11HotKeys(GtkBackend& backend) : backend_(backend) {
    root_ = gdk_get_default_root_window();
    gdk_window_add_filter(root_, Filter, this);
}

X11HotKeys::~X11HotKeys() {
    for (const auto& [id, grab] : grabs_)
        Ungrab(grab);
    gdk_window_remove_filter(root_, Filter, this);
}

bool X11HotKeys::Register(int id, UINT modifiers, UINT vk) {
    Unregister(id);
    const KeySym keysym = KeysymFromVirtualKey(vk);
    if (keysym == NoSymbol)
        return false;
    Display* display = XDisplay();
    const int keycode = XKeysymToKeycode(display, keysym);
    if (keycode == 0)
        return false;
    Grab grab{keycode, 0};
    if (modifiers & MOD_ALT)
        grab.modifiers |= Mod1Mask;
    if (modifiers & MOD_CONTROL)
        grab.modifiers |= ControlMask;
    if (modifiers & MOD_SHIFT)
        grab.modifiers |= ShiftMask;

    // A key another client holds raises BadAccess, which must not end the program.
    GdkDisplay* gdkDisplay = gdk_display_get_default();
    gdk_x11_display_error_trap_push(gdkDisplay);
    const Window root = GDK_WINDOW_XID(root_);
    for (unsigned lock : kLockVariants)
        XGrabKey(display, keycode, grab.modifiers | lock, root, True, GrabModeAsync, GrabModeAsync);
    XSync(display, False);
    if (gdk_x11_display_error_trap_pop(gdkDisplay) != 0) {
        Ungrab(grab);
        return false;
    }
    grabs_[id] = grab;
    return true;
}

void X11HotKeys::Unregister(int id) {
    auto it = grabs_.find(id);
    if (it == grabs_.end())
        return;
    Ungrab(it->second);
    grabs_.erase(it);
}

void X11HotKeys::Ungrab(const Grab& grab) {
    Display* display = XDisplay();
    GdkDisplay* gdkDisplay = gdk_display_get_default();
    gdk_x11_display_error_trap_push(gdkDisplay);
    for (unsigned lock : kLockVariants)
        XUngrabKey(display, grab.keycode, grab.modifiers | lock, GDK_WINDOW_XID(root_));
    gdk_x11_display_error_trap_pop_ignored(gdkDisplay);
}

GdkFilterReturn X11HotKeys::Filter(GdkXEvent* xevent, GdkEvent* /*event*/, gpointer self) {
    auto* keys = static_cast<X11HotKeys*>(self);
    const auto* xe = static_cast<XEvent*>(xevent);
    if (xe->type != KeyPress && xe->type != KeyRelease)
        return GDK_FILTER_CONTINUE;
    const unsigned state =
        xe->xkey.state & ~(LockMask | Mod2Mask) & (ShiftMask | ControlMask | Mod1Mask | Mod4Mask);
    for (const auto& [id, grab] : keys->grabs_) {
        if (static_cast<int>(xe->xkey.keycode) != grab.keycode || state != grab.modifiers)
            continue;
        if (xe->type == KeyPress) {
            const int hotKeyId = id;
            if (BackendSink* sink = keys->backend_.Sink())
                sink->OnHotKey(hotKeyId);
        }
        return GDK_FILTER_REMOVE;
    }
    return GDK_FILTER_CONTINUE;
}

}  // namespace platform::gtk
