#include "platform/window_system.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/trace.h"
#include "platform/wnd.h"

namespace platform {

namespace {

std::map<std::string, WindowClass>& ClassTable() {
    static std::map<std::string, WindowClass> table;
    return table;
}

LPARAM PointParam(CPoint p) {
    return MAKELPARAM(p.x, p.y);
}

}  // namespace

void RegisterBuiltInClasses();

const WindowClass* FindWindowClass(const std::string& name) {
    static const bool registered = (RegisterBuiltInClasses(), true);
    (void)registered;
    auto it = ClassTable().find(name);
    return it == ClassTable().end() ? nullptr : &it->second;
}

void RegisterWindowClass(const WindowClass& windowClass) {
    ClassTable()[windowClass.name] = windowClass;
}

WindowSystem& WindowSystem::Get() {
    static WindowSystem* instance = [] {
        auto* ws = new WindowSystem();  // lives until the process ends: windows may outlive statics
        return ws;
    }();
    return *instance;
}

WindowRecord* WindowSystem::Find(HWND hwnd) {
    if (hwnd == nullptr)
        return nullptr;
    auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : it->second.get();
}

HWND WindowSystem::TopLevelOf(HWND hwnd) {
    WindowRecord* w = Find(hwnd);
    while (w != nullptr && w->parent != nullptr)
        w = Find(w->parent);
    return w ? w->hwnd : nullptr;
}

std::vector<HWND> WindowSystem::TopLevelWindows() const {
    std::vector<HWND> result;
    for (HWND h : creationOrder_) {
        auto it = windows_.find(h);
        if (it != windows_.end() && it->second->parent == nullptr)
            result.push_back(h);
    }
    return result;
}

std::vector<HWND> WindowSystem::OwnedWindows(HWND owner) const {
    std::vector<HWND> result;
    for (HWND h : creationOrder_) {
        auto it = windows_.find(h);
        if (it != windows_.end() && it->second->parent == nullptr && it->second->owner == owner)
            result.push_back(h);
    }
    return result;
}

HWND WindowSystem::Create(const std::string& className, const std::string& text, DWORD style,
                          DWORD exStyle, const CRect& rect, HWND parentOrOwner, int id,
                          CWnd* object, bool modalDialog) {
    const WindowClass* wc = FindWindowClass(className);
    if (wc == nullptr) {
        std::fprintf(stderr, "window class \"%s\" is not registered\n", className.c_str());
        return nullptr;
    }
    const bool child = (style & WS_CHILD) != 0;
    if (child && Find(parentOrOwner) == nullptr)
        return nullptr;
    auto record = std::make_unique<WindowRecord>();
    HWND hwnd = reinterpret_cast<HWND>(nextHandle_);
    nextHandle_ += 4;
    record->hwnd = hwnd;
    record->windowClass = wc;
    record->style = style & ~WS_VISIBLE;  // shown below, after creation, with its messages
    record->exStyle = exStyle;
    record->id = id;
    record->text = text;
    record->rect = rect;
    record->object = object;
    if (child) {
        record->parent = parentOrOwner;
    } else {
        // An owner is always a top-level window.
        record->owner = parentOrOwner ? TopLevelOf(parentOrOwner) : nullptr;
    }
    WindowRecord& w = *record;
    windows_[hwnd] = std::move(record);
    creationOrder_.push_back(hwnd);
    if (object)
        object->m_hWnd = hwnd;
    if (child)
        Find(w.parent)->children.push_back(hwnd);

    if (!child && HasBackend()) {
        NativeWindowInfo info;
        info.title = text;
        info.rect = rect;
        info.owner = w.owner;
        info.taskbarButton = (exStyle & WS_EX_APPWINDOW) != 0 ||
                             (w.owner == nullptr && (exStyle & WS_EX_TOOLWINDOW) == 0);
        info.modalDialog = modalDialog && w.owner != nullptr;
        if (info.modalDialog)
            info.taskbarButton = false;
        CurrentBackend().CreateNativeWindow(hwnd, info);
        w.nativeCreated = true;
        w.content.Resize(rect.Width(), rect.Height());
    }
    Trace::Record("create " + className +
                  (object ? std::string(" ") + object->GetRuntimeClass()->m_lpszClassName : ""));

    CREATESTRUCT cs{w.parent ? w.parent : w.owner,
                    rect.left,
                    rect.top,
                    rect.Width(),
                    rect.Height(),
                    style,
                    exStyle};
    if (Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        Destroy(hwnd);
        return nullptr;
    }
    if (Find(hwnd) == nullptr)
        return nullptr;
    if (style & WS_VISIBLE)
        Show(hwnd, SW_SHOWNA);
    Invalidate(hwnd);
    return hwnd;
}

void WindowSystem::Destroy(HWND hwnd) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr || w->destroying)
        return;
    w->destroying = true;
    // Owned windows go first, then children, as the desktop does.
    for (HWND owned : OwnedWindows(hwnd))
        Destroy(owned);
    w = Find(hwnd);
    if (w == nullptr)
        return;
    if (IsVisible(hwnd) && w->parent == nullptr && w->nativeCreated)
        CurrentBackend().Show(hwnd, NativeShow::Hide);
    Send(hwnd, WM_DESTROY, 0, 0);
    w = Find(hwnd);
    std::vector<HWND> children = w ? w->children : std::vector<HWND>{};
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        Destroy(*it);
    w = Find(hwnd);
    if (w == nullptr)
        return;
    // Release everything this window held on the desktop.
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                 [&](const Timer& t) { return t.hwnd == hwnd; }),
                  timers_.end());
    for (auto it = hotKeys_.begin(); it != hotKeys_.end();) {
        if (it->hwnd == hwnd) {
            CurrentBackend().UnregisterHotKey(it->id);
            it = hotKeys_.erase(it);
        } else {
            ++it;
        }
    }
    w->browser.reset();
    Send(hwnd, WM_NCDESTROY, 0, 0);
    w = Find(hwnd);
    if (w == nullptr)
        return;
    CWnd* object = w->object;
    if (w->parent) {
        if (WindowRecord* p = Find(w->parent)) {
            auto& siblings = p->children;
            siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
            Invalidate(p->hwnd);
        }
    } else if (w->nativeCreated) {
        CurrentBackend().DestroyNativeWindow(hwnd);
    }
    Trace::Record("destroy " + w->windowClass->name +
                  (object ? std::string(" ") + object->GetRuntimeClass()->m_lpszClassName : ""));
    if (active_ == hwnd)
        active_ = nullptr;
    if (focus_ == hwnd)
        focus_ = nullptr;
    if (capture_ == hwnd)
        capture_ = nullptr;
    if (mouseOver_ == hwnd)
        mouseOver_ = nullptr;
    if (lastClickWindow_ == hwnd)
        lastClickWindow_ = nullptr;
    windows_.erase(hwnd);
    creationOrder_.erase(std::remove(creationOrder_.begin(), creationOrder_.end(), hwnd),
                         creationOrder_.end());
    {
        std::lock_guard<std::mutex> lock(queueMutex_);
        queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                    [&](const PostedMessage& m) { return m.hwnd == hwnd; }),
                     queue_.end());
    }
    if (object) {
        object->m_hWnd = nullptr;
        object->PostNcDestroy();  // may delete the object
    }
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT WindowSystem::Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr)
        return 0;
    messageStack_.push_back(MSG{hwnd, message, wParam, lParam});
    LRESULT result = 0;
    if (w->object != nullptr) {
        result = w->object->WindowProc(message, wParam, lParam);
    } else {
        result = w->windowClass->proc(hwnd, message, wParam, lParam);
    }
    messageStack_.pop_back();
    return result;
}

