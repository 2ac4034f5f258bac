#include "model/StyleControl.h"

void CZRStyleControl::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" posTick=%d id=%ls val=%d ", values().posTick, values().id.c_str(),
                      values().val);
}
