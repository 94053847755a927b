#pragma once
// Resources compiled into the program, found by type and name as on Windows. A name or type is
// either text or a small integer carried in the pointer (MAKEINTRESOURCE). The build embeds the
// catalogue (res/CMakeLists.txt) and registers it before main runs.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/global_memory.h"
#include "platform/win_types.h"

struct HRSRC__;
using HRSRC = HRSRC__*;

// An integer resource name: only the low 16 bits count.
inline LPCTSTR MAKEINTRESOURCE(UINT id) {
    return reinterpret_cast<LPCTSTR>(static_cast<std::uintptr_t>(id & 0xFFFFu));
}
inline bool IS_INTRESOURCE(LPCTSTR name) {
    return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0;
}

namespace platform {

// A standard numbered resource type. A literal type so that the constants below are ready
// before any static initialiser runs; it converts to the LPCTSTR the API takes.
struct IntResource {
    WORD id;
    operator LPCTSTR() const { return MAKEINTRESOURCE(id); }  // NOLINT: used as LPCTSTR
};

}  // namespace platform

inline constexpr platform::IntResource RT_CURSOR{1};
inline constexpr platform::IntResource RT_BITMAP{2};
inline constexpr platform::IntResource RT_ICON{3};
inline constexpr platform::IntResource RT_MENU{4};
inline constexpr platform::IntResource RT_DIALOG{5};
inline constexpr platform::IntResource RT_STRING{6};
inline constexpr platform::IntResource RT_RCDATA{10};
inline constexpr platform::IntResource RT_GROUP_CURSOR{12};
inline constexpr platform::IntResource RT_GROUP_ICON{14};
inline constexpr platform::IntResource RT_VERSION{16};
inline constexpr platform::IntResource RT_DLGINIT{240};

// module: null or the program's own module (AfxGetResourceHandle); any other module has no
// resources. A text type or name is compared exactly.
HRSRC FindResourceW(HMODULE module, LPCTSTR name, LPCTSTR type);
DWORD SizeofResource(HMODULE module, HRSRC resource);
// The resource's read-only bytes stay valid for the life of the program.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
void* LockResource(HGLOBAL resourceData);

namespace platform {

// Adds a resource whose bytes live for the life of the program (the compiled-in catalogue).
// A later registration of the same type and name hides an earlier one until it is removed.
void RegisterResource(LPCTSTR type, LPCTSTR name, const void* data, std::size_t size);
// The program's file version ("1.0.0.1"), as registered by the catalogue; empty without one.
void RegisterFileVersion(const char* version);
std::string GetFileVersion();

// A resource added for the life of this object, with its own copy of the bytes; tests use it to
// supply corrupt or missing pictures. Handles found while it lived stop working afterwards.
class ScopedTestResource {
public:
    ScopedTestResource(LPCTSTR type, UINT id, std::vector<std::uint8_t> bytes);
    ScopedTestResource(const ScopedTestResource&) = delete;
    ScopedTestResource& operator=(const ScopedTestResource&) = delete;
    ~ScopedTestResource();

private:
    const void* entry_;
};

}  // namespace platform
