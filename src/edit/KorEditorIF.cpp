#include "edit/KorEditorIF.h"

#include "edit/CommitHistory.h"
#include "edit/EditMessages.h"
#include "edit/MusicalControlEdits.h"
#include "edit/MusicalPartEdits.h"
#include "edit/NoteEdits.h"
#include "edit/PartMergeDivideEdits.h"
#include "edit/PreMeasureEdits.h"
#include "edit/ProsodyEdits.h"
#include "edit/SingerEdits.h"
#include "edit/StyleEdits.h"
#include "edit/TempoEdits.h"
#include "edit/TimeSigEdits.h"
#include "edit/WAVPartEdits.h"
#include "edit/ZRTrackEdits.h"
#include "model/KorDocument.h"

#include <algorithm>

CZRKorEditorIF::CZRKorEditorIF(IZREditorHost& host, const ZRKorManagementPolicy& policy,
                               CZRKorDocument& document, CZRCommitHistory& history)
    : host_(host)
    , policy_(policy)
    , document_(&document)
    , history_(&history) {}

int CZRKorEditorIF::commit() {
    return run([&] { return commitPending(); }, Kind::kOther);
}

std::uint32_t CZRKorEditorIF::commitPending() {
    if (committed_ != 0 || pending_.empty()) return 0;

    std::uint64_t largest = 0;
    for (const auto& record : pending_)
        if (!record->isCommitMarker()) largest = std::max(largest, record->copySize());
    if (!history_->hasHeadroomFor(2 * largest)) {
        discard();
        return ZR_E_NOT_ENOUGH_MEMORY;
    }
    for (const auto& record : pending_)
        record->prepareCommit();

    std::vector<std::uint32_t> ids;
    // The history takes the records only when it can apply them all; otherwise they stay pending
    // and the song is as it was.
    if (!history_->commit(pending_, ids)) return ZR_E_NOT_ENOUGH_MEMORY;
    ++committed_;
    host_.notifyObservers(ids);
    return 0;
}

void CZRKorEditorIF::discard() {
    start();
    if (isDetached()) finish(refusal(Kind::kOther));
    pending_.clear();
}

void CZRKorEditorIF::detach() noexcept {
    pending_.clear();
    document_ = nullptr;
    history_ = nullptr;
}

void CZRKorEditorIF::start() noexcept {
    lastError_ = 0;
    lastErrorMessage_.clear();
    detailCode_ = 0;
}

int CZRKorEditorIF::finish(std::uint32_t code) noexcept {
    lastError_ = code;
    if (code != 0 && code == detailCode_) {
        try {
            lastErrorMessage_ = getErrorMessage(code);
            lastErrorMessage_ += L' ';
            lastErrorMessage_ += detail_;
        } catch (...) {
            lastErrorMessage_.clear(); // the table text stands alone
        }
    }
    return code == 0 ? 1 : 0;
}

std::uint32_t CZRKorEditorIF::refusal(Kind kind) const {
    if (isDetached())
        return explain(ZR_E_EDITOR_DETACHED,
                       L"The manager replaced or closed the song; release this editor "
                       L"(editReleaseKorEditor) and take a new one (editGetKorEditor).");
    // An edit after the one commit could never reach the song: refusing it tells the host at
    // once, where accepting it would lose it at release.
    if (kind == Kind::kEdit && committed_ != 0)
        return explain(ZR_E_EDITOR_COMMITTED,
                       L"An editor commits once; release it (editReleaseKorEditor) and take a new "
                       L"one (editGetKorEditor) for further edits.");
    return 0;
}

