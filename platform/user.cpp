// Windows-style functions on window handles, over the framework's window system.

#include <memory>

#include "platform/backend.h"
#include "platform/resources.h"
#include "platform/window_system.h"
#include "platform/wnd.h"

using platform::WindowSystem;

namespace platform {

namespace {
std::unique_ptr<Backend>& BackendSlot() {
    static auto* slot = new std::unique_ptr<Backend>();
    return *slot;
}
}  // namespace

void InstallBackend(std::unique_ptr<Backend> backend) {
    BackendSlot() = std::move(backend);
    if (BackendSlot())
        BackendSlot()->SetSink(&WindowSystem::Get());
}

Backend& CurrentBackend() {
    return *BackendSlot();
}
bool HasBackend() {
    return BackendSlot() != nullptr;
}

}  // namespace platform

const LPCTSTR IDC_ARROW = MAKEINTRESOURCE(32512);
const LPCTSTR IDC_HAND = MAKEINTRESOURCE(32649);

BOOL IsWindow(HWND hwnd) {
    return WindowSystem::Get().Find(hwnd) != nullptr;
}
BOOL IsWindowVisible(HWND hwnd) {
    return WindowSystem::Get().IsVisible(hwnd);
}
BOOL IsIconic(HWND hwnd) {
    auto* w = WindowSystem::Get().Find(hwnd);
    return w != nullptr && w->iconic;
}
BOOL ShowWindow(HWND hwnd, int cmdShow) {
    return WindowSystem::Get().Show(hwnd, cmdShow);
}
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
    if (!IsWindow(hwnd))
        return FALSE;
    WindowSystem::Get().SetPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (!IsWindow(hwnd))
        return FALSE;
    WindowSystem::Get().SetPos(hwnd, insertAfter, x, y, cx, cy, flags);
    return TRUE;
}
BOOL GetWindowRect(HWND hwnd, RECT* rect) {
    if (!IsWindow(hwnd) || rect == nullptr)
        return FALSE;
    *rect = WindowSystem::Get().ScreenRectOf(hwnd);
    return TRUE;
}
BOOL GetClientRect(HWND hwnd, RECT* rect) {
    auto* w = WindowSystem::Get().Find(hwnd);
    if (w == nullptr || rect == nullptr)
        return FALSE;
    *rect = CRect(0, 0, w->rect.Width(), w->rect.Height());
    return TRUE;
}
LONG GetWindowLongW(HWND hwnd, int index) {
    auto* w = WindowSystem::Get().Find(hwnd);
    if (w == nullptr)
        return 0;
    if (index == GWL_STYLE)
        return static_cast<LONG>(w->style);
    if (index == GWL_EXSTYLE)
        return static_cast<LONG>(w->exStyle);
    return 0;
}
LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
    auto* w = WindowSystem::Get().Find(hwnd);
    if (w == nullptr)
        return 0;
    const LONG previous = GetWindowLongW(hwnd, index);
    if (index == GWL_STYLE)
        WindowSystem::Get().SetStyle(hwnd, static_cast<DWORD>(value));
    if (index == GWL_EXSTYLE)
        WindowSystem::Get().SetExStyle(hwnd, static_cast<DWORD>(value));
    return previous;
}
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowSystem::Get().Send(hwnd, message, wParam, lParam);
}
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowSystem::Get().Post(hwnd, message, wParam, lParam);
}
void PostQuitMessage(int exitCode) {
    WindowSystem::Get().PostQuit(exitCode);
}
BOOL DestroyWindow(HWND hwnd) {
    if (!IsWindow(hwnd))
        return FALSE;
    WindowSystem::Get().Destroy(hwnd);
    return TRUE;
}
BOOL EnableWindow(HWND hwnd, BOOL enable) {
    auto* w = WindowSystem::Get().Find(hwnd);
    if (w == nullptr)
        return FALSE;
    const BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
    WindowSystem::Get().SetEnabled(hwnd, enable != FALSE);
    return wasDisabled;
}
HWND SetActiveWindow(HWND hwnd) {
    return WindowSystem::Get().Activate(hwnd);
}
HWND GetActiveWindow() {
    return WindowSystem::Get().ActiveWindow();
}

