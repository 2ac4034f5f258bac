// The editor a manager hands out: its operations, their errors, commit and discard.
#pragma once

#include "edit/EditSession.h"
#include "edit/EditorHost.h"
#include "edit/OperationDetail.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRKorEditorIF.h>
#include <korman/ZRKorManagementPolicy.h>

#include <cassert>
#include <new>
#include <optional>
#include <string>
#include <vector>

class CZRCommitHistory;
class CZRKorDocument;

/// The manager's one editor over its current document. Owned by the manager, which creates it
/// with itself as host, a copy of its policy, its current document and its commit history, and
/// destroys it on release. When the document goes while the host still holds the editor, the
/// manager detaches it instead: its pending records are dropped, it lets go of the document and
/// the history, and every operation through it fails with ZR_E_EDITOR_DETACHED until the host
/// releases it. The host outlives the editor. The editor's edit session owns the pending records
/// until commit hands them to the history; after that one commit every edit fails with
/// ZR_E_EDITOR_COMMITTED.
class CZRKorEditorIF final : public IZRKorEditorIF {
public:
    CZRKorEditorIF(IZREditorHost& host, const ZRKorManagementPolicy& policy,
                   CZRKorDocument& document, CZRCommitHistory& history);
    CZRKorEditorIF(const CZRKorEditorIF&) = delete;
    CZRKorEditorIF& operator=(const CZRKorEditorIF&) = delete;
    ~CZRKorEditorIF() = default;

    int commit() override;
    int commit(const wchar_t* label) override;
    void discard() override;
    std::uint32_t getLastInsertedID() const override { return lastInserted_; }
    void getInsertedIDs(std::vector<std::uint32_t>& ids) const override { ids = insertedIDs_; }
    std::uint32_t getLastError() const override { return lastError_; }
    /// The table text of the last error, followed by what the failing operation said of it.
    const wchar_t* getLastErrorMessage() const override {
        return lastErrorMessage_.empty() ? getErrorMessage(lastError_) : lastErrorMessage_.c_str();
    }
    const wchar_t* getErrorMessage(std::uint32_t code) const override {
        return host_.errorMessage(code);
    }

    int updateTimeSig(std::uint32_t timeSigID, const ZRTimeSigValue& value) override;
    int moveTimeSig(std::uint32_t timeSigID, const ZRTimeSigValue& value) override;
    int insertTimeSig(const ZRTimeSigValue& value) override;
    int deleteTimeSig(std::uint32_t timeSigID) override;

    int updateTempo(std::uint32_t tempoID, const ZRTempoValue& value) override;
    int moveTempo(std::uint32_t tempoID, const ZRTempoValue& value) override;
    int insertTempo(const ZRTempoValue& value) override;
    int deleteTempo(std::uint32_t tempoID) override;

    int listPreMeasureEvents(std::uint32_t masterTrackID, std::vector<std::uint32_t>& timeSigIDs,
                             std::vector<std::uint32_t>& tempoIDs) override;
    int setPreMeasure(std::uint32_t masterTrackID, std::int32_t preMeasure) override;

    int updateSinger(std::uint32_t singerID, const ZRSingerValue& value) override;
    int moveSinger(std::uint32_t singerID, const ZRSingerValue& value) override;
    int insertSinger(std::uint32_t singerListID, const ZRSingerValue& value) override;
    int deleteSinger(std::uint32_t singerID) override;

    int setPartStyleAttrib(std::uint32_t attribID, const std::wstring& styleID,
                           std::int32_t value) override;
    int clearPartStyleAttrib(std::uint32_t attribID) override;

    int updateStyleControl(std::uint32_t controlID, const ZRStyleControlValue& value) override;
    int moveStyleControl(std::uint32_t controlID, const ZRStyleControlValue& value) override;
    int insertStyleControl(std::uint32_t listID, const ZRStyleControlValue& value) override;
    int deleteStyleControl(std::uint32_t controlID) override;

