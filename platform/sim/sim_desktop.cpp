#include "platform/sim/sim_desktop.h"

#include <algorithm>

#include "platform/sim/sim_text.h"

namespace platform {

namespace {
constexpr Argb kUnpaintedWindow = MakeArgb(255, 255, 255, 255);  // opaque window before content
}

SimDesktop::SimDesktop() = default;
SimDesktop::~SimDesktop() = default;

void SimDesktop::SetSink(BackendSink* sink) {
    sink_ = sink;
    browser_.SetSink(sink);
}

// --- Desktop set-up ---------------------------------------------------------------------------

void SimDesktop::SetScreen(const CRect& screen) {
    screen_ = screen;
    SetTaskbar(taskbarEdge_, taskbarThickness_);
}

void SimDesktop::SetTaskbar(SimTaskbarEdge edge, int thickness) {
    taskbarEdge_ = edge;
    taskbarThickness_ = std::max(0, thickness);
    workArea_ = screen_;
    switch (edge) {
        case SimTaskbarEdge::Bottom:
            workArea_.bottom -= taskbarThickness_;
            break;
        case SimTaskbarEdge::Top:
            workArea_.top += taskbarThickness_;
            break;
        case SimTaskbarEdge::Left:
            workArea_.left += taskbarThickness_;
            break;
        case SimTaskbarEdge::Right:
            workArea_.right -= taskbarThickness_;
            break;
    }
}

// --- Windows ----------------------------------------------------------------------------------

SimWindow* SimDesktop::Find(HWND hwnd) {
    const auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : &it->second;
}

const SimWindow* SimDesktop::Window(HWND hwnd) const {
    const auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : &it->second;
}

std::optional<StandardCursor> SimDesktop::Cursor(HWND hwnd) const {
    const SimWindow* w = Window(hwnd);
    return w ? w->cursor : std::nullopt;
}

std::vector<HWND> SimDesktop::TaskbarButtons() const {
    std::vector<HWND> out;
    for (HWND h : stack_) {
        const SimWindow& w = windows_.at(h);
        if (w.visible && w.taskbarButton && !w.modalDialog)
            out.push_back(h);
    }
    return out;
}

void SimDesktop::CreateNativeWindow(HWND hwnd, const NativeWindowInfo& info) {
    if (!hwnd || windows_.count(hwnd))
        return;
    SimWindow w;
    w.hwnd = hwnd;
    w.title = info.title;
    w.rect = info.rect;
    w.owner = windows_.count(info.owner) ? info.owner : nullptr;
    w.taskbarButton = info.taskbarButton;
    w.modalDialog = info.modalDialog;
    windows_.emplace(hwnd, std::move(w));
    stack_.push_back(hwnd);  // a new window starts on top
}

void SimDesktop::DestroyNativeWindow(HWND hwnd) {
    if (!windows_.erase(hwnd))
        return;
    stack_.erase(std::remove(stack_.begin(), stack_.end(), hwnd), stack_.end());
    for (auto& [h, w] : windows_) {
        if (w.owner == hwnd)
            w.owner = nullptr;
    }
    if (active_ == hwnd)
        active_ = nullptr;
    if (hover_ == hwnd)
        hover_ = nullptr;
    if (dragWindow_ == hwnd)
        dragWindow_ = nullptr;
    if (grab_ && grab_->hwnd == hwnd)
        grab_ = Target{};  // the buttons stay down, on nothing
}

void SimDesktop::SetTitle(HWND hwnd, const std::string& title) {
    if (SimWindow* w = Find(hwnd))
        w->title = title;
}

void SimDesktop::SetIcon(HWND hwnd, const PixelBuffer& icon) {
    if (SimWindow* w = Find(hwnd))
        w->icon = icon;
}

bool SimDesktop::IsDescendant(HWND hwnd, HWND ancestor) const {
    for (int guard = 0; hwnd && guard < 1000; ++guard) {
        if (hwnd == ancestor)
            return true;
        const SimWindow* w = Window(hwnd);
        hwnd = w ? w->owner : nullptr;
    }
    return false;
}

void SimDesktop::SetOwner(HWND hwnd, HWND owner) {
    SimWindow* w = Find(hwnd);
    if (!w)
        return;
    if (owner && (!Window(owner) || IsDescendant(owner, hwnd)))
        return;  // no cycles
    w->owner = owner;
    KeepOwnedAbove();
}

void SimDesktop::SetTaskbarButton(HWND hwnd, bool shown) {
    if (SimWindow* w = Find(hwnd))
        w->taskbarButton = shown;
}

void SimDesktop::SetRect(HWND hwnd, const CRect& screenRect) {
    if (SimWindow* w = Find(hwnd))
        w->rect = screenRect;
}

void SimDesktop::Show(HWND hwnd, NativeShow how) {
    SimWindow* w = Find(hwnd);
    if (!w)
        return;
    switch (how) {
        case NativeShow::Hide:
            w->visible = false;
            if (active_ == hwnd)
                active_ = nullptr;
            break;
        case NativeShow::Show:
        case NativeShow::ShowNoActivate:
        case NativeShow::Restore:
            w->visible = true;
            w->minimized = false;
            Raise(hwnd);
            break;
        case NativeShow::Minimize:
            w->visible = true;
            w->minimized = true;
            if (active_ == hwnd)
                active_ = nullptr;
            break;
    }
}

void SimDesktop::Activate(HWND hwnd) {
    if (!Find(hwnd))
        return;
    active_ = hwnd;
    Raise(hwnd);
}

void SimDesktop::SetEnabled(HWND hwnd, bool enabled) {
    if (SimWindow* w = Find(hwnd))
        w->enabled = enabled;
}

void SimDesktop::PresentWindow(HWND hwnd, const PixelBuffer& content, ContentAlpha alpha) {
    SimWindow* w = Find(hwnd);
    if (!w)
        return;
    w->content = content;
    w->contentAlpha = alpha;
    ++w->presentCount;
}

void SimDesktop::BeginMoveDrag(HWND hwnd, CPoint screenPt) {
    // Only a pressed left button can drag, as on a real desktop.
    if (!Find(hwnd) || !leftDown_)
        return;
    dragWindow_ = hwnd;
    dragLast_ = screenPt;
}

void SimDesktop::SetCursor(HWND hwnd, StandardCursor cursor) {
    if (SimWindow* w = Find(hwnd))
        w->cursor = cursor;
}

// --- Stacking ---------------------------------------------------------------------------------

std::vector<HWND> SimDesktop::GroupOf(HWND hwnd) const {
    std::vector<HWND> group;
    for (HWND h : stack_) {
        if (IsDescendant(h, hwnd))
            group.push_back(h);
    }
    return group;
}

void SimDesktop::Raise(HWND hwnd) {
    // Like a desktop does, raising an owned window brings its whole owner family forward first.
    HWND root = hwnd;
    for (const SimWindow* w = Window(root); w && w->owner; w = Window(root))
        root = w->owner;
    if (root != hwnd)
        RaiseGroup(root);
    RaiseGroup(hwnd);
}

void SimDesktop::RaiseGroup(HWND hwnd) {
    // The window comes to the top with everything it owns above it, in their present order.
    const std::vector<HWND> group = GroupOf(hwnd);
    stack_.erase(
        std::remove_if(stack_.begin(), stack_.end(), [&](HWND h) { return IsDescendant(h, hwnd); }),
        stack_.end());
    stack_.push_back(hwnd);
    for (HWND h : group) {
        if (h != hwnd)
            stack_.push_back(h);
    }
}

void SimDesktop::KeepOwnedAbove() {
    // After an owner change: lift any window that sits below its owner to just above it.
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t i = 0; i < stack_.size() && !changed; ++i) {
            const HWND owner = windows_.at(stack_[i]).owner;
            if (!owner)
                continue;
            const auto ownerPos = std::find(stack_.begin(), stack_.end(), owner);
            if (ownerPos == stack_.end() ||
                ownerPos < stack_.begin() + static_cast<std::ptrdiff_t>(i)) {
                continue;
            }
            const HWND moved = stack_[i];
            const std::vector<HWND> group = GroupOf(moved);
            stack_.erase(std::remove_if(stack_.begin(), stack_.end(),
                                        [&](HWND h) { return IsDescendant(h, moved); }),
                         stack_.end());
            const auto at = std::find(stack_.begin(), stack_.end(), owner) + 1;
            std::vector<HWND> lifted{moved};
            for (HWND h : group) {
                if (h != moved)
                    lifted.push_back(h);
            }
            stack_.insert(at, lifted.begin(), lifted.end());
            changed = true;
        }
    }
}

