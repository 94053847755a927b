#include "platform/gtk/gtk_backend.h"

#include <gdk/gdkx.h>

#include <algorithm>
#include <string>

#include "platform/gtk/gtk_backend_impl.h"
#include "platform/gtk/gtk_browser_view.h"
#include "platform/gtk/gtk_modal_ui.h"
#include "platform/gtk/gtk_native_window.h"
#include "platform/gtk/gtk_tray.h"
#include "platform/gtk/pango_text_renderer.h"
#include "platform/gtk/x11_hot_keys.h"

namespace platform::gtk {

std::unique_ptr<Backend> CreateBackend(int* argc, char*** argv) {
    if (!gtk_init_check(argc, argv))
        return nullptr;
    // Hot keys and window placement speak X11.
    if (!GDK_IS_X11_DISPLAY(gdk_display_get_default()))
        return nullptr;
    return std::make_unique<GtkBackend>();
}

GtkBackend::GtkBackend()
    : text_(std::make_unique<PangoTextRenderer>()),
      hotKeys_(std::make_unique<X11HotKeys>(*this)),
      tray_(std::make_unique<GtkTrayIcons>(*this)) {}

GtkBackend::~GtkBackend() {
    tray_.reset();
    hotKeys_.reset();
    windows_.clear();
    if (webContext_ != nullptr)
        g_object_unref(webContext_);
}

BackendCapabilities GtkBackend::Capabilities() const {
    BackendCapabilities caps;
    caps.perPixelAlpha = Composited();
    caps.windowShapes = true;
    return caps;
}

bool GtkBackend::Composited() const {
    return gdk_screen_is_composited(gdk_screen_get_default()) != FALSE;
}

GdkMonitor* GtkBackend::PrimaryMonitor() const {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    // A bare X server (Xvfb) names no primary monitor.
    if (monitor == nullptr)
        monitor = gdk_display_get_monitor(display, 0);
    return monitor;
}

CRect GtkBackend::ScreenRect() const {
    GdkRectangle r{};
    if (GdkMonitor* monitor = PrimaryMonitor())
        gdk_monitor_get_geometry(monitor, &r);
    return CRect(CPoint(r.x, r.y), CSize(r.width, r.height));
}

CRect GtkBackend::WorkArea() const {
    GdkRectangle r{};
    if (GdkMonitor* monitor = PrimaryMonitor())
        gdk_monitor_get_workarea(monitor, &r);
    return CRect(CPoint(r.x, r.y), CSize(r.width, r.height));
}

CPoint GtkBackend::CursorPos() const {
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    int x = 0;
    int y = 0;
    if (seat != nullptr)
        gdk_device_get_position(gdk_seat_get_pointer(seat), nullptr, &x, &y);
    return {x, y};
}

unsigned GtkBackend::DoubleClickTimeMs() const {
    gint ms = 400;
    g_object_get(gtk_settings_get_default(), "gtk-double-click-time", &ms, nullptr);
    return ms > 0 ? static_cast<unsigned>(ms) : 400u;
}

void GtkBackend::KeepOwnedAbove(GtkWindow* owner) {
    for (auto& [hwnd, window] : windows_)
        window->ReassertOwnerAbove(owner);
}

GtkNativeWindow* GtkBackend::FindWindow(HWND hwnd) const {
    auto it = windows_.find(hwnd);
    return it != windows_.end() ? it->second.get() : nullptr;
}

std::uint32_t GtkBackend::UserTime() const {
    guint32 time = gtk_get_current_event_time();
    if (time == GDK_CURRENT_TIME)
        time = gdk_x11_display_get_user_time(gdk_display_get_default());
    return time;
}

void GtkBackend::CreateNativeWindow(HWND hwnd, const NativeWindowInfo& info) {
    windows_.erase(hwnd);
    windows_[hwnd] = std::make_unique<GtkNativeWindow>(*this, hwnd, info);
}

void GtkBackend::DestroyNativeWindow(HWND hwnd) {
    auto it = windows_.find(hwnd);
    if (it == windows_.end())
        return;
    // Out of the table first: destroying the widgets may call back into the backend.
    std::unique_ptr<GtkNativeWindow> window = std::move(it->second);
    windows_.erase(it);
}

void GtkBackend::SetTitle(HWND hwnd, const std::string& title) {
    if (GtkNativeWindow* w = FindWindow(hwnd))
        w->SetTitle(title);
}

void GtkBackend::SetIcon(HWND hwnd, const PixelBuffer& icon) {
    if (GtkNativeWindow* w = FindWindow(hwnd))
        w->SetIcon(icon);
}

void GtkBackend::SetOwner(HWND hwnd, HWND owner) {
    if (GtkNativeWindow* w = FindWindow(hwnd))
        w->SetOwner(FindWindow(owner));
}

void GtkBackend::SetTaskbarButton(HWND hwnd, bool shown) {
    if (GtkNativeWindow* w = FindWindow(hwnd))
        w->SetTaskbarButton(shown);
}

void GtkBackend::SetRect(HWND hwnd, const CRect& screenRect) {
    if (GtkNativeWindow* w = FindWindow(hwnd))
        w->SetRect(screenRect);
}

void GtkBackend::Show(HWND hwnd, NativeShow how) {
    if (GtkNativeWindow* w = FindWindow(hwnd))
        w->Show(how);
}

void GtkBackend::Activate(HWND hwnd) {
    if (GtkNativeWindow* w = FindWindow(hwnd))
        w->Activate();
}

void GtkBackend::SetEnabled(HWND hwnd, bool enabled) {
    if (GtkNativeWindow* w = FindWindow(hwnd))
        w->SetEnabled(enabled);
}

void GtkBackend::PresentWindow(HWND hwnd, const PixelBuffer& content, ContentAlpha alpha) {
    if (GtkNativeWindow* w = FindWindow(hwnd))
        w->Present(content, alpha);
}

void GtkBackend::BeginMoveDrag(HWND hwnd, CPoint screenPt) {
    if (GtkNativeWindow* w = FindWindow(hwnd))
        w->BeginMoveDrag(screenPt);
}

void GtkBackend::SetCursor(HWND hwnd, StandardCursor cursor) {
    if (GtkNativeWindow* w = FindWindow(hwnd))
        w->SetCursor(cursor);
}

void GtkBackend::ProcessEvents(bool wait, std::optional<std::uint64_t> deadlineMs) {
    GMainContext* context = g_main_context_default();
    struct Timer {
        guint id = 0;
        bool fired = false;
    } timer;
    if (wait && deadlineMs.has_value()) {
        const std::uint64_t now = NowMs();
        if (*deadlineMs <= now) {
            wait = false;
        } else {
            // The timer only has to end the sleep; its dispatch counts as the batch.
            timer.id = g_timeout_add(
                static_cast<guint>(std::min<std::uint64_t>(*deadlineMs - now, G_MAXUINT)),
                [](gpointer data) -> gboolean {
                    static_cast<Timer*>(data)->fired = true;
                    return G_SOURCE_REMOVE;
                },
                &timer);
        }
    }
    g_main_context_iteration(context, wait ? TRUE : FALSE);
    // Whatever else is already waiting belongs to the same batch; bounded so that a source that
    // is always ready cannot hold the caller here.
    for (int i = 0; i < 64 && g_main_context_pending(context); ++i)
        g_main_context_iteration(context, FALSE);
    if (timer.id != 0 && !timer.fired)
        g_source_remove(timer.id);
}

void GtkBackend::Wake() {
    g_main_context_wakeup(nullptr);
}

std::uint64_t GtkBackend::NowMs() const {
    return static_cast<std::uint64_t>(g_get_monotonic_time() / 1000);
}

void GtkBackend::DrawText(PixelBuffer& target, const CRect& clip, const CRect& layout,
                          const std::string& utf8, const FontSpec& font, COLORREF color,
                          UINT format) {
    text_->Draw(target, clip, layout, utf8, font, color, format);
}

namespace {

std::string PageModulesDirectory() {
    // web-extensions/ next to the executable, wherever the build or the install put both.
    gchar* exe = g_file_read_link("/proc/self/exe", nullptr);
    if (exe == nullptr)
        return {};
    gchar* dir = g_path_get_dirname(exe);
    gchar* modules = g_build_filename(dir, "web-extensions", nullptr);
    std::string result;
    if (g_file_test(modules, G_FILE_TEST_IS_DIR))
        result = modules;
    else
        g_warning("no page modules in %s: pages get no window.external", modules);
    g_free(modules);
    g_free(dir);
    g_free(exe);
    return result;
}

}  // namespace

WebKitWebContext* GtkBackend::WebContext() {
    // One context for every view: one set of cookies, one cache, one web process pool.
    if (webContext_ == nullptr) {
        webContext_ = WEBKIT_WEB_CONTEXT(g_object_ref(webkit_web_context_get_default()));
        // Before the first web process starts: it loads the modules it finds there.
        const std::string modules = PageModulesDirectory();
        if (!modules.empty())
            webkit_web_context_set_web_extensions_directory(webContext_, modules.c_str());
    }
    return webContext_;
}

std::unique_ptr<BrowserView> GtkBackend::CreateBrowserView(HWND host, const CRect& rectInWindow,
                                                           const BrowserOptions& options) {
    return std::make_unique<GtkBrowserView>(*this, host, rectInWindow, options);
}

bool GtkBackend::RegisterHotKey(int id, UINT modifiers, UINT vk) {
    return hotKeys_->Register(id, modifiers, vk);
}

void GtkBackend::UnregisterHotKey(int id) {
    hotKeys_->Unregister(id);
}

bool GtkBackend::AddTrayIcon(UINT id, const PixelBuffer& icon, const std::string& tip) {
    return tray_->Add(id, icon, tip);
}

void GtkBackend::RemoveTrayIcon(UINT id) {
    tray_->Remove(id);
}

UINT GtkBackend::TrackPopupMenu(const std::vector<MenuItem>& items, CPoint screenPt) {
    return RunPopupMenu(items, screenPt);
}

void GtkBackend::ShowMessageBox(const std::string& text, const std::string& caption, bool error) {
    RunMessageBox(text, caption, error);
}

}  // namespace platform::gtk
