#pragma once
// The GTK backend's class. Only the backend's own files include this header.

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/backend.h"

namespace platform::gtk {

class GtkNativeWindow;
class GtkTrayIcons;
class PangoTextRenderer;
class X11HotKeys;

class GtkBackend final : public Backend {
public:
    GtkBackend();
    ~GtkBackend() override;
    GtkBackend(const GtkBackend&) = delete;
    GtkBackend& operator=(const GtkBackend&) = delete;

    const char* Name() const override { return "gtk"; }
    void SetSink(BackendSink* sink) override { sink_ = sink; }
    BackendCapabilities Capabilities() const override;

    CRect ScreenRect() const override;
    CRect WorkArea() const override;
    CPoint CursorPos() const override;
    unsigned DoubleClickTimeMs() const override;

    void CreateNativeWindow(HWND hwnd, const NativeWindowInfo& info) override;
    void DestroyNativeWindow(HWND hwnd) override;
    void SetTitle(HWND hwnd, const std::string& title) override;
    void SetIcon(HWND hwnd, const PixelBuffer& icon) override;
    void SetOwner(HWND hwnd, HWND owner) override;
    void SetTaskbarButton(HWND hwnd, bool shown) override;
    void SetRect(HWND hwnd, const CRect& screenRect) override;
    void Show(HWND hwnd, NativeShow how) override;
    void Activate(HWND hwnd) override;
    void SetEnabled(HWND hwnd, bool enabled) override;
    void PresentWindow(HWND hwnd, const PixelBuffer& content, ContentAlpha alpha) override;
    void BeginMoveDrag(HWND hwnd, CPoint screenPt) override;
    void SetCursor(HWND hwnd, StandardCursor cursor) override;

    void ProcessEvents(bool wait, std::optional<std::uint64_t> deadlineMs) override;
    void Wake() override;
    std::uint64_t NowMs() const override;

    void DrawText(PixelBuffer& target, const CRect& clip, const CRect& layout,
                  const std::string& utf8, const FontSpec& font, COLORREF color,
                  UINT format) override;

    std::unique_ptr<BrowserView> CreateBrowserView(HWND host, const CRect& rectInWindow,
                                                   const BrowserOptions& options) override;

    bool RegisterHotKey(int id, UINT modifiers, UINT vk) override;
    void UnregisterHotKey(int id) override;

    bool AddTrayIcon(UINT id, const PixelBuffer& icon, const std::string& tip) override;
    void RemoveTrayIcon(UINT id) override;

    UINT TrackPopupMenu(const std::vector<MenuItem>& items, CPoint screenPt) override;
    void ShowMessageBox(const std::string& text, const std::string& caption, bool error) override;

    // For the backend's own parts.
    BackendSink* Sink() const { return sink_; }
    GtkNativeWindow* FindWindow(HWND hwnd) const;
    void KeepOwnedAbove(GtkWindow* owner);
    bool Composited() const;
    WebKitWebContext* WebContext();
    // The timestamp to hand the window manager for a request made on the user's behalf.
    std::uint32_t UserTime() const;

private:
    GdkMonitor* PrimaryMonitor() const;

    BackendSink* sink_ = nullptr;
    std::unordered_map<HWND, std::unique_ptr<GtkNativeWindow>> windows_;
    std::unique_ptr<PangoTextRenderer> text_;
    std::unique_ptr<X11HotKeys> hotKeys_;
    std::unique_ptr<GtkTrayIcons> tray_;
    WebKitWebContext* webContext_ = nullptr;
};

}  // namespace platform::gtk
