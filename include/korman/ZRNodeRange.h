// Walking the elements of a node list as objects of their read interface, without casts.
#pragma once

#include <korman/IZRMusicalPart.h>
#include <korman/IZRNodeList.h>
#include <korman/IZRSequence.h>
#include <korman/IZRZRTrack.h>

#include <cstdint>

namespace kor {

/// The elements of a node list that are a `T` (a read interface such as IZRMusicalNote), in list
/// order, for a range-for loop:
///     for (IZRMusicalNote* note : kor::elements<IZRMusicalNote>(part->getNoteList())) ...
/// A null list is an empty range, so a walk down the song needs no null checks; elements of
/// another class are passed over. The range borrows the list and yields borrowed pointers. It
/// reads the list's count at every step: the list must not change while it is walked (no commit,
/// undo or redo in the loop body).
template <class T> class NodeRange {
public:
    /// Where a walk ends.
    struct Sentinel {};

    /// A position in the walk: the element at `index` of `list`, always a `T` or past the end.
    class Iterator {
    public:
        /// The first `T` at or after `index` of `list`.
        Iterator(const IZRNodeList* list, std::uint32_t index)
            : list_(list)
            , index_(index) {
            skipOthers();
        }
        /// The element here (borrowed).
        T* operator*() const { return list_->at<T>(index_); }
        /// Moves to the next `T` of the list.
        Iterator& operator++() {
            ++index_;
            skipOthers();
            return *this;
        }
        /// True once every element has been passed.
        bool operator==(Sentinel) const { return list_ == nullptr || index_ >= list_->getCount(); }

    private:
        /// Moves on to the first `T` at or after index_.
        void skipOthers() {
            while (list_ != nullptr && index_ < list_->getCount() &&
                   list_->at<T>(index_) == nullptr)
                ++index_;
        }
        /// The list walked (borrowed; null walks nothing).
        const IZRNodeList* list_;
        /// The position in the list.
        std::uint32_t index_;
    };

    /// The range over `list` (borrowed; may be null).
    explicit NodeRange(const IZRNodeList* list)
        : list_(list) {}
    /// The first `T` of the list.
    Iterator begin() const { return Iterator(list_, 0); }
    /// The end of the walk.
    Sentinel end() const { return {}; }

private:
    /// The list walked (borrowed; null for an empty range).
    const IZRNodeList* list_;
};

/// The elements of `list` that are a `T`, in order; empty for a null list (see NodeRange).
template <class T> NodeRange<T> elements(const IZRNodeList* list) {
    return NodeRange<T>(list);
}

/// Calls `visit(track, part, note)` for every note of every musical part of every singing track of
/// `song`, in list order (tracks, then parts by position, then notes by position); prosody and
/// WAV parts have no notes and are passed over. `visit` returns true to go on and false to stop
/// the walk. Returns false when `visit` stopped it, true when every note was visited (also for a
/// null song). The references are borrowed; the song must not change during the walk.
template <class Visit> bool forEachNote(const IZRSequence* song, Visit&& visit) {
    for (IZRZRTrack* track :
         elements<IZRZRTrack>(song != nullptr ? song->getZRTrackList() : nullptr))
        for (IZRMusicalPart* part : elements<IZRMusicalPart>(track->getPartList()))
            for (IZRMusicalNote* note : elements<IZRMusicalNote>(part->getNoteList()))
                if (!visit(*track, *part, *note)) return false;
    return true;
}

} // namespace kor
