#include "platform/gtk/gtk_browser_view.h"

#include <memory>

#include "platform/gtk/gtk_backend_impl.h"
#include "platform/gtk/gtk_native_window.h"
#include "platform/trace.h"

namespace platform::gtk {

namespace {

// Scroll bars hidden in every frame; the page still scrolls by keys, wheel and script.
constexpr const char* kNoScrollBarsSheet =
    "::-webkit-scrollbar { display: none !important; width: 0 !important; height: 0 !important; }";

// Whether a frame element of the page (same-origin frames searched too) is loading `u`. Run in
// a world of its own so the page's scripts cannot disturb it.
constexpr const char* kFrameElementCheck =
    "function search(doc) {"
    "  const frames = doc.querySelectorAll('iframe, frame');"
    "  for (const f of frames) {"
    "    if (f.src === u) return true;"
    "    try { if (f.contentDocument && search(f.contentDocument)) return true; } catch (e) {}"
    "  }"
    "  return false;"
    "}"
    "return search(document);";
constexpr const char* kScriptWorld = "launcher-frames";

// The page module gives every frame window.external before any script runs; a view without an
// external object takes it away again, before the page's own scripts, so they see the engine's
// own (none).
constexpr const char* kNoExternalScript = "delete window.external;";

std::string WithoutFragment(const std::string& url) {
    return url.substr(0, url.find('#'));
}

// scheme://host[:port]/ of a URL, as a referrer trimmed to its origin reads.
std::string OriginForm(const std::string& url) {
    const auto scheme = url.find("://");
    if (scheme == std::string::npos)
        return url;
    const auto path = url.find_first_of("/?#", scheme + 3);
    return url.substr(0, path) + "/";
}

}  // namespace

struct GtkBrowserView::PendingDecision {
    GtkBrowserView* view;
    WebKitPolicyDecision* decision;
    GCancellable* cancellable;
    NavigationRequest request;
};

GtkBrowserView::GtkBrowserView(GtkBackend& backend, HWND host, const CRect& rectInWindow,
                               const BrowserOptions& options)
    : backend_(backend), host_(host), rect_(rectInWindow), options_(options) {
    WebKitSettings* settings = webkit_settings_new();
    // Software rendering looks the same under Xvfb and on a desktop and saves memory.
    webkit_settings_set_hardware_acceleration_policy(settings,
                                                     WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    // Pages may ask for new windows without a click; the core decides about each request.
    webkit_settings_set_javascript_can_open_windows_automatically(settings, TRUE);

    WebKitUserContentManager* content = webkit_user_content_manager_new();
    if (!options.scrollBars) {
        WebKitUserStyleSheet* sheet =
            webkit_user_style_sheet_new(kNoScrollBarsSheet, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                                        WEBKIT_USER_STYLE_LEVEL_USER, nullptr, nullptr);
        webkit_user_content_manager_add_style_sheet(content, sheet);
        webkit_user_style_sheet_unref(sheet);
    }

    if (options.external == nullptr) {
        WebKitUserScript* script =
            webkit_user_script_new(kNoExternalScript, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                                   WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
        webkit_user_content_manager_add_script(content, script);
        webkit_user_script_unref(script);
    }

    view_ = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", backend_.WebContext(),
                                         "settings", settings, "user-content-manager", content,
                                         nullptr));
    g_object_ref_sink(view_);
    g_object_unref(settings);
    g_object_unref(content);
    cancellable_ = g_cancellable_new();

    g_signal_connect(view_, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
    g_signal_connect(view_, "load-changed", G_CALLBACK(OnLoadChanged), this);
    g_signal_connect(view_, "load-failed", G_CALLBACK(OnLoadFailed), this);
    g_signal_connect(view_, "context-menu", G_CALLBACK(OnContextMenu), this);
    g_signal_connect(view_, "create", G_CALLBACK(OnCreate), this);
    g_signal_connect_after(view_, "draw", G_CALLBACK(OnDrawn), this);

    // The size is pinned: a web view's natural size follows its page.
    gtk_widget_set_size_request(GTK_WIDGET(view_), rect_.Width(), rect_.Height());
    if (GtkNativeWindow* window = backend_.FindWindow(host_)) {
        gtk_fixed_put(window->Container(), GTK_WIDGET(view_), rect_.left, rect_.top);
        attached_ = true;
    }
    gtk_widget_show(GTK_WIDGET(view_));
    HostShapeChanged();
}

GtkBrowserView::~GtkBrowserView() {
    g_cancellable_cancel(cancellable_);
    g_object_unref(cancellable_);
    g_signal_handlers_disconnect_by_data(view_, this);
    webkit_web_view_stop_loading(view_);
    GtkWidget* parent = gtk_widget_get_parent(GTK_WIDGET(view_));
    if (parent != nullptr)
        gtk_container_remove(GTK_CONTAINER(parent), GTK_WIDGET(view_));
    gtk_widget_destroy(GTK_WIDGET(view_));
    g_object_unref(view_);
    alive_.reset();
    HostShapeChanged();
}

void GtkBrowserView::HostShapeChanged() {
    if (GtkNativeWindow* window = backend_.FindWindow(host_))
        window->UpdateShape();
}

void GtkBrowserView::SetRect(const CRect& rectInWindow) {
    rect_ = rectInWindow;
    gtk_widget_set_size_request(GTK_WIDGET(view_), rect_.Width(), rect_.Height());
    GtkWidget* parent = gtk_widget_get_parent(GTK_WIDGET(view_));
    if (parent != nullptr)
        gtk_fixed_move(GTK_FIXED(parent), GTK_WIDGET(view_), rect_.left, rect_.top);
    HostShapeChanged();
}

void GtkBrowserView::SetVisible(bool visible) {
    visible_ = visible;
    gtk_widget_set_visible(GTK_WIDGET(view_), visible ? TRUE : FALSE);
    HostShapeChanged();
}

void GtkBrowserView::Navigate(const std::string& url) {
    webkit_web_view_load_uri(view_, url.c_str());
}

void GtkBrowserView::Reload() {
    webkit_web_view_reload(view_);
}

std::string GtkBrowserView::CurrentUrl() const {
    const char* uri = webkit_web_view_get_uri(view_);
    return uri != nullptr ? uri : "";
}

gboolean GtkBrowserView::OnDecidePolicy(WebKitWebView* /*view*/, WebKitPolicyDecision* decision,
                                        WebKitPolicyDecisionType type, gpointer self) {
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE)
        return FALSE;
    auto* b = static_cast<GtkBrowserView*>(self);
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
        WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    WebKitURIRequest* uriRequest = webkit_navigation_action_get_request(action);
    NavigationRequest request;
    request.url = webkit_uri_request_get_uri(uriRequest);
    request.newWindow = type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION;
    request.redirect = webkit_navigation_action_is_redirect(action) != FALSE;
    if (const char* name = webkit_navigation_action_get_frame_name(action))
        request.targetFrame = name;

    // A new-window request the core allowed comes back here as this view's own navigation.
    if (!request.newWindow && b->approvedUrl_ == request.url) {
        b->approvedUrl_.reset();
        b->lastWasMainFrame_ = true;
        webkit_policy_decision_use(decision);
        return TRUE;
    }

    g_object_ref(decision);
    if (request.newWindow || !b->committed_) {
        request.mainFrame = true;
    } else if (request.redirect) {
        // A redirect continues the navigation it redirects, in the same frame.
        request.mainFrame = b->lastWasMainFrame_;
    } else {
        // WebKit does not say which frame a navigation is for. A navigation started by a
        // document other than the main one (its referrer tells) is taken to be that frame's;
        // one started by the main document is a frame's when a frame element asks for the URL.
        SoupMessageHeaders* headers = webkit_uri_request_get_http_headers(uriRequest);
        const char* referrer =
            headers != nullptr ? soup_message_headers_get_one(headers, "Referer") : nullptr;
        const std::string mainUrl = WithoutFragment(b->CurrentUrl());
        if (referrer != nullptr && WithoutFragment(referrer) != mainUrl &&
            std::string(referrer) != OriginForm(mainUrl)) {
            request.mainFrame = false;
        } else {
            b->ResolveFrame(decision, std::move(request));
            return TRUE;
        }
    }
    b->Decide(decision, std::move(request));
    return TRUE;
}

void GtkBrowserView::ResolveFrame(WebKitPolicyDecision* decision, NavigationRequest request) {
    GVariantDict args;
    g_variant_dict_init(&args, nullptr);
    g_variant_dict_insert(&args, "u", "s", request.url.c_str());
    auto* pending = new PendingDecision{this, decision, G_CANCELLABLE(g_object_ref(cancellable_)),
                                        std::move(request)};
    webkit_web_view_call_async_javascript_function(view_, kFrameElementCheck, -1,
                                                   g_variant_dict_end(&args), kScriptWorld, nullptr,
                                                   cancellable_, OnFrameCheck, pending);
}

void GtkBrowserView::OnFrameCheck(GObject* view, GAsyncResult* result, gpointer data) {
    std::unique_ptr<PendingDecision> pending(static_cast<PendingDecision*>(data));
    GError* error = nullptr;
    JSCValue* value = webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(view),
                                                                            result, &error);
    const bool cancelled = g_cancellable_is_cancelled(pending->cancellable);
    g_object_unref(pending->cancellable);
    bool frameElement = false;
    if (value != nullptr) {
        frameElement = jsc_value_is_boolean(value) && jsc_value_to_boolean(value);
        g_object_unref(value);
    }
    if (error != nullptr)
        g_error_free(error);
    if (cancelled) {
        // The view is gone: nothing is left to navigate.
        webkit_policy_decision_ignore(pending->decision);
        g_object_unref(pending->decision);
        return;
    }
    pending->request.mainFrame = !frameElement;
    pending->view->Decide(pending->decision, std::move(pending->request));
}

