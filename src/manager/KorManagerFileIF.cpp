// The file family of the manager's methods: each runs the call protocol around its operation.
#include <korman/CZRKorManagerIF.h>

#include "manager/CallProtocol.h"
#include "manager/FileOperations.h"
#include "manager/KorManagerImpl.h"
#include "manager/SongSaving.h"
#include "model/KorRoot.h"
#include "platform/CodePage.h"
#include "platform/FileFailure.h"

using kor::LoadTarget;

namespace {

constexpr unsigned kThreadCodePage = kor::platform::kCodePageThreadAnsi;

IZRKorRoot* asRoot(CZRKorRoot* root) {
    return root;
}

constexpr const wchar_t* kNoText = nullptr;
constexpr IZRKorRoot* kNoRoot = nullptr;

enum class SongKind { Current, Imported };

// Answers `read(song)` of the current song (or of the imported one) as a manager method; without
// one, `nothing` and the reason: ZR_E_NO_SEQUENCE or ZR_E_IMPORT_SOURCE_NOT_FOUND.
template <class T, class Read>
T readSong(CZRKorManagerImpl* impl, T nothing, Read read, SongKind kind = SongKind::Current) {
    return kor::runProtocol(impl, nothing, [&](CZRKorManagerImpl& m) {
        const CZRKorDocument* song = kind == SongKind::Current ? m.document() : m.importDocument();
        if (song != nullptr) return static_cast<T>(read(*song));
        if (kind == SongKind::Current)
            m.failNoSong();
        else
            m.failNoImport();
        return nothing;
    });
}

} // namespace

ZRFileFormat CZRKorManagerIF::fileGetFileFormat(const wchar_t* path) {
    return kor::runProtocol(impl_.get(), ZR_FILE_FORMAT_UNKNOWN, [path](CZRKorManagerImpl& m) {
        if (path == nullptr) {
            m.fail(ZR_E_INVALID_PARAMETER, L"No path was given.");
            return ZR_FILE_FORMAT_UNKNOWN;
        }
        // A file of no kind the library reads is an answer; a file that cannot be read is not.
        // The song of a KOR3 or KOR4 file is kept for the load that follows.
        const ZRFileFormat format = kor::fileFormatOf(m.policy(), path, &m.keptSong());
        if (format == ZR_FILE_FORMAT_UNKNOWN) {
            const kor::platform::FileFailure failure = kor::platform::readFailure(path);
            if (failure.failed())
                m.fail(ZR_E_FILE_NOT_FOUND, L"%ls", kor::platform::describe(failure).c_str());
        }
        return format;
    });
}

IZRKorRoot* CZRKorManagerIF::fileLoadKorFile(const wchar_t* path) {
    return kor::runProtocol(impl_.get(), static_cast<IZRKorRoot*>(nullptr),
                            [path](CZRKorManagerImpl& m) {
                                return asRoot(kor::loadKorFile(m, path, LoadTarget::CurrentSong));
                            });
}

IZRKorRoot* CZRKorManagerIF::fileImportKorFile(const wchar_t* path) {
    return kor::runProtocol(impl_.get(), static_cast<IZRKorRoot*>(nullptr),
                            [path](CZRKorManagerImpl& m) {
                                return asRoot(kor::loadKorFile(m, path, LoadTarget::ImportBuffer));
                            });
}

IZRKorRoot* CZRKorManagerIF::fileLoadLegacyKorFile(const wchar_t* path, int premeasure) {
    return fileLoadLegacyKorFile(path, kThreadCodePage, premeasure);
}

IZRKorRoot* CZRKorManagerIF::fileLoadLegacyKorFile(const wchar_t* path, unsigned int codePage,
                                                   int premeasure) {
    return kor::runProtocol(impl_.get(), static_cast<IZRKorRoot*>(nullptr),
                            [&](CZRKorManagerImpl& m) {
                                return asRoot(kor::loadLegacyFile(m, path, codePage, premeasure,
                                                                  LoadTarget::CurrentSong));
                            });
}

IZRKorRoot* CZRKorManagerIF::fileImportLegacyKorFile(const wchar_t* path, int premeasure) {
    return fileImportLegacyKorFile(path, kThreadCodePage, premeasure);
}

IZRKorRoot* CZRKorManagerIF::fileImportLegacyKorFile(const wchar_t* path, unsigned int codePage,
                                                     int premeasure) {
    return kor::runProtocol(impl_.get(), static_cast<IZRKorRoot*>(nullptr),
                            [&](CZRKorManagerImpl& m) {
                                return asRoot(kor::loadLegacyFile(m, path, codePage, premeasure,
                                                                  LoadTarget::ImportBuffer));
                            });
}

