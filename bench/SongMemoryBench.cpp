// The memory a large song's object tree takes in a manager, per note.
#include "BenchSongs.h"

#include <benchmark/benchmark.h>

#include <korman/korman.h>

#include <malloc.h>

#include <cstdint>
#include <fstream>
#include <string>

namespace {

// A "VmRSS:"-style line of /proc/self/status, in bytes; 0 when it cannot be read.
// Bytes allocated and not freed, whether from the heap or mapped as blocks of their own.
std::int64_t allocatedBytes() {
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
}

std::int64_t statusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::stoll(line.substr(field.size())) * 1024;
    return 0;
}

// Lets the peak resident size (VmHWM) start again from the present one.
bool resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return clear.good();
}

/// Loads a song of `notes` notes (every note with its nine style values and its vibrato depth and
/// rate curves of three points each) into a manager that holds no song, and measures how much
/// more memory the process then holds:
///  - rss_per_note: growth of the resident size (VmRSS) from before the load to after it;
///  - peak_per_note: growth of the peak resident size (VmHWM, reset before the load), which adds
///    what the load held only for a while (the reader's state);
///  - heap_per_note: growth of the bytes allocated and not freed (mallinfo2: the heap's and the
///    blocks mapped on their own, as a document's large object blocks are), the tree alone.
/// Freed memory is handed back to the system first (malloc_trim) so that earlier benchmarks'
/// leftovers do not hide the growth, and a one-note song is loaded and dropped beforehand so that
/// the parser's one-time set-up (schema grammar) is not counted as the song's.
void BM_SongMemory(benchmark::State& state) {
    const auto manager = kor::bench::initializedManager(state);
    if (manager == nullptr) return;
    const std::int64_t notes = state.range(0);
    const auto& warmUp = kor::bench::songFile({1}, kor::test::NoteDetail::Vibrato);
    const auto& song = kor::bench::songFile({notes}, kor::test::NoteDetail::Vibrato);
    if (manager->fileLoadKorFile(warmUp.wstring().c_str()) == nullptr) {
        state.SkipWithError("the one-note song did not load");
        return;
    }
    manager->korDestroySequence();

    double rss = 0;
    double peak = 0;
    double heap = 0;
    for (auto _ : state) {
        ::malloc_trim(0);
        const bool peakKnown = resetPeak();
        const std::int64_t rssBefore = statusBytes("VmRSS:");
        const std::int64_t peakBefore = statusBytes("VmHWM:");
        const std::int64_t heapBefore = allocatedBytes();
        const IZRKorRoot* root = manager->fileLoadKorFile(song.wstring().c_str());
        rss = static_cast<double>(statusBytes("VmRSS:") - rssBefore);
        peak = peakKnown ? static_cast<double>(statusBytes("VmHWM:") - peakBefore) : 0;
        heap = static_cast<double>(allocatedBytes() - heapBefore);
        const auto parts = kor::bench::musicalParts(root);
        const bool whole = parts.size() == 1 && parts.front()->getNoteList()->getCount() ==
                                                    static_cast<std::uint32_t>(notes);
        state.PauseTiming();
        manager->korDestroySequence();
        state.ResumeTiming();
        if (!whole) {
            state.SkipWithError("the song did not load whole");
            break;
        }
    }
    const auto perNote = [&](double bytes) { return bytes / static_cast<double>(notes); };
    state.counters["rss_per_note"] = perNote(rss);
    state.counters["peak_per_note"] = perNote(peak);
    state.counters["heap_per_note"] = perNote(heap);
}
BENCHMARK(BM_SongMemory)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