void GtkBrowserView::Decide(WebKitPolicyDecision* decision, NavigationRequest request) {
    lastWasMainFrame_ = request.mainFrame;
    const std::weak_ptr<int> alive = alive_;
    bool cancel = false;
    if (Trace::Enabled())
        Trace::Record("before-navigate " + request.url);
    // The core may destroy this view from inside the call.
    if (BackendSink* sink = backend_.Sink())
        cancel = sink->OnBrowserBeforeNavigate(this, request);
    if (cancel || alive.expired()) {
        webkit_policy_decision_ignore(decision);
    } else if (request.newWindow) {
        // No second window: the page the request names opens in this view.
        webkit_policy_decision_ignore(decision);
        approvedUrl_ = request.url;
        webkit_web_view_load_uri(view_, request.url.c_str());
    } else {
        webkit_policy_decision_use(decision);
    }
    g_object_unref(decision);
}

void GtkBrowserView::OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self) {
    auto* b = static_cast<GtkBrowserView*>(self);
    const char* uri = webkit_web_view_get_uri(view);
    const std::string url = uri != nullptr ? uri : "";
    BackendSink* sink = b->backend_.Sink();
    if (Trace::Enabled()) {
        static constexpr const char* kNames[] = {"load-started ", "load-redirected ",
                                                 "load-committed ", "load-finished "};
        Trace::Record(kNames[event] + url);
    }
    switch (event) {
        case WEBKIT_LOAD_STARTED:
            b->loadInterrupted_ = false;
            break;
        case WEBKIT_LOAD_COMMITTED:
            b->committed_ = true;
            b->paintPending_ = true;
            if (sink != nullptr)
                sink->OnBrowserNavigateComplete(b, url);
            break;
        case WEBKIT_LOAD_FINISHED:
            if (b->loadInterrupted_) {
                // The end of a load the core cancelled: the old page stays, nothing completed.
                b->loadInterrupted_ = false;
                break;
            }
            if (sink != nullptr)
                sink->OnBrowserDocumentComplete(b, url);
            break;
        default:
            break;
    }
}

