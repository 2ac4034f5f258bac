// Converts bytes as a legacy song file into a new document: conductor track, embedded text,
// notes, singers, curves and mixer settings.
#include "FuzzFile.h"
#include "RoundTrip.h"

#include "formats/xml/VerifyTree.h"
#include "legacy/LegacyConverter.h"
#include "model/KorDocument.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kor::fuzz::FuzzFile file;
    static const ZRVVoiceLib defaultVoice{0, 0, L"BCNFCY43LB2LZCD4", L"First", {}};
    static const kor::VVoiceTable voices{{{0, 0}, defaultVoice},
                                         {{1, 3}, {1, 3, L"BNXFCY43LB2LZCD4", L"Second", {}}}};
    file.write(data, size);
    CxLegacyConverter converter(voices, defaultVoice);
    CZRKorDocument document;
    // A converted song is repaired and checked as every loaded song is before the host sees it,
    // and only then held to saving and loading back as it is.
    std::wstring report;
    if (converter.convert(file.path(), 932, 1, document) == 0 &&
        kor::verifyTree(&document, report) == 0)
        kor::fuzz::checkSavesAndLoadsBack(document);
    return 0;
}