const MSG* WindowSystem::CurrentMessage() const {
    return messageStack_.empty() ? nullptr : &messageStack_.back();
}

bool WindowSystem::Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    {
        std::lock_guard<std::mutex> lock(queueMutex_);
        queue_.push_back(PostedMessage{hwnd, message, wParam, lParam});
    }
    if (HasBackend())
        CurrentBackend().Wake();
    return true;
}

void WindowSystem::PostQuit(int exitCode) {
    quitPending_ = true;
    quitCode_ = exitCode;
    Trace::Record("quit " + std::to_string(exitCode));
    if (HasBackend())
        CurrentBackend().Wake();
}

bool WindowSystem::DispatchPosted() {
    PostedMessage m{};
    {
        std::lock_guard<std::mutex> lock(queueMutex_);
        if (queue_.empty())
            return false;
        m = queue_.front();
        queue_.pop_front();
    }
    if (Find(m.hwnd) == nullptr)
        return true;  // the window went away meanwhile
    // Keyboard messages first pass the window's and its ancestors' PreTranslateMessage.
    MSG msg{m.hwnd, m.message, m.wParam, m.lParam};
    if (m.message == WM_KEYDOWN || m.message == WM_KEYUP) {
        for (HWND h = m.hwnd; h != nullptr; h = Find(h) ? Find(h)->parent : nullptr) {
            WindowRecord* w = Find(h);
            if (w && w->object && w->object->PreTranslateMessage(&msg))
                return true;
        }
        if (Find(m.hwnd) == nullptr)
            return true;
    }
    Send(m.hwnd, m.message, m.wParam, m.lParam);
    return true;
}

std::optional<std::uint64_t> WindowSystem::NextDeadline() const {
    std::optional<std::uint64_t> next;
    for (const Timer& t : timers_)
        if (!next || t.due < *next)
            next = t.due;
    for (const auto& [h, w] : windows_)
        if (w->hoverDeadline && (!next || *w->hoverDeadline < *next))
            next = w->hoverDeadline;
    return next;
}

void WindowSystem::FireTimers() {
    if (!HasBackend())
        return;
    const std::uint64_t now = CurrentBackend().NowMs();
    for (Timer& t : timers_) {
        if (t.due <= now) {
            t.due = now + std::max<UINT>(t.elapseMs, 1);
            Post(t.hwnd, WM_TIMER, t.id, 0);
        }
    }
    for (HWND h : creationOrder_) {
        WindowRecord* w = Find(h);
        if (w && w->hoverDeadline && *w->hoverDeadline <= now) {
            w->hoverDeadline.reset();
            if (w->trackFlags & TME_HOVER) {
                w->trackFlags &= ~TME_HOVER;
                const CPoint screen = CurrentBackend().CursorPos();
                const CPoint origin = ClientOriginOnScreen(h);
                Post(h, WM_MOUSEHOVER, 0,
                     PointParam(CPoint(screen.x - origin.x, screen.y - origin.y)));
            }
        }
    }
}

