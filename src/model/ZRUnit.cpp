#include "model/ZRUnit.h"

void CZRZRUnit::dumpFields(std::wstring& out) const {
    const ZRZRUnitValues& v = values();
    kor::appendFormat(out,
                      L" trackNo=%d inGain=%d sendLevel=%d sendEnable=%d mute=%d solo=%d pan=%d "
                      L"vol=%d ",
                      v.trackNo, v.inGain, v.sendLevel, v.sendEnable, v.mute, v.solo, v.pan,
                      v.vol);
}
