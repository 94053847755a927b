#include "platform/sim/sim_browser.h"

#include "platform/automation.h"

namespace platform {

SimBrowserView::SimBrowserView(SimBrowserEngine* engine, int id, HWND host, const CRect& rect,
                               const BrowserOptions& options)
    : engine_(engine), id_(id), host_(host), rect_(rect), options_(options) {}

SimBrowserView::~SimBrowserView() {
    if (engine_)
        engine_->Forget(this);
}

void SimBrowserView::Navigate(const std::string& url) {
    if (engine_)
        engine_->QueueNavigation(id_, url);
}

void SimBrowserView::Reload() {
    if (engine_ && !url_.empty())
        engine_->QueueNavigation(id_, url_);
}

void SimBrowserView::PaintInto(PixelBuffer& windowContent, const CRect& rectInWindow) {
    if (visible_)
        windowContent.Fill(rectInWindow, background_);
}

std::vector<CPoint> SimBrowserView::Clicks() const {
    std::vector<CPoint> out;
    for (const auto& in : inputs_) {
        if (in.kind == MouseKind::LeftUp)
            out.push_back(in.pt);
    }
    return out;
}

std::vector<CPoint> SimBrowserView::RightClicks() const {
    std::vector<CPoint> out;
    for (const auto& in : inputs_) {
        if (in.kind == MouseKind::RightUp)
            out.push_back(in.pt);
    }
    return out;
}

void SimBrowserView::PageNavigates(const std::string& url, bool mainFrame,
                                   const std::string& frameName) {
    if (!engine_)
        return;
    if (mainFrame) {
        engine_->NavigateMain(id_, url);
        return;
    }
    std::string frame = frameName;
    if (frame.empty() && !pageFrames_.empty())
        frame = pageFrames_.front().name;
    engine_->NavigateFrame(id_, frame, url);
}

void SimBrowserView::PageOpensWindow(const std::string& url) {
    if (engine_)
        engine_->OpenWindow(id_, url);
}

bool SimBrowserView::ReceiveMouse(MouseKind kind, CPoint ptInView) {
    inputs_.push_back({kind, ptInView});
    if (kind == MouseKind::RightUp && options_.contextMenu) {
        ++contextMenus_;
        return true;
    }
    return false;
}

SimBrowserEngine::~SimBrowserEngine() {
    // Views outlive the engine when the core still holds them; they then go quiet.
    for (auto& [id, view] : views_)
        view->engine_ = nullptr;
}

const SimPage& SimBrowserEngine::PageFor(const std::string& url) const {
    static const SimPage blank;
    const auto it = pages_.find(url);
    return it == pages_.end() ? blank : it->second;
}

std::unique_ptr<BrowserView> SimBrowserEngine::CreateView(HWND host, const CRect& rect,
                                                          const BrowserOptions& options) {
    const int id = nextViewId_++;
    auto view = std::make_unique<SimBrowserView>(this, id, host, rect, options);
    views_[id] = view.get();
    return view;
}

std::vector<SimBrowserView*> SimBrowserEngine::Views() const {
    std::vector<SimBrowserView*> out;
    for (const auto& [id, view] : views_)
        out.push_back(view);
    return out;
}

std::vector<SimBrowserView*> SimBrowserEngine::ViewsOf(HWND host) const {
    std::vector<SimBrowserView*> out;
    for (const auto& [id, view] : views_) {
        if (view->Host() == host)
            out.push_back(view);
    }
    return out;
}

std::vector<std::string> SimBrowserEngine::EventLog() const {
    std::vector<std::string> lines;
    for (const auto& e : events_) {
        std::string line;
        switch (e.kind) {
            case SimNavEventKind::BeforeNavigate:
                if (e.newWindow) {
                    line = "before newwindow " + e.url;
                } else if (e.redirect) {
                    line = "before redirect " + e.url;
                } else if (e.mainFrame) {
                    line = "before main " + e.url;
                } else {
                    line = "before frame " + e.frameName + " " + e.url;
                }
                if (e.cancelled)
                    line += " cancelled";
                break;
            case SimNavEventKind::NavigateComplete:
                line = e.mainFrame ? "navigated " + e.url
                                   : "navigated frame " + e.frameName + " " + e.url;
                break;
            case SimNavEventKind::DocumentComplete:
                line = e.mainFrame ? "complete " + e.url
                                   : "complete frame " + e.frameName + " " + e.url;
                break;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

SimBrowserView* SimBrowserEngine::Find(int viewId) const {
    const auto it = views_.find(viewId);
    return it == views_.end() ? nullptr : it->second;
}

bool SimBrowserEngine::StillCurrent(int viewId, std::uint64_t generation) const {
    const SimBrowserView* view = Find(viewId);
    return view && view->generation_ == generation;
}

bool SimBrowserEngine::RaiseBefore(SimBrowserView* view, const NavigationRequest& request) {
    SimNavEvent e;
    e.viewId = view->Id();
    e.kind = SimNavEventKind::BeforeNavigate;
    e.url = request.url;
    e.mainFrame = request.mainFrame;
    e.frameName = request.targetFrame;
    e.newWindow = request.newWindow;
    e.redirect = request.redirect;
    const std::size_t index = events_.size();
    events_.push_back(e);
    // The handler may navigate, destroy the view or raise further events: record first, then
    // mark by index.
    const bool cancelled = sink_ && sink_->OnBrowserBeforeNavigate(view, request);
    events_[index].cancelled = cancelled;
    return cancelled;
}

void SimBrowserEngine::RaiseComplete(SimBrowserView* view, SimNavEventKind kind,
                                     const std::string& url, bool mainFrame,
                                     const std::string& frameName) {
    SimNavEvent e;
    e.viewId = view->Id();
    e.kind = kind;
    e.url = url;
    e.mainFrame = mainFrame;
    e.frameName = frameName;
    events_.push_back(e);
    if (!sink_)
        return;
    if (kind == SimNavEventKind::NavigateComplete) {
        sink_->OnBrowserNavigateComplete(view, url);
    } else {
        sink_->OnBrowserDocumentComplete(view, url);
    }
}

void SimBrowserEngine::QueueNavigation(int viewId, const std::string& url) {
    queue_.Post([this, viewId, url] { NavigateMain(viewId, url); });
}

void SimBrowserEngine::NavigateMain(int viewId, const std::string& url) {
    SimBrowserView* view = Find(viewId);
    if (!view)
        return;
    NavigationRequest request;
    request.url = url;
    if (RaiseBefore(view, request))
        return;

    std::string target = url;
    SimPage page = PageFor(target);
    // Follow server redirects; an endless chain stops where a browser would give up.
    for (int hops = 0; !page.redirectTo.empty() && hops < 20; ++hops) {
        view = Find(viewId);
        if (!view)
            return;
        NavigationRequest redirect;
        redirect.url = page.redirectTo;
        redirect.redirect = true;
        if (RaiseBefore(view, redirect))
            return;
        target = redirect.url;
        page = PageFor(target);
    }

    view = Find(viewId);
    if (!view)
        return;
    view->url_ = target;
    view->background_ = page.background;
    view->pageFrames_ = page.frames;
    view->frameUrls_.clear();
    const std::uint64_t generation = ++view->generation_;

    RaiseComplete(view, SimNavEventKind::NavigateComplete, target, true, {});
    if (!StillCurrent(viewId, generation))
        return;
    RaiseComplete(Find(viewId), SimNavEventKind::DocumentComplete, target, true, {});
    for (const auto& frame : page.frames) {
        if (!StillCurrent(viewId, generation))
            return;
        NavigateFrame(viewId, frame.name, frame.url);
    }
    if (!StillCurrent(viewId, generation))
        return;
    for (const auto& step : page.script) {
        queue_.PostAt(queue_.NowMs() + step.delayMs, [this, viewId, generation, step] {
            // A step belongs to the page that scheduled it: gone once the view moved on.
            if (!StillCurrent(viewId, generation))
                return;
            if (step.inFrame) {
                NavigateFrame(viewId, step.frameName, step.url);
            } else {
                NavigateMain(viewId, step.url);
            }
        });
    }
}

void SimBrowserEngine::NavigateFrame(int viewId, const std::string& frameName,
                                     const std::string& url) {
    SimBrowserView* view = Find(viewId);
    if (!view)
        return;
    NavigationRequest request;
    request.url = url;
    request.mainFrame = false;
    request.targetFrame = frameName;
    if (RaiseBefore(view, request))
        return;
    view = Find(viewId);
    if (!view)
        return;
    const std::uint64_t generation = view->generation_;
    view->frameUrls_[frameName] = url;
    RaiseComplete(view, SimNavEventKind::NavigateComplete, url, false, frameName);
    if (!StillCurrent(viewId, generation))
        return;
    RaiseComplete(Find(viewId), SimNavEventKind::DocumentComplete, url, false, frameName);
}

void SimBrowserEngine::OpenWindow(int viewId, const std::string& url) {
    SimBrowserView* view = Find(viewId);
    if (!view)
        return;
    NavigationRequest request;
    request.url = url;
    request.newWindow = true;
    if (RaiseBefore(view, request))
        return;
    view = Find(viewId);
    if (view)
        view->openedWindows_.push_back(url);
}

}  // namespace platform

namespace platform {

namespace {

// Looks a name up on the host's object as a script engine does; nothing when it is unknown.
std::optional<DISPID> LookUpMember(IDispatch* external, const std::string& name) {
    if (external == nullptr) return std::nullopt;  // window.external is undefined: reading throws
    std::u16string wide = Utf8ToUtf16(name);
    LPOLESTR names[1] = {wide.data()};
    DISPID id = DISPID_UNKNOWN;
    if (external->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id) != S_OK) return std::nullopt;
    return id;
}

}  // namespace

std::optional<std::string> SimBrowserView::ScriptReadsExternal(const std::string& name) const {
    const std::optional<DISPID> id = LookUpMember(options_.external, name);
    if (!id) return std::nullopt;
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    if (options_.external->Invoke(*id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                                  nullptr) != S_OK)
        return std::nullopt;
    std::string value = result.vt == VT_BSTR ? BstrToUtf8(result.bstrVal) : std::string();
    VariantClear(&result);
    return value;
}

bool SimBrowserView::ScriptWritesExternal(const std::string& name, const std::string& value) const {
    const std::optional<DISPID> id = LookUpMember(options_.external, name);
    if (!id) return false;
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = Utf8ToBstr(value);
    DISPID named = -3;  // DISPID_PROPERTYPUT
    DISPPARAMS params{&argument, &named, 1, 1};
    const HRESULT hr = options_.external->Invoke(*id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                                                 nullptr, nullptr, nullptr);
    VariantClear(&argument);
    return hr == S_OK;
}

}  // namespace platform
