#include "formats/kor3/Kor3Parser.h"

#include "formats/kor3/Kor3Node.h"
#include "formats/kor3/TextLimits.h"

#include <korman/ErrorCodes.h>

namespace Kor3 {

namespace {

constexpr ZRXmlFormat kKor3Format{
    .rootElement = std::u16string_view(kKor3).data(), // the name ends in a null character
    .namespaceURI = kNamespaceURI,
    .schemaFile = kSchemaFile,
    .xmlErrorCode = ZR_E_INVALID_XML_FILE,
    .invalidFileCode = ZR_E_INVALID_KOR3_FILE,
    .maxTextLength = &maxTextLength,
    .unlimitedTextElement = kContent,
};
static_assert(maxTextLength(kContent) == kNoTextLimit);

} // namespace

CZRKor3Parser::CZRKor3Parser()
    : CZRXmlFormatParser(kKor3Format) {}

void CZRKor3Parser::startRootNode(CZRKorDocument& target) {
    startNode<CZRKor3Node>(nullptr, &target);
}

} // namespace Kor3
