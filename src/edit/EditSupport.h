// The steps every edit operation shares: finding the live target, obtaining its record and the
// working copies in that record's store, and creating new objects there.
#pragma once

#include "edit/EditMessages.h"
#include "edit/EditSession.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/NodeList.h"
#include "model/Sequence.h"
#include "model/VVoice.h"

#include <korman/ErrorCodes.h>

#include <cstdint>
#include <new>

namespace kor {

/// The live object `objID` of the editor's document as class `T`; null when it is missing or of
/// another class, which is explained for ZR_E_EDIT_TARGET_NOT_FOUND (explainMissingTarget).
template <class T> T* liveObject(const EditSession& session, std::uint32_t objID) {
    IZRMutableKorObject* found = session.document().objects().lookup(objID);
    if (T* typed = objCast<T>(found)) return typed;
    explainMissingTarget(session, objID, found, T::kType);
    return nullptr;
}

/// The live node list `listID` when the list record `Record` covers it; null otherwise, explained
/// for ZR_E_EDIT_TARGET_NOT_FOUND.
template <class Record>
const CZRNodeList* liveListOf(const EditSession& session, std::uint32_t listID) {
    const auto* list = liveObject<CZRNodeList>(session, listID);
    if (list == nullptr || Record::covers(list)) return list;
    session.explain(ZR_E_EDIT_TARGET_NOT_FOUND,
                    L"Object %u is a %ls, not a list this edit changes.", listID,
                    objectName(*list).c_str());
    return nullptr;
}

/// The element record for the live object `live` and its working copy, as an update that leaves
/// the object's position alone finds them.
template <class T> struct ElementEdit {
    AZREditCommand* record = nullptr;
    T* object = nullptr;
};

/// Obtains the `Record` for the live `live` (null: ZR_E_EDIT_TARGET_NOT_FOUND) and looks up its
/// working copy. 0 or the failing step's code.
template <class Record, class T>
[[nodiscard]] std::uint32_t editElement(EditSession& session, const T* live, ElementEdit<T>& edit) {
    std::uint32_t error = 0;
    edit.record = session.recordFor<Record>(live, error);
    if (edit.record == nullptr) return error;
    edit.object = EditSession::workingObject<T>(*edit.record, live->getObjID(), error);
    return error;
}

/// A node list's working copy, the record holding it, and the element an edit of the list aims
/// at (null for an insert).
template <class T> struct ListEdit {
    AZREditCommand* record = nullptr;
    CZRNodeList* list = nullptr;
    T* element = nullptr;
};

/// Obtains the list record `Record` for the live node list `list` (null:
/// ZR_E_EDIT_TARGET_NOT_FOUND) and looks up the copies of the list and, unless `elementID` is
/// ZR_NO_OBJ_ID, of its element `elementID`, which may carry the detached mark only when
/// `allowRemoved` (deletes leave an element already removed alone). 0 or the failing step's code:
/// ZR_E_EDIT_TARGET_DELETED for a copy that is missing or removed.
template <class Record, class T>
[[nodiscard]] std::uint32_t editList(EditSession& session, const CZRNodeList* list,
                                     std::uint32_t elementID, bool allowRemoved,
                                     ListEdit<T>& edit) {
    std::uint32_t error = 0;
    edit.record = session.recordFor<Record>(list, error);
    if (edit.record == nullptr) return error;
    edit.list = EditSession::workingObject<CZRNodeList>(*edit.record, list->getObjID(), error);
    if (edit.list == nullptr || elementID == ZR_NO_OBJ_ID) return error;
    edit.element = objCast<T>(edit.record->workingObject(elementID));
    if (edit.element == nullptr || (!allowRemoved && isDetached(edit.element)))
        return ZR_E_EDIT_TARGET_DELETED;
    return 0;
}

/// Obtains the list record `Record` for the live node list `list` to move its element
/// `elementID`, and the working copy of that element: in a new record, which then holds the moves
/// alone (`edit.list` stays null and each exchange places the element by its key), or as
/// editList finds them in a pending record holding the whole list. 0 or the failing step's code.
template <class Record, class T>
[[nodiscard]] std::uint32_t editMove(EditSession& session, const CZRNodeList* list,
                                     std::uint32_t elementID, ListEdit<T>& edit) {
    std::uint32_t error = 0;
    edit.record = session.recordFor<Record>(list, error, EditSession::RecordUse::kMoveElements);
    if (edit.record == nullptr) return error;
    if (!edit.record->holdsMovesOnly())
        return editList<Record>(session, list, elementID, false, edit);
    edit.element = objCast<T>(edit.record->copyForMove(elementID));
    return edit.element != nullptr ? 0 : ZR_E_EDIT_TARGET_NOT_FOUND;
}

/// The node list holding the live element `live`; null when it sits in none.
inline const CZRNodeList* parentList(const IZRKorObject& live) {
    return objCast<CZRNodeList>(live.getParent());
}

/// Creates a `T` with `values` under a fresh ID in the store of `edit`'s record and inserts it
/// into the list copy in key order. The new object, or null (nothing left behind) when creating or
/// inserting fails; the caller answers that with ZR_E_UPDATE_FAILED.
template <class T, class Values> T* insertNew(ListEdit<T>& edit, Values values) {
    const ZRCreateContext context = edit.record->storeContext();
    T* created = createObject<T>(context, ZR_NO_OBJ_ID, std::move(values));
    if (created == nullptr) return nullptr;
    if (!edit.list->insertSorted(created)) {
        context.registry.destroy(created->getObjID());
        return nullptr;
    }
    return created;
}

/// The sequence of the editor's document (borrowed); null when the document has none.
inline CZRSequence* editedSequence(const EditSession& session) {
    const CZRKorRoot* root = session.document().root();
    return root != nullptr ? root->sequence() : nullptr;
}

/// Whether the VVoice table of the edited sequence holds the voice (`vBS`, `vPC`): singers and
/// prosody voices may only name voices the song carries.
inline bool hasVVoice(const EditSession& session, std::int32_t vBS, std::int32_t vPC) {
    const CZRSequence* sequence = editedSequence(session);
    if (sequence == nullptr || sequence->vvoiceList() == nullptr) return false;
    for (const IZRMutableKorObject* element : sequence->vvoiceList()->elements())
        if (const auto* voice = objCast<CZRVVoice>(element))
            if (voice->values().vBS == vBS && voice->values().vPC == vPC) return true;
    return false;
}

/// ZR_E_VVOICE_NOT_FOUND, explained, unless the edited song's VVoice table holds the voice
/// (`vBS`, `vPC`); else 0.
inline std::uint32_t checkVVoice(const EditSession& session, std::int32_t vBS, std::int32_t vPC) {
    return hasVVoice(session, vBS, vPC)
               ? 0
               : session.explain(ZR_E_VVOICE_NOT_FOUND,
                                 L"The song has no VVoice with bank select %d and program change "
                                 L"%d.",
                                 vBS, vPC);
}

/// Whether an object placed at `posTick` and lasting `durTick` would end past the editor's upper
/// tick limit (the policy's maxNoteTick; -1 sets none).
inline bool endsPastTickLimit(const EditSession& session, std::int32_t posTick,
                              std::int32_t durTick) {
    const int limit = session.policy().maxNoteTick;
    return limit != -1 && std::int64_t{posTick} + durTick > limit;
}

/// 0 when a part may start at `posTick`, at or after the end of the pre-measure area;
/// ZR_E_NO_MASTER_TRACK when the sequence has no master track, ZR_E_INVALID_PART_POSITION,
/// explained, when the tick lies before that end.
[[nodiscard]] inline std::uint32_t checkPartStart(const EditSession& session,
                                                  std::int32_t posTick) {
    const CZRSequence* sequence = editedSequence(session);
    const CZRMasterTrack* master = sequence != nullptr ? sequence->masterTrack() : nullptr;
    if (master == nullptr) return ZR_E_NO_MASTER_TRACK;
    if (posTick >= master->getPreMeasureTick()) return 0;
    return session.explain(ZR_E_INVALID_PART_POSITION,
                           L"Part position %d lies before tick %d, the end of the pre-measure "
                           L"area.",
                           posTick, master->getPreMeasureTick());
}

/// A deep copy of `source` made in `context` (a record's store), every copied object under a
/// fresh ID; null, with nothing left behind, when it cannot be made.
template <class T> T* deepCopy(const ZRCreateContext& context, const T& source) {
    return objCast<T>(source.cloneInto(context, ZR_COPY_DEEP));
}

/// Removes the live element `elementID` (a `T`) from its node list through the list record
/// `Record`; an element this editor has removed already is left alone. Appends (element,
/// `deletedFlags`, its position) and (list, `listFlags`, 0). 0, or the code of the failing step:
/// ZR_E_EDIT_TARGET_NOT_FOUND, the record lookup's, or ZR_E_UPDATE_FAILED.
template <class Record, class T>
[[nodiscard]] std::uint32_t removeFromList(EditSession& session, std::uint32_t elementID,
                                           std::uint32_t deletedFlags, std::uint32_t listFlags) {
    const T* live = liveObject<T>(session, elementID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    ListEdit<T> edit;
    if (const std::uint32_t code =
            editList<Record>(session, parentList(*live), elementID, true, edit))
        return code;
    if (isDetached(edit.element)) return 0;

    const std::int32_t pos = edit.element->getPosTick();
    if (!edit.list->removeByID(elementID)) return ZR_E_UPDATE_FAILED;
    edit.record->addChange({elementID, deletedFlags, pos});
    edit.record->addChange({edit.list->getObjID(), listFlags, 0});
    return 0;
}

} // namespace kor
