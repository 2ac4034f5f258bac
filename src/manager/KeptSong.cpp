#include "manager/KeptSong.h"

#include "model/KorDocument.h"

#include <utility>

namespace kor {

KeptSong::KeptSong() = default;
KeptSong::~KeptSong() = default;

void KeptSong::keep(std::wstring path, const platform::FileStamp& stamp,
                    std::unique_ptr<CZRKorDocument> song) noexcept {
    path_ = std::move(path);
    stamp_ = stamp;
    song_ = std::move(song);
}

std::unique_ptr<CZRKorDocument> KeptSong::take(const std::wstring& path) {
    std::unique_ptr<CZRKorDocument> song = std::move(song_);
    if (song == nullptr || path != path_ || platform::fileStampOf(path) != stamp_) return nullptr;
    return song;
}

} // namespace kor
