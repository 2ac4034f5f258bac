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

#include <cwchar>
#include <memory>

CZRKorEditorIF::CZRKorEditorIF(IZREditorHost& host, const ZRKorManagementPolicy& policy,
                               CZRKorDocument& document, CZRCommitHistory& history)
    : host_(host)
    , session_(std::in_place, host, policy, document, history, detail_)
    , history_(history) {}

int CZRKorEditorIF::commit() {
    return commit(nullptr);
}

int CZRKorEditorIF::commit(const wchar_t* label) {
    return run([&] { return commitPending(label); }, Kind::kOther);
}

namespace {

/// A copy of `label` for the history to keep; null for none or an empty one.
std::unique_ptr<const wchar_t[]> copyLabel(const wchar_t* label) {
    if (label == nullptr || *label == L'\0') return nullptr;
    const std::size_t length = std::wcslen(label);
    auto copy = std::make_unique<wchar_t[]>(length + 1);
    std::wmemcpy(copy.get(), label, length + 1);
    return copy;
}

} // namespace

std::uint32_t CZRKorEditorIF::commitPending(const wchar_t* label) {
    if (committed_ != 0 || session_->pending().empty()) return 0;
    std::unique_ptr<const wchar_t[]> kept = copyLabel(label);
    std::vector<std::uint32_t> ids;
    if (const std::uint32_t code = session_->commit(ids)) return code;
    ++committed_;
    // Every filed record answers its ID: none means that nothing was filed, and the present
    // commit is an older one.
    if (!ids.empty()) history_.labelPresentCommit(std::move(kept));
    host_.notifyObservers(ids, ZRChangeCause::Commit);
    return 0;
}

void CZRKorEditorIF::discard() {
    start();
    if (isDetached())
        finish(refusal(Kind::kOther));
    else
        session_->discard();
    insertedIDs_.clear();
}

void CZRKorEditorIF::detach() noexcept {
    session_.reset();
}

void CZRKorEditorIF::start() noexcept {
    lastError_ = 0;
    lastInserted_ = ZR_NO_OBJ_ID;
    lastErrorMessage_.clear();
    detail_.clear();
}

int CZRKorEditorIF::finish(std::uint32_t code) noexcept {
    lastError_ = code;
    if (const std::wstring* detail = detail_.detailOf(code)) {
        try {
            lastErrorMessage_ = getErrorMessage(code);
            lastErrorMessage_ += L' ';
            lastErrorMessage_ += *detail;
        } catch (...) {
            lastErrorMessage_.clear(); // the table text stands alone
        }
    }
    return code == 0 ? 1 : 0;
}

std::uint32_t CZRKorEditorIF::refusal(Kind kind) {
    if (isDetached())
        return detail_.explain(ZR_E_EDITOR_DETACHED,
                               L"The manager replaced or closed the song; release this editor "
                               L"(editReleaseKorEditor) and take a new one (editGetKorEditor).");
    // An edit after the one commit could never reach the song: refusing it tells the host at
    // once, where accepting it would lose it at release.
    if (kind == Kind::kEdit && committed_ != 0)
        return detail_.explain(ZR_E_EDITOR_COMMITTED,
                               L"An editor commits once; release it (editReleaseKorEditor) and "
                               L"take a new one (editGetKorEditor) for further edits.");
    return 0;
}

// The tempo family.

int CZRKorEditorIF::updateTempo(std::uint32_t tempoID, const ZRTempoValue& value) {
    return run([&] { return kor::updateTempo(*session_, tempoID, value); });
}

int CZRKorEditorIF::moveTempo(std::uint32_t tempoID, const ZRTempoValue& value) {
    return run([&] { return kor::moveTempo(*session_, tempoID, value); });
}

int CZRKorEditorIF::insertTempo(const ZRTempoValue& value) {
    return run([&] { return kor::insertTempo(*session_, value); });
}

int CZRKorEditorIF::deleteTempo(std::uint32_t tempoID) {
    return run([&] { return kor::deleteTempo(*session_, tempoID); });
}

// Time signatures, the pre-measure, singers, part styles, style and musical controls.

int CZRKorEditorIF::updateTimeSig(std::uint32_t timeSigID, const ZRTimeSigValue& value) {
    return run([&] { return kor::updateTimeSig(*session_, timeSigID, value); });
}

int CZRKorEditorIF::moveTimeSig(std::uint32_t timeSigID, const ZRTimeSigValue& value) {
    return run([&] { return kor::moveTimeSig(*session_, timeSigID, value); });
}

int CZRKorEditorIF::insertTimeSig(const ZRTimeSigValue& value) {
    return run([&] { return kor::insertTimeSig(*session_, value); });
}

