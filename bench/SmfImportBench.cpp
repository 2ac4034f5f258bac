// Importing a large MIDI file into a new song through the manager: surveying its tracks for the
// import directives, then building the song from every track that holds notes.
#include "BenchSongs.h"

#include <benchmark/benchmark.h>

#include <korman/korman.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using kor::bench::cpuSeconds;
using kor::bench::kMidiSongTrackNotes;
using kor::bench::kMidiSongTracks;

std::uint32_t noteCount(const IZRKorRoot* root) {
    std::uint32_t notes = 0;
    for (const IZRMusicalPart* part : kor::bench::musicalParts(root))
        notes += part->getNoteList()->getCount();
    return notes;
}

/// Each iteration surveys the file (fileGetSMFImportDirective) and imports every track the survey
/// switched on into the import buffer (fileImportSMF); the counters give the CPU time of each step
/// on its own. Emptying the buffer between iterations is not timed.
void BM_SmfImport(benchmark::State& state) {
    const auto manager = kor::bench::initializedManager(state);
    if (manager == nullptr) return;
    const std::wstring path = kor::bench::midiSongFile().wstring();
    double surveySeconds = 0;
    double importSeconds = 0;
    for (auto _ : state) {
        std::vector<ZRSMFTrackImportDirective> directives;
        double start = cpuSeconds();
        const int surveyed = manager->fileGetSMFImportDirective(path.c_str(), 0, directives);
        surveySeconds += cpuSeconds() - start;
        start = cpuSeconds();
        const IZRKorRoot* root =
            surveyed != 0 ? manager->fileImportSMF(path.c_str(), 1, 0, directives) : nullptr;
        importSeconds += cpuSeconds() - start;
        state.PauseTiming();
        const bool whole =
            root != nullptr && noteCount(root) == kMidiSongTracks * kMidiSongTrackNotes;
        manager->korEmptyImportBuffer();
        state.ResumeTiming();
        if (!whole) {
            state.SkipWithError("the import failed or lost notes");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kMidiSongTracks * kMidiSongTrackNotes);
    const auto perIteration = [&](double seconds) {
        return benchmark::Counter(seconds * 1e3, benchmark::Counter::kAvgIterations);
    };
    state.counters["survey_ms"] = perIteration(surveySeconds);
    state.counters["import_ms"] = perIteration(importSeconds);
}
BENCHMARK(BM_SmfImport)->Unit(benchmark::kMillisecond);

} // namespace