int CZRKorManagerIF::fileGetLegacySongSurvey(const wchar_t* path, unsigned int codePage,
                                             ZRLegacySongSurvey& survey) {
    return kor::runProtocol(impl_.get(), 0, [&](CZRKorManagerImpl& m) {
        return kor::surveyLegacyFile(m, path, codePage, survey) ? 1 : 0;
    });
}

int CZRKorManagerIF::fileGetSMFImportDirective(const wchar_t* path, int channelSplit,
                                               std::vector<ZRSMFTrackImportDirective>& directives) {
    return fileGetSMFImportDirective(path, kThreadCodePage, channelSplit, directives);
}

int CZRKorManagerIF::fileGetSMFImportDirective(const wchar_t* path, unsigned int codePage,
                                               int channelSplit,
                                               std::vector<ZRSMFTrackImportDirective>& directives) {
    return kor::runProtocol(impl_.get(), 0, [&](CZRKorManagerImpl& m) {
        return kor::surveySmf(m, path, codePage, channelSplit, directives) ? 1 : 0;
    });
}

IZRKorRoot* CZRKorManagerIF::fileLoadSMF(const wchar_t* path, int premeasure, int channelSplit,
                                         const std::vector<ZRSMFTrackImportDirective>& directives) {
    return kor::runProtocol(impl_.get(), static_cast<IZRKorRoot*>(nullptr),
                            [&](CZRKorManagerImpl& m) {
                                return asRoot(kor::loadSmf(m, path, premeasure, channelSplit,
                                                           directives, LoadTarget::CurrentSong));
                            });
}

IZRKorRoot*
CZRKorManagerIF::fileImportSMF(const wchar_t* path, int premeasure, int channelSplit,
                               const std::vector<ZRSMFTrackImportDirective>& directives) {
    return kor::runProtocol(impl_.get(), static_cast<IZRKorRoot*>(nullptr),
                            [&](CZRKorManagerImpl& m) {
                                return asRoot(kor::loadSmf(m, path, premeasure, channelSplit,
                                                           directives, LoadTarget::ImportBuffer));
                            });
}

int CZRKorManagerIF::fileGetMusicXMLImportDirective(
    const wchar_t* path, std::vector<ZRMusicXMLPartImportDirective>& directives) {
    return kor::runProtocol(impl_.get(), 0, [&](CZRKorManagerImpl& m) {
        return kor::surveyMusicXml(m, path, directives) ? 1 : 0;
    });
}

IZRKorRoot*
CZRKorManagerIF::fileLoadMusicXML(const wchar_t* path, int premeasure,
                                  const std::vector<ZRMusicXMLPartImportDirective>& directives) {
    return kor::runProtocol(impl_.get(), static_cast<IZRKorRoot*>(nullptr),
                            [&](CZRKorManagerImpl& m) {
                                return asRoot(kor::loadMusicXml(m, path, premeasure, directives,
                                                                LoadTarget::CurrentSong));
                            });
}

IZRKorRoot*
CZRKorManagerIF::fileImportMusicXML(const wchar_t* path, int premeasure,
                                    const std::vector<ZRMusicXMLPartImportDirective>& directives) {
    return kor::runProtocol(impl_.get(), static_cast<IZRKorRoot*>(nullptr),
                            [&](CZRKorManagerImpl& m) {
                                return asRoot(kor::loadMusicXml(m, path, premeasure, directives,
                                                                LoadTarget::ImportBuffer));
                            });
}

int CZRKorManagerIF::fileSaveKorFile(const wchar_t* path) {
    return kor::runProtocol(
        impl_.get(), 0, [path](CZRKorManagerImpl& m) { return kor::saveKorFile(m, path) ? 1 : 0; });
}

int CZRKorManagerIF::fileExportZRTrack(std::uint32_t trackID, const wchar_t* path) {
    return kor::runProtocol(impl_.get(), 0, [&](CZRKorManagerImpl& m) {
        return kor::exportSongPart(m, trackID, ZRObjType::ZRTrack, path) ? 1 : 0;
    });
}

int CZRKorManagerIF::fileExportMusicalPart(std::uint32_t partID, const wchar_t* path) {
    return kor::runProtocol(impl_.get(), 0, [&](CZRKorManagerImpl& m) {
        return kor::exportSongPart(m, partID, ZRObjType::MusicalPart, path) ? 1 : 0;
    });
}

int CZRKorManagerIF::fileExportSMF(const wchar_t* path, const ZRSMFExportOptions& options) {
    return kor::runProtocol(impl_.get(), 0, [&](CZRKorManagerImpl& m) {
        return kor::exportSmfFile(m, path, options) ? 1 : 0;
    });
}

