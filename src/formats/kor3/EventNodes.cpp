#include "formats/kor3/EventNodes.h"

#include "model/MusicalControl.h"

namespace Kor3 {

const std::wstring& attrID(const ZRXmlTag& attr) {
    static const std::wstring kNone;
    const std::wstring* id = attr.attribute(kId);
    return id != nullptr ? *id : kNone;
}

std::int32_t controlKind(const ZRXmlTag& attr) {
    return kor::musicalControlTypeOfName(attrID(attr).c_str());
}

} // namespace Kor3
