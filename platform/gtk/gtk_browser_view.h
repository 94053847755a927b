#pragma once
// A browser view: a WebKitWebView placed inside its host window's container.

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/backend.h"

namespace platform::gtk {

class GtkBackend;

class GtkBrowserView final : public BrowserView {
public:
    GtkBrowserView(GtkBackend& backend, HWND host, const CRect& rectInWindow,
                   const BrowserOptions& options);
    ~GtkBrowserView() override;
    GtkBrowserView(const GtkBrowserView&) = delete;
    GtkBrowserView& operator=(const GtkBrowserView&) = delete;

    bool Attached() const { return attached_; }

    void SetRect(const CRect& rectInWindow) override;
    void SetVisible(bool visible) override;
    void Navigate(const std::string& url) override;
    void Reload() override;
    std::string CurrentUrl() const override;

private:
    struct PendingDecision;
    void HostShapeChanged();
    // Asks the core about a navigation whose frame is known, then lets it go or stops it.
    void Decide(WebKitPolicyDecision* decision, NavigationRequest request);
    void ResolveFrame(WebKitPolicyDecision* decision, NavigationRequest request);

    static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);
    static void OnFrameCheck(GObject* view, GAsyncResult* result, gpointer pending);
    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* uri,
                                 GError* error, gpointer self);
    static gboolean OnContextMenu(WebKitWebView* view, WebKitContextMenu* menu, GdkEvent* event,
                                  WebKitHitTestResult* hit, gpointer self);
    // The first draw after a page committed is that page's first paint (traced).
    static gboolean OnDrawn(GtkWidget* widget, cairo_t* cr, gpointer self);
    static GtkWidget* OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer self);

    GtkBackend& backend_;
    HWND host_;
    WebKitWebView* view_ = nullptr;
    GCancellable* cancellable_ = nullptr;
    CRect rect_;
    bool visible_ = true;
    bool attached_ = false;
    BrowserOptions options_;
    bool committed_ = false;        // the view shows a document of its own
    bool paintPending_ = false;     // a page committed and has not been drawn yet
    bool loadInterrupted_ = false;  // the current load was stopped by a cancelled navigation
    bool lastWasMainFrame_ = true;  // the frame of the last navigation asked about
    std::optional<std::string> approvedUrl_;  // a new-window request already allowed, loading here
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);  // expires when the view goes
};

}  // namespace platform::gtk
