#include <korman/CZRKorManagerIF.h>

#include "edit/EditMessages.h"
#include "manager/CallProtocol.h"
#include "manager/ErrorTable.h"
#include "manager/KorManagerApp.h"
#include "manager/KorManagerImpl.h"
#include "manager/MixerAccess.h"

#include "model/Aux.h"
#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/Sequence.h"
#include "model/VVoice.h"

#include <korman/ErrorCodes.h>

#include <memory>
#include <new>
#include <type_traits>
#include <utility>

CZRKorManagerIF::CZRKorManagerIF() = default;

CZRKorManagerIF::~CZRKorManagerIF() = default;

int CZRKorManagerIF::sysInitialize(const ZRKorManagementPolicy& policy) {
    try {
        if (impl_ == nullptr) impl_ = std::make_unique<CZRKorManagerImpl>();
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
    return impl_ != nullptr ? impl_->lastErrorMessage() : nullptr;
}

const wchar_t* CZRKorManagerIF::sysGetErrorMsg(std::uint32_t code) const {
    return impl_ != nullptr ? kor::errorMessage(code) : nullptr;
}

int CZRKorManagerIF::sysRegisterObserver(IZRMessageWindow* window) {
    if (impl_ == nullptr) return 0;
    impl_->clearLastError();
    return kor::runGuarded(*impl_.get(), 0, [window](CZRKorManagerImpl& m) {
        return m.registerObserver(window) ? 1 : 0;
    });
}

int CZRKorManagerIF::sysUnregisterObserver(IZRMessageWindow* window) {
    if (impl_ == nullptr) return 0;
    impl_->clearLastError();
    return kor::runGuarded(*impl_.get(), 0, [window](CZRKorManagerImpl& m) {
        return m.unregisterObserver(window) ? 1 : 0;
    });
}

std::uint32_t CZRKorManagerIF::sysRegisterChangeObserver(ZRChangeObserver observer) {
    if (impl_ == nullptr) return 0;
    impl_->clearLastError();
    return kor::runGuarded(*impl_.get(), 0u, [&observer](CZRKorManagerImpl& m) {
        return m.registerChangeObserver(std::move(observer));
    });
}

int CZRKorManagerIF::sysUnregisterChangeObserver(std::uint32_t handle) {
    if (impl_ == nullptr) return 0;
    impl_->clearLastError();
    return kor::runGuarded(*impl_.get(), 0, [handle](CZRKorManagerImpl& m) {
        return m.unregisterChangeObserver(handle) ? 1 : 0;
    });
}

int CZRKorManagerIF::sysReplaceVVoiceLibTable(const std::map<ZRVVoiceKey, ZRVVoiceLib>& table) {
    if (impl_ == nullptr) return 0;
    // This call neither clears nor sets the last error: any failure only answers 0.
    try {
        return CKorManagerApp::instance().replaceVVoiceLibTable(table) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

IZRKorRoot* CZRKorManagerIF::korCreateNewSequence(const wchar_t* name, const wchar_t* comment,
                                                  int premeasure) {
    return kor::runProtocol(
        impl_.get(), static_cast<IZRKorRoot*>(nullptr), [&](CZRKorManagerImpl& m) {
            return static_cast<IZRKorRoot*>(m.createNewSequence({name, comment, premeasure}, {}));
        });
}

IZRKorRoot*
CZRKorManagerIF::korCreateNewSequenceWithMusicalPart(const wchar_t* name, const wchar_t* comment,
                                                     int premeasure, const wchar_t* partName,
                                                     const wchar_t* partComment, int playTime) {
    return kor::runProtocol(
        impl_.get(), static_cast<IZRKorRoot*>(nullptr), [&](CZRKorManagerImpl& m) {
            const kor::FirstPartSettings part{partName, partComment, playTime, std::nullopt};
            return static_cast<IZRKorRoot*>(m.createNewSequence({name, comment, premeasure}, part));
        });
}

IZRKorRoot* CZRKorManagerIF::korCreateNewSequenceWithMusicalPartAndSinger(
    const wchar_t* name, const wchar_t* comment, int premeasure, const wchar_t* partName,
    const wchar_t* partComment, int playTime, const ZRMusicalSinger& singer) {
    return kor::runProtocol(
        impl_.get(), static_cast<IZRKorRoot*>(nullptr), [&](CZRKorManagerImpl& m) {
            const kor::FirstPartSettings part{partName, partComment, playTime,
                                              std::make_pair(singer.vBS, singer.vPC)};
            return static_cast<IZRKorRoot*>(m.createNewSequence({name, comment, premeasure}, part));
        });
}

void CZRKorManagerIF::korDestroySequence() {
    kor::runProtocol(impl_.get(), 0, [](CZRKorManagerImpl& m) {
        m.destroySequence();
        return 0;
    });
}

namespace {

/// `found`, or null with the reason `report()` gives as the last error: a lookup that finds
/// nothing answers null as it always has, and says why.
template <class T, class Report> T* orReport(T* found, Report&& report) {
    if (found == nullptr) report();
    return found;
}

} // namespace

IZRKorRoot* CZRKorManagerIF::korGetCurrentSequence() {
    return kor::runProtocol(
        impl_.get(), static_cast<IZRKorRoot*>(nullptr), [](CZRKorManagerImpl& m) {
            return orReport(
                static_cast<IZRKorRoot*>(m.document() != nullptr ? m.document()->root() : nullptr),
                [&m] { m.failNoSong(); });
        });
}

IZRMasterTrack* CZRKorManagerIF::korGetCurrentMasterTrack() {
    return kor::runProtocol(
        impl_.get(), static_cast<IZRMasterTrack*>(nullptr), [](CZRKorManagerImpl& m) {
            return orReport(static_cast<IZRMasterTrack*>(
                                m.sequence() != nullptr ? m.sequence()->masterTrack() : nullptr),
                            [&m] {
                                if (m.sequence() == nullptr)
                                    m.failNoSong();
                                else
                                    m.fail(ZR_E_NO_MASTER_TRACK, L"The song has no master track.");
                            });
        });
}

IZRKorObject* CZRKorManagerIF::korGetKorObject(std::uint32_t objID) const {
    return kor::runProtocol(
        impl_.get(), static_cast<IZRKorObject*>(nullptr), [objID](CZRKorManagerImpl& m) {
            return orReport(m.lookup(objID),
                            [&] { m.failNoObject(ZR_E_EDIT_TARGET_NOT_FOUND, objID); });
        });
}

std::uint32_t CZRKorManagerIF::korCopyKorObject(std::uint32_t objID) {
    return kor::runProtocol(impl_.get(), ZR_NO_OBJ_ID,
                            [objID](CZRKorManagerImpl& m) { return m.copyToBuffer(objID); });
}

IZRKorObject* CZRKorManagerIF::korGetKorObjectFromCopyBuffer(std::uint32_t objID) {
    return kor::runProtocol(
        impl_.get(), static_cast<IZRKorObject*>(nullptr), [objID](CZRKorManagerImpl& m) {
            return orReport(m.lookupInCopyBuffer(objID), [&] {
                m.fail(ZR_E_COPY_SOURCE_NOT_FOUND, L"The copy buffer holds no object %u.", objID);
            });
        });
}

void CZRKorManagerIF::korDeleteObjectFromCopyBuffer(std::uint32_t objID) {
    kor::runProtocol(impl_.get(), 0, [objID](CZRKorManagerImpl& m) {
        m.deleteFromCopyBuffer(objID);
        return 0;
    });
}

void CZRKorManagerIF::korEmptyCopyBuffer() {
    kor::runProtocol(impl_.get(), 0, [](CZRKorManagerImpl& m) {
        m.emptyCopyBuffer();
        return 0;
    });
}

IZRKorObject* CZRKorManagerIF::korGetKorObjectFromImportBuffer(std::uint32_t objID) {
    return kor::runProtocol(impl_.get(), static_cast<IZRKorObject*>(nullptr),
                            [objID](CZRKorManagerImpl& m) {
                                return orReport(m.lookupInImportBuffer(objID), [&] {
                                    if (m.importDocument() == nullptr)
                                        m.failNoImport();
                                    else
                                        m.fail(ZR_E_IMPORT_SOURCE_NOT_FOUND,
                                               L"The imported song has no object %u.", objID);
                                });
                            });
}

void CZRKorManagerIF::korEmptyImportBuffer() {
    kor::runProtocol(impl_.get(), 0, [](CZRKorManagerImpl& m) {
        m.emptyImportBuffer();
        return 0;
    });
}

std::uint32_t CZRKorManagerIF::korCalcSubTreeSize(std::uint32_t objID) {
    return kor::runProtocol(impl_.get(), 0u, [objID](CZRKorManagerImpl& m) {
        if (m.lookup(objID) == nullptr) m.failNoObject(ZR_E_EDIT_TARGET_NOT_FOUND, objID);
        const std::uint64_t size = m.subtreeSize(objID);
        return static_cast<std::uint32_t>(std::min<std::uint64_t>(size, UINT32_MAX));
    });
}

int CZRKorManagerIF::vvoiceIsModified() const {
    return kor::runProtocol(impl_.get(), 0,
                            [](CZRKorManagerImpl& m) { return m.vvoiceModified() ? 1 : 0; });
}

IZRVVoice* CZRKorManagerIF::vvoiceGetVVoice(int vBS, int vPC) const {
    return kor::runProtocol(impl_.get(), static_cast<IZRVVoice*>(nullptr),
                            [=](CZRKorManagerImpl& m) {
                                return orReport(static_cast<IZRVVoice*>(m.findVVoice(vBS, vPC)),
                                                [&] { m.failNoVVoice(vBS, vPC); });
                            });
}

int CZRKorManagerIF::vvoiceInsertVVoice(int vBS, int vPC, const wchar_t* compID,
                                        const wchar_t* name, const ZRVVoiceParam& param) {
    return kor::runProtocol(impl_.get(), 0, [&](CZRKorManagerImpl& m) {
        return m.insertVVoice(vBS, vPC, compID, name, param) ? 1 : 0;
    });
}

int CZRKorManagerIF::vvoiceUpdateVVoice(int vBS, int vPC, const wchar_t* name,
                                        const ZRVVoiceParam& param) {
    return kor::runProtocol(impl_.get(), 0, [&](CZRKorManagerImpl& m) {
        return m.updateVVoice(vBS, vPC, name, param) ? 1 : 0;
    });
}

int CZRKorManagerIF::vvoiceRemoveVVoice(int vBS, int vPC) {
    return kor::runProtocol(impl_.get(), 0,
                            [=](CZRKorManagerImpl& m) { return m.removeVVoice(vBS, vPC) ? 1 : 0; });
}

void CZRKorManagerIF::vvoiceGetVVoiceConvertTable(std::vector<ZRVVoiceConvertInfo>& rows) const {
    rows.clear();
    kor::runProtocol(impl_.get(), 0, [&rows](CZRKorManagerImpl& m) {
        if (m.document() != nullptr)
            rows = m.document()->vvoiceConversions;
        else
            m.failNoSong();
        return 0;
    });
}

void CZRKorManagerIF::vvoiceGetSingerConvertTable(std::vector<ZRSingerConvertInfo>& rows) const {
    rows.clear();
    kor::runProtocol(impl_.get(), 0, [&rows](CZRKorManagerImpl& m) {
        if (m.document() != nullptr)
            rows = m.document()->singerConversions;
        else
            m.failNoSong();
        return 0;
    });
}

void CZRKorManagerIF::vvoiceInitializeUpdateContext() {
    kor::runProtocol(impl_.get(), 0, [](CZRKorManagerImpl& m) {
        m.openUpdateContext();
        return 0;
    });
}

void CZRKorManagerIF::vvoiceNotifyObserversOfUpdates() {
    kor::runProtocol(impl_.get(), 0, [](CZRKorManagerImpl& m) {
        m.notifyVVoiceUpdates();
        return 0;
    });
}

int CZRKorManagerIF::auxIsModified() const {
    return kor::runProtocol(impl_.get(), 0,
                            [](CZRKorManagerImpl& m) { return m.auxModified() ? 1 : 0; });
}

int CZRKorManagerIF::auxGetAuxNum() const {
    return kor::runProtocol(impl_.get(), 0, [](CZRKorManagerImpl& m) {
        if (m.auxList() == nullptr) m.failNoSong();
        return m.auxList() != nullptr ? static_cast<int>(m.auxList()->getCount()) : 0;
    });
}

IZRAux* CZRKorManagerIF::auxGetAux(int index) const {
    return kor::runProtocol(
        impl_.get(), static_cast<IZRAux*>(nullptr), [index](CZRKorManagerImpl& m) {
            const CZRNodeList* list = m.auxList();
            return orReport(
                static_cast<IZRAux*>(
                    list != nullptr && index >= 0
                        ? kor::objCast<CZRAux>(list->elementAt(static_cast<std::uint32_t>(index)))
                        : nullptr),
                [&] {
                    if (list == nullptr)
                        m.failNoSong();
                    else
                        m.fail(ZR_E_INVALID_PARAMETER, L"%ls (the song has %u aux records).",
                               kor::rangeDetail(L"Aux index", index, 0,
                                                static_cast<std::int32_t>(list->getCount()) - 1)
                                   .c_str(),
                               list->getCount());
                });
        });
}

IZRAux* CZRKorManagerIF::auxAddAux(const ZRAux& aux) {
    return kor::runProtocol(
        impl_.get(), static_cast<IZRAux*>(nullptr),
        [&aux](CZRKorManagerImpl& m) { return static_cast<IZRAux*>(m.addAux(aux)); });
}

int CZRKorManagerIF::auxUpdateAux(std::uint32_t objID, const ZRAux& aux) {
    return kor::runProtocol(impl_.get(), 0,
                            [&](CZRKorManagerImpl& m) { return m.updateAux(objID, aux) ? 1 : 0; });
}

int CZRKorManagerIF::auxRemoveAux(std::uint32_t objID) {
    return kor::runProtocol(impl_.get(), 0,
                            [objID](CZRKorManagerImpl& m) { return m.removeAux(objID) ? 1 : 0; });
}

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

namespace {

template <class Unit>
int getUnitValue(CZRKorManagerImpl* impl, const kor::MixerValue<Unit>& member, std::uint32_t unit,
                 int& value) {
    return kor::runProtocol(
        impl, 0, [&](CZRKorManagerImpl& m) { return kor::getMixerValue(m, member, unit, value); });
}

template <class Unit>
int setUnitValue(CZRKorManagerImpl* impl, const kor::MixerValue<Unit>& member, std::uint32_t unit,
                 int value) {
    return kor::runProtocol(
        impl, 0, [&](CZRKorManagerImpl& m) { return kor::setMixerValue(m, member, unit, value); });
}

// Runs the plug-in operation `operation(manager, slot, args...)`.
template <class Result, class... Args>
Result runVstMethod(CZRKorManagerImpl* impl,
                    Result (*operation)(CZRKorManagerImpl&, kor::VstSlot, Args...), kor::VstSlot at,
                    std::type_identity_t<Args>... args) {
    return kor::runProtocol(impl, Result{},
                            [&](CZRKorManagerImpl& m) { return operation(m, at, args...); });
}

IZRVstPlugin* findVstPlugin(CZRKorManagerImpl* impl, kor::VstSlot at) {
    return kor::runProtocol(impl, static_cast<IZRVstPlugin*>(nullptr),
                            [at](CZRKorManagerImpl& m) { return kor::getVstPlugin(m, at); });
}

} // namespace

int CZRKorManagerIF::mixerIsModified() const {
    return kor::runProtocol(impl_.get(), 0,
                            [](CZRKorManagerImpl& m) { return m.mixerModified() ? 1 : 0; });
}

int CZRKorManagerIF::mixerGetMasterOutDev(int& value) const {
    return getUnitValue(impl_.get(), kor::MasterUnitMembers::outDev, 0, value);
}

int CZRKorManagerIF::mixerSetMasterOutDev(int value) {
    return setUnitValue(impl_.get(), kor::MasterUnitMembers::outDev, 0, value);
}

int CZRKorManagerIF::mixerGetMasterVol(int& value) const {
    return getUnitValue(impl_.get(), kor::MasterUnitMembers::vol, 0, value);
}

int CZRKorManagerIF::mixerSetMasterVol(int value) {
    return setUnitValue(impl_.get(), kor::MasterUnitMembers::vol, 0, value);
}

int CZRKorManagerIF::mixerGetMasterSrRetLevel(int& value) const {
    return getUnitValue(impl_.get(), kor::MasterUnitMembers::srRetLevel, 0, value);
}

int CZRKorManagerIF::mixerSetMasterSrRetLevel(int value) {
    return setUnitValue(impl_.get(), kor::MasterUnitMembers::srRetLevel, 0, value);
}

int CZRKorManagerIF::mixerGetZRInGain(unsigned int unit, int& value) const {
    return getUnitValue(impl_.get(), kor::ZRUnitMembers::inGain, unit, value);
}

int CZRKorManagerIF::mixerSetZRInGain(unsigned int unit, int value) {
    return setUnitValue(impl_.get(), kor::ZRUnitMembers::inGain, unit, value);
}

int CZRKorManagerIF::mixerGetZRSendLevel(unsigned int unit, int& value) const {
    return getUnitValue(impl_.get(), kor::ZRUnitMembers::sendLevel, unit, value);
}

int CZRKorManagerIF::mixerSetZRSendLevel(unsigned int unit, int value) {
    return setUnitValue(impl_.get(), kor::ZRUnitMembers::sendLevel, unit, value);
}

int CZRKorManagerIF::mixerGetZRSendEnable(unsigned int unit, int& value) const {
    return getUnitValue(impl_.get(), kor::ZRUnitMembers::sendEnable, unit, value);
}

int CZRKorManagerIF::mixerSetZRSendEnable(unsigned int unit, int value) {
    return setUnitValue(impl_.get(), kor::ZRUnitMembers::sendEnable, unit, value);
}

int CZRKorManagerIF::mixerGetZRMute(unsigned int unit, int& value) const {
    return getUnitValue(impl_.get(), kor::ZRUnitMembers::mute, unit, value);
}

int CZRKorManagerIF::mixerSetZRMute(unsigned int unit, int value) {
    return setUnitValue(impl_.get(), kor::ZRUnitMembers::mute, unit, value);
}

int CZRKorManagerIF::mixerGetZRSolo(unsigned int unit, int& value) const {
    return getUnitValue(impl_.get(), kor::ZRUnitMembers::solo, unit, value);
}

int CZRKorManagerIF::mixerSetZRSolo(unsigned int unit, int value) {
    return setUnitValue(impl_.get(), kor::ZRUnitMembers::solo, unit, value);
}

int CZRKorManagerIF::mixerGetZRPan(unsigned int unit, int& value) const {
    return getUnitValue(impl_.get(), kor::ZRUnitMembers::pan, unit, value);
}

int CZRKorManagerIF::mixerSetZRPan(unsigned int unit, int value) {
    return setUnitValue(impl_.get(), kor::ZRUnitMembers::pan, unit, value);
}

int CZRKorManagerIF::mixerGetZRVol(unsigned int unit, int& value) const {
    return getUnitValue(impl_.get(), kor::ZRUnitMembers::vol, unit, value);
}

int CZRKorManagerIF::mixerSetZRVol(unsigned int unit, int value) {
    return setUnitValue(impl_.get(), kor::ZRUnitMembers::vol, unit, value);
}

int CZRKorManagerIF::mixerGetSEInGain(int& value) const {
    return getUnitValue(impl_.get(), kor::SEUnitMembers::inGain, 0, value);
}

int CZRKorManagerIF::mixerSetSEInGain(int value) {
    return setUnitValue(impl_.get(), kor::SEUnitMembers::inGain, 0, value);
}

int CZRKorManagerIF::mixerGetSESendLevel(int& value) const {
    return getUnitValue(impl_.get(), kor::SEUnitMembers::sendLevel, 0, value);
}

int CZRKorManagerIF::mixerSetSESendLevel(int value) {
    return setUnitValue(impl_.get(), kor::SEUnitMembers::sendLevel, 0, value);
}

int CZRKorManagerIF::mixerGetSESendEnable(int& value) const {
    return getUnitValue(impl_.get(), kor::SEUnitMembers::sendEnable, 0, value);
}

int CZRKorManagerIF::mixerSetSESendEnable(int value) {
    return setUnitValue(impl_.get(), kor::SEUnitMembers::sendEnable, 0, value);
}

int CZRKorManagerIF::mixerGetSEMute(int& value) const {
    return getUnitValue(impl_.get(), kor::SEUnitMembers::mute, 0, value);
}

int CZRKorManagerIF::mixerSetSEMute(int value) {
    return setUnitValue(impl_.get(), kor::SEUnitMembers::mute, 0, value);
}

int CZRKorManagerIF::mixerGetSESolo(int& value) const {
    return getUnitValue(impl_.get(), kor::SEUnitMembers::solo, 0, value);
}

int CZRKorManagerIF::mixerSetSESolo(int value) {
    return setUnitValue(impl_.get(), kor::SEUnitMembers::solo, 0, value);
}

int CZRKorManagerIF::mixerGetSEPan(int& value) const {
    return getUnitValue(impl_.get(), kor::SEUnitMembers::pan, 0, value);
}

int CZRKorManagerIF::mixerSetSEPan(int value) {
    return setUnitValue(impl_.get(), kor::SEUnitMembers::pan, 0, value);
}

int CZRKorManagerIF::mixerGetSEVol(int& value) const {
    return getUnitValue(impl_.get(), kor::SEUnitMembers::vol, 0, value);
}

int CZRKorManagerIF::mixerSetSEVol(int value) {
    return setUnitValue(impl_.get(), kor::SEUnitMembers::vol, 0, value);
}

int CZRKorManagerIF::mixerGetKaraokeInGain(int& value) const {
    return getUnitValue(impl_.get(), kor::KaraokeUnitMembers::inGain, 0, value);
}

int CZRKorManagerIF::mixerSetKaraokeInGain(int value) {
    return setUnitValue(impl_.get(), kor::KaraokeUnitMembers::inGain, 0, value);
}

int CZRKorManagerIF::mixerGetKaraokeMute(int& value) const {
    return getUnitValue(impl_.get(), kor::KaraokeUnitMembers::mute, 0, value);
}

int CZRKorManagerIF::mixerSetKaraokeMute(int value) {
    return setUnitValue(impl_.get(), kor::KaraokeUnitMembers::mute, 0, value);
}

int CZRKorManagerIF::mixerGetKaraokeSolo(int& value) const {
    return getUnitValue(impl_.get(), kor::KaraokeUnitMembers::solo, 0, value);
}

int CZRKorManagerIF::mixerSetKaraokeSolo(int value) {
    return setUnitValue(impl_.get(), kor::KaraokeUnitMembers::solo, 0, value);
}

int CZRKorManagerIF::mixerGetKaraokeVol(int& value) const {
    return getUnitValue(impl_.get(), kor::KaraokeUnitMembers::vol, 0, value);
}

int CZRKorManagerIF::mixerSetKaraokeVol(int value) {
    return setUnitValue(impl_.get(), kor::KaraokeUnitMembers::vol, 0, value);
}

IZRVstPlugin* CZRKorManagerIF::mixerGetMasterVstPlugin(int slot) const {
    return findVstPlugin(impl_.get(), {kor::VstUnit::Master, 0, slot});
}

IZRVstPlugin* CZRKorManagerIF::mixerCreateMasterVstPlugin(int slot, const wchar_t* id,
                                                          const wchar_t* name, int sdkVersion) {
    return runVstMethod(impl_.get(), &kor::createVstPlugin, {kor::VstUnit::Master, 0, slot}, id,
                        name, sdkVersion);
}

int CZRKorManagerIF::mixerRemoveMasterVstPlugin(int slot) {
    return runVstMethod(impl_.get(), &kor::removeVstPlugin, {kor::VstUnit::Master, 0, slot});
}

int CZRKorManagerIF::mixerSetMasterVstPluginParams(int slot, const std::vector<int>& values) {
    return runVstMethod(impl_.get(), &kor::setVstPluginParams, {kor::VstUnit::Master, 0, slot},
                        values);
}

int CZRKorManagerIF::mixerSetMasterVstPluginPresetNo(int slot, int presetNo) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::Master, 0, slot},
                        &ZRVstPluginValues::presetNo, presetNo);
}

