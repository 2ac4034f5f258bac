#include "formats/xml/XmlValue.h"

#include "formats/xml/XmlText.h"
#include "platform/Wtoi.h"

void CZRXmlValue::keepAttributes(const ZRXmlStartTag& tag) {
    if (attributes_.size() < tag.attributes.size()) attributes_.resize(tag.attributes.size());
    attributeCount_ = tag.attributes.size();
    for (std::size_t i = 0; i < attributeCount_; ++i) {
        const auto& [name, value] = tag.attributes[i];
        attributes_[i].first.assign(name);
        kor::assignUtf16(attributes_[i].second, value.data(), value.size());
    }
}

const std::wstring& CZRXmlValue::text() const {
    if (!textDone_) {
        kor::assignUtf16(text_, raw_.data(), raw_.size());
        kor::cleanCharacterData(text_);
        textDone_ = true;
    }
    return text_;
}

int CZRXmlValue::number() const {
    return kor::wtoi(raw_);
}

const std::wstring& CZRXmlValue::attribute(std::u16string_view name) const {
    static const std::wstring kNone;
    for (std::size_t i = 0; i < attributeCount_; ++i)
        if (attributes_[i].first == name) return attributes_[i].second;
    return kNone;
}
