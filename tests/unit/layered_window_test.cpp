// Layered windows on the simulated desktop: the entry-point lookup, the layered style, a picture
// with per-pixel alpha as a window's whole look, and colour keys with constant opacity, checked on
// the composed screen and by where clicks land.

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/dialog_template.h"
#include "platform/resources.h"
#include "sim_fixture.h"
#include "test_png.h"
#include "ui/layered_window_helper.h"

using platform::Argb;
using platform::MakeArgb;
using platform::OpaqueArgb;

namespace {

constexpr UINT kTemplate = 61000;
constexpr UINT kPicture = 61001;
constexpr UINT kBrokenPicture = 61002;

// The process keeps one lookup; each test gets its own, made on the desktop the test sets up.
class FreshLayeredTool {
public:
    FreshLayeredTool() : saved_(g_pUpdateLayeredTool) { g_pUpdateLayeredTool = nullptr; }
    ~FreshLayeredTool() {
        delete g_pUpdateLayeredTool;
        g_pUpdateLayeredTool = saved_;
    }
    FreshLayeredTool(const FreshLayeredTool&) = delete;
    FreshLayeredTool& operator=(const FreshLayeredTool&) = delete;

private:
    UpdateLayeredTool* saved_;
};

struct PaintedArea {
    CRect rect;  // client coordinates
    COLORREF colour;
};

// A top-level dialog at an exact screen rectangle that fills its background with one brush (as
// the colour-keyed windows paint their see-through parts), paints solid areas on top, counts the
// presses it receives, and runs the test's set-up where the program's windows run theirs.
class TestWindow : public CDialog {
public:
    TestWindow(const CRect& screenRect, COLORREF background, std::vector<PaintedArea> areas = {})
        : rect_(screenRect), areas_(std::move(areas)) {
        background_.CreateSolidBrush(background);
    }

    // Created visible, without owner; the template's extended style is exStyle.
    bool Open(DWORD exStyle = 0) {
        platform::RegisterDialogTemplate(
            {kTemplate, WS_POPUP | WS_VISIBLE, exStyle, 0, 0, 10, 10, "Sans", 9, 400, {}});
        const bool created = Create(kTemplate) != FALSE;
        platform::WindowSystem::Get().PumpPending();
        return created;
    }
    DWORD ExStyle() const { return static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    CRect ScreenRect() const {
        CRect r;
        GetWindowRect(&r);
        return r;
    }

    std::function<void(TestWindow&)> onInit;
    CLayeredWindowHelper m_layered;
    int presses = 0;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        MoveWindow(rect_.left, rect_.top, rect_.Width(), rect_.Height(), TRUE);
        m_layered.m_hTargetWnd = m_hWnd;
        if (onInit)
            onInit(*this);
        return TRUE;
    }
    void OnPaint() {
        CPaintDC dc(this);
        for (const PaintedArea& a : areas_)
            dc.FillSolidRect(a.rect, a.colour);
    }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
        if (ctlColor == CTLCOLOR_DLG)
            return static_cast<HBRUSH>(background_.m_hObject);
        return CDialog::OnCtlColor(dc, wnd, ctlColor);
    }
    void OnLButtonDown(UINT, CPoint) { ++presses; }

    DECLARE_MESSAGE_MAP()

private:
    CRect rect_;
    std::vector<PaintedArea> areas_;
    CBrush background_;
};

BEGIN_MESSAGE_MAP(TestWindow, CDialog)
ON_WM_PAINT()
ON_WM_CTLCOLOR()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

// What the screen shows of premultiplied src over an opaque colour below.
Argb Over(Argb below, Argb src) {
    const unsigned a = src >> 24;
    auto ch = [&](int shift) {
        const unsigned s = (src >> shift) & 0xFF;
        const unsigned d = (below >> shift) & 0xFF;
        return (s + (d * (255 - a) + 127) / 255) << shift;
    };
    return 0xFF000000u | ch(16) | ch(8) | ch(0);
}

// A colour at an opacity, premultiplied.
Argb Premultiplied(test_png::Rgba c, unsigned a) {
    auto mul = [&](unsigned v) { return static_cast<int>((v * a + 127) / 255); };
    return MakeArgb(static_cast<int>(a), mul(c.r), mul(c.g), mul(c.b));
}

test_png::Rgba RgbaOf(COLORREF c, std::uint8_t a = 255) {
    return {GetRValue(c), GetGValue(c), GetBValue(c), a};
}

