#include "Session.h"

#include "Text.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string_view>

namespace kortool {

namespace {

// The reader a file is for.
enum class Reader { Kor, Legacy, Midi, Score, None };

Reader readerOf(int format) {
    switch (format) {
    case 0:
    case ZR_FILE_FORMAT_SMF1:
        return Reader::Midi;
    case 2:
    case ZR_FILE_FORMAT_LEGACY3:
        return Reader::Legacy;
    case 4:
    case ZR_FILE_FORMAT_KOR4:
        return Reader::Kor;
    case 6:
        return Reader::Score;
    default:
        return Reader::None;
    }
}

// Whether the file starts, after an optional byte order mark and white space, with '<'.
bool looksLikeXml(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string head(4096, '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(file.gcount()));
    // Byte order marks of UTF-8, UTF-16 LE and UTF-16 BE; an ASCII character of UTF-16 is its low
    // byte with a zero high byte.
    std::size_t pos = 0;
    std::size_t step = 1;
    std::ptrdiff_t highByte = 0; // where the high byte lies from the low byte
    if (head.rfind("\xEF\xBB\xBF", 0) == 0) {
        pos = 3;
    } else if (head.rfind("\xFF\xFE", 0) == 0) {
        pos = 2;
        step = 2;
        highByte = 1;
    } else if (head.rfind("\xFE\xFF", 0) == 0) {
        pos = 3;
        step = 2;
        highByte = -1;
    }
    for (; pos < head.size(); pos += step) {
        if (highByte != 0) {
            const std::size_t high = pos + highByte;
            if (high >= head.size() || head[high] != '\0') return false;
        }
        const char c = head[pos];
        if (c == '<') return true;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    }
    return false;
}

// Whether the file starts with `signature`: "PK\3\4" for a zip archive, as a compressed score
// is, "MThd" for a MIDI file.
bool startsWith(const std::string& path, std::string_view signature) {
    std::ifstream file(path, std::ios::binary);
    std::string head(signature.size(), '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    return static_cast<std::size_t>(file.gcount()) == head.size() && head == signature;
}

// The reader for a file detection refuses, judged by its first bytes: a zip archive goes to the
// score reader, which says what is wrong with a compressed score; a MIDI file the legacy survey
// takes for a legacy song (one whose tracks carry song text) to the legacy converter, any other
// to the MIDI import.
Reader readerByContent(CZRKorManagerIF& manager, const std::string& path) {
    if (looksLikeXml(path)) return Reader::Kor;
    if (startsWith(path, std::string_view("PK\3\4", 4))) return Reader::Score;
    if (!startsWith(path, "MThd")) return Reader::None;
    // Whether the survey takes the file does not depend on the code page.
    ZRLegacySongSurvey survey;
    return manager.fileGetLegacySongSurvey(widen(path).c_str(), 0, survey) != 0 ? Reader::Legacy
                                                                                : Reader::Midi;
}

// Switches on the sources `options` name (all the survey chose when none) with their singer.
template <class Directive>
void applyChoices(std::vector<Directive>& directives, const ImportOptions& options) {
    for (Directive& directive : directives) {
        if (!options.tracks.empty()) {
            directive.importSwitch = 0;
            for (const int wanted : options.tracks)
                if (wanted == directive.sourceIndex) directive.importSwitch = 1;
        }
        if (options.singer) {
            directive.singerBS = options.singer->first;
            directive.singerPC = options.singer->second;
        }
    }
}

template <class Directive>
std::optional<EmptyImport> emptyImport(const std::vector<Directive>& directives,
                                       const ImportOptions& options, EmptyImport otherwise) {
    const auto any = [&directives](auto predicate) {
        return std::any_of(directives.begin(), directives.end(), predicate);
    };
    if (any([](const auto& d) { return d.importSwitch != 0; })) return std::nullopt;
    if (!any([](const auto& d) { return d.noteCount > 0; }))
        return EmptyImport{ZR_E_INVALID_PARAMETER, "no track has notes"};
    if (!options.tracks.empty())
        return EmptyImport{ZR_E_INVALID_PARAMETER, "--tracks names no source of the file"};
    return otherwise;
}

} // namespace

std::string formatName(int format) {
    switch (format) {
    case ZR_FILE_FORMAT_SMF0:
        return "MIDI format 0";
    case 1:
        return "MIDI format 1";
    case ZR_FILE_FORMAT_LEGACY2:
        return "legacy song (level 2)";
    case 3:
        return "legacy song (level 3)";
    case ZR_FILE_FORMAT_KOR3:
        return "KOR3";
    case 5:
        return "KOR4";
    case 6:
        return "MusicXML";
    default:
        return "unknown";
    }
}

std::string describeCodePage(unsigned codePage) {
    return "code page " + std::to_string(codePage) +
           (codePage == 0 || codePage == 3 ? " (the locale's)" : "");
}

Session::Session() {
    // No schema folder named: the library takes the schemas installed beside it.
    if (manager_.sysInitialize(ZRKorManagementPolicy{}) == 0) fail();
}

[[noreturn]] void Session::fail(const std::string& context) const {
    const std::uint32_t code = manager_.sysGetLastError();
    const wchar_t* detail = manager_.sysGetLastErrorMsg();
    std::string text = detail != nullptr && *detail != L'\0' ? narrow(detail) : message(code);
    // A reader's report may end in a line break; the code is printed after its last line.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    throw LibraryError(code, (context.empty() ? "" : context + ": ") + text);
}

int Session::detect(const std::string& path) {
    return manager_.fileGetFileFormat(widen(path).c_str());
}

ZRLegacySongSurvey Session::legacySurvey(const std::string& path, const ImportOptions& options) {
    ZRLegacySongSurvey survey;
    if (manager_.fileGetLegacySongSurvey(widen(path).c_str(), options.codePage, survey) == 0)
        fail(path);
    return survey;
}

std::vector<ZRSMFTrackImportDirective> Session::directives(const std::string& path,
                                                           const ImportOptions& options) {
    std::vector<ZRSMFTrackImportDirective> found;
    if (manager_.fileGetSMFImportDirective(widen(path).c_str(), options.codePage,
                                           options.splitChannels ? 1 : 0, found) == 0)
        fail(path);
    applyChoices(found, options);
    return found;
}

std::vector<ZRMusicXMLPartImportDirective> Session::scoreDirectives(const std::string& path,
                                                                    const ImportOptions& options) {
    std::vector<ZRMusicXMLPartImportDirective> found;
    if (manager_.fileGetMusicXMLImportDirective(widen(path).c_str(), found) == 0) fail(path);
    applyChoices(found, options);
    for (ZRMusicXMLPartImportDirective& directive : found) {
        if (options.verse) directive.verse = *options.verse;
        directive.asWritten = options.asWritten ? 1 : 0;
    }
    return found;
}

std::optional<EmptyImport>
Session::nothingToImport(const std::vector<ZRSMFTrackImportDirective>& directives,
                         const ImportOptions& options) {
    // The survey switches on every source with notes unless the source breaks off or is malformed.
    return emptyImport(directives, options,
                       EmptyImport{ZR_E_INVALID_SMF, "every track with notes is damaged"});
}

std::optional<EmptyImport>
Session::nothingToImport(const std::vector<ZRMusicXMLPartImportDirective>& directives,
                         const ImportOptions& options) {
    return emptyImport(directives, options,
                       EmptyImport{ZR_E_INVALID_PARAMETER, "no source is switched on"});
}

const IZRKorRoot& Session::load(const std::string& path, const ImportOptions& options,
                                std::optional<int> detected) {
    const std::wstring wide = widen(path);
    Reader reader = readerOf(detected ? *detected : detect(path));
    if (reader == Reader::None) reader = readerByContent(manager_, path);
    IZRKorRoot* root = nullptr;
    int unconverted = 0; // texts of a legacy or MIDI file the code page failed
    switch (reader) {
    case Reader::Kor:
        root = manager_.fileLoadKorFile(wide.c_str());
        break;
    case Reader::Legacy:
        root = manager_.fileLoadLegacyKorFile(wide.c_str(), options.codePage, options.premeasure);
        // Surveyed after the load, so that a file the converter refuses reports its own error.
        if (root != nullptr) unconverted = legacySurvey(path, options).unconvertedTextCount;
        break;
    case Reader::Midi: {
        const auto found = directives(path, options);
        if (const auto empty = nothingToImport(found, options))
            throw LibraryError(empty->code, path + ": nothing to import: " + empty->reason);
        root = manager_.fileLoadSMF(wide.c_str(), options.premeasure, options.splitChannels ? 1 : 0,
                                    found);
        for (const ZRSMFTrackImportDirective& directive : found)
            if (directive.importSwitch != 0) unconverted += directive.unconvertedTextCount;
        break;
    }
    case Reader::Score: {
        const auto found = scoreDirectives(path, options);
        if (const auto empty = nothingToImport(found, options))
            throw LibraryError(empty->code, path + ": nothing to import: " + empty->reason);
        root = manager_.fileLoadMusicXML(wide.c_str(), options.premeasure, found);
        break;
    }
    case Reader::None:
        if (!std::filesystem::exists(path))
            throw LibraryError(ZR_E_FILE_NOT_FOUND, path + ": " + message(ZR_E_FILE_NOT_FOUND));
        throw LibraryError(ZR_E_INVALID_KOR_FILE,
                           path + ": not a KOR3, KOR4, legacy, MIDI or MusicXML file");
    }
    if (root == nullptr) fail(path);
    warnOfUnconvertedTexts(path, unconverted, reader == Reader::Legacy, options.codePage);
    return *root;
}

void Session::warnOfUnconvertedTexts(const std::string& path, int failed, bool legacy,
                                     unsigned codePage) {
    if (failed == 0) return;
    std::cerr << "kortool: warning: " << failed << (failed == 1 ? " text" : " texts") << " of "
              << path << " did not convert from " << describeCodePage(codePage)
              << (legacy ? " and came out garbled" : " and were left out")
              << "; give the code page they are in with --codepage (e.g. 932 for Shift-JIS)\n";
}

void Session::save(const std::string& path) {
    if (manager_.fileSaveKorFile(widen(path).c_str()) == 0) fail(path);
}

void Session::exportMidi(const std::string& path, bool keepPreMeasure) {
    ZRSMFExportOptions options;
    options.keepPreMeasure = keepPreMeasure ? 1 : 0;
    if (manager_.fileExportSMF(widen(path).c_str(), options) == 0) fail(path);
}

std::string Session::message(std::uint32_t code) const {
    const wchar_t* text = manager_.sysGetErrorMsg(code);
    return narrow(text != nullptr ? text : L"");
}

std::string Session::wavFilePath(std::uint32_t wavPartID) const {
    std::wstring path;
    return manager_.fileGetActualWAVFilePath(wavPartID, path) != 0 ? narrow(path) : std::string();
}

} // namespace kortool
