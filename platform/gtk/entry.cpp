// The real executable: the program on the GTK desktop.

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/gtk/gtk_backend.h"

int AfxWinMain();

int main(int argc, char** argv) {
    // X11 even under a Wayland session (XWayland): placement, shapes and key grabs need it.
    setenv("GDK_BACKEND", "x11", 1);
    // Every pixel a physical pixel: the program's artwork and layout are in pixels.
    setenv("GDK_SCALE", "1", 1);
    setenv("GDK_DPI_SCALE", "1", 1);
    // No accessibility bus on many machines; without this GTK warns on every start.
    setenv("NO_AT_BRIDGE", "1", 0);

    auto backend = platform::gtk::CreateBackend(&argc, &argv);
    if (backend == nullptr) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 1;
    }
    platform::InstallBackend(std::move(backend));
    return AfxWinMain();
}
