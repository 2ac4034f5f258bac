#include "edit/TimeSigEdits.h"

#include "edit/EditMessages.h"
#include "edit/EditRecords.h"
#include "edit/EditSupport.h"
#include "edit/PreMeasureEdits.h"
#include "model/TimeSig.h"

#include <cassert>

namespace kor {

namespace {

/// The time signature a deleted head one falls back to.
constexpr std::int32_t kCommonTime = 4;

/// The time signature object's own verdict on `value`, explained; the measure counts only when
/// `positioned`.
std::uint32_t checkTimeSig(const EditSession& session, const ZRTimeSigValue& value,
                           bool positioned) {
    const ZRTimeSigValues values{positioned ? value.posMes : 0, value.numerator, value.denominator};
    const std::uint32_t code = CZRTimeSig(ZR_NO_OBJ_ID, values).validate();
    if (code == 0) return 0;
    if (const std::uint32_t broken =
            checkRules<ZRTimeSigValues>(session, values, CZRTimeSig::kRules))
        return broken;
    return session.explain(code, L"Time signature denominator %d is not 1, 2, 4, 8, 16 or 32.",
                           value.denominator);
}

/// The live master track holding the live time signature `sigID`; null when there is none.
const CZRMasterTrack* masterOf(const EditSession& session, std::uint32_t sigID) {
    const auto* sig = liveObject<CZRTimeSig>(session, sigID);
    const CZRNodeList* list = sig != nullptr ? parentList(*sig) : nullptr;
    return list != nullptr ? objCast<CZRMasterTrack>(list->getParent()) : nullptr;
}

/// A time signature edit: the master-track record, the copies of the master track and its time
/// signature list, and the copy of the time signature aimed at (null for an insert).
struct SigEdit {
    ListEdit<CZRTimeSig> sigs;
    CZRMasterTrack* master = nullptr;
};

/// Obtains the master-track record for the live `master` and looks up the copies, of `sigID`
/// too unless it is ZR_NO_OBJ_ID; it may carry the detached mark only when `allowRemoved`.
std::uint32_t editTimeSigs(EditSession& session, const CZRMasterTrack& master, std::uint32_t sigID,
                           bool allowRemoved, SigEdit& edit) {
    MasterTrackEdit masterEdit;
    if (const std::uint32_t code = editMasterTrack(session, &master, masterEdit)) return code;
    edit.master = masterEdit.master;
    edit.sigs.record = masterEdit.record;
    edit.sigs.list = masterEdit.master->timeSigList();
    if (edit.sigs.list == nullptr) return ZR_E_EDIT_TARGET_DELETED;
    if (sigID == ZR_NO_OBJ_ID) return 0;
    edit.sigs.element = objCast<CZRTimeSig>(masterEdit.record->workingObject(sigID));
    if (edit.sigs.element == nullptr || (!allowRemoved && isDetached(edit.sigs.element)))
        return ZR_E_EDIT_TARGET_DELETED;
    return 0;
}

/// Finds the live time signature `sigID`, checks `value` (the measure only when `positioned`)
/// and obtains the copies, as editTimeSigs.
std::uint32_t editCheckedSig(EditSession& session, std::uint32_t sigID, const ZRTimeSigValue& value,
                             bool positioned, SigEdit& edit) {
    const CZRMasterTrack* master = masterOf(session, sigID);
    if (master == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkTimeSig(session, value, positioned)) return code;
    return editTimeSigs(session, *master, sigID, false, edit);
}

/// Gives the copy `sig` the values `values`, moving the song when the pre-measure area changes.
std::uint32_t setSigValues(EditSession& session, const SigEdit& edit, CZRTimeSig& sig,
                           const ZRTimeSigValues& values) {
    const ZRTimeSigValues old = sig.values();
    const auto set = [&sig, list = edit.sigs.list](const ZRTimeSigValues& to) {
        sig.setValues(to);
        list->sortByKey();
    };
    return changeFrontMeasures(
        session, *edit.master,
        [&] {
            set(values);
            return true;
        },
        [&] { set(old); });
}

} // namespace

std::uint32_t updateTimeSig(EditSession& session, std::uint32_t timeSigID,
                            const ZRTimeSigValue& value) {
    SigEdit edit;
    if (const std::uint32_t code = editCheckedSig(session, timeSigID, value, false, edit))
        return code;
    CZRTimeSig& sig = *edit.sigs.element;
    if (const std::uint32_t code =
            setSigValues(session, edit, sig, {sig.getPosMes(), value.numerator, value.denominator}))
        return code;
    edit.sigs.record->addChange({timeSigID, ZR_CHANGE_MODIFIED, sig.getPosMes()});
    return 0;
}

std::uint32_t moveTimeSig(EditSession& session, std::uint32_t timeSigID,
                          const ZRTimeSigValue& value) {
    SigEdit edit;
    if (const std::uint32_t code = editCheckedSig(session, timeSigID, value, true, edit))
        return code;

    const IZRMutableKorObject* there = edit.sigs.list->findByKey(value.posMes);
    if (there != nullptr && there->getObjID() != timeSigID)
        return ZR_E_TIME_SIGNATURES_ARE_DUPLICATED;
    const std::int32_t oldPos = edit.sigs.element->getPosMes();
    if (oldPos == 0) return ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED;
    if (const std::uint32_t code = setSigValues(session, edit, *edit.sigs.element,
                                                {value.posMes, value.numerator, value.denominator}))
        return code;
    edit.sigs.record->addChange({timeSigID, ZR_CHANGE_MODIFIED, value.posMes});
    edit.sigs.record->addChange({timeSigID, ZR_CHANGE_MODIFIED, oldPos});
    edit.sigs.record->addChange({edit.sigs.list->getObjID(), ZR_CHANGE_MODIFIED, 0});
    return 0;
}

std::uint32_t insertTimeSig(EditSession& session, const ZRTimeSigValue& value) {
    const CZRSequence* sequence = editedSequence(session);
    const CZRMasterTrack* master = sequence != nullptr ? sequence->masterTrack() : nullptr;
    if (master == nullptr) return ZR_E_NO_MASTER_TRACK;
    if (master->timeSigList() == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkTimeSig(session, value, true)) return code;
    SigEdit edit;
    if (const std::uint32_t code = editTimeSigs(session, *master, ZR_NO_OBJ_ID, false, edit))
        return code;

    const ZRTimeSigValues values{value.posMes, value.numerator, value.denominator};
    if (auto* there = objCast<CZRTimeSig>(edit.sigs.list->findByKey(value.posMes))) {
        if (const std::uint32_t code = setSigValues(session, edit, *there, values)) return code;
        edit.sigs.record->addChange({there->getObjID(), ZR_CHANGE_MODIFIED, value.posMes});
        session.noteInserted(there->getObjID());
        return 0;
    }
    CZRTimeSig* created = nullptr;
    if (const std::uint32_t code = changeFrontMeasures(
            session, *edit.master,
            [&] {
                created = insertNew(edit.sigs, values);
                return created != nullptr;
            },
            [&] {
                const std::uint32_t createdID = created->getObjID();
                [[maybe_unused]] const bool removed = edit.sigs.list->removeByID(createdID);
                assert(removed && "the new time signature was just inserted");
                edit.sigs.record->storeContext().registry.destroy(createdID);
            }))
        return code;
    edit.sigs.record->addChange({created->getObjID(), ZR_CHANGE_INSERTED, value.posMes});
    session.noteInserted(created->getObjID());
    edit.sigs.record->addChange({edit.sigs.list->getObjID(), ZR_CHANGE_MODIFIED, 0});
    return 0;
}

std::uint32_t deleteTimeSig(EditSession& session, std::uint32_t timeSigID) {
    const CZRMasterTrack* master = masterOf(session, timeSigID);
    if (master == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    SigEdit edit;
    if (const std::uint32_t code = editTimeSigs(session, *master, timeSigID, true, edit))
        return code;
    CZRTimeSig& sig = *edit.sigs.element;
    if (isDetached(&sig)) return 0;

    const std::int32_t pos = sig.getPosMes();
    if (pos == 0) {
        if (const std::uint32_t code =
                setSigValues(session, edit, sig, {0, kCommonTime, kCommonTime}))
            return code;
        edit.sigs.record->addChange({timeSigID, ZR_CHANGE_MODIFIED, 0});
        return 0;
    }
    CZRNodeList& list = *edit.sigs.list;
    if (const std::uint32_t code = changeFrontMeasures(
            session, *edit.master, [&] { return list.removeByID(timeSigID); },
            [&] {
                [[maybe_unused]] const bool back = list.insertSorted(&sig);
                assert(back && "the time signature left this list just now");
            }))
        return code;
    edit.sigs.record->addChange({timeSigID, ZR_CHANGE_DELETED, pos});
    edit.sigs.record->addChange({list.getObjID(), ZR_CHANGE_MODIFIED, 0});
    return 0;
}

} // namespace kor
