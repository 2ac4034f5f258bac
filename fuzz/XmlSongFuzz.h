// The body of the song-file fuzzers: loads bytes through one validating format parser, into a
// fresh document each time.
#pragma once

#include "FuzzFile.h"
#include "RoundTrip.h"

#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/ObjectFactory.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace kor::fuzz {

/// Loads `size` bytes at `data` as a song file with a parser of class `Parser`, and checks that a
/// song it loads saves and loads back. One parser serves every input, as one manager's parser
/// serves every load.
template <class Parser> void loadSong(const std::uint8_t* data, std::size_t size) {
    static FuzzFile file;
    static Parser parser;
    static const bool ready = [] {
        const std::string folder = KORMAN_SCHEMA_DIR;
        return parser.initParser(std::wstring(folder.begin(), folder.end()));
    }();
    if (!ready) std::abort();

    file.write(data, size);
    CZRKorDocument document;
    document.setRoot(kor::createObject<CZRKorRoot>(document.context(), ZR_NO_OBJ_ID));
    if (parser.parseFile(&document, file.path().c_str()) == 0) checkSavesAndLoadsBack(document);
}

} // namespace kor::fuzz
