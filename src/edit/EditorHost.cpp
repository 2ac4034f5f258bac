#include "edit/EditorHost.h"

#include "edit/CommitHistory.h"

#include <korman/ErrorCodes.h>

namespace kor {

namespace {

std::uint32_t stepAndNotify(CZRCommitHistory& history, IZREditorHost& host,
                            bool (CZRCommitHistory::*step)(std::vector<std::uint32_t>&),
                            ZRChangeCause cause) {
    std::vector<std::uint32_t> ids;
    if (!(history.*step)(ids)) return ZR_E_NOT_ENOUGH_MEMORY;
    host.notifyObservers(ids, cause);
    return 0;
}

} // namespace

std::uint32_t undoAndNotify(CZRCommitHistory& history, IZREditorHost& host) {
    return stepAndNotify(history, host, &CZRCommitHistory::undo, ZRChangeCause::Undo);
}

std::uint32_t redoAndNotify(CZRCommitHistory& history, IZREditorHost& host) {
    return stepAndNotify(history, host, &CZRCommitHistory::redo, ZRChangeCause::Redo);
}

} // namespace kor
