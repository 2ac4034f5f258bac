// The song a format detection read, kept for the load of the same file that follows it.
#pragma once

#include "platform/FileSystem.h"

#include <memory>
#include <string>

class CZRKorDocument;

namespace kor {

/// The song the last format detection of a manager read from a KOR3 or KOR4 file, owned until
/// the load or import of that file that follows takes it, so that a host which detects and then
/// loads a song pays one reading. The song stands for the file while the file keeps the path,
/// device, inode, size and modification time it had before it was read. Holds one song at a time.
class KeptSong {
public:
    KeptSong();
    ~KeptSong();
    KeptSong(const KeptSong&) = delete;
    KeptSong& operator=(const KeptSong&) = delete;

    /// Keeps `song`, read from `path` when the file had `stamp`, in place of any other.
    void keep(std::wstring path, const platform::FileStamp& stamp,
              std::unique_ptr<CZRKorDocument> song) noexcept;
    /// Hands over the song kept for `path` when the file still has the stamp it had then, else
    /// null; either way nothing stays kept.
    [[nodiscard]] std::unique_ptr<CZRKorDocument> take(const std::wstring& path);

private:
    std::wstring path_;
    platform::FileStamp stamp_;
    std::unique_ptr<CZRKorDocument> song_;
};

} // namespace kor
