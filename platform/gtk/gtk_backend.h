#pragma once
// The real desktop backend: GTK 3, WebKitGTK 4.1 and X11. This header is the only part of it the
// executable sees, so it names no toolkit type.

#include <memory>

#include "platform/backend.h"

namespace platform::gtk {

// Initialises GTK with the program's arguments (it may consume toolkit options) and returns the
// backend. Returns null when no display can be opened.
std::unique_ptr<Backend> CreateBackend(int* argc, char*** argv);

}  // namespace platform::gtk
