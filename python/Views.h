// korman.Track, korman.Part and korman.Note: views of a song's objects, kept by object ID.
#pragma once

#include "Song.h"

#include <pybind11/pybind11.h>

#include <cstdint>
#include <memory>
#include <vector>

class IZRMusicalNote;
class IZRMusicalPart;
class IZRZRTrack;

namespace kor::python {

/// A view holds its song and the ID of one object of it, and looks the object up on every use:
/// it answers the object's values as they are now (after the last commit, undo or redo), and
/// raises korman.Error (the library's ZR_E_EDIT_TARGET_NOT_FOUND) once an edit has deleted it.
template <class T> struct View {
    std::shared_ptr<Song> song;
    std::uint32_t id = 0;

    /// The object (borrowed); the caller holds Song::Access.
    T& object() const { return song->object<T>(id); }
    /// Views of one object of one song are equal.
    bool operator==(const View& other) const { return song == other.song && id == other.id; }
};

/// A singing track of the song.
struct TrackView : View<IZRZRTrack> {};
/// A musical part of a track.
struct PartView : View<IZRMusicalPart> {};
/// A sung note of a part.
struct NoteView : View<IZRMusicalNote> {
    /// The tick of the note from the song's tick 0 (its part's start plus its position).
    std::int32_t tick() const;
    /// Its part's start tick.
    std::int32_t partTick() const;
};

/// The singing tracks of `song`, in list order.
std::vector<TrackView> tracksOf(const std::shared_ptr<Song>& song);
/// The musical parts of a track, by position; prosody parts have no notes and are left out.
std::vector<PartView> partsOf(const TrackView& track);
/// The notes of a part, by position.
std::vector<NoteView> notesOf(const PartView& part);

/// Adds Track, Part and Note to the module.
void bindViews(pybind11::module_& module);

} // namespace kor::python
