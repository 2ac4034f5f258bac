#include "model/VoiceEvent.h"

#include "model/NodeList.h"
#include "model/Sequence.h"
#include "model/VVoice.h"

namespace kor {

bool resolveVoice(const IZRKorObject& event, std::int32_t& vBS, std::int32_t& vPC) {
    const CZRSequence* sequence = findSequence(&event);
    const CZRNodeList* vvoices = sequence != nullptr ? sequence->vvoiceList() : nullptr;
    if (vvoices == nullptr || vvoices->getCount() == 0) return false;

    const CZRVVoice* sameBank = nullptr;
    const CZRVVoice* first = nullptr;
    for (const IZRMutableKorObject* element : vvoices->elements()) {
        const auto* vvoice = objCast<CZRVVoice>(element);
        if (vvoice == nullptr) continue;
        if (vvoice->getVBS() == vBS && vvoice->getVPC() == vPC) return false;
        if (sameBank == nullptr && vvoice->getVBS() == vBS) sameBank = vvoice;
        if (first == nullptr) first = vvoice;
    }
    const CZRVVoice* chosen = sameBank != nullptr ? sameBank : first;
    if (chosen == nullptr) return false;
    vBS = chosen->getVBS();
    vPC = chosen->getVPC();
    return true;
}

} // namespace kor
