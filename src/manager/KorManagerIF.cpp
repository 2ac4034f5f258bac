#include <korman/CZRKorManagerIF.h>

#include "manager/CallProtocol.h"
#include "manager/ErrorTable.h"
#include "manager/KorManagerApp.h"
#include "manager/KorManagerImpl.h"

#include "model/Aux.h"
#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/Sequence.h"
#include "model/VVoice.h"

#include <korman/ErrorCodes.h>

#include <new>

CZRKorManagerIF::CZRKorManagerIF() = default;

CZRKorManagerIF::~CZRKorManagerIF() { delete impl_; }

int CZRKorManagerIF::sysInitialize(const ZRKorManagementPolicy& policy) {
    try {
        if (impl_ == nullptr) impl_ = new CZRKorManagerImpl;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    impl_->clearLastError();
    if (impl_->isInitialized()) return 1;
    return impl_->initialize(policy) ? 1 : 0;
}

int CZRKorManagerIF::sysIsInitialized() const {
    if (impl_ == nullptr) return 0;
    impl_->clearLastError();
    return impl_->isInitialized() ? 1 : 0;
}

std::uint32_t CZRKorManagerIF::sysGetLastError() const {
    return impl_ != nullptr ? impl_->lastError() : ZR_E_NOT_INITIALIZED;
}

const wchar_t* CZRKorManagerIF::sysGetLastErrorMsg() const {
    return impl_ != nullptr ? impl_->lastErrorMessage().c_str() : nullptr;
}

const wchar_t* CZRKorManagerIF::sysGetErrorMsg(std::uint32_t code) const {
    return impl_ != nullptr ? kor::errorMessage(code) : nullptr;
}

int CZRKorManagerIF::sysRegisterObserver(IZRMessageWindow* window) {
    if (impl_ == nullptr) return 0;
    impl_->clearLastError();
    try {
        return impl_->registerObserver(window) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        impl_->setLastError(ZR_E_NOT_ENOUGH_MEMORY);
        return 0;
    }
}

int CZRKorManagerIF::sysReplaceVVoiceLibTable(const std::map<ZRVVoiceKey, ZRVVoiceLib>& table) {
    if (impl_ == nullptr) return 0;
    try {
        return CKorManagerApp::instance().replaceVVoiceLibTable(table) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

IZRKorRoot* CZRKorManagerIF::korCreateNewSequence(const wchar_t* name, const wchar_t* comment,
                                                  int premeasure) {
    return kor::runProtocol(impl_, static_cast<IZRKorRoot*>(nullptr), [&](CZRKorManagerImpl& m) {
        return static_cast<IZRKorRoot*>(m.createNewSequence({name, comment, premeasure}, {}));
    });
}

IZRKorRoot* CZRKorManagerIF::korCreateNewSequenceWithMusicalPart(
    const wchar_t* name, const wchar_t* comment, int premeasure, const wchar_t* partName,
    const wchar_t* partComment, int playTime) {
    return kor::runProtocol(impl_, static_cast<IZRKorRoot*>(nullptr), [&](CZRKorManagerImpl& m) {
        const kor::FirstPartSettings part{partName, partComment, playTime, std::nullopt};
        return static_cast<IZRKorRoot*>(m.createNewSequence({name, comment, premeasure}, part));
    });
}

IZRKorRoot* CZRKorManagerIF::korCreateNewSequenceWithMusicalPartAndSinger(
    const wchar_t* name, const wchar_t* comment, int premeasure, const wchar_t* partName,
    const wchar_t* partComment, int playTime, const ZRMusicalSinger& singer) {
    return kor::runProtocol(impl_, static_cast<IZRKorRoot*>(nullptr), [&](CZRKorManagerImpl& m) {
        const kor::FirstPartSettings part{partName, partComment, playTime,
                                      std::make_pair(singer.vBS, singer.vPC)};
        return static_cast<IZRKorRoot*>(m.createNewSequence({name, comment, premeasure}, part));
    });
}

void CZRKorManagerIF::korDestroySequence() {
    kor::runProtocol(impl_, 0, [](CZRKorManagerImpl& m) {
        m.destroySequence();
        return 0;
    });
}

IZRKorRoot* CZRKorManagerIF::korGetCurrentSequence() {
    return kor::runProtocol(impl_, static_cast<IZRKorRoot*>(nullptr), [](CZRKorManagerImpl& m) {
        return static_cast<IZRKorRoot*>(m.document() != nullptr ? m.document()->root() : nullptr);
    });
}

IZRMasterTrack* CZRKorManagerIF::korGetCurrentMasterTrack() {
    return kor::runProtocol(impl_, static_cast<IZRMasterTrack*>(nullptr), [](CZRKorManagerImpl& m) {
        return static_cast<IZRMasterTrack*>(m.sequence() != nullptr ? m.sequence()->masterTrack()
                                                                    : nullptr);
    });
}

IZRKorObject* CZRKorManagerIF::korGetKorObject(std::uint32_t objID) const {
    return kor::runProtocol(impl_, static_cast<IZRKorObject*>(nullptr),
                            [objID](CZRKorManagerImpl& m) { return m.lookup(objID); });
}

std::uint32_t CZRKorManagerIF::korCopyKorObject(std::uint32_t objID) {
    return kor::runProtocol(impl_, ZR_NO_OBJ_ID,
                            [objID](CZRKorManagerImpl& m) { return m.copyToBuffer(objID); });
}

IZRKorObject* CZRKorManagerIF::korGetKorObjectFromCopyBuffer(std::uint32_t objID) {
    return kor::runProtocol(impl_, static_cast<IZRKorObject*>(nullptr),
                            [objID](CZRKorManagerImpl& m) { return m.lookupInCopyBuffer(objID); });
}

void CZRKorManagerIF::korDeleteObjectFromCopyBuffer(std::uint32_t objID) {
    kor::runProtocol(impl_, 0, [objID](CZRKorManagerImpl& m) {
        m.deleteFromCopyBuffer(objID);
        return 0;
    });
}

void CZRKorManagerIF::korEmptyCopyBuffer() {
    kor::runProtocol(impl_, 0, [](CZRKorManagerImpl& m) {
        m.emptyCopyBuffer();
        return 0;
    });
}

IZRKorObject* CZRKorManagerIF::korGetKorObjectFromImportBuffer(std::uint32_t objID) {
    return kor::runProtocol(impl_, static_cast<IZRKorObject*>(nullptr), [objID](CZRKorManagerImpl& m) {
        return m.lookupInImportBuffer(objID);
    });
}

void CZRKorManagerIF::korEmptyImportBuffer() {
    kor::runProtocol(impl_, 0, [](CZRKorManagerImpl& m) {
        m.emptyImportBuffer();
        return 0;
    });
}

std::uint32_t CZRKorManagerIF::korCalcSubTreeSize(std::uint32_t objID) {
    return kor::runProtocol(impl_, 0u, [objID](CZRKorManagerImpl& m) {
        const std::uint64_t size = m.subtreeSize(objID);
        return static_cast<std::uint32_t>(std::min<std::uint64_t>(size, UINT32_MAX));
    });
}

int CZRKorManagerIF::vvoiceIsModified() const {
    return kor::runProtocol(impl_, 0, [](CZRKorManagerImpl& m) { return m.vvoiceModified() ? 1 : 0; });
}

IZRVVoice* CZRKorManagerIF::vvoiceGetVVoice(int vBS, int vPC) const {
    return kor::runProtocol(impl_, static_cast<IZRVVoice*>(nullptr), [=](CZRKorManagerImpl& m) {
        return static_cast<IZRVVoice*>(m.findVVoice(vBS, vPC));
    });
}

int CZRKorManagerIF::vvoiceInsertVVoice(int vBS, int vPC, const wchar_t* compID,
                                        const wchar_t* name, const ZRVVoiceParam& param) {
    return kor::runProtocol(impl_, 0, [&](CZRKorManagerImpl& m) {
        return m.insertVVoice(vBS, vPC, compID, name, param) ? 1 : 0;
    });
}

int CZRKorManagerIF::vvoiceUpdateVVoice(int vBS, int vPC, const wchar_t* name,
                                        const ZRVVoiceParam& param) {
    return kor::runProtocol(impl_, 0, [&](CZRKorManagerImpl& m) {
        return m.updateVVoice(vBS, vPC, name, param) ? 1 : 0;
    });
}

int CZRKorManagerIF::vvoiceRemoveVVoice(int vBS, int vPC) {
    return kor::runProtocol(impl_, 0,
                            [=](CZRKorManagerImpl& m) { return m.removeVVoice(vBS, vPC) ? 1 : 0; });
}

void CZRKorManagerIF::vvoiceGetVVoiceConvertTable(std::vector<ZRVVoiceConvertInfo>& rows) const {
    rows.clear();
    kor::runProtocol(impl_, 0, [&rows](CZRKorManagerImpl& m) {
        if (m.document() != nullptr) rows = m.document()->vvoiceConversions;
        return 0;
    });
}

void CZRKorManagerIF::vvoiceGetSingerConvertTable(std::vector<ZRSingerConvertInfo>& rows) const {
    rows.clear();
    kor::runProtocol(impl_, 0, [&rows](CZRKorManagerImpl& m) {
        if (m.document() != nullptr) rows = m.document()->singerConversions;
        return 0;
    });
}

void CZRKorManagerIF::vvoiceInitializeUpdateContext() {
    kor::runProtocol(impl_, 0, [](CZRKorManagerImpl& m) {
        m.openUpdateContext();
        return 0;
    });
}

void CZRKorManagerIF::vvoiceNotifyObserversOfUpdates() {
    kor::runProtocol(impl_, 0, [](CZRKorManagerImpl& m) {
        m.notifyVVoiceUpdates();
        return 0;
    });
}

int CZRKorManagerIF::auxIsModified() const {
    return kor::runProtocol(impl_, 0, [](CZRKorManagerImpl& m) { return m.auxModified() ? 1 : 0; });
}

int CZRKorManagerIF::auxGetAuxNum() const {
    return kor::runProtocol(impl_, 0, [](CZRKorManagerImpl& m) {
        return m.auxList() != nullptr ? static_cast<int>(m.auxList()->getCount()) : 0;
    });
}

IZRAux* CZRKorManagerIF::auxGetAux(int index) const {
    return kor::runProtocol(impl_, static_cast<IZRAux*>(nullptr), [index](CZRKorManagerImpl& m) {
        const CZRNodeList* list = m.auxList();
        return static_cast<IZRAux*>(list != nullptr && index >= 0
                                        ? kor::objCast<CZRAux>(list->elementAt(
                                              static_cast<std::uint32_t>(index)))
                                        : nullptr);
    });
}

IZRAux* CZRKorManagerIF::auxAddAux(const ZRAux& aux) {
    return kor::runProtocol(impl_, static_cast<IZRAux*>(nullptr), [&aux](CZRKorManagerImpl& m) {
        return static_cast<IZRAux*>(m.addAux(aux));
    });
}

int CZRKorManagerIF::auxUpdateAux(std::uint32_t objID, const ZRAux& aux) {
    return kor::runProtocol(impl_, 0,
                            [&](CZRKorManagerImpl& m) { return m.updateAux(objID, aux) ? 1 : 0; });
}

int CZRKorManagerIF::auxRemoveAux(std::uint32_t objID) {
    return kor::runProtocol(impl_, 0,
                            [objID](CZRKorManagerImpl& m) { return m.removeAux(objID) ? 1 : 0; });
}

IZRKorEditorIF* CZRKorManagerIF::editGetKorEditor(unsigned int owner) {
    return kor::runProtocol(impl_, static_cast<IZRKorEditorIF*>(nullptr),
                            [owner](CZRKorManagerImpl& m) { return m.acquireEditor(owner); });
}

void CZRKorManagerIF::editReleaseKorEditor(IZRKorEditorIF*& editor) {
    kor::runProtocol(impl_, 0, [&editor](CZRKorManagerImpl& m) {
        m.releaseEditor(editor);
        return 0;
    });
}

int CZRKorManagerIF::editUndo() {
    return kor::runProtocol(impl_, 0, [](CZRKorManagerImpl& m) { return m.undo() ? 1 : 0; });
}

int CZRKorManagerIF::editRedo() {
    return kor::runProtocol(impl_, 0, [](CZRKorManagerImpl& m) { return m.redo() ? 1 : 0; });
}

int CZRKorManagerIF::editCanUndo() const {
    return kor::runProtocol(impl_, 0, [](CZRKorManagerImpl& m) {
        return m.history() != nullptr && m.history()->canUndo() ? 1 : 0;
    });
}

int CZRKorManagerIF::editCanRedo() const {
    return kor::runProtocol(impl_, 0, [](CZRKorManagerImpl& m) {
        return m.history() != nullptr && m.history()->canRedo() ? 1 : 0;
    });
}

unsigned int CZRKorManagerIF::editGetCurrentCommitPoint() const {
    return kor::runProtocol(impl_, 0u, [](CZRKorManagerImpl& m) {
        return m.history() != nullptr ? m.history()->currentCommitPoint() : 0u;
    });
}

int CZRKorManagerIF::editIsEdited(unsigned int objID, unsigned int commitPoint,
                                  int musicalOnly) const {
    return kor::runProtocol(impl_, 0, [=](CZRKorManagerImpl& m) {
        return m.history() != nullptr && m.document() != nullptr &&
                       m.history()->isEdited(m.document()->objects(), objID, commitPoint,
                                             musicalOnly != 0)
                   ? 1
                   : 0;
    });
}

void CZRKorManagerIF::editGetEditedTempoPosition(unsigned int commitPoint,
                                                 std::vector<int>& positions) const {
    positions.clear();
    kor::runProtocol(impl_, 0, [&](CZRKorManagerImpl& m) {
        if (m.history() != nullptr) m.history()->editedTempoPositions(commitPoint, positions);
        return 0;
    });
}
