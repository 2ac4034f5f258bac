#include "edit/MusicalControlEdits.h"

#include "edit/EditRecords.h"
#include "edit/PartEventEdits.h"

namespace kor {

namespace {

struct MusicalControls {
    using Event = CZRMusicalControl;
    using Value = ZRMusicalControlValue;
    using ElementRecord = CZREditMusicalControl;
    using ListRecord = CZREditMusicalControlList;
    static constexpr std::uint32_t kDuplicated = ZR_E_MUSICAL_CONTROLS_ARE_DUPLICATED;
    static constexpr bool kHasHead = false;

    // A part keeps one list per kind, marked with the kind; a control belongs in its kind's list.
    static std::uint32_t check(const EditSession& session, const CZRNodeList& list,
                               const Value& value, bool positioned) {
        if (positioned)
            if (const std::uint32_t code = checkControlPosition(
                    session, value.posTick, ZR_E_INVALID_MUSICAL_CONTROL_POSITION))
                return code;
        if (value.type < 0 || value.type >= kMusicalControlTypes)
            return outOfRange(session, ZR_E_INVALID_MUSICAL_CONTROL_ID, value.type, 0,
                              kMusicalControlTypes - 1);
        if (value.type != list.getListTypeEx())
            return session.explain(ZR_E_INVALID_MUSICAL_CONTROL_ID,
                                   L"Musical control kind %d is not the kind %d of the list %u.",
                                   value.type, list.getListTypeEx(), list.getObjID());
        return 0;
    }
    static void assign(Event& control, const Value& value, bool positioned) {
        if (positioned) control.values().posTick = value.posTick;
        control.values().value = value.value;
    }
    static ZRMusicalControlValues valuesOf(const Value& value) {
        return {value.posTick, value.type, value.value};
    }
};

} // namespace

std::uint32_t updateMusicalControl(EditSession& session, std::uint32_t controlID,
                                   const ZRMusicalControlValue& value) {
    return updateEvent<MusicalControls>(session, controlID, value);
}

std::uint32_t moveMusicalControl(EditSession& session, std::uint32_t controlID,
                                 const ZRMusicalControlValue& value) {
    return moveEvent<MusicalControls>(session, controlID, value);
}

std::uint32_t insertMusicalControl(EditSession& session, std::uint32_t listID,
                                   const ZRMusicalControlValue& value) {
    return insertEvent<MusicalControls>(session, listID, value);
}

std::uint32_t deleteMusicalControl(EditSession& session, std::uint32_t controlID) {
    return deleteEvent<MusicalControls>(session, controlID);
}

} // namespace kor