class LayeredWindowTest : public SimDesktopTest {
protected:
    void SetUp() override {
        SimDesktopTest::SetUp();
        tool_.emplace();
    }
    void TearDown() override {
        SimDesktopTest::TearDown();
        tool_.reset();
    }
    // Both paths of the simulated screen agree on every pixel a test looks at.
    Argb Screen(CPoint pt) const {
        const Argb composed = sim_->ComposeScreen().At(pt.x, pt.y);
        EXPECT_EQ(composed, sim_->ScreenPixel(pt)) << "at " << pt.x << "," << pt.y;
        return composed;
    }
    static int Count(const std::vector<std::string>& record, const std::string& event) {
        return static_cast<int>(std::count(record.begin(), record.end(), event));
    }

    std::optional<FreshLayeredTool> tool_;
};

TEST_F(LayeredWindowTest, OneInstanceLooksTheEntryPointsUpOnce) {
    platform::Trace::Take();
    UpdateLayeredTool* first = UpdateLayeredTool::GetInstance();
    ASSERT_NE(first, nullptr);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(UpdateLayeredTool::GetInstance(), first);
    EXPECT_EQ(g_pUpdateLayeredTool, first);
    EXPECT_EQ(Count(platform::Trace::Take(), "LoadLibraryW User32.DLL"), 1);
    EXPECT_NE(first->m_hUser32, nullptr);
    EXPECT_NE(first->m_pfnUpdateLayeredWindow, nullptr);
    EXPECT_NE(first->m_pfnSetLayeredWindowAttributes, nullptr);

    // Using it from windows looks nothing up again.
    TestWindow keyed(CRect(10, 10, 60, 60), RGB(255, 255, 0));
    keyed.onInit = [](TestWindow& w) {
        w.m_layered.ApplyColorKey(RGB(255, 255, 0), 255);
        w.m_layered.ApplyColorKey(RGB(255, 255, 0), 255);
    };
    ASSERT_TRUE(keyed.Open());
    EXPECT_EQ(Count(platform::Trace::Take(), "LoadLibraryW User32.DLL"), 0);
}

TEST_F(LayeredWindowTest, WithoutDesktopSupportTheCallsAreSkippedButTheStyleIsSet) {
    sim_->SetCapabilities({false, false});
    const UpdateLayeredTool* tool = UpdateLayeredTool::GetInstance();
    EXPECT_EQ(tool->m_pfnUpdateLayeredWindow, nullptr);
    EXPECT_EQ(tool->m_pfnSetLayeredWindowAttributes, nullptr);

    const platform::ScopedTestResource picture(
        "PNG", kPicture, test_png::Encode(2, 2, std::vector<test_png::Rgba>(4)));
    TestWindow keyed(CRect(10, 10, 60, 60), RGB(255, 255, 0));
    keyed.onInit = [](TestWindow& w) { w.m_layered.ApplyColorKey(RGB(255, 255, 0), 255); };
    TestWindow pictured(CRect(100, 10, 150, 60), RGB(0, 0, 255));
    pictured.onInit = [](TestWindow& w) {
        ASSERT_TRUE(w.m_layered.m_png.LoadFromResource(kPicture, AfxGetResourceHandle()));
        w.m_layered.UpdateFromPng();
    };
    ASSERT_TRUE(keyed.Open());
    ASSERT_TRUE(pictured.Open());

    EXPECT_TRUE(keyed.ExStyle() & WS_EX_LAYERED);
    EXPECT_TRUE(pictured.ExStyle() & WS_EX_LAYERED);
    // The key colour stays on screen, and the window keeps its own size.
    EXPECT_EQ(Screen(CPoint(30, 30)), OpaqueArgb(RGB(255, 255, 0)));
    EXPECT_EQ(sim_->WindowAt(CPoint(30, 30)), keyed.m_hWnd);
    EXPECT_EQ(pictured.ScreenRect(), CRect(100, 10, 150, 60));
    EXPECT_EQ(Screen(CPoint(120, 30)), OpaqueArgb(RGB(0, 0, 255)));
}