AZREditCommand* CZRKorEditorIF::obtainRecord(const IZRKorObject& target, std::int32_t kind,
                                             RecordUse use, IsWanted isWanted, MakeRecord make,
                                             std::uint32_t& error) {
    const bool movesOnly = use == RecordUse::kMoveElements;
    const std::uint32_t targetID = target.getObjID();
    const auto same = std::find_if(pending_.begin(), pending_.end(), [&](const auto& record) {
        return record->objectID() == targetID;
    });
    if (same != pending_.end() && isWanted(**same)) {
        if (!movesOnly) (*same)->widen();
        return same->get();
    }
    if (AZREditCommand* shared = findSharedRecord(target, error)) {
        shared->widen();
        return shared;
    }
    if (error != 0) return nullptr;

    // A record of moves alone holds a few elements, not the list below its target.
    const auto* live = dynamic_cast<const IZRMutableKorObject*>(&target);
    const std::uint64_t size = live == nullptr ? 0
                               : kind == AZREditCommand::kElement || movesOnly
                                   ? live->getSize()
                                   : kor::subtreeSize(live);
    error = ZR_E_NOT_ENOUGH_MEMORY;
    if (!host_.hasMemoryHeadroom(2 * size)) return nullptr;
    // Running out of memory here leaves through the editor's boundary as that same error.
    std::unique_ptr<AZREditCommand> record = make(targetID, document_);
    if (!(movesOnly ? record->captureForMoves() : record->capture())) return nullptr;
    pending_.push_back(std::move(record));
    error = 0;
    return pending_.back().get();
}

// Two records may not cover one object: a pending record of the target or of anything below it
// conflicts, and so does an element record above it; a list record above it already holds the
// target's copy and takes the edit.
AZREditCommand* CZRKorEditorIF::findSharedRecord(const IZRKorObject& target,
                                                 std::uint32_t& error) const {
    const CZRObjectTable& live = document_->objects();
    std::vector<std::uint32_t> path;
    for (const auto& record : pending_) {
        const IZRMutableKorObject* covered = live.lookup(record->objectID());
        if (covered == nullptr) continue;
        covered->getObjIDPath(path);
        if (std::find(path.begin(), path.end(), target.getObjID()) != path.end()) {
            error = kor::explainConflict(*this, *covered, target);
            return nullptr;
        }
    }
    target.getObjIDPath(path);
    for (const auto& record : pending_) {
        if (std::find(path.begin(), path.end(), record->objectID()) == path.end()) continue;
        if (record->kind() == AZREditCommand::kList) return record.get();
        const IZRMutableKorObject* covered = live.lookup(record->objectID());
        error =
            covered != nullptr ? kor::explainConflict(*this, *covered, target) : ZR_E_EDIT_CONFLICT;
        return nullptr;
    }
    return nullptr;
}

// The tempo family.

int CZRKorEditorIF::updateTempo(std::uint32_t tempoID, const ZRTempoValue& value) {
    return run([&] { return kor::updateTempo(*this, tempoID, value); });
}

int CZRKorEditorIF::moveTempo(std::uint32_t tempoID, const ZRTempoValue& value) {
    return run([&] { return kor::moveTempo(*this, tempoID, value); });
}

int CZRKorEditorIF::insertTempo(const ZRTempoValue& value) {
    return run([&] { return kor::insertTempo(*this, value); });
}

int CZRKorEditorIF::deleteTempo(std::uint32_t tempoID) {
    return run([&] { return kor::deleteTempo(*this, tempoID); });
}

// Time signatures, the pre-measure, singers, part styles, style and musical controls.

int CZRKorEditorIF::updateTimeSig(std::uint32_t timeSigID, const ZRTimeSigValue& value) {
    return run([&] { return kor::updateTimeSig(*this, timeSigID, value); });
}

int CZRKorEditorIF::moveTimeSig(std::uint32_t timeSigID, const ZRTimeSigValue& value) {
    return run([&] { return kor::moveTimeSig(*this, timeSigID, value); });
}

int CZRKorEditorIF::insertTimeSig(const ZRTimeSigValue& value) {
    return run([&] { return kor::insertTimeSig(*this, value); });
}

int CZRKorEditorIF::deleteTimeSig(std::uint32_t timeSigID) {
    return run([&] { return kor::deleteTimeSig(*this, timeSigID); });
}

int CZRKorEditorIF::listPreMeasureEvents(std::uint32_t masterTrackID,
                                         std::vector<std::uint32_t>& timeSigIDs,
                                         std::vector<std::uint32_t>& tempoIDs) {
    return run(
        [&] { return kor::listPreMeasureEvents(*this, masterTrackID, timeSigIDs, tempoIDs); },
        Kind::kOther);
}

int CZRKorEditorIF::setPreMeasure(std::uint32_t masterTrackID, std::int32_t preMeasure) {
    return run([&] { return kor::setPreMeasure(*this, masterTrackID, preMeasure); });
}

int CZRKorEditorIF::updateSinger(std::uint32_t singerID, const ZRSingerValue& value) {
    return run([&] { return kor::updateSinger(*this, singerID, value); });
}

