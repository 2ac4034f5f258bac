// Hands bytes to a manager as a host does with a file it was given: asks what kind of song file it
// is, then loads it the matching way. One manager serves every input, so a load that leaves its
// state behind shows up in the next one. A song that loads must save, read back, and save again
// to the same bytes: anything else loses the user's work. Its MIDI file, when one is written, must
// import.
#include "FuzzFile.h"

#include "manager/KorManagerApp.h"
#include "support/TestDataFolder.h"

#include <korman/korman.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring widen(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

// The manager's data folder, below /tmp so that nothing lands in the user's home; it goes when
// the process ends.
const kor::test::TempDir& dataFolder() {
    static const kor::test::TempDir data;
    return data;
}

[[noreturn]] void fail(const char* what, const CZRKorManagerIF& korman) {
    std::fprintf(stderr, "manager fuzz: %s (last error 0x%08X)\n", what, korman.sysGetLastError());
    std::abort();
}

// Saves the current song, loads the file back and saves that again; aborts when the song cannot
// be read back or its second file differs from the first.
void checkRoundTrip(CZRKorManagerIF& korman) {
    const kor::test::TempDir& folder = dataFolder();
    if (korman.fileSaveKorFile(folder.wide("first.korx").c_str()) == 0) return;
    if (korman.fileLoadKorFile(folder.wide("first.korx").c_str()) == nullptr)
        fail("a saved song does not load", korman);
    if (korman.fileSaveKorFile(folder.wide("second.korx").c_str()) == 0)
        fail("a song read back does not save", korman);
    if (folder.read("first.korx") != folder.read("second.korx"))
        fail("a song read back saves other bytes", korman);
}

// Writes the current song as a MIDI file; aborts when the file cannot be surveyed, or when it
// offers notes that the MIDI import then refuses.
void checkMidiExport(CZRKorManagerIF& korman, bool keepPreMeasure) {
    const std::wstring path = dataFolder().wide("song.mid");
    ZRSMFExportOptions options;
    options.keepPreMeasure = keepPreMeasure ? 1 : 0;
    if (korman.fileExportSMF(path.c_str(), options) == 0) return;
    std::vector<ZRSMFTrackImportDirective> directives;
    if (korman.fileGetSMFImportDirective(path.c_str(), 0, directives) == 0)
        fail("a written MIDI file cannot be surveyed", korman);
    int chosen = 0;
    for (ZRSMFTrackImportDirective& directive : directives)
        if (directive.importSwitch != 0 && ++chosen > 16) directive.importSwitch = 0;
    if (chosen > 0 && korman.fileImportSMF(path.c_str(), 1, 0, directives) == nullptr)
        fail("a written MIDI file does not import", korman);
    korman.korEmptyImportBuffer();
}

// The manager, initialized once with the stand-in voice database built beside the fuzzers.
CZRKorManagerIF& manager() {
    // The folder goes after the manager has ended, which may still write into it.
    static const kor::test::TempDir& data = dataFolder();
    static CZRKorManagerIF instance;
    static const bool ready = [] {
        kor::test::useTestDataFolder(data);
        CKorManagerApp::instance().setVoiceDatabasePath(widen(KORMAN_FUZZ_VOICEDB));
        ZRKorManagementPolicy policy;
        policy.schemaFolder = widen(KORMAN_SCHEMA_DIR);
        return instance.sysInitialize(policy) == 1;
    }();
    if (!ready) std::abort();
    return instance;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kor::fuzz::FuzzFile file;
    CZRKorManagerIF& korman = manager();
    file.write(data, size);
    const wchar_t* path = file.path().c_str();
    // The last byte picks the options a host would offer, so each stays reachable.
    const std::uint8_t options = size > 0 ? data[size - 1] : 0;
    const int premeasure = 1 + options % 8;

    IZRKorRoot* song = nullptr;
    switch (korman.fileGetFileFormat(path)) {
    case ZR_FILE_FORMAT_KOR3:
    case ZR_FILE_FORMAT_KOR4:
        song = korman.fileLoadKorFile(path);
        break;
    case ZR_FILE_FORMAT_LEGACY2:
    case ZR_FILE_FORMAT_LEGACY3:
        song =
            korman.fileLoadLegacyKorFile(path, (options & 0x10) != 0 ? 932u : 65001u, premeasure);
        break;
    case ZR_FILE_FORMAT_SMF0:
    case ZR_FILE_FORMAT_SMF1: {
        const int channelSplit = (options & 0x20) != 0 ? 1 : 0;
        std::vector<ZRSMFTrackImportDirective> directives;
        if (korman.fileGetSMFImportDirective(path, channelSplit, directives) != 0)
            song = korman.fileLoadSMF(path, premeasure, channelSplit, directives);
        break;
    }
    case ZR_FILE_FORMAT_UNKNOWN:
        break;
    }
    if (song != nullptr) {
        checkMidiExport(korman, (options & 0x40) != 0);
        checkRoundTrip(korman);
    }
    return 0;
}