TEST_F(LayeredWindowTest, TheStyleGainsOnlyTheLayeredBit) {
    const platform::ScopedTestResource picture(
        "PNG", kPicture, test_png::Encode(2, 2, std::vector<test_png::Rgba>(4)));
    struct Case {
        const char* what;
        DWORD before;
        DWORD after;
    };
    const Case cases[] = {
        {"not layered yet", WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW | WS_EX_LAYERED},
        {"already layered", WS_EX_TOOLWINDOW | WS_EX_LAYERED, WS_EX_TOOLWINDOW | WS_EX_LAYERED},
    };
    const std::pair<const char*, std::function<void(TestWindow&)>> operations[] = {
        {"colour key", [](TestWindow& w) { w.m_layered.ApplyColorKey(RGB(255, 0, 0), 150); }},
        {"picture",
         [](TestWindow& w) {
             ASSERT_TRUE(w.m_layered.m_png.LoadFromResource(kPicture, AfxGetResourceHandle()));
             w.m_layered.UpdateFromPng();
         }},
    };
    for (const Case& c : cases) {
        for (const auto& [name, operation] : operations) {
            SCOPED_TRACE(std::string(c.what) + ", " + name);
            TestWindow window(CRect(10, 10, 60, 60), RGB(0, 0, 255));
            ASSERT_TRUE(window.Open(c.before));
            ASSERT_EQ(window.ExStyle(), c.before);
            operation(window);
            EXPECT_EQ(window.ExStyle(), c.after);
        }
    }
}

TEST_F(LayeredWindowTest, UpdateFromPngWithoutPictureOrWindowDoesNothing) {
    const platform::ScopedTestResource broken("PNG", kBrokenPicture,
                                              std::vector<std::uint8_t>(64, 0xAB));
    const platform::ScopedTestResource picture(
        "PNG", kPicture, test_png::Encode(2, 2, std::vector<test_png::Rgba>(4)));
    const CRect rect(10, 10, 60, 60);

    for (const bool loadBroken : {false, true}) {
        SCOPED_TRACE(loadBroken ? "picture failed to load" : "no picture loaded");
        TestWindow window(rect, RGB(0, 0, 255));
        ASSERT_TRUE(window.Open(WS_EX_TOOLWINDOW));
        if (loadBroken) {
            EXPECT_FALSE(
                window.m_layered.m_png.LoadFromResource(kBrokenPicture, AfxGetResourceHandle()));
        }
        window.m_layered.UpdateFromPng();
        platform::WindowSystem::Get().PumpPending();
        EXPECT_EQ(window.ExStyle(), static_cast<DWORD>(WS_EX_TOOLWINDOW));
        EXPECT_EQ(window.ScreenRect(), rect);
        EXPECT_EQ(Screen(CPoint(30, 30)), OpaqueArgb(RGB(0, 0, 255)));
    }

    // A handle whose window is gone, with a picture ready.
    CLayeredWindowHelper stale;
    {
        TestWindow window(rect, RGB(0, 0, 255));
        ASSERT_TRUE(window.Open());
        stale.m_hTargetWnd = window.m_hWnd;
    }
    ASSERT_FALSE(IsWindow(stale.m_hTargetWnd));
    ASSERT_TRUE(stale.m_png.LoadFromResource(kPicture, AfxGetResourceHandle()));
    stale.UpdateFromPng();

    // Not even the entry points were wanted.
    EXPECT_EQ(g_pUpdateLayeredTool, nullptr);
}

