#include "edit/ProsodyEdits.h"

#include "edit/EditMessages.h"
#include "edit/EditRecords.h"
#include "edit/EditSupport.h"

namespace kor {

namespace {

// What sets the three families apart: their records, their codes, what a value must satisfy
// besides its position, and what deleting the head event leaves behind. Positions are seconds,
// not ticks, so the change entries carry none.

struct VoiceFamily {
    using Event = CZRProsodyVoice;
    using Value = ZRProsodyVoiceValue;
    using ElementRecord = CZREditProsodyVoice;
    using ListRecord = CZREditProsodyVoiceList;
    static constexpr std::uint32_t kBadPosition = ZR_E_INVALID_PROSODY_VOICE_POSITION;
    static constexpr std::uint32_t kDuplicated = ZR_E_PROSODY_VOICES_ARE_DUPLICATED;
    static constexpr bool kHasHead = true;

    static std::uint32_t check(const CZRKorEditorIF& editor, const Value& value,
                               const CZRNodeList&) {
        return checkVVoice(editor, value.vBS, value.vPC);
    }
    static ZRProsodyVoiceValues values(const Value& value) {
        return {value.posSec, value.vBS, value.vPC};
    }
    static void resetHead(Event& voice) {
        const auto [vBS, vPC] = defaultSinger();
        voice.values().vBS = vBS;
        voice.values().vPC = vPC;
    }
};

struct ElementFamily {
    using Event = CZRProsodyElement;
    using Value = ZRProsodyElementValue;
    using ElementRecord = CZREditProsodyElement;
    using ListRecord = CZREditProsodyElementList;
    static constexpr std::uint32_t kBadPosition = ZR_E_INVALID_PROSODY_ELEMENT_POSITION;
    static constexpr std::uint32_t kDuplicated = ZR_E_PROSODY_ELEMENTS_ARE_DUPLICATED;
    static constexpr bool kHasHead = true;

    static std::uint32_t check(const CZRKorEditorIF&, const Value&, const CZRNodeList&) {
        return 0;
    }
    static ZRProsodyElementValues values(const Value& value) { return {value.posSec, value.value}; }
    static void resetHead(Event& element) { element.values().value = 0; }
};

struct ControlFamily {
    using Event = CZRProsodyControl;
    using Value = ZRProsodyControlValue;
    using ElementRecord = CZREditProsodyControl;
    using ListRecord = CZREditProsodyControlList;
    static constexpr std::uint32_t kBadPosition = ZR_E_INVALID_PROSODY_CONTROL_POSITION;
    static constexpr std::uint32_t kDuplicated = ZR_E_PROSODY_CONTROLS_ARE_DUPLICATED;
    static constexpr bool kHasHead = false;