int CZRKorEditorIF::moveSinger(std::uint32_t singerID, const ZRSingerValue& value) {
    return run([&] { return kor::moveSinger(*this, singerID, value); });
}

int CZRKorEditorIF::insertSinger(std::uint32_t singerListID, const ZRSingerValue& value) {
    return run([&] { return kor::insertSinger(*this, singerListID, value); });
}

int CZRKorEditorIF::deleteSinger(std::uint32_t singerID) {
    return run([&] { return kor::deleteSinger(*this, singerID); });
}

int CZRKorEditorIF::setPartStyleAttrib(std::uint32_t attribID, const std::wstring& styleID,
                                       std::int32_t value) {
    return run([&] { return kor::setPartStyleAttrib(*this, attribID, styleID, value); });
}

int CZRKorEditorIF::clearPartStyleAttrib(std::uint32_t attribID) {
    return run([&] { return kor::clearPartStyleAttrib(*this, attribID); });
}

int CZRKorEditorIF::updateStyleControl(std::uint32_t controlID, const ZRStyleControlValue& value) {
    return run([&] { return kor::updateStyleControl(*this, controlID, value); });
}

int CZRKorEditorIF::moveStyleControl(std::uint32_t controlID, const ZRStyleControlValue& value) {
    return run([&] { return kor::moveStyleControl(*this, controlID, value); });
}

int CZRKorEditorIF::insertStyleControl(std::uint32_t listID, const ZRStyleControlValue& value) {
    return run([&] { return kor::insertStyleControl(*this, listID, value); });
}

int CZRKorEditorIF::deleteStyleControl(std::uint32_t controlID) {
    return run([&] { return kor::deleteStyleControl(*this, controlID); });
}

int CZRKorEditorIF::updateMusicalControl(std::uint32_t controlID,
                                         const ZRMusicalControlValue& value) {
    return run([&] { return kor::updateMusicalControl(*this, controlID, value); });
}

int CZRKorEditorIF::moveMusicalControl(std::uint32_t controlID,
                                       const ZRMusicalControlValue& value) {
    return run([&] { return kor::moveMusicalControl(*this, controlID, value); });
}

int CZRKorEditorIF::insertMusicalControl(std::uint32_t listID, const ZRMusicalControlValue& value) {
    return run([&] { return kor::insertMusicalControl(*this, listID, value); });
}

int CZRKorEditorIF::deleteMusicalControl(std::uint32_t controlID) {
    return run([&] { return kor::deleteMusicalControl(*this, controlID); });
}

// Notes, their style attributes and vibratos.

int CZRKorEditorIF::updateNoteStyleAttrib(std::uint32_t attribID, const ZRNoteStyleValue& value) {
    return run([&] { return kor::updateNoteStyleAttrib(*this, attribID, value); });
}

int CZRKorEditorIF::updateNoteStyleSeqAttribElement(std::uint32_t elementID,
                                                    const ZRNoteStyleSeqAttribElementValue& value) {
    return run([&] { return kor::updateNoteStyleSeqAttribElement(*this, elementID, value); });
}

int CZRKorEditorIF::moveNoteStyleSeqAttribElement(std::uint32_t elementID,
                                                  const ZRNoteStyleSeqAttribElementValue& value) {
    return run([&] { return kor::moveNoteStyleSeqAttribElement(*this, elementID, value); });
}

int CZRKorEditorIF::insertNoteStyleSeqAttribElement(std::uint32_t listID,
                                                    const ZRNoteStyleSeqAttribElementValue& value) {
    return run([&] { return kor::insertNoteStyleSeqAttribElement(*this, listID, value); });
}

int CZRKorEditorIF::deleteNoteStyleSeqAttribElement(std::uint32_t elementID) {
    return run([&] { return kor::deleteNoteStyleSeqAttribElement(*this, elementID); });
}

int CZRKorEditorIF::updateNoteVibrato(std::uint32_t noteID, const ZRVibratoValue& value) {
    return run([&] { return kor::updateNoteVibrato(*this, noteID, value); });
}

int CZRKorEditorIF::updateNote(std::uint32_t noteID, const ZRNoteValue& value) {
    return run([&] { return kor::updateNote(*this, noteID, value); });
}