int CZRKorManagerIF::mixerSetMasterVstPluginEnable(int slot, int enable) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::Master, 0, slot},
                        &ZRVstPluginValues::enable, enable);
}

int CZRKorManagerIF::mixerSetMasterVstPluginBypass(int slot, int bypass) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::Master, 0, slot},
                        &ZRVstPluginValues::bypass, bypass);
}

IZRVstPlugin* CZRKorManagerIF::mixerGetMasterVstPluginSr() const {
    return findVstPlugin(impl_.get(), {kor::VstUnit::MasterSendReturn, 0, 0});
}

IZRVstPlugin* CZRKorManagerIF::mixerCreateMasterVstPluginSr(const wchar_t* id, const wchar_t* name,
                                                            int sdkVersion) {
    return runVstMethod(impl_.get(), &kor::createVstPlugin, {kor::VstUnit::MasterSendReturn, 0, 0},
                        id, name, sdkVersion);
}

int CZRKorManagerIF::mixerRemoveMasterVstPluginSr() {
    return runVstMethod(impl_.get(), &kor::removeVstPlugin, {kor::VstUnit::MasterSendReturn, 0, 0});
}

int CZRKorManagerIF::mixerSetMasterVstPluginSrParams(const std::vector<int>& values) {
    return runVstMethod(impl_.get(), &kor::setVstPluginParams,
                        {kor::VstUnit::MasterSendReturn, 0, 0}, values);
}

