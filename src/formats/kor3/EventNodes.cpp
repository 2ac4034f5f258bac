#include "formats/kor3/EventNodes.h"

#include "formats/xml/XmlText.h"
#include "model/MusicalControl.h"

namespace Kor3 {

std::wstring attrID(const ZRXmlStartTag& tag) {
    const std::u16string_view id = tag.attribute(kId);
    return kor::fromUtf16(id.data(), id.size());
}

std::int32_t controlKind(const CZRXmlValue& value) {
    return kor::musicalControlTypeOfName(value.attribute(kId).c_str());
}

} // namespace Kor3
