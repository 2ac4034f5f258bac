// The state behind one CZRKorManagerIF: its policy, last error, commit history and observers.
#pragma once

#include "edit/CommitHistory.h"
#include "edit/EditorHost.h"
#include "edit/KorEditorIF.h"
#include "interchange/MusicXmlImport.h"
#include "manager/KorManagerApp.h"
#include "manager/ErrorTable.h"
#include "manager/NewSequence.h"
#include "manager/KeptSong.h"
#include "model/DumpFormat.h"
#include "model/KorDocument.h"

#include <korman/CZRKorManagerIF.h>
#include <korman/ZRAux.h>

#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

/// Made by the first sysInitialize of a manager and deleted with it. Holds the manager's copy of
/// the policy, its last error, its commit history, its observer windows, its hold on the
/// process-wide voice database, the current song document, the copy and import buffers, and the
/// state of the changes made outside the editor (VVoices, mixer, aux records).
class CZRAux;
class CZRKorRoot;
class CZRSequence;
class CZRVVoice;
struct ZRVVoiceValues;

class CZRKorManagerImpl final : public IZREditorHost {
public:
    CZRKorManagerImpl() = default;
    CZRKorManagerImpl(const CZRKorManagerImpl&) = delete;
    CZRKorManagerImpl& operator=(const CZRKorManagerImpl&) = delete;
    ~CZRKorManagerImpl();

    // --- The editor host ---
    void notifyObservers(const std::vector<std::uint32_t>& ids,
                         ZRChangeCause cause) noexcept override;
    bool hasMemoryHeadroom(std::uint64_t bytes) override;
    bool hasRoomFor(std::uint64_t bytes) const override {
        return kor::platform::hasHeadroomFor(bytes);
    }
    const wchar_t* errorMessage(std::uint32_t code) const override;
    const kor::VibratoShape* vibratoKind(std::int32_t type) const override;
    const CZRKorDocument* importedDocument() const override { return importBuffer_.get(); }
    const kor::VVoiceTable& vvoiceTable() const override;
    const ZRVVoiceLib& defaultVVoice() const override;

    /// Runs the initialization steps; the result is the initialized flag. On failure lastError
    /// names the step that failed.
    bool initialize(const ZRKorManagementPolicy& policy);
    bool isInitialized() const { return initialized_; }

    std::uint32_t lastError() const { return lastError_; }
    /// The message of the last error: the text the failing step left, else the table text of its
    /// code; "" when there is none.
    const wchar_t* lastErrorMessage() const;
    void clearLastError() {
        lastError_ = 0;
        lastErrorMessage_.clear();
    }
    /// Sets the last error to `code`, its message being the code's table text.
    void setLastError(std::uint32_t code) {
        lastError_ = code;
        lastErrorMessage_.clear();
    }
    /// Sets the last error to `code`, its message being the code's table text followed by the
    /// detail formatted from `format` (swprintf) and `args`, so that a host matching the table
    /// text still finds it. Without memory for the detail the table text stands alone.
    template <class... Args>
    void fail(std::uint32_t code, const wchar_t* format, Args... args) noexcept {
        setLastError(code);
        try {
            lastErrorMessage_ = errorMessage(code);
            lastErrorMessage_ += L' ';
            kor::appendFormat(lastErrorMessage_, format, args...);
        } catch (...) {
            lastErrorMessage_.clear();
        }
    }
    /// Sets the last error to 0, its message "OK" followed by `note` when there is one: what the
    /// host should know of an operation that succeeded, such as what a file could not hold.
    void succeed(const std::wstring& note) noexcept {
        if (!note.empty()) return fail(0, L"%ls", note.c_str());
        setLastError(0);
        lastErrorMessage_ = errorMessage(0);
    }

    const ZRKorManagementPolicy& policy() const { return policy_; }
    CZRCommitHistory* history() { return history_.get(); }

    /// Adds a window to the observers unless it is there already; false for null.
    bool registerObserver(IZRMessageWindow* window);
    /// Removes a window; false, with the reason, for null, one not registered, or while the
    /// observers are being told of a change.
    bool unregisterObserver(IZRMessageWindow* window);
    /// Adds a change observer; its handle (never 0), or 0 with the reason for an empty function
    /// or while the observers are being told of a change.
    std::uint32_t registerChangeObserver(ZRChangeObserver observer);
    /// Removes the change observer of `handle`; false, with the reason, as unregisterObserver.
    bool unregisterChangeObserver(std::uint32_t handle);
    /// The value sent as wParam of update messages: the owner of the editor that made them.
    void setEditorOwner(std::uint32_t owner) { editorOwner_ = owner; }

