// The aux family of the manager's methods: the song's aux records. Each runs the call protocol
// around its operation.
#include <korman/CZRKorManagerIF.h>

#include "edit/EditMessages.h"
#include "manager/CallProtocol.h"
#include "model/Aux.h"

#include <korman/ErrorCodes.h>

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
            return kor::orReport(
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
