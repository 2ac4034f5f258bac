// The VVoice and aux records of the manager's song: the members of CZRKorManagerImpl that find,
// add, change and remove them outside the editor, each checked as a saved song would give it back.
#include "manager/KorManagerImpl.h"

#include "edit/EditMessages.h"
#include "model/Aux.h"
#include "model/Sequence.h"
#include "model/VVoice.h"
#include "platform/XmlChars.h"

#include <korman/ErrorCodes.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

/// A text given through the interface in the form a saved song gives it back; null gives "".
std::wstring storedText(const wchar_t* text) {
    return kor::platform::storedText(text != nullptr ? text : L"");
}

/// An aux record as a saved song gives it back: texts as stored, the ID no longer than the
/// file keeps.
ZRAuxValues storedAux(const ZRAux& aux) {
    ZRAuxValues values{kor::platform::storedText(aux.id), kor::platform::storedText(aux.content)};
    if (values.id.size() > CZRAux::kMaxIDLength) values.id.resize(CZRAux::kMaxIDLength);
    return values;
}

} // namespace

CZRVVoice* CZRKorManagerImpl::findVVoice(int vBS, int vPC) const {
    const CZRSequence* song = sequence();
    if (song == nullptr || song->vvoiceList() == nullptr) return nullptr;
    for (IZRMutableKorObject* element : song->vvoiceList()->elements()) {
        auto* voice = kor::objCast<CZRVVoice>(element);
        if (voice != nullptr && voice->values().vBS == vBS && voice->values().vPC == vPC)
            return voice;
    }
    return nullptr;
}

bool CZRKorManagerImpl::insertVVoice(int vBS, int vPC, const wchar_t* compID, const wchar_t* name,
                                     const ZRVVoiceParam& param) {
    if (compID == nullptr || name == nullptr) {
        fail(ZR_E_INVALID_PARAMETER, L"The VVoice's %ls is null.",
             compID == nullptr ? L"component ID" : L"name");
        return false;
    }
    // The texts are checked in the form a saved song gives them back.
    ZRVVoiceValues values{vBS, vPC, storedText(compID), storedText(name), param};
    if (!checkVVoice(values)) return false;
    if (findVVoice(vBS, vPC)) {
        fail(ZR_E_VVOICES_ARE_DUPLICATED, L"The song has a VVoice (%d, %d) already.", vBS, vPC);
        return false;
    }
    CZRSequence* song = sequence();
    CZRNodeList* list = song != nullptr ? song->vvoiceList() : nullptr;
    if (list == nullptr) {
        failNoSong();
        return false;
    }
    // Room is made first, so that once the VVoice exists nothing can fail.
    list->reserve(list->getCount() + 1);
    reserveUpdate();
    auto* voice =
        kor::createObject<CZRVVoice>(document_->context(), ZR_NO_OBJ_ID, std::move(values));
    if (voice == nullptr) {
        setLastError(ZR_E_NOT_ENOUGH_MEMORY);
        return false;
    }
    (void)list->insertSorted(voice); // a new VVoice cannot stand in the list already
    vvoiceModified_ = true;
    noteUpdate(list->getObjID());
    return true;
}

bool CZRKorManagerImpl::updateVVoice(int vBS, int vPC, const wchar_t* name,
                                     const ZRVVoiceParam& param) {
    CZRVVoice* voice = findVVoice(vBS, vPC);
    if (voice == nullptr) {
        failNoVVoice(vBS, vPC);
        return false;
    }
    // An empty name is given a placeholder and an overlong one is cut to what a VVoice may hold,
    // so only the parameters can make an update fail.
    ZRVVoiceValues values = voice->values();
    values.name = storedText(name);
    if (values.name.empty()) values.name = L"voice";
    if (values.name.size() > CZRVVoice::kMaxNameLength)
        values.name.resize(CZRVVoice::kMaxNameLength);
    values.param = param;
    if (!checkVVoice(values)) return false;
    reserveUpdate();
    voice->values() = std::move(values);
    vvoiceModified_ = true;
    noteUpdate(voice->getObjID());
    return true;
}

bool CZRKorManagerImpl::removeVVoice(int vBS, int vPC) {
    CZRVVoice* voice = findVVoice(vBS, vPC);
    if (voice == nullptr) {
        failNoVVoice(vBS, vPC);
        return false;
    }
    CZRNodeList* list = sequence()->vvoiceList();
    // A voice of the voice database keeps at least one VVoice in the song.
    const auto sameVoice = [&voice](const IZRMutableKorObject* element) {
        const auto* other = kor::objCast<CZRVVoice>(element);
        return other != nullptr && other->values().compID == voice->values().compID;
    };
    if (std::count_if(list->elements().begin(), list->elements().end(), sameVoice) < 2) {
        fail(ZR_E_INVALID_VVOICE_NUMBER,
             L"VVoice (%d, %d) is the song's last VVoice of the voice %ls, which keeps one.", vBS,
             vPC, voice->values().compID.c_str());
        return false;
    }
    reserveUpdate();
    if (!list->removeByID(voice->getObjID())) {
        setLastError(ZR_E_UPDATE_FAILED);
        return false;
    }
    vvoiceModified_ = true;
    noteUpdate(list->getObjID());
    return true;
}

