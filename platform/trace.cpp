#include "platform/trace.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

namespace platform {

namespace {
std::atomic<bool> g_enabled{false};
std::mutex g_mutex;
std::vector<std::string>& Events() {
    static std::vector<std::string> events;
    return events;
}

// Opened once, on first use, and left to the C library to close at exit.
std::FILE* TraceFile() {
    static std::FILE* const file = [] {
        const char* path = std::getenv("LAUNCHER_TRACE_FILE");
        if (path == nullptr || *path == '\0')
            return static_cast<std::FILE*>(nullptr);
        std::FILE* f = std::fopen(path, "a");
        if (f == nullptr)
            std::fprintf(stderr, "cannot open the trace file %s\n", path);
        return f;
    }();
    return file;
}
}  // namespace

void Trace::Enable(bool on) {
    g_enabled = on;
}
bool Trace::Enabled() {
    return g_enabled || TraceFile() != nullptr;
}

void Trace::Record(const std::string& event) {
    std::FILE* file = TraceFile();
    if (!g_enabled && file == nullptr)
        return;
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_enabled)
        Events().push_back(event);
    if (file != nullptr) {
        // CLOCK_MONOTONIC: the clock other processes (a benchmark, say) read as well.
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::fprintf(file, "%lld.%06ld %s\n", static_cast<long long>(now.tv_sec),
                     now.tv_nsec / 1000, event.c_str());
        // Each line goes out at once: the process may be killed rather than end.
        std::fflush(file);
    }
}

std::vector<std::string> Trace::Take() {
    std::lock_guard<std::mutex> lock(g_mutex);
    std::vector<std::string> out;
    out.swap(Events());
    return out;
}

}  // namespace platform