bool WindowSystem::RunLoop(const std::function<bool()>& done) {
    while (true) {
        if (quitPending_)
            return false;
        if (done())
            return true;
        if (DispatchPosted())
            continue;
        FireTimers();
        {
            std::lock_guard<std::mutex> lock(queueMutex_);
            if (!queue_.empty())
                continue;
        }
        PaintPending();
        if (quitPending_)
            return false;
        if (done())
            return true;
        bool idle;
        {
            std::lock_guard<std::mutex> lock(queueMutex_);
            idle = queue_.empty();
        }
        CurrentBackend().ProcessEvents(idle, NextDeadline());
    }
}

void WindowSystem::PumpPending() {
    for (int guard = 0; guard < 100000; ++guard) {
        if (DispatchPosted())
            continue;
        FireTimers();
        {
            std::lock_guard<std::mutex> lock(queueMutex_);
            if (!queue_.empty())
                continue;
        }
        PaintPending();
        if (HasBackend())
            CurrentBackend().ProcessEvents(false, std::nullopt);
        std::lock_guard<std::mutex> lock(queueMutex_);
        if (queue_.empty())
            return;
    }
}

// ---------------------------------------------------------------------------------------------
// Geometry and visibility

bool WindowSystem::IsVisible(HWND hwnd) {
    for (WindowRecord* w = Find(hwnd); w != nullptr; w = Find(w->parent)) {
        if ((w->style & WS_VISIBLE) == 0)
            return false;
        if (w->parent == nullptr)
            return true;
    }
    return false;
}

CRect WindowSystem::ScreenRectOf(HWND hwnd) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr)
        return {};
    if (w->parent == nullptr)
        return w->rect;
    const CPoint o = ClientOriginOnScreen(w->parent);
    CRect r = w->rect;
    r.OffsetRect(o.x, o.y);
    return r;
}

CPoint WindowSystem::ClientOriginOnScreen(HWND hwnd) {
    // No window has a frame: the client area is the whole window.
    const CRect r = ScreenRectOf(hwnd);
    return {r.left, r.top};
}

void WindowSystem::SendMoveSize(WindowRecord& w, bool moved, bool sized) {
    const HWND h = w.hwnd;
    const CRect r = w.rect;
    if (moved)
        Send(h, WM_MOVE, 0, MAKELPARAM(r.left, r.top));
    if (sized && Find(h)) {
        const WindowRecord* now = Find(h);
        Send(h, WM_SIZE, now->iconic ? SIZE_MINIMIZED : SIZE_RESTORED,
             MAKELPARAM(r.Width(), r.Height()));
    }
}

void WindowSystem::SetPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr)
        return;
    CRect r = w->rect;
    if ((flags & SWP_NOMOVE) == 0)
        r = CRect(CPoint(x, y), r.Size());
    if ((flags & SWP_NOSIZE) == 0)
        r = CRect(r.TopLeft(), CSize(std::max(0, cx), std::max(0, cy)));
    const bool moved = r.TopLeft() != w->rect.TopLeft() ? true : false;
    const bool sized = !(r.Size() == w->rect.Size());
    if ((flags & SWP_NOZORDER) == 0 && w->parent != nullptr && insertAfter == HWND_TOP) {
        auto& siblings = Find(w->parent)->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
        siblings.push_back(hwnd);
    }
    if (moved || sized) {
        if (w->parent != nullptr)
            Invalidate(w->parent);
        w->rect = r;
        if (w->parent == nullptr && w->nativeCreated) {
            CurrentBackend().SetRect(hwnd, r);
            if (sized) {
                w->content.Resize(r.Width(), r.Height());
                if (w->perPixelImage)
                    w->perPixelImage = false;  // a resize drops the image
            }
        }
        if (w->browser) {
            const CPoint o = ClientOriginOnScreen(hwnd);
            const CRect top = ScreenRectOf(TopLevelOf(hwnd));
            w->browser->SetRect(CRect(CPoint(o.x - top.left, o.y - top.top), r.Size()));
        }
        // Children's browser views move with their window inside the top-level.
        Invalidate(hwnd);
        SendMoveSize(*w, moved, sized);
    }
    if (flags & SWP_SHOWWINDOW)
        Show(hwnd, SW_SHOWNA);
    if (flags & SWP_HIDEWINDOW)
        Show(hwnd, SW_HIDE);
}

