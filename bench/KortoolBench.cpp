// Reading a large song through kortool, whole process, against one load of it through the
// library: a song is read once, whatever the tool does before it loads.
#include "BenchSongs.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <spawn.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

using kor::bench::cpuSeconds;
using kor::bench::scratchFile;

/// The song of the MIDI benchmarks (16 singing tracks, 200k notes with lyrics, dynamics and pitch
/// curves), imported and saved as a KOR3 file once per run. Empty, with `state` skipped, when that
/// fails.
const std::filesystem::path& largeSongFile(benchmark::State& state) {
    static const std::filesystem::path path = [&]() -> std::filesystem::path {
        const std::unique_ptr<CZRKorManagerIF> manager = kor::bench::initializedManager(state);
        if (manager == nullptr) return {};
        const std::wstring midi = kor::bench::midiSongFile().wstring();
        std::vector<ZRSMFTrackImportDirective> directives;
        const std::filesystem::path song = scratchFile("song-16-tracks.korx");
        if (manager->fileGetSMFImportDirective(midi.c_str(), 0, directives) == 0 ||
            manager->fileLoadSMF(midi.c_str(), 1, 0, directives) == nullptr ||
            manager->fileSaveKorFile(song.wstring().c_str()) == 0)
            return {};
        return song;
    }();
    if (path.empty()) state.SkipWithError("the large song could not be written");
    return path;
}

double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

/// CPU seconds (user and system) of the children of this process that have ended.
double childCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

/// Wall and CPU seconds of one run of a program or of a step in this process.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

/// Runs kortool with `args`, its output thrown away; false when it fails.
bool runKortool(const std::vector<std::string>& args, Timing& timing) {
    std::vector<std::string> words{KORTOOL_PATH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const double wall = wallSeconds();
    const double cpu = childCpuSeconds();
    pid_t child = 0;
    int status = -1;
    const bool spawned =
        ::posix_spawn(&child, KORTOOL_PATH, &actions, nullptr, argv.data(), environ) == 0 &&
        ::waitpid(child, &status, 0) == child;
    timing = {wallSeconds() - wall, childCpuSeconds() - cpu};
    ::posix_spawn_file_actions_destroy(&actions);
    return spawned && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

/// Each iteration loads the large song once through a manager (fileLoadKorFile), then runs
/// `kortool info` and `kortool convert` (to a KOR3 file) of it. Counters: the seconds of each, wall
/// and CPU, and kortool's over the load's; the manual time is the load's wall time.
void BM_KortoolAgainstLoad(benchmark::State& state) {
    const std::filesystem::path& song = largeSongFile(state);
    if (song.empty()) return;
    const std::wstring path = song.wstring();
    const std::string out = scratchFile("converted.korx").string();
    Timing load;
    Timing info;
    Timing convert;
    for (auto _ : state) {
        const std::unique_ptr<CZRKorManagerIF> manager = kor::bench::initializedManager(state);
        if (manager == nullptr) return;
        const double wall = wallSeconds();
        const double cpu = cpuSeconds();
        IZRKorRoot* root = manager->fileLoadKorFile(path.c_str());
        load = {wallSeconds() - wall, cpuSeconds() - cpu};
        benchmark::DoNotOptimize(root);
        if (root == nullptr) {
            state.SkipWithError("the large song did not load");
            return;
        }
        state.SetIterationTime(load.wall);
        if (!runKortool({"info", song.string()}, info) ||
            !runKortool({"convert", song.string(), out}, convert)) {
            state.SkipWithError("kortool failed");
            return;
        }
    }
    state.counters["file_MB"] = double(std::filesystem::file_size(song)) / 1e6;
    state.counters["load_s"] = load.wall;
    state.counters["info_s"] = info.wall;
    state.counters["convert_s"] = convert.wall;
    state.counters["infoVsLoad"] = info.wall / load.wall;
    state.counters["convertVsLoad"] = convert.wall / load.wall;
    state.counters["infoVsLoadCpu"] = info.cpu / load.cpu;
    state.counters["convertVsLoadCpu"] = convert.cpu / load.cpu;
}
// Repeated, as one run of each is all an iteration holds and 2 shared cores scatter them widely.
BENCHMARK(BM_KortoolAgainstLoad)
    ->Unit(benchmark::kSecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3);

} // namespace
