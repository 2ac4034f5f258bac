#include "manager/KeptSong.h"

#include "model/KorDocument.h"
#include "platform/Path.h"

#include <sys/stat.h>

#include <utility>

namespace kor {

KeptSong::KeptSong() = default;
KeptSong::~KeptSong() = default;

std::optional<KeptSong::Stamp> KeptSong::stampOf(const std::wstring& path) {
    const auto file = platform::toPath(path);
    struct stat status {};
    if (!file || ::stat(file->c_str(), &status) != 0) return std::nullopt;
    return Stamp{status.st_dev, status.st_ino, status.st_size, status.st_mtim.tv_sec,
                 status.st_mtim.tv_nsec};
}

void KeptSong::keep(std::wstring path, const Stamp& stamp,
                    std::unique_ptr<CZRKorDocument> song) noexcept {
    path_ = std::move(path);
    stamp_ = stamp;
    song_ = std::move(song);
}

std::unique_ptr<CZRKorDocument> KeptSong::take(const std::wstring& path) {
    std::unique_ptr<CZRKorDocument> song = std::move(song_);
    if (song == nullptr || path != path_ || stampOf(path) != stamp_) return nullptr;
    return song;
}

} // namespace kor
