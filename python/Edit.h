// korman.Edit: a group of edits of one song committed as one labelled undo step.
#pragma once

#include "Song.h"
#include "Views.h"

#include <korman/ZREditValues.h>

#include <pybind11/pybind11.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class IZRKorEditorIF;

namespace kor::python {

/// The fields of a note an update changes; unset ones keep their value.
struct NoteChange {
    std::optional<std::int32_t> tick; ///< from the song's tick 0
    std::optional<std::int32_t> length;
    std::optional<std::int32_t> key;
    std::optional<std::int32_t> velocity;
    std::optional<std::wstring> lyric;
    std::optional<std::vector<std::wstring>> phonemes;
};

/// One editing session of a song, used as a context manager: entering takes the song's editor,
/// leaving commits what was recorded under the label, or discards it when the block raised. The
/// song changes only at that commit; until then views answer the song as it was.
class Edit {
public:
    Edit(std::shared_ptr<Song> song, std::wstring label);
    /// Gives the editor back when the block was never left (discarding its edits).
    ~Edit();
    Edit(const Edit&) = delete;
    Edit& operator=(const Edit&) = delete;

    /// Takes the song's editor; korman.Error when another edit of the song is open.
    void enter();
    /// Commits the edits under the label (`failed` false) or discards them, and gives the editor
    /// back. korman.Error when the commit fails; nothing of the edits then reaches the song.
    void exit(bool failed);

    /// Changes the fields of `change` in a note; a tick moves it within its part.
    void update(const NoteView& note, const NoteChange& change);
    /// Inserts a note into `part` at the song tick `tick`; the new note's view, usable once the
    /// edit is committed.
    NoteView insertNote(const PartView& part, std::int32_t tick, std::int32_t length,
                        std::int32_t key, std::int32_t velocity, const std::wstring& lyric,
                        const std::vector<std::wstring>& phonemes);
    /// Deletes a note.
    void remove(const NoteView& note);
    /// Deletes a musical part with its notes.
    void remove(const PartView& part);
    /// Sets the tempo from `tick` on (a tempo already there takes the new value).
    void setTempo(std::int32_t tick, double bpm);
    /// Sets the time signature from `measure` on (counted from 0, pre-measures included).
    void setTimeSignature(std::int32_t measure, std::int32_t numerator, std::int32_t denominator);

private:
    /// The editor, inside the with block; korman.Error outside it.
    IZRKorEditorIF& editor();
    /// Throws the editor's failure unless `result` is nonzero.
    void check(int result);
    /// Gives the editor back.
    void release();

    std::shared_ptr<Song> song_;
    std::wstring label_;
    IZRKorEditorIF* editor_ = nullptr;
    bool left_ = false;
    /// The values this edit gave each note it updated: the song's note still holds the old ones
    /// until the commit, so a second update of a note starts from these, keeping the first.
    std::map<std::uint32_t, ZRNoteValue> updated_;
};

/// Adds Edit to the module.
void bindEdit(pybind11::module_& module);

} // namespace kor::python
