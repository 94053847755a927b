// The simulated user: mouse and keyboard input routed like a desktop routes it.
#include <algorithm>

#include "platform/sim/sim_desktop.h"

namespace platform {

SimDesktop::Target SimDesktop::TargetAt(CPoint screenPt) const {
    const HWND hwnd = WindowAt(screenPt);
    if (!hwnd)
        return {};
    const SimWindow& w = windows_.at(hwnd);
    const SimBrowserView* view =
        ViewAt(w, CPoint(screenPt.x - w.rect.left, screenPt.y - w.rect.top));
    return {hwnd, view ? view->Id() : 0};
}

UINT SimDesktop::ButtonFlags() const {
    return (leftDown_ ? kMouseLeftDown : 0) | (rightDown_ ? kMouseRightDown : 0);
}

void SimDesktop::Deliver(const Target& target, MouseKind kind, CPoint screenPt) {
    const SimWindow* w = Window(target.hwnd);
    if (!w || !w->enabled)
        return;  // a disabled window takes no input
    const CPoint local(screenPt.x - w->rect.left, screenPt.y - w->rect.top);
    if (target.viewId) {
        // The page takes its own input; the core never sees it.
        SimBrowserView* view = FindView(target.viewId);
        if (!view)
            return;
        const CRect r = view->Rect();
        if (view->ReceiveMouse(kind, CPoint(local.x - r.left, local.y - r.top))) {
            contextMenus_.push_back({target.hwnd, screenPt});
        }
        return;
    }
    if (sink_)
        sink_->OnMouse(target.hwnd, kind, local, ButtonFlags());
}

void SimDesktop::SendLeave(CPoint screenPt) {
    const HWND left = hover_;
    hover_ = nullptr;
    if (left)
        Deliver({left, 0}, MouseKind::Leave, screenPt);
}

void SimDesktop::MouseMove(CPoint pt) {
    cursor_ = pt;
    if (dragWindow_) {
        // The window follows the pointer; the desktop reports where it went.
        SimWindow* w = Find(dragWindow_);
        const int dx = pt.x - dragLast_.x;
        const int dy = pt.y - dragLast_.y;
        dragLast_ = pt;
        if (!w || (dx == 0 && dy == 0))
            return;
        w->rect.OffsetRect(dx, dy);
        if (sink_)
            sink_->OnWindowMoved(dragWindow_, w->rect.TopLeft());
        return;
    }
    if (grab_) {
        // Implicit grab: the window that got the press gets every move until the release.
        Deliver(*grab_, MouseKind::Move, pt);
        return;
    }
    Target target = TargetAt(pt);
    if (target.hwnd && !Window(target.hwnd)->enabled)
        target = {};
    const HWND over = target.viewId ? nullptr : target.hwnd;
    if (hover_ && hover_ != over)
        SendLeave(pt);
    if (over)
        hover_ = over;
    if (target.hwnd)
        Deliver(target, MouseKind::Move, pt);
}

void SimDesktop::ButtonDown(CPoint pt, bool left) {
    if (!(cursor_ == pt))
        MouseMove(pt);
    cursor_ = pt;
    const bool firstButton = !leftDown_ && !rightDown_;
    (left ? leftDown_ : rightDown_) = true;
    const MouseKind kind = left ? MouseKind::LeftDown : MouseKind::RightDown;
    if (!firstButton) {
        if (grab_)
            Deliver(*grab_, kind, pt);
        return;
    }
    const Target target = TargetAt(pt);
    grab_ = Target{};  // a press on the desktop or a disabled window grabs nothing
    if (!target.hwnd)
        return;
    ActivateByUser(target.hwnd);
    const SimWindow* w = Window(target.hwnd);  // the activation handler may have destroyed it
    if (!w || !w->enabled)
        return;
    grab_ = target;
    Deliver(target, kind, pt);
}

void SimDesktop::ButtonUp(CPoint pt, bool left) {
    if (!(cursor_ == pt))
        MouseMove(pt);
    cursor_ = pt;
    bool& down = left ? leftDown_ : rightDown_;
    if (!down)
        return;
    down = false;
    const bool lastButton = !leftDown_ && !rightDown_;
    if (left && dragWindow_) {
        dragWindow_ = nullptr;  // the release ends the move drag and is the desktop's
    } else if (grab_ && grab_->hwnd) {
        Deliver(*grab_, left ? MouseKind::LeftUp : MouseKind::RightUp, pt);
    }
    if (!lastButton)
        return;
    grab_.reset();
    // The grab is over: if the pointer is now over something else, the window has lost it.
    Target target = TargetAt(pt);
    if (target.hwnd && !Window(target.hwnd)->enabled)
        target = {};
    const HWND over = target.viewId ? nullptr : target.hwnd;
    if (hover_ && hover_ != over)
        SendLeave(pt);
}

void SimDesktop::MouseDown(CPoint pt) {
    ButtonDown(pt, true);
}
void SimDesktop::MouseUp(CPoint pt) {
    ButtonUp(pt, true);
}
void SimDesktop::RightDown(CPoint pt) {
    ButtonDown(pt, false);
}
void SimDesktop::RightUp(CPoint pt) {
    ButtonUp(pt, false);
}

void SimDesktop::Click(CPoint pt) {
    MouseDown(pt);
    MouseUp(pt);
}

void SimDesktop::DoubleClick(CPoint pt) {
    Click(pt);
    AdvanceTime(kDoubleClickGapMs);
    Click(pt);
}

void SimDesktop::RightClick(CPoint pt) {
    RightDown(pt);
    RightUp(pt);
}

void SimDesktop::Drag(CPoint from, CPoint to, int steps) {
    steps = std::max(1, steps);
    MouseMove(from);
    MouseDown(from);
    for (int i = 1; i <= steps; ++i) {
        MouseMove(
            CPoint(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps));
    }
    MouseUp(to);
}

// --- Keys and window commands -----------------------------------------------------------------

void SimDesktop::PressKey(UINT vk, UINT modifiers) {
    for (const auto& [id, key] : hotKeys_) {
        if (key.vk == vk && key.modifiers == modifiers) {
            // A global hot key is taken before any window sees the key.
            if (sink_)
                sink_->OnHotKey(id);
            return;
        }
    }
    KeyDown(vk);
    KeyUp(vk);
}

void SimDesktop::KeyDown(UINT vk) {
    const SimWindow* w = Window(active_);
    if (w && w->enabled && sink_)
        sink_->OnKey(active_, true, vk);
}

void SimDesktop::KeyUp(UINT vk) {
    const SimWindow* w = Window(active_);
    if (w && w->enabled && sink_)
        sink_->OnKey(active_, false, vk);
}

void SimDesktop::CloseRequest(HWND hwnd) {
    if (Find(hwnd) && sink_)
        sink_->OnWindowCloseRequest(hwnd);
}

void SimDesktop::SetActive(HWND hwnd, bool report) {
    const HWND previous = active_;
    if (previous == hwnd)
        return;
    active_ = hwnd;
    if (!report || !sink_)
        return;
    if (previous && Find(previous))
        sink_->OnWindowActivated(previous, false);
    if (hwnd && Find(hwnd) && active_ == hwnd)
        sink_->OnWindowActivated(hwnd, true);
}

void SimDesktop::ActivateByUser(HWND hwnd) {
    SimWindow* w = Find(hwnd);
    if (!w)
        return;
    if (!w->enabled) {
        // A window disabled by its modal dialog: the desktop brings the dialog forward instead.
        HWND dialog = nullptr;
        for (HWND h : stack_) {
            const SimWindow& o = windows_.at(h);
            if (h != hwnd && o.visible && !o.minimized && o.enabled && IsDescendant(h, hwnd))
                dialog = h;
        }
        if (!dialog)
            return;
        hwnd = dialog;
    }
    Raise(hwnd);
    SetActive(hwnd, true);
}

void SimDesktop::MinimizeByUser(HWND hwnd) {
    SimWindow* w = Find(hwnd);
    if (!w || w->minimized)
        return;
    w->minimized = true;
    if (sink_)
        sink_->OnWindowMinimized(hwnd, true);
    if (active_ == hwnd)
        SetActive(nullptr, true);
}

void SimDesktop::RestoreFromTaskbar(HWND hwnd) {
    SimWindow* w = Find(hwnd);
    if (!w)
        return;
    if (w->minimized) {
        w->minimized = false;
        Raise(hwnd);
        if (sink_)
            sink_->OnWindowMinimized(hwnd, false);
    }
    ActivateByUser(hwnd);
}

void SimDesktop::MoveByDesktop(HWND hwnd, CPoint topLeft) {
    SimWindow* w = Find(hwnd);
    if (!w)
        return;
    w->rect.OffsetRect(topLeft.x - w->rect.left, topLeft.y - w->rect.top);
    if (sink_)
        sink_->OnWindowMoved(hwnd, topLeft);
}

}  // namespace platform
