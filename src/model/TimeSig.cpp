#include "model/TimeSig.h"

#include "model/ObjectTree.h"

#include <korman/ErrorCodes.h>

namespace {

bool isAllowedDenominator(std::int32_t d) {
    return d == 1 || d == 2 || d == 4 || d == 8 || d == 16 || d == 32;
}

} // namespace

std::uint32_t CZRTimeSig::validate() const {
    if (values_.numerator < 1 || values_.numerator > 255) return ZR_E_INVALID_TIME_SIGNATURE_VALUE;
    if (values_.posMes < 0) return ZR_E_INVALID_TIME_SIGNATURE_POSITION;
    if (!isAllowedDenominator(values_.denominator)) return ZR_E_INVALID_TIME_SIGNATURE_VALUE;
    return 0;
}

std::uint32_t CZRTimeSig::correct(CZRObjectTable&, const ZRCreateContext&) {
    std::uint32_t changed = 0;
    if (values_.numerator < 1 || values_.numerator > 255) {
        values_.numerator = values_.numerator < 1 ? 1 : 255;
        changed = 1;
    }
    if (values_.posMes < 0) return ZR_E_INVALID_TIME_SIGNATURE_POSITION | kor::kUnrepairable;
    if (!isAllowedDenominator(values_.denominator)) {
        values_.denominator = 4;
        changed = 1;
    }
    return changed;
}

void CZRTimeSig::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" posMes=%d numerator=%d denominator=%d ", values_.posMes,
                      values_.numerator, values_.denominator);
}
