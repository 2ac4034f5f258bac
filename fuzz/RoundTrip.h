// The check every song fuzzer makes of what it loaded: a song that saves must load back as it was.
#pragma once

#include "formats/kor3/Kor3Parser.h"
#include "formats/kor3/Kor3Writer.h"
#include "model/KorDocument.h"
#include "model/ObjectFactory.h"
#include "support/SavedDump.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace kor::fuzz {

/// Saves the song of `document` as a KOR3 file, reads the file back and compares the dumps;
/// aborts when the file does not load or loads as another song. A song the writer's checks
/// refuse is not saved, and passes.
inline void checkSavesAndLoadsBack(const CZRKorDocument& document) {
    // A real file: a save goes to a temporary file beside its target, then takes its place.
    static const std::wstring saved = [] {
        const std::string path = std::filesystem::temp_directory_path().string() + "/korfuzz-" +
                                 std::to_string(::getpid()) + ".korx";
        return std::wstring(path.begin(), path.end());
    }();
    static Kor3::CZRKor3Parser parser;
    static const bool ready = [] {
        const std::string folder = KORMAN_SCHEMA_DIR;
        return parser.initParser(std::wstring(folder.begin(), folder.end()));
    }();
    if (!ready) std::abort();
    if (document.root() == nullptr) return;
    if (Kor3::saveKor3File(document.root(), saved) != 0) return;
    CZRKorDocument reread;
    reread.setRoot(kor::createObject<CZRKorRoot>(reread.context(), ZR_NO_OBJ_ID));
    if (parser.parseFile(&reread, saved.c_str()) != 0) {
        std::fprintf(stderr, "fuzz: a saved song does not load\n");
        std::abort();
    }
    if (kor::test::dumpAsSaved(*reread.root()) != kor::test::dumpAsSaved(*document.root())) {
        std::fprintf(stderr, "fuzz: a saved song loads back as another song\n");
        std::abort();
    }
}

} // namespace kor::fuzz
