// Node templates for the events of parts: simple events and control points.
#pragma once

#include "formats/kor3/ReaderNode.h"
#include "model/ObjectTable.h"

namespace Kor3 {

/// The control kind that the id attribute of `value` names, or -1.
std::int32_t controlKind(const CZRXmlValue& value);

/// Takes the attr of a control point: its id names the kind ("DYN", "BRE", "BRI", "CLE", "GEN",
/// "PIT", "PBS" are kinds 0 to 6; another id gives -1), its text is the value.
template <class Values> void takeControlAttr(Values& values, const CZRXmlValue& value) {
    values.type = controlKind(value);
    values.value = value.number();
}

/// An event of class Traits::Object, created at the first child and appended to its list; each
/// value changes it at once (the rows Traits::kValues), so a repeated value element overwrites
/// the earlier.
template <class Traits> class TZREventNode final : public AZRKor3Node {
public:
    TZREventNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                 CZRNodeList* list)
        : AZRKor3Node(parser, parent, document)
        , list_(list) {}

private:
    using Object = typename Traits::Object;

    bool begin() override {
        event_ = create<Object>();
        if (event_ == nullptr) return false;
        append(list_, event_);
        return true;
    }
    std::size_t findValue(std::u16string_view name) const override {
        return findRow(Traits::kValues, name);
    }
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override {
        Traits::kValues[row].take(event_->values(), value);
    }

    CZRNodeList* list_;
    Object* event_ = nullptr;
};

/// A control point of class Traits::Object, created at the first child. Its position element
/// sets the position; its attr sets the kind and the value (takeControlAttr). At the end the
/// point joins the part's list of its kind; a point of an unknown kind is dropped.
template <class Traits> class TZRControlNode final : public AZRKor3Node {
public:
    using Part = typename Traits::Part;

    TZRControlNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document, Part* part)
        : AZRKor3Node(parser, parent, document)
        , part_(part) {}

private:
    using Object = typename Traits::Object;

    bool begin() override {
        control_ = create<Object>();
        return control_ != nullptr;
    }
    std::size_t findValue(std::u16string_view name) const override {
        return findRow(Traits::kValues, name);
    }
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override {
        Traits::kValues[row].take(control_->values(), value);
    }
    void finish() override {
        if (CZRNodeList* list = part_->controlList(control_->values().type))
            append(list, control_);
        else
            document()->objects().destroy(control_->getObjID());
    }

    Part* part_;
    Object* control_ = nullptr;
};

} // namespace Kor3
