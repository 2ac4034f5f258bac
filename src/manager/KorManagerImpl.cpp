#include "manager/KorManagerImpl.h"

#include "edit/EditMessages.h"
#include "edit/PreMeasureEdits.h"
#include "formats/kor3/Kor3Parser.h"
#include "formats/kor4/Kor4Parser.h"
#include "legacy/IconVibrato.h"
#include "manager/ErrorTable.h"
#include "manager/HistoryHold.h"
#include "manager/KorManagerApp.h"
#include "model/KorRoot.h"
#include "model/ObjectTree.h"
#include "model/Sequence.h"
#include "model/UnManaged.h"
#include "platform/DynamicModule.h"
#include "platform/FileFailure.h"
#include "platform/MemoryStatus.h"
#include "platform/Path.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRMessageWindow.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <new>
#include <system_error>

namespace kor {

bool isValidPolicy(const ZRKorManagementPolicy& p) {
    const auto unlimitedOr = [](int value, int least) { return value == -1 || value >= least; };
    const auto isFlag = [](int value) { return value == 0 || value == 1; };
    const int minPlayTime = std::max(60, p.minPlayTime);
    return unlimitedOr(p.undoLimit, 1) && p.maxZRTracks >= 1 && p.maxZRTracks <= 16 &&
           unlimitedOr(p.maxPartsPerTrack, 0) && isFlag(p.editorFlag4) && isFlag(p.editorFlag5) &&
           unlimitedOr(p.editorLimit6, 0) && isFlag(p.editorFlag7) &&
           unlimitedOr(p.maxNoteTick, 0) && unlimitedOr(p.maxPlayTime, minPlayTime) &&
           unlimitedOr(p.editorLimit11, 0) && unlimitedOr(p.editorLimit12, 60);
}

} // namespace kor

namespace {

// The folder whose schemas the song readers validate against, or why it cannot serve.
struct SchemaFolder {
    std::wstring path;
    std::wstring failure;
};

// The policy's schema folder, or the folder the library was installed in when the policy names
// none, made absolute so that the host changing its working folder later does not move it. It
// must hold both schemas: a missing one would otherwise surface only at the first load, after
// the host has done work it cannot then save and load back.
SchemaFolder schemaFolderOf(const std::wstring& named) {
    SchemaFolder folder{named.empty() ? kor::platform::libraryFolder() : named, {}};
    if (folder.path.empty()) {
        folder.failure = L"The folder of the library cannot be found; name the schema folder in "
                         L"the policy.";
        return folder;
    }
    if (const auto native = kor::platform::toPath(folder.path)) {
        std::error_code ignored;
        if (const auto absolute =
                kor::platform::fromPath(std::filesystem::absolute(*native, ignored));
            absolute && !absolute->empty())
            folder.path = *absolute;
    }
    for (const wchar_t* schema : {Kor3::kSchemaFile, Kor4::kSchemaFile}) {
        const kor::platform::FileFailure missing =
            kor::platform::readFailure(kor::platform::joinPath(folder.path, schema));
        if (!missing.failed()) continue;
        folder.failure = kor::platform::describe(missing) + L" The schema folder " + folder.path +
                         L" must hold kor3.xsd and kor4.xsd" +
                         (named.empty() ? L"; the policy names none, so the library's folder "
                                          L"stands in."
                                        : L".");
        break;
    }
    return folder;
}

} // namespace

CZRKorManagerImpl::~CZRKorManagerImpl() {
    discardState();
}

bool CZRKorManagerImpl::initialize(const ZRKorManagementPolicy& policy) {
    try {
        initialized_ = runInitialization(policy);
    } catch (const std::bad_alloc&) {
        lastError_ = ZR_E_NOT_ENOUGH_MEMORY;
    } catch (...) {
        lastError_ = ZR_E_CANNOT_INITIALIZE_MANAGER;
    }
    return initialized_;
}

