#include "platform/gtk/gtk_native_window.h"

#include <webkit2/webkit2.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/gtk/gtk_backend_impl.h"
#include "platform/gtk/gtk_keys.h"
#include "platform/gtk/gtk_pixels.h"
#include "platform/trace.h"

// Last: Xlib defines macros (None, Bool...) that other headers may use as names.
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

namespace platform::gtk {

namespace {

UINT KeyFlags(guint state) {
    UINT flags = 0;
    if (state & GDK_BUTTON1_MASK)
        flags |= kMouseLeftDown;
    if (state & GDK_BUTTON3_MASK)
        flags |= kMouseRightDown;
    if (state & GDK_SHIFT_MASK)
        flags |= kMouseShift;
    if (state & GDK_CONTROL_MASK)
        flags |= kMouseControl;
    return flags;
}

CPoint EventPoint(double x, double y) {
    return {static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
}

}  // namespace

GtkNativeWindow::GtkNativeWindow(GtkBackend& backend, HWND hwnd, const NativeWindowInfo& info)
    : backend_(backend),
      hwnd_(hwnd),
      taskbarButton_(info.taskbarButton),
      modalDialog_(info.modalDialog) {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_decorated(GTK_WINDOW(window_), FALSE);
    gtk_widget_set_app_paintable(window_, TRUE);
    gtk_window_set_title(GTK_WINDOW(window_), info.title.c_str());
    if (modalDialog_)
        gtk_window_set_type_hint(GTK_WINDOW(window_), GDK_WINDOW_TYPE_HINT_DIALOG);
    ApplyVisual();

    fixed_ = gtk_fixed_new();
    canvas_ = gtk_drawing_area_new();
    gtk_fixed_put(GTK_FIXED(fixed_), canvas_, 0, 0);
    gtk_container_add(GTK_CONTAINER(window_), fixed_);
    gtk_widget_show(canvas_);
    gtk_widget_show(fixed_);
    // Keys go to the core until the user clicks into a web view; GTK would otherwise give the
    // first web view the focus when the window is shown.
    gtk_widget_set_can_focus(canvas_, TRUE);
    gtk_window_set_focus(GTK_WINDOW(window_), canvas_);

    gtk_widget_add_events(canvas_, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK |
                                       GDK_BUTTON_RELEASE_MASK | GDK_ENTER_NOTIFY_MASK |
                                       GDK_LEAVE_NOTIFY_MASK);
    gtk_widget_add_events(window_, GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK | GDK_STRUCTURE_MASK |
                                       GDK_FOCUS_CHANGE_MASK);
    g_signal_connect(canvas_, "draw", G_CALLBACK(OnDraw), this);
    g_signal_connect(canvas_, "motion-notify-event", G_CALLBACK(OnMotion), this);
    g_signal_connect(canvas_, "button-press-event", G_CALLBACK(OnButton), this);
    g_signal_connect(canvas_, "button-release-event", G_CALLBACK(OnButton), this);
    g_signal_connect(canvas_, "enter-notify-event", G_CALLBACK(OnCrossing), this);
    g_signal_connect(canvas_, "leave-notify-event", G_CALLBACK(OnCrossing), this);
    g_signal_connect(window_, "key-press-event", G_CALLBACK(OnKey), this);
    g_signal_connect(window_, "key-release-event", G_CALLBACK(OnKey), this);
    g_signal_connect(window_, "configure-event", G_CALLBACK(OnConfigure), this);
    g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
    g_signal_connect(window_, "window-state-event", G_CALLBACK(OnWindowState), this);
    g_signal_connect(window_, "focus-in-event", G_CALLBACK(OnFocus), this);
    g_signal_connect(window_, "focus-out-event", G_CALLBACK(OnFocus), this);
    g_signal_connect(window_, "map-event", G_CALLBACK(OnMap), this);

    SetRect(info.rect);
    if (info.owner != nullptr)
        SetOwner(backend_.FindWindow(info.owner));
    ApplyTaskbarHints();
    gtk_widget_realize(window_);
    gtk_widget_realize(canvas_);
    // The window manager keeps a modal dialog above its owner. GTK's own modality is not used:
    // its grab would also block the tray icon and every other window, and the core runs the
    // modal loop itself.
    if (modalDialog_)
        gdk_window_set_modal_hint(gtk_widget_get_window(window_), TRUE);
}

GtkNativeWindow::~GtkNativeWindow() {
    g_signal_handlers_disconnect_by_data(window_, this);
    g_signal_handlers_disconnect_by_data(canvas_, this);
    if (surface_ != nullptr)
        cairo_surface_destroy(surface_);
    gtk_widget_destroy(window_);
}

BackendSink* GtkNativeWindow::Sink() const {
    return enabled_ ? backend_.Sink() : nullptr;
}

void GtkNativeWindow::ApplyVisual() {
    // An alpha channel whether or not a compositor runs now: one may start later. Without one
    // the bounding shape cuts the invisible pixels and partly transparent ones show their
    // premultiplied colour, as they would on a plain visual.
    GdkScreen* screen = gtk_widget_get_screen(window_);
    GdkVisual* visual = gdk_screen_get_rgba_visual(screen);
    if (visual == nullptr)
        visual = gdk_screen_get_system_visual(screen);
    gtk_widget_set_visual(window_, visual);
}

void GtkNativeWindow::ApplyTaskbarHints() {
    const gboolean skip = (modalDialog_ || !taskbarButton_) ? TRUE : FALSE;
    gtk_window_set_skip_taskbar_hint(GTK_WINDOW(window_), skip);
    gtk_window_set_skip_pager_hint(GTK_WINDOW(window_), skip);
}

void GtkNativeWindow::SetTitle(const std::string& title) {
    gtk_window_set_title(GTK_WINDOW(window_), title.c_str());
}

void GtkNativeWindow::SetIcon(const PixelBuffer& icon) {
    GdkPixbuf* pixbuf = ToPixbuf(icon);
    gtk_window_set_icon(GTK_WINDOW(window_), pixbuf);
    if (pixbuf != nullptr)
        g_object_unref(pixbuf);
}

void GtkNativeWindow::SetOwner(GtkNativeWindow* owner) {
    gtk_window_set_transient_for(GTK_WINDOW(window_), owner != nullptr ? owner->Window() : nullptr);
}

void GtkNativeWindow::SetTaskbarButton(bool shown) {
    taskbarButton_ = shown;
    ApplyTaskbarHints();
}

void GtkNativeWindow::SetRect(const CRect& screenRect) {
    const int width = std::max(1, screenRect.Width());
    const int height = std::max(1, screenRect.Height());
    const bool moved = !(screenRect.TopLeft() == rect_.TopLeft()) || requestedPositions_.empty();
    rect_ = screenRect;
    // The size is fixed: a web view's natural size follows its page and would otherwise grow
    // the window.
    GdkGeometry hints{};
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    gtk_window_set_geometry_hints(
        GTK_WINDOW(window_), nullptr, &hints,
        static_cast<GdkWindowHints>(GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE | GDK_HINT_USER_POS));
    gtk_widget_set_size_request(canvas_, width, height);
    gtk_window_resize(GTK_WINDOW(window_), width, height);
    if (moved) {
        requestedPositions_.push_back(screenRect.TopLeft());
        if (requestedPositions_.size() > 8)
            requestedPositions_.pop_front();
    }
    gtk_window_move(GTK_WINDOW(window_), screenRect.left, screenRect.top);
}

void GtkNativeWindow::Show(NativeShow how) {
    GtkWindow* window = GTK_WINDOW(window_);
    switch (how) {
        case NativeShow::Hide:
            gtk_widget_hide(window_);
            break;
        case NativeShow::Show:
        case NativeShow::ShowNoActivate:
            if (iconified_) {
                iconifyRequested_ = false;
                gtk_window_deiconify(window);
            }
            if (!gtk_widget_get_visible(window_)) {
                // Hiding lets GTK forget the position; place the window where the core has it.
                gtk_window_move(window, rect_.left, rect_.top);
                gtk_window_set_focus_on_map(window, how == NativeShow::Show ? TRUE : FALSE);
                gtk_widget_show(window_);
            }
            break;
        case NativeShow::Minimize:
            if (!iconified_)
                iconifyRequested_ = true;
            gtk_window_iconify(window);
            if (!gtk_widget_get_visible(window_)) {
                gtk_window_move(window, rect_.left, rect_.top);
                gtk_window_set_focus_on_map(window, FALSE);
                gtk_widget_show(window_);
            }
            break;
        case NativeShow::Restore:
            if (iconified_)
                iconifyRequested_ = false;
            gtk_window_deiconify(window);
            if (!gtk_widget_get_visible(window_))
                gtk_window_move(window, rect_.left, rect_.top);
            gtk_window_present_with_time(window, backend_.UserTime());
            break;
    }
}

void GtkNativeWindow::Activate() {
    gtk_window_present_with_time(GTK_WINDOW(window_), backend_.UserTime());
}

void GtkNativeWindow::SetEnabled(bool enabled) {
    enabled_ = enabled;
    gtk_widget_set_sensitive(fixed_, enabled ? TRUE : FALSE);
}

void GtkNativeWindow::Present(const PixelBuffer& content, ContentAlpha alpha) {
    if (surface_ != nullptr) {
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
    }
    content_ = content;
    alpha_ = alpha;
    if (!content_.Empty()) {
        surface_ = WrapInSurface(
            content_, alpha == ContentAlpha::Opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32);
    }
    gtk_widget_queue_draw(canvas_);
    UpdateShape();
}

void GtkNativeWindow::UpdateShape() {
    if (alpha_ == ContentAlpha::Opaque || content_.Empty()) {
        if (shape_ != nullptr) {
            gtk_widget_input_shape_combine_region(window_, nullptr);
            gtk_widget_shape_combine_region(window_, nullptr);
            cairo_region_destroy(shape_);
            shape_ = nullptr;
        }
        return;
    }
    cairo_region_t* region = OpaqueRegion(content_);
    // Web views are always part of the window, whatever is painted under them.
    GList* children = gtk_container_get_children(GTK_CONTAINER(fixed_));
    for (GList* it = children; it != nullptr; it = it->next) {
        auto* child = static_cast<GtkWidget*>(it->data);
        if (child == canvas_ || !gtk_widget_get_visible(child))
            continue;
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        gtk_container_child_get(GTK_CONTAINER(fixed_), child, "x", &x, "y", &y, nullptr);
        gtk_widget_get_size_request(child, &width, &height);
        const cairo_rectangle_int_t r{x, y, std::max(width, 0), std::max(height, 0)};
        cairo_region_union_rectangle(region, &r);
    }
    g_list_free(children);
    // Animated content is presented often while its outline stays the same.
    if (shape_ != nullptr && cairo_region_equal(shape_, region)) {
        cairo_region_destroy(region);
        return;
    }
    // The bounding shape is set even with a compositor: window managers that frame their
    // clients (openbox) shape the frame from it, and an unshaped frame catches the clicks that
    // the input shape lets through. Pixels with any alpha stay inside, so soft edges still
    // blend.
    gtk_widget_input_shape_combine_region(window_, region);
    gtk_widget_shape_combine_region(window_, region);
    if (shape_ != nullptr)
        cairo_region_destroy(shape_);
    shape_ = region;
}

void GtkNativeWindow::BeginMoveDrag(CPoint screenPt) {
    guint32 time = gtk_get_current_event_time();
    if (time == GDK_CURRENT_TIME)
        time = backend_.UserTime();
    gtk_window_begin_move_drag(GTK_WINDOW(window_), 1, screenPt.x, screenPt.y, time);
}

void GtkNativeWindow::SetCursor(StandardCursor cursor) {
    GdkWindow* window = gtk_widget_get_window(canvas_);
    if (window == nullptr)
        return;
    GdkCursor* gdkCursor = nullptr;
    if (cursor == StandardCursor::Hand)
        gdkCursor = gdk_cursor_new_from_name(gdk_window_get_display(window), "pointer");
    gdk_window_set_cursor(window, gdkCursor);
    if (gdkCursor != nullptr)
        g_object_unref(gdkCursor);
}

bool GtkNativeWindow::HoldsInputFocus() const {
    GdkWindow* own = gtk_widget_get_window(window_);
    if (own == nullptr)
        return false;
    GdkDisplay* display = gdk_window_get_display(own);
    ::Window focus = None;
    int revertTo = 0;
    XGetInputFocus(GDK_DISPLAY_XDISPLAY(display), &focus, &revertTo);
    if (focus == None || focus == PointerRoot)
        return false;
    if (focus == GDK_WINDOW_XID(own))
        return true;
    GdkWindow* focused = gdk_x11_window_lookup_for_display(display, focus);
    return focused != nullptr && gdk_window_get_toplevel(focused) == own;
}

gboolean GtkNativeWindow::OnDraw(GtkWidget* /*widget*/, cairo_t* cr, gpointer self) {
    auto* w = static_cast<GtkNativeWindow*>(self);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    if (w->surface_ != nullptr)
        cairo_set_source_surface(cr, w->surface_, 0, 0);
    else
        cairo_set_source_rgba(cr, 0, 0, 0, 0);
    cairo_paint(cr);
    if (w->surface_ != nullptr && !w->contentDrawn_) {
        w->contentDrawn_ = true;
        if (Trace::Enabled())
            Trace::Record("window-drawn " + w->TraceName());
    }
    return TRUE;
}

gboolean GtkNativeWindow::OnMap(GtkWidget* /*widget*/, GdkEvent* /*event*/, gpointer self) {
    auto* w = static_cast<GtkNativeWindow*>(self);
    if (Trace::Enabled())
        Trace::Record("window-mapped " + w->TraceName());
    // Windows owned by this one may have been mapped before it, when the window manager could
    // not yet tie them to it: tie them again now and put them back above it.
    w->backend_.KeepOwnedAbove(w->Window());
    return FALSE;
}

void GtkNativeWindow::ReassertOwnerAbove(GtkWindow* owner) {
    GtkWindow* window = GTK_WINDOW(window_);
    if (gtk_window_get_transient_for(window) != owner)
        return;
    gtk_window_set_transient_for(window, nullptr);
    gtk_window_set_transient_for(window, owner);
    if (gtk_widget_get_mapped(window_))
        gdk_window_raise(gtk_widget_get_window(window_));
}

std::string GtkNativeWindow::TraceName() const {
    char handle[32];
    std::snprintf(handle, sizeof handle, "%p", static_cast<const void*>(hwnd_));
    const char* title = gtk_window_get_title(GTK_WINDOW(window_));
    return std::string(handle) + " " + std::to_string(rect_.Width()) + "x" +
           std::to_string(rect_.Height()) + " " + (title != nullptr ? title : "");
}

// Every handler below calls the sink last: the core may destroy this window from inside it.

gboolean GtkNativeWindow::OnMotion(GtkWidget* /*widget*/, GdkEventMotion* event, gpointer self) {
    auto* w = static_cast<GtkNativeWindow*>(self);
    if (BackendSink* sink = w->Sink())
        sink->OnMouse(w->hwnd_, MouseKind::Move, EventPoint(event->x, event->y),
                      KeyFlags(event->state));
    return TRUE;
}

gboolean GtkNativeWindow::OnButton(GtkWidget* /*widget*/, GdkEventButton* event, gpointer self) {
    auto* w = static_cast<GtkNativeWindow*>(self);
    // GDK follows the second press of a double click with a 2BUTTON event; the core times
    // double clicks itself, so only the plain presses count.
    if (event->type != GDK_BUTTON_PRESS && event->type != GDK_BUTTON_RELEASE)
        return TRUE;
    const bool down = event->type == GDK_BUTTON_PRESS;
    MouseKind kind;
    UINT button;
    if (event->button == 1) {
        kind = down ? MouseKind::LeftDown : MouseKind::LeftUp;
        button = kMouseLeftDown;
    } else if (event->button == 3) {
        kind = down ? MouseKind::RightDown : MouseKind::RightUp;
        button = kMouseRightDown;
    } else {
        return FALSE;
    }
    // A click on the drawn content takes the keys back from a web view.
    if (down && !gtk_widget_has_focus(w->canvas_))
        gtk_widget_grab_focus(w->canvas_);
    // GDK's state is the one before the event; the core wants the one after it.
    UINT flags = KeyFlags(event->state);
    flags = down ? (flags | button) : (flags & ~button);
    if (BackendSink* sink = w->Sink())
        sink->OnMouse(w->hwnd_, kind, EventPoint(event->x, event->y), flags);
    return TRUE;
}

gboolean GtkNativeWindow::OnCrossing(GtkWidget* /*widget*/, GdkEventCrossing* event,
                                     gpointer self) {
    auto* w = static_cast<GtkNativeWindow*>(self);
    BackendSink* sink = w->Sink();
    if (sink == nullptr || event->detail == GDK_NOTIFY_INFERIOR)
        return FALSE;
    if (event->type == GDK_LEAVE_NOTIFY) {
        // Leaving the drawn content: out of the window, into one of its web views, or under a
        // grab such as a popup menu.
        sink->OnMouse(w->hwnd_, MouseKind::Leave, EventPoint(event->x, event->y),
                      KeyFlags(event->state));
    } else if (event->mode == GDK_CROSSING_NORMAL || event->mode == GDK_CROSSING_UNGRAB) {
        // The pointer arrived without moving (a window above went away): tell where it is.
        sink->OnMouse(w->hwnd_, MouseKind::Move, EventPoint(event->x, event->y),
                      KeyFlags(event->state));
    }
    return FALSE;
}

gboolean GtkNativeWindow::OnKey(GtkWidget* /*widget*/, GdkEventKey* event, gpointer self) {
    auto* w = static_cast<GtkNativeWindow*>(self);
    // Keys for a focused web view are the page's.
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(w->window_));
    if (focus != nullptr && WEBKIT_IS_WEB_VIEW(focus))
        return FALSE;
    const UINT vk = VirtualKeyFromKeyval(event->keyval);
    if (vk == 0)
        return FALSE;
    if (BackendSink* sink = w->Sink())
        sink->OnKey(w->hwnd_, event->type == GDK_KEY_PRESS, vk);
    return TRUE;
}

gboolean GtkNativeWindow::OnConfigure(GtkWidget* /*widget*/, GdkEventConfigure* event,
                                      gpointer self) {
    auto* w = static_cast<GtkNativeWindow*>(self);
    const CPoint pos(event->x, event->y);
    // The window manager echoes the core's own moves, sometimes late: those are no news.
    auto echo = std::find(w->requestedPositions_.begin(), w->requestedPositions_.end(), pos);
    if (echo != w->requestedPositions_.end()) {
        w->requestedPositions_.erase(w->requestedPositions_.begin(), echo + 1);
        w->knownPosition_ = pos;
        return FALSE;
    }
    if (pos == w->knownPosition_)
        return FALSE;
    w->knownPosition_ = pos;
    w->rect_ = CRect(pos, w->rect_.Size());
    if (BackendSink* sink = w->backend_.Sink())
        sink->OnWindowMoved(w->hwnd_, pos);
    return FALSE;
}

gboolean GtkNativeWindow::OnDelete(GtkWidget* /*widget*/, GdkEvent* /*event*/, gpointer self) {
    auto* w = static_cast<GtkNativeWindow*>(self);
    if (BackendSink* sink = w->backend_.Sink())
        sink->OnWindowCloseRequest(w->hwnd_);
    return TRUE;  // the core decides whether the window goes
}

gboolean GtkNativeWindow::OnWindowState(GtkWidget* /*widget*/, GdkEventWindowState* event,
                                        gpointer self) {
    auto* w = static_cast<GtkNativeWindow*>(self);
    if ((event->changed_mask & GDK_WINDOW_STATE_ICONIFIED) == 0)
        return FALSE;
    const bool minimized = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
    if (minimized == w->iconified_)
        return FALSE;
    w->iconified_ = minimized;
    if (w->iconifyRequested_.has_value()) {
        const bool requested = *w->iconifyRequested_;
        w->iconifyRequested_.reset();
        if (requested == minimized)
            return FALSE;
    }
    if (BackendSink* sink = w->backend_.Sink())
        sink->OnWindowMinimized(w->hwnd_, minimized);
    return FALSE;
}

gboolean GtkNativeWindow::OnFocus(GtkWidget* /*widget*/, GdkEventFocus* /*event*/, gpointer self) {
    auto* w = static_cast<GtkNativeWindow*>(self);
    // GDK also reports the focus as lost while another client (or a hot key's grab) holds the
    // keyboard; the window is still the active one then, so X is asked where the focus is.
    const bool active = w->HoldsInputFocus();
    if (active == w->active_)
        return FALSE;
    w->active_ = active;
    if (BackendSink* sink = w->backend_.Sink())
        sink->OnWindowActivated(w->hwnd_, active);
    return FALSE;
}

}  // namespace platform::gtk