gboolean GtkBrowserView::OnLoadFailed(WebKitWebView* /*view*/, WebKitLoadEvent /*event*/,
                                      gchar* /*uri*/, GError* error, gpointer self) {
    auto* b = static_cast<GtkBrowserView*>(self);
    // A cancelled navigation (a redirect the core refused, or a load replaced by another) is
    // no error to show.
    if (g_error_matches(error, WEBKIT_POLICY_ERROR,
                        WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE) ||
        g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED)) {
        b->loadInterrupted_ = true;
        return TRUE;
    }
    return FALSE;
}

gboolean GtkBrowserView::OnContextMenu(WebKitWebView* /*view*/, WebKitContextMenu* /*menu*/,
                                       GdkEvent* /*event*/, WebKitHitTestResult* /*hit*/,
                                       gpointer self) {
    return static_cast<GtkBrowserView*>(self)->options_.contextMenu ? FALSE : TRUE;
}

gboolean GtkBrowserView::OnDrawn(GtkWidget* /*widget*/, cairo_t* /*cr*/, gpointer self) {
    auto* b = static_cast<GtkBrowserView*>(self);
    if (b->paintPending_) {
        b->paintPending_ = false;
        if (Trace::Enabled())
            Trace::Record("first-paint " + b->CurrentUrl());
    }
    return FALSE;
}

GtkWidget* GtkBrowserView::OnCreate(WebKitWebView* /*view*/, WebKitNavigationAction* /*action*/,
                                    gpointer /*self*/) {
    return nullptr;  // new windows open in this view (see Decide)
}

}  // namespace platform::gtk
