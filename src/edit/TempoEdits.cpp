#include "edit/TempoEdits.h"

#include "edit/EditRecords.h"
#include "edit/KorEditorIF.h"
#include "model/KorRoot.h"

namespace kor {

namespace {

constexpr std::uint32_t kTempoChange = ZR_CHANGE_MODIFIED | ZR_CHANGE_TEMPO | ZR_CHANGE_MUSICAL;
constexpr std::uint32_t kTempoInserted = ZR_CHANGE_INSERTED | ZR_CHANGE_TEMPO | ZR_CHANGE_MUSICAL;
constexpr std::uint32_t kTempoDeleted = ZR_CHANGE_DELETED | ZR_CHANGE_TEMPO | ZR_CHANGE_MUSICAL;
constexpr std::uint32_t kListChange = ZR_CHANGE_MODIFIED | ZR_CHANGE_MUSICAL;

CZRTempo* liveTempo(const CZRKorEditorIF& editor, std::uint32_t tempoID) {
    return objCast<CZRTempo>(editor.document().objects().lookup(tempoID));
}

std::uint32_t checkTempo(std::int32_t tempo) {
    return tempo >= CZRTempo::kMinBPM && tempo <= CZRTempo::kMaxBPM ? 0 : ZR_E_INVALID_TEMPO_VALUE;
}

std::uint32_t checkTempoValue(const ZRTempoValue& value) {
    return value.posTick < 0 ? ZR_E_INVALID_TEMPO_POSITION : checkTempo(value.tempo);
}

// A tempo list copy and the tempo `tempoID` in it, as an edit of the list finds them.
struct ListEdit {
    AZREditCommand* record = nullptr;
    CZRNodeList* list = nullptr;
    CZRTempo* tempo = nullptr;
};

// Obtains the tempo list record for the live list `list` and looks up the copies of the list
// and, unless `tempoID` is ZR_NO_OBJ_ID, of the tempo, which may be detached when `allowRemoved`.
std::uint32_t editList(CZRKorEditorIF& editor, const CZRNodeList* list, std::uint32_t tempoID,
                       bool allowRemoved, ListEdit& edit) {
    std::uint32_t error = 0;
    edit.record = editor.recordFor<CZREditTempoList>(list, error);
    if (edit.record == nullptr) return error;
    edit.list = CZRKorEditorIF::workingObject<CZRNodeList>(*edit.record, list->getObjID(), error);
    if (edit.list == nullptr || tempoID == ZR_NO_OBJ_ID) return error;
    edit.tempo = objCast<CZRTempo>(edit.record->workingObject(tempoID));
    if (edit.tempo == nullptr || (!allowRemoved && isDetached(edit.tempo)))
        return ZR_E_EDIT_TARGET_DELETED;
    return 0;
}

} // namespace

std::uint32_t updateTempo(CZRKorEditorIF& editor, std::uint32_t tempoID,
                          const ZRTempoValue& value) {
    const CZRTempo* live = liveTempo(editor, tempoID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkTempo(value.tempo)) return code;
    std::uint32_t error = 0;
    AZREditCommand* record = editor.recordFor<CZREditTempo>(live, error);
    if (record == nullptr) return error;
    CZRTempo* tempo = CZRKorEditorIF::workingObject<CZRTempo>(*record, tempoID, error);
    if (tempo == nullptr) return error;
    tempo->values().bpm = value.tempo;
    record->addChange({tempoID, kTempoChange, tempo->getPosTick()});
    return 0;
}

std::uint32_t moveTempo(CZRKorEditorIF& editor, std::uint32_t tempoID, const ZRTempoValue& value) {
    const CZRTempo* live = liveTempo(editor, tempoID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkTempoValue(value)) return code;
    ListEdit edit;
    if (const std::uint32_t code =
            editList(editor, objCast<CZRNodeList>(live->getParent()), tempoID, false, edit))
        return code;

    const IZRMutableKorObject* there = edit.list->findByKey(value.posTick);
    if (there != nullptr && there->getObjID() != tempoID) return ZR_E_TEMPOS_ARE_DUPLICATED;
    const std::int32_t oldPos = edit.tempo->getPosTick();
    if (oldPos == 0) return ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED;
    edit.tempo->setValues({value.posTick, value.tempo});
    edit.list->sortByKey();
    edit.record->addChange({tempoID, kTempoChange, value.posTick});
    edit.record->addChange({tempoID, kTempoChange, oldPos});
    edit.record->addChange({edit.list->getObjID(), kListChange, 0});
    return 0;
}

std::uint32_t insertTempo(CZRKorEditorIF& editor, const ZRTempoValue& value) {
    const CZRKorRoot* root = editor.document().root();
    const CZRSequence* sequence = root != nullptr ? root->sequence() : nullptr;
    if (sequence == nullptr || sequence->masterTrack() == nullptr) return ZR_E_NO_MASTER_TRACK;
    const CZRNodeList* live = sequence->masterTrack()->tempoList();
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkTempoValue(value)) return code;
    ListEdit edit;
    if (const std::uint32_t code = editList(editor, live, ZR_NO_OBJ_ID, false, edit)) return code;

    if (auto* there = objCast<CZRTempo>(edit.list->findByKey(value.posTick))) {
        there->values().bpm = value.tempo;
        edit.record->addChange({there->getObjID(), kTempoChange, value.posTick});
        return 0;
    }
    const ZRCreateContext context = edit.record->storeContext();
    auto* tempo =
        createObject<CZRTempo>(context, ZR_NO_OBJ_ID, ZRTempoValues{value.posTick, value.tempo});
    if (tempo == nullptr) return ZR_E_UPDATE_FAILED;
    if (!edit.list->insertSorted(tempo)) {
        context.registry.destroy(tempo->getObjID());
        return ZR_E_UPDATE_FAILED;
    }
    edit.record->addChange({tempo->getObjID(), kTempoInserted, value.posTick});
    edit.record->addChange({edit.list->getObjID(), kListChange, 0});
    return 0;
}

std::uint32_t deleteTempo(CZRKorEditorIF& editor, std::uint32_t tempoID) {
    const CZRTempo* live = liveTempo(editor, tempoID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    ListEdit edit;
    if (const std::uint32_t code =
            editList(editor, objCast<CZRNodeList>(live->getParent()), tempoID, true, edit))
        return code;
    if (isDetached(edit.tempo)) return 0;

    const std::int32_t pos = edit.tempo->getPosTick();
    if (pos == 0) {
        edit.tempo->values().bpm = kDefaultTempo;
        edit.record->addChange({tempoID, kTempoChange, 0});
        return 0;
    }
    if (!edit.list->removeByID(tempoID)) return ZR_E_UPDATE_FAILED;
    edit.record->addChange({tempoID, kTempoDeleted, pos});
    edit.record->addChange({edit.list->getObjID(), kListChange, 0});
    return 0;
}

} // namespace kor
