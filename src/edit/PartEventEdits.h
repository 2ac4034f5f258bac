// The update, move, insert and delete edits of the position-ordered events of a musical part
// (singers, style controls, musical controls), written once over a description of each family.
#pragma once

#include "edit/EditMessages.h"
#include "edit/EditSupport.h"

#include <korman/ErrorCodes.h>

#include <cstdint>

namespace kor {

// A family describes its events to these edits:
//   Event, Value                the event class and the host's value record;
//   ElementRecord, ListRecord   the records of one event and of the list holding it;
//   kDuplicated                 the code of a move onto a position another event holds;
//   kHasHead                    whether the event at position 0 stays (it cannot move, and
//                               deleting it resets it with resetHead(Event&));
//   check(editor, list, value, positioned)
//                               the verdict on `value` for the live list it goes into; the
//                               position counts only when `positioned` (moves and inserts);
//   assign(Event&, value, positioned)
//                               takes the value's attributes, the position only when asked;
//   valuesOf(value)             the values of a new event.
// Each edit returns 0 or its one error code: ZR_E_EDIT_TARGET_NOT_FOUND for a missing event or
// list, the family's checks, the record lookup's codes, ZR_E_EDIT_TARGET_DELETED for an event this
// editor has removed, ZR_E_UPDATE_FAILED when a new event cannot be made or one cannot be removed.

/// Finds the live event `eventID` of the family in its list and checks `value` for that list.
/// 0 or the failing code.
template <class Family>
[[nodiscard]] std::uint32_t findEvent(const EditSession& session, std::uint32_t eventID,
                                      const typename Family::Value& value, bool positioned,
                                      const typename Family::Event*& live) {
    live = liveObject<typename Family::Event>(session, eventID);
    const CZRNodeList* list = live != nullptr ? parentList(*live) : nullptr;
    if (list == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    return Family::check(session, *list, value, positioned);
}

/// Sets the attributes of an event other than its position.
template <class Family>
[[nodiscard]] std::uint32_t updateEvent(EditSession& session, std::uint32_t eventID,
                                        const typename Family::Value& value) {
    using Event = typename Family::Event;
    const Event* live = nullptr;
    if (const std::uint32_t code = findEvent<Family>(session, eventID, value, false, live))
        return code;
    ElementEdit<Event> edit;
    if (const std::uint32_t code = editElement<typename Family::ElementRecord>(session, live, edit))
        return code;
    Family::assign(*edit.object, value, false);
    edit.record->addChange({eventID, kMusicalChanged, edit.object->getPosTick()});
    return 0;
}

/// Sets every attribute of an event, its position included. `Family::kDuplicated` when another
/// event of the list holds the new position; ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED for a head event.
template <class Family>
[[nodiscard]] std::uint32_t moveEvent(EditSession& session, std::uint32_t eventID,
                                      const typename Family::Value& value) {
    using Event = typename Family::Event;
    const Event* live = nullptr;
    if (const std::uint32_t code = findEvent<Family>(session, eventID, value, true, live))
        return code;
    ListEdit<Event> edit;
    if (const std::uint32_t code =
            editList<typename Family::ListRecord>(session, parentList(*live), eventID, false, edit))
        return code;

    const IZRMutableKorObject* there = edit.list->findByKey(value.posTick);
    if (there != nullptr && there->getObjID() != eventID) return Family::kDuplicated;
    const std::int32_t oldPos = edit.element->getPosTick();
    if (Family::kHasHead && oldPos == 0) return ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED;
    Family::assign(*edit.element, value, true);
    edit.list->sortByKey();
    edit.record->addChange({eventID, kMusicalChanged, value.posTick});
    edit.record->addChange({eventID, kMusicalChanged, oldPos});
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

/// Inserts a new event into the list `listID`, which must be a list of the family held by a
/// musical part; an event already at that position takes the value's attributes instead.
template <class Family>
[[nodiscard]] std::uint32_t insertEvent(EditSession& session, std::uint32_t listID,
                                        const typename Family::Value& value) {
    using Event = typename Family::Event;
    using ListRecord = typename Family::ListRecord;
    const auto* live = liveObject<CZRNodeList>(session, listID);
    if (live == nullptr || !ListRecord::covers(live)) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = Family::check(session, *live, value, true)) return code;
    ListEdit<Event> edit;
    if (const std::uint32_t code = editList<ListRecord>(session, live, ZR_NO_OBJ_ID, false, edit))
        return code;

    if (auto* there = objCast<Event>(edit.list->findByKey(value.posTick))) {
        Family::assign(*there, value, false);
        edit.record->addChange({there->getObjID(), kMusicalChanged, value.posTick});
        session.noteInserted(there->getObjID());
        return 0;
    }
    const Event* event = insertNew(edit, Family::valuesOf(value));
    if (event == nullptr) return ZR_E_UPDATE_FAILED;
    edit.record->addChange({event->getObjID(), kMusicalInserted, value.posTick});
    session.noteInserted(event->getObjID());
    edit.record->addChange({listID, kMusicalChanged, 0});
    return 0;
}

/// Removes an event from its list; a head event stays and is reset instead. An event already
/// removed by this editor is left alone.
template <class Family>
[[nodiscard]] std::uint32_t deleteEvent(EditSession& session, std::uint32_t eventID) {
    using Event = typename Family::Event;
    const auto* live = liveObject<Event>(session, eventID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    ListEdit<Event> edit;
    if (const std::uint32_t code =
            editList<typename Family::ListRecord>(session, parentList(*live), eventID, true, edit))
        return code;
    if (isDetached(edit.element)) return 0;

    const std::int32_t pos = edit.element->getPosTick();
    if constexpr (Family::kHasHead) {
        if (pos == 0) {
            Family::resetHead(*edit.element);
            edit.record->addChange({eventID, kMusicalChanged, 0});
            return 0;
        }
    }
    if (!edit.list->removeByID(eventID)) return ZR_E_UPDATE_FAILED;
    edit.record->addChange({eventID, kMusicalDeleted, pos});
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

/// The verdict on the position of a control: not negative, and not beyond the editor's upper
/// tick limit when the policy sets one. 0 or `invalid`, explained.
inline std::uint32_t checkControlPosition(const EditSession& session, std::int32_t posTick,
                                          std::uint32_t invalid) {
    const int limit = session.policy().maxNoteTick;
    if (posTick >= 0 && (limit == -1 || posTick <= limit)) return 0;
    return outOfRange(session, invalid, posTick, 0, limit == -1 ? kNoLimit : limit);
}

} // namespace kor
