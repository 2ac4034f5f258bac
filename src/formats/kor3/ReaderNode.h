// The common behaviour of the KOR3 element nodes: which children get nodes, values, the build
// steps.
#pragma once

#include "formats/kor3/ElementNames.h"
#include "formats/kor3/ValueField.h"
#include "formats/xml/ComplexXmlNode.h"
#include "formats/xml/XmlParser.h"
#include "model/KorDocument.h"
#include "model/NodeList.h"

#include <korman/ErrorCodes.h>

#include <string_view>
#include <type_traits>
#include <utility>

namespace Kor3 {

/// Base of every KOR3 node. A node may build its object when its first child element starts
/// (begin), takes the value of each value element it knows (findValue) and starts a format node
/// for each structured child it knows (startStructured), takes each value as its element ends
/// (takeValue), and finishes its object when its own element ends (finish). A node whose begin
/// failed stays inert: it starts no children and finishes nothing. Objects that cannot be
/// created or linked are reported to the parser, which then fails the load with
/// ZR_E_NOT_ENOUGH_MEMORY.
class AZRKor3Node : public CZRComplexXmlNode {
public:
    using CZRComplexXmlNode::CZRComplexXmlNode;

    bool startChild(const ZRXmlStartTag& tag) final;
    void takeValue(const CZRXmlValue& value) final;
    void endElement() final;

protected:
    /// Builds the node's object at its first child; false when it could not.
    virtual bool begin() { return true; }
    /// The row of the value element `name` in the node's value table, or kNotAValue for an
    /// element that is not one of its values.
    virtual std::size_t findValue(std::u16string_view) const { return kNotAValue; }
    /// Starts the node of a structured child; false for a name the node does not know.
    virtual bool startStructured(const ZRXmlStartTag&) { return false; }
    /// Takes the value of the child element that findValue placed in `row`.
    virtual void takeRowValue(std::size_t, const CZRXmlValue&) {}
    /// Completes the node's work when its element ends.
    virtual void finish() {}

    ZRCreateContext context() const { return document()->context(); }
    /// Creates an object of class T from `args` under a fresh ID; null, reported, on failure.
    template <class T, class... Args> T* create(Args&&... args) {
        T* obj = kor::createObject<T>(context(), ZR_NO_OBJ_ID, std::forward<Args>(args)...);
        if (obj == nullptr) fail();
        return obj;
    }
    /// A new empty list of `listType` / `listTypeEx`; null, reported, on failure.
    CZRNodeList* createList(ZRObjType listType, std::int32_t listTypeEx = -1);
    /// Reports a failed link; returns `linked`.
    bool check(bool linked);
    /// Appends `obj` to `list`, reporting a failure.
    void append(CZRNodeList* list, IZRMutableKorObject* obj);
    void fail() { parser()->reportBuildFailure(ZR_E_NOT_ENOUGH_MEMORY); }

private:
    enum class State { New, Begun, Inert };
    State state_ = State::New;
    // The row of the value element open now: the name is matched once, as the element starts.
    std::size_t valueRow_ = kNotAValue;
};

/// An object of class Traits::Object built when its element ends from what its value elements
/// (the rows Traits::kValues) gave, and appended to its list; a value element that does not come
/// leaves its field at the record's default, a repeated one overwrites the earlier.
template <class Traits> class TZRBuiltNode : public AZRKor3Node {
public:
    using Object = typename Traits::Object;
    using Values = std::remove_cvref_t<decltype(std::declval<Object&>().values())>;

    TZRBuiltNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                 CZRNodeList* list)
        : AZRKor3Node(parser, parent, document)
        , list_(list) {}

    /// The values collected so far; a node of a derived format fills them too.
    Values& values() { return values_; }

private:
    std::size_t findValue(std::u16string_view name) const override {
        return findRow(Traits::kValues, name);
    }
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override {
        Traits::kValues[row].take(values_, value);
    }
    void finish() override {
        if (Object* object = create<Object>(values_)) append(list_, object);
    }

    CZRNodeList* list_;
    Values values_;
};

/// Puts the elements of `list` (null: nothing) in ascending order of their sort keys.
void sortList(CZRNodeList* list);

} // namespace Kor3
