// Many edits through one editor, committed at once: every note of a part transposed, then the
// commit undone and redone, in parts of growing size; and what a long run of one-note commits
// costs the history.
#include "BenchSongs.h"

#include <benchmark/benchmark.h>

#include <korman/korman.h>

#include <malloc.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

using kor::bench::cpuSeconds;

// Bytes allocated and not freed, from the heap or mapped as blocks of their own.
double allocatedBytes() {
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// The values of every note of `part` as updateNote takes them.
std::vector<ZRNoteValue> noteValues(const IZRMusicalPart& part) {
    std::vector<ZRNoteValue> values;
    const IZRNodeList* notes = part.getNoteList();
    for (std::uint32_t i = 0; i < notes->getCount(); ++i) {
        const auto* note = dynamic_cast<const IZRMusicalNote*>(notes->getAt(i));
        ZRNoteValue value;
        value.durTick = note->getDurTick();
        value.noteNum = note->getNoteNum();
        value.velocity = note->getVelocity();
        value.lyric = note->getLyric();
        for (std::uint32_t p = 0; p < note->getPhonemeCount(); ++p)
            value.phonemes.push_back(note->getPhoneme(p));
        value.phLock = note->getPhLock();
        values.push_back(value);
    }
    return values;
}

/// Argument: the notes of the one part of the song. Each iteration takes an editor and updates
/// every note of the part through it, a semitone up or back down by turns (edit_ms), commits and
/// gives the editor back (commit_ms), then undoes (undo_ms) and redoes (redo_ms) that commit, each
/// timed alone in CPU time; per_note_us is edit and commit per note. The history keeps every
/// commit; history_per_note is the growth of the allocated bytes from before the edits to after
/// the commit, per note, which the commit's records hold.
void BM_SelectAllTranspose(benchmark::State& state) {
    const auto manager = kor::bench::initializedManager(state);
    if (manager == nullptr) return;
    const std::int64_t notes = state.range(0);
    const auto& file = kor::bench::songFile({notes}, kor::test::NoteDetail::Full);
    const auto parts = kor::bench::musicalParts(manager->fileLoadKorFile(file.wstring().c_str()));
    if (parts.size() != 1) {
        state.SkipWithError("the song did not load");
        return;
    }
    std::vector<std::uint32_t> noteIDs;
    for (std::uint32_t i = 0; i < parts.front()->getNoteList()->getCount(); ++i)
        noteIDs.push_back(parts.front()->getNoteList()->getAt(i)->getObjID());
    std::vector<ZRNoteValue> values = noteValues(*parts.front());

    double editSeconds = 0;
    double commitSeconds = 0;
    double undoSeconds = 0;
    double redoSeconds = 0;
    double historyBytes = 0;
    std::int32_t step = 1;
    for (auto _ : state) {
        for (ZRNoteValue& value : values)
            value.noteNum += step;
        step = -step;
        const double heapBefore = allocatedBytes();
        double start = cpuSeconds();
        IZRKorEditorIF* editor = manager->editGetKorEditor(1);
        bool edited = editor != nullptr;
        for (std::size_t i = 0; edited && i < noteIDs.size(); ++i)
            edited = editor->updateNote(noteIDs[i], values[i]) != 0;
        editSeconds += cpuSeconds() - start;
        start = cpuSeconds();
        edited = edited && editor->commit() != 0;
        manager->editReleaseKorEditor(editor);
        commitSeconds += cpuSeconds() - start;
        historyBytes += allocatedBytes() - heapBefore;
        const int undone = kor::bench::timed(undoSeconds, [&] { return manager->editUndo(); });
        const int redone = kor::bench::timed(redoSeconds, [&] { return manager->editRedo(); });
        if (!edited || undone == 0 || redone == 0) {
            state.SkipWithError("the edits, their commit, undo or redo failed");
            break;
        }
    }
    state.counters["edit_ms"] = kor::bench::msPerIteration(editSeconds);
    state.counters["commit_ms"] = kor::bench::msPerIteration(commitSeconds);
    state.counters["undo_ms"] = kor::bench::msPerIteration(undoSeconds);
    state.counters["redo_ms"] = kor::bench::msPerIteration(redoSeconds);
    state.counters["per_note_us"] =
        benchmark::Counter((editSeconds + commitSeconds) * 1e6 / static_cast<double>(notes),
                           benchmark::Counter::kAvgIterations);
    state.counters["history_per_note"] = benchmark::Counter(
        historyBytes / static_cast<double>(notes), benchmark::Counter::kAvgIterations);
}
// Few iterations for the large parts: each commit stays in the history.
BENCHMARK(BM_SelectAllTranspose)->Arg(1000)->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectAllTranspose)->Arg(10000)->Iterations(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectAllTranspose)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