void WindowSystem::HideOwnedFor(HWND owner, bool hide) {
    for (HWND h : OwnedWindows(owner)) {
        WindowRecord* w = Find(h);
        if (w == nullptr)
            continue;
        if (hide && (w->style & WS_VISIBLE)) {
            w->hiddenWithOwner = true;
            w->style &= ~WS_VISIBLE;
            Send(h, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
            if (Find(h) && w->nativeCreated)
                CurrentBackend().Show(h, NativeShow::Hide);
        } else if (!hide && w->hiddenWithOwner) {
            w->hiddenWithOwner = false;
            w->style |= WS_VISIBLE;
            Send(h, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
            if (Find(h) && w->nativeCreated) {
                CurrentBackend().Show(h, NativeShow::ShowNoActivate);
                Invalidate(h);
            }
        }
    }
}

bool WindowSystem::Show(HWND hwnd, int cmdShow) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr)
        return false;
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    const bool child = w->parent != nullptr;
    if (!child && Trace::Enabled())
        Trace::Record("show " + std::to_string(cmdShow) + " " +
                      (w->object ? w->object->GetRuntimeClass()->m_lpszClassName
                                 : w->windowClass->name.c_str()));
    switch (cmdShow) {
        case SW_HIDE:
            if (!wasVisible) {
                w->hiddenWithOwner = false;
                break;
            }
            Send(hwnd, WM_SHOWWINDOW, FALSE, 0);
            if ((w = Find(hwnd)) == nullptr)
                return wasVisible;
            w->style &= ~WS_VISIBLE;
            w->hiddenWithOwner = false;
            if (child) {
                Invalidate(w->parent);
                if (w->browser)
                    w->browser->SetVisible(false);
            } else if (w->nativeCreated) {
                CurrentBackend().Show(hwnd, NativeShow::Hide);
            }
            if (active_ == hwnd)
                active_ = nullptr;
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            if (child)
                break;
            if (!wasVisible) {
                Send(hwnd, WM_SHOWWINDOW, TRUE, 0);
                if ((w = Find(hwnd)) == nullptr)
                    return wasVisible;
                w->style |= WS_VISIBLE;
            }
            if (!w->iconic) {
                w->iconic = true;
                if (w->nativeCreated)
                    CurrentBackend().Show(hwnd, NativeShow::Minimize);
                HideOwnedFor(hwnd, true);
                if (Find(hwnd))
                    Send(hwnd, WM_SIZE, SIZE_MINIMIZED,
                         MAKELPARAM(w->rect.Width(), w->rect.Height()));
            }
            if (active_ == hwnd)
                active_ = nullptr;
            break;
        default: {
            const bool activate = cmdShow != SW_SHOWNA && cmdShow != SW_SHOWNOACTIVATE;
            if (!wasVisible) {
                Send(hwnd, WM_SHOWWINDOW, TRUE, 0);
                if ((w = Find(hwnd)) == nullptr)
                    return wasVisible;
                w->style |= WS_VISIBLE;
                w->hiddenWithOwner = false;
            }
            const bool restore = w->iconic && cmdShow != SW_SHOWNA && cmdShow != SW_SHOW;
            if (child) {
                Invalidate(hwnd);
                if (w->browser)
                    w->browser->SetVisible(true);
            } else if (w->nativeCreated) {
                if (restore) {
                    w->iconic = false;
                    CurrentBackend().Show(hwnd, NativeShow::Restore);
                } else {
                    CurrentBackend().Show(hwnd, activate && !w->iconic
                                                    ? NativeShow::Show
                                                    : NativeShow::ShowNoActivate);
                }
                Invalidate(hwnd);
                if (restore) {
                    HideOwnedFor(hwnd, false);
                    if (Find(hwnd))
                        Send(hwnd, WM_SIZE, SIZE_RESTORED,
                             MAKELPARAM(w->rect.Width(), w->rect.Height()));
                }
                if (activate && Find(hwnd))
                    Activate(hwnd);
            }
            break;
        }
    }
    return wasVisible;
}

void WindowSystem::SetStyle(HWND hwnd, DWORD style) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr)
        return;
    const DWORD visible = w->style & WS_VISIBLE;
    w->style = (style & ~WS_VISIBLE) | visible;  // visibility changes only through ShowWindow
    if (style & WS_VISIBLE && !visible)
        Show(hwnd, SW_SHOWNA);
    if (!(style & WS_VISIBLE) && visible)
        Show(hwnd, SW_HIDE);
    Invalidate(hwnd);
}

void WindowSystem::SetExStyle(HWND hwnd, DWORD exStyle) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr)
        return;
    const DWORD old = w->exStyle;
    w->exStyle = exStyle;
    if (w->parent == nullptr && w->nativeCreated &&
        ((old ^ exStyle) & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW))) {
        const bool taskbar = (exStyle & WS_EX_APPWINDOW) != 0 ||
                             (w->owner == nullptr && (exStyle & WS_EX_TOOLWINDOW) == 0);
        CurrentBackend().SetTaskbarButton(hwnd, taskbar);
    }
    if ((old & WS_EX_LAYERED) && !(exStyle & WS_EX_LAYERED)) {
        w->colorKeyed = false;
        w->perPixelImage = false;
        Invalidate(hwnd);
    }
}

void WindowSystem::SetText(HWND hwnd, const std::string& text) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr)
        return;
    w->text = text;
    if (w->parent == nullptr && w->nativeCreated)
        CurrentBackend().SetTitle(hwnd, text);
    else
        Invalidate(hwnd);
}

