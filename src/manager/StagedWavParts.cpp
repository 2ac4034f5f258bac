#include "manager/StagedWavParts.h"

#include "manager/WavPartFiles.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/Sequence.h"
#include "model/WAVPart.h"
#include "model/WAVTrack.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

#include <algorithm>
#include <cerrno>
#include <optional>

namespace kor {

namespace {

// The WAV parts of both audio tracks whose files live in the song's parts folder.
std::vector<const CZRWAVPart*> folderParts(const CZRKorDocument& document) {
    std::vector<const CZRWAVPart*> parts;
    const CZRSequence* sequence =
        document.root() != nullptr ? document.root()->sequence() : nullptr;
    if (sequence == nullptr) return parts;
    for (const CZRWAVTrack* track : {sequence->seTrack(), sequence->karaokeTrack()}) {
        if (track == nullptr || track->wavPartList() == nullptr) continue;
        for (const IZRMutableKorObject* element : track->wavPartList()->elements())
            if (const auto* part = objCast<CZRWAVPart>(element);
                part != nullptr && !part->isRootedPath())
                parts.push_back(part);
    }
    return parts;
}

template <class T> bool contains(const std::vector<T>& values, const T& value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

} // namespace

StagedWavParts::~StagedWavParts() {
    if (finished_) return;
    copies_.clear(); // their temporary files first, so that a folder made for them is empty again
    if (createdFolder_) (void)platform::removeEmptyFolder(folder_);
    if (displaced_.held()) {
        if (const std::optional<std::filesystem::path> folder = platform::toPath(folder_))
            (void)displaced_.putBack(*folder);
    }
}

bool StagedWavParts::stage(const CZRKorDocument& document, const std::wstring& oldBase,
                           const std::wstring& newPath) {
    folder_ = wavPartsFolder(newPath);
    const std::vector<const CZRWAVPart*> parts = folderParts(document);
    if (parts.empty()) {
        removeFolder_ = true;
        return true;
    }
    const auto refuse = [this](platform::FileFailure failure) {
        failure_ = std::move(failure);
        return false;
    };
    const std::optional<std::filesystem::path> folder = platform::toPath(folder_);
    if (!folder) return refuse({L"save", folder_, EILSEQ, {}});
    const std::optional<platform::FileAttributes> existing = platform::fileAttributes(folder_);
    if (existing && !existing->directory && !displaced_.displace(*folder))
        return refuse({L"save", folder_, errno,
                       L"a file of that name stands where the WAV parts folder belongs"});
    if (!existing || !existing->directory) {
        errno = 0;
        if (!platform::createDirectory(folder_))
            return refuse(platform::folderFailure(L"save", folder_, errno != 0 ? errno : EIO,
                                                  folder->parent_path()));
        createdFolder_ = true;
    }

    const std::wstring source = wavPartsFolder(oldBase);
    for (const CZRWAVPart* part : parts) {
        // A dangling part had no file when the song was loaded, and the host was told so
        // (fileGetDanglingWAVPartList): there is nothing to carry along, which is no failure.
        if (contains(document.danglingWavParts, part->getObjID())) continue;
        const std::wstring_view name = platform::fileNamePart(part->getFilePath());
        const std::wstring from = platform::joinPath(source, name);
        std::wstring to = platform::joinPath(folder_, name);
        if (from == to) { // saved into its own folder: the file stays, but it must be there
            const auto attributes = platform::fileAttributes(from);
            if (!attributes || attributes->directory) return refuse(platform::readFailure(from));
            continue;
        }
        if (contains(targets_, to)) continue; // two parts playing one file
        auto copy = std::make_unique<platform::AtomicFile>();
        if (copy->open(to) != platform::AtomicWriteResult::Done || !copy->copyFrom(from))
            return refuse(copy->failure());
        copies_.push_back(std::move(copy));
        targets_.push_back(std::move(to));
    }
    return true;
}

std::vector<platform::AtomicFile*> StagedWavParts::files() const {
    std::vector<platform::AtomicFile*> files;
    for (const auto& copy : copies_)
        files.push_back(copy.get());
    return files;
}

void StagedWavParts::finish() {
    finished_ = true;
    if (removeFolder_) (void)platform::removeTree(folder_);
    displaced_.remove();
}

} // namespace kor
