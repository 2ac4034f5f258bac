// The kor family of the manager's methods: the song, its objects and the copy and import buffers.
// Each runs the call protocol around its operation.
#include <korman/CZRKorManagerIF.h>

#include "manager/CallProtocol.h"
#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/Sequence.h"

#include <korman/ErrorCodes.h>

#include <algorithm>
#include <optional>
#include <utility>

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

IZRKorRoot* CZRKorManagerIF::korGetCurrentSequence() {
    return kor::runProtocol(
        impl_.get(), static_cast<IZRKorRoot*>(nullptr), [](CZRKorManagerImpl& m) {
            return kor::orReport(
                static_cast<IZRKorRoot*>(m.document() != nullptr ? m.document()->root() : nullptr),
                [&m] { m.failNoSong(); });
        });
}

IZRMasterTrack* CZRKorManagerIF::korGetCurrentMasterTrack() {
    return kor::runProtocol(
        impl_.get(), static_cast<IZRMasterTrack*>(nullptr), [](CZRKorManagerImpl& m) {
            return kor::orReport(
                static_cast<IZRMasterTrack*>(m.sequence() != nullptr ? m.sequence()->masterTrack()
                                                                     : nullptr),
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
            return kor::orReport(m.lookup(objID),
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
            return kor::orReport(m.lookupInCopyBuffer(objID), [&] {
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
                                return kor::orReport(m.lookupInImportBuffer(objID), [&] {
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