void WindowSystem::SetEnabled(HWND hwnd, bool enabled) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr)
        return;
    const bool was = (w->style & WS_DISABLED) == 0;
    if (was == enabled)
        return;
    if (enabled)
        w->style &= ~WS_DISABLED;
    else
        w->style |= WS_DISABLED;
    if (w->parent == nullptr && w->nativeCreated)
        CurrentBackend().SetEnabled(hwnd, enabled);
    if (!enabled && capture_ != nullptr && TopLevelOf(capture_) == hwnd)
        SetCapture(nullptr);
    Send(hwnd, WM_ENABLE, enabled, 0);
    Invalidate(hwnd);
}

HWND WindowSystem::Activate(HWND hwnd) {
    const HWND previous = active_;
    HWND top = TopLevelOf(hwnd);
    WindowRecord* w = Find(top);
    if (w == nullptr || !(w->style & WS_VISIBLE))
        return previous;
    if (active_ != top) {
        if (active_ && Find(active_))
            Send(active_, WM_ACTIVATE, 0, reinterpret_cast<LPARAM>(top));
        active_ = top;
        if (Find(top))
            Send(top, WM_ACTIVATE, 1, reinterpret_cast<LPARAM>(previous));
    }
    if (Find(top) && w->nativeCreated)
        CurrentBackend().Activate(top);
    if (Trace::Enabled() && w->object)
        Trace::Record(std::string("activate ") + w->object->GetRuntimeClass()->m_lpszClassName);
    return previous;
}

HWND WindowSystem::SetFocusTo(HWND hwnd) {
    const HWND previous = focus_;
    focus_ = Find(hwnd) ? hwnd : nullptr;
    return previous;
}

// ---------------------------------------------------------------------------------------------
// Painting

void WindowSystem::Invalidate(HWND hwnd) {
    const HWND top = TopLevelOf(hwnd);
    if (WindowRecord* w = Find(top)) {
        w->needsPaint = true;
        if (HasBackend())
            CurrentBackend().Wake();
    }
}

void WindowSystem::PaintPending() {
    for (HWND h : TopLevelWindows()) {
        WindowRecord* w = Find(h);
        if (w && w->needsPaint)
            PaintNow(h);
    }
}

DcTarget WindowSystem::PaintTargetFor(HWND hwnd) {
    const HWND top = TopLevelOf(hwnd);
    WindowRecord* t = Find(top);
    if (t == nullptr)
        return {};
    const CRect topRect = t->rect;
    CRect clip(0, 0, topRect.Width(), topRect.Height());
    // Clip to the window and every parent.
    for (WindowRecord* w = Find(hwnd); w != nullptr && w->parent != nullptr; w = Find(w->parent)) {
        CRect r = ScreenRectOf(w->hwnd);
        r.OffsetRect(-topRect.left, -topRect.top);
        clip = clip.Intersect(r);
    }
    const CRect self = ScreenRectOf(hwnd);
    DcTarget target;
    target.pixels = t->perPixelImage ? &t->layeredImage : &t->content;
    target.origin = CPoint(self.left - topRect.left, self.top - topRect.top);
    target.clip = clip;
    return target;
}

void WindowSystem::ContentChanged(HWND topLevel) {
    if (WindowRecord* w = Find(topLevel))
        PresentContent(*w);
}

void WindowSystem::PaintWindowTree(HWND hwnd) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr || !(w->style & WS_VISIBLE))
        return;
    // Erase, then paint; the window's device contexts resolve to this window's pixels.
    HDC eraseDc = ::GetDC(hwnd);
    Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(eraseDc), 0);
    ::ReleaseDC(hwnd, eraseDc);
    if (Find(hwnd) == nullptr)
        return;
    Send(hwnd, WM_PAINT, 0, 0);
    w = Find(hwnd);
    if (w == nullptr)
        return;
    // A browser control's view is drawn by the backend, above the window's content.
    const std::vector<HWND> children = w->children;
    for (HWND c : children)
        PaintWindowTree(c);
}

void WindowSystem::PaintNow(HWND topLevel) {
    WindowRecord* w = Find(topLevel);
    if (w == nullptr)
        return;
    w->needsPaint = false;
    if (!(w->style & WS_VISIBLE) || w->iconic)
        return;  // painted when shown again
    if (!w->perPixelImage) {
        ++paintDepth_;
        if (w->content.Width() != w->rect.Width() || w->content.Height() != w->rect.Height())
            w->content.Resize(w->rect.Width(), w->rect.Height());
        PaintWindowTree(topLevel);
        --paintDepth_;
    }
    if ((w = Find(topLevel)) != nullptr)
        PresentContent(*w);
}

