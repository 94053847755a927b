#pragma once
// The simulated desktop's browser: a scripted engine. A test registers pages by URL; a view
// loading a page raises the navigation events a real engine raises, in the same order, loads the
// page's frames and runs the page's scripted navigations on the virtual clock.

#include <cstdint>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/sim/sim_event_queue.h"

namespace platform {

struct SimFrame {
    std::string name;
    std::string url;
};

// A navigation the page starts by itself delayMs after it finished loading.
struct SimScriptStep {
    std::uint64_t delayMs = 0;
    bool inFrame = false;  // navigate the frame named frameName rather than the main frame
    std::string frameName;
    std::string url;
};

struct SimPage {
    Argb background = MakeArgb(255, 255, 255, 255);
    std::vector<SimFrame> frames;
    std::vector<SimScriptStep> script;
    std::string redirectTo;  // non-empty: the server answers with a redirect to this address
};

enum class SimNavEventKind { BeforeNavigate, NavigateComplete, DocumentComplete };

struct SimNavEvent {
    int viewId = 0;
    SimNavEventKind kind = SimNavEventKind::BeforeNavigate;
    std::string url;
    bool mainFrame = true;
    std::string frameName;
    bool newWindow = false;
    bool redirect = false;
    bool cancelled = false;  // BeforeNavigate only: the sink cancelled it
};

// Mouse input that reached a view (view coordinates).
struct SimViewInput {
    MouseKind kind = MouseKind::Move;
    CPoint pt;
};

class SimBrowserEngine;

class SimBrowserView final : public BrowserView {
public:
    SimBrowserView(SimBrowserEngine* engine, int id, HWND host, const CRect& rect,
                   const BrowserOptions& options);
    ~SimBrowserView() override;
    SimBrowserView(const SimBrowserView&) = delete;
    SimBrowserView& operator=(const SimBrowserView&) = delete;

    // BrowserView.
    void SetRect(const CRect& rectInWindow) override { rect_ = rectInWindow; }
    void SetVisible(bool visible) override { visible_ = visible; }
    void Navigate(const std::string& url) override;  // queued, like a real engine
    void Reload() override;                          // queued; raises BeforeNavigate again
    std::string CurrentUrl() const override { return url_; }
    // Draws the page over the window's picture when the desktop composes the screen.
    void PaintInto(PixelBuffer& windowContent, const CRect& rectInWindow);

    // What a test looks at.
    int Id() const { return id_; }
    HWND Host() const { return host_; }
    CRect Rect() const { return rect_; }
    bool Visible() const { return visible_; }
    const BrowserOptions& Options() const { return options_; }
    Argb Background() const { return background_; }
    // The URL each frame of the current page shows (frames that were cancelled are absent).
    const std::map<std::string, std::string>& FrameUrls() const { return frameUrls_; }
    const std::vector<SimViewInput>& Inputs() const { return inputs_; }
    std::vector<CPoint> Clicks() const;       // left button releases
    std::vector<CPoint> RightClicks() const;  // right button releases
    int ContextMenusShown() const { return contextMenus_; }
    // Pages the view opened in a window of its own (new-window requests nobody cancelled).
    const std::vector<std::string>& OpenedWindows() const { return openedWindows_; }

    // The page navigates now (a link, a form, a script): runs synchronously. frameName empty
    // with mainFrame false means the page's first frame.
    void PageNavigates(const std::string& url, bool mainFrame = true,
                       const std::string& frameName = {});
    // The page asks for a new window (window.open, target=_blank).
    void PageOpensWindow(const std::string& url);

    // A script of the page, or of any frame in it (they share the host's object), reads
    // window.external[name]: the value, or nothing when the engine throws for a missing member.
    std::optional<std::string> ScriptReadsExternal(const std::string& name) const;
    // A script assigns to window.external[name]; false when the engine throws.
    bool ScriptWritesExternal(const std::string& name, const std::string& value) const;

    // The desktop routes the mouse here; returns true when a context menu opened.
    bool ReceiveMouse(MouseKind kind, CPoint ptInView);

private:
    friend class SimBrowserEngine;

    SimBrowserEngine* engine_;
    int id_;
    HWND host_;
    CRect rect_;
    BrowserOptions options_;
    bool visible_ = true;
    std::string url_;
    Argb background_ = MakeArgb(255, 255, 255, 255);
    std::vector<SimFrame> pageFrames_;  // frames of the current page, in page order
    std::map<std::string, std::string> frameUrls_;
    std::uint64_t generation_ = 0;  // bumped on every commit; stale scripted steps check it
    std::vector<SimViewInput> inputs_;
    int contextMenus_ = 0;
    std::vector<std::string> openedWindows_;
};

class SimBrowserEngine {
public:
    explicit SimBrowserEngine(SimEventQueue& queue) : queue_(queue) {}
    ~SimBrowserEngine();
    SimBrowserEngine(const SimBrowserEngine&) = delete;
    SimBrowserEngine& operator=(const SimBrowserEngine&) = delete;

    void SetSink(BackendSink* sink) { sink_ = sink; }
    void AddPage(const std::string& url, SimPage page) { pages_[url] = std::move(page); }
    // The registered page, or a blank white one.
    const SimPage& PageFor(const std::string& url) const;

    std::unique_ptr<BrowserView> CreateView(HWND host, const CRect& rect,
                                            const BrowserOptions& options);
    std::vector<SimBrowserView*> Views() const;  // live views, in creation order
    std::vector<SimBrowserView*> ViewsOf(HWND host) const;

    const std::vector<SimNavEvent>& Events() const { return events_; }
    // One line per event: "before main URL", "before frame NAME URL", "navigated URL",
    // "complete URL"; a cancelled BeforeNavigate ends in " cancelled", a redirect starts
    // "before redirect", a new window "before newwindow".
    std::vector<std::string> EventLog() const;
    void ClearEventLog() { events_.clear(); }

    // Used by the views.
    void QueueNavigation(int viewId, const std::string& url);
    void NavigateMain(int viewId, const std::string& url);
    void NavigateFrame(int viewId, const std::string& frameName, const std::string& url);
    void OpenWindow(int viewId, const std::string& url);
    void Forget(SimBrowserView* view) { views_.erase(view->Id()); }

private:
    SimBrowserView* Find(int viewId) const;
    // Raises BeforeNavigate; returns true when the sink cancelled it.
    bool RaiseBefore(SimBrowserView* view, const NavigationRequest& request);
    void RaiseComplete(SimBrowserView* view, SimNavEventKind kind, const std::string& url,
                       bool mainFrame, const std::string& frameName);
    bool StillCurrent(int viewId, std::uint64_t generation) const;

    SimEventQueue& queue_;
    BackendSink* sink_ = nullptr;
    std::map<std::string, SimPage> pages_;
    std::map<int, SimBrowserView*> views_;
    int nextViewId_ = 1;
    std::vector<SimNavEvent> events_;
};

}  // namespace platform
