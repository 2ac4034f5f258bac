#include "formats/kor3/Kor3Parser.h"

#include "formats/kor3/Kor3Node.h"
#include "formats/kor3/TextLimits.h"

#include <korman/ErrorCodes.h>

namespace Kor3 {

namespace {

constexpr ZRXmlFormat kKor3Format{
    .rootElement = std::wstring_view(kKor3).data(), // the wide name ends in a null character
    .namespaceURI = kNamespaceURI,
    .schemaFile = kSchemaFile,
    .xmlErrorCode = ZR_E_INVALID_XML_FILE,
    .invalidFileCode = ZR_E_INVALID_KOR3_FILE,
    .maxTextLength = &maxTextLength,
};

} // namespace

CZRKor3Parser::CZRKor3Parser()
    : CZRXmlFormatParser(kKor3Format) {}

std::unique_ptr<AZRXmlNode> CZRKor3Parser::createRootNode(const ZRXmlTag& tag,
                                                          CZRKorDocument& target) {
    return std::make_unique<CZRKor3Node>(this, nullptr, tag, &target);
}

} // namespace Kor3