// --- Screen -----------------------------------------------------------------------------------

SimBrowserView* SimDesktop::ViewAt(const SimWindow& w, CPoint local) const {
    SimBrowserView* hit = nullptr;
    for (SimBrowserView* v : browser_.ViewsOf(w.hwnd)) {
        if (v->Visible() && v->Rect().PtInRect(local))
            hit = v;  // later views lie on top
    }
    return hit;
}

SimBrowserView* SimDesktop::FindView(int viewId) const {
    for (SimBrowserView* v : browser_.Views()) {
        if (v->Id() == viewId)
            return v;
    }
    return nullptr;
}

bool SimDesktop::Hittable(const SimWindow& w, CPoint local) const {
    if (!w.visible || w.minimized ||
        !CRect(0, 0, w.rect.Width(), w.rect.Height()).PtInRect(local)) {
        return false;
    }
    if (ViewAt(w, local))
        return true;
    if (w.contentAlpha == ContentAlpha::Opaque)
        return true;
    return w.content.Contains(local.x, local.y) && AlphaOf(w.content.At(local.x, local.y)) > 0;
}

HWND SimDesktop::WindowAt(CPoint screenPt) const {
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
        const SimWindow& w = windows_.at(*it);
        if (Hittable(w, CPoint(screenPt.x - w.rect.left, screenPt.y - w.rect.top)))
            return *it;
    }
    return nullptr;
}

