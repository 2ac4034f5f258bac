// The pending records of an editor, found by the objects they cover, and what edits need.
#pragma once

#include "edit/EditCommand.h"
#include "edit/EditorHost.h"
#include "edit/IdIndex.h"
#include "edit/OperationDetail.h"
#include "model/ObjectBase.h"
#include "model/ObjectTree.h"

#include <korman/ErrorCodes.h>
#include <korman/ZRKorManagementPolicy.h>

#include <cstdint>
#include <memory>
#include <vector>

class CZRCommitHistory;
class CZRKorDocument;

namespace kor {

/// The records an editor gathers between taking a song and committing it, in the order they were
/// first made, and everything the edit operations work with: the document, the manager's policy,
/// the host and the detail of the running operation. Owned by the editor, which drops it with its
/// records when the document goes; the document, the history, the host and the detail outlive it.
///
/// Every edit asks which pending record it goes through. The answer is the one a scan of the
/// pending records in filing order gives, but found through two indexes: the records by the object
/// they cover, and every object on the path of a covered live object by the first record below it.
/// So an edit costs the depth of its target, however many records are pending. The path index
/// follows the live tree; the tree changes shape under a held editor only when the history
/// exchanges records (undo and redo), and the index is rebuilt after such an exchange. (The
/// manager's own changes outside the history add and remove VVoices, aux records and plug-ins,
/// which no record covers and whose removal moves nothing else.)
class EditSession {
public:
    EditSession(IZREditorHost& host, const ZRKorManagementPolicy& policy, CZRKorDocument& document,
                CZRCommitHistory& history, OperationDetail& detail);
    EditSession(const EditSession&) = delete;
    EditSession& operator=(const EditSession&) = delete;
    ~EditSession() = default;

    CZRKorDocument& document() const { return document_; }
    const ZRKorManagementPolicy& policy() const { return policy_; }
    IZREditorHost& host() const { return host_; }
    const std::vector<std::unique_ptr<AZREditCommand>>& pending() const { return pending_; }

    /// What an edit does through a record: anything (the record holds a whole copy), or only
    /// move elements of the target list (a new record holds the moved elements alone).
    enum class RecordUse { kAnyEdit, kMoveElements };

    /// The record through which an edit of the live object `target` goes: a pending record of
    /// class `Record` for it, or a pending list record above it, or a new `Record` that has
    /// captured its copy (for kMoveElements, readied to hold moves alone). A record holding moves
    /// alone is widened to a whole copy before any other use. Null with `error` set when the
    /// target is null (ZR_E_EDIT_TARGET_NOT_FOUND), when a pending record covers it or something
    /// below it in a way `Record` cannot share (ZR_E_EDIT_CONFLICT, explained with both records
    /// named), or when memory is short or the capture fails (ZR_E_NOT_ENOUGH_MEMORY).
    template <class Record>
    AZREditCommand* recordFor(const IZRKorObject* target, std::uint32_t& error,
                              RecordUse use = RecordUse::kAnyEdit) {
        if (target == nullptr) {
            error = ZR_E_EDIT_TARGET_NOT_FOUND;
            return nullptr;
        }
        return obtainRecord(
            *target, Record::kRecordKind, use,
            [](const AZREditCommand& record) {
                return dynamic_cast<const Record*>(&record) != nullptr;
            },
            [](std::uint32_t objID, CZRKorDocument* document) -> std::unique_ptr<AZREditCommand> {
                return std::make_unique<Record>(objID, document);
            },
            error);
    }

    /// The pending records that bear on an edit of the live object `target`, each the first in
    /// filing order of its kind; null where there is none.
    struct Cover {
        AZREditCommand* same = nullptr;  ///< a record of the target itself
        AZREditCommand* below = nullptr; ///< a record of the target or of a live object below it
        AZREditCommand* above = nullptr; ///< a record of the target or of an object above it
    };
    /// The pending records that bear on an edit of `target`, from the indexes; throws
    /// std::bad_alloc when indexing runs out of memory.
    Cover coverOf(const IZRKorObject& target);

    /// The working object `objID` of `record`'s store as class `T`. Null with `error` set to
    /// ZR_E_EDIT_TARGET_DELETED when the store does not hold it as a `T` or an edit has removed
    /// it (it or a container above it carries the detached mark).
    template <class T>
    static T* workingObject(const AZREditCommand& record, std::uint32_t objID,
                            std::uint32_t& error) {
        T* obj = kor::objCast<T>(record.workingObject(objID));
        if (obj == nullptr || kor::isDetached(obj)) error = ZR_E_EDIT_TARGET_DELETED;
        return error == 0 ? obj : nullptr;
    }

    /// Leaves a detail to follow the table text of `code` in the message, should the running
    /// operation end with that code (OperationDetail::explain); returns `code`. Checks that only
    /// read the song call it too, hence const.
    template <class... Args>
    std::uint32_t explain(std::uint32_t code, const wchar_t* format, Args... args) const noexcept {
        return detail_.explain(code, format, args...);
    }

    /// Tells the editor the object the running insert made (or that took its values).
    void noteInserted(std::uint32_t objID) const noexcept { detail_.noteInserted(objID); }

    /// Files the pending records as one commit and applies them; `ids` receives the IDs of the
    /// records applied, in exchange order. ZR_E_NOT_ENOUGH_MEMORY when the headroom rule refuses
    /// twice the largest copy (the records are dropped, the song as it was); else 0. Throws
    /// std::bad_alloc, changing nothing, when preparing runs out of memory.
    [[nodiscard]] std::uint32_t commit(std::vector<std::uint32_t>& ids);
    /// Drops every pending record; the song is untouched.
    void discard() noexcept;

private:
    using IsWanted = bool (*)(const AZREditCommand&);
    using MakeRecord = std::unique_ptr<AZREditCommand> (*)(std::uint32_t, CZRKorDocument*);

    AZREditCommand* obtainRecord(const IZRKorObject& target, std::int32_t kind, RecordUse use,
                                 IsWanted isWanted, MakeRecord make, std::uint32_t& error);
    /// ZR_E_EDIT_CONFLICT between the pending `record` and an edit of `target`, explained when
    /// `record`'s object is live.
    std::uint32_t conflict(const AZREditCommand& record, const IZRKorObject& target) const;
    /// The headroom rule for `bytes` of planned copies, paid out of a budget (see the .cpp).
    bool hasHeadroomFor(std::uint64_t bytes);
    /// Brings both indexes up to the pending records (and the path index up to the live tree).
    void updateIndexes();
    void forgetIndexes() noexcept;

    IZREditorHost& host_;
    ZRKorManagementPolicy policy_;
    CZRKorDocument& document_;
    CZRCommitHistory& history_;
    OperationDetail& detail_;
    std::vector<std::unique_ptr<AZREditCommand>> pending_;
    // The first pending record (its index in pending_) of each covered object ID, for the first
    // `byObjectCount_` records.
    IdIndex byObject_;
    std::size_t byObjectCount_ = 0;
    // For each ID on the live path of a covered object, the first pending record covering it or
    // an object below it, for the first `belowCount_` records, as the live tree stood after the
    // history's `belowExchanges_`-th exchange.
    IdIndex below_;
    std::size_t belowCount_ = 0;
    std::uint64_t belowExchanges_ = 0;
    std::vector<std::uint32_t> path_; // scratch for path listings
    // Planned bytes the headroom rule has granted and no record has used yet.
    std::uint64_t headroomBudget_ = 0;
};

} // namespace kor
