#include "formats/kor4/Kor4Parser.h"

#include "formats/kor4/ElementNames.h"
#include "formats/kor3/TextLimits.h"
#include "formats/kor4/Kor4Node.h"

#include <korman/ErrorCodes.h>

namespace Kor4 {

namespace {

constexpr ZRXmlFormat kKor4Format{L"kor4", kNamespaceURI, kSchemaFile, ZR_E_KOR4_INVALID_XML_FILE,
                                  ZR_E_INVALID_KOR4_FILE, &Kor3::maxTextLength};

/// The KOR3 name of the element that `node` (null: none) stands for; "" outside the root.
std::wstring_view contextOf(const AZRXmlNode* node) {
    return node != nullptr ? std::wstring_view(node->tag().name) : std::wstring_view();
}

} // namespace

CZRKor4Parser::CZRKor4Parser()
    : CZRXmlFormatParser(kKor4Format) {}

std::unique_ptr<AZRXmlNode> CZRKor4Parser::createRootNode(const ZRXmlTag& tag,
                                                          CZRKorDocument& target) {
    return std::make_unique<CZRKor4Node>(this, nullptr, tag, &target);
}

// The current node is the nearest enclosing element that has a node, which is the context that
// gives a short name its meaning (unknown wrappers stay transparent, as in KOR3).
void CZRKor4Parser::renameStart(ZRXmlTag& tag) {
    if (const std::wstring_view name = kor3Name(contextOf(currentNode()), tag.name); !name.empty())
        tag.name = name;
}

// An end tag that closes the current node's element is given the node's name; the end of an
// element without a node keeps its KOR4 name, which no node takes for its own.
void CZRKor4Parser::renameEnd(std::wstring& name) {
    const AZRXmlNode* node = currentNode();
    if (node == nullptr) return;
    const std::wstring_view renamed = kor3Name(contextOf(node->parent()), name);
    if (!renamed.empty() && node->tag().name == renamed) name = renamed;
}

} // namespace Kor4
