#include "platform/FileCalls.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kor::platform {

namespace {

int systemOpen(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

} // namespace

FileCalls& fileCalls() {
    static FileCalls calls{systemOpen, ::pread, ::write, ::fsync, ::rename, ::link};
    return calls;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = fileCalls().write(fd, bytes.data(), bytes.size());
        if (written > 0)
            bytes.remove_prefix(static_cast<std::size_t>(written));
        else if (written == 0 || errno != EINTR) // nothing taken would repeat for ever
            return false;
    }
    return true;
}

bool appendFile(int fd, const std::filesystem::path& source) {
    // Opening without blocking keeps a pipe standing in the file's place from stopping the save.
    const Descriptor from{fileCalls().open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0)};
    return from.fd >= 0 && appendFrom(fd, from.fd);
}

bool appendFrom(int fd, int source) {
    // Only a regular file has an end to copy up to.
    struct stat status {};
    if (::fstat(source, &status) != 0) return false;
    if (!S_ISREG(status.st_mode)) {
        errno = EINVAL;
        return false;
    }
    char buffer[64 * 1024];
    for (off_t offset = 0;;) {
        const ssize_t got = fileCalls().pread(source, buffer, sizeof buffer, offset);
        if (got == 0) return true;
        if (got < 0 && errno != EINTR) return false;
        if (got <= 0) continue;
        if (!writeAll(fd, std::string_view(buffer, static_cast<std::size_t>(got)))) return false;
        offset += got;
    }
}

bool syncFolder(const std::filesystem::path& folder) {
    const Descriptor handle{fileCalls().open(folder.empty() ? "." : folder.c_str(),
                                             O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0)};
    return handle.fd >= 0 && fileCalls().fsync(handle.fd) == 0;
}

} // namespace kor::platform
