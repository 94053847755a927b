// Browser hosting on the simulated desktop: the site's host options and external object reach
// both browsers, page scripts see window.external as the external object answers, and the
// wrapper without a control does nothing.

#include "app/login_app.h"
#include "browser/imp_idispatch.h"
#include "browser/web_browser2.h"
#include "game/game_dialog.h"
#include "login/login_active_dlg.h"
#include "login/login_dlg.h"
#include "sim_fixture.h"

namespace {

class BrowserHostingTest : public SimDesktopTest {
protected:
    platform::SimBrowserView* ViewOf(HWND host) const {
        const auto views = sim_->ViewsOf(host);
        return views.empty() ? nullptr : views.front();
    }
    CLoginActiveDlg* Panel() const {
        return static_cast<CLoginDlg*>(theApp.m_pMainWnd)->m_pLoginActiveDlg;
    }
};

TEST_F(BrowserHostingTest, BothBrowsersGetTheSitesOptionsAndTheOneExternalObject) {
    sim_->Then([&] {
        platform::SimBrowserView* login = ViewOf(Panel()->m_hWnd);
        ASSERT_NE(login, nullptr);
        // A right click in the page opens no menu.
        const CRect r = login->Rect();
        CRect panel;
        Panel()->GetWindowRect(&panel);
        sim_->RightClick(CPoint(panel.left + r.left + 20, panel.top + r.top + 20));
        EXPECT_EQ(login->RightClicks().size(), 1u) << "the click reached the page";
        EXPECT_EQ(login->ContextMenusShown(), 0);
    });
    sim_->Then([&] {
        theApp.OpenGameWindow("http://127.0.0.1/game?client=1&server=s1");
        platform::SimBrowserView* login = ViewOf(Panel()->m_hWnd);
        platform::SimBrowserView* game = ViewOf(theApp.m_pGameWnd->m_hWnd);
        ASSERT_NE(login, nullptr);
        ASSERT_NE(game, nullptr);
        for (platform::SimBrowserView* view : {login, game}) {
            EXPECT_FALSE(view->Options().contextMenu);
            EXPECT_FALSE(view->Options().scrollBars);
            EXPECT_FALSE(view->Options().border3D);
            EXPECT_EQ(view->Options().external, theApp.m_pExternalDispatch);
        }
        // One reference per browser that asked for it.
        const ULONG count = theApp.m_pExternalDispatch->AddRef() - 1;
        theApp.m_pExternalDispatch->Release();
        EXPECT_EQ(count, 2u);
    });
    sim_->Then([] { PostQuitMessage(16); });
    theApp.InitInstance();
}

TEST_F(BrowserHostingTest, PageScriptsSeeTheExternalObjectsOneProperty) {
    struct Case {
        const char* name;
        std::optional<std::string> reads;
    };
    const Case cases[] = {
        {"xxyyzz", "Wibble"}, {"xxy", "Wibble"},      {"xxyabc", "Wibble"},
        {"ｘｘｙ", "Wibble"}, {"nope", std::nullopt}, {"XXYYZZ", std::nullopt},
    };
    sim_->Then([&] {
        platform::SimBrowserView* login = ViewOf(Panel()->m_hWnd);
        ASSERT_NE(login, nullptr);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(login->ScriptReadsExternal(c.name), c.reads);
        }
        // Assigning raises nothing and changes nothing.
        EXPECT_TRUE(login->ScriptWritesExternal("xxyyzz", "changed"));
        EXPECT_EQ(login->ScriptReadsExternal("xxyyzz"), "Wibble");
        PostQuitMessage(16);
    });
    theApp.InitInstance();
}

TEST_F(BrowserHostingTest, WrapperWithoutAControlIgnoresNavigateAndRefresh) {
    CWebBrowser2 unbound;
    VARIANT empty;
    VariantInit(&empty);
    unbound.Navigate("http://127.0.0.1/client", &empty, &empty, &empty, &empty);
    unbound.Refresh();
    EXPECT_TRUE(sim_->Views().empty());
    EXPECT_TRUE(sim_->EventLog().empty());
}

TEST_F(BrowserHostingTest, RefreshReloadsThePageTheLoginBrowserHolds) {
    sim_->Then([&] {
        platform::SimBrowserView* login = ViewOf(Panel()->m_hWnd);
        ASSERT_NE(login, nullptr);
        login->PageNavigates("http://127.0.0.1/news");
    });
    sim_->Then([&] {
        sim_->ClearEventLog();
        Panel()->m_browser.Refresh();
    });
    sim_->Then([&] {
        const std::vector<std::string> log = sim_->EventLog();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front(), "before main http://127.0.0.1/news");
        platform::SimBrowserView* login = ViewOf(Panel()->m_hWnd);
        ASSERT_NE(login, nullptr);
        EXPECT_EQ(login->CurrentUrl(), "http://127.0.0.1/news");
        PostQuitMessage(16);
    });
    theApp.InitInstance();
}

}  // namespace
