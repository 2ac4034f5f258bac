#include "edit/EditorHost.h"

#include "edit/CommitHistory.h"

#include <korman/ErrorCodes.h>

namespace kor {

namespace {

std::uint32_t stepAndNotify(CZRCommitHistory& history, IZREditorHost& host,
                            bool (CZRCommitHistory::*step)(std::vector<std::uint32_t>&)) {
    std::vector<std::uint32_t> ids;
    if (!(history.*step)(ids)) return ZR_E_NOT_ENOUGH_MEMORY;
    host.notifyObservers(ids);
    return 0;
}

} // namespace

std::uint32_t undoAndNotify(CZRCommitHistory& history, IZREditorHost& host) {
    return stepAndNotify(history, host, &CZRCommitHistory::undo);
}

std::uint32_t redoAndNotify(CZRCommitHistory& history, IZREditorHost& host) {
    return stepAndNotify(history, host, &CZRCommitHistory::redo);
}

} // namespace kor
