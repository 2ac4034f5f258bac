#include "platform/TempFile.h"

#include "platform/Path.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cwchar>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace kor::platform {

namespace {

// Start each search at a different number so that callers do not all walk the same run of taken
// names: the clock, the process and a running count all change the starting point.
std::uint16_t firstCandidate() {
    static std::atomic<std::uint32_t> calls{0};
    const auto ticks =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    const auto mixed = ticks ^ (static_cast<std::uint64_t>(::getpid()) << 16) ^ (calls++ * 40503u);
    return static_cast<std::uint16_t>(mixed ^ (mixed >> 16) ^ (mixed >> 32));
}

} // namespace

std::error_code createTempFile(const std::wstring& folder, std::wstring_view prefix,
                               std::wstring& path) {
    std::uint16_t number = firstCandidate();
    for (std::uint32_t attempt = 0; attempt <= 0xFFFF; ++attempt, ++number) {
        wchar_t digits[5];
        std::swprintf(digits, 5, L"%04X", static_cast<unsigned>(number));
        std::wstring name(prefix);
        name += digits;
        name += L".tmp";
        std::wstring candidate = joinPath(folder, name);
        const std::optional<std::filesystem::path> native = toPath(candidate);
        if (!native) return std::make_error_code(std::errc::illegal_byte_sequence);
        const int fd = ::open(native->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            path = std::move(candidate);
            return {};
        }
        if (errno != EEXIST) return std::error_code(errno, std::generic_category());
    }
    return std::make_error_code(std::errc::file_exists);
}

} // namespace kor::platform
