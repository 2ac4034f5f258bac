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
#include <string_view>

#include <unistd.h>

namespace kor::fuzz {

/// Whether the reread dump's value ending at `r` is the original's value cut to one of the
/// format's maxima, as the writer cuts a text longer than its element holds, and then stripped of
/// the blanks the cut left at its end, as the reader strips them. The dumps agree up to `r` in
/// the reread one and `o` in the original one.
inline bool endsACutText(std::string_view original, std::size_t o, std::string_view reread,
                         std::size_t r) {
    static constexpr std::size_t kMaxima[] = {15, 16, 32, 36, 256, 260};
    static constexpr std::string_view kBlanks = " \t\n\r\v\f";
    const std::size_t shift = o - r;
    for (const std::size_t max : kMaxima)
        for (std::size_t start = r > max ? r - max : 1; start <= r; ++start) {
            if (reread[start - 1] != '=') continue;
            std::string_view written = original.substr(start + shift, max);
            while (!written.empty() && kBlanks.find(written.back()) != std::string_view::npos)
                written.remove_suffix(1);
            if (written.size() == r - start) return true;
        }
    return false;
}

/// Whether the dump `reread` is the dump `original` with some text values cut (a reader takes a
/// text of any length, the writer cuts it to what its element holds): wherever the two part, the
/// reread value is a cut one and the original value runs on until the reread dump goes on.
inline bool equalUpToCutTexts(std::string_view original, std::string_view reread) {
    static constexpr std::size_t kResync = 64;
    std::size_t o = 0;
    std::size_t r = 0;
    for (;;) {
        while (o < original.size() && r < reread.size() && original[o] == reread[r])
            ++o, ++r;
        if (o == original.size() && r == reread.size()) return true;
        if (r == reread.size() || !endsACutText(original, o, reread, r)) return false;
        const std::size_t resumed = original.find(reread.substr(r, kResync), o);
        if (resumed == std::string_view::npos) return false;
        o = resumed;
    }
}

/// Saves the song of `document` as a KOR3 file, reads the file back and compares the dumps;
/// aborts when the file does not load or loads as another song (texts cut to their elements'
/// maxima aside). A song the writer's checks refuse is not saved, and passes.
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
    if (!equalUpToCutTexts(kor::test::dumpAsSaved(*document.root()),
                           kor::test::dumpAsSaved(*reread.root()))) {
        std::fprintf(stderr, "fuzz: a saved song loads back as another song\n");
        std::abort();
    }
}

} // namespace kor::fuzz