    // A control stays in the list of its kind: the kind cannot change, and an insert goes to the
    // list of the value's kind.
    static std::uint32_t check(const CZRKorEditorIF& editor, const Value& value,
                               const CZRNodeList& list) {
        if (value.type < 0 || value.type >= CZRProsodyPart::kControlTypes)
            return outOfRange(editor, ZR_E_INVALID_PROSODY_CONTROL_ID, value.type, 0,
                              CZRProsodyPart::kControlTypes - 1);
        if (value.type != list.getListTypeEx())
            return editor.explain(ZR_E_INVALID_PROSODY_CONTROL_ID,
                                  L"Prosody control kind %d is not the kind %d of the list %u.",
                                  value.type, list.getListTypeEx(), list.getObjID());
        return 0;
    }
    static ZRProsodyControlValues values(const Value& value) {
        return {value.posSec, value.type, value.value};
    }
    static void resetHead(Event&) {}
};

/// The live event `eventID` of the family and the list holding it; ZR_E_EDIT_TARGET_NOT_FOUND
/// when either is missing.
template <class Family>
std::uint32_t findEvent(const CZRKorEditorIF& editor, std::uint32_t eventID,
                        const typename Family::Event*& event, const CZRNodeList*& list) {
    event = liveObject<typename Family::Event>(editor, eventID);
    list = event != nullptr ? parentList(*event) : nullptr;
    return list != nullptr ? 0 : ZR_E_EDIT_TARGET_NOT_FOUND;
}

template <class Family>
std::uint32_t updateEvent(CZRKorEditorIF& editor, std::uint32_t eventID,
                          const typename Family::Value& value) {
    const typename Family::Event* live = nullptr;
    const CZRNodeList* list = nullptr;
    if (const std::uint32_t code = findEvent<Family>(editor, eventID, live, list)) return code;
    if (const std::uint32_t code = Family::check(editor, value, *list)) return code;
    ElementEdit<typename Family::Event> edit;
    if (const std::uint32_t code = editElement<typename Family::ElementRecord>(editor, live, edit))
        return code;
    const std::int32_t posSec = edit.object->values().posSec;
    edit.object->setValues(Family::values(value));
    edit.object->values().posSec = posSec;
    edit.record->addChange({eventID, kMusicalChanged, 0});
    return 0;
}

template <class Family>
std::uint32_t moveEvent(CZRKorEditorIF& editor, std::uint32_t eventID,
                        const typename Family::Value& value) {
    const typename Family::Event* live = nullptr;
    const CZRNodeList* list = nullptr;
    if (const std::uint32_t code = findEvent<Family>(editor, eventID, live, list)) return code;
    if (value.posSec < 0)
        return outOfRange(editor, Family::kBadPosition, value.posSec, 0, kNoLimit);
    if (const std::uint32_t code = Family::check(editor, value, *list)) return code;
    ListEdit<typename Family::Event> edit;
    if (const std::uint32_t code =
            editList<typename Family::ListRecord>(editor, list, eventID, false, edit))
        return code;

    const IZRMutableKorObject* there = edit.list->findByKey(value.posSec);
    if (there != nullptr && there->getObjID() != eventID) return Family::kDuplicated;
    if (Family::kHasHead && edit.element->values().posSec == 0)
        return ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED;
    edit.element->setValues(Family::values(value));
    edit.list->sortByKey();
    edit.record->addChange({eventID, kMusicalChanged, 0});
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

template <class Family>
std::uint32_t insertEvent(CZRKorEditorIF& editor, std::uint32_t listID,
                          const typename Family::Value& value) {
    const auto* list = liveObject<CZRNodeList>(editor, listID);
    if (!Family::ListRecord::covers(list)) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (value.posSec < 0)
        return outOfRange(editor, Family::kBadPosition, value.posSec, 0, kNoLimit);
    if (const std::uint32_t code = Family::check(editor, value, *list)) return code;
    ListEdit<typename Family::Event> edit;
    if (const std::uint32_t code =
            editList<typename Family::ListRecord>(editor, list, ZR_NO_OBJ_ID, false, edit))
        return code;

    if (auto* there = objCast<typename Family::Event>(edit.list->findByKey(value.posSec))) {
        there->setValues(Family::values(value));
        edit.record->addChange({there->getObjID(), kMusicalChanged, 0});
        return 0;
    }
    const auto* event = insertNew(edit, Family::values(value));
    if (event == nullptr) return ZR_E_UPDATE_FAILED;
    edit.record->addChange({event->getObjID(), kMusicalInserted, 0});
    edit.record->addChange({listID, kMusicalChanged, 0});
    return 0;
}

template <class Family> std::uint32_t deleteEvent(CZRKorEditorIF& editor, std::uint32_t eventID) {
    const typename Family::Event* live = nullptr;
    const CZRNodeList* list = nullptr;
    if (const std::uint32_t code = findEvent<Family>(editor, eventID, live, list)) return code;
    ListEdit<typename Family::Event> edit;
    if (const std::uint32_t code =
            editList<typename Family::ListRecord>(editor, list, eventID, true, edit))
        return code;
    if (isDetached(edit.element)) return 0;

    if (Family::kHasHead && edit.element->values().posSec == 0) {
        Family::resetHead(*edit.element);
        edit.record->addChange({eventID, kMusicalChanged, 0});
        return 0;
    }
    if (!edit.list->removeByID(eventID)) return ZR_E_UPDATE_FAILED;
    edit.record->addChange({eventID, kMusicalDeleted, 0});
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

} // namespace

std::uint32_t updateProsodyVoice(CZRKorEditorIF& editor, std::uint32_t voiceID,
                                 const ZRProsodyVoiceValue& value) {
    return updateEvent<VoiceFamily>(editor, voiceID, value);
}
std::uint32_t moveProsodyVoice(CZRKorEditorIF& editor, std::uint32_t voiceID,
                               const ZRProsodyVoiceValue& value) {
    return moveEvent<VoiceFamily>(editor, voiceID, value);
}
std::uint32_t insertProsodyVoice(CZRKorEditorIF& editor, std::uint32_t listID,
                                 const ZRProsodyVoiceValue& value) {
    return insertEvent<VoiceFamily>(editor, listID, value);
}
std::uint32_t deleteProsodyVoice(CZRKorEditorIF& editor, std::uint32_t voiceID) {
    return deleteEvent<VoiceFamily>(editor, voiceID);
}

std::uint32_t updateProsodyElement(CZRKorEditorIF& editor, std::uint32_t elementID,
                                   const ZRProsodyElementValue& value) {
    return updateEvent<ElementFamily>(editor, elementID, value);
}
std::uint32_t moveProsodyElement(CZRKorEditorIF& editor, std::uint32_t elementID,
                                 const ZRProsodyElementValue& value) {
    return moveEvent<ElementFamily>(editor, elementID, value);
}
std::uint32_t insertProsodyElement(CZRKorEditorIF& editor, std::uint32_t listID,
                                   const ZRProsodyElementValue& value) {
    return insertEvent<ElementFamily>(editor, listID, value);
}
std::uint32_t deleteProsodyElement(CZRKorEditorIF& editor, std::uint32_t elementID) {
    return deleteEvent<ElementFamily>(editor, elementID);
}

std::uint32_t updateProsodyControl(CZRKorEditorIF& editor, std::uint32_t controlID,
                                   const ZRProsodyControlValue& value) {
    return updateEvent<ControlFamily>(editor, controlID, value);
}
std::uint32_t moveProsodyControl(CZRKorEditorIF& editor, std::uint32_t controlID,
                                 const ZRProsodyControlValue& value) {
    return moveEvent<ControlFamily>(editor, controlID, value);
}
std::uint32_t insertProsodyControl(CZRKorEditorIF& editor, std::uint32_t listID,
                                   const ZRProsodyControlValue& value) {
    return insertEvent<ControlFamily>(editor, listID, value);
}
std::uint32_t deleteProsodyControl(CZRKorEditorIF& editor, std::uint32_t controlID) {
    return deleteEvent<ControlFamily>(editor, controlID);
}

} // namespace kor
