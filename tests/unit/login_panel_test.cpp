// The login page panel on the simulated desktop: which navigations of the login page hand off to
// the game window, the hidden browser before the first page arrives, keys that must not close
// it, and its close button's confirmation.

#include <algorithm>

#include "app/login_app.h"
#include "app/login_url.h"
#include "browser/custom_occ_manager.h"
#include "game/confirm_dlg.h"
#include "game/game_dialog.h"
#include "login/login_active_dlg.h"
#include "login/login_dlg.h"
#include "res/resource_ids.h"
#include "sim_fixture.h"

static void PrintTo(const CRect& r, std::ostream* os) {
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace {

class LoginPanelTest : public SimDesktopTest {
protected:
    int RunProgram() {
        theApp.InitInstance();
        return theApp.ExitInstance();
    }
    static CLoginDlg* Main() { return static_cast<CLoginDlg*>(theApp.m_pMainWnd); }
    static CLoginActiveDlg* Panel() { return Main()->m_pLoginActiveDlg; }
    platform::SimBrowserView* ViewOf(HWND host) const {
        const auto views = sim_->ViewsOf(host);
        return views.size() == 1 ? views.front() : nullptr;
    }
    CPoint PanelPoint(int x, int y) const {
        const CRect r = sim_->Window(Panel()->m_hWnd)->rect;
        return CPoint(r.left + x, r.top + y);
    }
    static long Count(const std::vector<std::string>& record, const std::string& event) {
        return std::count(record.begin(), record.end(), event);
    }
};

TEST_F(LoginPanelTest, GameUrlsFromThePageOrItsFramesHandOffOnce) {
    struct Case {
        const char* url;
        bool inFrame;
        bool handsOff;
    };
    const Case cases[] = {
        {"http://127.0.0.1/game?client=1", false, true},
        {"http://127.0.0.1/game?gameclient=1", false, true},  // part of a longer token
        {"http://127.0.0.1/game?client=12", false, true},
        {"http://127.0.0.1/client=1/start", false, true},  // in the path
        {"http://127.0.0.1/start#client=1", false, true},  // in the fragment
        {"http://127.0.0.1/game?gameClient=pc", false, true},
        {"http://127.0.0.1/game?client=1&gameClient=pc", false, true},  // both: one hand-off
        {"http://127.0.0.1/game?gameclient=pc", false, false},          // letter case counts
        {"http://127.0.0.1/game?Client=1", false, false},
        {"http://127.0.0.1/game?gameClient=1", false, false},  // neither text
        {"http://127.0.0.1/news?client=2", false, false},
        {"http://127.0.0.1/game?client=1", true, true},
        {"http://127.0.0.1/game?client=1&gameClient=pc", true, true},
        {"http://127.0.0.1/ad?gameClient=PC", true, false},
    };
    platform::SimPage loginPage;
    loginPage.frames = {{"news", "http://127.0.0.1/news"}};
    sim_->AddPage(kLoginPageUrl, loginPage);

    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.url) + (c.inFrame ? " in a frame" : ""));
        sim_->Then([&] {
            platform::SimBrowserView* login = ViewOf(Panel()->m_hWnd);
            ASSERT_NE(login, nullptr);
            platform::Trace::Take();
            login->PageNavigates(c.url, !c.inFrame, c.inFrame ? "news" : "");
            const std::vector<std::string> record = platform::Trace::Take();

            EXPECT_EQ(theApp.m_pGameWnd != nullptr, c.handsOff);
            EXPECT_EQ(Count(record, std::string("navigate ") + c.url), c.handsOff ? 1 : 0);
            EXPECT_EQ(WindowsOf("CGameDialog").size(), c.handsOff ? 1u : 0u);
            EXPECT_EQ(Main()->IsWindowVisible(), !c.handsOff);
            const std::string shown =
                c.inFrame ? login->FrameUrls().at("news") : login->CurrentUrl();
            if (c.handsOff) {
                // The login page stays where it was.
                EXPECT_EQ(login->CurrentUrl(), kLoginPageUrl);
                EXPECT_EQ(login->FrameUrls().at("news"), "http://127.0.0.1/news");
            } else {
                EXPECT_EQ(shown, c.url);
            }
        });
        sim_->Then([&] {
            if (c.handsOff) {
                ASSERT_NE(theApp.m_pGameWnd, nullptr);
                platform::SimBrowserView* game = ViewOf(theApp.m_pGameWnd->m_hWnd);
                ASSERT_NE(game, nullptr);
                EXPECT_EQ(game->CurrentUrl(), c.url);
                EXPECT_TRUE(theApp.m_pGameWnd->IsWindowVisible());
            }
            PostQuitMessage(16);
        });
        EXPECT_EQ(RunProgram(), 16);
        platform::WindowSystem::Get().ResetForTests();
    }
}

TEST_F(LoginPanelTest, PageScriptNavigatingAFrameToTheGameHandsOff) {
    const std::string game = "http://127.0.0.1/play?server=7&gameClient=pc";
    platform::SimPage loginPage;
    loginPage.frames = {{"box", "http://127.0.0.1/box"}};
    loginPage.script = {{500, true, "box", game}};
    sim_->AddPage(kLoginPageUrl, loginPage);
    sim_->ThenAfter(1000, [&] {
        ASSERT_NE(theApp.m_pGameWnd, nullptr);
        platform::SimBrowserView* gameView = ViewOf(theApp.m_pGameWnd->m_hWnd);
        platform::SimBrowserView* loginView = ViewOf(Panel()->m_hWnd);
        ASSERT_NE(gameView, nullptr);
        ASSERT_NE(loginView, nullptr);
        EXPECT_EQ(gameView->CurrentUrl(), game);
        EXPECT_EQ(loginView->FrameUrls().at("box"), "http://127.0.0.1/box");
        EXPECT_FALSE(Main()->IsWindowVisible());
        EXPECT_FALSE(Panel()->IsWindowVisible());
        PostQuitMessage(16);
    });
    EXPECT_EQ(RunProgram(), 16);
}

