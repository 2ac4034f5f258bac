// The reader of KOR3 song files.
#pragma once

#include "formats/xml/XmlFormatParser.h"

namespace Kor3 {

/// The namespace of KOR3 documents.
inline constexpr const wchar_t* kNamespaceURI = L"http://korman.example/torivel/schema/kor3/";
/// The schema file of KOR3 documents, looked up in the schema folder.
inline constexpr const wchar_t* kSchemaFile = L"kor3.xsd";

/// Reads a KOR3 file into a target document holding just its root: the whole sequence is built
/// under the root, then repaired and checked. Failure codes are those of CZRXmlFormatParser
/// with ZR_E_INVALID_XML_FILE for reader errors and ZR_E_INVALID_KOR3_FILE for malformed or
/// schema-breaking documents.
class CZRKor3Parser final : public CZRXmlFormatParser {
public:
    CZRKor3Parser();

private:
    void startRootNode(CZRKorDocument& target) override;
};

} // namespace Kor3
