// The simulated desktop's event loop: virtual time, queued native events and the test's script.
#include <cstdio>
#include <cstdlib>

#include "platform/sim/sim_desktop.h"

namespace platform {

namespace {
// When the stall handler returns yet nothing changes, the program would wait forever.
constexpr int kMaxStallStreak = 3;
constexpr int kMaxEventRounds = 100000;
}  // namespace

void SimDesktop::AdvanceTime(std::uint64_t ms) {
    queue_.AdvanceTo(queue_.NowMs() + ms);
    lastActivityMs_ = queue_.NowMs();
}

void SimDesktop::Then(std::function<void()> step) {
    ThenAfter(0, std::move(step));
}

void SimDesktop::ThenAfter(std::uint64_t delayMs, std::function<void()> step) {
    steps_.push_back(Step{std::move(step), delayMs, std::nullopt});
}

void SimDesktop::RunPendingEvents() {
    for (int round = 0; queue_.HasReady(); ++round) {
        if (round == kMaxEventRounds) {
            std::fprintf(stderr,
                         "sim desktop: events keep posting events (a page navigating itself "
                         "without delay?); giving up\n");
            std::abort();
        }
        queue_.RunReady();
    }
}

void SimDesktop::Stall(const char* why) {
    if (++stallStreak_ > kMaxStallStreak) {
        std::fprintf(stderr,
                     "sim desktop: the program keeps waiting after the stall handler ran (%s)\n",
                     why);
        std::abort();
    }
    if (stallHandler_) {
        stallHandler_();
        return;
    }
    std::fprintf(stderr,
                 "sim desktop: the program waits for input but the test has no step left (%s); "
                 "queue the input with Then() or end the loop in the last step\n",
                 why);
    std::abort();
}

void SimDesktop::ProcessEvents(bool wait, std::optional<std::uint64_t> deadlineMs) {
    const bool woken = wake_.exchange(false);
    if (queue_.RunReady() > 0 || woken || !wait) {
        if (woken)
            stallStreak_ = 0;
        return;
    }

    // Idle. The test's next step runs now, before time passes, so a periodic timer in the
    // program cannot keep the script from running.
    if (!steps_.empty()) {
        Step& step = steps_.front();
        if (!step.dueMs)
            step.dueMs = queue_.NowMs() + step.delayMs;
        if (*step.dueMs <= queue_.NowMs()) {
            auto run = std::move(step.run);
            steps_.pop_front();
            stallStreak_ = 0;
            lastActivityMs_ = queue_.NowMs();
            if (run)
                run();
            return;
        }
        // The step waits on the clock: earlier deadlines and page scripts come first.
        std::uint64_t next = *step.dueMs;
        if (deadlineMs && *deadlineMs < next)
            next = *deadlineMs;
        if (const auto due = queue_.NextDueMs(); due && *due < next)
            next = *due;
        queue_.AdvanceTo(next);
        queue_.RunReady();
        return;
    }

    // No step left: time passes to the program's deadline or the next page event.
    std::optional<std::uint64_t> next = queue_.NextDueMs();
    if (deadlineMs && (!next || *deadlineMs < *next))
        next = deadlineMs;
    if (!next) {
        Stall("nothing left to happen");
        return;
    }
    if (*next > lastActivityMs_ + idleLimitMs_) {
        Stall("only timers left and the idle limit passed");
        return;
    }
    queue_.AdvanceTo(*next);
    if (queue_.RunReady() > 0)
        stallStreak_ = 0;
}

}  // namespace platform
