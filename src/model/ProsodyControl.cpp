#include "model/ProsodyControl.h"

void CZRProsodyControl::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" posSec=%d type=%d value=%d ", values().posSec, values().type,
                      values().value);
}
