// The edit family of the manager's methods: the editor, undo and redo, and what changed. Each runs
// the call protocol around its operation.
#include <korman/CZRKorManagerIF.h>

#include "manager/CallProtocol.h"

#include <korman/ErrorCodes.h>

#include <vector>

IZRKorEditorIF* CZRKorManagerIF::editGetKorEditor(unsigned int owner) {
    return kor::runProtocol(impl_.get(), static_cast<IZRKorEditorIF*>(nullptr),
                            [owner](CZRKorManagerImpl& m) { return m.acquireEditor(owner); });
}

void CZRKorManagerIF::editReleaseKorEditor(IZRKorEditorIF*& editor) {
    kor::runProtocol(impl_.get(), 0, [&editor](CZRKorManagerImpl& m) {
        m.releaseEditor(editor);
        return 0;
    });
}

int CZRKorManagerIF::editUndo() {
    return kor::runProtocol(impl_.get(), 0, [](CZRKorManagerImpl& m) { return m.undo() ? 1 : 0; });
}

int CZRKorManagerIF::editRedo() {
    return kor::runProtocol(impl_.get(), 0, [](CZRKorManagerImpl& m) { return m.redo() ? 1 : 0; });
}

int CZRKorManagerIF::editCanUndo() const {
    return kor::runProtocol(impl_.get(), 0, [](CZRKorManagerImpl& m) {
        return m.history() != nullptr && m.history()->canUndo() ? 1 : 0;
    });
}

int CZRKorManagerIF::editCanRedo() const {
    return kor::runProtocol(impl_.get(), 0, [](CZRKorManagerImpl& m) {
        return m.history() != nullptr && m.history()->canRedo() ? 1 : 0;
    });
}

unsigned int CZRKorManagerIF::editGetCurrentCommitPoint() const {
    return kor::runProtocol(impl_.get(), 0u, [](CZRKorManagerImpl& m) {
        return m.history() != nullptr ? m.history()->currentCommitPoint() : 0u;
    });
}

int CZRKorManagerIF::editIsEdited(unsigned int objID, unsigned int commitPoint,
                                  int musicalOnly) const {
    return kor::runProtocol(impl_.get(), 0, [=](CZRKorManagerImpl& m) {
        // An object the song lacks has no changes to tell of; the host learns why.
        if (m.lookup(objID) == nullptr) {
            m.failNoObject(ZR_E_EDIT_TARGET_NOT_FOUND, objID);
            return 0;
        }
        return m.history()->isEdited(m.document()->objects(), objID, commitPoint, musicalOnly != 0)
                   ? 1
                   : 0;
    });
}

void CZRKorManagerIF::editGetEditedTempoPosition(unsigned int commitPoint,
                                                 std::vector<int>& positions) const {
    positions.clear();
    kor::runProtocol(impl_.get(), 0, [&](CZRKorManagerImpl& m) {
        if (m.history() != nullptr) m.history()->editedTempoPositions(commitPoint, positions);
        return 0;
    });
}

const wchar_t* CZRKorManagerIF::editGetUndoText() const {
    return kor::runProtocol(impl_.get(), L"", [](CZRKorManagerImpl& m) {
        return m.history() != nullptr ? m.history()->undoLabel() : L"";
    });
}

const wchar_t* CZRKorManagerIF::editGetRedoText() const {
    return kor::runProtocol(impl_.get(), L"", [](CZRKorManagerImpl& m) {
        return m.history() != nullptr ? m.history()->redoLabel() : L"";
    });
}
