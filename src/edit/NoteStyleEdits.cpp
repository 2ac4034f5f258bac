#include "edit/NoteStyleEdits.h"

#include "edit/EditRecords.h"
#include "edit/EditSupport.h"

namespace kor {

namespace {

constexpr std::uint32_t kChanged = ZR_CHANGE_MODIFIED | ZR_CHANGE_MUSICAL;
constexpr std::uint32_t kInserted = ZR_CHANGE_INSERTED | ZR_CHANGE_MUSICAL;
constexpr std::uint32_t kDeleted = ZR_CHANGE_DELETED | ZR_CHANGE_MUSICAL;

using Point = CZRNoteStyleSeqAttribElement;

bool within(std::int32_t value, std::int32_t low, std::int32_t high) {
    return value >= low && value <= high;
}

std::uint32_t checkPointPosition(std::int32_t posNrm) {
    return within(posNrm, 0, Point::kMaxPosNrm)
               ? 0
               : ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION;
}

} // namespace

std::uint32_t checkNoteStyle(const ZRNoteStyleValue& style) {
    const bool valid = within(style.bendDep, 0, 100) && within(style.bendLen, 0, 100) &&
                       within(style.decay, 0, 100) && within(style.accent, 0, 100) &&
                       within(style.opening, 0, 127);
    return valid ? 0 : ZR_E_INVALID_T2_NOTE_STYLE;
}

std::uint32_t updateNoteStyleAttrib(CZRKorEditorIF& editor, std::uint32_t attribID,
                                    const ZRNoteStyleValue& value) {
    const auto* live = liveObject<CZRNoteStyleAttrib>(editor, attribID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkNoteStyle(value)) return code;
    ElementEdit<CZRNoteStyleAttrib> edit;
    if (const std::uint32_t code = editElement<CZREditNoteStyleAttrib>(editor, live, edit))
        return code;
    return memoryGuarded([&] {
        CZRNoteStyleAttrib& style = *edit.object;
        style.setValue(L"bendDep", value.bendDep);
        style.setValue(L"bendLen", value.bendLen);
        style.setValue(L"risePort", value.risePort);
        style.setValue(L"fallPort", value.fallPort);
        style.setValue(L"decay", value.decay);
        style.setValue(L"accent", value.accent);
        style.setValue(L"opening", value.opening);
        edit.record->addChange({attribID, kChanged, 0});
        return 0u;
    });
}

std::uint32_t updateNoteStyleSeqAttribElement(CZRKorEditorIF& editor, std::uint32_t elementID,
                                              const ZRNoteStyleSeqAttribElementValue& value) {
    const auto* live = liveObject<Point>(editor, elementID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    ElementEdit<Point> edit;
    if (const std::uint32_t code =
            editElement<CZREditNoteStyleSeqAttribElement>(editor, live, edit))
        return code;
    edit.object->values().elv = value.elv;
    edit.record->addChange({elementID, kChanged, 0});
    return 0;
}

std::uint32_t moveNoteStyleSeqAttribElement(CZRKorEditorIF& editor, std::uint32_t elementID,
                                            const ZRNoteStyleSeqAttribElementValue& value) {
    const auto* live = liveObject<Point>(editor, elementID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkPointPosition(value.posNrm)) return code;
    ListEdit<Point> edit;
    if (const std::uint32_t code = editList<CZREditNoteStyleSeqAttribElementList>(
            editor, parentList(*live), elementID, false, edit))
        return code;

    const IZRMutableKorObject* there = edit.list->findByKey(value.posNrm);
    if (there != nullptr && there->getObjID() != elementID)
        return ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTES_ARE_DUPLICATED;
    edit.element->setValues({value.posNrm, value.elv});
    edit.list->sortByKey();
    edit.record->addChange({elementID, kChanged, 0});
    edit.record->addChange({edit.list->getObjID(), kChanged, 0});
    return 0;
}

std::uint32_t insertNoteStyleSeqAttribElement(CZRKorEditorIF& editor, std::uint32_t listID,
                                              const ZRNoteStyleSeqAttribElementValue& value) {
    const auto* live = liveObject<CZRNodeList>(editor, listID);
    if (!CZREditNoteStyleSeqAttribElementList::covers(live)) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkPointPosition(value.posNrm)) return code;
    ListEdit<Point> edit;
    if (const std::uint32_t code =
            editList<CZREditNoteStyleSeqAttribElementList>(editor, live, ZR_NO_OBJ_ID, false, edit))
        return code;

    if (auto* there = objCast<Point>(edit.list->findByKey(value.posNrm))) {
        there->values().elv = value.elv;
        edit.record->addChange({there->getObjID(), kChanged, 0});
        return 0;
    }
    const Point* point =
        insertNew(edit, ZRNoteStyleSeqAttribElementValues{value.posNrm, value.elv});
    if (point == nullptr) return ZR_E_UPDATE_FAILED;
    edit.record->addChange({point->getObjID(), kInserted, 0});
    edit.record->addChange({listID, kChanged, 0});
    return 0;
}

std::uint32_t deleteNoteStyleSeqAttribElement(CZRKorEditorIF& editor, std::uint32_t elementID) {
    const auto* live = liveObject<Point>(editor, elementID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    ListEdit<Point> edit;
    if (const std::uint32_t code = editList<CZREditNoteStyleSeqAttribElementList>(
            editor, parentList(*live), elementID, true, edit))
        return code;
    if (isDetached(edit.element)) return 0;
    if (!edit.list->removeByID(elementID)) return ZR_E_UPDATE_FAILED;
    edit.record->addChange({elementID, kDeleted, 0});
    edit.record->addChange({edit.list->getObjID(), kChanged, 0});
    return 0;
}

} // namespace kor
