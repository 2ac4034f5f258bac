#include "model/ProsodyPhoneme.h"

void CZRProsodyPhoneme::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" posSec=%d durSec=%d phoneme=%ls ", values().posSec, values().durSec,
                      values().phoneme.c_str());
}
