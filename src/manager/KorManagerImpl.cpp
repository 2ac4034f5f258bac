#include "manager/KorManagerImpl.h"

#include "manager/KorManagerApp.h"
#include "platform/MemoryStatus.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRMessageWindow.h>

#include <algorithm>
#include <new>

namespace kor {

bool isValidPolicy(const ZRKorManagementPolicy& p) {
    const auto unlimitedOr = [](int value, int least) { return value == -1 || value >= least; };
    const auto isFlag = [](int value) { return value == 0 || value == 1; };
    const int minPlayTime = std::max(60, p.minPlayTime);
    return unlimitedOr(p.undoLimit, 1) && p.maxZRTracks >= 1 && p.maxZRTracks <= 16 &&
           unlimitedOr(p.maxPartsPerTrack, 0) && isFlag(p.editorFlag4) && isFlag(p.editorFlag5) &&
           unlimitedOr(p.editorLimit6, 0) && isFlag(p.editorFlag7) &&
           unlimitedOr(p.maxNoteTick, 0) && unlimitedOr(p.maxPlayTime, minPlayTime) &&
           unlimitedOr(p.editorLimit11, 0) && unlimitedOr(p.editorLimit12, 60) &&
           !p.schemaFolder.empty();
}

} // namespace kor

CZRKorManagerImpl::~CZRKorManagerImpl() { discardState(); }

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
    policy_ = policy;
    policy_.minPlayTime = std::max(60, policy.minPlayTime);
    history_ = std::make_unique<CZRCommitHistory>(policy_.undoLimit);
    observers_.clear();

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

// Returns the manager to its state before initialization: no history, no observers, no hold on
// the voice database.
void CZRKorManagerImpl::discardState() {
    history_.reset();
    observers_.clear();
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

bool CZRKorManagerImpl::registerObserver(IZRMessageWindow* window) {
    if (window == nullptr) return false;
    if (std::find(observers_.begin(), observers_.end(), window) == observers_.end())
        observers_.push_back(window);
    return true;
}

void CZRKorManagerImpl::notifyObservers(const std::vector<std::uint32_t>& ids) const {
    for (IZRMessageWindow* window : observers_) {
        // Each window owns the list it is sent and deletes it.
        auto list = std::make_unique<std::vector<std::uint32_t>>(ids);
        window->postMessage(ZR_WM_UPDATE, editorOwner_, reinterpret_cast<intptr_t>(list.release()));
    }
}

bool CZRKorManagerImpl::hasMemoryHeadroom(std::uint64_t bytes) {
    if (kor::platform::hasHeadroomFor(bytes)) return true;
    if (history_ != nullptr) history_->trimForMemory();
    return false;
}
