#pragma once
// A record of what the framework did, in order: windows created and destroyed, services switched
// on, quit requests. Off unless someone asks for it (the tests do); it costs nothing when off.
//
// With LAUNCHER_TRACE_FILE set in the environment, every event is also appended to that file as
// one line, "<seconds on the monotonic clock> <event>", so timings can be read from outside.

#include <string>
#include <vector>

namespace platform {

class Trace {
public:
    static void Enable(bool on);
    // True while the in-memory record or the trace file takes events.
    static bool Enabled();
    static void Record(const std::string& event);
    static std::vector<std::string> Take();  // returns and clears the in-memory record
};

}  // namespace platform
