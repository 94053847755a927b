#pragma once
// Key codes: GDK key values to the framework's VK_* codes and back to X key symbols.

#include "platform/win_types.h"

namespace platform::gtk {

// The VK_* code of a GDK key value, or 0 when the key has none.
UINT VirtualKeyFromKeyval(unsigned keyval);

// The X key symbol of a VK_* code, or 0 (NoSymbol) when there is none.
unsigned long KeysymFromVirtualKey(UINT vk);

}  // namespace platform::gtk