bool CZRKorManagerImpl::checkVVoice(const ZRVVoiceValues& values) {
    std::wstring detail;
    std::uint32_t code = kor::brokenRule<ZRVVoiceValues>(values, CZRVVoice::kRules, detail);
    if (code == 0 && CZRVVoice::checkValues(values) != 0) {
        // Only the timbre parameters are left to break their range.
        const std::pair<int ZRVVoiceParam::*, const wchar_t*> params[] = {
            {&ZRVVoiceParam::breathiness, L"Breathiness"},
            {&ZRVVoiceParam::brightness, L"Brightness"},
            {&ZRVVoiceParam::clearness, L"Clearness"},
            {&ZRVVoiceParam::genderFactor, L"Gender factor"},
            {&ZRVVoiceParam::opening, L"Opening"},
        };
        code = ZR_E_INVALID_VVOICE_PARAMETER;
        for (const auto& [field, what] : params)
            if (std::abs(values.param.*field) > CZRVVoice::kMaxParam)
                detail = kor::rangeDetail(what, values.param.*field, -CZRVVoice::kMaxParam,
                                          CZRVVoice::kMaxParam);
    }
    if (code == 0) return true;
    fail(code, L"%ls", detail.c_str());
    return false;
}

void CZRKorManagerImpl::failNoVVoice(int vBS, int vPC) {
    if (sequence() == nullptr)
        failNoSong();
    else
        fail(ZR_E_VVOICE_NOT_FOUND, L"The song has no VVoice (%d, %d).", vBS, vPC);
}

void CZRKorManagerImpl::reserveUpdate() {
    if (vvoiceUpdates_) vvoiceUpdates_->reserve(vvoiceUpdates_->size() + 1);
}

void CZRKorManagerImpl::noteUpdate(std::uint32_t objID) noexcept {
    if (vvoiceUpdates_ &&
        std::find(vvoiceUpdates_->begin(), vvoiceUpdates_->end(), objID) == vvoiceUpdates_->end())
        vvoiceUpdates_->push_back(objID);
}

void CZRKorManagerImpl::notifyVVoiceUpdates() {
    if (!vvoiceUpdates_) return;
    if (!vvoiceUpdates_->empty()) notifyObservers(*vvoiceUpdates_, ZRChangeCause::VVoiceUpdate);
    vvoiceUpdates_.reset();
}

CZRNodeList* CZRKorManagerImpl::auxList() const {
    const CZRSequence* song = sequence();
    return song != nullptr && song->unManaged() != nullptr ? song->unManaged()->auxList() : nullptr;
}

CZRAux* CZRKorManagerImpl::addAux(const ZRAux& aux) {
    CZRNodeList* list = auxList();
    if (list == nullptr) {
        failNoSong();
        return nullptr;
    }
    list->reserve(list->getCount() + 1);
    CZRAux* record = kor::createAux(document_->context(), ZR_NO_OBJ_ID, storedAux(aux));
    if (record == nullptr) {
        setLastError(ZR_E_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    (void)list->append(record); // cannot fail: the record exists and the room is made
    auxModified_ = true;
    return record;
}

bool CZRKorManagerImpl::updateAux(std::uint32_t objID, const ZRAux& aux) {
    auto* record = kor::objCast<CZRAux>(lookup(objID));
    if (record == nullptr) {
        failNoObject(ZR_E_EDIT_TARGET_NOT_FOUND, objID, ZRObjType::Aux);
        return false;
    }
    record->values() = storedAux(aux);
    auxModified_ = true;
    return true;
}

bool CZRKorManagerImpl::removeAux(std::uint32_t objID) {
    auto* record = kor::objCast<CZRAux>(lookup(objID));
    auto* list = kor::objCast<CZRNodeList>(record != nullptr ? record->getParent() : nullptr);
    if (list == nullptr) {
        failNoObject(ZR_E_EDIT_TARGET_NOT_FOUND, objID, ZRObjType::Aux);
        return false;
    }
    if (!list->removeByID(objID)) {
        setLastError(ZR_E_UPDATE_FAILED);
        return false;
    }
    auxModified_ = true;
    return true;
}
