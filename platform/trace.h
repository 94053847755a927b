#pragma once
// A record of what the framework did, in order: windows created and destroyed, services switched
// on, quit requests. Off unless someone asks for it (the tests do); it costs nothing when off.

#include <string>
#include <vector>

namespace platform {

class Trace {
public:
    static void Enable(bool on);
    static bool Enabled();
    static void Record(const std::string& event);
    static std::vector<std::string> Take();  // returns and clears the record
};

}  // namespace platform