    int updateMusicalControl(std::uint32_t controlID, const ZRMusicalControlValue& value) override;
    int moveMusicalControl(std::uint32_t controlID, const ZRMusicalControlValue& value) override;
    int insertMusicalControl(std::uint32_t listID, const ZRMusicalControlValue& value) override;
    int deleteMusicalControl(std::uint32_t controlID) override;

    int updateNoteStyleAttrib(std::uint32_t attribID, const ZRNoteStyleValue& value) override;
    int updateNoteStyleSeqAttribElement(std::uint32_t elementID,
                                        const ZRNoteStyleSeqAttribElementValue& value) override;
    int moveNoteStyleSeqAttribElement(std::uint32_t elementID,
                                      const ZRNoteStyleSeqAttribElementValue& value) override;
    int insertNoteStyleSeqAttribElement(std::uint32_t listID,
                                        const ZRNoteStyleSeqAttribElementValue& value) override;
    int deleteNoteStyleSeqAttribElement(std::uint32_t elementID) override;

    int updateNoteVibrato(std::uint32_t noteID, const ZRVibratoValue& value) override;
    int updateNote(std::uint32_t noteID, const ZRNoteValue& value) override;
    int moveNote(std::uint32_t noteID, const ZRNoteValue& value) override;
    int insertNote(std::uint32_t noteListID, const ZRNoteValue& value) override;
    int insertNoteWithStyle(std::uint32_t noteListID, const ZRNoteValue& value,
                            const ZRNoteStyleValue& style, const ZRVibratoValue& vibrato) override;
    int copyNote(std::uint32_t noteListID, std::int32_t posTick,
                 std::uint32_t sourceNoteID) override;
    int copyNoteWithNumber(std::uint32_t noteListID, std::int32_t posTick,
                           std::uint32_t sourceNoteID, std::int32_t noteNum) override;
    int deleteNote(std::uint32_t noteID) override;

    int updateMusicalPart(std::uint32_t partID, const ZRMusicalPartValue& value) override;
    int moveMusicalPart(std::uint32_t partID, const ZRMusicalPartValue& value) override;
    int insertMusicalPart(std::uint32_t partListID, const ZRMusicalPartValue& value) override;
    int insertMusicalPartWithSinger(std::uint32_t partListID, const ZRMusicalPartValue& value,
                                    const ZRSingerValue& singer) override;
    int copyMusicalPart(std::uint32_t partListID, std::int32_t posTick,
                        std::uint32_t sourcePartID) override;
    int copyMusicalPartTo(std::uint32_t partListID, const ZRMusicalPartValue& value,
                          std::uint32_t sourcePartID) override;
    int deleteMusicalPart(std::uint32_t partID) override;
    int divideMusicalPart(std::uint32_t partID, std::int32_t tick) override;
    int mergeMusicalParts(std::uint32_t firstPartID, std::uint32_t secondPartID) override;
    int extendMusicalPartHead(std::uint32_t partID, std::int32_t amount) override;

    int updateProsodyVoice(std::uint32_t voiceID, const ZRProsodyVoiceValue& value) override;
    int moveProsodyVoice(std::uint32_t voiceID, const ZRProsodyVoiceValue& value) override;
    int insertProsodyVoice(std::uint32_t listID, const ZRProsodyVoiceValue& value) override;
    int deleteProsodyVoice(std::uint32_t voiceID) override;
    int updateProsodyElement(std::uint32_t elementID, const ZRProsodyElementValue& value) override;
    int moveProsodyElement(std::uint32_t elementID, const ZRProsodyElementValue& value) override;
    int insertProsodyElement(std::uint32_t listID, const ZRProsodyElementValue& value) override;
    int deleteProsodyElement(std::uint32_t elementID) override;
    int updateProsodyControl(std::uint32_t controlID, const ZRProsodyControlValue& value) override;
    int moveProsodyControl(std::uint32_t controlID, const ZRProsodyControlValue& value) override;
    int insertProsodyControl(std::uint32_t listID, const ZRProsodyControlValue& value) override;
    int deleteProsodyControl(std::uint32_t controlID) override;

