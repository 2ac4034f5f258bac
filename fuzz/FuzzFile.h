// Hands a fuzzer's bytes to readers that open files by path: one anonymous in-memory file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

namespace kor::fuzz {

/// An in-memory file that lives as long as the fuzzer process; each input replaces its bytes.
/// Readers open it afresh through its /proc path, so every run starts at offset 0.
class FuzzFile {
public:
    FuzzFile()
        : fd_(::memfd_create("korman-fuzz", 0)) {
        if (fd_ < 0) std::abort();
        const std::string path = "/proc/self/fd/" + std::to_string(fd_);
        path_.assign(path.begin(), path.end());
    }
    ~FuzzFile() { ::close(fd_); }
    FuzzFile(const FuzzFile&) = delete;
    FuzzFile& operator=(const FuzzFile&) = delete;

    /// Replaces the file's content by `size` bytes at `data`.
    void write(const std::uint8_t* data, std::size_t size) {
        if (::ftruncate(fd_, 0) != 0) std::abort();
        std::size_t done = 0;
        while (done < size) {
            const ssize_t put = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            if (put <= 0) std::abort();
            done += static_cast<std::size_t>(put);
        }
    }

    const std::wstring& path() const { return path_; }

private:
    int fd_;
    std::wstring path_;
};

} // namespace kor::fuzz
