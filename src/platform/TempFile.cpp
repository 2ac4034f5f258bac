#include "platform/TempFile.h"

#include "platform/FileCalls.h"
#include "platform/Path.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

namespace kor::platform {

namespace {

// Names tried before giving up. With 64 random bits a name is taken only when someone made it on
// purpose, and nobody can make enough of them to cover the names drawn.
constexpr int kMaxTries = 100;

// 64 bits from the system's random source, nullopt with errno set when it has none to give.
std::optional<std::uint64_t> randomBits() {
    std::uint64_t bits = 0;
    ssize_t got = -1;
    do
        got = ::getrandom(&bits, sizeof bits, 0);
    while (got < 0 && errno == EINTR);
    if (got != static_cast<ssize_t>(sizeof bits)) {
        if (got >= 0) errno = EIO;
        return std::nullopt;
    }
    return bits;
}

} // namespace

std::error_code claimTempName(const std::filesystem::path& folder, std::string_view prefix,
                              const ClaimName& claim, std::filesystem::path& path) {
    for (int attempt = 0; attempt < kMaxTries; ++attempt) {
        const std::optional<std::uint64_t> number = randomBits();
        if (!number) return std::error_code(errno, std::generic_category());
        char digits[17];
        std::snprintf(digits, sizeof digits, "%016llX", static_cast<unsigned long long>(*number));
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
