#include "model/Aux.h"

void CZRAux::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" id=%ls content=%ls ", values().id.c_str(), values().content.c_str());
}

namespace kor {

CZRAux* createAux(const ZRCreateContext& context, std::uint32_t objID, const ZRAuxValues& values) {
    return createObject<CZRAux>(context, objID, values);
}

} // namespace kor