void WindowSystem::PresentContent(WindowRecord& w) {
    if (!w.nativeCreated || !HasBackend())
        return;
    if (w.perPixelImage) {
        CurrentBackend().PresentWindow(w.hwnd, w.layeredImage, ContentAlpha::PerPixel);
        return;
    }
    if (w.colorKeyed) {
        // Pixels of exactly the key colour vanish; the others take the constant opacity.
        PixelBuffer keyed = w.content;
        const Argb key = OpaqueArgb(w.colorKey) & 0x00FFFFFF;
        const bool useKey = (w.layeredFlags & 1) != 0;
        const bool useAlpha = (w.layeredFlags & 2) != 0;
        const unsigned a = useAlpha ? w.constantAlpha : 255;
        for (Argb& p : keyed.Pixels()) {
            if (useKey && (p & 0x00FFFFFF) == key) {
                p = 0;
            } else if (a != 255) {
                auto ch = [&](int shift) {
                    return ((((p >> shift) & 0xFF) * a + 127) / 255) << shift;
                };
                p = (a << 24) | ch(16) | ch(8) | ch(0);
            } else {
                p |= 0xFF000000;
            }
        }
        CurrentBackend().PresentWindow(w.hwnd, keyed, ContentAlpha::PerPixel);
        return;
    }
    CurrentBackend().PresentWindow(w.hwnd, w.content, ContentAlpha::Opaque);
}

void WindowSystem::SetLayeredImage(HWND hwnd, const PixelBuffer& image, CPoint screenTopLeft) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr || w->parent != nullptr)
        return;
    w->perPixelImage = true;
    w->layeredImage = image;
    // The picture is the window's whole look: no painted content is kept beside it.
    w->content = PixelBuffer();
    const CRect r(screenTopLeft, CSize(image.Width(), image.Height()));
    if (!(r == w->rect)) {
        const bool moved = !(r.TopLeft() == w->rect.TopLeft());
        const bool sized = !(r.Size() == w->rect.Size());
        w->rect = r;
        if (w->nativeCreated)
            CurrentBackend().SetRect(hwnd, r);
        SendMoveSize(*w, moved, sized);
    }
    if ((w = Find(hwnd)) != nullptr)
        PresentContent(*w);
}

void WindowSystem::SetColorKey(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr || w->parent != nullptr)
        return;
    w->colorKeyed = true;
    w->colorKey = key;
    w->constantAlpha = alpha;
    w->layeredFlags = flags;
    Invalidate(hwnd);
}

// ---------------------------------------------------------------------------------------------
// Input

HWND WindowSystem::SetCapture(HWND hwnd) {
    const HWND previous = capture_;
    capture_ = Find(hwnd) ? hwnd : nullptr;
    if (previous && previous != capture_ && Find(previous))
        Send(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(capture_));
    return previous;
}

void WindowSystem::TrackMouse(HWND hwnd, DWORD flags, DWORD hoverTimeMs) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr)
        return;
    if (flags & TME_CANCEL) {
        w->trackFlags &= ~(flags & (TME_HOVER | TME_LEAVE));
        if (!(w->trackFlags & TME_HOVER))
            w->hoverDeadline.reset();
        return;
    }
    w->trackFlags |= flags & (TME_HOVER | TME_LEAVE);
    w->hoverTimeMs = hoverTimeMs == HOVER_DEFAULT ? 400 : hoverTimeMs;
    if (flags & TME_HOVER)
        w->hoverDeadline = CurrentBackend().NowMs() + w->hoverTimeMs;
    // Tracking a window the pointer is not over reports the leave at once.
    if ((flags & TME_LEAVE) && mouseOver_ != hwnd) {
        w->trackFlags &= ~(TME_LEAVE | TME_HOVER);
        w->hoverDeadline.reset();
        Post(hwnd, WM_MOUSELEAVE, 0, 0);
    }
}