namespace {

/// Keeps at most the first 16 sources the survey switched on: an import takes no more.
template <class Directive> void keepFirstSixteen(std::vector<Directive>& directives) {
    int on = 0;
    for (Directive& directive : directives)
        if (directive.importSwitch != 0 && ++on > 16) directive.importSwitch = 0;
}

} // namespace

IZRKorRoot* CZRKorManagerIF::fileLoadAny(const wchar_t* path, int premeasure) {
    // Each step is a call of its own, with its own protocol and error; only a file of no known
    // kind is this call's failure.
    switch (fileGetFileFormat(path)) {
    case ZR_FILE_FORMAT_KOR3:
    case ZR_FILE_FORMAT_KOR4:
        return fileLoadKorFile(path);
    case ZR_FILE_FORMAT_LEGACY2:
    case ZR_FILE_FORMAT_LEGACY3:
        return fileLoadLegacyKorFile(path, premeasure);
    case ZR_FILE_FORMAT_SMF0:
    case ZR_FILE_FORMAT_SMF1:
        return kor::runGuarded(*impl_, static_cast<IZRKorRoot*>(nullptr), [&](CZRKorManagerImpl&) {
            std::vector<ZRSMFTrackImportDirective> directives;
            if (fileGetSMFImportDirective(path, 0, directives) == 0) return kNoRoot;
            keepFirstSixteen(directives);
            return fileLoadSMF(path, premeasure, 0, directives);
        });
    case ZR_FILE_FORMAT_MUSICXML:
        return kor::runGuarded(*impl_, static_cast<IZRKorRoot*>(nullptr), [&](CZRKorManagerImpl&) {
            std::vector<ZRMusicXMLPartImportDirective> directives;
            if (fileGetMusicXMLImportDirective(path, directives) == 0) return kNoRoot;
            keepFirstSixteen(directives);
            return fileLoadMusicXML(path, premeasure, directives);
        });
    case ZR_FILE_FORMAT_UNKNOWN:
        break;
    }
    if (impl_ != nullptr && impl_->isInitialized() && impl_->lastError() == 0)
        impl_->fail(ZR_E_INVALID_KOR_FILE,
                    L"%ls is none of the kinds the library reads (KOR3, KOR4, a legacy song file, "
                    L"a MIDI file or a MusicXML score).",
                    path);
    return nullptr;
}

int CZRKorManagerIF::fileIsModified() const {
    return readSong(impl_.get(), 0,
                    [this](const CZRKorDocument&) { return impl_->isModified() ? 1 : 0; });
}

const wchar_t* CZRKorManagerIF::fileGetCurrentFilePath() const {
    return readSong(impl_.get(), kNoText,
                    [](const CZRKorDocument& song) { return song.filePath.c_str(); });
}

ZRFileFormat CZRKorManagerIF::fileGetCurrentFileFormat() {
    return readSong(impl_.get(), ZR_FILE_FORMAT_UNKNOWN, [](const CZRKorDocument& song) {
        return static_cast<ZRFileFormat>(song.format);
    });
}

const wchar_t* CZRKorManagerIF::fileGetTemporaryFilePath() const {
    return readSong(impl_.get(), kNoText,
                    [](const CZRKorDocument& song) { return song.tempFilePath.c_str(); });
}

const wchar_t* CZRKorManagerIF::fileGetImportFilePath() const {
    return readSong(
        impl_.get(), kNoText, [](const CZRKorDocument& song) { return song.filePath.c_str(); },
        SongKind::Imported);
}

ZRFileFormat CZRKorManagerIF::fileGetImportFileFormat() const {
    return readSong(
        impl_.get(), ZR_FILE_FORMAT_UNKNOWN,
        [](const CZRKorDocument& song) { return static_cast<ZRFileFormat>(song.format); },
        SongKind::Imported);
}

int CZRKorManagerIF::fileGetActualWAVFilePath(std::uint32_t wavPartID, std::wstring& path) const {
    return kor::runProtocol(impl_.get(), 0, [&](CZRKorManagerImpl& m) {
        if (kor::actualWavFilePath(m, wavPartID, path)) return 1;
        m.failNoObject(ZR_E_EDIT_TARGET_NOT_FOUND, wavPartID, ZRObjType::WAVPart);
        return 0;
    });
}

int CZRKorManagerIF::fileGetDanglingWAVPartList(std::vector<std::uint32_t>& ids) const {
    return kor::runProtocol(impl_.get(), 0, [&ids](CZRKorManagerImpl& m) {
        if (m.document() == nullptr) {
            m.failNoSong();
            return 0;
        }
        ids = m.document()->danglingWavParts;
        return 1;
    });
}
