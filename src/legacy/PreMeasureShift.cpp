#include "legacy/PreMeasureShift.h"

#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/MusicalPart.h"
#include "model/NodeList.h"
#include "model/ProsodyPart.h"
#include "model/Sequence.h"
#include "model/Tempo.h"
#include "model/TimeSig.h"
#include "model/ZRTrack.h"

#include <limits>

namespace {

// A position moved later, stopping at the largest one there can be.
std::int32_t later(std::int32_t position, std::int32_t by) {
    return position > std::numeric_limits<std::int32_t>::max() - by
               ? std::numeric_limits<std::int32_t>::max()
               : position + by;
}

void shiftPart(IZRMutableKorObject* element, std::int32_t ticks) {
    CZRPart* part = nullptr;
    if (auto* musical = kor::objCast<CZRMusicalPart>(element))
        part = &musical->part();
    else if (auto* prosody = kor::objCast<CZRProsodyPart>(element))
        part = &prosody->part();
    if (part != nullptr) part->setPosTick(later(part->getPosTick(), ticks));
}

} // namespace

namespace kor {

bool shiftByPreMeasure(CZRKorRoot& root, std::int32_t count) {
    if (count < 1 || count > 8) return false;
    CZRSequence* sequence = root.sequence();
    CZRMasterTrack* master = sequence ? sequence->masterTrack() : nullptr;
    if (master == nullptr || master->timeSigList() == nullptr || master->tempoList() == nullptr ||
        sequence->zrTrackList() == nullptr)
        return false;

    const auto& signatures = master->timeSigList()->elements();
    for (std::size_t i = 1; i < signatures.size(); ++i)
        if (auto* signature = objCast<CZRTimeSig>(signatures[i]))
            signature->values().posMes = later(signature->getPosMes(), count);
    master->setPreMeasure(count);

    // The measures in front all follow the head signature now.
    const std::int32_t ticks = master->measureToTick(count);
    const auto& tempos = master->tempoList()->elements();
    for (std::size_t i = 1; i < tempos.size(); ++i)
        if (auto* tempo = objCast<CZRTempo>(tempos[i]))
            tempo->values().posTick = later(tempo->getPosTick(), ticks);
    for (IZRMutableKorObject* element : sequence->zrTrackList()->elements())
        if (auto* track = objCast<CZRZRTrack>(element); track && track->partList())
            for (IZRMutableKorObject* part : track->partList()->elements())
                shiftPart(part, ticks);
    return true;
}

} // namespace kor
