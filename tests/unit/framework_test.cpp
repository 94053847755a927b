// The framework's window semantics on the simulated desktop: owner relations, modal runs that
// disable their owners, and messages posted from other threads.

#include <thread>

#include "platform/dialog.h"
#include "platform/dialog_template.h"
#include "sim_fixture.h"

namespace {

constexpr UINT kTestDialog = 0x7F01;
constexpr UINT WM_FROM_WORKER = WM_USER + 0x40;

class TestDialog : public CDialogEx {
public:
    TestDialog() : CDialogEx(kTestDialog) {}
    int received = 0;
    LRESULT OnFromWorker(WPARAM wParam, LPARAM) {
        received = static_cast<int>(wParam);
        EndDialog(static_cast<int>(wParam));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialogEx)
ON_MESSAGE(WM_FROM_WORKER, &TestDialog::OnFromWorker)
END_MESSAGE_MAP()

class FrameworkTest : public SimDesktopTest {
protected:
    void SetUp() override {
        SimDesktopTest::SetUp();
        platform::RegisterDialogTemplate(platform::DialogTemplate{
            kTestDialog, WS_POPUP | WS_VISIBLE, 0, 0, 0, 100, 60, "Sans", 9, 0, {}});
    }
};

TEST_F(FrameworkTest, MessagePostedFromAnotherThreadReachesTheModalLoop) {
    TestDialog dlg;
    std::thread worker;
    sim_->Then([&] {
        const HWND target = dlg.m_hWnd;
        worker = std::thread([target] { PostMessage(target, WM_FROM_WORKER, 42, 0); });
    });
    // The simulated desktop never sleeps: the next step waits for the worker, whose message is
    // then in the queue; once handled the dialog ends with its value.
    sim_->Then([&] { worker.join(); });
    EXPECT_EQ(dlg.DoModal(), 42);
    // The message may have arrived before the joining step ran.
    if (worker.joinable())
        worker.join();
    EXPECT_EQ(dlg.received, 42);
}

TEST_F(FrameworkTest, OwnedWindowsFollowTheirOwner) {
    TestDialog owner;
    TestDialog owned;
    ASSERT_TRUE(owner.Create(kTestDialog, nullptr));
    ASSERT_TRUE(owned.Create(kTestDialog, &owner));
    owner.ShowWindow(SW_SHOWNORMAL);
    owned.ShowWindow(SW_SHOWNORMAL);
    owner.SetActiveWindow();
    // Above its owner even when the owner is activated last.
    const auto stack = sim_->StackingOrder();
    const auto pos = [&](HWND h) {
        return std::find(stack.begin(), stack.end(), h) - stack.begin();
    };
    EXPECT_GT(pos(owned.m_hWnd), pos(owner.m_hWnd));

    // Hiding the owner leaves the owned window alone; minimising takes it along.
    owner.ShowWindow(SW_HIDE);
    EXPECT_TRUE(owned.IsWindowVisible());
    owner.ShowWindow(SW_SHOWNORMAL);
    owner.ShowWindow(SW_MINIMIZE);
    EXPECT_FALSE(owned.IsWindowVisible());
    sim_->RestoreFromTaskbar(owner.m_hWnd);
    EXPECT_TRUE(owned.IsWindowVisible());

    // Destroying the owner destroys the owned window.
    const HWND ownedHandle = owned.m_hWnd;
    owner.DestroyWindow();
    EXPECT_FALSE(IsWindow(ownedHandle));
    EXPECT_EQ(owned.m_hWnd, nullptr);
}

TEST_F(FrameworkTest, ModalRunDisablesTheOwnerChainAndRestoresIt) {
    TestDialog top;
    TestDialog middle;
    ASSERT_TRUE(top.Create(kTestDialog, nullptr));
    ASSERT_TRUE(middle.Create(kTestDialog, &top));
    TestDialog modal;
    sim_->Then([&] {
        EXPECT_FALSE(top.IsWindowEnabled());
        EXPECT_FALSE(middle.IsWindowEnabled());
        EXPECT_TRUE(modal.IsWindowEnabled());
        EXPECT_TRUE(sim_->Window(modal.m_hWnd)->modalDialog);
        modal.PostMessage(WM_FROM_WORKER, 7, 0);
    });
    middle.SetActiveWindow();
    EXPECT_EQ(modal.DoModal(), 7);
    EXPECT_TRUE(top.IsWindowEnabled());
    EXPECT_TRUE(middle.IsWindowEnabled());
    EXPECT_EQ(modal.m_hWnd, nullptr) << "the modal window is gone when DoModal returns";
}

TEST_F(FrameworkTest, QuitEndsEveryNestedModalLoop) {
    TestDialog outer;
    TestDialog inner;
    INT_PTR innerResult = 0;
    sim_->Then([&] { innerResult = inner.DoModal(); });
    sim_->Then([] { PostQuitMessage(5); });
    EXPECT_EQ(outer.DoModal(), -1);
    EXPECT_EQ(innerResult, -1);
    EXPECT_TRUE(platform::WindowSystem::Get().QuitPending());
    EXPECT_EQ(platform::WindowSystem::Get().QuitCode(), 5);
}

}  // namespace