TEST_F(LayeredWindowTest, PictureBecomesTheWindowWithExactPerPixelAlpha) {
    // One column per pixel kind; both rows alike. Row 0 lies over the desktop, row 1 over a window.
    const std::vector<test_png::Rgba> kinds = {
        {255, 0, 0, 255},     // opaque
        {200, 100, 50, 128},  // half
        {10, 20, 30, 64},     // faint
        {255, 255, 255, 1},   // all but invisible, yet there
        {0, 0, 0, 150},       // black over what lies below
        {0, 255, 0, 0},       // invisible, whatever its colour
    };
    const int width = static_cast<int>(kinds.size());
    std::vector<test_png::Rgba> pixels = kinds;
    pixels.insert(pixels.end(), kinds.begin(), kinds.end());
    const platform::ScopedTestResource picture("PNG", kPicture, test_png::Encode(width, 2, pixels));

    const COLORREF belowColour = RGB(30, 60, 90);
    TestWindow below(CRect(280, 201, 400, 300), belowColour);
    ASSERT_TRUE(below.Open());
    TestWindow layered(CRect(300, 200, 800, 600), RGB(0, 0, 255));
    layered.onInit = [](TestWindow& w) {
        ASSERT_TRUE(w.m_layered.m_png.LoadFromResource(kPicture, AfxGetResourceHandle()));
        w.m_layered.UpdateFromPng();
    };
    ASSERT_TRUE(layered.Open());

    EXPECT_EQ(layered.ScreenRect(), CRect(300, 200, 300 + width, 202))
        << "the picture's size at the same corner";
    EXPECT_EQ(layered.ExStyle() & WS_EX_LAYERED, WS_EX_LAYERED);

    auto check = [&](const char* when) {
        SCOPED_TRACE(when);
        for (int i = 0; i < width; ++i) {
            SCOPED_TRACE("column " + std::to_string(i));
            const Argb src = Premultiplied(kinds[static_cast<std::size_t>(i)],
                                           kinds[static_cast<std::size_t>(i)].a);
            EXPECT_EQ(Screen(CPoint(300 + i, 200)),
                      Over(OpaqueArgb(platform::SimDesktop::kDefaultBackground), src));
            EXPECT_EQ(Screen(CPoint(300 + i, 201)), Over(OpaqueArgb(belowColour), src));
            EXPECT_EQ(sim_->WindowAt(CPoint(300 + i, 201)),
                      kinds[static_cast<std::size_t>(i)].a ? layered.m_hWnd : below.m_hWnd);
            EXPECT_EQ(sim_->WindowAt(CPoint(300 + i, 200)),
                      kinds[static_cast<std::size_t>(i)].a ? layered.m_hWnd : nullptr);
        }
    };
    check("after the update");
    // The desktop keeps the picture: the window is not painted over it.
    layered.Invalidate();
    platform::WindowSystem::Get().PumpPending();
    check("after a repaint was asked for");

    // Clicks: a faint pixel is the window's, an invisible one the window's below.
    sim_->Click(CPoint(303, 201));
    EXPECT_EQ(layered.presses, 1);
    EXPECT_EQ(below.presses, 0);
    sim_->Click(CPoint(305, 201));
    EXPECT_EQ(layered.presses, 1);
    EXPECT_EQ(below.presses, 1);
}

TEST_F(LayeredWindowTest, ColourKeyHidesExactlyTheKeyAndBlendsTheRestAtConstantOpacity) {
    struct Case {
        const char* what;
        COLORREF key;
        BYTE alpha;
        COLORREF painted;  // the square in the middle; the rest is painted with the key's brush
    };
    const Case cases[] = {
        {"login panel: the key itself", RGB(255, 255, 0), 255, RGB(255, 255, 0)},
        {"login panel: one step off the key", RGB(255, 255, 0), 255, RGB(255, 254, 0)},
        {"cache dialog: the key itself", RGB(255, 0, 0), 150, RGB(255, 0, 0)},
        {"cache dialog: black", RGB(255, 0, 0), 150, RGB(0, 0, 0)},
        {"cache dialog: white", RGB(255, 0, 0), 150, RGB(255, 255, 255)},
        {"cache dialog: one step off the key", RGB(255, 0, 0), 150, RGB(254, 0, 0)},
    };
    const COLORREF belowColour = RGB(200, 100, 50);
    const CPoint middle(130, 130);  // in the square
    const CPoint edge(105, 105);    // in the key-coloured background
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestWindow below(CRect(50, 50, 250, 250), belowColour);
        ASSERT_TRUE(below.Open());
        TestWindow keyed(CRect(100, 100, 160, 160), c.key, {{CRect(20, 20, 40, 40), c.painted}});
        keyed.onInit = [&](TestWindow& w) { w.m_layered.ApplyColorKey(c.key, c.alpha); };
        ASSERT_TRUE(keyed.Open());

        // Each pixel at its own opacity, premultiplied, over the window below.
        const bool transparent = c.painted == c.key;
        const Argb expected =
            transparent ? OpaqueArgb(belowColour)
                        : Over(OpaqueArgb(belowColour), Premultiplied(RgbaOf(c.painted), c.alpha));
        EXPECT_EQ(Screen(middle), expected);
        EXPECT_EQ(Screen(edge), OpaqueArgb(belowColour));
        EXPECT_EQ(sim_->WindowAt(middle), transparent ? below.m_hWnd : keyed.m_hWnd);
        EXPECT_EQ(sim_->WindowAt(edge), below.m_hWnd);

        // The window keeps painting itself; the key applies to what it paints now.
        keyed.Invalidate();
        platform::WindowSystem::Get().PumpPending();
        EXPECT_EQ(Screen(middle), expected);

        sim_->Click(middle);
        EXPECT_EQ(keyed.presses, transparent ? 0 : 1);
        EXPECT_EQ(below.presses, transparent ? 1 : 0);
    }
}

}  // namespace
