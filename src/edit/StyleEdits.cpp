#include "edit/StyleEdits.h"

#include "edit/EditRecords.h"
#include "edit/PartEventEdits.h"
#include "platform/XmlChars.h"

#include <new>

namespace kor {

namespace {

/// Whether `list` is kept by its musical part under `name`, among its style controls or its
/// phrase styles.
bool isListNamed(const CZRNodeList& list, const std::wstring& name) {
    const auto* part = objCast<CZRMusicalPart>(list.getParent());
    return part != nullptr && (findMapList(part->styleControlLists(), name) == &list ||
                               findMapList(part->phraseStyleLists(), name) == &list);
}

struct StyleControls {
    using Event = CZRStyleControl;
    using Value = ZRStyleControlValue;
    using ElementRecord = CZREditStyleControl;
    using ListRecord = CZREditStyleControlList;
    static constexpr std::uint32_t kDuplicated = ZR_E_STYLE_CONTROLS_ARE_DUPLICATED;
    static constexpr bool kHasHead = false;

    // A part keeps the style controls of one name in one list; a control's name is its list's.
    static std::uint32_t check(const EditSession& session, const CZRNodeList& list,
                               const Value& value, bool positioned) {
        if (positioned)
            if (const std::uint32_t code = checkControlPosition(
                    session, value.posTick, ZR_E_INVALID_STYLE_CONTROL_POSITION))
                return code;
        if (value.id.empty() || value.id.size() > CZRStyleControl::kMaxIDLength)
            return session.explain(ZR_E_INVALID_STYLE_CONTROL_ID, L"%ls",
                                   lengthDetail(ZR_E_INVALID_STYLE_CONTROL_ID, nullptr,
                                                value.id.size(), 1, CZRStyleControl::kMaxIDLength)
                                       .c_str());
        if (!isListNamed(list, value.id))
            return session.explain(ZR_E_INVALID_STYLE_CONTROL_ID,
                                   L"Style control name \"%ls\" is not the name of the list %u.",
                                   value.id.c_str(), list.getObjID());
        return 0;
    }
    static void assign(Event& control, const Value& value, bool positioned) {
        if (positioned) control.values().posTick = value.posTick;
        control.values().val = value.value;
    }
    static ZRStyleControlValues valuesOf(const Value& value) {
        return {value.posTick, value.id, value.value};
    }
};

} // namespace

std::uint32_t setPartStyleAttrib(EditSession& session, std::uint32_t attribID,
                                 const std::wstring& givenID, std::int32_t value) {
    // An ID is written as an attribute, which carries every character a song file can.
    std::wstring styleID = givenID;
    platform::replaceNonXmlChars(styleID);
    const auto* live = liveObject<CZRPartStyleAttrib>(session, attribID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (styleID.empty() || styleID.size() > CZRPartStyleAttrib::kMaxIDLength)
        return session.explain(ZR_E_INVALID_PART_STYLE_ATTRIBUTE_ID, L"%ls",
                               lengthDetail(ZR_E_INVALID_PART_STYLE_ATTRIBUTE_ID, nullptr,
                                            styleID.size(), 1, CZRPartStyleAttrib::kMaxIDLength)
                                   .c_str());
    ElementEdit<CZRPartStyleAttrib> edit;
    if (const std::uint32_t code = editElement<CZREditPartStyleAttrib>(session, live, edit))
        return code;
    try {
        edit.object->setValue(styleID, value);
    } catch (const std::bad_alloc&) {
        return ZR_E_UPDATE_FAILED;
    }
    edit.record->addChange({attribID, kMusicalChanged, 0});
    return 0;
}

std::uint32_t clearPartStyleAttrib(EditSession& session, std::uint32_t attribID) {
    const auto* live = liveObject<CZRPartStyleAttrib>(session, attribID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    ElementEdit<CZRPartStyleAttrib> edit;
    if (const std::uint32_t code = editElement<CZREditPartStyleAttrib>(session, live, edit))
        return code;
    edit.object->clearValues();
    edit.record->addChange({attribID, kMusicalChanged, 0});
    return 0;
}

std::uint32_t updateStyleControl(EditSession& session, std::uint32_t controlID,
                                 const ZRStyleControlValue& value) {
    return updateEvent<StyleControls>(session, controlID, value);
}

std::uint32_t moveStyleControl(EditSession& session, std::uint32_t controlID,
                               const ZRStyleControlValue& value) {
    return moveEvent<StyleControls>(session, controlID, value);
}

std::uint32_t insertStyleControl(EditSession& session, std::uint32_t listID,
                                 const ZRStyleControlValue& value) {
    return insertEvent<StyleControls>(session, listID, value);
}

std::uint32_t deleteStyleControl(EditSession& session, std::uint32_t controlID) {
    return deleteEvent<StyleControls>(session, controlID);
}

} // namespace kor
