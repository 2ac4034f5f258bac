#include "formats/kor3/EventNodes.h"

#include "model/MusicalControl.h"

namespace Kor3 {

std::int32_t controlKind(const CZRXmlValue& value) {
    return kor::musicalControlTypeOfName(value.attribute(kId).c_str());
}

} // namespace Kor3