int CZRKorManagerIF::mixerSetMasterVstPluginSrPresetNo(int presetNo) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber,
                        {kor::VstUnit::MasterSendReturn, 0, 0}, &ZRVstPluginValues::presetNo,
                        presetNo);
}

int CZRKorManagerIF::mixerSetMasterVstPluginSrEnable(int enable) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber,
                        {kor::VstUnit::MasterSendReturn, 0, 0}, &ZRVstPluginValues::enable, enable);
}

int CZRKorManagerIF::mixerSetMasterVstPluginSrBypass(int bypass) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber,
                        {kor::VstUnit::MasterSendReturn, 0, 0}, &ZRVstPluginValues::bypass, bypass);
}

IZRVstPlugin* CZRKorManagerIF::mixerGetZRVstPlugin(unsigned int unit, int slot) const {
    return findVstPlugin(impl_.get(), {kor::VstUnit::ZR, unit, slot});
}

IZRVstPlugin* CZRKorManagerIF::mixerCreateZRVstPlugin(unsigned int unit, int slot,
                                                      const wchar_t* id, const wchar_t* name,
                                                      int sdkVersion) {
    return runVstMethod(impl_.get(), &kor::createVstPlugin, {kor::VstUnit::ZR, unit, slot}, id,
                        name, sdkVersion);
}

