#include "platform/global_memory.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

namespace {

struct Block {
    std::unique_ptr<unsigned char[]> data;  // never null, even for zero bytes
    SIZE_T size = 0;
    unsigned locks = 0;
    bool fixed = false;
};

// Every live block by handle, so a stale or foreign handle is refused rather than followed.
struct BlockTable {
    std::mutex mutex;
    std::unordered_map<HGLOBAL, std::unique_ptr<Block>> blocks;
};

BlockTable& Table() {
    static BlockTable table;
    return table;
}

Block* FindLocked(BlockTable& table, HGLOBAL memory) {
    const auto it = table.blocks.find(memory);
    return it == table.blocks.end() ? nullptr : it->second.get();
}

std::unique_ptr<unsigned char[]> NewBytes(SIZE_T bytes, bool zero) {
    std::unique_ptr<unsigned char[]> data(
        new (std::nothrow) unsigned char[std::max<SIZE_T>(bytes, 1)]);
    if (data && zero)
        std::memset(data.get(), 0, bytes);
    return data;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    auto block = std::make_unique<Block>();
    block->data = NewBytes(bytes, (flags & GMEM_ZEROINIT) != 0);
    if (!block->data)
        return nullptr;
    block->size = bytes;
    block->fixed = (flags & GMEM_MOVEABLE) == 0;
    HGLOBAL handle =
        block->fixed ? static_cast<HGLOBAL>(block->data.get()) : static_cast<HGLOBAL>(block.get());
    BlockTable& table = Table();
    std::lock_guard lock(table.mutex);
    table.blocks.emplace(handle, std::move(block));
    return handle;
}

void* GlobalLock(HGLOBAL memory) {
    BlockTable& table = Table();
    std::lock_guard lock(table.mutex);
    Block* block = FindLocked(table, memory);
    if (!block || block->size == 0)
        return nullptr;
    if (!block->fixed)
        ++block->locks;
    return block->data.get();
}

BOOL GlobalUnlock(HGLOBAL memory) {
    BlockTable& table = Table();
    std::lock_guard lock(table.mutex);
    Block* block = FindLocked(table, memory);
    if (!block || block->locks == 0)
        return FALSE;
    --block->locks;
    return block->locks > 0 ? TRUE : FALSE;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    if (!memory)
        return nullptr;
    std::unique_ptr<Block> doomed;  // destroyed outside the lock
    BlockTable& table = Table();
    std::lock_guard lock(table.mutex);
    const auto it = table.blocks.find(memory);
    if (it == table.blocks.end())
        return memory;
    doomed = std::move(it->second);
    table.blocks.erase(it);
    return nullptr;
}

SIZE_T GlobalSize(HGLOBAL memory) {
    BlockTable& table = Table();
    std::lock_guard lock(table.mutex);
    Block* block = FindLocked(table, memory);
    return block ? block->size : 0;
}

HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags) {
    BlockTable& table = Table();
    std::lock_guard lock(table.mutex);
    Block* block = FindLocked(table, memory);
    // A fixed or locked block has callers holding its address: it cannot move.
    if (!block || block->fixed || block->locks > 0)
        return nullptr;
    auto data = NewBytes(bytes, false);
    if (!data)
        return nullptr;
    std::memcpy(data.get(), block->data.get(), std::min(bytes, block->size));
    if (bytes > block->size && (flags & GMEM_ZEROINIT) != 0)
        std::memset(data.get() + block->size, 0, bytes - block->size);
    block->data = std::move(data);
    block->size = bytes;
    return memory;
}

namespace {

class HGlobalStream final : public IStream {
public:
    HGlobalStream(HGLOBAL memory, bool deleteOnRelease)
        : memory_(memory), deleteOnRelease_(deleteOnRelease) {}
    HGlobalStream(const HGlobalStream&) = delete;
    HGlobalStream& operator=(const HGlobalStream&) = delete;

    HRESULT QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream) {
            *object = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        const ULONG left = --refs_;
        if (left == 0) {
            if (deleteOnRelease_)
                GlobalFree(memory_);
            delete this;
        }
        return left;
    }

