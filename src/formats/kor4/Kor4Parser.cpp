#include "formats/kor4/Kor4Parser.h"

#include "formats/kor4/Kor3Renames.h"
#include "formats/kor3/TextLimits.h"
#include "formats/kor4/Kor4Node.h"

#include <korman/ErrorCodes.h>

namespace Kor4 {

namespace {

constexpr ZRXmlFormat kKor4Format{
    .rootElement = u"kor4",
    .namespaceURI = kNamespaceURI,
    .schemaFile = kSchemaFile,
    .xmlErrorCode = ZR_E_KOR4_INVALID_XML_FILE,
    .invalidFileCode = ZR_E_INVALID_KOR4_FILE,
    .maxTextLength = &Kor3::maxTextLength,
    // The aux record's content keeps its KOR3 name, and is the one text without limit.
    .unlimitedTextElement = Kor3::kContent,
};

/// The KOR3 name of the element that `node` (null: none) stands for; "" outside the root.
std::u16string_view contextOf(const AZRXmlNode* node) {
    return node != nullptr ? node->name() : std::u16string_view();
}

} // namespace

CZRKor4Parser::CZRKor4Parser()
    : CZRXmlFormatParser(kKor4Format) {}

void CZRKor4Parser::startRootNode(CZRKorDocument& target) {
    startNode<CZRKor4Node>(nullptr, &target);
}

// The current node is the nearest enclosing element that has a node, which is the context that
// gives a short name its meaning (unknown wrappers stay transparent, as in KOR3).
void CZRKor4Parser::renameStart(ZRXmlStartTag& tag) {
    if (const std::u16string_view name = kor3Name(contextOf(currentNode()), tag.name);
        !name.empty())
        tag.name = name;
}

} // namespace Kor4
