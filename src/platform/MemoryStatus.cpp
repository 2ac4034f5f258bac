#include "platform/MemoryStatus.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace kor::platform {

namespace {

constexpr std::uint64_t kUserAddressSpace =
    sizeof(void*) >= 8 ? std::uint64_t{1} << 47 : std::uint64_t{3} << 30;

std::optional<std::string> readWholeFile(const char* path) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The process's mapped address space: the first field of /proc/self/statm, in pages.
std::optional<std::uint64_t> mappedBytes() {
    const std::optional<std::string> statm = readWholeFile("/proc/self/statm");
    if (!statm) return std::nullopt;
    std::uint64_t pages = 0;
    const auto [end, error] = std::from_chars(statm->data(), statm->data() + statm->size(), pages);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (error != std::errc() || pageSize <= 0) return std::nullopt;
    return pages * static_cast<std::uint64_t>(pageSize);
}

} // namespace

std::optional<std::uint64_t> parseMemAvailable(std::string_view meminfo) {
    constexpr std::string_view kKey = "MemAvailable:";
    std::size_t at = meminfo.find(kKey);
    // The key must start a line, not end another key's name.
    while (at != std::string_view::npos && at != 0 && meminfo[at - 1] != '\n')
        at = meminfo.find(kKey, at + 1);
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view rest = meminfo.substr(at + kKey.size());
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    std::uint64_t kibibytes = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), kibibytes);
    const std::string_view unit = rest.substr(static_cast<std::size_t>(end - rest.data()));
    if (error != std::errc() || unit.substr(0, 3) != " kB" || kibibytes > (UINT64_MAX >> 10))
        return std::nullopt;
    return kibibytes * 1024;
}

std::optional<MemoryStatus> queryMemoryStatus() {
    const std::optional<std::string> meminfo = readWholeFile("/proc/meminfo");
    const std::optional<std::uint64_t> physical =
        meminfo ? parseMemAvailable(*meminfo) : std::nullopt;
    const std::optional<std::uint64_t> mapped = mappedBytes();
    rlimit limit{};
    if (!physical || !mapped || ::getrlimit(RLIMIT_AS, &limit) != 0) return std::nullopt;
    const std::uint64_t addressSpace =
        limit.rlim_cur == RLIM_INFINITY ? kUserAddressSpace : limit.rlim_cur;
    return MemoryStatus{*physical, addressSpace > *mapped ? addressSpace - *mapped : 0};
}

bool headroomAllows(std::uint64_t bytes, const std::optional<MemoryStatus>& status) {
    constexpr std::uint64_t kSpareAddressSpace = 200ull << 20;
    constexpr std::uint64_t kSparePhysical = 100ull << 20;
    if (!status) return true;
    // Compared as "what is left after the allocation" so that no sum can overflow.
    const auto leaves = [bytes](std::uint64_t available, std::uint64_t spare) {
        return available >= spare && available - spare >= bytes;
    };
    return leaves(status->availableVirtual, kSpareAddressSpace) &&
           leaves(status->availablePhysical, kSparePhysical);
}

bool hasHeadroomFor(std::uint64_t bytes) {
    return headroomAllows(bytes, queryMemoryStatus());
}

} // namespace kor::platform
