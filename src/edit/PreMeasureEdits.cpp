#include "edit/PreMeasureEdits.h"

#include "edit/EditMessages.h"
#include "edit/EditRecords.h"
#include "edit/EditSupport.h"

#include <cassert>
#include <limits>
#include <optional>

namespace kor {

namespace {

/// The shared part fields of a musical, prosody or WAV part; null for anything else.
CZRPart* partFields(IZRMutableKorObject* element) {
    if (auto* musical = objCast<CZRMusicalPart>(element)) return &musical->part();
    if (auto* prosody = objCast<CZRProsodyPart>(element)) return &prosody->part();
    if (auto* wav = objCast<CZRWAVPart>(element)) return &wav->part();
    return nullptr;
}

/// `posTick` + `delta` when that is a valid position (0 to the largest 32-bit one).
std::optional<std::int32_t> shifted(std::int32_t posTick, std::int32_t delta) {
    const std::int64_t moved = std::int64_t{posTick} + delta;
    if (moved < 0 || moved > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(moved);
}

} // namespace

std::uint32_t editMasterTrack(EditSession& session, const CZRMasterTrack* live,
                              MasterTrackEdit& edit) {
    std::uint32_t error = 0;
    edit.record = session.recordFor<CZREditMasterTrack>(live, error);
    if (edit.record == nullptr) return error;
    edit.master = EditSession::workingObject<CZRMasterTrack>(*edit.record, live->getObjID(), error);
    return error;
}

bool SongShift::plan(EditSession& session, std::int32_t from, std::int32_t delta) {
    const CZRSequence* sequence = editedSequence(session);
    const CZRMasterTrack* master = sequence != nullptr ? sequence->masterTrack() : nullptr;
    if (from < 0 || master == nullptr || !planTempos(session, *master, from, delta)) return false;
    if (const CZRNodeList* tracks = sequence->zrTrackList())
        for (IZRMutableKorObject* element : tracks->elements())
            if (const auto* track = objCast<CZRZRTrack>(element); track && track->partList())
                if (!planParts<CZREditZRPartList>(session, track->partList(), delta)) return false;
    for (const CZRWAVTrack* track : {sequence->seTrack(), sequence->karaokeTrack()})
        if (track != nullptr && track->wavPartList() != nullptr)
            if (!planParts<CZREditWAVPartList>(session, track->wavPartList(), delta)) return false;
    return true;
}

bool SongShift::planTempos(EditSession& session, const CZRMasterTrack& master, std::int32_t from,
                           std::int32_t delta) {
    ListEdit<CZRTempo> edit;
    if (editList<CZREditTempoList>(session, master.tempoList(), ZR_NO_OBJ_ID, false, edit) != 0)
        return false;
    tempoRecord_ = edit.record;
    tempoList_ = edit.list;
    // Only the tempos from the area's old end on move; the ones before it stay put. A moved
    // tempo that would land before that end, among the ones that stay, is dropped instead.
    const std::vector<IZRMutableKorObject*>& elements = edit.list->elements();
    for (std::size_t i = 1; i < elements.size(); ++i) {
        auto* tempo = objCast<CZRTempo>(elements[i]);
        if (tempo == nullptr || tempo->getPosTick() < from) continue;
        const std::optional<std::int32_t> moved = shifted(tempo->getPosTick(), delta);
        if (!moved) return false;
        const bool drop = *moved < from;
        tempos_.push_back({tempo, drop ? tempo->getPosTick() : *moved, drop});
    }
    return true;
}

template <class Record>
bool SongShift::planParts(EditSession& session, const CZRNodeList* live, std::int32_t delta) {
    ListEdit<CZRNodeList> edit;
    if (editList<Record>(session, live, ZR_NO_OBJ_ID, false, edit) != 0) return false;
    for (IZRMutableKorObject* element : edit.list->elements()) {
        CZRPart* part = partFields(element);
        if (part == nullptr) continue;
        const std::optional<std::int32_t> moved = shifted(part->getPosTick(), delta);
        if (!moved) return false;
        parts_.push_back({edit.record, part, *moved});
    }
    return true;
}

void SongShift::apply() const {
    for (const TempoStep& step : tempos_) {
        const std::uint32_t tempoID = step.tempo->getObjID();
        if (step.drop) {
            [[maybe_unused]] const bool removed = tempoList_->removeByID(tempoID);
            assert(removed && "the plan took the tempo from this list");
            tempoRecord_->addChange({tempoID, kTempoDeleted, step.posTick});
        } else {
            step.tempo->values().posTick = step.posTick;
            tempoRecord_->addChange({tempoID, kTempoChanged, step.posTick});
        }
    }
    for (const PartStep& step : parts_) {
        step.part->setPosTick(step.posTick);
        step.record->addChange({step.part->getObjID(), kMusicalChanged, step.posTick});
    }
}

std::uint32_t listPreMeasureEvents(const EditSession& session, std::uint32_t masterID,
                                   std::vector<std::uint32_t>& timeSigIDs,
                                   std::vector<std::uint32_t>& tempoIDs) {
    timeSigIDs.clear();
    tempoIDs.clear();
    const auto* master = liveObject<CZRMasterTrack>(session, masterID);
    if (master == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    const auto collect = [](const CZRNodeList* list, std::int32_t end,
                            std::vector<std::uint32_t>& ids) {
        if (list == nullptr) return;
        for (std::size_t i = 1; i < list->elements().size(); ++i)
            if (list->elements()[i]->getSortKey() < end)
                ids.push_back(list->elements()[i]->getObjID());
    };
    collect(master->timeSigList(), master->getPreMeasure(), timeSigIDs);
    collect(master->tempoList(), master->getPreMeasureTick(), tempoIDs);
    return 0;
}

std::uint32_t setPreMeasure(EditSession& session, std::uint32_t masterID, std::int32_t count) {
    if (count < 1 || count > kMaxPreMeasure)
        return outOfRange(session, ZR_E_INVALID_PREMEASURE, count, 1, kMaxPreMeasure);
    const auto* live = liveObject<CZRMasterTrack>(session, masterID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    MasterTrackEdit edit;
    if (const std::uint32_t code = editMasterTrack(session, live, edit)) return code;
    const std::int32_t old = edit.master->getPreMeasure();
    if (const std::uint32_t code = changeFrontMeasures(
            session, *edit.master,
            [&] {
                edit.master->setPreMeasure(count);
                return true;
            },
            [&] { edit.master->setPreMeasure(old); }))
        return code;
    edit.record->addChange({masterID, ZR_CHANGE_MODIFIED, 0});
    return 0;
}

} // namespace kor