TEST_F(LoginPanelTest, BrowserIsHiddenUntilTheFirstNavigationCompletes) {
    AfxEnableControlContainer(new CCustomOccManager());
    CLoginActiveDlg panel(nullptr);
    ASSERT_TRUE(panel.Create(IDD_LOGIN_ACTIVE_DIALOG, nullptr));
    panel.MoveWindow(0, 0, 1334, 725, TRUE);
    panel.ShowWindow(SW_SHOWNORMAL);
    platform::WindowSystem::Get().PaintPending();
    platform::SimBrowserView* view = ViewOf(panel.m_hWnd);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Rect(), CRect(560, 177, 1191, 623));
    // Showing the panel and painting it do not reveal the browser: the frame is see-through.
    EXPECT_FALSE(view->Visible());
    EXPECT_EQ(sim_->WindowAt(CPoint(860, 400)), nullptr);
    EXPECT_TRUE(sim_->EventLog().empty()) << "the login page is requested, not yet loaded";

    sim_->RunPendingEvents();
    EXPECT_EQ(sim_->EventLog(),
              (std::vector<std::string>{std::string("before main ") + kLoginPageUrl,
                                        std::string("navigated ") + kLoginPageUrl,
                                        std::string("complete ") + kLoginPageUrl}));
    EXPECT_TRUE(view->Visible());
    EXPECT_EQ(sim_->WindowAt(CPoint(860, 400)), panel.m_hWnd);
    panel.DestroyWindow();
}

TEST_F(LoginPanelTest, EnterEscapeAndCloseRequestLeaveThePanelAlone) {
    sim_->Then([&] {
        sim_->ActivateByUser(Panel()->m_hWnd);
        sim_->PressKey(VK_RETURN);
        sim_->PressKey(VK_ESCAPE);
        sim_->CloseRequest(Panel()->m_hWnd);
    });
    sim_->Then([&] {
        EXPECT_TRUE(Panel()->IsWindowVisible());
        EXPECT_TRUE(Main()->IsWindowVisible());
        EXPECT_TRUE(WindowsOf("CConfirmDlg").empty());
        PostQuitMessage(16);
    });
    EXPECT_EQ(RunProgram(), 16);
}

TEST_F(LoginPanelTest, CloseButtonAsksModallyOverTheLoginWindowAndOnlyConfirmEnds) {
    struct Case {
        const char* answer;
        int confirmX;  // in the dialog: the confirm button, the cancel button, or nowhere
        bool closeByKey;
        int expectedCode;
    };
    const Case cases[] = {
        {"confirm button", 40 + 37, false, 16},
        {"cancel button", 140 + 37, false, 0},
        {"Escape", 0, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        sim_->Then([&] { sim_->Click(PanelPoint(1208 + 27, 115 + 27)); });
        sim_->Then([&] {
            const std::vector<HWND> dialogs = WindowsOf("CConfirmDlg");
            ASSERT_EQ(dialogs.size(), 1u);
            const HWND dialog = dialogs.front();
            const CRect main = sim_->Window(Main()->m_hWnd)->rect;
            const CRect rect = sim_->Window(dialog)->rect;
            // 256 x 110, centred over the login window.
            EXPECT_EQ(rect, CRect(main.left + 539, main.top + 307, main.left + 539 + 256,
                                  main.top + 307 + 110));
            EXPECT_EQ(sim_->ActiveWindow(), dialog);
            // Neither window of the pair takes input meanwhile.
            EXPECT_FALSE(sim_->Window(Main()->m_hWnd)->enabled);
            EXPECT_FALSE(sim_->Window(Panel()->m_hWnd)->enabled);
            const CRect before = main;
            sim_->Click(PanelPoint(1208 + 27, 115 + 27));
            sim_->Drag(CPoint(main.left + 200, main.top + 400),
                       CPoint(main.left + 300, main.top + 400));
            EXPECT_EQ(WindowsOf("CConfirmDlg").size(), 1u);
            EXPECT_EQ(sim_->Window(Main()->m_hWnd)->rect, before);
            if (c.closeByKey) {
                sim_->PressKey(VK_ESCAPE);
            } else {
                sim_->Click(CPoint(rect.left + c.confirmX, rect.top + 72 + 13));
            }
        });
        if (c.expectedCode != 16) {
            sim_->Then([&] {
                EXPECT_TRUE(WindowsOf("CConfirmDlg").empty());
                EXPECT_TRUE(Main()->IsWindowVisible());
                EXPECT_TRUE(Panel()->IsWindowVisible());
                EXPECT_TRUE(sim_->Window(Main()->m_hWnd)->enabled);
                EXPECT_TRUE(sim_->Window(Panel()->m_hWnd)->enabled);
                sim_->CloseRequest(Main()->m_hWnd);  // ends with 0
            });
        }
        EXPECT_EQ(RunProgram(), c.expectedCode);
        platform::WindowSystem::Get().ResetForTests();
    }
}

}  // namespace