// Resident size of the process (VmRSS), in bytes; 0 when it cannot be read.
double residentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) * 1024;
    return 0;
}

/// Arguments: the number of commits, the manager's undo limit (-1: none). In a song of one part
/// of 1 000 notes, each commit takes an editor, updates the middle note (two values by turns),
/// commits and gives the editor back. Counters: first_us and last_us, the CPU time per commit of
/// the first and the last tenth of the commits, and their ratio; history_per_commit, the growth
/// of the allocated bytes per commit over all of them; rss_per_commit, the growth of the resident
/// size per commit over the second half, when an undo limit is long reached.
void BM_CommitHistoryGrowth(benchmark::State& state) {
    const std::int64_t commits = state.range(0);
    const auto manager = kor::bench::initializedManager(state, static_cast<int>(state.range(1)));
    if (manager == nullptr) return;
    const auto& file = kor::bench::songFile({1000}, kor::test::NoteDetail::Full);
    const auto parts = kor::bench::musicalParts(manager->fileLoadKorFile(file.wstring().c_str()));
    if (parts.size() != 1) {
        state.SkipWithError("the song did not load");
        return;
    }
    const std::uint32_t noteID = parts.front()->getNoteList()->getAt(500)->getObjID();
    ZRNoteValue values[2] = {noteValues(*parts.front())[500], noteValues(*parts.front())[500]};
    values[1].noteNum += 1;

    const std::int64_t tenth = commits / 10;
    double first = 0;
    double last = 0;
    double heap = 0;
    double resident = 0;
    for (auto _ : state) {
        const double heapBefore = allocatedBytes();
        double residentHalf = 0;
        double start = cpuSeconds();
        for (std::int64_t c = 0; c < commits; ++c) {
            if (c == tenth) first = cpuSeconds() - start;
            if (c == commits - tenth) start = cpuSeconds();
            if (c == commits / 2) residentHalf = residentBytes();
            IZRKorEditorIF* editor = manager->editGetKorEditor(1);
            const bool committed = editor != nullptr &&
                                   editor->updateNote(noteID, values[c % 2]) != 0 &&
                                   editor->commit() != 0;
            manager->editReleaseKorEditor(editor);
            if (!committed) {
                state.SkipWithError("an edit or its commit failed");
                return;
            }
        }
        last = cpuSeconds() - start;
        heap = allocatedBytes() - heapBefore;
        resident = residentBytes() - residentHalf;
    }
    const auto perCommit = [&](double seconds) {
        return seconds * 1e6 / static_cast<double>(tenth);
    };
    state.counters["first_us"] = perCommit(first);
    state.counters["last_us"] = perCommit(last);
    state.counters["last_to_first"] = last / first;
    state.counters["history_per_commit"] = heap / static_cast<double>(commits);
    state.counters["rss_per_commit"] = resident / static_cast<double>(commits - commits / 2);
}
BENCHMARK(BM_CommitHistoryGrowth)
    ->Args({100000, 100})
    ->Args({20000, -1})
    ->ArgNames({"commits", "limit"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