    int updateWAVPart(std::uint32_t partID, const ZRWAVPartValue& value) override;
    int moveWAVPart(std::uint32_t partID, const ZRWAVPartValue& value) override;
    int insertWAVPartFromFile(std::uint32_t partListID, std::int32_t posTick,
                              const std::wstring& filePath, std::int32_t flag) override;
    int importWAVPart(std::uint32_t partListID, std::int32_t posTick,
                      std::uint32_t sourcePartID) override;
    int deleteWAVPart(std::uint32_t partID) override;

    int updateZRTrack(std::uint32_t trackID, const std::wstring& name,
                      const std::wstring& comment) override;
    int moveZRTrack(std::uint32_t trackID, std::int32_t trackNo) override;
    int insertZRTrack(std::uint32_t trackListID, std::int32_t trackNo, const std::wstring& name,
                      const std::wstring& comment) override;
    int copyZRTrack(std::uint32_t trackListID, std::int32_t trackNo, std::uint32_t sourceTrackID,
                    const std::wstring& name) override;
    int importZRTrack(std::uint32_t trackListID, std::int32_t trackNo,
                      std::uint32_t sourceTrackID) override;
    int deleteZRTrack(std::uint32_t trackID) override;

    /// Lets go of the document and the history, which the manager is about to replace, and drops
    /// the pending records; from now on every operation fails with ZR_E_EDITOR_DETACHED.
    void detach() noexcept;
    bool isDetached() const { return !session_.has_value(); }

    /// The pending records and what the edit operations work with; only while not detached.
    kor::EditSession& session() {
        assert(session_.has_value() && "a detached editor runs no operation");
        return *session_;
    }

private:
    /// Clears the last error and its message, as every operation does first.
    void start() noexcept;
    /// Leaves `code` as the last error, with the detail explained for it; the operation's result
    /// (1 for 0, else 0).
    int finish(std::uint32_t code) noexcept;
    /// What an operation is: an edit, which an editor takes only until its one commit, or the
    /// commit itself or a query of the live song.
    enum class Kind { kEdit, kOther };
    /// 0 when an operation of `kind` may run; else ZR_E_EDITOR_DETACHED (the song is gone) or,
    /// for an edit after the commit, ZR_E_EDITOR_COMMITTED (it could never be committed),
    /// explained.
    [[nodiscard]] std::uint32_t refusal(Kind kind);
    /// Runs `operation` as an exported call and finishes with the code it answers. No exception
    /// leaves the editor: running out of memory answers ZR_E_NOT_ENOUGH_MEMORY, anything else
    /// ZR_E_UNKNOWN_ERROR.
    /// An insert's object, as the running operation noted it, is kept for getLastInsertedID and
    /// getInsertedIDs; room for it is made first, so keeping it cannot fail.
    template <class Operation> int run(Operation&& operation, Kind kind = Kind::kEdit) noexcept {
        start();
        std::uint32_t code = ZR_E_UNKNOWN_ERROR;
        try {
            code = refusal(kind);
            if (code == 0) {
                insertedIDs_.reserve(insertedIDs_.size() + 1);
                code = operation();
            }
            if (code == 0 && detail_.inserted() != ZR_NO_OBJ_ID) {
                lastInserted_ = detail_.inserted();
                insertedIDs_.push_back(lastInserted_);
            }
        } catch (const std::bad_alloc&) {
            code = ZR_E_NOT_ENOUGH_MEMORY;
        } catch (...) {
        }
        return finish(code);
    }
    [[nodiscard]] std::uint32_t commitPending(const wchar_t* label);

    IZREditorHost& host_;
    kor::OperationDetail detail_;             // of the running operation
    std::optional<kor::EditSession> session_; // none once detached
    CZRCommitHistory& history_;
    std::uint32_t committed_ = 0;
    std::uint32_t lastInserted_ = ZR_NO_OBJ_ID;
    std::vector<std::uint32_t> insertedIDs_; // of every successful insert, in call order
    std::uint32_t lastError_ = 0;
    std::wstring lastErrorMessage_; // "" while the table text of lastError_ is the whole message
};
