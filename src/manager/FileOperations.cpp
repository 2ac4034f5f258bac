#include "manager/FileOperations.h"

#include "formats/kor3/Kor3Parser.h"
#include "formats/kor4/Kor4Parser.h"
#include "formats/xml/RootElement.h"
#include "interchange/MusicXmlImport.h"
#include "interchange/MusicXmlScore.h"
#include "legacy/LegacyConverter.h"
#include "legacy/SmfImport.h"
#include "manager/ErrorTable.h"
#include "manager/FileMessages.h"
#include "manager/HistoryHold.h"
#include "manager/KorManagerApp.h"
#include "manager/KorManagerImpl.h"
#include "manager/LoadChecks.h"
#include "manager/VVoicePasses.h"
#include "manager/WavPartFiles.h"
#include "model/KorRoot.h"
#include "model/WAVPart.h"
#include "platform/FileFailure.h"

#include <korman/ErrorCodes.h>

#include <atomic>
#include <memory>
#include <optional>

namespace kor {

namespace {

// The checks a read song goes through, in this order; a check without a code is skipped. The
// first that fails gives the result.
struct Checks {
    std::optional<std::uint32_t> structure = std::nullopt;
    bool preMeasure = false;
    bool style = false;
    std::optional<std::uint32_t> vvoices = std::nullopt;
    std::optional<std::uint32_t> wavParts = std::nullopt;
};

std::uint32_t runChecks(CZRKorDocument& document, const Checks& checks) {
    if (checks.structure && !hasSoundStructure(document)) return *checks.structure;
    if (checks.preMeasure && !hasValidPreMeasure(document)) return ZR_E_INVALID_PREMEASURE;
    if (checks.style && !applyDefaultStyle(document)) return ZR_E_INVALID_T2_STYLE;
    if (checks.vvoices) {
        const std::shared_ptr<const VoiceTables> tables = CKorManagerApp::instance().tables();
        if (!runVVoicePasses(document, *tables)) return *checks.vvoices;
    }
    if (checks.wavParts && !checkWavParts(document)) return *checks.wavParts;
    return 0;
}

// A song read from a file, with the code and the detailed message of the reading.
struct ReadResult {
    std::unique_ptr<CZRKorDocument> document = std::make_unique<CZRKorDocument>();
    std::uint32_t code = 0;
    std::wstring message;
    /// Whether the file was read into the document, so that a failure is one of the checks.
    bool checked = false;
};

ReadResult startRead(const wchar_t* path) {
    ReadResult read;
    read.document->filePath = path != nullptr ? path : L"";
    return read;
}

// The codes of one XML song format and the parser that reads it.
struct XmlSongFormat {
    std::unique_ptr<CZRXmlFormatParser> (*makeParser)();
    ZRFileFormat format;
    std::uint32_t parserFailure;
    std::uint32_t invalidFile;
    std::uint32_t invalidXml;
    std::uint32_t invalidVVoices;
    std::uint32_t invalidWavParts;
};

const XmlSongFormat kKor3{
    []() -> std::unique_ptr<CZRXmlFormatParser> { return std::make_unique<Kor3::CZRKor3Parser>(); },
    ZR_FILE_FORMAT_KOR3,
    ZR_E_CANNOT_INITIALIZE_XML_PARSER,
    ZR_E_INVALID_KOR3_FILE,
    ZR_E_INVALID_XML_FILE,
    ZR_E_INVALID_VVOICE_TABLE,
    ZR_E_INVALID_WAV_PART};

const XmlSongFormat kKor4{
    []() -> std::unique_ptr<CZRXmlFormatParser> { return std::make_unique<Kor4::CZRKor4Parser>(); },
    ZR_FILE_FORMAT_KOR4,
    ZR_E_KOR4_CANNOT_INITIALIZE_XML_PARSER,
    ZR_E_INVALID_KOR4_FILE,
    ZR_E_KOR4_INVALID_XML_FILE,
    ZR_E_KOR4_INVALID_VVOICE_TABLE,
    ZR_E_KOR4_INVALID_WAV_PART};

std::atomic<std::uint64_t> gSongFilesRead{0};

// Reads the file into a document holding just a root, as the format's parser expects.
std::uint32_t parseXmlSong(const XmlSongFormat& format, const ZRKorManagementPolicy& policy,
                           const wchar_t* path, CZRKorDocument& document, std::wstring& message) {
    const std::unique_ptr<CZRXmlFormatParser> parser = format.makeParser();
    if (!parser->initParser(policy.schemaFolder)) return format.parserFailure;
    auto* root = createObject<CZRKorRoot>(document.context(), ZR_NO_OBJ_ID);
    if (root == nullptr) return ZR_E_NOT_ENOUGH_MEMORY;
    document.setRoot(root);
    ++gSongFilesRead;
    const std::uint32_t code = parser->parseFile(&document, path);
    message = parser->lastMessage();
    return code;
}

// The song format whose reader the root element of the file at `path` names; null for neither.
const XmlSongFormat* formatNamedByRoot(const wchar_t* path) {
    const std::u16string root = rootElementOf(path);
    if (root == u"kor3") return &kKor3;
    if (root == u"kor4") return &kKor4;
    return nullptr;
}

// Checks a song of `format` that was read into `read` for `target`.
void checkXmlSong(const XmlSongFormat& format, ReadResult& read, LoadTarget target) {
    // Warnings of a successful read are no failure to report.
    read.message.clear();
    read.checked = true;
    read.code = runChecks(*read.document, {.structure = target == LoadTarget::CurrentSong
                                                            ? std::optional(format.invalidFile)
                                                            : std::nullopt,
                                           .preMeasure = true,
                                           .style = true,
                                           .vvoices = format.invalidVVoices,
                                           .wavParts = format.invalidWavParts});
}

ReadResult readXmlSong(const XmlSongFormat& format, const ZRKorManagementPolicy& policy,
                       const wchar_t* path, LoadTarget target) {
    ReadResult read = startRead(path);
    read.document->format = format.format;
    read.code = parseXmlSong(format, policy, path, *read.document, read.message);
    if (read.code == 0) checkXmlSong(format, read, target);
    return read;
}

// The song the last detection read from the unchanged file at `path`, checked for `target`;
// none when no such song is kept.
std::optional<ReadResult> takeKeptSong(CZRKorManagerImpl& manager, const wchar_t* path,
                                       LoadTarget target) {
    if (path == nullptr) return std::nullopt;
    std::unique_ptr<CZRKorDocument> song = manager.keptSong().take(path);
    if (song == nullptr) return std::nullopt;
    const XmlSongFormat& format = song->format == kKor4.format ? kKor4 : kKor3;
    ReadResult read{.document = std::move(song), .code = 0, .message = {}, .checked = false};
    read.document->filePath = path;
    checkXmlSong(format, read, target);
    return read;
}

// Whether the file failed to read as a document of `format` at all, rather than as a song.
bool isForeignDocument(const XmlSongFormat& format, std::uint32_t code) {
    return code == format.invalidXml || code == format.invalidFile || code == ZR_E_INVALID_SEQUENCE;
}

// What kind of file stands at `path` when it is no song file: what midiFileFormat() finds, else
// what musicXmlFileFormat() finds.
ZRFileFormat otherFileFormatOf(const std::wstring& path) {
    const ZRFileFormat midi = midiFileFormat(path);
    return midi != ZR_FILE_FORMAT_UNKNOWN ? midi : musicXmlFileFormat(path);
}

// What a read that failed before its song was checked adds to its code's text: why the file at
// `path` cannot be opened, or what kind of file it is when `reader` does not read that kind. Empty
// when neither applies, and the reader's own message says more.
std::wstring readFailureDetail(const ZRKorManagementPolicy& policy, FileReader reader,
                               std::uint32_t code, const std::wstring& path) {
    if (code == ZR_E_FILE_NOT_FOUND || path.empty()) {
        const platform::FileFailure failure = platform::readFailure(path);
        return failure.failed() ? platform::describe(failure) : std::wstring();
    }
    if (code == ZR_E_NOT_ENOUGH_MEMORY) return {};
    // The reader of song files has tried both song formats already.
    const ZRFileFormat format = reader == FileReader::KorFile ? otherFileFormatOf(path)
                                                              : fileFormatOf(policy, path.c_str());
    return readsFormat(reader, format) ? std::wstring() : otherFormatDetail(format, path);
}

// Sets the last error: 0 and "OK", or the code with the reader's message about the file at `path`
// when it gave one (made safe to print), the code's text otherwise.
void report(CZRKorManagerImpl& manager, std::uint32_t code, const std::wstring& message,
            const std::wstring& path) {
    manager.setLastError(code);
    manager.setLastErrorMessage(code != 0 && !message.empty() ? printableMessage(message, path)
                                                              : errorMessage(code));
}

// Reports a read that failed before its song was checked: the code with readFailureDetail()
// after its text, else as report() does.
void reportReadFailure(CZRKorManagerImpl& manager, FileReader reader, std::uint32_t code,
                       const std::wstring& message, const std::wstring& path) {
    const std::wstring detail = readFailureDetail(manager.policy(), reader, code, path);
    if (detail.empty())
        report(manager, code, message, path);
    else
        manager.fail(code, L"%ls", detail.c_str());
}

void emptyTarget(CZRKorManagerImpl& manager, LoadTarget target) {
    if (target == LoadTarget::CurrentSong)
        manager.destroySequence();
    else
        manager.emptyImportBuffer();
}

// Reports the outcome of a read by `reader` and hands a good song to its target.
CZRKorRoot* settle(CZRKorManagerImpl& manager, LoadTarget target, FileReader reader,
                   ReadResult read) {
    const std::wstring& path = read.document->filePath;
    if (read.code != 0 && !read.checked)
        reportReadFailure(manager, reader, read.code, read.message, path);
    else
        report(manager, read.code, read.message, path);
    if (read.code != 0) return nullptr;
    CZRKorRoot* root = read.document->root();
    if (target == LoadTarget::CurrentSong)
        manager.adoptDocument(std::move(read.document));
    else
        manager.adoptImport(std::move(read.document));
    return root;
}

/// Reads the file at `path` into `target` through the converter of `reader`: `convert` fills the
/// new document (naming its format) and answers its code, leaving its detailed message in the
/// second argument; a converted song then goes through `checks`.
template <class Convert>
CZRKorRoot* importSong(CZRKorManagerImpl& manager, const wchar_t* path, LoadTarget target,
                       FileReader reader, const Checks& checks, Convert convert) {
    HistoryHold hold(manager.history());
    emptyTarget(manager, target);
    ReadResult read = startRead(path);
    read.code = convert(*read.document, read.message);
    if (read.code == 0) {
        read.message.clear();
        read.checked = true;
        read.code = runChecks(*read.document, checks);
    }
    return settle(manager, target, reader, std::move(read));
}

} // namespace

ZRFileFormat fileFormatOf(const ZRKorManagementPolicy& policy, const wchar_t* path,
                          KeptSong* keep) {
    if (path == nullptr) return ZR_FILE_FORMAT_UNKNOWN;
    // Each format's schema allows only its own root, so the root names the one reader that may
    // read the file whole.
    if (const XmlSongFormat* format = formatNamedByRoot(path)) {
        // Told before the read, so that a file changed while it is read is read again.
        const std::optional<platform::FileStamp> stamp = platform::fileStampOf(path);
        auto song = std::make_unique<CZRKorDocument>();
        song->format = format->format;
        std::wstring message;
        if (parseXmlSong(*format, policy, path, *song, message) == 0) {
            if (keep != nullptr && stamp) keep->keep(path, *stamp, std::move(song));
            return format->format;
        }
    }
    return otherFileFormatOf(path);
}

std::uint64_t songFilesRead() {
    return gSongFilesRead.load();
}

CZRKorRoot* loadKorFile(CZRKorManagerImpl& manager, const wchar_t* path, LoadTarget target) {
    HistoryHold hold(manager.history());
    emptyTarget(manager, target);
    constexpr FileReader reader = FileReader::KorFile;
    if (std::optional<ReadResult> kept = takeKeptSong(manager, path, target))
        return settle(manager, target, reader, std::move(*kept));
    // A file whose root names neither format goes to the KOR3 reader, which says what it found.
    const XmlSongFormat* named = formatNamedByRoot(path);
    const XmlSongFormat& format = named != nullptr ? *named : kKor3;
    ReadResult read = readXmlSong(format, manager.policy(), path, target);
    // A KOR4 root that is no KOR4 song keeps the code of a file of neither format, which the KOR3
    // reader gives any root but its own; the KOR4 reader's reason names what is wrong in it.
    if (&format == &kKor4 && isForeignDocument(kKor4, read.code)) read.code = kKor3.invalidFile;
    return settle(manager, target, reader, std::move(read));
}

CZRKorRoot* loadLegacyFile(CZRKorManagerImpl& manager, const wchar_t* path, unsigned codePage,
                           int preMeasure, LoadTarget target) {
    const std::shared_ptr<const VoiceTables> tables = CKorManagerApp::instance().tables();
    CxLegacyConverter converter(tables->vvoices, tables->defaultVVoice);
    const Checks checks{.structure = ZR_E_INVALID_KOR_FILE,
                        .preMeasure = true,
                        .vvoices = ZR_E_INVALID_VVOICE_TABLE};
    return importSong(manager, path, target, FileReader::LegacyFile, checks,
                      [&](CZRKorDocument& document, std::wstring& message) {
                          const std::uint32_t code =
                              converter.convert(document.filePath, codePage, preMeasure, document);
                          message = converter.message();
                          document.format = converter.legacyLevel();
                          return code;
                      });
}

bool surveyLegacyFile(CZRKorManagerImpl& manager, const wchar_t* path, unsigned codePage,
                      ZRLegacySongSurvey& survey) {
    const std::wstring file = path != nullptr ? path : L"";
    const std::uint32_t code = surveyLegacySong(file, codePage, survey);
    if (code != 0)
        reportReadFailure(manager, FileReader::LegacyFile, code, {}, file);
    else
        report(manager, code, {}, file);
    return code == 0;
}

CZRKorRoot* loadSmf(CZRKorManagerImpl& manager, const wchar_t* path, int preMeasure,
                    int channelSplit, const std::vector<ZRSMFTrackImportDirective>& directives,
                    LoadTarget target) {
    const std::shared_ptr<const VoiceTables> tables = CKorManagerApp::instance().tables();
    CxSmfImporter importer(tables->vvoices, tables->defaultVVoice);
    return importSong(manager, path, target, FileReader::Smf, {.structure = ZR_E_INVALID_SMF},
                      [&](CZRKorDocument& document, std::wstring& message) {
                          const std::uint32_t code =
                              importer.importFile(document.filePath, preMeasure, channelSplit != 0,
                                                  directives, document);
                          message = importer.message();
                          document.format = importer.fileFormat();
                          return code;
                      });
}

bool surveySmf(CZRKorManagerImpl& manager, const wchar_t* path, unsigned codePage, int channelSplit,
               std::vector<ZRSMFTrackImportDirective>& directives) {
    const std::shared_ptr<const VoiceTables> tables = CKorManagerApp::instance().tables();
    CxSmfImporter importer(tables->vvoices, tables->defaultVVoice);
    const std::wstring file = path != nullptr ? path : L"";
    const std::uint32_t code = importer.survey(file, codePage, channelSplit != 0, directives);
    if (code != 0)
        reportReadFailure(manager, FileReader::Smf, code, {}, file);
    else
        report(manager, code, {}, file);
    return code == 0;
}

CZRKorRoot* loadMusicXml(CZRKorManagerImpl& manager, const wchar_t* path, int preMeasure,
                         const std::vector<ZRMusicXMLPartImportDirective>& directives,
                         LoadTarget target) {
    const std::shared_ptr<const VoiceTables> tables = CKorManagerApp::instance().tables();
    CxMusicXmlImporter importer(tables->vvoices, tables->defaultVVoice);
    importer.keepScoresIn(manager.keptScore());
    return importSong(
        manager, path, target, FileReader::MusicXml, {.structure = ZR_E_INVALID_MUSICXML},
        [&](CZRKorDocument& document, std::wstring& message) {
            const std::uint32_t code =
                importer.importFile(document.filePath, preMeasure, directives, document);
            message = importer.message();
            document.format = ZR_FILE_FORMAT_MUSICXML;
            return code;
        });
}

bool surveyMusicXml(CZRKorManagerImpl& manager, const wchar_t* path,
                    std::vector<ZRMusicXMLPartImportDirective>& directives) {
    const std::shared_ptr<const VoiceTables> tables = CKorManagerApp::instance().tables();
    CxMusicXmlImporter importer(tables->vvoices, tables->defaultVVoice);
    importer.keepScoresIn(manager.keptScore());
    const std::wstring file = path != nullptr ? path : L"";
    const std::uint32_t code = importer.survey(file, directives);
    if (code != 0)
        reportReadFailure(manager, FileReader::MusicXml, code, importer.message(), file);
    else
        manager.succeed(importer.message());
    return code == 0;
}

bool actualWavFilePath(const CZRKorManagerImpl& manager, std::uint32_t objID, std::wstring& path) {
    const auto* part = objCast<CZRWAVPart>(manager.lookup(objID));
    if (part == nullptr) return false;
    path = actualWavPath(*manager.document(), *part);
    return true;
}

} // namespace kor
