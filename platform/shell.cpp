#include "platform/shell.h"

#include <string>

#include "platform/automation.h"
#include "platform/trace.h"
#include "platform/window_system.h"

BOOL Shell_NotifyIconW(DWORD message, NOTIFYICONDATAW* data) {
    if (data == nullptr || data->cbSize != sizeof(NOTIFYICONDATAW))
        return FALSE;
    auto& ws = platform::WindowSystem::Get();
    switch (message) {
        case NIM_ADD: {
            if (ws.Find(data->hWnd) == nullptr)
                return FALSE;
            std::u16string tip;
            if (data->uFlags & NIF_TIP)
                for (std::size_t i = 0; i < 128 && data->szTip[i] != 0; ++i)
                    tip.push_back(data->szTip[i]);
            const UINT callback = (data->uFlags & NIF_MESSAGE) ? data->uCallbackMessage : 0;
            return ws.AddTrayIcon(data->hWnd, data->uID, callback,
                                  (data->uFlags & NIF_ICON) ? data->hIcon : nullptr,
                                  Utf16ToUtf8(tip));
        }
        case NIM_DELETE: {
            const bool removed = ws.RemoveTrayIcon(data->hWnd, data->uID);
            if (removed)
                platform::Trace::Record("tray icon removed " + std::to_string(data->uID));
            return removed;
        }
        default:
            return FALSE;
    }
}
