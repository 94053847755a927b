// The application's life on the simulated desktop: start-up and tear-down order, the game
// window's hand-off and lifetime, and the codes the program ends with.

#include "app/login_app.h"
#include "game/game_dialog.h"
#include "login/login_active_dlg.h"
#include "login/login_dlg.h"
#include "sim_fixture.h"

namespace {

class AppSpineTest : public SimDesktopTest {
protected:
    // Runs the whole program with the given steps queued; returns the code it ends with.
    int RunProgram() {
        theApp.InitInstance();
        return theApp.ExitInstance();
    }
    CLoginDlg* MainWindow() const { return static_cast<CLoginDlg*>(theApp.m_pMainWnd); }
};

TEST_F(AppSpineTest, StartsUpAndTearsDownInOrder) {
    sim_->Then([&] {
        EXPECT_EQ(WindowsOf("CLoginDlg").size(), 1u);
        EXPECT_NE(theApp.m_pExternalDispatch, nullptr);
        theApp.OpenGameWindow("http://127.0.0.1/game?client=1&server=s1");
    });
    sim_->Then([] { PostQuitMessage(16); });
    EXPECT_EQ(RunProgram(), 16);

    const std::vector<std::string> record = platform::Trace::Take();
    EXPECT_TRUE(InOrder(
        record,
        {"InitCommonControlsEx", "CWinApp::InitInstance", "AfxEnableControlContainer",
         "CShellManager created", "SetDefaultManager CMFCVisualManagerWindows",
         "SetRegistryKey 应用程序向导生成的本地应用程序", "create #32770 CLoginDlg",
         "modal begin CLoginDlg", "quit 16",
         // The framework destroys the main window with the windows it owns...
         "destroy #32770 CLoginActiveDlg", "destroy #32770 CLoginDlg", "modal end CLoginDlg -1",
         // ...then the program tears down in its fixed order.
         "tray icon removed 128", "CShellManager deleted", "ControlBarCleanUp"}));
    EXPECT_TRUE(
        InOrder(record, {"quit 16", "destroy #32770 CGameDialog", "destroy #32770 CLoginDlg"}));
    EXPECT_EQ(theApp.m_pGameWnd, nullptr);
    EXPECT_EQ(theApp.m_pExternalDispatch, nullptr);
    EXPECT_TRUE(sim_->TrayIcons().empty()) << "a game window that existed leaves no icon behind";
    EXPECT_TRUE(platform::WindowSystem::Get().TopLevelWindows().empty());
}

TEST_F(AppSpineTest, FirstGameUrlCreatesHiddenWindowNavigatesThenShowsIt) {
    const std::string url = "http://127.0.0.1/game?client=1&server=s1";
    sim_->Then([&] {
        platform::Trace::Take();
        theApp.OpenGameWindow(url.c_str());
        const std::vector<std::string> record = platform::Trace::Take();
        EXPECT_TRUE(
            InOrder(record, {"create #32770 CGameDialog", "navigate " + url, "show 1 CGameDialog",
                             "activate CGameDialog", "show 0 CLoginDlg"}));
        // Created hidden: nothing showed it before the navigation.
        const auto shown = std::find(record.begin(), record.end(), "show 1 CGameDialog");
        const auto navigated = std::find(record.begin(), record.end(), "navigate " + url);
        EXPECT_LT(navigated - record.begin(), shown - record.begin());

        ASSERT_NE(theApp.m_pGameWnd, nullptr);
        const HWND game = theApp.m_pGameWnd->m_hWnd;
        EXPECT_TRUE(IsWindowVisible(game));
        EXPECT_EQ(GetActiveWindow(), game);
        EXPECT_FALSE(MainWindow()->IsWindowVisible());
        EXPECT_FALSE(MainWindow()->m_pLoginActiveDlg->IsWindowVisible())
            << "the panel hides with its owner";
        // Owned by the login window, but with a taskbar button of its own.
        EXPECT_EQ(sim_->Window(game)->owner, MainWindow()->m_hWnd);
        EXPECT_TRUE(sim_->Window(game)->taskbarButton);
    });
    sim_->Then([] { PostQuitMessage(16); });
    RunProgram();
}

TEST_F(AppSpineTest, LaterUrlsReuseTheWindowAndDestroyMakesRoomForAFreshOne) {
    HWND first = nullptr;
    CGameDialog* firstObject = nullptr;
    sim_->Then([&] {
        theApp.OpenGameWindow("http://127.0.0.1/game?client=1&server=s1");
        firstObject = theApp.m_pGameWnd;
        first = firstObject->m_hWnd;
        EXPECT_EQ(sim_->HotKeys().size(), 2u);
        EXPECT_EQ(sim_->TrayIcons().size(), 1u);
        // The hidden login page can still hand off: the same window takes the new URL.
        firstObject->ShowWindow(SW_MINIMIZE);
        platform::Trace::Take();
        theApp.OpenGameWindow("http://127.0.0.1/game?client=1&server=s2");
        EXPECT_EQ(theApp.m_pGameWnd, firstObject);
        EXPECT_EQ(WindowsOf("CGameDialog").size(), 1u);
        EXPECT_TRUE(
            InOrder(platform::Trace::Take(),
                    {"navigate http://127.0.0.1/game?client=1&server=s2", "show 1 CGameDialog"}));
        EXPECT_FALSE(IsIconic(first)) << "a minimised game window is restored";
        EXPECT_TRUE(IsWindowVisible(first));
    });
    sim_->Then([&] {
        theApp.DestroyGameWindow();
        EXPECT_EQ(theApp.m_pGameWnd, nullptr);
        EXPECT_FALSE(IsWindow(first));
        EXPECT_TRUE(sim_->HotKeys().empty());
        EXPECT_TRUE(sim_->TrayIcons().empty());
        // Nothing to destroy: nothing happens.
        platform::Trace::Take();
        theApp.DestroyGameWindow();
        EXPECT_TRUE(platform::Trace::Take().empty());
        MainWindow()->ShowWindow(SW_SHOWNORMAL);
    });
    sim_->Then([&] {
        theApp.OpenGameWindow("http://127.0.0.1/game?client=1&server=s3");
        ASSERT_NE(theApp.m_pGameWnd, nullptr);
        EXPECT_NE(theApp.m_pGameWnd->m_hWnd, first);
        EXPECT_EQ(theApp.m_pGameWnd->m_nWindowMode, WINDOW_MODE_MAXIMIZED);
        EXPECT_EQ(sim_->HotKeys().size(), 2u) << "a fresh window registers its hot keys again";
        EXPECT_EQ(sim_->TrayIcons().size(), 1u);
    });
    sim_->Then([] { PostQuitMessage(16); });
    EXPECT_EQ(RunProgram(), 16);
    EXPECT_TRUE(sim_->TrayIcons().empty());
}

TEST_F(AppSpineTest, ProgramEndsWithTheCodeOfHowItWasClosed) {
    struct Case {
        const char* how;
        std::function<void(platform::SimDesktop*, CLoginDlg*)> close;
        int expectedCode;
    };
    const Case cases[] = {
        {"close request to the login window",
         [](platform::SimDesktop* sim, CLoginDlg* dlg) { sim->CloseRequest(dlg->m_hWnd); }, 0},
        {"confirmed close", [](platform::SimDesktop*, CLoginDlg*) { PostQuitMessage(16); }, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        sim_->Then([&] { c.close(sim_, MainWindow()); });
        EXPECT_EQ(RunProgram(), c.expectedCode);
        EXPECT_EQ(theApp.m_pGameWnd, nullptr);
        EXPECT_TRUE(platform::WindowSystem::Get().TopLevelWindows().empty());
        platform::WindowSystem::Get().ResetForTests();
    }
}

TEST_F(AppSpineTest, EnterAndEscapeNeverEndTheLoginWindow) {
    sim_->Then([&] {
        sim_->ActivateByUser(MainWindow()->m_hWnd);
        sim_->PressKey(VK_RETURN);
        sim_->PressKey(VK_ESCAPE);
    });
    sim_->Then([&] {
        EXPECT_TRUE(MainWindow()->IsWindowVisible());
        sim_->CloseRequest(MainWindow()->m_hWnd);
    });
    EXPECT_EQ(RunProgram(), 0);
}

}  // namespace