int CZRKorEditorIF::deleteTimeSig(std::uint32_t timeSigID) {
    return run([&] { return kor::deleteTimeSig(*session_, timeSigID); });
}

int CZRKorEditorIF::listPreMeasureEvents(std::uint32_t masterTrackID,
                                         std::vector<std::uint32_t>& timeSigIDs,
                                         std::vector<std::uint32_t>& tempoIDs) {
    return run(
        [&] { return kor::listPreMeasureEvents(*session_, masterTrackID, timeSigIDs, tempoIDs); },
        Kind::kOther);
}

int CZRKorEditorIF::setPreMeasure(std::uint32_t masterTrackID, std::int32_t preMeasure) {
    return run([&] { return kor::setPreMeasure(*session_, masterTrackID, preMeasure); });
}

int CZRKorEditorIF::updateSinger(std::uint32_t singerID, const ZRSingerValue& value) {
    return run([&] { return kor::updateSinger(*session_, singerID, value); });
}

int CZRKorEditorIF::moveSinger(std::uint32_t singerID, const ZRSingerValue& value) {
    return run([&] { return kor::moveSinger(*session_, singerID, value); });
}

int CZRKorEditorIF::insertSinger(std::uint32_t singerListID, const ZRSingerValue& value) {
    return run([&] { return kor::insertSinger(*session_, singerListID, value); });
}

int CZRKorEditorIF::deleteSinger(std::uint32_t singerID) {
    return run([&] { return kor::deleteSinger(*session_, singerID); });
}

int CZRKorEditorIF::setPartStyleAttrib(std::uint32_t attribID, const std::wstring& styleID,
                                       std::int32_t value) {
    return run([&] { return kor::setPartStyleAttrib(*session_, attribID, styleID, value); });
}

int CZRKorEditorIF::clearPartStyleAttrib(std::uint32_t attribID) {
    return run([&] { return kor::clearPartStyleAttrib(*session_, attribID); });
}

int CZRKorEditorIF::updateStyleControl(std::uint32_t controlID, const ZRStyleControlValue& value) {
    return run([&] { return kor::updateStyleControl(*session_, controlID, value); });
}

int CZRKorEditorIF::moveStyleControl(std::uint32_t controlID, const ZRStyleControlValue& value) {
    return run([&] { return kor::moveStyleControl(*session_, controlID, value); });
}

int CZRKorEditorIF::insertStyleControl(std::uint32_t listID, const ZRStyleControlValue& value) {
    return run([&] { return kor::insertStyleControl(*session_, listID, value); });
}

int CZRKorEditorIF::deleteStyleControl(std::uint32_t controlID) {
    return run([&] { return kor::deleteStyleControl(*session_, controlID); });
}

int CZRKorEditorIF::updateMusicalControl(std::uint32_t controlID,
                                         const ZRMusicalControlValue& value) {
    return run([&] { return kor::updateMusicalControl(*session_, controlID, value); });
}

int CZRKorEditorIF::moveMusicalControl(std::uint32_t controlID,
                                       const ZRMusicalControlValue& value) {
    return run([&] { return kor::moveMusicalControl(*session_, controlID, value); });
}

int CZRKorEditorIF::insertMusicalControl(std::uint32_t listID, const ZRMusicalControlValue& value) {
    return run([&] { return kor::insertMusicalControl(*session_, listID, value); });
}

int CZRKorEditorIF::deleteMusicalControl(std::uint32_t controlID) {
    return run([&] { return kor::deleteMusicalControl(*session_, controlID); });
}

// Notes, their style attributes and vibratos.

int CZRKorEditorIF::updateNoteStyleAttrib(std::uint32_t attribID, const ZRNoteStyleValue& value) {
    return run([&] { return kor::updateNoteStyleAttrib(*session_, attribID, value); });
}

int CZRKorEditorIF::updateNoteStyleSeqAttribElement(std::uint32_t elementID,
                                                    const ZRNoteStyleSeqAttribElementValue& value) {
    return run([&] { return kor::updateNoteStyleSeqAttribElement(*session_, elementID, value); });
}

int CZRKorEditorIF::moveNoteStyleSeqAttribElement(std::uint32_t elementID,
                                                  const ZRNoteStyleSeqAttribElementValue& value) {
    return run([&] { return kor::moveNoteStyleSeqAttribElement(*session_, elementID, value); });
}

int CZRKorEditorIF::insertNoteStyleSeqAttribElement(std::uint32_t listID,
                                                    const ZRNoteStyleSeqAttribElementValue& value) {
    return run([&] { return kor::insertNoteStyleSeqAttribElement(*session_, listID, value); });
}