int CZRKorManagerIF::mixerRemoveZRVstPlugin(unsigned int unit, int slot) {
    return runVstMethod(impl_.get(), &kor::removeVstPlugin, {kor::VstUnit::ZR, unit, slot});
}

int CZRKorManagerIF::mixerSetZRVstPluginParams(unsigned int unit, int slot,
                                               const std::vector<int>& values) {
    return runVstMethod(impl_.get(), &kor::setVstPluginParams, {kor::VstUnit::ZR, unit, slot},
                        values);
}

int CZRKorManagerIF::mixerSetZRVstPluginPresetNo(unsigned int unit, int slot, int presetNo) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::ZR, unit, slot},
                        &ZRVstPluginValues::presetNo, presetNo);
}

int CZRKorManagerIF::mixerSetZRVstPluginEnable(unsigned int unit, int slot, int enable) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::ZR, unit, slot},
                        &ZRVstPluginValues::enable, enable);
}

int CZRKorManagerIF::mixerSetZRVstPluginBypass(unsigned int unit, int slot, int bypass) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::ZR, unit, slot},
                        &ZRVstPluginValues::bypass, bypass);
}

IZRVstPlugin* CZRKorManagerIF::mixerGetSEVstPlugin(int slot) const {
    return findVstPlugin(impl_.get(), {kor::VstUnit::SE, 0, slot});
}

