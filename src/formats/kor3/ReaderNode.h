// The common behaviour of the KOR3 element nodes: which children get nodes, values, the build steps.
#pragma once

#include "formats/xml/ComplexXmlNode.h"
#include "formats/xml/XmlParser.h"
#include "model/KorDocument.h"
#include "model/NodeList.h"
#include "model/ObjectFactory.h"

#include <korman/ErrorCodes.h>

#include <span>
#include <string_view>

namespace Kor3 {

/// Base of every KOR3 node. A node may build its object when its first child element starts
/// (begin), starts a value node for each of its value names and a format node for each
/// structured child it knows (startStructured), takes each value as its element ends
/// (takeValue), and finishes its object when its own element ends (finish). A node whose begin
/// failed stays inert: it starts no children and finishes nothing. Objects that cannot be
/// created or linked are reported to the parser, which then fails the load with
/// ZR_E_NOT_ENOUGH_MEMORY.
class AZRKor3Node : public CZRComplexXmlNode {
public:
    AZRKor3Node(AZRXmlParser* parser, AZRXmlNode* parent, const ZRXmlTag& tag,
                CZRKorDocument* document)
        : CZRComplexXmlNode(parser, parent, tag, document) {}

    void startChild(const ZRXmlTag& tag) final;
    void childEnded(AZRXmlNode& child) final;
    void endElement(const std::wstring& name) final;

protected:
    /// Builds the node's object at its first child; false when it could not.
    virtual bool begin() { return true; }
    /// The names of the value elements the node takes.
    virtual std::span<const std::wstring_view> valueNames() const = 0;
    /// Starts the node of a structured child; false for a name the node does not know.
    virtual bool startStructured(const ZRXmlTag&) { return false; }
    /// Takes the value of the child element `name`.
    virtual void takeValue(std::wstring_view, const CZRSimpleXmlNode&) {}
    /// Completes the node's work when its element ends.
    virtual void finish() {}

    ZRCreateContext context() const { return document()->context(); }
    /// Creates an object of class T from `args` under a fresh ID; null, reported, on failure.
    template <class T, class... Args>
    T* create(Args&&... args) {
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
};

/// Puts the elements of `list` (null: nothing) in ascending order of their sort keys.
void sortList(CZRNodeList* list);

} // namespace Kor3
