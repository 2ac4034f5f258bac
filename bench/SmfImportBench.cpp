// Importing a large MIDI file into a new song through the manager: surveying its tracks for the
// import directives, then building the song from every track that holds notes.
#include "BenchSongs.h"
#include "builders/SmfBuilder.h"

#include <benchmark/benchmark.h>

#include <korman/korman.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

using kor::bench::cpuSeconds;

constexpr int kTracks = 16;
constexpr int kNotesPerTrack = 12500;

// A conductor track and 16 singing tracks of 12 500 notes each (200k in all). Every note has a
// lyric; every fourth one is led by an expression change and a pitch bend, so the import also
// builds DYN and PIT curves.
const std::filesystem::path& midiFile() {
    static const std::filesystem::path path = [] {
        kor::test::SmfBuilder smf;
        smf.addTrack().tempo(0, 500000).timeSignature(0, 4, 2);
        for (unsigned channel = 0; channel < kTracks; ++channel) {
            kor::test::SmfTrackWriter& track = smf.addTrack();
            track.meta(0, 0x03, "Voice " + std::to_string(channel + 1));
            for (std::uint32_t i = 0, tick = 0; i < kNotesPerTrack; ++i, tick += 240) {
                if (i % 4 == 0)
                    track.controller(tick, channel, 11, 64 + i % 64)
                        .message(tick, 0xE0 | channel, 0, 64 + i % 8);
                track.meta(tick, 0x05, "la")
                    .noteOn(tick, channel, 48 + i % 24, 100)
                    .noteOff(tick + 200, channel, 48 + i % 24);
            }
        }
        const std::filesystem::path file = kor::bench::scratchFile("import.mid");
        std::ofstream(file, std::ios::binary) << smf.bytes();
        return file;
    }();
    return path;
}

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
    const std::wstring path = midiFile().wstring();
    double surveySeconds = 0;
    double importSeconds = 0;
    for (auto _ : state) {
        std::vector<ZRSMFTrackImportDirective> directives;
        double start = cpuSeconds();
        const int surveyed = manager->fileGetSMFImportDirective(path.c_str(), 0, directives);
        surveySeconds += cpuSeconds() - start;
        start = cpuSeconds();
        const IZRKorRoot* root = surveyed != 0
                                     ? manager->fileImportSMF(path.c_str(), 1, 0, directives)
                                     : nullptr;
        importSeconds += cpuSeconds() - start;
        state.PauseTiming();
        const bool whole = root != nullptr && noteCount(root) == kTracks * kNotesPerTrack;
        manager->korEmptyImportBuffer();
        state.ResumeTiming();
        if (!whole) {
            state.SkipWithError("the import failed or lost notes");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kTracks * kNotesPerTrack);
    const auto perIteration = [&](double seconds) {
        return benchmark::Counter(seconds * 1e3, benchmark::Counter::kAvgIterations);
    };
    state.counters["survey_ms"] = perIteration(surveySeconds);
    state.counters["import_ms"] = perIteration(importSeconds);
}
BENCHMARK(BM_SmfImport)->Unit(benchmark::kMillisecond);

} // namespace
