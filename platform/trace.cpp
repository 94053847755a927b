#include "platform/trace.h"

#include <atomic>
#include <mutex>

namespace platform {

namespace {
std::atomic<bool> g_enabled{false};
std::mutex g_mutex;
std::vector<std::string>& Events() {
    static std::vector<std::string> events;
    return events;
}
}  // namespace

void Trace::Enable(bool on) { g_enabled = on; }
bool Trace::Enabled() { return g_enabled; }

void Trace::Record(const std::string& event) {
    if (!g_enabled) return;
    std::lock_guard<std::mutex> lock(g_mutex);
    Events().push_back(event);
}

std::vector<std::string> Trace::Take() {
    std::lock_guard<std::mutex> lock(g_mutex);
    std::vector<std::string> out;
    out.swap(Events());
    return out;
}

}  // namespace platform