    // --- The editor ---

    /// Hands out the manager's one editor, owned by `owner`; null with ZR_E_NO_SEQUENCE when
    /// there is no song, or ZR_E_EDIT_CONFLICT when an editor is out already. An editor detached
    /// from an earlier song does not count.
    IZRKorEditorIF* acquireEditor(std::uint32_t owner);
    /// Discards and destroys `editor` when it is the one handed out or a detached one, and nulls
    /// the caller's pointer. Null is left alone; any other pointer too, with
    /// ZR_E_INVALID_PARAMETER.
    void releaseEditor(IZRKorEditorIF*& editor);
    /// Undoes (or redoes) one commit and tells the observers; false with ZR_E_NOT_ENOUGH_MEMORY
    /// when memory is short.
    bool undo();
    bool redo();

    // --- The current song and the buffers ---

    /// Replaces the current song by a new default one (with a first musical part when `firstPart`
    /// is given); the previous song stays when `song` or the part's play time is out of range.
    CZRKorRoot* createNewSequence(const kor::NewSongSettings& song,
                                  const std::optional<kor::FirstPartSettings>& firstPart);
    /// Ends the current song, the editor, the import buffer and the pending VVoice updates.
    void destroySequence();
    CZRKorDocument* document() const { return document_.get(); }
    CZRSequence* sequence() const;
    IZRKorObject* lookup(std::uint32_t objID) const;
    /// Deep-copies an object of the current song into the copy buffer; its ID, or ZR_NO_OBJ_ID.
    std::uint32_t copyToBuffer(std::uint32_t objID);
    IZRKorObject* lookupInCopyBuffer(std::uint32_t objID) const;
    void deleteFromCopyBuffer(std::uint32_t objID);
    void emptyCopyBuffer() { copyBuffer_.clear(); }
    IZRKorObject* lookupInImportBuffer(std::uint32_t objID) const;
    void emptyImportBuffer() { importBuffer_.reset(); }
    std::uint64_t subtreeSize(std::uint32_t objID) const;
    /// Reports why the current song has no object `objID` (of the kind `kind`, when a kind was
    /// asked for): ZR_E_NO_SEQUENCE without a song, else `code` naming the ID.
    void failNoObject(std::uint32_t code, std::uint32_t objID,
                      std::optional<ZRObjType> kind = std::nullopt);
    /// Fails with ZR_E_NO_SEQUENCE, telling the host to create or load a song first.
    void failNoSong();
    /// Fails with ZR_E_IMPORT_SOURCE_NOT_FOUND, telling the host to import a song first.
    void failNoImport();

    // --- Files: the file operations replace the song and the import buffer through these ---

    /// Makes `document` the current song; the previous one must have been destroyed.
    void adoptDocument(std::unique_ptr<CZRKorDocument> document) {
        document_ = std::move(document);
    }
    CZRKorDocument* importDocument() const { return importBuffer_.get(); }
    void adoptImport(std::unique_ptr<CZRKorDocument> document) {
        importBuffer_ = std::move(document);
    }
    void setLastErrorMessage(std::wstring message) { lastErrorMessage_ = std::move(message); }
    /// Marks the song as saved: the changes made outside the editor and the present commit point.
    void clearModifiedFlags() {
        vvoiceModified_ = mixerModified_ = auxModified_ = false;
        if (history_ != nullptr) history_->markSaved();
    }
    /// Whether the song differs from the one last saved, loaded or created.
    bool isModified() const {
        return vvoiceModified_ || mixerModified_ || auxModified_ ||
               (history_ != nullptr && !history_->isAtSavedState());
    }

    // --- VVoices and aux records, changed outside the editor ---

