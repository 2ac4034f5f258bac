#include "edit/MusicalPartEdits.h"

#include "edit/EditMessages.h"
#include "edit/EditRecords.h"
#include "edit/EditSupport.h"
#include "model/Builders.h"

#include <algorithm>

namespace kor {

namespace {

ZRPartValues partValues(const ZRMusicalPartValue& value) {
    return {value.posTick, value.playTime, value.name, value.comment};
}

// Links the part that `make` builds in the store of the part list record into the copy of
// `live`, once that list has room for one more part. The room is counted on the copy, so the
// parts this editor has inserted or removed already count as they will be committed.
template <class Make>
std::uint32_t insertPart(EditSession& session, const CZRNodeList& live, Make make) {
    ListEdit<CZRMusicalPart> edit;
    if (const std::uint32_t code =
            editList<CZREditZRPartList>(session, &live, ZR_NO_OBJ_ID, false, edit))
        return code;
    if (const std::uint32_t code = checkRoomForPart(session, *edit.list)) return code;
    CZRMusicalPart* part = make(*edit.record);
    if (part == nullptr) return ZR_E_UPDATE_FAILED;
    if (!edit.list->insertSorted(part)) {
        edit.record->storeContext().registry.destroy(part->getObjID());
        return ZR_E_UPDATE_FAILED;
    }
    edit.record->addChange({part->getObjID(), kMusicalInserted, part->getPosTick()});
    session.noteInserted(part->getObjID());
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

// Inserts a new part built from `value`, its first singer singing `voice` (the default voice
// when null).
std::uint32_t insertBuiltPart(EditSession& session, std::uint32_t partListID,
                              const ZRMusicalPartValue& value, const ZRSingerValue* voice) {
    const CZRNodeList* live = liveListOf<CZREditZRPartList>(session, partListID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkPlayTime(session, value.playTime)) return code;
    if (const std::uint32_t code = checkPartStart(session, value.posTick)) return code;
    if (voice != nullptr)
        if (const std::uint32_t code = checkVVoice(session, voice->vBS, voice->vPC)) return code;
    return insertPart(session, *live, [&](AZREditCommand& record) {
        CZRMusicalPart* part =
            buildMusicalPart(record.storeContext(), partValues(value), session.host().vvoiceTable(),
                             session.host().defaultVVoice());
        const CZRNodeList* singers = part != nullptr ? part->singerList() : nullptr;
        auto* head =
            singers != nullptr ? objCast<CZRMusicalSinger>(singers->elementAt(0)) : nullptr;
        if (voice != nullptr && head != nullptr) {
            head->values().vBS = voice->vBS;
            head->values().vPC = voice->vPC;
        }
        return part;
    });
}

// Inserts a copy of the song's musical part `sourceID` into `partListID`, placed and named as
// `place` says for that source.
template <class Place>
std::uint32_t insertCopy(EditSession& session, std::uint32_t partListID, std::uint32_t sourceID,
                         Place place) {
    const CZRNodeList* live = liveListOf<CZREditZRPartList>(session, partListID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    const IZRMutableKorObject* found = session.document().objects().lookup(sourceID);
    if (found == nullptr) return ZR_E_COPY_SOURCE_NOT_FOUND;
    const auto* source = objCast<CZRMusicalPart>(found);
    if (source == nullptr) return ZR_E_EDIT_TARGET_WRONG_TYPE;

    const ZRPartValues values = place(*source);
    if (const std::uint32_t code = checkPlayTime(session, values.playTime)) return code;
    if (const std::uint32_t code = checkPartStart(session, values.posTick)) return code;
    if (endsPastTickLimit(session, values.posTick, source->contentLength()))
        return pastTickLimit(session, ZR_E_INVALID_PART_DURATION, L"The copied part's content",
                             values.posTick, source->contentLength());
    return insertPart(session, *live, [&](AZREditCommand& record) {
        CZRMusicalPart* copy = deepCopy(record.storeContext(), *source);
        if (copy != nullptr) copy->part().setValues(values);
        return copy;
    });
}

} // namespace

std::int32_t shortestPlayTime(const ZRKorManagementPolicy& policy) {
    return std::max(policy.minPlayTime, CZRPart::kMinPlayTime);
}

std::uint32_t checkPlayTime(const EditSession& session, std::int64_t playTime) {
    const ZRKorManagementPolicy& policy = session.policy();
    const bool tooLong = policy.maxPlayTime != -1 && playTime > policy.maxPlayTime;
    if (playTime >= shortestPlayTime(policy) && !tooLong) return 0;
    return session.explain(
        ZR_E_INVALID_PART_PLAY_TIME, L"%ls (the policy's shortest and longest play time)",
        rangeDetail(L"Play time", playTime, shortestPlayTime(policy),
                    policy.maxPlayTime != -1 ? policy.maxPlayTime : kNoLimit, L" ticks")
            .c_str());
}

std::uint32_t checkRoomForPart(const EditSession& session, const CZRNodeList& parts) {
    const int most = session.policy().maxPartsPerTrack;
    if (most == -1 || parts.getCount() < static_cast<std::uint32_t>(most)) return 0;
    return session.explain(ZR_E_INVALID_PART_NUMBER,
                           L"The track holds %u parts, the most the policy's maxPartsPerTrack "
                           L"allows.",
                           parts.getCount());
}

std::uint32_t updateMusicalPart(EditSession& session, std::uint32_t partID,
                                const ZRMusicalPartValue& value) {
    const auto* live = liveObject<CZRMusicalPart>(session, partID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkPlayTime(session, value.playTime)) return code;
    ElementEdit<CZRMusicalPart> edit;
    if (const std::uint32_t code = editElement<CZREditMusicalPart>(session, live, edit))
        return code;
    CZRPart& part = edit.object->part();
    part.setValues({part.getPosTick(), value.playTime, value.name, value.comment});
    edit.record->addChange({partID, kMusicalChanged, part.getPosTick()});
    return 0;
}

std::uint32_t moveMusicalPart(EditSession& session, std::uint32_t partID,
                              const ZRMusicalPartValue& value) {
    const auto* live = liveObject<CZRMusicalPart>(session, partID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkPlayTime(session, value.playTime)) return code;
    if (const std::uint32_t code = checkPartStart(session, value.posTick)) return code;
    ListEdit<CZRMusicalPart> edit;
    if (const std::uint32_t code =
            editList<CZREditZRPartList>(session, parentList(*live), partID, false, edit))
        return code;
    edit.element->part().setValues(partValues(value));
    edit.list->sortByKey();
    edit.record->addChange({partID, kMusicalChanged, value.posTick});
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

std::uint32_t insertMusicalPart(EditSession& session, std::uint32_t partListID,
                                const ZRMusicalPartValue& value) {
    return insertBuiltPart(session, partListID, value, nullptr);
}

std::uint32_t insertMusicalPartWithSinger(EditSession& session, std::uint32_t partListID,
                                          const ZRMusicalPartValue& value,
                                          const ZRSingerValue& singer) {
    return insertBuiltPart(session, partListID, value, &singer);
}

std::uint32_t copyMusicalPart(EditSession& session, std::uint32_t partListID, std::int32_t posTick,
                              std::uint32_t sourcePartID) {
    return insertCopy(session, partListID, sourcePartID, [&](const CZRMusicalPart& source) {
        return ZRPartValues{posTick, source.getPlayTime(), source.getName(), source.getComment()};
    });
}

std::uint32_t copyMusicalPartTo(EditSession& session, std::uint32_t partListID,
                                const ZRMusicalPartValue& value, std::uint32_t sourcePartID) {
    return insertCopy(session, partListID, sourcePartID,
                      [&](const CZRMusicalPart&) { return partValues(value); });
}

std::uint32_t deleteMusicalPart(EditSession& session, std::uint32_t partID) {
    return removeFromList<CZREditZRPartList, CZRMusicalPart>(session, partID, kMusicalDeleted,
                                                             kMusicalChanged);
}

} // namespace kor
