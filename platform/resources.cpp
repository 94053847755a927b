#include "platform/resources.h"

#include <algorithm>
#include <memory>
#include <mutex>

namespace {

// A type or name: an integer identifier or exact text.
struct ResourceKey {
    bool isInt = true;
    WORD id = 0;
    std::string text;

    static ResourceKey From(LPCTSTR value) {
        ResourceKey key;
        if (IS_INTRESOURCE(value)) {
            key.id = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(value));
        } else {
            key.isInt = false;
            key.text = value;
        }
        return key;
    }
    bool operator==(const ResourceKey& o) const {
        return isInt == o.isInt && (isInt ? id == o.id : text == o.text);
    }
};

struct Entry {
    ResourceKey type;
    ResourceKey name;
    const void* data = nullptr;
    std::size_t size = 0;
    std::vector<std::uint8_t> owned;  // a test resource's own bytes
};

struct Registry {
    std::mutex mutex;
    std::vector<std::unique_ptr<Entry>> entries;  // later entries hide earlier ones
    std::string version;
};

// Function-local so that registrations from other files' static initialisers find it ready.
Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

char g_moduleAnchor;

bool IsOwnModule(HMODULE module) {
    return module == nullptr || module == AfxGetResourceHandle();
}

Entry* ValidEntry(Registry& registry, HRSRC resource) {
    auto* wanted = reinterpret_cast<Entry*>(resource);
    for (const auto& e : registry.entries)
        if (e.get() == wanted)
            return wanted;
    return nullptr;
}

const void* AddEntry(std::unique_ptr<Entry> entry) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.entries.push_back(std::move(entry));
    return registry.entries.back().get();
}

}  // namespace

HINSTANCE AfxGetResourceHandle() {
    return reinterpret_cast<HINSTANCE>(&g_moduleAnchor);
}
HINSTANCE AfxGetInstanceHandle() {
    return AfxGetResourceHandle();
}

HRSRC FindResourceW(HMODULE module, LPCTSTR name, LPCTSTR type) {
    if (!IsOwnModule(module) || !name || !type)
        return nullptr;
    const ResourceKey nameKey = ResourceKey::From(name);
    const ResourceKey typeKey = ResourceKey::From(type);
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    for (auto it = registry.entries.rbegin(); it != registry.entries.rend(); ++it)
        if ((*it)->type == typeKey && (*it)->name == nameKey)
            return reinterpret_cast<HRSRC>(it->get());
    return nullptr;
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
    if (!IsOwnModule(module))
        return 0;
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    const Entry* entry = ValidEntry(registry, resource);
    return entry ? static_cast<DWORD>(entry->size) : 0;
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
    static const std::uint8_t kEmpty = 0;  // an empty resource still loads
    if (!IsOwnModule(module))
        return nullptr;
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    const Entry* entry = ValidEntry(registry, resource);
    if (!entry)
        return nullptr;
    // Resource memory is read-only, as on Windows; the handle is the address.
    return const_cast<void*>(entry->data ? entry->data : &kEmpty);
}

void* LockResource(HGLOBAL resourceData) {
    return resourceData;
}

namespace platform {

void RegisterResource(LPCTSTR type, LPCTSTR name, const void* data, std::size_t size) {
    if (!type || !name || size > UINT32_MAX)
        return;
    auto entry = std::make_unique<Entry>();
    entry->type = ResourceKey::From(type);
    entry->name = ResourceKey::From(name);
    entry->data = data;
    entry->size = size;
    AddEntry(std::move(entry));
}

void RegisterFileVersion(const char* version) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.version = version ? version : "";
}

std::string GetFileVersion() {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    return registry.version;
}

ScopedTestResource::ScopedTestResource(LPCTSTR type, UINT id, std::vector<std::uint8_t> bytes) {
    auto entry = std::make_unique<Entry>();
    entry->type = ResourceKey::From(type);
    entry->name = ResourceKey::From(MAKEINTRESOURCE(id));
    entry->owned = std::move(bytes);
    entry->data = entry->owned.data();
    entry->size = entry->owned.size();
    entry_ = AddEntry(std::move(entry));
}

ScopedTestResource::~ScopedTestResource() {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto& entries = registry.entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [this](const auto& e) { return e.get() == entry_; }),
                  entries.end());
}

}  // namespace platform
