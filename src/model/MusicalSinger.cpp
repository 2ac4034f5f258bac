#include "model/MusicalSinger.h"

void CZRMusicalSinger::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" posTick=%d vBS=%d vPC=%d ", values().posTick, values().vBS,
                      values().vPC);
}
