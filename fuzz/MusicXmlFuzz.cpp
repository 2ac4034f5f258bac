// Imports bytes as a MusicXML score, plain or compressed: every source the survey offers with
// notes, singing the first verse.
#include "FuzzFile.h"
#include "RoundTrip.h"

#include "formats/xml/VerifyTree.h"
#include "interchange/MusicXmlImport.h"
#include "model/KorDocument.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kor::fuzz::FuzzFile file;
    static const ZRVVoiceLib defaultVoice{0, 0, L"BCNFCY43LB2LZCD4", L"First", {}};
    static const kor::VVoiceTable voices{{{0, 0}, defaultVoice}};
    file.write(data, size);
    CxMusicXmlImporter importer(voices, defaultVoice);
    std::vector<ZRMusicXMLPartImportDirective> directives;
    if (importer.survey(file.path(), directives) != 0) return 0;
    CZRKorDocument document;
    // An imported song is checked as every loaded song is before the host sees it, and only
    // then held to saving and loading back as it is.
    std::wstring report;
    if (importer.importFile(file.path(), 1, directives, document) == 0 &&
        kor::verifyTree(&document, report) == 0)
        kor::fuzz::checkSavesAndLoadsBack(document);
    return 0;
}
