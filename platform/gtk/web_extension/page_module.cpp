// The module WebKit loads into each web process: it gives every page and frame window.external
// before the page's own scripts run. Views that have no external object remove it again with a
// user script of their own (see GtkBrowserView).

#include <gmodule.h>
#include <webkit2/webkit-web-extension.h>

#include "platform/automation.h"
#include "platform/gtk/web_extension/external_script_object.h"
#include "platform/page_external.h"

namespace {

void OnWindowObjectCleared(WebKitScriptWorld* world, WebKitWebPage* /*page*/, WebKitFrame* frame,
                           gpointer /*data*/) {
    static IDispatch* const external = CreatePageExternalObject();
    if (external == nullptr)
        return;
    JSCContext* context = webkit_frame_get_js_context_for_script_world(frame, world);
    if (context == nullptr)
        return;
    platform::gtk::InstallExternalScriptObject(context, external);
    g_object_unref(context);
}

}  // namespace

extern "C" G_MODULE_EXPORT void webkit_web_extension_initialize(WebKitWebExtension* /*extension*/) {
    // The page's own world only: isolated worlds (the launcher's frame checks) need none.
    g_signal_connect(webkit_script_world_get_default(), "window-object-cleared",
                     G_CALLBACK(OnWindowObjectCleared), nullptr);
}
