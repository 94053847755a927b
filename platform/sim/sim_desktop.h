#pragma once
// The simulated desktop: a backend for tests. It models every native window the core creates
// (rectangle, visibility, owner, z-order, activation, content), composes a screen image from the
// windows' content, routes scripted mouse and key input by hit-testing that screen, and runs a
// virtual clock and a scripted browser engine.
//
// Like a real desktop it reports only what the user or the desktop did: the core's own calls
// (SetRect, Show, Activate...) change the model and raise no events.

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/backend.h"
#include "platform/sim/sim_browser.h"
#include "platform/sim/sim_event_queue.h"

namespace platform {

struct SimWindow {
    HWND hwnd = nullptr;
    std::string title;
    PixelBuffer icon;
    CRect rect;  // screen coordinates
    HWND owner = nullptr;
    bool visible = false;
    bool minimized = false;  // a minimised window stays visible in this sense
    bool taskbarButton = true;
    bool modalDialog = false;
    bool enabled = true;
    PixelBuffer content;  // as last presented; window-sized
    ContentAlpha contentAlpha = ContentAlpha::Opaque;
    int presentCount = 0;
    std::optional<StandardCursor> cursor;  // last SetCursor
};

struct SimHotKey {
    UINT modifiers = 0;
    UINT vk = 0;
    bool operator==(const SimHotKey&) const = default;
};

struct SimTrayIcon {
    PixelBuffer icon;
    std::string tip;
};

struct SimMenu {
    std::vector<MenuItem> items;
    CPoint pt;
    UINT result = 0;
};

struct SimMessageBox {
    std::string text;
    std::string caption;
    bool error = false;
};

struct SimTextCall {
    std::string text;
    CRect layout;
    CRect clip;
    COLORREF color = 0;
    UINT format = 0;
    FontSpec font;
};

struct SimContextMenu {
    HWND host = nullptr;
    CPoint screenPt;
};

enum class SimTaskbarEdge { Bottom, Top, Left, Right };

class SimDesktop final : public Backend {
public:
    static constexpr COLORREF kDefaultBackground = RGB(64, 96, 128);
    static constexpr int kDefaultTaskbarThickness = 40;
    static constexpr std::uint64_t kDoubleClickGapMs = 50;

    SimDesktop();
    ~SimDesktop() override;
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    // Backend.
    const char* Name() const override { return "sim"; }
    void SetSink(BackendSink* sink) override;
    BackendCapabilities Capabilities() const override { return capabilities_; }
    CRect ScreenRect() const override { return screen_; }
    CRect WorkArea() const override { return workArea_; }
    CPoint CursorPos() const override { return cursor_; }
    unsigned DoubleClickTimeMs() const override { return doubleClickMs_; }
    void CreateNativeWindow(HWND hwnd, const NativeWindowInfo& info) override;
    void DestroyNativeWindow(HWND hwnd) override;
    void SetTitle(HWND hwnd, const std::string& title) override;
    void SetIcon(HWND hwnd, const PixelBuffer& icon) override;
    void SetOwner(HWND hwnd, HWND owner) override;
    void SetTaskbarButton(HWND hwnd, bool shown) override;
    void SetRect(HWND hwnd, const CRect& screenRect) override;
    void Show(HWND hwnd, NativeShow how) override;
    void Activate(HWND hwnd) override;
    void SetEnabled(HWND hwnd, bool enabled) override;
    void PresentWindow(HWND hwnd, const PixelBuffer& content, ContentAlpha alpha) override;
    void BeginMoveDrag(HWND hwnd, CPoint screenPt) override;
    void SetCursor(HWND hwnd, StandardCursor cursor) override;
    void ProcessEvents(bool wait, std::optional<std::uint64_t> deadlineMs) override;
    void Wake() override { wake_.store(true); }
    std::uint64_t NowMs() const override { return queue_.NowMs(); }
    void DrawText(PixelBuffer& target, const CRect& clip, const CRect& layout,
                  const std::string& utf8, const FontSpec& font, COLORREF color,
                  UINT format) override;
    std::unique_ptr<BrowserView> CreateBrowserView(HWND host, const CRect& rectInWindow,
                                                   const BrowserOptions& options) override;
    bool RegisterHotKey(int id, UINT modifiers, UINT vk) override;
    void UnregisterHotKey(int id) override;
    bool AddTrayIcon(UINT id, const PixelBuffer& icon, const std::string& tip) override;
    void RemoveTrayIcon(UINT id) override;
    UINT TrackPopupMenu(const std::vector<MenuItem>& items, CPoint screenPt) override;
    void ShowMessageBox(const std::string& text, const std::string& caption, bool error) override;