int CZRKorEditorIF::deleteNoteStyleSeqAttribElement(std::uint32_t elementID) {
    return run([&] { return kor::deleteNoteStyleSeqAttribElement(*session_, elementID); });
}

int CZRKorEditorIF::updateNoteVibrato(std::uint32_t noteID, const ZRVibratoValue& value) {
    return run([&] { return kor::updateNoteVibrato(*session_, noteID, value); });
}

int CZRKorEditorIF::updateNote(std::uint32_t noteID, const ZRNoteValue& value) {
    return run([&] { return kor::updateNote(*session_, noteID, value); });
}

int CZRKorEditorIF::moveNote(std::uint32_t noteID, const ZRNoteValue& value) {
    return run([&] { return kor::moveNote(*session_, noteID, value); });
}

int CZRKorEditorIF::insertNote(std::uint32_t noteListID, const ZRNoteValue& value) {
    return run([&] { return kor::insertNote(*session_, noteListID, value); });
}

int CZRKorEditorIF::insertNoteWithStyle(std::uint32_t noteListID, const ZRNoteValue& value,
                                        const ZRNoteStyleValue& style,
                                        const ZRVibratoValue& vibrato) {
    return run(
        [&] { return kor::insertNoteWithStyle(*session_, noteListID, value, style, vibrato); });
}

int CZRKorEditorIF::copyNote(std::uint32_t noteListID, std::int32_t posTick,
                             std::uint32_t sourceNoteID) {
    return run([&] { return kor::copyNote(*session_, noteListID, posTick, sourceNoteID); });
}

int CZRKorEditorIF::copyNoteWithNumber(std::uint32_t noteListID, std::int32_t posTick,
                                       std::uint32_t sourceNoteID, std::int32_t noteNum) {
    return run([&] {
        return kor::copyNoteWithNumber(*session_, noteListID, posTick, sourceNoteID, noteNum);
    });
}

int CZRKorEditorIF::deleteNote(std::uint32_t noteID) {
    return run([&] { return kor::deleteNote(*session_, noteID); });
}

// Musical parts: update, move, insert, copy, delete, divide, merge and extend.

int CZRKorEditorIF::updateMusicalPart(std::uint32_t partID, const ZRMusicalPartValue& value) {
    return run([&] { return kor::updateMusicalPart(*session_, partID, value); });
}

int CZRKorEditorIF::moveMusicalPart(std::uint32_t partID, const ZRMusicalPartValue& value) {
    return run([&] { return kor::moveMusicalPart(*session_, partID, value); });
}

int CZRKorEditorIF::insertMusicalPart(std::uint32_t partListID, const ZRMusicalPartValue& value) {
    return run([&] { return kor::insertMusicalPart(*session_, partListID, value); });
}

int CZRKorEditorIF::insertMusicalPartWithSinger(std::uint32_t partListID,
                                                const ZRMusicalPartValue& value,
                                                const ZRSingerValue& singer) {
    return run(
        [&] { return kor::insertMusicalPartWithSinger(*session_, partListID, value, singer); });
}

int CZRKorEditorIF::copyMusicalPart(std::uint32_t partListID, std::int32_t posTick,
                                    std::uint32_t sourcePartID) {
    return run([&] { return kor::copyMusicalPart(*session_, partListID, posTick, sourcePartID); });
}

int CZRKorEditorIF::copyMusicalPartTo(std::uint32_t partListID, const ZRMusicalPartValue& value,
                                      std::uint32_t sourcePartID) {
    return run([&] { return kor::copyMusicalPartTo(*session_, partListID, value, sourcePartID); });
}

int CZRKorEditorIF::deleteMusicalPart(std::uint32_t partID) {
    return run([&] { return kor::deleteMusicalPart(*session_, partID); });
}

int CZRKorEditorIF::divideMusicalPart(std::uint32_t partID, std::int32_t tick) {
    return run([&] { return kor::divideMusicalPart(*session_, partID, tick); });
}

int CZRKorEditorIF::mergeMusicalParts(std::uint32_t firstPartID, std::uint32_t secondPartID) {
    return run([&] { return kor::mergeMusicalParts(*session_, firstPartID, secondPartID); });
}

int CZRKorEditorIF::extendMusicalPartHead(std::uint32_t partID, std::int32_t amount) {
    return run([&] { return kor::extendMusicalPartHead(*session_, partID, amount); });
}

// Prosody events, WAV parts and ZR tracks.

int CZRKorEditorIF::updateProsodyVoice(std::uint32_t voiceID, const ZRProsodyVoiceValue& value) {
    return run([&] { return kor::updateProsodyVoice(*session_, voiceID, value); });
}

int CZRKorEditorIF::moveProsodyVoice(std::uint32_t voiceID, const ZRProsodyVoiceValue& value) {
    return run([&] { return kor::moveProsodyVoice(*session_, voiceID, value); });
}

