#include "manager/SongSaving.h"

#include "formats/kor3/Kor3Writer.h"
#include "interchange/SmfExport.h"
#include "manager/ErrorTable.h"
#include "manager/KorManagerImpl.h"
#include "manager/StagedWavParts.h"
#include "manager/WavPartFiles.h"
#include "model/Builders.h"
#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/MusicalPart.h"
#include "model/ObjectTree.h"
#include "model/Sequence.h"
#include "model/ZRTrack.h"
#include "platform/AtomicFile.h"
#include "platform/FileFailure.h"
#include "platform/FolderLock.h"
#include "platform/Path.h"

#include <korman/ErrorCodes.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace kor {

namespace {

// Sets the outcome of a save or export: the code whose table text `detail` follows when there
// is one. On success the detail is a note of what the file could not hold as the song has it.
bool finish(CZRKorManagerImpl& manager, std::uint32_t code, const std::wstring& detail = {}) {
    if (code == 0) {
        manager.succeed(detail);
    } else if (!detail.empty()) {
        manager.fail(code, L"%ls", detail.c_str());
    } else {
        manager.setLastError(code);
        manager.setLastErrorMessage(errorMessage(code));
    }
    return code == 0;
}

// Why a song file could not be written to `path`: the file step that failed, with the system's
// reason; empty when the writer failed on the song itself.
std::wstring fileFailure(const std::wstring& path, const platform::AtomicFile& file) {
    if (path.empty()) return L"No path was given.";
    return file.failure().failed() ? platform::describe(file.failure()) : std::wstring();
}

// Writes `root` as a KOR3 file at `path` and puts it in place; the writer's code.
std::uint32_t writeSong(const CZRKorRoot* root, const std::wstring& path,
                        platform::AtomicFile& file) {
    if (const std::uint32_t code = Kor3::stageKor3File(root, path, file); code != 0) return code;
    return file.commit() == platform::AtomicWriteResult::Done ? 0 : ZR_E_CANNOT_SAVE_FILE;
}

// The song an export writes: the current song's master track and VVoice table, and `target`
// (a ZR track or a musical part of it) as track 0 with a default mixer channel.
std::unique_ptr<CZRKorDocument> buildExport(const CZRSequence& song,
                                            const IZRMutableKorObject& target) {
    auto document = std::make_unique<CZRKorDocument>();
    const ZRCreateContext context = document->context();
    auto* root = createObject<CZRKorRoot>(context, ZR_NO_OBJ_ID);
    CZRSequence* sequence = buildEmptySequence(context);
    if (root == nullptr || sequence == nullptr || !root->setSequence(sequence)) return nullptr;
    document->setRoot(root);
    if (!sequence->masterTrack()->copyFrom(song.masterTrack(), ZR_COPY_DEEP, &context) ||
        !sequence->vvoiceList()->copyFrom(song.vvoiceList(), ZR_COPY_DEEP, &context))
        return nullptr;

    const auto* track = objCast<CZRZRTrack>(&target);
    CZRZRTrack* exported =
        addZRTrack(context, *sequence, 0, track != nullptr ? track->getName() : L"Track",
                   track != nullptr ? track->getComment() : L"Track");
    if (exported == nullptr) return nullptr;
    if (track != nullptr) {
        if (track->partList() != nullptr &&
            !exported->partList()->copyFrom(track->partList(), ZR_COPY_DEEP, &context))
            return nullptr;
        return document;
    }
    IZRMutableKorObject* part = target.cloneInto(context, ZR_COPY_DEEP);
    if (part == nullptr || !exported->partList()->append(part)) return nullptr;
    return document;
}

} // namespace

bool saveKorFile(CZRKorManagerImpl& manager, const wchar_t* path) {
    CZRKorDocument* document = manager.document();
    if (document == nullptr) return finish(manager, ZR_E_FILE_IS_NOT_LOADED);
    const std::wstring target = path != nullptr ? path : L"";
    // Nothing takes a place before the song file and every WAV part file are complete. Then the
    // WAV part files go in first and the song file last, so that a song file is never in place
    // without its WAV parts, and any failure leaves the previous files as they were.
    platform::AtomicFile song;
    if (const std::uint32_t code = Kor3::stageKor3File(document->root(), target, song); code != 0) {
        std::wstring detail = fileFailure(target, song);
        if (detail.empty())
            detail = std::wstring(L"The song cannot be written: ") + errorMessage(code);
        return finish(manager, ZR_E_CANNOT_SAVE_FILE, detail);
    }
    // From staging the WAV parts to removing a parts folder the song no longer needs, the folder
    // the song is saved into stays locked: another save of the same path, in this process or
    // another, would otherwise switch the song file or remove the parts folder in between.
    platform::FolderLock lock;
    if (const std::optional<std::filesystem::path> native = platform::toPath(target);
        native && !lock.lock(native->parent_path()))
        return finish(
            manager, ZR_E_CANNOT_SAVE_FILE,
            platform::describe({L"save", target, errno,
                                L"another save kept the folder " +
                                    platform::pathText(native->parent_path()) + L" locked"}));
    StagedWavParts wavParts;
    if (!wavParts.stage(*document, songBasePath(*document), target))
        return finish(manager, ZR_E_CANNOT_SAVE_WAV_FILE, platform::describe(wavParts.failure()));
    std::vector<platform::AtomicFile*> files = wavParts.files();
    files.push_back(&song);
    if (const std::size_t failed = platform::commitTogether(files); failed != files.size())
        return finish(
            manager, failed + 1 == files.size() ? ZR_E_CANNOT_SAVE_FILE : ZR_E_CANNOT_SAVE_WAV_FILE,
            platform::describe(files[failed]->failure()));
    document->wavSources = wavParts.finish();
    document->filePath = target;
    document->tempFilePath.clear();
    manager.clearModifiedFlags();
    return finish(manager, 0);
}

bool exportSongPart(CZRKorManagerImpl& manager, std::uint32_t objID, ZRObjType kind,
                    const wchar_t* path) {
    const CZRKorDocument* document = manager.document();
    const CZRSequence* song = manager.sequence();
    if (document == nullptr || song == nullptr) return finish(manager, ZR_E_FILE_IS_NOT_LOADED);
    const IZRMutableKorObject* target = document->objects().lookup(objID);
    if (target == nullptr || target->getObjType() != kind || isDetached(target))
        return finish(manager, ZR_E_EXPORT_TARGET_NOT_FOUND);
    const std::unique_ptr<CZRKorDocument> exported = buildExport(*song, *target);
    if (exported == nullptr) return finish(manager, ZR_E_INVALID_KOR3_FILE);
    const std::wstring to = path != nullptr ? path : L"";
    platform::AtomicFile file;
    const std::uint32_t code = writeSong(exported->root(), to, file);
    return finish(manager, code, code != 0 ? fileFailure(to, file) : std::wstring());
}

bool exportSmfFile(CZRKorManagerImpl& manager, const wchar_t* path,
                   const ZRSMFExportOptions& options) {
    const CZRSequence* song = manager.sequence();
    if (song == nullptr) return finish(manager, ZR_E_FILE_IS_NOT_LOADED);
    std::wstring reason;
    const std::uint32_t code = exportSmf(*song, options, path != nullptr ? path : L"", reason);
    return finish(manager, code, reason);
}

} // namespace kor