bool CZRKorManagerImpl::runInitialization(const ZRKorManagementPolicy& policy) {
    discardState();
    if (!kor::isValidPolicy(policy)) {
        lastError_ = ZR_E_INVALID_MANAGEMENT_POLICY;
        return false;
    }
    const SchemaFolder schemas = schemaFolderOf(policy.schemaFolder);
    if (!schemas.failure.empty()) {
        fail(ZR_E_INVALID_MANAGEMENT_POLICY, L"%ls", schemas.failure.c_str());
        return false;
    }
    policy_ = policy;
    policy_.schemaFolder = schemas.path;
    policy_.minPlayTime = std::max(60, policy.minPlayTime);
    history_ = std::make_unique<CZRCommitHistory>(policy_.undoLimit);
    observers_.clear();
    changeObservers_.clear();

    CKorManagerApp& app = CKorManagerApp::instance();
    if (!app.createFolders()) {
        lastError_ = ZR_E_CANNOT_CREATE_TEMPORARY_FOLDER;
        return false;
    }
    const std::uint32_t acquired = app.acquireVoiceDatabase();
    if (acquired == ZR_E_CANNOT_INITIALIZE_DBM) {
        lastError_ = acquired;
        return false;
    }
    holdsVoiceDatabase_ = true;
    // A full table of virtual voices is reported, but the manager still works.
    lastError_ = acquired;
    if (!app.buildVVoiceTables()) {
        lastError_ = ZR_E_CANNOT_CREATE_INTERNAL_VVOICE_TABLE;
        return false;
    }
    if (!app.buildVibratoTable()) {
        lastError_ = ZR_E_CANNOT_CREATE_VIBRATO_TABLE;
        return false;
    }
    return true;
}

// Returns the manager to its state before initialization: no song, no history, no observers, no
// hold on the voice database.
void CZRKorManagerImpl::discardState() {
    destroySequence();
    history_.reset();
    observers_.clear();
    changeObservers_.clear();
    releaseVoiceDatabase();
    initialized_ = false;
}

// A manager gives back only the hold it took, so one manager's teardown never unloads the voice
// database under another that still uses it.
void CZRKorManagerImpl::releaseVoiceDatabase() {
    if (!holdsVoiceDatabase_) return;
    CKorManagerApp::instance().releaseVoiceDatabase();
    holdsVoiceDatabase_ = false;
}

const wchar_t* CZRKorManagerImpl::lastErrorMessage() const {
    if (!lastErrorMessage_.empty() || lastError_ == 0) return lastErrorMessage_.c_str();
    return errorMessage(lastError_);
}

bool CZRKorManagerImpl::registerObserver(IZRMessageWindow* window) {
    if (window == nullptr) {
        fail(ZR_E_INVALID_PARAMETER, L"The observer window is null.");
        return false;
    }
    if (std::find(observers_.begin(), observers_.end(), window) == observers_.end())
        observers_.push_back(window);
    return true;
}

bool CZRKorManagerImpl::refuseWhileNotifying() {
    if (!notifying_) return false;
    fail(ZR_E_INVALID_PARAMETER, L"The observers are being told of a change; add or remove "
                                 L"observers after the call that tells them has returned.");
    return true;
}

bool CZRKorManagerImpl::unregisterObserver(IZRMessageWindow* window) {
    if (refuseWhileNotifying()) return false;
    const auto found = std::find(observers_.begin(), observers_.end(), window);
    if (window == nullptr || found == observers_.end()) {
        fail(ZR_E_INVALID_PARAMETER, window == nullptr
                                         ? L"The observer window is null."
                                         : L"The window is not registered with this manager.");
        return false;
    }
    observers_.erase(found);
    return true;
}