    HRESULT Read(void* buffer, ULONG bytes, ULONG* bytesRead) override {
        if (bytesRead)
            *bytesRead = 0;
        if (!buffer && bytes > 0)
            return STG_E_INVALIDPOINTER;
        const SIZE_T size = GlobalSize(memory_);
        const SIZE_T available = position_ < size ? size - position_ : 0;
        const SIZE_T count = std::min<SIZE_T>(bytes, available);
        if (count > 0) {
            auto* data = static_cast<const unsigned char*>(GlobalLock(memory_));
            if (!data)
                return E_FAIL;
            std::memcpy(buffer, data + position_, count);
            GlobalUnlock(memory_);
            position_ += count;
        }
        if (bytesRead)
            *bytesRead = static_cast<ULONG>(count);
        return count == bytes ? S_OK : S_FALSE;
    }

    HRESULT Write(const void* buffer, ULONG bytes, ULONG* bytesWritten) override {
        if (bytesWritten)
            *bytesWritten = 0;
        if (!buffer && bytes > 0)
            return STG_E_INVALIDPOINTER;
        if (bytes == 0)
            return S_OK;
        if (position_ > SIZE_MAX - bytes)
            return STG_E_MEDIUMFULL;
        const SIZE_T end = position_ + bytes;
        if (end > GlobalSize(memory_) && !GlobalReAlloc(memory_, end, GMEM_ZEROINIT))
            return STG_E_MEDIUMFULL;
        auto* data = static_cast<unsigned char*>(GlobalLock(memory_));
        if (!data)
            return E_FAIL;
        std::memcpy(data + position_, buffer, bytes);
        GlobalUnlock(memory_);
        position_ = end;
        if (bytesWritten)
            *bytesWritten = bytes;
        return S_OK;
    }

    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
        std::int64_t base = 0;
        switch (origin) {
            case STREAM_SEEK_SET:
                base = 0;
                break;
            case STREAM_SEEK_CUR:
                base = static_cast<std::int64_t>(position_);
                break;
            case STREAM_SEEK_END:
                base = static_cast<std::int64_t>(GlobalSize(memory_));
                break;
            default:
                return STG_E_INVALIDFUNCTION;
        }
        // Overflow-safe: a target before the start is refused and the position kept.
        if ((move.QuadPart < 0 && base < -move.QuadPart) ||
            (move.QuadPart > 0 && base > INT64_MAX - move.QuadPart))
            return STG_E_INVALIDFUNCTION;
        position_ = static_cast<SIZE_T>(base + move.QuadPart);
        if (newPosition)
            newPosition->QuadPart = position_;
        return S_OK;
    }

    HRESULT SetSize(ULARGE_INTEGER newSize) override {
        if (newSize.QuadPart > SIZE_MAX)
            return STG_E_MEDIUMFULL;
        const auto size = static_cast<SIZE_T>(newSize.QuadPart);
        if (size == GlobalSize(memory_))
            return S_OK;
        return GlobalReAlloc(memory_, size, GMEM_ZEROINIT) ? S_OK : STG_E_MEDIUMFULL;
    }

    HRESULT Stat(STATSTG* status, DWORD) override {
        if (!status)
            return STG_E_INVALIDPOINTER;
        status->type = STGTY_STREAM;
        status->cbSize.QuadPart = GlobalSize(memory_);
        return S_OK;
    }

private:
    ~HGlobalStream() = default;

    HGLOBAL memory_;
    bool deleteOnRelease_;
    SIZE_T position_ = 0;
    std::atomic<ULONG> refs_{1};
};

}  // namespace

HRESULT CreateStreamOnHGlobal(HGLOBAL memory, BOOL deleteOnRelease, IStream** stream) {
    if (!stream)
        return E_INVALIDARG;
    *stream = nullptr;
    bool allocated = false;
    if (!memory) {
        memory = GlobalAlloc(GMEM_MOVEABLE, 0);
        if (!memory)
            return E_OUTOFMEMORY;
        allocated = true;
    } else {
        // A handle that names no block would give a stream that cannot read anything.
        BlockTable& table = Table();
        std::lock_guard lock(table.mutex);
        if (!FindLocked(table, memory))
            return E_INVALIDARG;
    }
    *stream = new (std::nothrow) HGlobalStream(memory, deleteOnRelease != FALSE);
    if (!*stream) {
        if (allocated)
            GlobalFree(memory);
        return E_OUTOFMEMORY;
    }
    return S_OK;
}
