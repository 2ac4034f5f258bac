#include "model/TimeSig.h"

namespace {

bool isAllowedDenominator(std::int32_t d) {
    return d == 1 || d == 2 || d == 4 || d == 8 || d == 16 || d == 32;
}

} // namespace

std::uint32_t CZRTimeSig::validate() const {
    if (const std::uint32_t code = TZRValueObject::validate()) return code;
    return isAllowedDenominator(values().denominator) ? 0 : ZR_E_INVALID_TIME_SIGNATURE_VALUE;
}

std::uint32_t CZRTimeSig::correct(CZRObjectTable& table, const ZRCreateContext& context) {
    const std::uint32_t result = TZRValueObject::correct(table, context);
    if ((result & kor::kUnrepairable) != 0 || isAllowedDenominator(values().denominator))
        return result;
    values().denominator = 4;
    return 1;
}

void CZRTimeSig::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" posMes=%d numerator=%d denominator=%d ", values().posMes,
                      values().numerator, values().denominator);
}