std::uint32_t CZRKorManagerImpl::registerChangeObserver(ZRChangeObserver observer) {
    if (refuseWhileNotifying()) return 0;
    if (!observer) {
        fail(ZR_E_INVALID_PARAMETER, L"The change observer is an empty function.");
        return 0;
    }
    // Handles are never reused while the manager lives (and never 0), so a stale handle cannot
    // remove a later observer.
    if (lastObserverHandle_ == std::numeric_limits<std::uint32_t>::max()) {
        fail(ZR_E_INVALID_PARAMETER, L"This manager has handed out every observer handle.");
        return 0;
    }
    changeObservers_.emplace_back(lastObserverHandle_ + 1, std::move(observer));
    return ++lastObserverHandle_;
}

bool CZRKorManagerImpl::unregisterChangeObserver(std::uint32_t handle) {
    if (refuseWhileNotifying()) return false;
    const auto found = std::find_if(changeObservers_.begin(), changeObservers_.end(),
                                    [handle](const auto& entry) { return entry.first == handle; });
    if (found == changeObservers_.end()) {
        fail(ZR_E_INVALID_PARAMETER, L"No change observer of this manager has the handle %u.",
             handle);
        return false;
    }
    changeObservers_.erase(found);
    return true;
}

void CZRKorManagerImpl::notifyObservers(const std::vector<std::uint32_t>& ids,
                                        ZRChangeCause cause) noexcept {
    notifying_ = true;
    for (IZRMessageWindow* window : observers_) {
        // Each window owns the list it is sent and deletes it.
        std::unique_ptr<std::vector<std::uint32_t>> list;
        try {
            list = std::make_unique<std::vector<std::uint32_t>>(ids);
        } catch (const std::bad_alloc&) {
            continue;
        }
        window->postMessage(ZR_WM_UPDATE, editorOwner_, reinterpret_cast<intptr_t>(list.release()));
    }
    try {
        if (!changeObservers_.empty()) reportChanges(ids, cause);
    } catch (...) {
        // The change stands; without memory for the report the change observers miss it.
    }
    notifying_ = false;
}

void CZRKorManagerImpl::reportChanges(const std::vector<std::uint32_t>& ids, ZRChangeCause cause) {
    std::vector<ZRChange> changes;
    const wchar_t* label = L"";
    if (cause == ZRChangeCause::VVoiceUpdate) {
        changes.reserve(ids.size());
        for (const std::uint32_t objID : ids)
            changes.push_back({objID, ZRChangeKind::Updated, ZR_CHANGE_MODIFIED});
    } else if (!ids.empty() && history_ != nullptr) {
        label = history_->describeStep(cause == ZRChangeCause::Undo, changes);
    }
    const ZRChangeReport report{cause, changes, label,
                                history_ != nullptr ? history_->currentCommitPoint() : 0,
                                editorOwner_};
    for (const auto& [handle, observer] : changeObservers_)
        observer(report);
}

bool CZRKorManagerImpl::hasMemoryHeadroom(std::uint64_t bytes) {
    if (kor::platform::hasHeadroomFor(bytes)) return true;
    if (history_ != nullptr) history_->trimForMemory();
    return false;
}