HWND WindowSystem::ChildAt(HWND topLevel, CPoint windowPt, LRESULT& hit) {
    // Deepest visible, enabled child under the point whose hit test is not transparent.
    const CRect topRect = ScreenRectOf(topLevel);
    const CPoint screen(windowPt.x + topRect.left, windowPt.y + topRect.top);
    HWND target = topLevel;
    bool descended = true;
    while (descended) {
        descended = false;
        WindowRecord* w = Find(target);
        if (w == nullptr)
            break;
        for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
            WindowRecord* c = Find(*it);
            if (c == nullptr || !(c->style & WS_VISIBLE))
                continue;
            if (!ScreenRectOf(*it).PtInRect(screen))
                continue;
            const LRESULT h = Send(*it, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
            if (h == HTTRANSPARENT)
                continue;
            if (c->style & WS_DISABLED)
                return nullptr;  // disabled controls swallow the mouse
            target = *it;
            hit = h;
            descended = true;
            break;
        }
    }
    if (target == topLevel)
        hit = Send(topLevel, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    return target;
}

void WindowSystem::UpdateMouseOver(HWND target) {
    if (mouseOver_ == target)
        return;
    const HWND old = mouseOver_;
    mouseOver_ = target;
    if (WindowRecord* o = Find(old)) {
        if (o->trackFlags & TME_LEAVE) {
            o->trackFlags &= ~(TME_LEAVE | TME_HOVER);
            o->hoverDeadline.reset();
            Post(old, WM_MOUSELEAVE, 0, 0);
        }
    }
}

void WindowSystem::DeliverMouse(HWND target, UINT message, UINT keyFlags, CPoint screenPt) {
    const CPoint o = ClientOriginOnScreen(target);
    Send(target, message, keyFlags, MAKELPARAM(screenPt.x - o.x, screenPt.y - o.y));
}

void WindowSystem::OnMouse(HWND hwnd, MouseKind kind, CPoint pt, UINT keyFlags) {
    WindowRecord* top = Find(hwnd);
    if (top == nullptr || top->parent != nullptr)
        return;
    const CPoint screen(pt.x + top->rect.left, pt.y + top->rect.top);
    if (kind == MouseKind::Leave) {
        if (capture_ == nullptr)
            UpdateMouseOver(nullptr);
        return;
    }
    if (top->style & WS_DISABLED)
        return;

    const HWND capturedBefore = capture_;
    LRESULT hit = HTCLIENT;
    HWND target;
    if (capture_ != nullptr && TopLevelOf(capture_) == hwnd) {
        target = capture_;
    } else {
        target = ChildAt(hwnd, pt, hit);
        if (target == nullptr)
            return;
    }
    if (Find(target) == nullptr)
        return;

    if (kind == MouseKind::Move) {
        UpdateMouseOver(target);
        if (capture_ == nullptr) {
            const UINT msgId = WM_MOUSEMOVE;
            if (!Send(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                      MAKELPARAM(static_cast<int>(hit), static_cast<int>(msgId)))) {
                CurrentBackend().SetCursor(hwnd, StandardCursor::Arrow);
            }
        }
        if (Find(target) && (capture_ != nullptr || hit == HTCLIENT)) {
            DeliverMouse(target, WM_MOUSEMOVE, keyFlags, screen);
        }
        if (WindowRecord* t = Find(target); t && (t->trackFlags & TME_HOVER))
            t->hoverDeadline = CurrentBackend().NowMs() + t->hoverTimeMs;
        return;
    }

    if (kind == MouseKind::LeftDown || kind == MouseKind::RightDown) {
        if (active_ != hwnd)
            Activate(hwnd);
        if (Find(target) == nullptr)
            return;
        UpdateMouseOver(target);
    }
    if (capture_ == nullptr && hit != HTCLIENT) {
        // Outside any client area: caption drags, the rest is ignored.
        if (kind == MouseKind::LeftDown && hit == HTCAPTION)
            Send(target, WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTCAPTION),
                 MAKELPARAM(screen.x, screen.y));
        return;
    }
    switch (kind) {
        case MouseKind::LeftDown: {
            const std::uint64_t now = CurrentBackend().NowMs();
            const WindowRecord* t = Find(target);
            const bool isDouble = t && t->windowClass->doubleClicks && !lastClickWasDouble_ &&
                                  lastClickWindow_ == target &&
                                  now - lastClickTime_ <= CurrentBackend().DoubleClickTimeMs() &&
                                  std::abs(screen.x - lastClickPoint_.x) <= 4 &&
                                  std::abs(screen.y - lastClickPoint_.y) <= 4;
            lastClickWindow_ = target;
            lastClickTime_ = now;
            lastClickPoint_ = screen;
            lastClickWasDouble_ = isDouble;
            DeliverMouse(target, isDouble ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN,
                         keyFlags | kMouseLeftDown, screen);
            break;
        }
        case MouseKind::LeftUp:
            DeliverMouse(target, WM_LBUTTONUP, keyFlags & ~kMouseLeftDown, screen);
            break;
        case MouseKind::RightDown:
            DeliverMouse(target, WM_RBUTTONDOWN, keyFlags | kMouseRightDown, screen);
            break;
        case MouseKind::RightUp:
            DeliverMouse(target, WM_RBUTTONUP, keyFlags & ~kMouseRightDown, screen);
            break;
        default:
            break;
    }
    // When the press's capture ends, the window under the pointer gets it as after a move: the
    // window that held the mouse hears it was left, and the cursor becomes the new window's.
    if (capturedBefore != nullptr && capture_ == nullptr && Find(hwnd))
        OnMouse(hwnd, MouseKind::Move, pt, keyFlags);
}

void WindowSystem::OnKey(HWND hwnd, bool down, UINT virtualKey) {
    WindowRecord* top = Find(hwnd);
    if (top == nullptr || (top->style & WS_DISABLED))
        return;
    HWND target = hwnd;
    if (focus_ && TopLevelOf(focus_) == hwnd)
        target = focus_;
    Post(target, down ? WM_KEYDOWN : WM_KEYUP, virtualKey, 1);
}

void WindowSystem::OnWindowMoved(HWND hwnd, CPoint screenTopLeft) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr || w->parent != nullptr)
        return;
    if (w->rect.TopLeft() == screenTopLeft)
        return;
    w->rect = CRect(screenTopLeft, w->rect.Size());
    Send(hwnd, WM_MOVE, 0, MAKELPARAM(screenTopLeft.x, screenTopLeft.y));
}

void WindowSystem::OnWindowCloseRequest(HWND hwnd) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr || (w->style & WS_DISABLED))
        return;
    Post(hwnd, WM_CLOSE, 0, 0);
}

