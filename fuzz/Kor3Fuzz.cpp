// Loads bytes as a KOR3 song through the validating reader, into a fresh document each time.
#include "FuzzFile.h"

#include "formats/kor3/Kor3Parser.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/ObjectFactory.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kor::fuzz::FuzzFile file;
    // One parser serves every input, as one manager's parser serves every load.
    static Kor3::CZRKor3Parser parser;
    static const bool ready = [] {
        const std::string folder = KORMAN_SCHEMA_DIR;
        return parser.initParser(std::wstring(folder.begin(), folder.end()));
    }();
    if (!ready) std::abort();

    file.write(data, size);
    CZRKorDocument document;
    document.setRoot(kor::createObject<CZRKorRoot>(document.context(), ZR_NO_OBJ_ID));
    (void)parser.parseFile(&document, file.path().c_str());
    return 0;
}
