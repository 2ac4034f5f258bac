// A fresh folder under /tmp for one test, removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kor::test {

/// The bytes of the file at `path`; empty when it cannot be read.
inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TempDir {
public:
    TempDir() {
        char name[] = "/tmp/korman-test-XXXXXX";
        path_ = ::mkdtemp(name) ? name : "/nonexistent";
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    /// The wide path of an ASCII name inside the folder, or of the folder itself.
    std::wstring wide(const std::string& name = {}) const {
        const std::string full = name.empty() ? path_ : path_ + "/" + name;
        return std::wstring(full.begin(), full.end());
    }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ + "/" + name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const { return readFile(path_ + "/" + name); }

private:
    std::string path_;
};

} // namespace kor::test
