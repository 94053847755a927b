#pragma once
// The interface between the framework's core and a desktop backend.
//
// The core owns every window's semantics: owner relations, modal loops, message order, painting
// of windows and their child controls into pixel buffers, hit testing of child controls, mouse
// capture, hover tracking, double clicks and timers. A backend only offers primitives on
// top-level windows (create, move, show, stack, show content, begin a move drag), the desktop
// (screen, work area), the event loop, text rasterising, browser views, global hot keys, the tray
// icon and popup menus, and reports native events back through BackendSink.
//
// Every call happens on the user-interface thread except Backend::Wake, which any thread may call.
// A backend knows nothing of the program: it sees handles, rectangles, pixels and URLs.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/pixel_buffer.h"
#include "platform/win_types.h"

struct IDispatch;

namespace platform {

enum class NativeShow {
    Hide,
    Show,            // show (restoring if minimised) and leave activation as the desktop likes
    ShowNoActivate,  // show without taking the focus
    Minimize,
    Restore,  // un-minimise
};

enum class StandardCursor { Arrow, Hand };

// What a backend needs to create a top-level window.
struct NativeWindowInfo {
    std::string title;
    CRect rect;                 // screen coordinates, pixels
    HWND owner = nullptr;       // stays above its owner; may be null
    bool taskbarButton = true;  // WS_EX_APPWINDOW; false for tool windows
    bool modalDialog = false;   // a modal dialog: keep above its owner, never in the taskbar
};

// How the window's content is to be shown (see Backend::PresentWindow).
enum class ContentAlpha {
    Opaque,    // every pixel opaque; alpha is ignored
    PerPixel,  // premultiplied alpha per pixel; alpha 0 is invisible and lets the mouse through
};

enum class MouseKind { Move, LeftDown, LeftUp, RightDown, RightUp, Leave };

// Key state flags delivered with mouse events (MK_* values).
constexpr UINT kMouseLeftDown = 0x0001;
constexpr UINT kMouseRightDown = 0x0002;
constexpr UINT kMouseShift = 0x0004;
constexpr UINT kMouseControl = 0x0008;

struct FontSpec {
    std::string face = "Sans";  // family name; backends fall back to a CJK-capable font
    int pixelHeight = 12;       // em height in pixels
    bool bold = false;
};

// DrawText format bits (DT_* values).
constexpr UINT kTextLeft = 0x0000;
constexpr UINT kTextCenter = 0x0001;
constexpr UINT kTextRight = 0x0002;
constexpr UINT kTextVCenter = 0x0004;
constexpr UINT kTextWordBreak = 0x0010;
constexpr UINT kTextSingleLine = 0x0020;

struct MenuItem {
    UINT id = 0;
    std::string text;
};

// Host options of a browser view, decided by the program's control site.
struct BrowserOptions {
    bool contextMenu = true;  // false: a right click opens nothing
    bool scrollBars = true;   // false: no scroll bars (the page still scrolls by script and keys)
    bool border3D = true;     // false: no sunken frame
    // The page's window.external. Null: the engine's own (none). The core keeps it alive for as
    // long as the view exists.
    IDispatch* external = nullptr;
};

// One navigation as the engine is about to start it.
struct NavigationRequest {
    std::string url;
    bool mainFrame = true;  // false for a frame inside the page
    bool newWindow =
        false;              // the page asked for a new window (the view shows it itself if allowed)
    bool redirect = false;  // a server or client redirect of a navigation already under way
    std::string targetFrame;  // frame name, when known
};

class BrowserView;

// Events a backend reports to the core. Coordinates are pixels in the top-level window's own
// coordinates (0,0 is its top-left corner) unless said otherwise.
class BackendSink {
public:
    virtual void OnWindowMoved(HWND hwnd, CPoint screenTopLeft) = 0;  // by the user or the desktop
    virtual void OnWindowCloseRequest(HWND hwnd) = 0;                 // Alt+F4, taskbar close...
    virtual void OnWindowMinimized(HWND hwnd, bool minimized) = 0;    // by the user or the desktop
    virtual void OnWindowActivated(HWND hwnd, bool active) = 0;
    virtual void OnMouse(HWND hwnd, MouseKind kind, CPoint pt, UINT keyFlags) = 0;
    virtual void OnKey(HWND hwnd, bool down, UINT virtualKey) = 0;
    virtual void OnHotKey(int id) = 0;
    virtual void OnTrayMouse(UINT iconId,
                             UINT mouseMessage) = 0;  // WM_LBUTTONDBLCLK, WM_RBUTTONUP...
    // Returns true to cancel the navigation: the view then stays on its current page and shows
    // no error.
    virtual bool OnBrowserBeforeNavigate(BrowserView* view, const NavigationRequest& request) = 0;
    virtual void OnBrowserNavigateComplete(BrowserView* view, const std::string& url) = 0;
    virtual void OnBrowserDocumentComplete(BrowserView* view, const std::string& url) = 0;

protected:
    ~BackendSink() = default;
};

// A web view living inside a top-level window, above the window's drawn content.
class BrowserView {
public:
    virtual ~BrowserView() = default;
    virtual void SetRect(const CRect& rectInWindow) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void Navigate(const std::string& url) = 0;  // own frame, GET, no extra headers
    virtual void Reload() = 0;
    virtual std::string CurrentUrl() const = 0;

