// How much memory the process can still use, for the headroom check before large edits.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kor::platform {

/// Bytes still available to the process.
struct MemoryStatus {
    /// Physical memory the system can hand out without swapping (MemAvailable).
    std::uint64_t availablePhysical = 0;
    /// Address space left below the process's address-space limit. Without a limit it is the
    /// user address space of the machine (128 TiB on 64-bit, 3 GiB on 32-bit) less what the
    /// process has mapped already.
    std::uint64_t availableVirtual = 0;
};

/// Reads the current memory status; nullopt when the system does not report it, in which case
/// the caller lets the allocation go ahead.
std::optional<MemoryStatus> queryMemoryStatus();

/// Whether an allocation of `bytes` leaves room to spare under `status`: at least 200 MiB of
/// address space and 100 MiB of physical memory beyond it. An unknown status allows it.
bool headroomAllows(std::uint64_t bytes, const std::optional<MemoryStatus>& status);

/// headroomAllows() under the current memory status.
bool hasHeadroomFor(std::uint64_t bytes);

/// The MemAvailable figure of /proc/meminfo text, in bytes; nullopt when the line is missing or
/// malformed.
std::optional<std::uint64_t> parseMemAvailable(std::string_view meminfo);

} // namespace kor::platform
