#include "formats/kor4/PartNodes.h"

#include "formats/kor3/EventNodes.h"
#include "model/MusicalControl.h"
#include "model/StyleControl.h"

namespace Kor4 {

namespace {

/// The style-control list that "T" values of a cc fill.
constexpr const wchar_t* kPortamentoID = L"POR";

} // namespace

bool CZRZRTrackNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name != L"musicalPart") return false;
    startNodeChild<CZRMusicalPartNode>(tag, track()->partList());
    return true;
}

bool CZRMusicalPartNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name != L"cc") return Kor3::CZRMusicalPartNode::startStructured(tag);
    startNodeChild<CZRMusicalControlNode>(tag, part());
    return true;
}

std::span<const std::wstring_view> CZRMusicalControlNode::valueNames() const {
    static constexpr std::wstring_view kNames[] = {L"posTick", L"v"};
    return kNames;
}

void CZRMusicalControlNode::takeValue(std::wstring_view name, const CZRSimpleXmlNode& value) {
    if (name == L"posTick") {
        posTick_ = value.number();
        return;
    }
    const std::wstring& id = Kor3::attrID(value.tag());
    const std::int32_t kind =
        id == L"T" ? kStyleControl : kor::musicalControlTypeOfShortName(id.c_str());
    if (kind < 0) return;
    kind_ = kind;
    value_ = value.number();
}

void CZRMusicalControlNode::finish() {
    if (kind_ == kStyleControl) {
        if (auto* event =
                create<CZRStyleControl>(ZRStyleControlValues{posTick_, kPortamentoID, value_}))
            check(Kor3::addStyleEvent(context(), *part_, Kor3::StyleListKind::StyleControl,
                                      kPortamentoID, event));
    } else if (kind_ >= 0) {
        if (auto* control =
                create<CZRMusicalControl>(ZRMusicalControlValues{posTick_, kind_, value_}))
            append(part_->controlList(kind_), control);
    }
}

} // namespace Kor4
