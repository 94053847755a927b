// The confirmation dialog on the simulated desktop: its texts for each question, its answer for
// each key and click, and where its two buttons take the mouse.

#include <functional>

#include "game/confirm_dlg.h"
#include "sim_fixture.h"

namespace {

constexpr int kNoAnswer = 99;  // the test ended the dialog itself

// Tells whether an answer has ended the dialog.
class ProbedConfirmDlg : public CConfirmDlg {
public:
    bool Answered() const { return m_bModalEnded; }
};

class ConfirmDialogTest : public SimDesktopTest {
protected:
    static HWND Dialog() {
        const std::vector<HWND> dialogs = WindowsOf("CConfirmDlg");
        return dialogs.size() == 1 ? dialogs.front() : nullptr;
    }
    CPoint DialogPoint(int x, int y) const {
        const CRect r = sim_->Window(Dialog())->rect;
        return CPoint(r.left + x, r.top + y);
    }
    std::string TextOf(const CWnd& control) const { return std::string(control.GetWindowText()); }
    bool DrawnInWhite(const std::string& text) const {
        for (const platform::SimTextCall& call : sim_->TextDrawn()) {
            if (call.text == text && call.color == RGB(255, 255, 255))
                return true;
        }
        return false;
    }
};

TEST_F(ConfirmDialogTest, AsksTheQuestionOfItsMode) {
    struct Case {
        int mode;
        const char* title;
        const char* question;
    };
    const Case cases[] = {
        {CONFIRM_EXIT_GAME, "关闭游戏", "确定要退出游戏吗?"},
        {CONFIRM_SELECT_SERVER, "选服", "是否退出当前游戏，重新选择新服务器?"},
        {2, "Static", "确定要退出游戏吗？"},  // the template's own texts
        {-1, "Static", "确定要退出游戏吗？"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        CConfirmDlg dlg;
        dlg.m_nMode = c.mode;
        sim_->ClearTextDrawn();
        sim_->Then([&] {
            EXPECT_EQ(TextOf(dlg.m_stTitle), c.title);
            EXPECT_EQ(TextOf(dlg.m_stMessage), c.question);
            EXPECT_TRUE(DrawnInWhite(c.title));
            EXPECT_TRUE(DrawnInWhite(c.question));
            // 256 x 110 pixels, centred in the work area when asked from no window.
            const CRect work = sim_->WorkArea();
            EXPECT_EQ(sim_->Window(dlg.m_hWnd)->rect.Width(), 256);
            EXPECT_EQ(sim_->Window(dlg.m_hWnd)->rect.Height(), 110);
            EXPECT_EQ(sim_->Window(dlg.m_hWnd)->rect.left, (work.left + work.right) / 2 - 128);
            EXPECT_EQ(sim_->Window(dlg.m_hWnd)->rect.top, (work.top + work.bottom) / 2 - 55);
            dlg.EndDialog(kNoAnswer);
        });
        EXPECT_EQ(dlg.DoModal(), kNoAnswer);
    }
}

TEST_F(ConfirmDialogTest, AnswersOkOnlyForTheConfirmButtonAndEnter) {
    struct Case {
        const char* input;
        std::function<void(platform::SimDesktop*, HWND)> give;
        INT_PTR expected;
    };
    const Case cases[] = {
        {"Enter", [](platform::SimDesktop* sim, HWND) { sim->PressKey(VK_RETURN); }, IDOK},
        {"Escape", [](platform::SimDesktop* sim, HWND) { sim->PressKey(VK_ESCAPE); }, IDCANCEL},
        {"Alt+F4", [](platform::SimDesktop* sim, HWND dialog) { sim->CloseRequest(dialog); },
         IDCANCEL},
        {"confirm button",
         [](platform::SimDesktop* sim, HWND dialog) {
             const CRect r = sim->Window(dialog)->rect;
             sim->Click(CPoint(r.left + 40 + 37, r.top + 72 + 13));
         },
         IDOK},
        {"cancel button",
         [](platform::SimDesktop* sim, HWND dialog) {
             const CRect r = sim->Window(dialog)->rect;
             sim->Click(CPoint(r.left + 140 + 37, r.top + 72 + 13));
         },
         IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        CConfirmDlg dlg;
        sim_->Then([&] {
            EXPECT_EQ(sim_->ActiveWindow(), Dialog());
            c.give(sim_, Dialog());
        });
        EXPECT_EQ(dlg.DoModal(), c.expected);
        EXPECT_EQ(Dialog(), nullptr);
    }
}

TEST_F(ConfirmDialogTest, EachButtonTakesTheMouseOnlyOverItsOwnFrame) {
    struct Case {
        CPoint pt;  // in the dialog
        INT_PTR expected;
    };
    const Case cases[] = {
        {{40, 72}, IDOK},       {{113, 97}, IDOK},      {{39, 85}, kNoAnswer},
        {{77, 98}, kNoAnswer},  {{77, 71}, kNoAnswer},  {{114, 85}, kNoAnswer},  // the gap
        {{127, 72}, kNoAnswer}, {{139, 97}, kNoAnswer}, {{140, 72}, IDCANCEL},
        {{213, 97}, IDCANCEL},  {{214, 85}, kNoAnswer}, {{177, 98}, kNoAnswer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "(" << c.pt.x << "," << c.pt.y << ")");
        ProbedConfirmDlg dlg;
        sim_->Then([&] {
            sim_->Click(DialogPoint(c.pt.x, c.pt.y));
            if (!dlg.Answered())
                dlg.EndDialog(kNoAnswer);
        });
        EXPECT_EQ(dlg.DoModal(), c.expected);
    }
}

}  // namespace
