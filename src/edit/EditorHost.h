// What the editor needs of the manager that owns it, and the manager's undo and redo steps.
#pragma once

#include "model/Builders.h"
#include "model/VibratoShape.h"

#include <korman/ZRChange.h>
#include <korman/ZRVVoice.h>

#include <cstdint>
#include <vector>

class CZRCommitHistory;
class CZRKorDocument;

/// Implemented by the manager for the editor it hands out: telling the observer windows what
/// changed, the memory headroom rule, and the message table. The manager outlives its editor.
class IZREditorHost {
public:
    /// Sends the update message to every observer window, with the current editor owner as
    /// wParam and a copy of `ids` (the changed objects, in exchange order) as lParam, and the
    /// report of the step `cause` names to every change observer. Runs after the change is made
    /// and cannot undo it, so it fails nothing: a window whose copy cannot be made misses that
    /// one message, and without memory for the report the change observers miss it.
    virtual void notifyObservers(const std::vector<std::uint32_t>& ids,
                                 ZRChangeCause cause) noexcept = 0;
    /// Whether `bytes` more can be allocated with room to spare; when not, the commit history
    /// gives back the memory of its oldest undoable commit and the caller still fails.
    virtual bool hasMemoryHeadroom(std::uint64_t bytes) = 0;
    /// Whether `bytes` more can be allocated with room to spare, giving nothing back when not.
    virtual bool hasRoomFor(std::uint64_t bytes) const = 0;
    /// The English message of `code`, "" for an unknown code (static text).
    virtual const wchar_t* errorMessage(std::uint32_t code) const = 0;
    /// The shape of the vibrato kind `type` the voice database offers (borrowed; valid until the
    /// manager hands out its next editor), or null when it offers no such kind.
    virtual const kor::VibratoShape* vibratoKind(std::int32_t type) const = 0;
    /// The song in the import buffer (borrowed), which import operations copy from; null when
    /// the buffer is empty.
    virtual const CZRKorDocument* importedDocument() const = 0;
    /// The process-wide VVoice table of the voice database, which new musical parts take their
    /// first singer from (borrowed; valid until the manager hands out its next editor).
    virtual const kor::VVoiceTable& vvoiceTable() const = 0;
    /// The process-wide default VVoice, bank select and program change -1 when the voice database
    /// names none (borrowed; valid until the manager hands out its next editor).
    virtual const ZRVVoiceLib& defaultVVoice() const = 0;

protected:
    IZREditorHost() = default;
    IZREditorHost(const IZREditorHost&) = default;
    IZREditorHost& operator=(const IZREditorHost&) = default;
    ~IZREditorHost() = default;
};

namespace kor {

/// Undoes one commit of `history` and tells the host's observers which objects were exchanged
/// (an empty list when there was nothing to undo). ZR_E_NOT_ENOUGH_MEMORY, with nothing changed
/// and nobody told, when the history refuses for lack of memory; else 0.
[[nodiscard]] std::uint32_t undoAndNotify(CZRCommitHistory& history, IZREditorHost& host);
/// Redoes one commit, as undoAndNotify.
[[nodiscard]] std::uint32_t redoAndNotify(CZRCommitHistory& history, IZREditorHost& host);

} // namespace kor
