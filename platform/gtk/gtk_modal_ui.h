#pragma once
// The toolkit's own modal pieces: popup menus and message boxes. Both run a nested main loop.

#include <string>
#include <vector>

#include "platform/backend.h"

namespace platform::gtk {

// Pops a menu up at a screen point and returns the chosen item's id, or 0 when dismissed. An
// item with empty text is a separator.
UINT RunPopupMenu(const std::vector<MenuItem>& items, CPoint screenPt);

void RunMessageBox(const std::string& text, const std::string& caption, bool error);

}  // namespace platform::gtk
