// The simulated desktop's own model: the parts the framework's tests rely on without checking
// them by themselves (composition, hit testing, input routing, hot keys, the browser engine and
// the event loop contract).
#include "platform/sim/sim_desktop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/messages.h"

namespace platform {
namespace {

HWND Handle(std::uintptr_t n) {
    return reinterpret_cast<HWND>(n);
}
const HWND kA = Handle(0x10);
const HWND kB = Handle(0x20);
const HWND kC = Handle(0x30);

std::string Name(HWND h) {
    if (h == kA)
        return "A";
    if (h == kB)
        return "B";
    if (h == kC)
        return "C";
    return h ? "?" : "null";
}

const char* KindName(MouseKind k) {
    switch (k) {
        case MouseKind::Move:
            return "move";
        case MouseKind::LeftDown:
            return "ldown";
        case MouseKind::LeftUp:
            return "lup";
        case MouseKind::RightDown:
            return "rdown";
        case MouseKind::RightUp:
            return "rup";
        case MouseKind::Leave:
            return "leave";
    }
    return "?";
}

// Records every event as one line; hooks let a test act like the core inside a handler.
class RecordingSink final : public BackendSink {
public:
    std::vector<std::string> log;
    std::function<void(HWND, MouseKind, CPoint)> onMouse;
    std::function<bool(BrowserView*, const NavigationRequest&)> cancel;

    void OnWindowMoved(HWND h, CPoint p) override { Add("moved " + Name(h) + " " + Pt(p)); }
    void OnWindowCloseRequest(HWND h) override { Add("close " + Name(h)); }
    void OnWindowMinimized(HWND h, bool m) override {
        Add(std::string(m ? "min " : "unmin ") + Name(h));
    }
    void OnWindowActivated(HWND h, bool a) override {
        Add(std::string(a ? "activate " : "deactivate ") + Name(h));
    }
    void OnMouse(HWND h, MouseKind k, CPoint p, UINT flags) override {
        Add(std::string(KindName(k)) + " " + Name(h) + " " + Pt(p) + " " + std::to_string(flags));
        if (onMouse)
            onMouse(h, k, p);
    }
    void OnKey(HWND h, bool down, UINT vk) override {
        Add(std::string(down ? "keydown " : "keyup ") + Name(h) + " " + std::to_string(vk));
    }
    void OnHotKey(int id) override { Add("hotkey " + std::to_string(id)); }
    void OnTrayMouse(UINT id, UINT msg) override {
        Add("tray " + std::to_string(id) + " " + std::to_string(msg));
    }
    bool OnBrowserBeforeNavigate(BrowserView* view, const NavigationRequest& r) override {
        return cancel && cancel(view, r);
    }
    void OnBrowserNavigateComplete(BrowserView*, const std::string&) override {}
    void OnBrowserDocumentComplete(BrowserView*, const std::string&) override {}

    std::vector<std::string> Take() {
        auto out = std::move(log);
        log.clear();
        return out;
    }

private:
    static std::string Pt(CPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    void Add(std::string s) { log.push_back(std::move(s)); }
};

using Lines = std::vector<std::string>;

class SimDesktopTest : public ::testing::Test {
protected:
    SimDesktopTest() { desktop.SetSink(&sink); }

    // A shown window filled with one colour.
    void AddWindow(HWND h, CRect rect, Argb fill, ContentAlpha alpha = ContentAlpha::Opaque,
                   HWND owner = nullptr) {
        NativeWindowInfo info;
        info.rect = rect;
        info.owner = owner;
        desktop.CreateNativeWindow(h, info);
        desktop.PresentWindow(h, PixelBuffer(rect.Width(), rect.Height(), fill), alpha);
        desktop.Show(h, NativeShow::Show);
    }

