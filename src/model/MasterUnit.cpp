#include "model/MasterUnit.h"

void CZRMasterUnit::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" outDev=%d vol=%d srRetLevel=%d ", values().outDev, values().vol,
                      values().srRetLevel);
}
