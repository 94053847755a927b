#pragma once
// The simulated desktop's virtual clock and its queue of pending native events. Events are
// callbacks run on the user-interface thread: posted ones in order, timed ones when the clock
// reaches them (in time order, ties in posting order).

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace platform {

class SimEventQueue {
public:
    static constexpr std::uint64_t kStartMs = 1000;

    std::uint64_t NowMs() const { return now_; }
    // Moves the clock forward; it never goes back.
    void AdvanceTo(std::uint64_t ms);

    void Post(std::function<void()> event);
    void PostAt(std::uint64_t dueMs, std::function<void()> event);

    // True when a posted event or a timed event whose time has come is waiting.
    bool HasReady() const;
    std::optional<std::uint64_t> NextDueMs() const;
    // Runs the events ready now (not those they post in turn); returns how many ran.
    int RunReady();

private:
    std::uint64_t now_ = kStartMs;
    std::uint64_t nextSeq_ = 0;
    std::deque<std::function<void()>> posted_;
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::function<void()>> timed_;  // (due, seq)
};

}  // namespace platform
