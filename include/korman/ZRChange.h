// What a commit, an undo or a redo changed, as the manager reports it to change observers.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Change flag bits: what an edit did to an object and what that touches. The editor files
// them per edited object; editIsEdited and editGetEditedTempoPosition read them, and every
// ZRChange carries them.

/// The object's values changed.
inline constexpr std::uint32_t ZR_CHANGE_MODIFIED = 0x01u;
/// The object was added to the song.
inline constexpr std::uint32_t ZR_CHANGE_INSERTED = 0x02u;
/// The object was removed from the song.
inline constexpr std::uint32_t ZR_CHANGE_DELETED = 0x04u;
/// The change moves the tempo map (a tempo was set, moved, added or removed): times in seconds
/// computed before it are stale.
inline constexpr std::uint32_t ZR_CHANGE_TEMPO = 0x08u;
/// The change touches what is sung or played (notes, parts, singers, controls, tempos).
inline constexpr std::uint32_t ZR_CHANGE_MUSICAL = 0x10u;

/// What became of one object in a reported step, as seen from the song after that step.
enum class ZRChangeKind : std::int32_t {
    /// The object is in the song now and was not before: its ID can be looked up.
    Inserted = 0,
    /// The object is in the song before and after; its values (or its list's elements) changed.
    Updated = 1,
    /// The object was in the song and is not any more; an object reported deleted takes
    /// everything below it along, which is not listed on its own.
    Deleted = 2,
};

/// One object a step changed.
struct ZRChange {
    /// The object's ID (korGetKorObject finds it after the step unless `kind` is Deleted).
    std::uint32_t objID = 0xFFFFFFFFu;
    /// Inserted, updated or deleted, as seen after the step: an undo reports an object its commit
    /// inserted as Deleted and one it deleted as Inserted.
    ZRChangeKind kind = ZRChangeKind::Updated;
    /// Every ZR_CHANGE_* bit the edits of the commit filed for the object, OR-ed together, as
    /// filed by the commit (an undo keeps the commit's ZR_CHANGE_INSERTED or ZR_CHANGE_DELETED;
    /// `kind` says what the step did).
    std::uint32_t flags = 0;
};

/// What made the song change.
enum class ZRChangeCause : std::int32_t {
    Commit = 0,       ///< an editor's commit
    Undo = 1,         ///< editUndo
    Redo = 2,         ///< editRedo
    VVoiceUpdate = 3, ///< vvoiceNotifyObserversOfUpdates (VVoices changed outside the editor)
};

/// One step as a change observer receives it. Every reference and pointer in it is valid only
/// during the call.
struct ZRChangeReport {
    /// What made the change.
    ZRChangeCause cause;
    /// The objects changed, one entry per object, in the order the step changed them. For a
    /// VVoice update, the VVoices and VVoice lists the host changed, each Updated with
    /// ZR_CHANGE_MODIFIED. Empty for an undo or redo with nothing to do.
    const std::vector<ZRChange>& changes;
    /// The label the commit was given (IZRKorEditorIF::commit(label)); for an undo or redo, the
    /// label of the commit undone or redone. "" when it has none, never null.
    const wchar_t* label;
    /// The commit point the song is at after the step (editGetCurrentCommitPoint).
    std::uint32_t commitPoint;
    /// The owner value of the editor handed out at the time (editGetKorEditor), 0 when none is.
    std::uint32_t owner;
};

/// A change observer: called once per commit, undo, redo and VVoice update notification, after
/// the song is consistent, on the thread that made the change, beside the ZR_WM_UPDATE message
/// of the observer windows. It must not throw; it may read the song but must not change it or
/// call the manager's edit, file or kor families while it runs.
using ZRChangeObserver = std::function<void(const ZRChangeReport& report)>;
