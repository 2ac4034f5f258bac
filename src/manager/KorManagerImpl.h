// The state behind one CZRKorManagerIF: its policy, last error, commit history and observers.
#pragma once

#include "edit/CommitHistory.h"

#include <korman/CZRKorManagerIF.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// Made by the first sysInitialize of a manager and deleted with it. Holds the manager's copy of
/// the policy, its last error, its commit history, its observer windows, and its hold on the
/// process-wide voice database.
class CZRKorManagerImpl {
public:
    CZRKorManagerImpl() = default;
    CZRKorManagerImpl(const CZRKorManagerImpl&) = delete;
    CZRKorManagerImpl& operator=(const CZRKorManagerImpl&) = delete;
    ~CZRKorManagerImpl();

    /// Runs the initialization steps; the result is the initialized flag. On failure lastError
    /// names the step that failed.
    bool initialize(const ZRKorManagementPolicy& policy);
    bool isInitialized() const { return initialized_; }

    std::uint32_t lastError() const { return lastError_; }
    const std::wstring& lastErrorMessage() const { return lastErrorMessage_; }
    void clearLastError() {
        lastError_ = 0;
        lastErrorMessage_.clear();
    }
    void setLastError(std::uint32_t code) { lastError_ = code; }

    const ZRKorManagementPolicy& policy() const { return policy_; }
    CZRCommitHistory* history() { return history_.get(); }

    /// Adds a window to the observers unless it is there already; false for null.
    bool registerObserver(IZRMessageWindow* window);
    /// Sends the update message to every observer, each with its own copy of `ids`.
    void notifyObservers(const std::vector<std::uint32_t>& ids) const;
    /// The value sent as wParam of update messages: the owner of the editor that made them.
    void setEditorOwner(std::uint32_t owner) { editorOwner_ = owner; }

    /// Whether `bytes` more can be allocated with room to spare; when not, the oldest undoable
    /// commit gives its memory back (the caller still fails with ZR_E_NOT_ENOUGH_MEMORY).
    bool hasMemoryHeadroom(std::uint64_t bytes);

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
    bool holdsVoiceDatabase_ = false;
};

namespace kor {

/// Whether every field of `policy` is within its accepted values (the shortest play time counts
/// as at least 60 when the longest is compared with it).
bool isValidPolicy(const ZRKorManagementPolicy& policy);

} // namespace kor