    void* owner = nullptr;  // the core's control record; the backend never touches it
};

struct BackendCapabilities {
    bool perPixelAlpha = true;  // soft edges (a compositor is running)
    bool windowShapes = true;   // hard shapes and click-through where alpha is 0
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual const char* Name() const = 0;
    virtual void SetSink(BackendSink* sink) = 0;
    virtual BackendCapabilities Capabilities() const = 0;

    // Desktop.
    virtual CRect ScreenRect() const = 0;  // primary monitor
    virtual CRect WorkArea() const = 0;    // primary monitor less panels and docks
    virtual CPoint CursorPos() const = 0;  // screen coordinates
    virtual unsigned DoubleClickTimeMs() const { return 500; }

    // Top-level windows, named by the core's handles. A new window is hidden.
    virtual void CreateNativeWindow(HWND hwnd, const NativeWindowInfo& info) = 0;
    virtual void DestroyNativeWindow(HWND hwnd) = 0;
    virtual void SetTitle(HWND hwnd, const std::string& title) = 0;
    virtual void SetIcon(HWND hwnd, const PixelBuffer& icon) = 0;
    virtual void SetOwner(HWND hwnd, HWND owner) = 0;
    virtual void SetTaskbarButton(HWND hwnd, bool shown) = 0;
    virtual void SetRect(HWND hwnd, const CRect& screenRect) = 0;
    virtual void Show(HWND hwnd, NativeShow how) = 0;
    virtual void Activate(HWND hwnd) = 0;
    virtual void SetEnabled(HWND hwnd, bool enabled) = 0;  // a disabled window takes no input
    // The whole window's look, window-sized. Replaces what was shown before.
    virtual void PresentWindow(HWND hwnd, const PixelBuffer& content, ContentAlpha alpha) = 0;
    // The user drags the window with the mouse from screenPt until the button is released.
    virtual void BeginMoveDrag(HWND hwnd, CPoint screenPt) = 0;
    virtual void SetCursor(HWND hwnd, StandardCursor cursor) = 0;

    // Event loop. Dispatches pending native events to the sink; when wait is true and none is
    // pending, sleeps until one arrives, Wake is called, or the deadline (NowMs clock) passes.
    virtual void ProcessEvents(bool wait, std::optional<std::uint64_t> deadlineMs) = 0;
    virtual void Wake() = 0;  // any thread
    virtual std::uint64_t NowMs() const = 0;

    // Text, rasterised into a buffer: format is a combination of kText* bits.
    virtual void DrawText(PixelBuffer& target, const CRect& clip, const CRect& layout,
                          const std::string& utf8, const FontSpec& font, COLORREF color,
                          UINT format) = 0;

    // Browser views. host is the top-level window that contains the view.
    virtual std::unique_ptr<BrowserView> CreateBrowserView(HWND host, const CRect& rectInWindow,
                                                           const BrowserOptions& options) = 0;

    // Global hot keys: the key is the program's whatever window is in front. vk is a VK_* code.
    virtual bool RegisterHotKey(int id, UINT modifiers, UINT vk) = 0;
    virtual void UnregisterHotKey(int id) = 0;

    // Tray icon.
    virtual bool AddTrayIcon(UINT id, const PixelBuffer& icon, const std::string& tip) = 0;
    virtual void RemoveTrayIcon(UINT id) = 0;

    // Popup menu at a screen point; returns the chosen item's id, or 0 when dismissed.
    virtual UINT TrackPopupMenu(const std::vector<MenuItem>& items, CPoint screenPt) = 0;

    // A message box with an OK button, modal to nothing; returns when dismissed.
    virtual void ShowMessageBox(const std::string& text, const std::string& caption,
                                bool error) = 0;
};

// The backend the framework runs on; installed once by the executable or by a test.
void InstallBackend(std::unique_ptr<Backend> backend);
Backend& CurrentBackend();
bool HasBackend();

}  // namespace platform