IZRVstPlugin* CZRKorManagerIF::mixerCreateSEVstPlugin(int slot, const wchar_t* id,
                                                      const wchar_t* name, int sdkVersion) {
    return runVstMethod(impl_.get(), &kor::createVstPlugin, {kor::VstUnit::SE, 0, slot}, id, name,
                        sdkVersion);
}

int CZRKorManagerIF::mixerRemoveSEVstPlugin(int slot) {
    return runVstMethod(impl_.get(), &kor::removeVstPlugin, {kor::VstUnit::SE, 0, slot});
}

int CZRKorManagerIF::mixerSetSEVstPluginParams(int slot, const std::vector<int>& values) {
    return runVstMethod(impl_.get(), &kor::setVstPluginParams, {kor::VstUnit::SE, 0, slot}, values);
}

int CZRKorManagerIF::mixerSetSEVstPluginPresetNo(int slot, int presetNo) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::SE, 0, slot},
                        &ZRVstPluginValues::presetNo, presetNo);
}

int CZRKorManagerIF::mixerSetSEVstPluginEnable(int slot, int enable) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::SE, 0, slot},
                        &ZRVstPluginValues::enable, enable);
}

int CZRKorManagerIF::mixerSetSEVstPluginBypass(int slot, int bypass) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::SE, 0, slot},
                        &ZRVstPluginValues::bypass, bypass);
}

