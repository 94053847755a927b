// The image button on the simulated desktop: its size from the strip, its place above its
// siblings, the frame it shows as scripted mouse input moves over, presses and leaves it, the
// clicks its owner receives, the cursor, and what it never paints.

#include <optional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/dialog_template.h"
#include "platform/resources.h"
#include "sim_fixture.h"
#include "test_png.h"
#include "ui/png_button.h"

using platform::Argb;
using platform::OpaqueArgb;

namespace {

constexpr UINT kTemplate = 61100;
constexpr int kButtonId = 1001;
constexpr int kStaticId = 1002;
constexpr UINT kStrip = 61101;      // 30 x 120: four 30 x 30 frames
constexpr UINT kTallStrip = 61102;  // 39 x 156: four 39 x 39 frames

const COLORREF kFrameColours[4] = {RGB(220, 0, 0), RGB(0, 200, 0), RGB(0, 0, 230),
                                   RGB(200, 0, 200)};
const COLORREF kDialogColour = RGB(10, 20, 30);
const COLORREF kStaticColour = RGB(90, 90, 90);
const CPoint kDialogCorner(100, 100);

CPoint Centre(const CRect& r) {
    return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

std::vector<test_png::Rgba> FrameColours() {
    std::vector<test_png::Rgba> colours;
    for (COLORREF c : kFrameColours)
        colours.push_back({GetRValue(c), GetGValue(c), GetBValue(c), 255});
    return colours;
}

// A dialog holding one template push button bound to an image button, and a clickable static
// created after it that overlaps where the button goes.
class ButtonHost : public CDialog {
public:
    struct Layout {
        UINT strip = kStrip;
        CPoint buttonAt{20, 20};         // client coordinates
        std::optional<CSize> resizedTo;  // the owner's own size for the button
    };

    explicit ButtonHost(Layout layout) : layout_(layout) {
        dialogBrush_.CreateSolidBrush(kDialogColour);
        staticBrush_.CreateSolidBrush(kStaticColour);
    }

    bool Open() {
        platform::RegisterDialogTemplate(
            {kTemplate,
             WS_POPUP | WS_VISIBLE,
             0,
             0,
             0,
             10,
             10,
             "Sans",
             9,
             400,
             {{kButtonId, "BUTTON", "Button1", BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP, 0, 5, 5, 40,
               14},
              {kStaticId, "STATIC", "", SS_NOTIFY | WS_VISIBLE, 0, 5, 5, 60, 30}}});
        const bool created = Create(kTemplate) != FALSE;
        platform::WindowSystem::Get().PumpPending();
        return created;
    }

    CRect ButtonOnScreen() const {
        CRect r;
        m_button.GetWindowRect(&r);
        return r;
    }

    CPngButton m_button;
    int clicks = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        CDialog::DoDataExchange(dx);
        DDX_Control(dx, kButtonId, m_button);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        MoveWindow(kDialogCorner.x, kDialogCorner.y, 200, 120, TRUE);
        m_button.InitGdiPlus();
        m_button.LoadPngImage(layout_.strip);
        m_button.SetWindowPos(nullptr, layout_.buttonAt.x, layout_.buttonAt.y, 0, 0,
                              SWP_NOSIZE | SWP_NOZORDER);
        if (layout_.resizedTo)
            m_button.SetWindowPos(nullptr, 0, 0, layout_.resizedTo->cx, layout_.resizedTo->cy,
                                  SWP_NOMOVE | SWP_NOZORDER);
        return TRUE;
    }
    HBRUSH OnCtlColor(CDC*, CWnd*, UINT ctlColor) {
        return static_cast<HBRUSH>(ctlColor == CTLCOLOR_DLG ? dialogBrush_.m_hObject
                                                            : staticBrush_.m_hObject);
    }
    void OnClicked() { ++clicks; }

    DECLARE_MESSAGE_MAP()

private:
    Layout layout_;
    CBrush dialogBrush_;
    CBrush staticBrush_;
};

BEGIN_MESSAGE_MAP(ButtonHost, CDialog)
ON_WM_CTLCOLOR()
ON_BN_CLICKED(kButtonId, &ButtonHost::OnClicked)
END_MESSAGE_MAP()

class PngButtonTest : public SimDesktopTest {
protected:
    void SetUp() override {
        SimDesktopTest::SetUp();
        strip_.emplace("PNG", kStrip, test_png::SolidStrip(30, 30, FrameColours()));
        tallStrip_.emplace("PNG", kTallStrip, test_png::SolidStrip(39, 39, FrameColours()));
    }
    void TearDown() override {
        SimDesktopTest::TearDown();
        strip_.reset();
        tallStrip_.reset();
    }

