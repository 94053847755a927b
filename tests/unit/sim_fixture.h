#pragma once
// A fresh simulated desktop for each test, with the framework's record switched on.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "platform/trace.h"
#include "platform/window_system.h"
#include "platform/wnd.h"

class SimDesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::WindowSystem::Get().ResetForTests();
        auto sim = std::make_unique<platform::SimDesktop>();
        sim_ = sim.get();
        platform::InstallBackend(std::move(sim));
        sim_->OnStall([] {
            ADD_FAILURE() << "the program waited with no test step left";
            PostQuitMessage(-1);
        });
        platform::Trace::Take();
        platform::Trace::Enable(true);
    }

    void TearDown() override {
        platform::Trace::Enable(false);
        platform::Trace::Take();
        platform::WindowSystem::Get().ResetForTests();
    }

    // The top-level windows whose object is of the named class.
    static std::vector<HWND> WindowsOf(const std::string& className) {
        std::vector<HWND> result;
        auto& ws = platform::WindowSystem::Get();
        for (HWND h : ws.TopLevelWindows()) {
            const platform::WindowRecord* w = ws.Find(h);
            if (w && w->object && className == w->object->GetRuntimeClass()->m_lpszClassName)
                result.push_back(h);
        }
        return result;
    }

    // Whether the events appear in the record in this order (others may come between).
    static ::testing::AssertionResult InOrder(const std::vector<std::string>& record,
                                              const std::vector<std::string>& expected) {
        auto it = record.begin();
        for (const std::string& e : expected) {
            it = std::find(it, record.end(), e);
            if (it == record.end()) {
                std::string all;
                for (const auto& r : record)
                    all += "\n  " + r;
                return ::testing::AssertionFailure()
                       << "\"" << e << "\" missing or out of order in:" << all;
            }
            ++it;
        }
        return ::testing::AssertionSuccess();
    }

    platform::SimDesktop* sim_ = nullptr;
};
