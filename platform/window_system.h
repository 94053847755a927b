#pragma once
// The framework's window system: every window's record, the message queue, modal loops, input
// routing, painting and timers. Programs use it through CWnd and the Windows-style functions;
// backends feed it native events through BackendSink.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/gdi.h"
#include "platform/messages.h"
#include "platform/pixel_buffer.h"
#include "platform/win_types.h"

class CWnd;

namespace platform {

using ClassProc = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// Built-in window classes.
struct WindowClass {
    std::string name;
    ClassProc proc = nullptr;
    bool doubleClicks = false;  // receives WM_LBUTTONDBLCLK
};
const WindowClass* FindWindowClass(const std::string& name);
void RegisterWindowClass(const WindowClass& windowClass);

struct WindowRecord {
    HWND hwnd = nullptr;
    const WindowClass* windowClass = nullptr;
    HWND parent = nullptr;  // child windows
    HWND owner = nullptr;   // top-level windows
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    std::string text;
    CRect rect;  // top-level: screen; child: parent's client coordinates
    CWnd* object = nullptr;
    std::vector<HWND> children;  // bottom to top
    bool iconic = false;
    bool hiddenWithOwner = false;  // hidden because its owner was minimised
    bool destroying = false;
    bool nativeCreated = false;
    bool needsPaint = false;
    PixelBuffer content;  // top-level windows: what the window shows
    // Layered windows.
    bool perPixelImage = false;  // content set by UpdateLayeredWindow; never painted
    PixelBuffer layeredImage;
    bool colorKeyed = false;
    COLORREF colorKey = 0;
    BYTE constantAlpha = 255;
    DWORD layeredFlags = 0;
    // Per-class state.
    bool buttonPushed = false;      // BUTTON: pressed look
    bool buttonTracking = false;    // BUTTON: captured press in progress
    HBITMAP staticImage = nullptr;  // STATIC: SS_BITMAP image
    HFONT font = nullptr;
    HICON iconBig = nullptr;
    HICON iconSmall = nullptr;
    DWORD trackFlags = 0;  // TME_HOVER / TME_LEAVE requested
    DWORD hoverTimeMs = 400;
    std::optional<std::uint64_t> hoverDeadline;
    std::unique_ptr<BrowserView> browser;  // the browser control's view
    void* controlSite = nullptr;           // the browser control's site
};

struct PostedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class WindowSystem final : public BackendSink {
public:
    static WindowSystem& Get();

    // Records.
    WindowRecord* Find(HWND hwnd);
    HWND Create(const std::string& className, const std::string& text, DWORD style, DWORD exStyle,
                const CRect& rect, HWND parentOrOwner, int id, CWnd* object,
                bool modalDialog = false);
    void Destroy(HWND hwnd);
    HWND TopLevelOf(HWND hwnd);
    bool IsTopLevel(const WindowRecord& w) const { return w.parent == nullptr; }
    std::vector<HWND> TopLevelWindows() const;  // in creation order
    std::vector<HWND> OwnedWindows(HWND owner) const;

    // Messages.
    LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);  // any thread
    void PostQuit(int exitCode);
    bool QuitPending() const { return quitPending_; }
    int QuitCode() const { return quitCode_; }
    void ClearQuit() { quitPending_ = false; }
    const MSG* CurrentMessage() const;
    LRESULT DefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Runs messages until done() is true or a quit message is posted. Returns false on quit.
    bool RunLoop(const std::function<bool()>& done);
    // Handles everything pending without waiting; for tests that drive without a modal loop.
    void PumpPending();

    // Geometry and visibility.
    bool Show(HWND hwnd, int cmdShow);
    bool IsVisible(HWND hwnd);  // the window and all its parents are visible
    void SetPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    CRect ScreenRectOf(HWND hwnd);
    CPoint ClientOriginOnScreen(HWND hwnd);
    void SetStyle(HWND hwnd, DWORD style);
    void SetExStyle(HWND hwnd, DWORD exStyle);
    void SetText(HWND hwnd, const std::string& text);
    void SetEnabled(HWND hwnd, bool enabled);
    HWND Activate(HWND hwnd);
    HWND ActiveWindow() const { return active_; }
    HWND SetFocusTo(HWND hwnd);

