// The reader of KOR4 song files.
#pragma once

#include "formats/xml/XmlFormatParser.h"

namespace Kor4 {

/// The namespace of KOR4 documents.
inline constexpr const wchar_t* kNamespaceURI = L"http://korman.example/torivel/schema/kor4/";
/// The schema file of KOR4 documents, looked up in the schema folder.
inline constexpr const wchar_t* kSchemaFile = L"kor4.xsd";

/// Reads a KOR4 file into a target document holding just its root, building the same song a
/// KOR3 file of that content gives: KOR4 names are handed to the nodes as their KOR3 names, and
/// the few KOR4 nodes that behave differently (VVoice parameter sets, one-letter controls) take
/// the place of their KOR3 counterparts. Failure codes are those of CZRXmlFormatParser with
/// ZR_E_KOR4_INVALID_XML_FILE for reader errors and ZR_E_INVALID_KOR4_FILE for malformed or
/// schema-breaking documents.
class CZRKor4Parser final : public CZRXmlFormatParser {
public:
    CZRKor4Parser();

private:
    void startRootNode(CZRKorDocument& target) override;
    void renameStart(ZRXmlStartTag& tag) override;
};

} // namespace Kor4
