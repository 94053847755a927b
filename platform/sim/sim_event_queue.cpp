#include "platform/sim/sim_event_queue.h"

#include <vector>

namespace platform {

void SimEventQueue::AdvanceTo(std::uint64_t ms) {
    if (ms > now_)
        now_ = ms;
}

void SimEventQueue::Post(std::function<void()> event) {
    posted_.push_back(std::move(event));
}

void SimEventQueue::PostAt(std::uint64_t dueMs, std::function<void()> event) {
    timed_.emplace(std::make_pair(dueMs, nextSeq_++), std::move(event));
}

bool SimEventQueue::HasReady() const {
    return !posted_.empty() || (!timed_.empty() && timed_.begin()->first.first <= now_);
}

std::optional<std::uint64_t> SimEventQueue::NextDueMs() const {
    if (timed_.empty())
        return std::nullopt;
    return timed_.begin()->first.first;
}

int SimEventQueue::RunReady() {
    // Take a snapshot first: an event that posts another (a page navigating itself at once) must
    // not keep this call busy forever; the new one runs on the next call.
    std::vector<std::function<void()>> batch;
    while (!posted_.empty()) {
        batch.push_back(std::move(posted_.front()));
        posted_.pop_front();
    }
    while (!timed_.empty() && timed_.begin()->first.first <= now_) {
        batch.push_back(std::move(timed_.begin()->second));
        timed_.erase(timed_.begin());
    }
    for (auto& event : batch)
        event();
    return static_cast<int>(batch.size());
}

}  // namespace platform
