#include "edit/TempoEdits.h"

#include "edit/EditMessages.h"
#include "edit/EditRecords.h"
#include "edit/EditSupport.h"
#include "model/KorRoot.h"

namespace kor {

namespace {

/// One field of a tempo by the tempo's own rules.
std::uint32_t checkTempoField(const EditSession& session, std::int32_t ZRTempoValues::*field,
                              std::int32_t value) {
    ZRTempoValues values;
    values.*field = value;
    return checkField<ZRTempoValues>(session, values, CZRTempo::kRules, field);
}

std::uint32_t checkTempo(const EditSession& session, std::int32_t tempo) {
    return checkTempoField(session, &ZRTempoValues::bpm, tempo);
}

/// The position first, then the tempo.
std::uint32_t checkTempoValue(const EditSession& session, const ZRTempoValue& value) {
    if (const std::uint32_t code = checkTempoField(session, &ZRTempoValues::posTick, value.posTick))
        return code;
    return checkTempo(session, value.tempo);
}

} // namespace

std::uint32_t updateTempo(EditSession& session, std::uint32_t tempoID, const ZRTempoValue& value) {
    const auto* live = liveObject<CZRTempo>(session, tempoID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkTempo(session, value.tempo)) return code;
    ElementEdit<CZRTempo> edit;
    if (const std::uint32_t code = editElement<CZREditTempo>(session, live, edit)) return code;
    edit.object->values().bpm = value.tempo;
    edit.record->addChange({tempoID, kTempoChanged, edit.object->getPosTick()});
    return 0;
}

std::uint32_t moveTempo(EditSession& session, std::uint32_t tempoID, const ZRTempoValue& value) {
    const auto* live = liveObject<CZRTempo>(session, tempoID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkTempoValue(session, value)) return code;
    ListEdit<CZRTempo> edit;
    if (const std::uint32_t code =
            editList<CZREditTempoList>(session, parentList(*live), tempoID, false, edit))
        return code;

    const IZRMutableKorObject* there = edit.list->findByKey(value.posTick);
    if (there != nullptr && there->getObjID() != tempoID) return ZR_E_TEMPOS_ARE_DUPLICATED;
    const std::int32_t oldPos = edit.element->getPosTick();
    if (oldPos == 0) return ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED;
    edit.element->setValues({value.posTick, value.tempo});
    edit.list->sortByKey();
    edit.record->addChange({tempoID, kTempoChanged, value.posTick});
    edit.record->addChange({tempoID, kTempoChanged, oldPos});
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

std::uint32_t insertTempo(EditSession& session, const ZRTempoValue& value) {
    const CZRKorRoot* root = session.document().root();
    const CZRSequence* sequence = root != nullptr ? root->sequence() : nullptr;
    if (sequence == nullptr || sequence->masterTrack() == nullptr) return ZR_E_NO_MASTER_TRACK;
    const CZRNodeList* live = sequence->masterTrack()->tempoList();
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkTempoValue(session, value)) return code;
    ListEdit<CZRTempo> edit;
    if (const std::uint32_t code =
            editList<CZREditTempoList>(session, live, ZR_NO_OBJ_ID, false, edit))
        return code;

    if (auto* there = objCast<CZRTempo>(edit.list->findByKey(value.posTick))) {
        there->values().bpm = value.tempo;
        edit.record->addChange({there->getObjID(), kTempoChanged, value.posTick});
        session.noteInserted(there->getObjID());
        return 0;
    }
    const CZRTempo* tempo = insertNew(edit, ZRTempoValues{value.posTick, value.tempo});
    if (tempo == nullptr) return ZR_E_UPDATE_FAILED;
    edit.record->addChange({tempo->getObjID(), kTempoInserted, value.posTick});
    session.noteInserted(tempo->getObjID());
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

std::uint32_t deleteTempo(EditSession& session, std::uint32_t tempoID) {
    const auto* live = liveObject<CZRTempo>(session, tempoID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    ListEdit<CZRTempo> edit;
    if (const std::uint32_t code =
            editList<CZREditTempoList>(session, parentList(*live), tempoID, true, edit))
        return code;
    if (isDetached(edit.element)) return 0;

    const std::int32_t pos = edit.element->getPosTick();
    if (pos == 0) {
        edit.element->values().bpm = kDefaultTempo;
        edit.record->addChange({tempoID, kTempoChanged, 0});
        return 0;
    }
    if (!edit.list->removeByID(tempoID)) return ZR_E_UPDATE_FAILED;
    edit.record->addChange({tempoID, kTempoDeleted, pos});
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

} // namespace kor