CZRKorRoot*
CZRKorManagerImpl::createNewSequence(const kor::NewSongSettings& song,
                                     const std::optional<kor::FirstPartSettings>& firstPart) {
    if (song.preMeasure < 1 || song.preMeasure > kor::kMaxPreMeasure) {
        fail(ZR_E_INVALID_PREMEASURE, L"%ls",
             kor::rangeDetail(L"Pre-measure count", song.preMeasure, 1, kor::kMaxPreMeasure)
                 .c_str());
        return nullptr;
    }
    if (firstPart && (firstPart->playTime < policy_.minPlayTime ||
                      (policy_.maxPlayTime != -1 && firstPart->playTime > policy_.maxPlayTime))) {
        const std::int32_t longest =
            policy_.maxPlayTime != -1 ? policy_.maxPlayTime : kor::kNoLimit;
        fail(ZR_E_INVALID_PART_PLAY_TIME, L"%ls (the policy's shortest and longest play time)",
             kor::rangeDetail(L"Play time", firstPart->playTime, policy_.minPlayTime, longest,
                              L" ticks")
                 .c_str());
        return nullptr;
    }

    kor::HistoryHold hold(history_.get());
    destroySequence();
    const CKorManagerApp& app = CKorManagerApp::instance();
    const std::shared_ptr<const kor::VoiceTables> tables = app.tables();
    std::uint32_t error = 0;
    std::unique_ptr<CZRKorDocument> document =
        kor::buildNewDocument(song, tables->vvoices, app.tempFolder(), error);
    if (document == nullptr) {
        if (error == ZR_E_CANNOT_CREATE_TEMPORARY_FOLDER)
            fail(error, L"No file can be made in %ls for the new song.", app.tempFolder().c_str());
        else
            setLastError(error);
        return nullptr;
    }
    if (firstPart &&
        !kor::addFirstMusicalPart(*document, *firstPart, tables->vvoices, tables->defaultVVoice)) {
        setLastError(ZR_E_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    document_ = std::move(document);
    return document_->root();
}

void CZRKorManagerImpl::destroySequence() {
    detachEditor();
    document_.reset();
    if (history_ != nullptr) history_->reset();
    vvoiceUpdates_.reset();
    importBuffer_.reset();
    vvoiceModified_ = mixerModified_ = auxModified_ = false;
}

CZRSequence* CZRKorManagerImpl::sequence() const {
    return document_ != nullptr && document_->root() != nullptr ? document_->root()->sequence()
                                                                : nullptr;
}

IZRKorObject* CZRKorManagerImpl::lookup(std::uint32_t objID) const {
    return document_ != nullptr ? document_->objects().lookup(objID) : nullptr;
}

std::uint32_t CZRKorManagerImpl::copyToBuffer(std::uint32_t objID) {
    const IZRMutableKorObject* source =
        document_ != nullptr ? document_->objects().lookup(objID) : nullptr;
    if (source == nullptr) {
        failNoObject(ZR_E_EDIT_TARGET_NOT_FOUND, objID);
        return ZR_NO_OBJ_ID;
    }
    const std::uint64_t size = kor::subtreeSize(source);
    if (!hasMemoryHeadroom(size)) {
        fail(ZR_E_NOT_ENOUGH_MEMORY, L"A copy of the %ls %u needs %llu bytes and room to spare.",
             kor::objectName(*source).c_str(), objID, static_cast<unsigned long long>(size));
        return ZR_NO_OBJ_ID;
    }
    // Copies draw their IDs from the song's counter, so an ID names one object in the song and
    // its buffer alike, and copies of copies never collide.
    const ZRCreateContext context{copyBuffer_, document_->objects()};
    const IZRMutableKorObject* copy = source->cloneInto(context, ZR_COPY_DEEP);
    if (copy == nullptr) {
        fail(ZR_E_NOT_ENOUGH_MEMORY,
             L"No copy of the %ls %u could be made (the song root, the sequence and the mixer "
             L"have none).",
             kor::objectName(*source).c_str(), objID);
        return ZR_NO_OBJ_ID;
    }
    return copy->getObjID();
}

IZRKorObject* CZRKorManagerImpl::lookupInCopyBuffer(std::uint32_t objID) const {
    return copyBuffer_.lookup(objID);
}

void CZRKorManagerImpl::deleteFromCopyBuffer(std::uint32_t objID) {
    const IZRMutableKorObject* copy = copyBuffer_.lookup(objID);
    if (copy == nullptr)
        fail(ZR_E_COPY_SOURCE_NOT_FOUND, L"The copy buffer holds no object %u.", objID);
    else if (copy->getParent() != nullptr)
        fail(ZR_E_COPY_SOURCE_NOT_FOUND,
             L"Object %u is part of another copy; delete the copy that holds it.", objID);
    else
        copyBuffer_.destroy(objID);
}

void CZRKorManagerImpl::failNoSong() {
    fail(ZR_E_NO_SEQUENCE, L"There is no current song: create or load one first.");
}

void CZRKorManagerImpl::failNoImport() {
    fail(ZR_E_IMPORT_SOURCE_NOT_FOUND, L"The import buffer is empty: import a song first.");
}

void CZRKorManagerImpl::failNoObject(std::uint32_t code, std::uint32_t objID,
                                     std::optional<ZRObjType> kind) {
    if (document_ == nullptr)
        failNoSong();
    else if (kind)
        fail(code, L"The current song has no %ls %u.", kor::kindName(*kind), objID);
    else
        fail(code, L"The current song has no object %u.", objID);
}

IZRKorObject* CZRKorManagerImpl::lookupInImportBuffer(std::uint32_t objID) const {
    return importBuffer_ != nullptr ? importBuffer_->objects().lookup(objID) : nullptr;
}

std::uint64_t CZRKorManagerImpl::subtreeSize(std::uint32_t objID) const {
    return document_ != nullptr ? kor::subtreeSize(document_->objects().lookup(objID)) : 0;
}

const wchar_t* CZRKorManagerImpl::errorMessage(std::uint32_t code) const {
    return kor::errorMessage(code);
}

IZRKorEditorIF* CZRKorManagerImpl::acquireEditor(std::uint32_t owner) {
    kor::platform::ScopedLock guard(editorLock_);
    if (document_ == nullptr || history_ == nullptr) {
        fail(ZR_E_NO_SEQUENCE, L"There is no current song to edit: create or load one first.");
        return nullptr;
    }
    if (editor_ != nullptr) {
        fail(ZR_E_EDIT_CONFLICT,
             L"The editor handed out to owner %u is still out: commit and release it "
             L"(editReleaseKorEditor) before taking another.",
             editorOwner_);
        return nullptr;
    }
    detached_.reserve(detached_.size() + 1);
    editor_ = std::make_unique<CZRKorEditorIF>(*this, policy_, *document_, *history_);
    editorOwner_ = owner;
    voiceTables_ = CKorManagerApp::instance().tables();
    return editor_.get();
}

void CZRKorManagerImpl::releaseEditor(IZRKorEditorIF*& editor) {
    kor::platform::ScopedLock guard(editorLock_);
    if (editor == nullptr) return;
    if (editor == editor_.get()) {
        // Pending records are discarded with the editor; the song is left as it is.
        editor_.reset();
        editorOwner_ = 0;
    } else {
        const auto held = std::find_if(detached_.begin(), detached_.end(),
                                       [editor](const auto& e) { return e.get() == editor; });
        if (held == detached_.end()) {
            fail(ZR_E_INVALID_PARAMETER,
                 L"The editor given was not handed out by this manager, or was released already.");
            return;
        }
        detached_.erase(held);
    }
    editor = nullptr;
}

void CZRKorManagerImpl::detachEditor() noexcept {
    kor::platform::ScopedLock guard(editorLock_);
    if (editor_ == nullptr) return;
    editor_->detach();
    // Room was made when the editor was handed out.
    detached_.push_back(std::move(editor_));
    editorOwner_ = 0;
}

bool CZRKorManagerImpl::undo() {
    lastError_ = kor::undoAndNotify(*history_, *this);
    return lastError_ == 0;
}

bool CZRKorManagerImpl::redo() {
    lastError_ = kor::redoAndNotify(*history_, *this);
    return lastError_ == 0;
}

const kor::VibratoShape* CZRKorManagerImpl::vibratoKind(std::int32_t type) const {
    const auto found = voiceTables_->vibratos.find(type);
    return found != voiceTables_->vibratos.end() ? &found->second->shape() : nullptr;
}

const kor::VVoiceTable& CZRKorManagerImpl::vvoiceTable() const {
    return voiceTables_->vvoices;
}

const ZRVVoiceLib& CZRKorManagerImpl::defaultVVoice() const {
    return voiceTables_->defaultVVoice;
}
