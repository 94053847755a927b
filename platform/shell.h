#pragma once
// The notification-area icon.

#include "platform/win_types.h"

constexpr DWORD NIM_ADD = 0x00000000;
constexpr DWORD NIM_MODIFY = 0x00000001;
constexpr DWORD NIM_DELETE = 0x00000002;
constexpr UINT NIF_MESSAGE = 0x00000001;
constexpr UINT NIF_ICON = 0x00000002;
constexpr UINT NIF_TIP = 0x00000004;

struct NOTIFYICONDATAW {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    char16_t szTip[128];
};

// Adds or removes the icon named by the record's window and number. Removing works also after
// the window itself is gone.
BOOL Shell_NotifyIconW(DWORD message, NOTIFYICONDATAW* data);
