// One note changed through the editor and committed, then undone and redone, in musical parts of
// growing size and next to a large part the edit does not touch.
#include "BenchSongs.h"

#include <benchmark/benchmark.h>

#include <korman/korman.h>

#include <cstdint>
#include <string>

namespace {

using kor::bench::cpuSeconds;

enum class NoteEdit {
    Update, ///< new pitch and length in place: the editor copies the note alone
    Move,   ///< new position: the editor records the moved note and its two places in the list
};

// The edit of the middle note of the part, alternating between two values from one iteration to
// the next so that every commit changes something. Notes stand every 480 ticks, 480 long.
bool editNote(IZRKorEditorIF& editor, NoteEdit kind, std::uint32_t noteID, std::int32_t noteTick,
              bool flip) {
    ZRNoteValue value;
    value.posTick = noteTick + (kind == NoteEdit::Move && flip ? 120 : 0);
    value.durTick = flip ? 240 : 360;
    value.noteNum = flip ? 61 : 62;
    value.velocity = 64;
    value.lyric = L"la";
    value.phonemes = {L"l", L"a"};
    return (kind == NoteEdit::Update ? editor.updateNote(noteID, value)
                                     : editor.moveNote(noteID, value)) != 0;
}

/// Arguments: the notes of the edited part, the notes of a second part of the same track. Each
/// iteration takes an editor, edits one note, commits and gives the editor back (edit_ms), undoes
/// (undo_ms) and redoes (redo_ms) that commit, each timed alone in CPU time; an untimed undo then
/// brings the song back, so the history stays one commit deep (the next commit drops the redone
/// one, which its time includes).
template <NoteEdit Kind> void BM_EditCommitUndoRedo(benchmark::State& state) {
    const auto manager = kor::bench::initializedManager(state);
    if (manager == nullptr) return;
    const std::int64_t partNotes = state.range(0);
    const std::int64_t otherNotes = state.range(1);
    const auto& file = kor::bench::songFile(otherNotes > 0 ? std::vector{partNotes, otherNotes}
                                                           : std::vector{partNotes},
                                            kor::test::NoteDetail::Full);
    const IZRKorRoot* root = manager->fileLoadKorFile(file.wstring().c_str());
    const auto parts = kor::bench::musicalParts(root);
    if (parts.empty()) {
        state.SkipWithError("the song did not load");
        return;
    }
    const auto middle = static_cast<std::uint32_t>(partNotes / 2);
    const std::uint32_t noteID = parts.front()->getNoteList()->getAt(middle)->getObjID();

    double editSeconds = 0;
    double undoSeconds = 0;
    double redoSeconds = 0;
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        const double start = cpuSeconds();
        IZRKorEditorIF* editor = manager->editGetKorEditor(1);
        const bool edited =
            editor != nullptr &&
            editNote(*editor, Kind, noteID, static_cast<std::int32_t>(middle) * 480, flip) &&
            editor->commit() != 0;
        manager->editReleaseKorEditor(editor);
        editSeconds += cpuSeconds() - start;
        const int undone = kor::bench::timed(undoSeconds, [&] { return manager->editUndo(); });
        const int redone = kor::bench::timed(redoSeconds, [&] { return manager->editRedo(); });
        state.PauseTiming();
        const bool back = manager->editUndo() != 0;
        state.ResumeTiming();
        if (!edited || undone == 0 || redone == 0 || !back) {
            state.SkipWithError("the edit, its undo or its redo failed");
            break;
        }
    }
    state.counters["edit_ms"] = kor::bench::msPerIteration(editSeconds);
    state.counters["undo_ms"] = kor::bench::msPerIteration(undoSeconds);
    state.counters["redo_ms"] = kor::bench::msPerIteration(redoSeconds);
}

void sizes(benchmark::internal::Benchmark* bench) {
    bench->Args({1000, 0})->Args({10000, 0})->Args({100000, 0})->Args({10000, 100000});
    bench->ArgNames({"part", "other"})->Unit(benchmark::kMillisecond);
}

BENCHMARK_TEMPLATE(BM_EditCommitUndoRedo, NoteEdit::Update)->Apply(sizes);
BENCHMARK_TEMPLATE(BM_EditCommitUndoRedo, NoteEdit::Move)->Apply(sizes);

} // namespace
