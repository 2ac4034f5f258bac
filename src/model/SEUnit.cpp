#include "model/SEUnit.h"

void CZRSEUnit::dumpFields(std::wstring& out) const {
    const ZRSEUnitValues& v = values();
    kor::appendFormat(out,
                      L" inGain=%d sendLevel=%d sendEnable=%d mute=%d solo=%d pan=%d vol=%d ",
                      v.inGain, v.sendLevel, v.sendEnable, v.mute, v.solo, v.pan, v.vol);
}
