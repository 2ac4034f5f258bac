#include "model/ProsodyVoice.h"

void CZRProsodyVoice::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" posSec=%d vBS=%d vPC=%d ", values().posSec, values().vBS,
                      values().vPC);
}
