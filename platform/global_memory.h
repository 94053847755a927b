#pragma once
// Global memory blocks and a COM stream over one: the way the program hands bytes to the image
// decoder. A movable block's handle is not its address; GlobalLock gives the address.

#include <cstddef>
#include <cstdint>

#include "platform/com.h"
#include "platform/win_types.h"

using HGLOBAL = void*;
using SIZE_T = std::size_t;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Null when the memory cannot be had. A fixed block's handle is its address.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// Null for an unknown handle and for a block of zero bytes. Locks nest.
void* GlobalLock(HGLOBAL memory);
// Nonzero while the block is still locked after this call.
BOOL GlobalUnlock(HGLOBAL memory);
// Null when freed; the handle itself when it names no block.
HGLOBAL GlobalFree(HGLOBAL memory);
// 0 for an unknown handle.
SIZE_T GlobalSize(HGLOBAL memory);
// Resizes a block, keeping its handle for a movable one; null on failure (the block is kept).
HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags);

struct LARGE_INTEGER {
    std::int64_t QuadPart = 0;
};
struct ULARGE_INTEGER {
    std::uint64_t QuadPart = 0;
};

constexpr DWORD STREAM_SEEK_SET = 0;
constexpr DWORD STREAM_SEEK_CUR = 1;
constexpr DWORD STREAM_SEEK_END = 2;

constexpr DWORD STGTY_STREAM = 2;
constexpr DWORD STATFLAG_DEFAULT = 0;
constexpr DWORD STATFLAG_NONAME = 1;

constexpr HRESULT STG_E_INVALIDFUNCTION = static_cast<HRESULT>(0x80030001u);
constexpr HRESULT STG_E_INVALIDPOINTER = static_cast<HRESULT>(0x80030009u);
constexpr HRESULT STG_E_MEDIUMFULL = static_cast<HRESULT>(0x80030070u);

// The part of a stream's status the program reads.
struct STATSTG {
    DWORD type = 0;
    ULARGE_INTEGER cbSize;
};

inline constexpr IID IID_ISequentialStream = {
    0x0c733a30, 0x2a1c, 0x11ce, {0xad, 0xe5, 0x00, 0xaa, 0x00, 0x44, 0x77, 0x3d}};
inline constexpr IID IID_IStream = {0x0000000c, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// A byte stream with a position. Reads and writes past the end behave as on a file: a read
// returns what is there, a write grows the stream.
struct IStream : IUnknown {
    virtual HRESULT Read(void* buffer, ULONG bytes, ULONG* bytesRead) = 0;
    virtual HRESULT Write(const void* buffer, ULONG bytes, ULONG* bytesWritten) = 0;
    virtual HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) = 0;
    virtual HRESULT SetSize(ULARGE_INTEGER newSize) = 0;
    virtual HRESULT Stat(STATSTG* status, DWORD flags) = 0;

protected:
    ~IStream() = default;
};
using LPSTREAM = IStream*;

// Opens a stream on a global memory block (a new empty block when memory is null). With
// deleteOnRelease the last Release frees the block; otherwise the caller keeps owning it and
// must keep it alive for as long as the stream is used.
HRESULT CreateStreamOnHGlobal(HGLOBAL memory, BOOL deleteOnRelease, IStream** stream);
