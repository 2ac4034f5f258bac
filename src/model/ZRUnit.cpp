#include "model/ZRUnit.h"

void CZRZRUnit::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" trackNo=%d", values().trackNo);
    dumpChannel(out);
}
