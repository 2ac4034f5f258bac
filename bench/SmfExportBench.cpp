// Writing a large song as a MIDI file: building the file's bytes from the song, and the whole
// export through the manager with the file written and put in place.
#include "BenchSongs.h"
#include "interchange/SmfExport.h"
#include "model/KorRoot.h"

#include <benchmark/benchmark.h>

#include <korman/korman.h>

#include <string>

namespace {

// The 200k-note song of the import benchmark, loaded once; null (the state skipped) on failure.
const CZRSequence* loadedSong(CZRKorManagerIF& manager, benchmark::State& state) {
    const std::wstring path = kor::bench::midiSongFile().wstring();
    std::vector<ZRSMFTrackImportDirective> directives;
    const auto* root =
        manager.fileGetSMFImportDirective(path.c_str(), 0, directives) != 0
            ? dynamic_cast<CZRKorRoot*>(manager.fileLoadSMF(path.c_str(), 1, 0, directives))
            : nullptr;
    if (root == nullptr) state.SkipWithError("the song could not be imported");
    return root != nullptr ? root->sequence() : nullptr;
}

/// The bytes of the file built in memory; bytes per second are those of the file.
void BM_SmfExportBytes(benchmark::State& state) {
    const auto manager = kor::bench::initializedManager(state);
    const CZRSequence* song = manager != nullptr ? loadedSong(*manager, state) : nullptr;
    if (song == nullptr) return;
    std::string bytes;
    std::wstring reason;
    for (auto _ : state) {
        if (kor::buildSmf(*song, {}, bytes, reason) != 0) {
            state.SkipWithError("the export failed");
            break;
        }
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_SmfExportBytes)->Unit(benchmark::kMillisecond);

/// fileExportSMF: the bytes, then the file written beside its target, flushed and renamed.
void BM_SmfExportFile(benchmark::State& state) {
    const auto manager = kor::bench::initializedManager(state);
    const CZRSequence* song = manager != nullptr ? loadedSong(*manager, state) : nullptr;
    if (song == nullptr) return;
    const std::wstring path = kor::bench::scratchFile("export.mid").wstring();
    for (auto _ : state)
        if (manager->fileExportSMF(path.c_str(), {}) == 0) {
            state.SkipWithError("the export failed");
            break;
        }
    std::error_code ignored;
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path, ignored)));
}
BENCHMARK(BM_SmfExportFile)->Unit(benchmark::kMillisecond);

} // namespace