int CZRKorEditorIF::moveNote(std::uint32_t noteID, const ZRNoteValue& value) {
    return run([&] { return kor::moveNote(*this, noteID, value); });
}

int CZRKorEditorIF::insertNote(std::uint32_t noteListID, const ZRNoteValue& value) {
    return run([&] { return kor::insertNote(*this, noteListID, value); });
}

int CZRKorEditorIF::insertNoteWithStyle(std::uint32_t noteListID, const ZRNoteValue& value,
                                        const ZRNoteStyleValue& style,
                                        const ZRVibratoValue& vibrato) {
    return run([&] { return kor::insertNoteWithStyle(*this, noteListID, value, style, vibrato); });
}

int CZRKorEditorIF::copyNote(std::uint32_t noteListID, std::int32_t posTick,
                             std::uint32_t sourceNoteID) {
    return run([&] { return kor::copyNote(*this, noteListID, posTick, sourceNoteID); });
}

int CZRKorEditorIF::copyNoteWithNumber(std::uint32_t noteListID, std::int32_t posTick,
                                       std::uint32_t sourceNoteID, std::int32_t noteNum) {
    return run(
        [&] { return kor::copyNoteWithNumber(*this, noteListID, posTick, sourceNoteID, noteNum); });
}

int CZRKorEditorIF::deleteNote(std::uint32_t noteID) {
    return run([&] { return kor::deleteNote(*this, noteID); });
}

// Musical parts: update, move, insert, copy, delete, divide, merge and extend.

int CZRKorEditorIF::updateMusicalPart(std::uint32_t partID, const ZRMusicalPartValue& value) {
    return run([&] { return kor::updateMusicalPart(*this, partID, value); });
}

int CZRKorEditorIF::moveMusicalPart(std::uint32_t partID, const ZRMusicalPartValue& value) {
    return run([&] { return kor::moveMusicalPart(*this, partID, value); });
}

int CZRKorEditorIF::insertMusicalPart(std::uint32_t partListID, const ZRMusicalPartValue& value) {
    return run([&] { return kor::insertMusicalPart(*this, partListID, value); });
}

int CZRKorEditorIF::insertMusicalPartWithSinger(std::uint32_t partListID,
                                                const ZRMusicalPartValue& value,
                                                const ZRSingerValue& singer) {
    return run([&] { return kor::insertMusicalPartWithSinger(*this, partListID, value, singer); });
}

int CZRKorEditorIF::copyMusicalPart(std::uint32_t partListID, std::int32_t posTick,
                                    std::uint32_t sourcePartID) {
    return run([&] { return kor::copyMusicalPart(*this, partListID, posTick, sourcePartID); });
}

int CZRKorEditorIF::copyMusicalPartTo(std::uint32_t partListID, const ZRMusicalPartValue& value,
                                      std::uint32_t sourcePartID) {
    return run([&] { return kor::copyMusicalPartTo(*this, partListID, value, sourcePartID); });
}

int CZRKorEditorIF::deleteMusicalPart(std::uint32_t partID) {
    return run([&] { return kor::deleteMusicalPart(*this, partID); });
}

int CZRKorEditorIF::divideMusicalPart(std::uint32_t partID, std::int32_t tick) {
    return run([&] { return kor::divideMusicalPart(*this, partID, tick); });
}

int CZRKorEditorIF::mergeMusicalParts(std::uint32_t firstPartID, std::uint32_t secondPartID) {
    return run([&] { return kor::mergeMusicalParts(*this, firstPartID, secondPartID); });
}

int CZRKorEditorIF::extendMusicalPartHead(std::uint32_t partID, std::int32_t amount) {
    return run([&] { return kor::extendMusicalPartHead(*this, partID, amount); });
}

// Prosody events, WAV parts and ZR tracks.

int CZRKorEditorIF::updateProsodyVoice(std::uint32_t voiceID, const ZRProsodyVoiceValue& value) {
    return run([&] { return kor::updateProsodyVoice(*this, voiceID, value); });
}

int CZRKorEditorIF::moveProsodyVoice(std::uint32_t voiceID, const ZRProsodyVoiceValue& value) {
    return run([&] { return kor::moveProsodyVoice(*this, voiceID, value); });
}

int CZRKorEditorIF::insertProsodyVoice(std::uint32_t listID, const ZRProsodyVoiceValue& value) {
    return run([&] { return kor::insertProsodyVoice(*this, listID, value); });
}

