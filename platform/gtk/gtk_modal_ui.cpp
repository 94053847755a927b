#include "platform/gtk/gtk_modal_ui.h"

#include <gtk/gtk.h>

namespace platform::gtk {

namespace {

struct MenuRun {
    GMainLoop* loop = nullptr;
    UINT chosen = 0;
    CPoint at;
};

void OnItemActivate(GtkMenuItem* item, gpointer run) {
    static_cast<MenuRun*>(run)->chosen =
        GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(item), "menu-id"));
}

void OnMenuDone(GtkMenuShell* /*menu*/, gpointer run) {
    g_main_loop_quit(static_cast<MenuRun*>(run)->loop);
}

void PlaceMenu(GtkMenu* menu, gint* x, gint* y, gboolean* pushIn, gpointer run) {
    const CPoint at = static_cast<MenuRun*>(run)->at;
    GtkRequisition size{};
    gtk_widget_get_preferred_size(GTK_WIDGET(menu), nullptr, &size);
    GdkRectangle area{};
    GdkDisplay* display = gdk_display_get_default();
    if (GdkMonitor* monitor = gdk_display_get_monitor_at_point(display, at.x, at.y))
        gdk_monitor_get_workarea(monitor, &area);
    // Open towards the inside of the screen, as a tray icon's menu at a corner must.
    *x = at.x + size.width > area.x + area.width ? at.x - size.width : at.x;
    *y = at.y + size.height > area.y + area.height ? at.y - size.height : at.y;
    *pushIn = TRUE;
}

}  // namespace

UINT RunPopupMenu(const std::vector<MenuItem>& items, CPoint screenPt) {
    if (items.empty())
        return 0;
    MenuRun run;
    run.at = screenPt;
    GtkWidget* menu = gtk_menu_new();
    g_object_ref_sink(menu);
    for (const MenuItem& item : items) {
        GtkWidget* widget = item.text.empty() ? gtk_separator_menu_item_new()
                                              : gtk_menu_item_new_with_label(item.text.c_str());
        g_object_set_data(G_OBJECT(widget), "menu-id", GUINT_TO_POINTER(item.id));
        if (!item.text.empty())
            g_signal_connect(widget, "activate", G_CALLBACK(OnItemActivate), &run);
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), widget);
        gtk_widget_show(widget);
    }
    run.loop = g_main_loop_new(nullptr, FALSE);
    // selection-done comes after an item's activate, and also when the menu is dismissed.
    g_signal_connect(menu, "selection-done", G_CALLBACK(OnMenuDone), &run);
    g_signal_connect(menu, "deactivate", G_CALLBACK(OnMenuDone), &run);

    // Placed by a position function so that no triggering event or parent window is needed:
    // the menu may be asked for from a tray icon or from a posted message.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    gtk_menu_popup(GTK_MENU(menu), nullptr, nullptr, PlaceMenu, &run, 0,
                   gtk_get_current_event_time());
#pragma GCC diagnostic pop
    if (gtk_widget_get_visible(menu))
        g_main_loop_run(run.loop);

    g_signal_handlers_disconnect_by_data(menu, &run);
    gtk_widget_destroy(menu);
    g_object_unref(menu);
    g_main_loop_unref(run.loop);
    return run.chosen;
}

void RunMessageBox(const std::string& text, const std::string& caption, bool error) {
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL,
                                               error ? GTK_MESSAGE_ERROR : GTK_MESSAGE_INFO,
                                               GTK_BUTTONS_OK, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
    // GTK 3 message dialogs show no icon of their own; an error should say so at a glance.
    const char* iconName = error ? "dialog-error" : "dialog-information";
    GtkWidget* image = gtk_image_new_from_icon_name(iconName, GTK_ICON_SIZE_DIALOG);
    gtk_widget_show(image);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    gtk_message_dialog_set_image(GTK_MESSAGE_DIALOG(dialog), image);
#pragma GCC diagnostic pop
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
}

}  // namespace platform::gtk
