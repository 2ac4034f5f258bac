// Holding the commit history while the manager replaces a song document.
#pragma once

#include "edit/CommitHistory.h"

namespace kor {

/// Holds the commit history (when there is one) from construction to destruction: its lock is
/// taken and its busy count raised, so that no commit, undo or redo runs on a document that is
/// being created, loaded, imported or replaced.
class HistoryHold {
public:
    explicit HistoryHold(CZRCommitHistory* history)
        : history_(history) {
        if (history_ != nullptr) history_->enter();
    }
    ~HistoryHold() {
        if (history_ != nullptr) history_->leave();
    }
    HistoryHold(const HistoryHold&) = delete;
    HistoryHold& operator=(const HistoryHold&) = delete;

private:
    CZRCommitHistory* history_;
};

} // namespace kor
