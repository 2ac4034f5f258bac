#include "BenchSongs.h"

#include "support/GeneratedSong.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <string>

namespace kor::bench {

namespace {

// The run's scratch folder: made on first use, removed with everything in it at exit.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string name =
            (std::filesystem::temp_directory_path() / "korman-bench-XXXXXX").string();
        if (::mkdtemp(name.data()) != nullptr) path_ = name;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace

std::filesystem::path scratchFile(const std::string& name) {
    static const ScratchFolder folder;
    return folder.path() / name;
}

const std::filesystem::path& songFile(std::int64_t notes) {
    static std::map<std::int64_t, std::filesystem::path> files;
    auto& path = files[notes];
    if (path.empty()) {
        path = scratchFile("song-" + std::to_string(notes) + ".korx");
        std::ofstream out(path, std::ios::binary);
        kor::test::writeKor3Song(out, notes);
    }
    return path;
}

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

} // namespace kor::bench
