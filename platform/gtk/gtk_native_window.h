#pragma once
// One top-level window on the GTK desktop: an undecorated GtkWindow whose content is a picture
// the core painted, with the window's web views stacked above it.

#include <gtk/gtk.h>

#include <cstdint>
#include <deque>
#include <optional>

#include "platform/backend.h"

namespace platform::gtk {

class GtkBackend;

class GtkNativeWindow {
public:
    GtkNativeWindow(GtkBackend& backend, HWND hwnd, const NativeWindowInfo& info);
    ~GtkNativeWindow();
    GtkNativeWindow(const GtkNativeWindow&) = delete;
    GtkNativeWindow& operator=(const GtkNativeWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    GtkWindow* Window() const { return GTK_WINDOW(window_); }
    // The container web views are placed in, in window coordinates.
    GtkFixed* Container() const { return GTK_FIXED(fixed_); }

    void SetTitle(const std::string& title);
    void SetIcon(const PixelBuffer& icon);
    void SetOwner(GtkNativeWindow* owner);
    // Re-ties this window to owner, if it is owner's, and raises it above owner.
    void ReassertOwnerAbove(GtkWindow* owner);
    void SetTaskbarButton(bool shown);
    void SetRect(const CRect& screenRect);
    void Show(NativeShow how);
    void Activate();
    void SetEnabled(bool enabled);
    void Present(const PixelBuffer& content, ContentAlpha alpha);
    void BeginMoveDrag(CPoint screenPt);
    void SetCursor(StandardCursor cursor);

    // Recomputes the window's input and bounding shapes from the content and the web views.
    void UpdateShape();

private:
    void ApplyVisual();
    void ApplyTaskbarHints();
    BackendSink* Sink() const;
    bool HoldsInputFocus() const;

    static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
    static gboolean OnMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self);
    static gboolean OnButton(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean OnCrossing(GtkWidget* widget, GdkEventCrossing* event, gpointer self);
    static gboolean OnKey(GtkWidget* widget, GdkEventKey* event, gpointer self);
    static gboolean OnConfigure(GtkWidget* widget, GdkEventConfigure* event, gpointer self);
    static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
    static gboolean OnWindowState(GtkWidget* widget, GdkEventWindowState* event, gpointer self);
    static gboolean OnFocus(GtkWidget* widget, GdkEventFocus* event, gpointer self);
    static gboolean OnMap(GtkWidget* widget, GdkEvent* event, gpointer self);
    // "<handle> <width>x<height> <title>", naming the window in the trace.
    std::string TraceName() const;

    GtkBackend& backend_;
    HWND hwnd_;
    GtkWidget* window_ = nullptr;
    GtkWidget* fixed_ = nullptr;
    GtkWidget* canvas_ = nullptr;

    CRect rect_;
    bool taskbarButton_ = true;
    bool modalDialog_ = false;
    bool enabled_ = true;
    bool active_ = false;
    bool iconified_ = false;  // as the desktop last reported it
    std::optional<bool>
        iconifyRequested_;  // a change the core asked for and the desktop has not shown yet
    std::deque<CPoint> requestedPositions_;  // moves not yet echoed by the window manager
    CPoint knownPosition_;

    PixelBuffer content_;
    ContentAlpha alpha_ = ContentAlpha::Opaque;
    cairo_surface_t* surface_ = nullptr;
    cairo_region_t* shape_ = nullptr;  // the shape last given to the window, if any
    bool contentDrawn_ = false;  // the content has reached the screen once (traced)
};

}  // namespace platform::gtk