    static void Pump() { platform::WindowSystem::Get().PumpPending(); }

    // The frame filling the screen area exactly, every pixel; -1 when none does.
    int FrameIn(const CRect& area) const {
        const platform::PixelBuffer screen = sim_->ComposeScreen();
        for (int f = 0; f < 4; ++f) {
            bool all = true;
            for (int y = area.top; y < area.bottom && all; ++y)
                for (int x = area.left; x < area.right && all; ++x)
                    all = screen.At(x, y) == OpaqueArgb(kFrameColours[f]);
            if (all)
                return f;
        }
        return -1;
    }
    bool AllOf(const CRect& area, COLORREF colour) const {
        const platform::PixelBuffer screen = sim_->ComposeScreen();
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (screen.At(x, y) != OpaqueArgb(colour))
                    return false;
        return true;
    }

    std::optional<platform::ScopedTestResource> strip_;
    std::optional<platform::ScopedTestResource> tallStrip_;
};

TEST_F(PngButtonTest, ButtonIsOneFrameOfTheStrip) {
    struct Case {
        UINT strip;
        CSize button;
    };
    // The program's own strips.
    const Case cases[] = {{166, CSize(30, 30)}, {175, CSize(74, 26)}, {160, CSize(54, 54)}};
    for (const Case& c : cases) {
        SCOPED_TRACE("strip " + std::to_string(c.strip));
        ButtonHost host({c.strip, CPoint(20, 20), std::nullopt});
        ASSERT_TRUE(host.Open());
        EXPECT_EQ(host.m_button.m_nImageWidth, static_cast<UINT>(c.button.cx));
        EXPECT_EQ(host.ButtonOnScreen(),
                  CRect(CPoint(kDialogCorner.x + 20, kDialogCorner.y + 20), c.button));
    }
}

TEST_F(PngButtonTest, FramesFollowTheMouseAndClicksReachTheOwner) {
    ButtonHost host({});
    ASSERT_TRUE(host.Open());
    const CRect button = host.ButtonOnScreen();
    ASSERT_EQ(button, CRect(CPoint(kDialogCorner.x + 20, kDialogCorner.y + 20), CSize(30, 30)));
    // Raised above the static that was created after it: it shows, and it takes the mouse.
    const platform::WindowRecord* dialog = platform::WindowSystem::Get().Find(host.m_hWnd);
    ASSERT_FALSE(dialog->children.empty());
    EXPECT_EQ(dialog->children.back(), host.m_button.m_hWnd);

    const CPoint on = Centre(button);
    const CPoint alsoOn(button.left + 2, button.bottom - 3);
    const CPoint off(kDialogCorner.x + 150, kDialogCorner.y + 90);  // on the dialog
    EXPECT_EQ(FrameIn(button), 0);

    sim_->MouseMove(on);
    Pump();
    EXPECT_EQ(FrameIn(button), 0) << "hover starts only once the pointer rests";
    EXPECT_EQ(sim_->Cursor(host.m_hWnd), platform::StandardCursor::Hand);
    sim_->AdvanceTime(1);
    Pump();
    EXPECT_EQ(FrameIn(button), 1);

    sim_->MouseDown(on);
    Pump();
    EXPECT_EQ(FrameIn(button), 2) << "pressed wins over hover";
    sim_->MouseUp(on);
    Pump();
    EXPECT_EQ(FrameIn(button), 1);
    EXPECT_EQ(host.clicks, 1);

    sim_->MouseMove(alsoOn);
    Pump();
    EXPECT_EQ(FrameIn(button), 1) << "the hover lasts the whole stay";

    // Press, then drag off: the pressed look goes with the pointer; releasing outside is no click.
    sim_->AdvanceTime(1000);
    sim_->MouseDown(on);
    Pump();
    EXPECT_EQ(FrameIn(button), 2);
    sim_->MouseMove(off);
    Pump();
    EXPECT_NE(FrameIn(button), 2);
    sim_->MouseUp(off);
    Pump();
    EXPECT_EQ(FrameIn(button), 0) << "the pointer left: normal again";
    EXPECT_EQ(host.clicks, 1);
    EXPECT_EQ(sim_->Cursor(host.m_hWnd), platform::StandardCursor::Arrow);

    // Back on, and a fast double click: two clicks.
    sim_->AdvanceTime(1000);
    sim_->MouseMove(on);
    sim_->AdvanceTime(1);
    Pump();
    EXPECT_EQ(FrameIn(button), 1) << "hover is requested again on the next stay";
    sim_->DoubleClick(on);
    Pump();
    EXPECT_EQ(host.clicks, 3);
    EXPECT_EQ(FrameIn(button), 1);

    // Whatever happened, neither the template's text nor a focus mark or border was drawn.
    EXPECT_FALSE(sim_->WasTextDrawn("Button1"));
}

TEST_F(PngButtonTest, EnablingOrDisablingKeepsTheFrame) {
    for (const bool hovering : {false, true}) {
        SCOPED_TRACE(hovering ? "hovering" : "normal");
        ButtonHost host({});
        ASSERT_TRUE(host.Open());
        const CRect button = host.ButtonOnScreen();
        if (hovering) {
            sim_->MouseMove(Centre(button));
            sim_->AdvanceTime(1);
        }
        Pump();
        const int frame = hovering ? 1 : 0;
        ASSERT_EQ(FrameIn(button), frame);
        host.m_button.EnableWindow(FALSE);
        Pump();
        EXPECT_EQ(FrameIn(button), frame);
        host.m_button.EnableWindow(TRUE);
        Pump();
        EXPECT_EQ(FrameIn(button), frame);
        sim_->MouseMove(CPoint(0, 0));
        Pump();
    }
}

TEST_F(PngButtonTest, ALargerButtonPaintsOnlyItsTopLeftFrameArea) {
    // The login panel's minimise button: a 39 x 39 frame in a 39 x 75 button.
    ButtonHost host({kTallStrip, CPoint(130, 20), CSize(39, 75)});
    ASSERT_TRUE(host.Open());
    const CRect button = host.ButtonOnScreen();
    ASSERT_EQ(button.Size(), CSize(39, 75));
    const CRect frameArea(button.TopLeft(), CSize(39, 39));
    const CRect below(button.left, button.top + 39, button.right, button.bottom);

    EXPECT_EQ(FrameIn(frameArea), 0);
    EXPECT_TRUE(AllOf(below, kDialogColour));
    // Resting on the lower part is resting on the button.
    sim_->MouseMove(CPoint(button.left + 5, button.bottom - 5));
    sim_->AdvanceTime(1);
    Pump();
    EXPECT_EQ(FrameIn(frameArea), 1);
    EXPECT_TRUE(AllOf(below, kDialogColour));
    sim_->MouseDown(CPoint(button.left + 5, button.bottom - 5));
    Pump();
    EXPECT_EQ(FrameIn(frameArea), 2);
    EXPECT_TRUE(AllOf(below, kDialogColour));
    sim_->MouseUp(CPoint(button.left + 5, button.bottom - 5));
    EXPECT_EQ(host.clicks, 1);
}

}  // namespace