Argb SimDesktop::WindowPixel(const SimWindow& w, int lx, int ly) const {
    const bool opaque = w.contentAlpha == ContentAlpha::Opaque;
    Argb c = w.content.Contains(lx, ly) ? w.content.At(lx, ly) : (opaque ? kUnpaintedWindow : 0);
    if (opaque)
        c |= 0xFF000000u;  // alpha is ignored
    for (SimBrowserView* v : browser_.ViewsOf(w.hwnd)) {
        if (!v->Visible() || !v->Rect().PtInRect(CPoint(lx, ly)))
            continue;
        // The view paints a one-pixel buffer lying at (lx, ly) of the window.
        PixelBuffer one(1, 1, c);
        CRect r = v->Rect();
        r.OffsetRect(-lx, -ly);
        v->PaintInto(one, r);
        c = one.At(0, 0);
    }
    return c;
}

void SimDesktop::DrawWindow(PixelBuffer& screen, const SimWindow& w) const {
    const int width = w.rect.Width();
    const int height = w.rect.Height();
    if (width <= 0 || height <= 0)
        return;
    const bool opaque = w.contentAlpha == ContentAlpha::Opaque;
    PixelBuffer image(width, height, opaque ? kUnpaintedWindow : 0);
    image.Copy(w.content, CRect(0, 0, w.content.Width(), w.content.Height()), 0, 0,
               CRect(0, 0, width, height));
    if (opaque) {
        for (Argb& p : image.Pixels())
            p |= 0xFF000000u;
    }
    for (SimBrowserView* v : browser_.ViewsOf(w.hwnd)) {
        if (v->Visible())
            v->PaintInto(image, v->Rect());
    }
    const CRect all(0, 0, screen.Width(), screen.Height());
    const int dx = w.rect.left - screen_.left;
    const int dy = w.rect.top - screen_.top;
    if (opaque) {
        screen.Copy(image, CRect(0, 0, width, height), dx, dy, all);
    } else {
        screen.Blend(image, CRect(0, 0, width, height), dx, dy, all);
    }
}

