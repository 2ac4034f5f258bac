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

#include <sys/stat.h>
#include <unistd.h>

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

// The refusal of `path`, an entry of the parts folder (or the folder itself) that belongs to
// another user than the one saving.
platform::FileFailure foreign(const std::wstring& path, const wchar_t* what) {
    return {L"save", path, EPERM, std::wstring(what) + L" belongs to another user"};
}

bool ownedBySaver(const struct stat& status) {
    return status.st_uid == ::geteuid();
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
    const auto refuse = [this](platform::FileFailure failure) {
        failure_ = std::move(failure);
        return false;
    };
    const std::optional<std::filesystem::path> folder = platform::toPath(folder_);
    if (!folder) return refuse({L"save", folder_, EILSEQ, {}});
    nativeFolder_ = *folder;
    struct stat entry {};
    const bool exists = ::lstat(folder->c_str(), &entry) == 0;
    const std::vector<const CZRWAVPart*> parts = folderParts(document);
    if (parts.empty()) {
        // Nothing of the song is in another user's folder: it stays where it is.
        removeFolder_ = exists && ownedBySaver(entry);
        return true;
    }
    if (exists && !ownedBySaver(entry)) return refuse(foreign(folder_, L"the WAV parts folder"));
    // A link of the saver's own to a folder is followed; the folder must be the saver's too.
    struct stat named {};
    const bool isFolder = exists && ::stat(folder->c_str(), &named) == 0 && S_ISDIR(named.st_mode);
    if (isFolder && !ownedBySaver(named))
        return refuse(foreign(folder_, L"the folder the WAV parts folder links to"));
    if (exists && !isFolder && !displaced_.displace(*folder))
        return refuse({L"save", folder_, errno,
                       L"a file of that name stands where the WAV parts folder belongs"});
    if (!isFolder) {
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
        if (contains(targets_, to)) continue; // two parts playing one file
        const std::optional<std::filesystem::path> nativeName = platform::toPath(name);
        const std::optional<std::filesystem::path> target = platform::toPath(to);
        if (!nativeName || !target) return refuse({L"save", to, EILSEQ, {}});
        const int held = document.wavSources.find(nativeName->native());
        struct stat existing {};
        const bool present = ::lstat(target->c_str(), &existing) == 0;
        if (present && !S_ISLNK(existing.st_mode) && !ownedBySaver(existing))
            return refuse(foreign(to, L"the file"));
        const auto attributes = platform::fileAttributes(to);
        const bool readable = attributes && !attributes->directory;
        sources_.add(nativeName->native());
        targets_.push_back(to);
        if (from == to && readable) continue; // saved into its own folder: the file stays
        if (from == to && held < 0) return refuse(platform::readFailure(from));
        auto copy = std::make_unique<platform::AtomicFile>();
        if (copy->open(to, platform::LinkUse::Replace) != platform::AtomicWriteResult::Done)
            return refuse(copy->failure());
        // The folder's file first, as the host's edits change it; the held one where another
        // save removed it.
        const bool gone = from == to || !platform::fileAttributes(from);
        if (!(held >= 0 && gone ? copy->copyFrom(held) : copy->copyFrom(from)))
            return refuse(copy->failure());
        copies_.push_back(std::move(copy));
    }
    return true;
}

std::vector<platform::AtomicFile*> StagedWavParts::files() const {
    std::vector<platform::AtomicFile*> files;
    for (const auto& copy : copies_)
        files.push_back(copy.get());
    return files;
}

platform::HeldFiles StagedWavParts::finish() {
    finished_ = true;
    if (removeFolder_) (void)platform::removeTree(folder_);
    displaced_.remove();
    sources_.openIn(nativeFolder_);
    return std::move(sources_);
}

} // namespace kor
