#include "model/Tempo.h"

#include "model/ObjectTree.h"

#include <korman/ErrorCodes.h>

#include <algorithm>

std::uint32_t CZRTempo::validate() const {
    if (values_.bpm < kMinBPM || values_.bpm > kMaxBPM) return ZR_E_INVALID_TEMPO_VALUE;
    if (values_.posTick < 0) return ZR_E_INVALID_TEMPO_POSITION;
    return 0;
}

std::uint32_t CZRTempo::correct(CZRObjectTable&, const ZRCreateContext&) {
    std::uint32_t changed = 0;
    if (values_.bpm < kMinBPM || values_.bpm > kMaxBPM) {
        values_.bpm = std::clamp(values_.bpm, kMinBPM, kMaxBPM);
        changed = 1;
    }
    if (values_.posTick < 0) return ZR_E_INVALID_TEMPO_POSITION | kor::kUnrepairable;
    return changed;
}

void CZRTempo::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" posTick=%d bpm=%d ", values_.posTick, values_.bpm);
}
