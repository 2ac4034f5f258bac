// The vvoice family of the manager's methods: the song's VVoices and their conversion tables. Each
// runs the call protocol around its operation.
#include <korman/CZRKorManagerIF.h>

#include "manager/CallProtocol.h"
#include "model/VVoice.h"

#include <korman/ErrorCodes.h>

#include <vector>

int CZRKorManagerIF::vvoiceIsModified() const {
    return kor::runProtocol(impl_.get(), 0,
                            [](CZRKorManagerImpl& m) { return m.vvoiceModified() ? 1 : 0; });
}

IZRVVoice* CZRKorManagerIF::vvoiceGetVVoice(int vBS, int vPC) const {
    return kor::runProtocol(
        impl_.get(), static_cast<IZRVVoice*>(nullptr), [=](CZRKorManagerImpl& m) {
            return kor::orReport(static_cast<IZRVVoice*>(m.findVVoice(vBS, vPC)),
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