int CZRKorEditorIF::deleteProsodyVoice(std::uint32_t voiceID) {
    return run([&] { return kor::deleteProsodyVoice(*this, voiceID); });
}

int CZRKorEditorIF::updateProsodyElement(std::uint32_t elementID,
                                         const ZRProsodyElementValue& value) {
    return run([&] { return kor::updateProsodyElement(*this, elementID, value); });
}

int CZRKorEditorIF::moveProsodyElement(std::uint32_t elementID,
                                       const ZRProsodyElementValue& value) {
    return run([&] { return kor::moveProsodyElement(*this, elementID, value); });
}

int CZRKorEditorIF::insertProsodyElement(std::uint32_t listID, const ZRProsodyElementValue& value) {
    return run([&] { return kor::insertProsodyElement(*this, listID, value); });
}

int CZRKorEditorIF::deleteProsodyElement(std::uint32_t elementID) {
    return run([&] { return kor::deleteProsodyElement(*this, elementID); });
}

int CZRKorEditorIF::updateProsodyControl(std::uint32_t controlID,
                                         const ZRProsodyControlValue& value) {
    return run([&] { return kor::updateProsodyControl(*this, controlID, value); });
}

int CZRKorEditorIF::moveProsodyControl(std::uint32_t controlID,
                                       const ZRProsodyControlValue& value) {
    return run([&] { return kor::moveProsodyControl(*this, controlID, value); });
}

int CZRKorEditorIF::insertProsodyControl(std::uint32_t listID, const ZRProsodyControlValue& value) {
    return run([&] { return kor::insertProsodyControl(*this, listID, value); });
}

int CZRKorEditorIF::deleteProsodyControl(std::uint32_t controlID) {
    return run([&] { return kor::deleteProsodyControl(*this, controlID); });
}

int CZRKorEditorIF::updateWAVPart(std::uint32_t partID, const ZRWAVPartValue& value) {
    return run([&] { return kor::updateWAVPart(*this, partID, value); });
}

int CZRKorEditorIF::moveWAVPart(std::uint32_t partID, const ZRWAVPartValue& value) {
    return run([&] { return kor::moveWAVPart(*this, partID, value); });
}

int CZRKorEditorIF::insertWAVPartFromFile(std::uint32_t partListID, std::int32_t posTick,
                                          const std::wstring& filePath, std::int32_t flag) {
    return run(
        [&] { return kor::insertWAVPartFromFile(*this, partListID, posTick, filePath, flag); });
}

int CZRKorEditorIF::importWAVPart(std::uint32_t partListID, std::int32_t posTick,
                                  std::uint32_t sourcePartID) {
    return run([&] { return kor::importWAVPart(*this, partListID, posTick, sourcePartID); });
}

int CZRKorEditorIF::deleteWAVPart(std::uint32_t partID) {
    return run([&] { return kor::deleteWAVPart(*this, partID); });
}

int CZRKorEditorIF::updateZRTrack(std::uint32_t trackID, const std::wstring& name,
                                  const std::wstring& comment) {
    return run([&] { return kor::updateZRTrack(*this, trackID, name, comment); });
}

int CZRKorEditorIF::moveZRTrack(std::uint32_t trackID, std::int32_t trackNo) {
    return run([&] { return kor::moveZRTrack(*this, trackID, trackNo); });
}

int CZRKorEditorIF::insertZRTrack(std::uint32_t trackListID, std::int32_t trackNo,
                                  const std::wstring& name, const std::wstring& comment) {
    return run([&] { return kor::insertZRTrack(*this, trackListID, trackNo, name, comment); });
}

int CZRKorEditorIF::copyZRTrack(std::uint32_t trackListID, std::int32_t trackNo,
                                std::uint32_t sourceTrackID, const std::wstring& name) {
    return run([&] { return kor::copyZRTrack(*this, trackListID, trackNo, sourceTrackID, name); });
}

int CZRKorEditorIF::importZRTrack(std::uint32_t trackListID, std::int32_t trackNo,
                                  std::uint32_t sourceTrackID) {
    return run([&] { return kor::importZRTrack(*this, trackListID, trackNo, sourceTrackID); });
}

int CZRKorEditorIF::deleteZRTrack(std::uint32_t trackID) {
    return run([&] { return kor::deleteZRTrack(*this, trackID); });
}