PixelBuffer SimDesktop::ComposeScreen() const {
    PixelBuffer screen(screen_.Width(), screen_.Height(), OpaqueArgb(background_));
    for (HWND h : stack_) {
        const SimWindow& w = windows_.at(h);
        if (w.visible && !w.minimized)
            DrawWindow(screen, w);
    }
    return screen;
}

Argb SimDesktop::ScreenPixel(int x, int y) const {
    Argb pixel = OpaqueArgb(background_);
    for (HWND h : stack_) {
        const SimWindow& w = windows_.at(h);
        if (!w.visible || w.minimized || !w.rect.PtInRect(CPoint(x, y)))
            continue;
        const Argb c = WindowPixel(w, x - w.rect.left, y - w.rect.top);
        pixel = w.contentAlpha == ContentAlpha::Opaque ? c : BlendOver(pixel, c);
    }
    return pixel;
}

// --- Text -------------------------------------------------------------------------------------

void SimDesktop::DrawText(PixelBuffer& target, const CRect& clip, const CRect& layout,
                          const std::string& utf8, const FontSpec& font, COLORREF color,
                          UINT format) {
    textDrawn_.push_back({utf8, layout, clip, color, format, font});
    DrawSimText(target, clip, layout, utf8, font, color, format);
}

bool SimDesktop::WasTextDrawn(const std::string& text) const {
    return std::any_of(textDrawn_.begin(), textDrawn_.end(),
                       [&](const SimTextCall& call) { return call.text == text; });
}

// --- Browser, hot keys, tray, menus, message boxes ---------------------------------------------

std::unique_ptr<BrowserView> SimDesktop::CreateBrowserView(HWND host, const CRect& rectInWindow,
                                                           const BrowserOptions& options) {
    return browser_.CreateView(host, rectInWindow, options);
}

bool SimDesktop::RegisterHotKey(int id, UINT modifiers, UINT vk) {
    const SimHotKey key{modifiers, vk};
    if (heldElsewhere_.count({modifiers, vk}))
        return false;
    for (const auto& [otherId, other] : hotKeys_) {
        if (otherId != id && other == key)
            return false;
    }
    hotKeys_[id] = key;
    return true;
}

void SimDesktop::UnregisterHotKey(int id) {
    hotKeys_.erase(id);
}

bool SimDesktop::AddTrayIcon(UINT id, const PixelBuffer& icon, const std::string& tip) {
    if (!trayAvailable_)
        return false;
    trayIcons_[id] = SimTrayIcon{icon, tip};
    return true;
}

void SimDesktop::RemoveTrayIcon(UINT id) {
    trayIcons_.erase(id);
}

bool SimDesktop::TrayMouse(UINT id, UINT mouseMessage) {
    if (!trayIcons_.count(id))
        return false;
    if (sink_)
        sink_->OnTrayMouse(id, mouseMessage);
    return true;
}

UINT SimDesktop::TrackPopupMenu(const std::vector<MenuItem>& items, CPoint screenPt) {
    const UINT choice = nextMenuChoice_;
    nextMenuChoice_ = 0;
    // The user can only pick an item the menu has; anything else dismisses it.
    const bool offered = std::any_of(items.begin(), items.end(),
                                     [&](const MenuItem& item) { return item.id == choice; });
    lastMenu_ = SimMenu{items, screenPt, offered ? choice : 0};
    ++menusShown_;
    return lastMenu_->result;
}

void SimDesktop::ShowMessageBox(const std::string& text, const std::string& caption, bool error) {
    messageBoxes_.push_back({text, caption, error});
}

}  // namespace platform
