#include "BenchSongs.h"

#include "support/GeneratedSong.h"

#include <ctime>
#include <fstream>
#include <map>
#include <string>

namespace kor::bench {

const std::filesystem::path& songFile(std::int64_t notes) {
    static std::map<std::int64_t, std::filesystem::path> files;
    auto& path = files[notes];
    if (path.empty()) {
        path = std::filesystem::temp_directory_path() /
               ("korman-bench-" + std::to_string(notes) + ".korx");
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