    SimDesktop desktop;
    RecordingSink sink;
};

TEST_F(SimDesktopTest, ComposesWindowsOverTheBackgroundWithPremultipliedAlpha) {
    const Argb background = OpaqueArgb(SimDesktop::kDefaultBackground);
    AddWindow(kA, CRect(100, 100, 300, 300), MakeArgb(255, 200, 0, 0));
    // B: per-pixel, half-transparent white with a fully transparent hole at its centre.
    PixelBuffer content(100, 100, MakeArgb(128, 128, 128, 128));
    content.Fill(CRect(40, 40, 60, 60), 0);
    AddWindow(kB, CRect(250, 250, 350, 350), 0, ContentAlpha::PerPixel);
    desktop.PresentWindow(kB, content, ContentAlpha::PerPixel);
    // C: opaque content whose alpha must be ignored.
    AddWindow(kC, CRect(500, 0, 510, 10), MakeArgb(0, 10, 20, 30));

    const PixelBuffer screen = desktop.ComposeScreen();
    struct Case {
        int x, y;
        Argb expected;
    } cases[] = {
        {5, 5, background},
        {150, 150, MakeArgb(255, 200, 0, 0)},
        {260, 260, MakeArgb(255, 228, 128, 128)},  // 128 + 200 * 127 / 255 = 228
        {320, 320, MakeArgb(255, 160, 176, 192)},
        {295, 295, MakeArgb(255, 200, 0, 0)},  // B's hole shows A
        {505, 5, MakeArgb(255, 10, 20, 30)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(screen.At(c.x, c.y), c.expected);
        EXPECT_EQ(desktop.ScreenPixel(c.x, c.y), c.expected);
    }

    // A browser view paints its page over the window; minimised and hidden windows vanish.
    desktop.AddPage("http://page/", SimPage{MakeArgb(255, 0, 255, 0), {}, {}, {}});
    auto view = desktop.CreateBrowserView(kA, CRect(10, 10, 50, 50), BrowserOptions{});
    view->Navigate("http://page/");
    desktop.RunPendingEvents();
    EXPECT_EQ(desktop.ScreenPixel(120, 120), MakeArgb(255, 0, 255, 0));
    EXPECT_EQ(desktop.ComposeScreen().At(120, 120), MakeArgb(255, 0, 255, 0));
    view->SetVisible(false);
    EXPECT_EQ(desktop.ScreenPixel(120, 120), MakeArgb(255, 200, 0, 0));
    desktop.Show(kA, NativeShow::Minimize);
    desktop.Show(kB, NativeShow::Hide);
    EXPECT_EQ(desktop.ScreenPixel(150, 150), background);
    EXPECT_EQ(desktop.ComposeScreen().At(320, 320), background);
}

TEST_F(SimDesktopTest, MouseGoesThroughTransparentPixelsAndIsGrabbedUntilRelease) {
    AddWindow(kA, CRect(0, 0, 400, 400), MakeArgb(255, 1, 1, 1));
    PixelBuffer content(100, 100, MakeArgb(255, 2, 2, 2));
    content.Fill(CRect(0, 0, 50, 100), 0);  // left half click-through
    AddWindow(kB, CRect(100, 100, 200, 200), 0);
    desktop.PresentWindow(kB, content, ContentAlpha::PerPixel);
    desktop.Activate(kB);
    EXPECT_TRUE(sink.Take().empty()) << "the core's own calls raise no events";

    EXPECT_EQ(desktop.WindowAt(CPoint(120, 150)), kA);
    EXPECT_EQ(desktop.WindowAt(CPoint(160, 150)), kB);
    desktop.MouseMove(CPoint(120, 150));
    desktop.MouseMove(CPoint(160, 150));
    EXPECT_EQ(sink.Take(), (Lines{"move A 120,150 0", "leave A 160,150 0", "move B 60,50 0"}));

    // Press on B, drag out over A and the desktop: B keeps the mouse until the release.
    desktop.MouseDown(CPoint(160, 150));
    desktop.MouseMove(CPoint(120, 150));
    desktop.MouseMove(CPoint(500, 50));
    desktop.MouseUp(CPoint(500, 50));
    EXPECT_EQ(sink.Take(), (Lines{"ldown B 60,50 1", "move B 20,50 1", "move B 400,-50 1",
                                  "lup B 400,-50 0", "leave B 400,-50 0"}));

    // A press on the click-through part activates and reaches A.
    desktop.Click(CPoint(110, 110));
    EXPECT_EQ(sink.Take(), (Lines{"move A 110,110 0", "deactivate B", "activate A",
                                  "ldown A 110,110 1", "lup A 110,110 0"}));
    EXPECT_EQ(desktop.ActiveWindow(), kA);
}

TEST_F(SimDesktopTest, MoveDragFollowsThePointerAndSwallowsTheRelease) {
    AddWindow(kA, CRect(100, 100, 300, 200), MakeArgb(255, 1, 1, 1));
    desktop.Activate(kA);
    sink.onMouse = [&](HWND h, MouseKind k, CPoint p) {
        if (k == MouseKind::LeftDown)
            desktop.BeginMoveDrag(h, CPoint(p.x + 100, p.y + 100));
    };
    desktop.Drag(CPoint(110, 110), CPoint(140, 90), 2);
    EXPECT_EQ(sink.Take(),
              (Lines{"move A 10,10 0", "ldown A 10,10 1", "moved A 115,90", "moved A 130,80"}));
    EXPECT_EQ(desktop.Window(kA)->rect, CRect(130, 80, 330, 180));
    EXPECT_EQ(desktop.MoveDragWindow(), nullptr);
    desktop.MouseMove(CPoint(150, 90));
    EXPECT_EQ(sink.Take(), (Lines{"move A 20,10 0"}));
}

TEST_F(SimDesktopTest, OwnedWindowsStayAboveAndADisabledOwnerSendsClicksToItsDialog) {
    AddWindow(kA, CRect(0, 0, 500, 500), MakeArgb(255, 1, 1, 1));
    AddWindow(kB, CRect(600, 0, 700, 100), MakeArgb(255, 2, 2, 2));
    AddWindow(kC, CRect(100, 100, 200, 200), MakeArgb(255, 3, 3, 3), ContentAlpha::Opaque, kA);
    desktop.Show(kB, NativeShow::Show);  // B is raised over the dialog's owner
    EXPECT_EQ(desktop.StackingOrder(), (std::vector<HWND>{kA, kC, kB}));

    desktop.SetEnabled(kA, false);
    desktop.Click(CPoint(400, 400));  // on the disabled owner
    EXPECT_EQ(sink.Take(), (Lines{"activate C"}));
    EXPECT_EQ(desktop.StackingOrder(), (std::vector<HWND>{kB, kA, kC}));

    desktop.SetEnabled(kA, true);
    desktop.ActivateByUser(kB);
    desktop.SetOwner(kB, kC);  // a new owner lifts B above it
    EXPECT_EQ(desktop.StackingOrder(), (std::vector<HWND>{kA, kC, kB}));
    desktop.MinimizeByUser(kB);
    EXPECT_EQ(sink.Take(), (Lines{"deactivate C", "activate B", "min B", "deactivate B"}));
    EXPECT_EQ(desktop.ActiveWindow(), nullptr);
    EXPECT_EQ(desktop.WindowAt(CPoint(650, 50)), nullptr);
}

TEST_F(SimDesktopTest, HotKeysConflictAndTakeTheKeyBeforeTheActiveWindow) {
    desktop.HoldKeyElsewhere(VK_F11);
    struct Case {
        int id;
        UINT mods, vk;
        bool ok;
    } cases[] = {
        {1, 0, VK_F10, true},           {2, 0, VK_F10, false},  // taken by id 1
        {2, MOD_CONTROL, VK_F10, true},                         // other modifiers are another key
        {3, 0, VK_F11, false},                                  // held by another program
        {3, MOD_SHIFT, VK_F11, true},   {1, 0, VK_F10, true},   // the holder may register again
    };
    for (const auto& c : cases) {
        EXPECT_EQ(desktop.RegisterHotKey(c.id, c.mods, c.vk), c.ok) << c.id << " " << c.vk;
    }
    EXPECT_EQ(desktop.HotKeys().size(), 3u);

    AddWindow(kA, CRect(0, 0, 10, 10), MakeArgb(255, 1, 1, 1));
    desktop.Activate(kA);
    desktop.PressKey(VK_F10);
    desktop.PressKey(VK_F10, MOD_CONTROL);
    desktop.PressKey(VK_F5);
    desktop.UnregisterHotKey(1);
    desktop.PressKey(VK_F10);
    EXPECT_EQ(sink.Take(), (Lines{"hotkey 1", "hotkey 2", "keydown A 116", "keyup A 116",
                                  "keydown A 121", "keyup A 121"}));
    EXPECT_TRUE(desktop.RegisterHotKey(4, 0, VK_F10));
}

class SimBrowserTest : public SimDesktopTest {
protected:
    SimBrowserTest() {
        SimPage login;
        login.background = MakeArgb(255, 9, 9, 9);
        login.frames = {{"top", "http://site/top"}, {"ad", "http://ads/banner"}};
        login.script = {{500, true, "top", "http://site/top2"},
                        {1000, false, {}, "http://site/game"}};
        desktop.AddPage("http://site/login", login);
        AddWindow(kA, CRect(0, 0, 800, 600), MakeArgb(255, 1, 1, 1));
        view = desktop.CreateBrowserView(kA, CRect(0, 0, 800, 600), BrowserOptions{});
    }
    std::unique_ptr<BrowserView> view;
};

TEST_F(SimBrowserTest, LoadsPageThenFramesThenRunsTheScriptOnTheVirtualClock) {
    sink.cancel = [](BrowserView*, const NavigationRequest& r) {
        return r.url == "http://ads/banner";
    };
    view->Navigate("http://site/login");
    EXPECT_TRUE(desktop.EventLog().empty()) << "navigation is queued";
    desktop.RunPendingEvents();
    EXPECT_EQ(desktop.EventLog(),
              (Lines{"before main http://site/login", "navigated http://site/login",
                     "complete http://site/login", "before frame top http://site/top",
                     "navigated frame top http://site/top", "complete frame top http://site/top",
                     "before frame ad http://ads/banner cancelled"}));
    EXPECT_EQ(view->CurrentUrl(), "http://site/login");
    auto* sim = desktop.Views().at(0);
    EXPECT_EQ(sim->FrameUrls(), (std::map<std::string, std::string>{{"top", "http://site/top"}}));
    desktop.ClearEventLog();

    // The program waits with a timer at 1200: the frame step (1500) waits for the clock.
    desktop.ProcessEvents(true, 1200);
    EXPECT_EQ(desktop.NowMs(), 1200u);
    EXPECT_TRUE(desktop.EventLog().empty());
    desktop.ProcessEvents(true, std::nullopt);
    EXPECT_EQ(desktop.NowMs(), 1500u);
    desktop.ProcessEvents(true, std::nullopt);
    EXPECT_EQ(desktop.NowMs(), 2000u);
    EXPECT_EQ(desktop.EventLog(),
              (Lines{"before frame top http://site/top2", "navigated frame top http://site/top2",
                     "complete frame top http://site/top2", "before main http://site/game",
                     "navigated http://site/game", "complete http://site/game"}));
    EXPECT_EQ(sim->Background(), MakeArgb(255, 255, 255, 255)) << "unknown pages are blank";
}

TEST_F(SimBrowserTest, CancelledNavigationKeepsThePageAndDropsNothingElse) {
    view->Navigate("http://site/login");
    desktop.RunPendingEvents();
    desktop.ClearEventLog();

    // The program cancels the page's scripted navigation and a reload: the page stays, and its
    // pending script belongs to it still, so the frame step still runs.
    sink.cancel = [](BrowserView*, const NavigationRequest& r) { return r.mainFrame; };
    view->Reload();
    desktop.RunPendingEvents();
    desktop.AdvanceTime(1000);
    desktop.RunPendingEvents();
    EXPECT_EQ(desktop.EventLog(),
              (Lines{"before main http://site/login cancelled", "before frame top http://site/top2",
                     "navigated frame top http://site/top2", "complete frame top http://site/top2",
                     "before main http://site/game cancelled"}));
    EXPECT_EQ(view->CurrentUrl(), "http://site/login");

    // Once the view moves on, the old page's script must not run.
    sink.cancel = nullptr;
    desktop.AddPage("http://site/slow",
                    SimPage{0xFF000000u, {}, {{100, false, {}, "http://site/x"}}, {}});
    view->Navigate("http://site/slow");
    desktop.RunPendingEvents();
    view->Navigate("http://site/other");
    desktop.RunPendingEvents();
    desktop.ClearEventLog();
    desktop.AdvanceTime(5000);
    desktop.RunPendingEvents();
    EXPECT_TRUE(desktop.EventLog().empty());

    // A redirect the program cancels leaves the view where it was.
    desktop.AddPage("http://site/r", SimPage{0xFF000000u, {}, {}, "http://elsewhere/"});
    sink.cancel = [](BrowserView*, const NavigationRequest& r) { return r.redirect; };
    view->Navigate("http://site/r");
    desktop.RunPendingEvents();
    EXPECT_EQ(desktop.EventLog(),
              (Lines{"before main http://site/r", "before redirect http://elsewhere/ cancelled"}));
    EXPECT_EQ(view->CurrentUrl(), "http://site/other");
}

TEST_F(SimBrowserTest, ViewTakesItsOwnMouseAndShowsContextMenusOnlyWhenAllowed) {
    BrowserOptions noMenu;
    noMenu.contextMenu = false;
    auto quiet = desktop.CreateBrowserView(kA, CRect(400, 0, 800, 600), noMenu);
    desktop.RightClick(CPoint(10, 20));
    desktop.RightClick(CPoint(410, 20));
    desktop.Click(CPoint(420, 30));
    EXPECT_EQ(desktop.ContextMenusShown().size(), 1u);
    EXPECT_EQ(desktop.Views().at(0)->RightClicks(), (std::vector<CPoint>{CPoint(10, 20)}));
    EXPECT_EQ(desktop.Views().at(1)->Clicks(), (std::vector<CPoint>{CPoint(20, 30)}));
    for (const auto& line : sink.Take()) {
        EXPECT_EQ(line.find("down"), std::string::npos) << line << ": the core saw page input";
    }
    quiet.reset();
    EXPECT_EQ(desktop.Views().size(), 1u);
}

TEST_F(SimDesktopTest, IdleWaitsRunTestStepsBeforeTimersAndStallWhenNothingIsLeft) {
    int stalls = 0;
    desktop.OnStall([&] { ++stalls; });
    std::vector<std::string> ran;
    desktop.Then([&] { ran.push_back("first@" + std::to_string(desktop.NowMs())); });
    desktop.ThenAfter(300, [&] { ran.push_back("second@" + std::to_string(desktop.NowMs())); });

    // A program with a 100 ms periodic timer, waiting like a modal loop does.
    std::uint64_t nextTimer = desktop.NowMs() + 100;
    int ticks = 0;
    while (desktop.PendingSteps() > 0) {
        desktop.ProcessEvents(true, nextTimer);
        if (desktop.NowMs() >= nextTimer) {
            ++ticks;
            nextTimer += 100;
        }
    }
    EXPECT_EQ(ran, (Lines{"first@1000", "second@1300"}));
    EXPECT_EQ(ticks, 3);

    desktop.ProcessEvents(true, std::nullopt);
    EXPECT_EQ(stalls, 1);
    // Only timers left: virtual time runs until the idle limit, then the wait is a stall too.
    desktop.SetIdleLimitMs(1000);
    for (int i = 0; i < 20 && stalls == 1; ++i)
        desktop.ProcessEvents(true, desktop.NowMs() + 100);
    EXPECT_EQ(stalls, 2);
    EXPECT_LE(desktop.NowMs(), 1300u + 1000u);

    // A wake from another thread ends the wait without running anything.
    desktop.Then([&] { ran.push_back("third"); });
    std::thread([&] { desktop.Wake(); }).join();
    desktop.ProcessEvents(true, std::nullopt);
    EXPECT_EQ(desktop.PendingSteps(), 1u);
}

TEST(SimTextTest, DrawsOneBoxPerGlyphAlignedInsideTheClip) {
    SimDesktop desktop;
    FontSpec font;
    font.pixelHeight = 10;  // cells 6 px wide, boxes 5 px wide on rows 2..8
    PixelBuffer target(40, 20, 0);
    const Argb ink = OpaqueArgb(RGB(255, 0, 0));
    desktop.DrawText(target, CRect(0, 0, 40, 20), CRect(0, 0, 40, 20), "a b", font, RGB(255, 0, 0),
                     kTextCenter | kTextVCenter | kTextSingleLine);
    // Three cells (18 px) centred in 40: x 11..29; vertically (20 - 11) / 2 = 4.
    std::string row;
    for (int x = 0; x < 40; ++x)
        row += target.At(x, 4 + 5) == ink ? '#' : '.';
    EXPECT_EQ(row, "...........#####.......#####............");
    EXPECT_EQ(target.At(12, 4 + 1), 0u);
    EXPECT_EQ(target.At(12, 4 + 2), ink);
    EXPECT_TRUE(desktop.WasTextDrawn("a b"));

    PixelBuffer clipped(40, 20, 0);
    desktop.DrawText(clipped, CRect(0, 0, 14, 20), CRect(0, 0, 40, 20), "xy", font, RGB(255, 0, 0),
                     kTextRight);
    // Right-aligned: cells at 28 and 34, both outside the clip.
    for (Argb p : clipped.Pixels())
        ASSERT_EQ(p, 0u);
}

}  // namespace
}  // namespace platform
