// The main login window and its login page panel on the simulated desktop: placement on
// different desktops, joint moves, showing, hiding and minimising together, the see-through
// panel, and the window without its artwork.

#include <optional>

#include "app/login_app.h"
#include "login/login_active_dlg.h"
#include "login/login_dlg.h"
#include "platform/dialog_template.h"
#include "platform/resources.h"
#include "res/resource_ids.h"
#include "sim_fixture.h"

// Readable rectangles and points in failure messages.
static void PrintTo(const CRect& r, std::ostream* os) {
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
static void PrintTo(const CPoint& p, std::ostream* os) {
    *os << "(" << p.x << "," << p.y << ")";
}

namespace {

using platform::AlphaOf;
using platform::Argb;
using platform::BlendOver;
using platform::MakeArgb;
using platform::OpaqueArgb;

CPoint Offset(CPoint p, int dx, int dy) {
    return CPoint(p.x + dx, p.y + dy);
}
CRect Offset(CRect r, int dx, int dy) {
    r.OffsetRect(dx, dy);
    return r;
}

constexpr int kArtWidth = 1334;
constexpr int kArtHeight = 725;

// Counts the WM_MOVE messages a window receives, handing every message on to the window's own
// object. Lives inside one test step: the window's object is restored when it ends.
class MoveCounter : public CWnd {
public:
    explicit MoveCounter(HWND hwnd) : hwnd_(hwnd) {
        platform::WindowRecord* w = platform::WindowSystem::Get().Find(hwnd);
        original_ = w->object;
        w->object = this;
    }
    ~MoveCounter() override {
        if (platform::WindowRecord* w = platform::WindowSystem::Get().Find(hwnd_))
            w->object = original_;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_MOVE)
            ++moves;
        return original_->WindowProc(message, wParam, lParam);
    }
    const CRuntimeClass* GetRuntimeClass() const override { return original_->GetRuntimeClass(); }

    int moves = 0;

private:
    HWND hwnd_;
    CWnd* original_ = nullptr;
};

class LoginWindowTest : public SimDesktopTest {
protected:
    int RunProgram() {
        theApp.InitInstance();
        return theApp.ExitInstance();
    }
    static CLoginDlg* Main() { return static_cast<CLoginDlg*>(theApp.m_pMainWnd); }
    static CLoginActiveDlg* Panel() { return Main()->m_pLoginActiveDlg; }
    CRect RectOf(HWND hwnd) const { return sim_->Window(hwnd)->rect; }

    // A screen point where the artwork is visible and the panel lets it through: the main
    // window's own pixel, left of the browser frame.
    CPoint ArtworkPoint() const {
        const CRect main = RectOf(Main()->m_hWnd);
        for (int x = 540; x > 0; x -= 10) {
            const CPoint pt(main.left + x, main.top + 400);
            if (sim_->WindowAt(pt) == Main()->m_hWnd)
                return pt;
        }
        ADD_FAILURE() << "no visible artwork pixel on row 400";
        return main.TopLeft();
    }
};

TEST_F(LoginWindowTest, IsCentredInTheWorkAreaAndPushedToItsTopLeftWhenTooSmall) {
    using Edge = platform::SimTaskbarEdge;
    struct Case {
        const char* desktop;
        CRect screen;
        Edge taskbar;
        int thickness;
        CPoint expectedTopLeft;
    };
    const Case cases[] = {
        {"1920x1080, taskbar at the bottom", {0, 0, 1920, 1080}, Edge::Bottom, 40, {293, 158}},
        {"1920x1080, taskbar at the top", {0, 0, 1920, 1080}, Edge::Top, 40, {293, 198}},
        {"1920x1080, taskbar on the left", {0, 0, 1920, 1080}, Edge::Left, 40, {313, 178}},
        {"1920x1080, taskbar on the right", {0, 0, 1920, 1080}, Edge::Right, 40, {273, 178}},
        {"2560x1440, taskbar at the bottom", {0, 0, 2560, 1440}, Edge::Bottom, 48, {613, 334}},
        {"1366x768: just fits", {0, 0, 1366, 768}, Edge::Bottom, 40, {16, 2}},
        {"1280x720: too narrow and too low", {0, 0, 1280, 720}, Edge::Bottom, 40, {0, 0}},
        {"1280x720, taskbar at the top", {0, 0, 1280, 720}, Edge::Top, 40, {0, 40}},
        {"1280x720, taskbar on the left", {0, 0, 1280, 720}, Edge::Left, 60, {60, 0}},
        {"1024x1080: only too narrow", {0, 0, 1024, 1080}, Edge::Bottom, 40, {0, 158}},
        {"1920x700: only too low", {0, 0, 1920, 700}, Edge::Top, 30, {293, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desktop);
        sim_->SetScreen(c.screen);
        sim_->SetTaskbar(c.taskbar, c.thickness);
        sim_->Then([&] {
            const CRect expected(c.expectedTopLeft, CSize(kArtWidth, kArtHeight));
            EXPECT_EQ(RectOf(Main()->m_hWnd), expected);
            EXPECT_EQ(RectOf(Panel()->m_hWnd), expected) << "the panel lies exactly on the artwork";
            PostQuitMessage(0);
        });
        RunProgram();
        platform::WindowSystem::Get().ResetForTests();
    }
}

TEST_F(LoginWindowTest, ShowsTheArtworkAndCarriesTheOwnedPanel) {
    sim_->Then([&] {
        const platform::SimWindow* main = sim_->Window(Main()->m_hWnd);
        const platform::SimWindow* panel = sim_->Window(Panel()->m_hWnd);
        EXPECT_EQ(main->title, "BrelvoOstrand");
        EXPECT_EQ(main->contentAlpha, platform::ContentAlpha::PerPixel);
        EXPECT_TRUE(Main()->GetExStyle() & WS_EX_LAYERED);
        EXPECT_EQ(panel->owner, Main()->m_hWnd);
        EXPECT_FALSE(panel->taskbarButton) << "one taskbar button for the pair";
        EXPECT_EQ(sim_->TaskbarButtons(), std::vector<HWND>{Main()->m_hWnd});
        // Outside the figure the desktop shows through and takes the mouse.
        const CPoint corner = Offset(RectOf(Main()->m_hWnd).TopLeft(), 2, 2);
        EXPECT_EQ(sim_->ScreenPixel(corner), OpaqueArgb(platform::SimDesktop::kDefaultBackground));
        EXPECT_EQ(sim_->WindowAt(corner), nullptr);
        PostQuitMessage(0);
    });
    RunProgram();
}

TEST_F(LoginWindowTest, PanelIsSeeThroughAndClickThroughWhereItIsKeyColoured) {
    sim_->Then([&] {
        const CRect main = RectOf(Main()->m_hWnd);
        const CPoint art = ArtworkPoint();
        const platform::SimWindow* mainWindow = sim_->Window(Main()->m_hWnd);
        const platform::SimWindow* panelWindow = sim_->Window(Panel()->m_hWnd);
        // The panel covers this point, but it is the artwork's pixel that shows and is hit.
        ASSERT_TRUE(main.PtInRect(art));
        EXPECT_EQ(AlphaOf(panelWindow->content.At(art.x - main.left, art.y - main.top)), 0u);
        const Argb artPixel = mainWindow->content.At(art.x - main.left, art.y - main.top);
        EXPECT_EQ(sim_->ScreenPixel(art),
                  BlendOver(OpaqueArgb(platform::SimDesktop::kDefaultBackground), artPixel));
        EXPECT_EQ(sim_->WindowAt(art), Main()->m_hWnd);
        // The browser and the buttons are the panel's visible parts.
        const CPoint page = Offset(main.TopLeft(), 560 + 300, 177 + 200);
        EXPECT_EQ(sim_->WindowAt(page), Panel()->m_hWnd);
        EXPECT_EQ(sim_->ScreenPixel(page), MakeArgb(255, 255, 255, 255)) << "the blank page";
        EXPECT_EQ(sim_->WindowAt(Offset(main.TopLeft(), 1208 + 27, 115 + 27)), Panel()->m_hWnd);
        EXPECT_EQ(sim_->WindowAt(Offset(main.TopLeft(), 1173 + 19, 137 + 19)), Panel()->m_hWnd);
        PostQuitMessage(0);
    });
    RunProgram();
}

TEST_F(LoginWindowTest, PanelFollowsTheDraggedArtworkAndTheArtworkFollowsThePanel) {
    sim_->Then([&] {
        const HWND main = Main()->m_hWnd;
        const HWND panel = Panel()->m_hWnd;
        const int presents = sim_->Window(main)->presentCount;
        {
            MoveCounter mainMoves(main);
            MoveCounter panelMoves(panel);
            const CPoint from = ArtworkPoint();
            const CRect before = RectOf(main);
            sim_->Drag(from, Offset(from, -120, 60), 6);
            EXPECT_EQ(Main()->m_bMainLeads, TRUE);
            EXPECT_EQ(RectOf(main), Offset(before, -120, 60));
            EXPECT_EQ(RectOf(panel), RectOf(main));
            // One move each per step of the drag: the panel's move does not bounce back.
            EXPECT_EQ(mainMoves.moves, 6);
            EXPECT_EQ(panelMoves.moves, 6);
        }
        EXPECT_EQ(sim_->Window(main)->presentCount, presents) << "a drag never redraws the artwork";

        {
            // The desktop moves the panel after asking it what lies under the pointer.
            MoveCounter mainMoves(main);
            MoveCounter panelMoves(panel);
            const CRect panelRect = RectOf(panel);
            const CPoint inside = Offset(panelRect.TopLeft(), 600, 300);
            EXPECT_EQ(::SendMessage(panel, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)),
                      HTCAPTION);
            EXPECT_EQ(Main()->m_bMainLeads, FALSE);
            sim_->MoveByDesktop(panel, CPoint(100, 90));
            EXPECT_EQ(RectOf(panel).TopLeft(), CPoint(100, 90));
            EXPECT_EQ(RectOf(main), RectOf(panel));
            EXPECT_EQ(panelMoves.moves, 1);
            EXPECT_EQ(mainMoves.moves, 1);

            // Whoever was hit last leads: the artwork again.
            const CPoint from = ArtworkPoint();
            sim_->Drag(from, Offset(from, 30, 0), 3);
            EXPECT_EQ(RectOf(main).TopLeft(), CPoint(130, 90));
            EXPECT_EQ(RectOf(panel), RectOf(main));
            EXPECT_EQ(mainMoves.moves, 4);
            EXPECT_EQ(panelMoves.moves, 4);
        }
        PostQuitMessage(0);
    });
    RunProgram();
}

TEST_F(LoginWindowTest, PanelHidesShowsMinimisesAndRestoresWithTheMainWindow) {
    sim_->Then([&] {
        const HWND panel = Panel()->m_hWnd;
        const CPoint page = Offset(RectOf(panel).TopLeft(), 560 + 300, 177 + 200);
        const CPoint art = ArtworkPoint();
        const Argb background = OpaqueArgb(platform::SimDesktop::kDefaultBackground);

        Main()->ShowWindow(SW_HIDE);
        EXPECT_FALSE(sim_->Window(panel)->visible);
        EXPECT_EQ(sim_->ScreenPixel(page), background);
        EXPECT_EQ(sim_->ScreenPixel(art), background);
        Main()->ShowWindow(SW_SHOWNORMAL);
        EXPECT_TRUE(sim_->Window(panel)->visible);
        EXPECT_EQ(sim_->WindowAt(page), panel);

        // The panel's round minimise button takes both windows to the taskbar.
        sim_->Click(Offset(RectOf(panel).TopLeft(), 1173 + 19, 137 + 19));
    });
    sim_->Then([&] {
        const HWND panel = Panel()->m_hWnd;
        EXPECT_TRUE(Main()->IsIconic());
        EXPECT_FALSE(Panel()->IsWindowVisible());
        const CPoint page = Offset(RectOf(panel).TopLeft(), 560 + 300, 177 + 200);
        EXPECT_EQ(sim_->WindowAt(page), nullptr);
        EXPECT_EQ(sim_->TaskbarButtons(), std::vector<HWND>{Main()->m_hWnd});

        sim_->RestoreFromTaskbar(Main()->m_hWnd);
        EXPECT_FALSE(Main()->IsIconic());
        EXPECT_TRUE(Panel()->IsWindowVisible());
        EXPECT_EQ(sim_->WindowAt(page), panel);
        EXPECT_EQ(RectOf(panel), RectOf(Main()->m_hWnd));
        EXPECT_EQ(sim_->WindowAt(ArtworkPoint()), Main()->m_hWnd);
        PostQuitMessage(0);
    });
    RunProgram();
}

TEST_F(LoginWindowTest, WithoutItsArtworkTheWindowKeepsItsTemplateSizeUnlayered) {
    // PNG 155 present but undecodable.
    platform::ScopedTestResource broken("PNG", IDP_LOGIN_ARTWORK,
                                        {0x89, 'P', 'N', 'G', 0, 0, 0, 0});
    sim_->Then([&] {
        const CRect main = RectOf(Main()->m_hWnd);
        const platform::DialogTemplate* t = platform::FindDialogTemplate(IDD_LOGIN_DIALOG);
        ASSERT_NE(t, nullptr);
        const CRect templateRect = platform::DialogUnitsToPixels(t->pointSize, 0, 0, 561, 386);
        EXPECT_EQ(main.Size(), templateRect.Size());
        EXPECT_NE(main.Width(), kArtWidth);
        EXPECT_FALSE(Main()->GetExStyle() & WS_EX_LAYERED);
        EXPECT_EQ(sim_->Window(Main()->m_hWnd)->contentAlpha, platform::ContentAlpha::Opaque);
        EXPECT_TRUE(sim_->MessageBoxes().empty()) << "no message is shown";
        // The panel is still there, where its own template put it.
        EXPECT_TRUE(Panel()->IsWindowVisible());
        EXPECT_NE(RectOf(Panel()->m_hWnd).Width(), kArtWidth);
        PostQuitMessage(0);
    });
    RunProgram();
}

}  // namespace
