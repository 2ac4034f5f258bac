#include "model/ProsodyElement.h"

void CZRProsodyElement::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" posSec=%d value=%d ", values().posSec, values().value);
}
