// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

inline constexpr size_t SectorSize = 512;
// Buffers for unbuffered transfers are aligned to this (a page covers every sector size).
inline constexpr size_t SectorBufferAlignment = 4096;

enum class TargetOpen { Ok, NoRights, Failed };

// A receiver file or raw volume opened for exclusive, unbuffered whole-sector access
// (O_DIRECT / FILE_FLAG_NO_BUFFERING). Closing makes the handle invalid again.
class SectorTarget {
public:
    SectorTarget() = default;
    ~SectorTarget() { Close(); }
    SectorTarget(const SectorTarget&) = delete;
    SectorTarget& operator=(const SectorTarget&) = delete;

    TargetOpen Open(const std::string& path, bool writable);
    bool IsOpen() const { return handle != -1; }
    void Close();
    // Bytes moved, or -1. Offsets, sizes and buffers are whole, aligned sectors.
    long long ReadAt(uint64_t offset, void* buffer, size_t size);
    long long WriteAt(uint64_t offset, const void* buffer, size_t size);
    bool Flush();
    // Bytes in the opened file or volume; -1 when closed or unknown.
    long long Size();
    // False when the file system refused unbuffered access and the target fell back to
    // synchronous writes with the cache dropped after each transfer.
    bool Unbuffered() const { return unbuffered; }

private:
    long long handle = -1;
    bool unbuffered = true;
};

}  // namespace platform