// The desktop window: a window covering the primary screen, created on first use.
HWND GetDesktopWindow() {
    static HWND desktop = nullptr;
    auto& ws = WindowSystem::Get();
    if (desktop == nullptr || ws.Find(desktop) == nullptr) {
        const CRect screen = platform::CurrentBackend().ScreenRect();
        platform::RegisterWindowClass(
            platform::WindowClass{"#32769",
                                  [](HWND h, UINT m, WPARAM w, LPARAM l) {
                                      return WindowSystem::Get().DefaultProc(h, m, w, l);
                                  },
                                  false});
        // A child of nothing and never shown: it only answers for the screen's rectangle.
        desktop = ws.Create("#32769", "", WS_POPUP, 0, screen, nullptr, 0, nullptr);
    } else {
        ws.Find(desktop)->rect = platform::CurrentBackend().ScreenRect();
    }
    return desktop;
}

HWND GetDlgItem(HWND dialog, int id) {
    auto* w = WindowSystem::Get().Find(dialog);
    if (w == nullptr)
        return nullptr;
    for (HWND child : w->children)
        if (auto* c = WindowSystem::Get().Find(child); c && c->id == id)
            return child;
    return nullptr;
}
BOOL InvalidateRect(HWND hwnd, const RECT*, BOOL) {
    if (!IsWindow(hwnd))
        return FALSE;
    WindowSystem::Get().Invalidate(hwnd);
    return TRUE;
}
BOOL GetCursorPos(POINT* point) {
    if (point == nullptr || !platform::HasBackend())
        return FALSE;
    *point = platform::CurrentBackend().CursorPos();
    return TRUE;
}
HCURSOR LoadCursorW(HINSTANCE, LPCTSTR name) {
    return reinterpret_cast<HCURSOR>(const_cast<char*>(name));
}
HCURSOR SetCursor(HCURSOR cursor) {
    auto& ws = WindowSystem::Get();
    const HWND under = ws.Capture() ? ws.Capture() : ws.MouseOver();
    const HWND top = ws.TopLevelOf(under);
    if (top && platform::HasBackend()) {
        const bool hand = reinterpret_cast<LPCTSTR>(cursor) == IDC_HAND;
        platform::CurrentBackend().SetCursor(
            top, hand ? platform::StandardCursor::Hand : platform::StandardCursor::Arrow);
    }
    return nullptr;
}
HWND SetCapture(HWND hwnd) {
    return WindowSystem::Get().SetCapture(hwnd);
}
BOOL ReleaseCapture() {
    WindowSystem::Get().SetCapture(nullptr);
    return TRUE;
}
HWND GetCapture() {
    return WindowSystem::Get().Capture();
}
BOOL SystemParametersInfoW(UINT action, UINT, void* value, UINT) {
    if (action != SPI_GETWORKAREA || value == nullptr || !platform::HasBackend())
        return FALSE;
    *static_cast<RECT*>(value) = platform::CurrentBackend().WorkArea();
    return TRUE;
}
BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk) {
    return WindowSystem::Get().RegisterHotKey(hwnd, id, modifiers, vk);
}
BOOL UnregisterHotKey(HWND hwnd, int id) {
    return WindowSystem::Get().UnregisterHotKey(hwnd, id);
}
int MessageBoxW(HWND, LPCTSTR text, LPCTSTR caption, UINT type) {
    if (platform::HasBackend())
        platform::CurrentBackend().ShowMessageBox(text ? text : "", caption ? caption : "",
                                                  (type & MB_ICONERROR) != 0);
    return IDOK;
}
BOOL _TrackMouseEvent(TRACKMOUSEEVENT* track) {
    if (track == nullptr || track->cbSize != sizeof(TRACKMOUSEEVENT) || !IsWindow(track->hwndTrack))
        return FALSE;
    WindowSystem::Get().TrackMouse(track->hwndTrack, track->dwFlags, track->dwHoverTime);
    return TRUE;
}
