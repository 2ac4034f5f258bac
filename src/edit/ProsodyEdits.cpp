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

    static std::uint32_t check(const EditSession& session, const Value& value, const CZRNodeList&) {
        return checkVVoice(session, value.vBS, value.vPC);
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

    static std::uint32_t check(const EditSession&, const Value&, const CZRNodeList&) { return 0; }
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
    static std::uint32_t check(const EditSession& session, const Value& value,
                               const CZRNodeList& list) {
        if (value.type < 0 || value.type >= CZRProsodyPart::kControlTypes)
            return outOfRange(session, ZR_E_INVALID_PROSODY_CONTROL_ID, value.type, 0,
                              CZRProsodyPart::kControlTypes - 1);
        if (value.type != list.getListTypeEx())
            return session.explain(ZR_E_INVALID_PROSODY_CONTROL_ID,
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
std::uint32_t findEvent(const EditSession& session, std::uint32_t eventID,
                        const typename Family::Event*& event, const CZRNodeList*& list) {
    event = liveObject<typename Family::Event>(session, eventID);
    list = event != nullptr ? parentList(*event) : nullptr;
    return list != nullptr ? 0 : ZR_E_EDIT_TARGET_NOT_FOUND;
}

template <class Family>
std::uint32_t updateEvent(EditSession& session, std::uint32_t eventID,
                          const typename Family::Value& value) {
    const typename Family::Event* live = nullptr;
    const CZRNodeList* list = nullptr;
    if (const std::uint32_t code = findEvent<Family>(session, eventID, live, list)) return code;
    if (const std::uint32_t code = Family::check(session, value, *list)) return code;
    ElementEdit<typename Family::Event> edit;
    if (const std::uint32_t code = editElement<typename Family::ElementRecord>(session, live, edit))
        return code;
    const std::int32_t posSec = edit.object->values().posSec;
    edit.object->setValues(Family::values(value));
    edit.object->values().posSec = posSec;
    edit.record->addChange({eventID, kMusicalChanged, 0});
    return 0;
}

template <class Family>
std::uint32_t moveEvent(EditSession& session, std::uint32_t eventID,
                        const typename Family::Value& value) {
    const typename Family::Event* live = nullptr;
    const CZRNodeList* list = nullptr;
    if (const std::uint32_t code = findEvent<Family>(session, eventID, live, list)) return code;
    if (value.posSec < 0)
        return outOfRange(session, Family::kBadPosition, value.posSec, 0, kNoLimit);
    if (const std::uint32_t code = Family::check(session, value, *list)) return code;
    ListEdit<typename Family::Event> edit;
    if (const std::uint32_t code =
            editList<typename Family::ListRecord>(session, list, eventID, false, edit))
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
std::uint32_t insertEvent(EditSession& session, std::uint32_t listID,
                          const typename Family::Value& value) {
    const auto* list = liveListOf<typename Family::ListRecord>(session, listID);
    if (list == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (value.posSec < 0)
        return outOfRange(session, Family::kBadPosition, value.posSec, 0, kNoLimit);
    if (const std::uint32_t code = Family::check(session, value, *list)) return code;
    ListEdit<typename Family::Event> edit;
    if (const std::uint32_t code =
            editList<typename Family::ListRecord>(session, list, ZR_NO_OBJ_ID, false, edit))
        return code;

    if (auto* there = objCast<typename Family::Event>(edit.list->findByKey(value.posSec))) {
        there->setValues(Family::values(value));
        edit.record->addChange({there->getObjID(), kMusicalChanged, 0});
        session.noteInserted(there->getObjID());
        return 0;
    }
    const auto* event = insertNew(edit, Family::values(value));
    if (event == nullptr) return ZR_E_UPDATE_FAILED;
    edit.record->addChange({event->getObjID(), kMusicalInserted, 0});
    session.noteInserted(event->getObjID());
    edit.record->addChange({listID, kMusicalChanged, 0});
    return 0;
}

template <class Family> std::uint32_t deleteEvent(EditSession& session, std::uint32_t eventID) {
    const typename Family::Event* live = nullptr;
    const CZRNodeList* list = nullptr;
    if (const std::uint32_t code = findEvent<Family>(session, eventID, live, list)) return code;
    ListEdit<typename Family::Event> edit;
    if (const std::uint32_t code =
            editList<typename Family::ListRecord>(session, list, eventID, true, edit))
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

std::uint32_t updateProsodyVoice(EditSession& session, std::uint32_t voiceID,
                                 const ZRProsodyVoiceValue& value) {
    return updateEvent<VoiceFamily>(session, voiceID, value);
}
std::uint32_t moveProsodyVoice(EditSession& session, std::uint32_t voiceID,
                               const ZRProsodyVoiceValue& value) {
    return moveEvent<VoiceFamily>(session, voiceID, value);
}
std::uint32_t insertProsodyVoice(EditSession& session, std::uint32_t listID,
                                 const ZRProsodyVoiceValue& value) {
    return insertEvent<VoiceFamily>(session, listID, value);
}
std::uint32_t deleteProsodyVoice(EditSession& session, std::uint32_t voiceID) {
    return deleteEvent<VoiceFamily>(session, voiceID);
}

std::uint32_t updateProsodyElement(EditSession& session, std::uint32_t elementID,
                                   const ZRProsodyElementValue& value) {
    return updateEvent<ElementFamily>(session, elementID, value);
}
std::uint32_t moveProsodyElement(EditSession& session, std::uint32_t elementID,
                                 const ZRProsodyElementValue& value) {
    return moveEvent<ElementFamily>(session, elementID, value);
}
std::uint32_t insertProsodyElement(EditSession& session, std::uint32_t listID,
                                   const ZRProsodyElementValue& value) {
    return insertEvent<ElementFamily>(session, listID, value);
}
std::uint32_t deleteProsodyElement(EditSession& session, std::uint32_t elementID) {
    return deleteEvent<ElementFamily>(session, elementID);
}

std::uint32_t updateProsodyControl(EditSession& session, std::uint32_t controlID,
                                   const ZRProsodyControlValue& value) {
    return updateEvent<ControlFamily>(session, controlID, value);
}
std::uint32_t moveProsodyControl(EditSession& session, std::uint32_t controlID,
                                 const ZRProsodyControlValue& value) {
    return moveEvent<ControlFamily>(session, controlID, value);
}
std::uint32_t insertProsodyControl(EditSession& session, std::uint32_t listID,
                                   const ZRProsodyControlValue& value) {
    return insertEvent<ControlFamily>(session, listID, value);
}
std::uint32_t deleteProsodyControl(EditSession& session, std::uint32_t controlID) {
    return deleteEvent<ControlFamily>(session, controlID);
}

} // namespace kor
