#include "edit/EditSession.h"

#include "edit/CommitHistory.h"
#include "edit/EditorHost.h"
#include "model/DumpFormat.h"
#include "model/KorDocument.h"
#include "model/ObjectTree.h"

#include <algorithm>
#include <limits>

namespace kor {

namespace {

// How much planned memory one look at the system grants the records that follow: large enough
// that a select-all edit of a long part asks a handful of times, small against the room the
// headroom rule keeps spare, so that what the records really take never eats into it unseen.
constexpr std::uint64_t kHeadroomBlock = 64ull << 20;

} // namespace

EditSession::EditSession(IZREditorHost& host, const ZRKorManagementPolicy& policy,
                         CZRKorDocument& document, CZRCommitHistory& history,
                         OperationDetail& detail)
    : host_(host)
    , policy_(policy)
    , document_(document)
    , history_(history)
    , detail_(detail) {}

AZREditCommand* EditSession::obtainRecord(const IZRKorObject& target, std::int32_t kind,
                                          RecordUse use, IsWanted isWanted, MakeRecord make,
                                          std::uint32_t& error) {
    const bool movesOnly = use == RecordUse::kMoveElements;
    // Two records may not cover one object: a pending record of the target or of anything below
    // it conflicts, and so does an element record above it; a list record above it already holds
    // the target's copy and takes the edit.
    const Cover cover = coverOf(target);
    if (cover.same != nullptr && isWanted(*cover.same)) {
        if (!movesOnly) cover.same->widen();
        return cover.same;
    }
    if (cover.below != nullptr) {
        error = conflict(*cover.below, target);
        return nullptr;
    }
    if (cover.above != nullptr) {
        if (cover.above->kind() != AZREditCommand::kList) {
            error = conflict(*cover.above, target);
            return nullptr;
        }
        cover.above->widen();
        return cover.above;
    }

    // A record of moves alone holds a few elements, not the list below its target.
    const auto* live = dynamic_cast<const IZRMutableKorObject*>(&target);
    const std::uint64_t size = live == nullptr ? 0
                               : kind == AZREditCommand::kElement || movesOnly
                                   ? live->getSize()
                                   : kor::subtreeSize(live);
    error = ZR_E_NOT_ENOUGH_MEMORY;
    if (!hasHeadroomFor(2 * size)) return nullptr;
    // Running out of memory here leaves through the editor's boundary as that same error.
    std::unique_ptr<AZREditCommand> record = make(target.getObjID(), &document_);
    if (!(movesOnly ? record->captureForMoves() : record->capture())) return nullptr;
    pending_.push_back(std::move(record));
    error = 0;
    return pending_.back().get();
}

std::uint32_t EditSession::conflict(const AZREditCommand& record,
                                    const IZRKorObject& target) const {
    const IZRMutableKorObject* covered = document_.objects().lookup(record.objectID());
    if (covered == nullptr) return ZR_E_EDIT_CONFLICT;
    const std::wstring held = objectName(*covered);
    const std::wstring needed = objectName(target);
    if (target.getObjType() == ZRObjType::MasterTrack)
        return explain(ZR_E_EDIT_CONFLICT,
                       L"The pending %ls record conflicts with the master track record this edit "
                       L"needs: time signatures and the pre-measure are recorded with the whole "
                       L"master track. Recording the time signature or pre-measure edit first, or "
                       L"using a second editor after committing, avoids it.",
                       held.c_str());
    return explain(ZR_E_EDIT_CONFLICT,
                   L"The pending %ls record conflicts with the %ls record this edit needs. "
                   L"Recording the %ls edit first, or using a second editor after committing, "
                   L"avoids it.",
                   held.c_str(), needed.c_str(), needed.c_str());
}

EditSession::Cover EditSession::coverOf(const IZRKorObject& target) {
    updateIndexes();
    const auto recordAt = [&](std::uint32_t position) -> AZREditCommand* {
        return position != IdIndex::kNone ? pending_[position].get() : nullptr;
    };
    Cover cover;
    cover.same = recordAt(byObject_.find(target.getObjID()));
    cover.below = recordAt(below_.find(target.getObjID()));
    // The first record of any object on the target's path; the target is on its own path.
    std::uint32_t first = IdIndex::kNone;
    target.getObjIDPath(path_);
    for (const std::uint32_t objID : path_)
        first = std::min(first, byObject_.find(objID));
    cover.above = recordAt(first);
    return cover;
}

// Records are only ever appended while the session lives, so each index takes in the records
// filed since it last looked. Inserting keeps an entry already there, which names an earlier
// record: an index that ran out of memory halfway is completed by the next look.
void EditSession::updateIndexes() {
    for (; byObjectCount_ < pending_.size(); ++byObjectCount_)
        byObject_.fileFirst(pending_[byObjectCount_]->objectID(),
                            static_cast<std::uint32_t>(byObjectCount_));
    if (belowExchanges_ != history_.exchangeCount()) {
        below_.clear();
        belowCount_ = 0;
        belowExchanges_ = history_.exchangeCount();
    }
    const CZRObjectTable& live = document_.objects();
    for (; belowCount_ < pending_.size(); ++belowCount_) {
        const IZRMutableKorObject* covered = live.lookup(pending_[belowCount_]->objectID());
        if (covered == nullptr) continue;
        covered->getObjIDPath(path_);
        for (const std::uint32_t objID : path_)
            below_.fileFirst(objID, static_cast<std::uint32_t>(belowCount_));
    }
}

void EditSession::forgetIndexes() noexcept {
    byObject_.clear();
    byObjectCount_ = 0;
    below_.clear();
    belowCount_ = 0;
}

// The headroom rule asks the system how much memory is left, which costs more than an edit. So
// one look grants a block of planned memory beyond the record's own, which the records that
// follow spend without asking; only when it is used up does the session look again. When the
// system has no room for the block, the rule is asked for the record's own need alone, and its
// refusal gives memory back as it always does.
bool EditSession::hasHeadroomFor(std::uint64_t bytes) {
    if (bytes <= headroomBudget_) {
        headroomBudget_ -= bytes;
        return true;
    }
    headroomBudget_ = 0;
    if (bytes <= std::numeric_limits<std::uint64_t>::max() - kHeadroomBlock &&
        host_.hasRoomFor(bytes + kHeadroomBlock)) {
        headroomBudget_ = kHeadroomBlock;
        return true;
    }
    return host_.hasMemoryHeadroom(bytes);
}

std::uint32_t EditSession::commit(std::vector<std::uint32_t>& ids) {
    // Each record is readied, planned and sized in one visit, while its copy is in the cache:
    // readying only drops what the edits removed, so the sizes are what the history will hold.
    std::uint64_t largest = 0;
    for (const auto& record : pending_) {
        if (record->isCommitMarker()) continue;
        record->prepareCommit();
        record->prepareExchange();
        largest = std::max(largest, record->copySize());
    }
    // The history takes the records only when the headroom rule lets it apply them all; refused,
    // they are dropped and the song is as it was.
    if (!history_.commit(pending_, largest, ids)) {
        discard();
        return ZR_E_NOT_ENOUGH_MEMORY;
    }
    forgetIndexes();
    return 0;
}

void EditSession::discard() noexcept {
    pending_.clear();
    forgetIndexes();
}

} // namespace kor
