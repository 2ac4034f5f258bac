#include "model/KaraokeUnit.h"

void CZRKaraokeUnit::dumpFields(std::wstring& out) const {
    const ZRKaraokeUnitValues& v = values();
    kor::appendFormat(out, L" inGain=%d mute=%d solo=%d vol=%d ", v.inGain, v.mute, v.solo, v.vol);
}