    // Desktop set-up. SetScreen keeps the taskbar on its edge; SetWorkArea sets it outright.
    void SetScreen(const CRect& screen);
    void SetTaskbar(SimTaskbarEdge edge, int thickness = kDefaultTaskbarThickness);
    void SetWorkArea(const CRect& workArea) { workArea_ = workArea; }
    void SetBackground(COLORREF color) { background_ = color; }
    void SetCapabilities(const BackendCapabilities& caps) { capabilities_ = caps; }
    void SetDoubleClickTimeMs(unsigned ms) { doubleClickMs_ = ms; }
    void SetTrayAvailable(bool available) { trayAvailable_ = available; }  // false: no tray

    // Windows.
    const SimWindow* Window(HWND hwnd) const;
    std::vector<HWND> StackingOrder() const { return stack_; }  // bottom to top, hidden ones too
    HWND ActiveWindow() const { return active_; }
    std::vector<HWND> TaskbarButtons() const;  // visible windows with a button, in stacking order
    std::optional<StandardCursor> Cursor(HWND hwnd) const;
    // The window the mouse would hit at a screen point (null: the desktop).
    HWND WindowAt(CPoint screenPt) const;

    // Screen image: the background, then every visible, non-minimised window bottom to top.
    PixelBuffer ComposeScreen() const;
    Argb ScreenPixel(int x, int y) const;
    Argb ScreenPixel(CPoint pt) const { return ScreenPixel(pt.x, pt.y); }

    // Mouse, in screen coordinates. A press or release first moves the pointer to its point.
    void MouseMove(CPoint pt);
    void MouseDown(CPoint pt);
    void MouseUp(CPoint pt);
    void RightDown(CPoint pt);
    void RightUp(CPoint pt);
    void Click(CPoint pt);
    void DoubleClick(CPoint pt);  // two clicks kDoubleClickGapMs apart on the virtual clock
    void RightClick(CPoint pt);
    void Drag(CPoint from, CPoint to, int steps = 8);
    HWND MoveDragWindow() const { return dragWindow_; }  // null when no move drag runs
    const std::vector<SimContextMenu>& ContextMenusShown() const { return contextMenus_; }

    // Keyboard and window commands from the user.
    void PressKey(UINT vk, UINT modifiers = 0);  // modifiers: MOD_* bits
    void KeyDown(UINT vk);                       // to the active window; hot keys not checked
    void KeyUp(UINT vk);
    void CloseRequest(HWND hwnd);
    void MinimizeByUser(HWND hwnd);
    void RestoreFromTaskbar(HWND hwnd);
    void ActivateByUser(HWND hwnd);
    void MoveByDesktop(HWND hwnd, CPoint topLeft);  // the window manager moved it

    // Global hot keys.
    const std::map<int, SimHotKey>& HotKeys() const { return hotKeys_; }
    void HoldKeyElsewhere(UINT vk, UINT modifiers = 0) { heldElsewhere_.insert({modifiers, vk}); }
    void ReleaseKeyElsewhere(UINT vk, UINT modifiers = 0) { heldElsewhere_.erase({modifiers, vk}); }

    // Tray icon, popup menus, message boxes.
    const std::map<UINT, SimTrayIcon>& TrayIcons() const { return trayIcons_; }
    bool TrayMouse(UINT id, UINT mouseMessage);  // false: no such icon, nothing sent
    void ChooseNextMenuItem(UINT id) { nextMenuChoice_ = id; }
    const std::optional<SimMenu>& LastMenu() const { return lastMenu_; }
    int MenusShown() const { return menusShown_; }
    const std::vector<SimMessageBox>& MessageBoxes() const { return messageBoxes_; }

    // Text.
    const std::vector<SimTextCall>& TextDrawn() const { return textDrawn_; }
    bool WasTextDrawn(const std::string& text) const;
    void ClearTextDrawn() { textDrawn_.clear(); }

    // Browser.
    void AddPage(const std::string& url, SimPage page) { browser_.AddPage(url, std::move(page)); }
    std::vector<SimBrowserView*> Views() const { return browser_.Views(); }
    std::vector<SimBrowserView*> ViewsOf(HWND host) const { return browser_.ViewsOf(host); }
    const std::vector<SimNavEvent>& NavEvents() const { return browser_.Events(); }
    std::vector<std::string> EventLog() const { return browser_.EventLog(); }
    void ClearEventLog() { browser_.ClearEventLog(); }