void WindowSystem::OnWindowMinimized(HWND hwnd, bool minimized) {
    WindowRecord* w = Find(hwnd);
    if (w == nullptr || w->iconic == minimized)
        return;
    w->iconic = minimized;
    HideOwnedFor(hwnd, minimized);
    if ((w = Find(hwnd)) == nullptr)
        return;
    if (!minimized)
        Invalidate(hwnd);
    Send(hwnd, WM_SIZE, minimized ? SIZE_MINIMIZED : SIZE_RESTORED,
         MAKELPARAM(w->rect.Width(), w->rect.Height()));
}

void WindowSystem::OnWindowActivated(HWND hwnd, bool active) {
    if (Find(hwnd) == nullptr)
        return;
    if (active && active_ != hwnd) {
        const HWND previous = active_;
        active_ = hwnd;
        if (previous && Find(previous))
            Send(previous, WM_ACTIVATE, 0, reinterpret_cast<LPARAM>(hwnd));
        if (Find(hwnd))
            Send(hwnd, WM_ACTIVATE, 1, reinterpret_cast<LPARAM>(previous));
    } else if (!active && active_ == hwnd) {
        active_ = nullptr;
        Send(hwnd, WM_ACTIVATE, 0, 0);
    }
}

void WindowSystem::OnHotKey(int id) {
    for (const HotKey& k : hotKeys_)
        if (k.id == id)
            Post(k.hwnd, WM_HOTKEY, static_cast<WPARAM>(id), 0);
}

void WindowSystem::OnTrayMouse(UINT iconId, UINT mouseMessage) {
    for (const TrayIcon& t : trayIcons_)
        if (t.id == iconId)
            Send(t.hwnd, t.callbackMessage, iconId, static_cast<LPARAM>(mouseMessage));
}

namespace {
HWND ControlOfView(BrowserView* view) {
    return static_cast<HWND>(view ? view->owner : nullptr);
}
}  // namespace

bool WindowSystem::OnBrowserBeforeNavigate(BrowserView* view, const NavigationRequest& request) {
    const HWND control = ControlOfView(view);
    if (Find(control) == nullptr || !browserEvents_)
        return false;
    return browserEvents_(control, 250, request.url, &request);
}

void WindowSystem::OnBrowserNavigateComplete(BrowserView* view, const std::string& url) {
    const HWND control = ControlOfView(view);
    if (Find(control) != nullptr && browserEvents_)
        browserEvents_(control, 252, url, nullptr);
}

void WindowSystem::OnBrowserDocumentComplete(BrowserView* view, const std::string& url) {
    const HWND control = ControlOfView(view);
    if (Find(control) != nullptr && browserEvents_)
        browserEvents_(control, 259, url, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Timers, hot keys, tray

void WindowSystem::SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) {
    KillTimer(hwnd, id);
    timers_.push_back(
        Timer{hwnd, id, elapseMs, CurrentBackend().NowMs() + std::max<UINT>(elapseMs, 1)});
}

bool WindowSystem::KillTimer(HWND hwnd, UINT_PTR id) {
    const auto before = timers_.size();
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                 [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; }),
                  timers_.end());
    return timers_.size() != before;
}

bool WindowSystem::RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk) {
    if (Find(hwnd) == nullptr)
        return false;
    for (const HotKey& k : hotKeys_)
        if (k.id == id)
            return false;
    if (!CurrentBackend().RegisterHotKey(id, modifiers, vk))
        return false;
    hotKeys_.push_back(HotKey{hwnd, id});
    return true;
}

bool WindowSystem::UnregisterHotKey(HWND hwnd, int id) {
    for (auto it = hotKeys_.begin(); it != hotKeys_.end(); ++it) {
        if (it->hwnd == hwnd && it->id == id) {
            CurrentBackend().UnregisterHotKey(id);
            hotKeys_.erase(it);
            return true;
        }
    }
    return false;
}

bool WindowSystem::AddTrayIcon(HWND hwnd, UINT id, UINT callbackMessage, HICON icon,
                               const std::string& tip) {
    for (const TrayIcon& t : trayIcons_)
        if (t.hwnd == hwnd && t.id == id)
            return false;
    const PixelBuffer* pixels = IconPixels(icon);
    if (!CurrentBackend().AddTrayIcon(id, pixels ? *pixels : PixelBuffer(16, 16, 0xFF000000), tip))
        return false;
    trayIcons_.push_back(TrayIcon{hwnd, id, callbackMessage});
    return true;
}

bool WindowSystem::RemoveTrayIcon(HWND hwnd, UINT id) {
    // The icon is named by the handle and number it was added with; the window itself may be gone.
    for (auto it = trayIcons_.begin(); it != trayIcons_.end(); ++it) {
        if (it->hwnd == hwnd && it->id == id) {
            CurrentBackend().RemoveTrayIcon(id);
            trayIcons_.erase(it);
            return true;
        }
    }
    return false;
}

void WindowSystem::ResetForTests() {
    for (HWND h : TopLevelWindows())
        Destroy(h);
    std::lock_guard<std::mutex> lock(queueMutex_);
    queue_.clear();
    quitPending_ = false;
    quitCode_ = 0;
    timers_.clear();
    hotKeys_.clear();
    trayIcons_.clear();
    active_ = focus_ = capture_ = mouseOver_ = lastClickWindow_ = nullptr;
    modalDepth_ = 0;
}

}  // namespace platform
