#include "model/Tempo.h"

void CZRTempo::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" posTick=%d bpm=%d ", values().posTick, values().bpm);
}
