// The benchmarks' baseline: the least a launcher could be. One undecorated GTK window holding one
// WebKitWebView, nothing else. It prints the same events the launcher's trace file holds, one a
// line, "<seconds on the monotonic clock> <event>", on stdout.
//
//   bench_baseline --url URL [--width W] [--height H] [--hw-accel never|on-demand|always]
//
// A line "navigate URL W H" on stdin resizes the view and loads URL in it (the hand-off's page).

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

struct Baseline {
    GtkWidget* window = nullptr;
    WebKitWebView* view = nullptr;
    bool windowDrawn = false;
    bool paintPending = false;
};

void Emit(const std::string& event) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%lld.%06ld %s\n", static_cast<long long>(now.tv_sec), now.tv_nsec / 1000,
                event.c_str());
    std::fflush(stdout);
}

std::string ViewUri(WebKitWebView* view) {
    const char* uri = webkit_web_view_get_uri(view);
    return uri != nullptr ? uri : "";
}

gboolean OnMap(GtkWidget*, GdkEvent*, gpointer) {
    Emit("window-mapped");
    return FALSE;
}

gboolean OnWindowDrawn(GtkWidget*, cairo_t*, gpointer data) {
    auto* b = static_cast<Baseline*>(data);
    if (!b->windowDrawn) {
        b->windowDrawn = true;
        Emit("window-drawn");
    }
    return FALSE;
}

gboolean OnViewDrawn(GtkWidget*, cairo_t*, gpointer data) {
    auto* b = static_cast<Baseline*>(data);
    if (b->paintPending) {
        b->paintPending = false;
        Emit("first-paint " + ViewUri(b->view));
    }
    return FALSE;
}

void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer data) {
    static constexpr const char* kNames[] = {"load-started ", "load-redirected ", "load-committed ",
                                             "load-finished "};
    if (event == WEBKIT_LOAD_COMMITTED)
        static_cast<Baseline*>(data)->paintPending = true;
    Emit(kNames[event] + ViewUri(view));
}

void Resize(Baseline& b, int width, int height) {
    gtk_widget_set_size_request(GTK_WIDGET(b.view), width, height);
    GdkGeometry hints{};
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    gtk_window_set_geometry_hints(
        GTK_WINDOW(b.window), nullptr, &hints,
        static_cast<GdkWindowHints>(GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE));
    gtk_window_resize(GTK_WINDOW(b.window), width, height);
}

gboolean OnStdin(GIOChannel* channel, GIOCondition condition, gpointer data) {
    auto* b = static_cast<Baseline*>(data);
    if ((condition & (G_IO_HUP | G_IO_ERR)) != 0 && (condition & G_IO_IN) == 0)
        return FALSE;
    gchar* line = nullptr;
    if (g_io_channel_read_line(channel, &line, nullptr, nullptr, nullptr) != G_IO_STATUS_NORMAL)
        return FALSE;
    char url[4096];
    int width = 0;
    int height = 0;
    if (std::sscanf(line, "navigate %4095s %d %d", url, &width, &height) == 3 && width > 0 &&
        height > 0) {
        Resize(*b, width, height);
        webkit_web_view_load_uri(b->view, url);
    }
    g_free(line);
    return TRUE;
}

WebKitHardwareAccelerationPolicy ParsePolicy(const char* name) {
    if (std::strcmp(name, "always") == 0)
        return WEBKIT_HARDWARE_ACCELERATION_POLICY_ALWAYS;
    if (std::strcmp(name, "on-demand") == 0)
        return WEBKIT_HARDWARE_ACCELERATION_POLICY_ON_DEMAND;
    return WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER;
}

}  // namespace

int main(int argc, char** argv) {
    Emit("main");
    setenv("GDK_BACKEND", "x11", 1);
    setenv("NO_AT_BRIDGE", "1", 0);
    const char* url = nullptr;
    int width = 631;
    int height = 446;
    const char* policy = "never";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--url") == 0)
            url = argv[i + 1];
        else if (std::strcmp(argv[i], "--width") == 0)
            width = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--height") == 0)
            height = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--hw-accel") == 0)
            policy = argv[i + 1];
    }
    if (url == nullptr || width <= 0 || height <= 0) {
        std::fprintf(stderr,
                     "usage: %s --url URL [--width W] [--height H] "
                     "[--hw-accel never|on-demand|always]\n",
                     argv[0]);
        return 2;
    }
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 1;
    }

    Baseline b;
    b.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_decorated(GTK_WINDOW(b.window), FALSE);
    gtk_window_set_title(GTK_WINDOW(b.window), "bench-baseline");
    gtk_window_set_position(GTK_WINDOW(b.window), GTK_WIN_POS_CENTER);

    WebKitSettings* settings = webkit_settings_new();
    webkit_settings_set_hardware_acceleration_policy(settings, ParsePolicy(policy));
    b.view = WEBKIT_WEB_VIEW(webkit_web_view_new_with_settings(settings));
    g_object_unref(settings);
    gtk_container_add(GTK_CONTAINER(b.window), GTK_WIDGET(b.view));
    Resize(b, width, height);

    g_signal_connect(b.window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    g_signal_connect(b.window, "map-event", G_CALLBACK(OnMap), &b);
    g_signal_connect_after(b.window, "draw", G_CALLBACK(OnWindowDrawn), &b);
    g_signal_connect_after(b.view, "draw", G_CALLBACK(OnViewDrawn), &b);
    g_signal_connect(b.view, "load-changed", G_CALLBACK(OnLoadChanged), &b);

    GIOChannel* input = g_io_channel_unix_new(0);
    g_io_add_watch(input, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), OnStdin, &b);

    webkit_web_view_load_uri(b.view, url);
    gtk_widget_show_all(b.window);
    gtk_main();
    g_io_channel_unref(input);
    return 0;
}