    // Painting.
    void Invalidate(HWND hwnd);
    void PaintNow(HWND topLevel);
    void PaintPending();
    DcTarget PaintTargetFor(HWND hwnd);  // where a window's pixels are
    void ContentChanged(HWND topLevel);  // drawn into outside the paint cycle
    void SetLayeredImage(HWND hwnd, const PixelBuffer& image, CPoint screenTopLeft);
    void SetColorKey(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags);
    bool Painting() const { return paintDepth_ > 0; }

    // Input.
    HWND SetCapture(HWND hwnd);
    HWND Capture() const { return capture_; }
    HWND MouseOver() const { return mouseOver_; }
    void TrackMouse(HWND hwnd, DWORD flags, DWORD hoverTimeMs);

    // Timers.
    void SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs);
    bool KillTimer(HWND hwnd, UINT_PTR id);

    // Hot keys and tray icons are registered to windows.
    bool RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk);
    bool UnregisterHotKey(HWND hwnd, int id);
    bool AddTrayIcon(HWND hwnd, UINT id, UINT callbackMessage, HICON icon, const std::string& tip);
    bool RemoveTrayIcon(HWND hwnd, UINT id);

    // Modal bookkeeping.
    int ModalDepth() const { return modalDepth_; }
    void EnterModal() { ++modalDepth_; }
    void LeaveModal() { --modalDepth_; }

    // BackendSink.
    void OnWindowMoved(HWND hwnd, CPoint screenTopLeft) override;
    void OnWindowCloseRequest(HWND hwnd) override;
    void OnWindowMinimized(HWND hwnd, bool minimized) override;
    void OnWindowActivated(HWND hwnd, bool active) override;
    void OnMouse(HWND hwnd, MouseKind kind, CPoint pt, UINT keyFlags) override;
    void OnKey(HWND hwnd, bool down, UINT virtualKey) override;
    void OnHotKey(int id) override;
    void OnTrayMouse(UINT iconId, UINT mouseMessage) override;
    bool OnBrowserBeforeNavigate(BrowserView* view, const NavigationRequest& request) override;
    void OnBrowserNavigateComplete(BrowserView* view, const std::string& url) override;
    void OnBrowserDocumentComplete(BrowserView* view, const std::string& url) override;

    // Browser controls register a handler for their view's events.
    using BrowserEventHandler = std::function<bool(HWND control, int event, const std::string& url,
                                                   const NavigationRequest* request)>;
    void SetBrowserEventHandler(BrowserEventHandler handler) {
        browserEvents_ = std::move(handler);
    }

    // Forgets every window and pending message; for tests between cases.
    void ResetForTests();

private:
    WindowSystem() = default;
    bool DispatchPosted();
    void FireTimers();
    std::optional<std::uint64_t> NextDeadline() const;
    HWND ChildAt(HWND topLevel, CPoint windowPt, LRESULT& hit);
    void DeliverMouse(HWND target, UINT message, UINT keyFlags, CPoint screenPt);
    void UpdateMouseOver(HWND target);
    void SyncNative(WindowRecord& w);
    void PresentContent(WindowRecord& w);
    // Erases and paints a window, then its children, into its top-level window's content.
    void PaintWindowTree(HWND hwnd);
    void HideOwnedFor(HWND owner, bool hide);
    void SendMoveSize(WindowRecord& w, bool moved, bool sized);

    std::map<HWND, std::unique_ptr<WindowRecord>> windows_;
    std::vector<HWND> creationOrder_;
    std::uintptr_t nextHandle_ = 0x10;
    std::mutex queueMutex_;
    std::deque<PostedMessage> queue_;
    bool quitPending_ = false;
    int quitCode_ = 0;
    std::vector<MSG> messageStack_;
    HWND active_ = nullptr;
    HWND focus_ = nullptr;
    HWND capture_ = nullptr;
    HWND mouseOver_ = nullptr;
    // Double-click detection.
    HWND lastClickWindow_ = nullptr;
    std::uint64_t lastClickTime_ = 0;
    CPoint lastClickPoint_;
    bool lastClickWasDouble_ = false;
    struct Timer {
        HWND hwnd;
        UINT_PTR id;
        UINT elapseMs;
        std::uint64_t due;
    };
    std::vector<Timer> timers_;
    struct HotKey {
        HWND hwnd;
        int id;
    };
    std::vector<HotKey> hotKeys_;
    struct TrayIcon {
        HWND hwnd;
        UINT id;
        UINT callbackMessage;
    };
    std::vector<TrayIcon> trayIcons_;
    int modalDepth_ = 0;
    int paintDepth_ = 0;
    BrowserEventHandler browserEvents_;
};

}  // namespace platform