    bool vvoiceModified() const { return vvoiceModified_; }
    CZRVVoice* findVVoice(int vBS, int vPC) const;
    bool insertVVoice(int vBS, int vPC, const wchar_t* compID, const wchar_t* name,
                      const ZRVVoiceParam& param);
    bool updateVVoice(int vBS, int vPC, const wchar_t* name, const ZRVVoiceParam& param);
    bool removeVVoice(int vBS, int vPC);
    /// Reports why the song has no VVoice (`vBS`, `vPC`): ZR_E_NO_SEQUENCE or
    /// ZR_E_VVOICE_NOT_FOUND.
    void failNoVVoice(int vBS, int vPC);
    void openUpdateContext() { vvoiceUpdates_.emplace(); }
    void notifyVVoiceUpdates();

    bool auxModified() const { return auxModified_; }
    CZRNodeList* auxList() const;
    CZRAux* addAux(const ZRAux& aux);
    bool updateAux(std::uint32_t objID, const ZRAux& aux);
    bool removeAux(std::uint32_t objID);

    // --- The mixer, changed outside the editor ---

    bool mixerModified() const { return mixerModified_; }
    /// Marks the mixer as changed since the song was created, loaded or saved.
    void noteMixerChange() { mixerModified_ = true; }

    /// The score the last MusicXML survey read, for the import of the unchanged file that
    /// follows it, so that a survey and its import read the score once.
    CxKeptScore& keptScore() { return keptScore_; }

private:
    bool runInitialization(const ZRKorManagementPolicy& policy);
    void discardState();
    void releaseVoiceDatabase();

    bool initialized_ = false;
    ZRKorManagementPolicy policy_;
    std::uint32_t lastError_ = 0;
    std::wstring lastErrorMessage_;
    std::unique_ptr<CZRCommitHistory> history_;
    std::uint32_t editorOwner_ = 0;
    std::vector<IZRMessageWindow*> observers_;
    std::vector<std::pair<std::uint32_t, ZRChangeObserver>> changeObservers_; // by handle
    std::uint32_t lastObserverHandle_ = 0;
    // Raised while the observers are told of a change: the lists must not change under the loop.
    bool notifying_ = false;
    /// Fails with ZR_E_INVALID_PARAMETER when the observers are being told of a change.
    bool refuseWhileNotifying();
    /// Tells the change observers of the step `cause` names, whose records had the IDs `ids`.
    void reportChanges(const std::vector<std::uint32_t>& ids, ZRChangeCause cause);
    bool holdsVoiceDatabase_ = false;
    CxKeptScore keptScore_;

    /// Whether `values` may be stored in a VVoice; false with the first fault reported.
    bool checkVVoice(const ZRVVoiceValues& values);
    /// Makes room to note one more update, so that noting it after a change cannot fail.
    void reserveUpdate();
    void noteUpdate(std::uint32_t objID) noexcept;
    /// Detaches the editor handed out, which the host may still hold, from the song that is
    /// going; it stays with the manager until the host releases it or the manager goes.
    void detachEditor() noexcept;

    kor::platform::CriticalSection editorLock_; // guards editor_, editorOwner_ and detached_
    std::unique_ptr<CZRKorEditorIF> editor_;
    // Editors detached from an earlier song, not yet released. Room for the editor handed out is
    // made when it is handed out, so detaching it cannot fail.
    std::vector<std::unique_ptr<CZRKorEditorIF>> detached_;
    /// The process's voice tables as they stood when the editor was handed out (or, before the
    /// first editor, when the manager was made). The editor borrows VVoices and vibrato kinds from
    /// them; holding them until the next editor is handed out keeps what it borrowed valid
    /// whatever rebuilds or replacements of the process's tables happen meanwhile.
    std::shared_ptr<const kor::VoiceTables> voiceTables_ = CKorManagerApp::instance().tables();

    std::unique_ptr<CZRKorDocument> document_;
    CZRObjectTable copyBuffer_;
    std::unique_ptr<CZRKorDocument> importBuffer_;
    std::optional<std::vector<std::uint32_t>> vvoiceUpdates_;
    bool vvoiceModified_ = false;
    bool mixerModified_ = false;
    bool auxModified_ = false;

public:
    /// The song the last format detection read, for the load or import of the unchanged file
    /// that follows it, so that a detection and its load read the song once.
    kor::KeptSong& keptSong() { return keptSong_; }

private:
    kor::KeptSong keptSong_;
};

namespace kor {

/// Whether every field of `policy` is within its accepted values (the shortest play time counts
/// as at least 60 when the longest is compared with it).
bool isValidPolicy(const ZRKorManagementPolicy& policy);

} // namespace kor
