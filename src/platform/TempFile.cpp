#include "platform/TempFile.h"

#include "platform/FileCalls.h"
#include "platform/Path.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
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

std::error_code claimTempName(const std::filesystem::path& folder, std::string_view prefix,
                              const ClaimName& claim, std::filesystem::path& path) {
    std::uint16_t number = firstCandidate();
    for (std::uint32_t attempt = 0; attempt <= 0xFFFF; ++attempt, ++number) {
        char digits[5];
        std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(number));
        std::string name(prefix);
        name += digits;
        name += ".tmp";
        std::filesystem::path candidate = folder / name;
        if (claim(candidate)) {
            path = std::move(candidate);
            return {};
        }
        if (errno != EEXIST) return std::error_code(errno, std::generic_category());
    }
    return std::make_error_code(std::errc::file_exists);
}

std::error_code createTempFile(const std::wstring& folder, std::wstring_view prefix,
                               std::wstring& path) {
    const std::optional<std::filesystem::path> nativeFolder = toPath(folder);
    const std::optional<std::filesystem::path> nativePrefix = toPath(prefix);
    if (!nativeFolder || !nativePrefix)
        return std::make_error_code(std::errc::illegal_byte_sequence);
    std::filesystem::path created;
    const std::error_code error = claimTempName(
        *nativeFolder, nativePrefix->native(),
        [](const std::filesystem::path& candidate) {
            const int fd =
                fileCalls().open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0) return false;
            ::close(fd);
            return true;
        },
        created);
    if (error) return error;
    // The name is prefix, hex digits and ".tmp", all of which came from wide text.
    path = joinPath(folder, *fromPath(created.filename()));
    return {};
}

} // namespace kor::platform
