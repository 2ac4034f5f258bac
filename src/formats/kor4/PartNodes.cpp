#include "formats/kor4/PartNodes.h"

#include "formats/kor3/EventNodes.h"
#include "model/MusicalControl.h"
#include "model/StyleControl.h"

namespace Kor4 {

namespace {

/// The style-control list that "T" values of a cc fill.
constexpr const wchar_t* kPortamentoID = L"POR";
/// The kind of a "T" value: a style-control event rather than a control.
constexpr std::int32_t kStyleControl = CZRMusicalPart::kControlTypes;

// A v whose id names no kind is ignored.
constexpr Kor3::TZRValueField<ZRCcValues> kCcValues[] = {
    {u"posTick", &ZRCcValues::posTick},
    {u"v",
     [](ZRCcValues& values, const CZRXmlValue& value) {
         const std::wstring& id = value.attribute(Kor3::kId);
         const std::int32_t kind =
             id == L"T" ? kStyleControl : kor::musicalControlTypeOfShortName(id.c_str());
         if (kind < 0) return;
         values.kind = kind;
         values.value = value.number();
     }},
};

} // namespace

bool CZRZRTrackNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name != u"musicalPart") return false;
    startNodeChild<CZRMusicalPartNode>(track()->partList());
    return true;
}

bool CZRMusicalPartNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name != u"cc") return Kor3::CZRMusicalPartNode::startStructured(tag);
    startNodeChild<CZRMusicalControlNode>(part());
    return true;
}

std::size_t CZRMusicalControlNode::findValue(std::u16string_view name) const {
    return Kor3::findRow(kCcValues, name);
}

void CZRMusicalControlNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kCcValues[row].take(values_, value);
}

void CZRMusicalControlNode::finish() {
    const auto [posTick, kind, value] = values_;
    if (kind == kStyleControl) {
        if (auto* event =
                create<CZRStyleControl>(ZRStyleControlValues{posTick, kPortamentoID, value}))
            check(Kor3::addStyleEvent(context(), *part_, Kor3::StyleListKind::StyleControl,
                                      kPortamentoID, event));
    } else if (kind >= 0) {
        if (auto* control = create<CZRMusicalControl>(ZRMusicalControlValues{posTick, kind, value}))
            append(part_->controlList(kind), control);
    }
}

} // namespace Kor4