IZRVstPlugin* CZRKorManagerIF::mixerGetKaraokeVstPlugin(int slot) const {
    return findVstPlugin(impl_.get(), {kor::VstUnit::Karaoke, 0, slot});
}

IZRVstPlugin* CZRKorManagerIF::mixerCreateKaraokeVstPlugin(int slot, const wchar_t* id,
                                                           const wchar_t* name, int sdkVersion) {
    return runVstMethod(impl_.get(), &kor::createVstPlugin, {kor::VstUnit::Karaoke, 0, slot}, id,
                        name, sdkVersion);
}

int CZRKorManagerIF::mixerRemoveKaraokeVstPlugin(int slot) {
    return runVstMethod(impl_.get(), &kor::removeVstPlugin, {kor::VstUnit::Karaoke, 0, slot});
}

int CZRKorManagerIF::mixerSetKaraokeVstPluginParams(int slot, const std::vector<int>& values) {
    return runVstMethod(impl_.get(), &kor::setVstPluginParams, {kor::VstUnit::Karaoke, 0, slot},
                        values);
}

int CZRKorManagerIF::mixerSetKaraokeVstPluginPresetNo(int slot, int presetNo) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::Karaoke, 0, slot},
                        &ZRVstPluginValues::presetNo, presetNo);
}

int CZRKorManagerIF::mixerSetKaraokeVstPluginEnable(int slot, int enable) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::Karaoke, 0, slot},
                        &ZRVstPluginValues::enable, enable);
}

int CZRKorManagerIF::mixerSetKaraokeVstPluginBypass(int slot, int bypass) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::Karaoke, 0, slot},
                        &ZRVstPluginValues::bypass, bypass);
}