    // Time and the event loop.
    void AdvanceTime(std::uint64_t ms);
    // Queues a test step; it runs when the program is idle waiting for events (inside whatever
    // loop is running, modal loops included), one step per idle wait.
    void Then(std::function<void()> step);
    // Like Then, but the step waits delayMs of virtual time after the step before it ran; timers
    // due in between fire first.
    void ThenAfter(std::uint64_t delayMs, std::function<void()> step);
    std::size_t PendingSteps() const { return steps_.size(); }
    // Called when the program waits with nothing left to happen: no step, no timer, no event; or
    // when only timers remain and idleLimitMs of virtual time passed since the last step.
    void OnStall(std::function<void()> handler) { stallHandler_ = std::move(handler); }
    void SetIdleLimitMs(std::uint64_t ms) { idleLimitMs_ = ms; }
    // Delivers queued native events (browser events) without waiting, running steps or moving
    // the clock; for tests that drive the program without a loop.
    void RunPendingEvents();

private:
    struct Step {
        std::function<void()> run;
        std::uint64_t delayMs = 0;
        std::optional<std::uint64_t> dueMs;  // fixed when the step reaches the front
    };
    struct Target {
        HWND hwnd = nullptr;
        int viewId = 0;  // non-zero: a browser view of hwnd
    };

    SimWindow* Find(HWND hwnd);
    bool IsDescendant(HWND hwnd, HWND ancestor) const;
    std::vector<HWND> GroupOf(HWND hwnd) const;  // hwnd and its owned windows, stacking order
    void Raise(HWND hwnd);                       // with its owner family
    void RaiseGroup(HWND hwnd);                  // hwnd and what it owns
    void KeepOwnedAbove();
    bool Hittable(const SimWindow& w, CPoint local) const;
    SimBrowserView* ViewAt(const SimWindow& w, CPoint local) const;
    SimBrowserView* FindView(int viewId) const;
    Argb WindowPixel(const SimWindow& w, int lx, int ly) const;  // -1: hidden by nothing
    void DrawWindow(PixelBuffer& screen, const SimWindow& w) const;

    Target TargetAt(CPoint screenPt) const;  // disabled windows included
    UINT ButtonFlags() const;
    void Deliver(const Target& target, MouseKind kind, CPoint screenPt);
    void SendLeave(CPoint screenPt);
    void ButtonDown(CPoint pt, bool left);
    void ButtonUp(CPoint pt, bool left);
    void SetActive(HWND hwnd, bool report);

    void Stall(const char* why);

    BackendSink* sink_ = nullptr;
    SimEventQueue queue_;
    SimBrowserEngine browser_{queue_};
    BackendCapabilities capabilities_;
    CRect screen_{0, 0, 1920, 1080};
    CRect workArea_{0, 0, 1920, 1040};
    SimTaskbarEdge taskbarEdge_ = SimTaskbarEdge::Bottom;
    int taskbarThickness_ = kDefaultTaskbarThickness;
    COLORREF background_ = kDefaultBackground;
    unsigned doubleClickMs_ = 500;

    std::map<HWND, SimWindow> windows_;
    std::vector<HWND> stack_;  // bottom to top
    HWND active_ = nullptr;

    CPoint cursor_;
    bool leftDown_ = false;
    bool rightDown_ = false;
    std::optional<Target> grab_;  // set while a button is down
    HWND hover_ = nullptr;        // window whose own content the pointer is over
    HWND dragWindow_ = nullptr;
    CPoint dragLast_;
    std::vector<SimContextMenu> contextMenus_;

    std::map<int, SimHotKey> hotKeys_;
    std::set<std::pair<UINT, UINT>> heldElsewhere_;  // (modifiers, vk)
    bool trayAvailable_ = true;
    std::map<UINT, SimTrayIcon> trayIcons_;
    UINT nextMenuChoice_ = 0;
    std::optional<SimMenu> lastMenu_;
    int menusShown_ = 0;
    std::vector<SimMessageBox> messageBoxes_;
    std::vector<SimTextCall> textDrawn_;

    std::atomic<bool> wake_{false};
    std::deque<Step> steps_;
    std::function<void()> stallHandler_;
    std::uint64_t idleLimitMs_ = 10 * 60 * 1000;
    std::uint64_t lastActivityMs_ = SimEventQueue::kStartMs;
    int stallStreak_ = 0;
};

}  // namespace platform
