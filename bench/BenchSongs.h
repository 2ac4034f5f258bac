// Inputs and clocks shared by the benchmarks of song files.
#pragma once

#include "builders/GeneratedSong.h"

#include <korman/korman.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kor::bench {

/// A file `name` in this run's own scratch folder (removed at exit), so that runs side by side
/// never share files.
std::filesystem::path scratchFile(const std::string& name);

/// A KOR3 song of one track and one musical part holding `notes` notes, laid out as the writer
/// lays it out; written once per run into the scratch folder.
const std::filesystem::path& songFile(std::int64_t notes);

/// A KOR3 song of one track holding one musical part per entry of `partNotes`, with that many
/// notes each carrying `detail`; written once per run into the scratch folder.
const std::filesystem::path& songFile(const std::vector<std::int64_t>& partNotes,
                                      kor::test::NoteDetail detail);

/// The MIDI song of the import and export benchmarks: a conductor track and kMidiSongTracks
/// singing tracks of kMidiSongTrackNotes notes each (200k in all). Every note has a lyric; every
/// fourth one is led by an expression change and a pitch bend, so an import also builds DYN and
/// PIT curves. Written once per run into the scratch folder.
inline constexpr int kMidiSongTracks = 16;
inline constexpr int kMidiSongTrackNotes = 12500;
const std::filesystem::path& midiSongFile();

/// A manager initialized as a host initializes it, with the library's folders inside the scratch
/// folder, the schemas of the source tree, the voice database built beside this program and
/// `undoLimit` as its policy's undo limit. Null, with the benchmark `state` skipped for the
/// reason, when initialization fails.
std::unique_ptr<CZRKorManagerIF> initializedManager(benchmark::State& state, int undoLimit = -1);

/// The musical parts (borrowed) of every singing track of the song under `root`, track by track.
std::vector<IZRMusicalPart*> musicalParts(const IZRKorRoot* root);

/// CPU seconds of the calling thread: other work on the machine does not count.
double cpuSeconds();

/// Runs `step` and adds the CPU seconds it took to `seconds`; what `step` returned.
template <class Step> auto timed(double& seconds, Step step) {
    const double start = cpuSeconds();
    auto result = step();
    seconds += cpuSeconds() - start;
    return result;
}

/// `seconds` summed over a benchmark's iterations, as a counter of milliseconds per iteration.
inline benchmark::Counter msPerIteration(double seconds) {
    return benchmark::Counter(seconds * 1e3, benchmark::Counter::kAvgIterations);
}

} // namespace kor::bench