int CZRKorEditorIF::insertProsodyVoice(std::uint32_t listID, const ZRProsodyVoiceValue& value) {
    return run([&] { return kor::insertProsodyVoice(*session_, listID, value); });
}

int CZRKorEditorIF::deleteProsodyVoice(std::uint32_t voiceID) {
    return run([&] { return kor::deleteProsodyVoice(*session_, voiceID); });
}

int CZRKorEditorIF::updateProsodyElement(std::uint32_t elementID,
                                         const ZRProsodyElementValue& value) {
    return run([&] { return kor::updateProsodyElement(*session_, elementID, value); });
}

int CZRKorEditorIF::moveProsodyElement(std::uint32_t elementID,
                                       const ZRProsodyElementValue& value) {
    return run([&] { return kor::moveProsodyElement(*session_, elementID, value); });
}

int CZRKorEditorIF::insertProsodyElement(std::uint32_t listID, const ZRProsodyElementValue& value) {
    return run([&] { return kor::insertProsodyElement(*session_, listID, value); });
}

int CZRKorEditorIF::deleteProsodyElement(std::uint32_t elementID) {
    return run([&] { return kor::deleteProsodyElement(*session_, elementID); });
}

int CZRKorEditorIF::updateProsodyControl(std::uint32_t controlID,
                                         const ZRProsodyControlValue& value) {
    return run([&] { return kor::updateProsodyControl(*session_, controlID, value); });
}

int CZRKorEditorIF::moveProsodyControl(std::uint32_t controlID,
                                       const ZRProsodyControlValue& value) {
    return run([&] { return kor::moveProsodyControl(*session_, controlID, value); });
}

int CZRKorEditorIF::insertProsodyControl(std::uint32_t listID, const ZRProsodyControlValue& value) {
    return run([&] { return kor::insertProsodyControl(*session_, listID, value); });
}

int CZRKorEditorIF::deleteProsodyControl(std::uint32_t controlID) {
    return run([&] { return kor::deleteProsodyControl(*session_, controlID); });
}

int CZRKorEditorIF::updateWAVPart(std::uint32_t partID, const ZRWAVPartValue& value) {
    return run([&] { return kor::updateWAVPart(*session_, partID, value); });
}

int CZRKorEditorIF::moveWAVPart(std::uint32_t partID, const ZRWAVPartValue& value) {
    return run([&] { return kor::moveWAVPart(*session_, partID, value); });
}

int CZRKorEditorIF::insertWAVPartFromFile(std::uint32_t partListID, std::int32_t posTick,
                                          const std::wstring& filePath, std::int32_t flag) {
    return run(
        [&] { return kor::insertWAVPartFromFile(*session_, partListID, posTick, filePath, flag); });
}

int CZRKorEditorIF::importWAVPart(std::uint32_t partListID, std::int32_t posTick,
                                  std::uint32_t sourcePartID) {
    return run([&] { return kor::importWAVPart(*session_, partListID, posTick, sourcePartID); });
}

int CZRKorEditorIF::deleteWAVPart(std::uint32_t partID) {
    return run([&] { return kor::deleteWAVPart(*session_, partID); });
}

int CZRKorEditorIF::updateZRTrack(std::uint32_t trackID, const std::wstring& name,
                                  const std::wstring& comment) {
    return run([&] { return kor::updateZRTrack(*session_, trackID, name, comment); });
}

int CZRKorEditorIF::moveZRTrack(std::uint32_t trackID, std::int32_t trackNo) {
    return run([&] { return kor::moveZRTrack(*session_, trackID, trackNo); });
}

int CZRKorEditorIF::insertZRTrack(std::uint32_t trackListID, std::int32_t trackNo,
                                  const std::wstring& name, const std::wstring& comment) {
    return run([&] { return kor::insertZRTrack(*session_, trackListID, trackNo, name, comment); });
}

int CZRKorEditorIF::copyZRTrack(std::uint32_t trackListID, std::int32_t trackNo,
                                std::uint32_t sourceTrackID, const std::wstring& name) {
    return run(
        [&] { return kor::copyZRTrack(*session_, trackListID, trackNo, sourceTrackID, name); });
}

int CZRKorEditorIF::importZRTrack(std::uint32_t trackListID, std::int32_t trackNo,
                                  std::uint32_t sourceTrackID) {
    return run([&] { return kor::importZRTrack(*session_, trackListID, trackNo, sourceTrackID); });
}

int CZRKorEditorIF::deleteZRTrack(std::uint32_t trackID) {
    return run([&] { return kor::deleteZRTrack(*session_, trackID); });
}
